// Times the page in Debian's Chromium (headless), served from a local static server: from the
// navigation to the first frame that holds the scene, for several loads each with an empty cache,
// and the page's own share of a paint (the program's pixels of the whole dialog put on its
// canvas). Prints one figure a line; no test runs it (scripts/web-bench does).
//   node page_timing.mjs FOLDER [LOADS [SCALE]]
import {launchBrowser, programShot} from './page_driver.mjs';
import {serve} from './serve.mjs';

const [folder, loads = '9', scale = '1'] = process.argv.slice(2);
if (!folder) {
  console.error('usage: node page_timing.mjs FOLDER [LOADS [SCALE]]');
  process.exit(2);
}
const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b), middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const isRed = (p) => (p >> 16) >= 0xC0 && ((p >> 8) & 0xFF) <= 0x80 && (p & 0xFF) <= 0x80;

const server = await serve(folder);
const browser = await launchBrowser();
const firstFrames = [], transfers = [];
for (let load = 0; load < Number(loads); ++load) {
  const context = await browser.newContext({viewport: {width: 1000, height: 800}, deviceScaleFactor: Number(scale)});
  const page = await context.newPage();
  await page.goto(`http://127.0.0.1:${server.address().port}/index.html`);
  await page.waitForFunction(() => performance.getEntriesByName('first-frame').length > 0);
  firstFrames.push(await page.evaluate(() => performance.getEntriesByName('first-frame')[0].startTime));
  // The frame marked must hold the scene: the red text, drawn once.
  const frame = await programShot(page);
  let ink = 0;
  for (let y = 0; y < 370; ++y) for (let x = 0; x < frame.width; ++x) ink += isRed(frame.at(x, y)) ? 1 : 0;
  if (ink < 1000) throw new Error(`load ${load}: the first frame holds ${ink} red pixels`);
  if (load === 0) {
    transfers.push(...await page.evaluate(() => {
      const page = Module.slantPage, [id, entry] = [...page.windows].find(([, window]) => !window.popup);
      const pixels = new Uint32Array(entry.width * entry.height).fill(0xFFFF00), times = [];
      for (let i = 0; i < 60; ++i) {
        const start = performance.now();
        page.paint(id, pixels, 0, entry.width, 0, 0, entry.width, entry.height);
        times.push(performance.now() - start);
      }
      return times.slice(10);
    }));
  }
  await context.close();
}
await browser.close();
server.close();
console.log(`first_frame_ms ${median(firstFrames).toFixed(0)} ms (median of ${loads}; all: ${firstFrames.map((t) => t.toFixed(0)).join(' ')})`);
console.log(`page_paint_transfer_us ${(median(transfers) * 1000).toFixed(0)} us (the whole dialog onto its canvas, median of 50)`);
