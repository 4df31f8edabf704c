// The web page as a person meets it, in Debian's Chromium (headless): served from the static
// folder the web build makes, driven with the mouse and keyboard, and checked from screenshots
// of the dialog, as the desktop tests check the native window. It runs at device scale factors 1
// and 2, where each of the program's pixels must show as a solid 2x2 block, and opens links to
// settings.
//   node page_test.mjs FOLDER
import assert from 'node:assert/strict';
import {after, before, describe, test} from 'node:test';

import {openPage, programShot} from './page_driver.mjs';

const folder = process.argv[2] || process.env.WEB_FOLDER;
// Where the dialog's controls stand in its client area (dialog units of Tahoma 9: 7/4 by 14/8).
const REFERENCE = {x: 150, y: 170};
const ESCAPEMENT_FIELD = {x: 40, y: 406};
const ESCAPEMENT_ANIMATE = {x: 20, y: 442};
const ALIGNMENT_LIST = {x: 500, y: 404};

let page;

// The dialog's client area as the program drew it: width, height and a pixel reader (0xRRGGBB).
// Every program pixel must show as one solid block of device pixels.
async function shot() {
  const frame = await programShot(page);
  assert.equal(frame.brokenBlocks, 0, `program pixels not shown as solid ${frame.scale}x${frame.scale} blocks`);
  return frame;
}

const isRed = (p) => (p >> 16) >= 0xC0 && ((p >> 8) & 0xFF) <= 0x80 && (p & 0xFF) <= 0x80;
const isCell = (p) => (p >> 16) >= 0xC0 && (p & 0xFF) <= 0x40; // yellow, or red on it
const isYellow = (p) => (p >> 16) >= 0xC0 && ((p >> 8) & 0xFF) >= 0xC0 && (p & 0xFF) <= 0x40;

// The pixels of the scene (the dialog's lower part, the controls, left out) that pass `wanted`,
// each as its offset from the reference point.
function scenePixels(frame, wanted) {
  const found = [];
  for (let y = 0; y < 370; ++y) {
    for (let x = 0; x < frame.width; ++x) {
      if (wanted(frame.at(x, y))) found.push([x - REFERENCE.x, y - REFERENCE.y]);
    }
  }
  return found;
}

// The direction of the red ink's principal axis in degrees, counter-clockwise from the right, and
// how much ink there is.
function inkAngle(frame) {
  let n = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
  for (const [dx, dy] of scenePixels(frame, isRed)) {
    n += 1; sx += dx; sy += dy; sxx += dx * dx; syy += dy * dy; sxy += dx * dy;
  }
  const mx = sx / n, my = sy / n;
  const axis = 0.5 * Math.atan2(2 * (sxy / n - mx * my), sxx / n - mx * mx - (syy / n - my * my));
  // Screen y runs down; the text runs forwards from the reference point.
  let degrees = -axis * 180 / Math.PI;
  if (mx * Math.cos(-degrees * Math.PI / 180) + my * Math.sin(-degrees * Math.PI / 180) < 0) degrees += 180;
  return {degrees: (degrees + 360) % 360, ink: n};
}

const turnBetween = (from, to) => ((to - from) % 360 + 540) % 360 - 180;

// A point `along` pixels forwards on a line at `degrees` through the reference point, and `up`
// pixels up from it, square to the line.
function onLine(degrees, along, up) {
  const angle = degrees * Math.PI / 180;
  return {x: Math.round(REFERENCE.x + along * Math.cos(angle) - up * Math.sin(angle)),
          y: Math.round(REFERENCE.y - along * Math.sin(angle) - up * Math.cos(angle))};
}
// The mean height of the pixels that pass `wanted` above a line at `degrees` through the reference point.
function meanHeight(frame, degrees, wanted) {
  const angle = degrees * Math.PI / 180, heights = scenePixels(frame, wanted);
  return heights.reduce((sum, [dx, dy]) => sum - dx * Math.sin(angle) - dy * Math.cos(angle), 0) / heights.length;
}

// The dialog as it opens: the cross, the cell on the baseline at the reference point, level ink.
function checkStart(frame) {
  assert.equal(frame.width, 676);
  assert.equal(frame.at(REFERENCE.x, 20), 0x000000, 'the cross\'s upright line');
  assert.equal(frame.at(20, REFERENCE.y), 0x000000, 'the cross\'s level line');
  assert.ok(isCell(frame.at(REFERENCE.x + 3, REFERENCE.y - 3)), 'the cell stands on the baseline at the point');
  assert.ok(!isCell(frame.at(REFERENCE.x - 3, REFERENCE.y - 3)), 'and begins there');
  const {degrees, ink} = inkAngle(frame);
  assert.ok(ink > 1000, `red ink: ${ink} pixels`);
  assert.ok(Math.abs(turnBetween(0, degrees)) < 3, `level text, at ${degrees} degrees`);
}

for (const scale of [1, 2]) {
  describe(`at device scale factor ${scale}`, () => {
    let session;
    before(async () => {
      assert.ok(folder, 'give the web build\'s folder');
      session = await openPage(folder, {scale});
      page = session.page;
    });
    after(async () => {
      await session?.close();
    });

    test(`every program pixel is a solid ${scale}x${scale} block of device pixels`, async () => {
      const frame = await programShot(page);
      assert.equal(frame.scale, scale);
      assert.equal(frame.backing, 676 * scale, 'the canvas holds the scaled pixels');
      assert.equal(frame.brokenBlocks, 0);
    });

    defineChecks();
  });
}

