// Writes the page's frames at a few settings, set with the mouse and keyboard as a person sets
// them, as PNG files of the program's pixels: one per setting, the same at any device scale
// factor. Two runs compare pixel for pixel with `--compare`, so a change to the build or the page
// can be shown to leave what the program draws untouched.
//   node page_frames.mjs FOLDER OUTPUT [SCALE]     writes OUTPUT/<setting>.png
//   node page_frames.mjs --compare FIRST SECOND    exits 1 when any frame differs
import {mkdir, readdir, readFile, writeFile} from 'node:fs/promises';
import {join} from 'node:path';
import {PNG} from 'pngjs';

import {openPage, programShot} from './page_driver.mjs';

// Where the dialog's controls stand in its client area (dialog units of Tahoma 9: 7/4 by 14/8).
const ESCAPEMENT_FIELD = {x: 40, y: 406};
const ORIENTATION_FIELD = {x: 205, y: 406};
const ADVANCED_BOX = {x: 300, y: 406};
const COUPLE_BOX = {x: 115, y: 406};
const ALIGNMENT_LIST = {x: 500, y: 404};

async function compare(first, second) {
  let differing = 0;
  for (const name of (await readdir(first)).filter((file) => file.endsWith('.png'))) {
    const a = PNG.sync.read(await readFile(join(first, name)));
    const b = PNG.sync.read(await readFile(join(second, name)));
    const same = a.width === b.width && a.height === b.height && a.data.equals(b.data);
    console.log(`${name}: ${a.width}x${a.height} ${same ? 'identical' : 'DIFFERENT'}`);
    if (!same) differing += 1;
  }
  return differing;
}

async function write(folder, output, scale) {
  const {page, close} = await openPage(folder, {scale});
  const click = (point) => page.mouse.click(point.x + page.box.x, point.y + page.box.y);
  const type = async (field, text) => {
    await click(field);
    await page.keyboard.press('Control+A');
    await page.keyboard.type(text);
  };
  const alignment = async (row) => {
    await click(ALIGNMENT_LIST);
    const list = page.locator('.popup canvas');
    await list.waitFor();
    const box = await list.boundingBox();
    await page.mouse.click(box.x + box.width / 2, box.y + box.height * (row + 0.5) / 3);
  };
  const settings = [
    ['start', async () => {}],
    ['e450-coupled', () => type(ESCAPEMENT_FIELD, '450')],
    ['e450-advanced', () => click(ADVANCED_BOX)],
    ['e450-o2250-advanced', async () => { await click(COUPLE_BOX); await type(ORIENTATION_FIELD, '2250'); }],
    ['e450-o2250-advanced-top', () => alignment(1)],
    ['e-300-o2250-advanced-bottom', async () => { await type(ESCAPEMENT_FIELD, '-300'); await alignment(2); }],
    ['e-300-o2250-compatible-bottom', () => click(ADVANCED_BOX)],
  ];
  await mkdir(output, {recursive: true});
  page.box = await page.locator('.window canvas').first().boundingBox();
  for (const [name, set] of settings) {
    await set();
    await page.waitForTimeout(300);
    const frame = await programShot(page);
    const png = new PNG({width: frame.width, height: frame.height});
    for (let y = 0; y < frame.height; ++y) {
      for (let x = 0; x < frame.width; ++x) {
        const pixel = frame.at(x, y), i = (y * frame.width + x) * 4;
        png.data[i] = pixel >> 16; png.data[i + 1] = (pixel >> 8) & 0xFF; png.data[i + 2] = pixel & 0xFF;
        png.data[i + 3] = 0xFF;
      }
    }
    await writeFile(join(output, `${name}.png`), PNG.sync.write(png));
  }
  await close();
}

const args = process.argv.slice(2);
if (args[0] === '--compare' && args.length === 3) {
  process.exit((await compare(args[1], args[2])) === 0 ? 0 : 1);
} else if (args.length === 2 || args.length === 3) {
  await write(args[0], args[1], Number(args[2] || 1));
} else {
  console.error('usage: node page_frames.mjs FOLDER OUTPUT [SCALE] | --compare FIRST SECOND');
  process.exit(2);
}
