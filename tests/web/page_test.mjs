// The web page as a person meets it, in Debian's Chromium (headless): served from the static
// folder the web build makes, driven with the mouse and keyboard, and checked from screenshots
// of the dialog, as the desktop tests check the native window.
//   node page_test.mjs FOLDER
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';
import {chromium} from 'playwright-core';
import {PNG} from 'pngjs';

import {serve} from './serve.mjs';

const folder = process.argv[2] || process.env.WEB_FOLDER;
// Where the dialog's controls stand in its client area (dialog units of Tahoma 9: 7/4 by 14/8).
const REFERENCE = {x: 150, y: 170};
const ESCAPEMENT_FIELD = {x: 40, y: 406};
const ESCAPEMENT_ANIMATE = {x: 20, y: 442};
const ALIGNMENT_LIST = {x: 500, y: 404};

let server;
let browser;
let page;

// The dialog's client area as the page shows it: width, height and a pixel reader (0xRRGGBB).
async function shot() {
  // The page centres the dialog, which may put its box at half a pixel; the browser draws it on
  // whole pixels.
  const canvas = page.locator('.window canvas').first();
  const box = await canvas.boundingBox();
  const size = await canvas.evaluate((element) => [element.width, element.height]);
  const clip = {x: Math.round(box.x), y: Math.round(box.y), width: size[0], height: size[1]};
  const png = PNG.sync.read(await page.screenshot({clip}));
  return {
    width: png.width,
    height: png.height,
    at: (x, y) => {
      const i = (y * png.width + x) * 4;
      return (png.data[i] << 16) | (png.data[i + 1] << 8) | png.data[i + 2];
    },
  };
}

const isRed = (p) => (p >> 16) >= 0xC0 && ((p >> 8) & 0xFF) <= 0x80 && (p & 0xFF) <= 0x80;
const isCell = (p) => (p >> 16) >= 0xC0 && (p & 0xFF) <= 0x40; // yellow, or red on it

// The direction of the red ink's principal axis in degrees, counter-clockwise from the right, and
// how much ink there is; the dialog's lower part (the controls) is left out.
function inkAngle(frame) {
  let n = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
  for (let y = 0; y < 370; ++y) {
    for (let x = 0; x < frame.width; ++x) {
      if (!isRed(frame.at(x, y))) continue;
      const dx = x - REFERENCE.x, dy = y - REFERENCE.y;
      n += 1; sx += dx; sy += dy; sxx += dx * dx; syy += dy * dy; sxy += dx * dy;
    }
  }
  const mx = sx / n, my = sy / n;
  const axis = 0.5 * Math.atan2(2 * (sxy / n - mx * my), sxx / n - mx * mx - (syy / n - my * my));
  // Screen y runs down; the text runs forwards from the reference point.
  let degrees = -axis * 180 / Math.PI;
  if (mx * Math.cos(-degrees * Math.PI / 180) + my * Math.sin(-degrees * Math.PI / 180) < 0) degrees += 180;
  return {degrees: (degrees + 360) % 360, ink: n};
}

const turnBetween = (from, to) => ((to - from) % 360 + 540) % 360 - 180;

before(async () => {
  assert.ok(folder, 'give the web build\'s folder');
  server = await serve(folder);
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
  page = await browser.newPage({viewport: {width: 1000, height: 800}});
  await page.goto(`http://127.0.0.1:${server.address().port}/index.html`);
  await page.locator('.window canvas').first().waitFor();
  await page.waitForTimeout(500);
});

after(async () => {
  await browser?.close();
  server?.close();
});

test('the scene as the dialog opens: the cross, the yellow cell at the reference point, red ink', async () => {
  const frame = await shot();
  assert.equal(frame.width, 676);
  assert.equal(frame.at(REFERENCE.x, 20), 0x000000, 'the cross\'s upright line');
  assert.equal(frame.at(20, REFERENCE.y), 0x000000, 'the cross\'s level line');
  assert.ok(isCell(frame.at(REFERENCE.x + 3, REFERENCE.y - 3)), 'the cell stands on the baseline at the point');
  assert.ok(!isCell(frame.at(REFERENCE.x - 3, REFERENCE.y - 3)), 'and begins there');
  const {degrees, ink} = inkAngle(frame);
  assert.ok(ink > 1000, `red ink: ${ink} pixels`);
  assert.ok(Math.abs(turnBetween(0, degrees)) < 3, `level text, at ${degrees} degrees`);
});

test('typing 450 into the escapement field turns the ink to 45 degrees', async () => {
  await page.mouse.click(...Object.values(await client(ESCAPEMENT_FIELD)));
  await page.keyboard.type('450');
  await page.waitForTimeout(300);
  const {degrees} = inkAngle(await shot());
  assert.ok(Math.abs(turnBetween(45, degrees)) < 3, `at ${degrees} degrees`);
});

test('the Animate box turns the ink by about 30 degrees a second', async () => {
  await page.mouse.click(...Object.values(await client(ESCAPEMENT_ANIMATE)));
  await page.waitForTimeout(500);
  const first = inkAngle(await shot()).degrees;
  const start = Date.now();
  await page.waitForTimeout(1000);
  const second = inkAngle(await shot()).degrees;
  const seconds = (Date.now() - start) / 1000;
  await page.mouse.click(...Object.values(await client(ESCAPEMENT_ANIMATE)));
  const rate = turnBetween(first, second) / seconds;
  assert.ok(rate > 20 && rate < 40, `${rate.toFixed(1)} degrees a second`);
});

test('the alignment list chooses TA_TOP: the cell hangs below the reference point', async () => {
  await page.mouse.click(...Object.values(await client(ESCAPEMENT_FIELD)));
  await page.keyboard.press('Control+A');
  await page.keyboard.type('0');
  await page.mouse.click(...Object.values(await client(ALIGNMENT_LIST)));
  await page.waitForTimeout(200);
  const list = page.locator('.popup canvas');
  await list.waitFor();
  const box = await list.boundingBox();
  // The second of the three rows.
  await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
  await page.waitForTimeout(300);
  const frame = await shot();
  assert.ok(isCell(frame.at(REFERENCE.x + 3, REFERENCE.y + 3)), 'the cell below the line');
  assert.ok(!isCell(frame.at(REFERENCE.x + 3, REFERENCE.y - 3)), 'nothing above it');
});

test('Enter ends the dialog with a message on the page', async () => {
  await page.keyboard.press('Enter');
  await page.locator('#ended').waitFor({state: 'visible', timeout: 5000});
  assert.equal(await page.locator('#screen').isVisible(), false);
});

test('the close button of the caption ends the dialog too, once the page is loaded afresh', async () => {
  await page.reload();
  await page.locator('.window canvas').first().waitFor();
  const close = page.locator('.window .caption .close');
  assert.equal(await close.count(), 1, 'the dialog has a system menu, so its caption a close button');
  await close.click();
  await page.locator('#ended').waitFor({state: 'visible', timeout: 5000});
  assert.equal(await page.locator('#screen').isVisible(), false);
});

// A point of the dialog's client area in page coordinates.
async function client(point) {
  const box = await page.locator('.window canvas').first().boundingBox();
  return {x: box.x + point.x, y: box.y + point.y};
}