// The six checks, as a person uses the dialog, on the page opened last.
function defineChecks() {
  test('the scene as the dialog opens: the cross, the yellow cell at the reference point, red ink', async () => {
    checkStart(await shot());
  });


  test('typing 450 into the escapement field turns the ink to 45 degrees', async () => {
    await page.mouse.click(...Object.values(await client(ESCAPEMENT_FIELD)));
    await page.keyboard.type('450');
    await page.waitForTimeout(300);
    const {degrees} = inkAngle(await shot());
    assert.ok(Math.abs(turnBetween(45, degrees)) < 3, `at ${degrees} degrees`);
  });

  test('the field\'s own menu chooses Select All, then Copy: the clipboard holds the angle; the wheel turns it', async () => {
    const field = await client(ESCAPEMENT_FIELD);
    const menu = page.locator('.popup canvas');
    // Each item by its underlined letter, in the menu the right button opens over the field.
    for (const mnemonic of ['a', 'c']) {
      await page.mouse.click(field.x, field.y, {button: 'right'});
      await menu.waitFor();
      await page.keyboard.press(mnemonic);
      await menu.waitFor({state: 'hidden'});
    }
    const escapement = async () => (await page.evaluate(() => Module.slantPage.describe())).find((c) => c.id === 0x480);
    const copied = await page.evaluate(() => Module.slantPage.clipboard);
    assert.equal(copied, (await escapement()).text);
    assert.equal(Number(copied), 450);
    // Turned away from the user over the field, the wheel steps its up-down up, a tenth of a
    // degree a notch. (How many notches the browser makes of a turn depends on its scale.)
    await page.mouse.move(field.x, field.y);
    for (let turn = 0; turn < 150; ++turn) await page.mouse.wheel(0, -100);
    await page.waitForTimeout(300);
    const turned = Number((await escapement()).text);
    assert.ok(turned >= 500 && turned <= 600, `the escapement at ${turned}`);
    const {degrees} = inkAngle(await shot());
    assert.ok(Math.abs(turnBetween(turned / 10, degrees)) < 3, `at ${degrees} degrees`);
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

}

test('the close button of the caption ends the dialog too', async () => {
  const session = await openPage(folder);
  try {
    const close = session.page.locator('.window .caption .close');
    assert.equal(await close.count(), 1, 'the dialog has a system menu, so its caption a close button');
    await close.click();
    await session.page.locator('#ended').waitFor({state: 'visible', timeout: 5000});
    assert.equal(await session.page.locator('#screen').isVisible(), false);
  } finally {
    await session.close();
  }
});

// A point of the dialog's client area in page coordinates.
async function client(point) {
  const canvas = page.locator('.window canvas').first();
  const box = await canvas.boundingBox();
  const toPage = await canvas.evaluate((element) => Number(element.dataset.scale || 1) / devicePixelRatio);
  return {x: box.x + point.x * toPage, y: box.y + point.y * toPage};
}

describe('a link to a setting', () => {
  const sessions = [];
  const open = async (fragment) => {
    sessions.push(await openPage(folder, {fragment}));
    page = sessions.at(-1).page;
  };
  after(async () => {
    for (const session of sessions) await session.close();
  });

  test('#e=450&o=2250&mode=advanced&align=top&couple=off: the 45-degree line, the glyphs upside down, the cell below the point', async () => {
    const fragment = '#e=450&o=2250&mode=advanced&align=top&couple=off';
    await open(fragment);
    const frame = await shot();
    const {degrees, ink} = inkAngle(frame);
    assert.ok(ink > 200, `red ink: ${ink} pixels`);
    assert.ok(Math.abs(turnBetween(45, degrees)) < 3, `the line at ${degrees} degrees`);
    // TA_TOP hangs the cell below the line; the glyphs, turned half round against it, stand
    // on its far side, beyond the baseline, where upright ones stand inside it towards the line.
    const here = onLine(45, 10, -12), across = onLine(45, 10, 12);
    assert.ok(isCell(frame.at(here.x, here.y)), 'the cell below the reference point');
    assert.ok(!isCell(frame.at(across.x, across.y)), 'and nothing above it');
    const cell = meanHeight(frame, 45, isYellow), glyphs = meanHeight(frame, 45, isRed);
    assert.ok(glyphs < cell - 12, `the ink ${glyphs.toFixed(1)} px from the line, the cell ${cell.toFixed(1)} px`);

    await page.context().grantPermissions(['clipboard-read', 'clipboard-write']);
    await page.click('#link');
    await page.locator('#link-address').waitFor();
    assert.equal(new URL(await page.locator('#link-address').inputValue()).hash, fragment, 'the link to what is shown');
  });

  test('a bad value is left out with a line saying so, and the dialog opens as it always does', async () => {
    await open('#e=45x&align=middle');
    const note = page.locator('#link-note');
    assert.ok(await note.isVisible());
    const text = await note.textContent();
    assert.match(text, /e=45x/);
    assert.match(text, /align=middle/);
    checkStart(await shot());
  });
});
