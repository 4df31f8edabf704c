// What the page's test and scripts share: the page opened in Debian's Chromium (headless) from a
// static server of the web build's folder, and the program's pixels read back from a screenshot.
import {chromium} from 'playwright-core';
import {PNG} from 'pngjs';

import {serve} from './serve.mjs';

export async function launchBrowser() {
  return chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
}

// The page at `fragment` (with its '#'), at a device scale factor, once the dialog shows.
export async function openPage(folder, {scale = 1, fragment = ''} = {}) {
  const server = await serve(folder);
  const browser = await launchBrowser();
  const page = await browser.newPage({viewport: {width: 1000, height: 800}, deviceScaleFactor: scale});
  await page.goto(`http://127.0.0.1:${server.address().port}/index.html${fragment}`);
  await page.locator('.window canvas').first().waitFor();
  await page.waitForTimeout(500);
  const close = async () => {
    await browser.close();
    server.close();
  };
  return {page, server, browser, close};
}

// The dialog's client area as the program drew it, from a screenshot of its canvas: width,
// height, a pixel reader (0xRRGGBB), how many device pixels a program pixel covers each way, and
// how many program pixels were not shown as one solid block of device pixels.
export async function programShot(page) {
  const canvas = page.locator('.window canvas').first();
  const box = await canvas.boundingBox();
  const [backing, scale, ratio] =
      await canvas.evaluate((element) => [element.width, Number(element.dataset.scale || 1), devicePixelRatio]);
  // The screenshot starts on a whole CSS pixel; the browser draws the canvas from the nearest
  // whole device pixel, which may lie inside the first CSS pixel (centred at a ratio of 2).
  const clip = {x: Math.floor(box.x), y: Math.floor(box.y), width: Math.ceil(box.width) + 1,
                height: Math.ceil(box.height) + 1};
  const png = PNG.sync.read(await page.screenshot({clip}));
  const left = Math.round((box.x - clip.x) * ratio), top = Math.round((box.y - clip.y) * ratio);
  const device = (x, y) => {
    const i = ((top + y) * png.width + left + x) * 4;
    return (png.data[i] << 16) | (png.data[i + 1] << 8) | png.data[i + 2];
  };
  const width = Math.round(box.width * ratio / scale), height = Math.round(box.height * ratio / scale);
  let brokenBlocks = 0;
  for (let y = 0; y < height && scale > 1; ++y) {
    for (let x = 0; x < width; ++x) {
      const pixel = device(x * scale, y * scale);
      let solid = true;
      for (let dy = 0; dy < scale && solid; ++dy) {
        for (let dx = 0; dx < scale && solid; ++dx) solid = device(x * scale + dx, y * scale + dy) === pixel;
      }
      if (!solid) brokenBlocks += 1;
    }
  }
  return {width, height, scale, backing, brokenBlocks, at: (x, y) => device(x * scale, y * scale)};
}
