// Pages with the pixel font (stipplor-encode --pixel-font) draw, in Chromium at device scale 1,
// exactly the raster their own characters describe, and Firefox ESR draws them alike; where the
// font is refused, a text page falls back to Arial as it is drawn without the option.
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { existsSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { after, before, test } from 'node:test';
import { pathToFileURL } from 'node:url';
import { promisify } from 'node:util';

import { openFidelity } from './fidelity.mjs';
import { crop } from './metrics.mjs';

const FIREFOX = process.env.STIPPLOR_FIREFOX || '/usr/bin/firefox-esr';
// Both browsers draw into a viewport of this size, which holds the pages whole.
const VIEWPORT = { width: 320, height: 240 };
// A small picture: 48 cells across.
const CELLS = 48;
const CASES = [
  ['chelsea.bmp', '1:1', 'bw dotted grey smooth pixel'],
  ['astronaut.jpg', '3:2', 'colored high minimize pixel'],
];

let browser;
let fidelity;
const pages = new Map();

before(async () => {
  fidelity = await openFidelity(VIEWPORT);
  browser = fidelity.browser;
  for (const [picture, size, family] of CASES) pages.set(family, (await fidelity.encode(picture, size, family, { cells: CELLS })).page);
});

after(async () => fidelity?.close());

// Runs in the page: the box of its tables, which the pixel font fills exactly.
function tablesArea() {
  const rects = [...document.querySelectorAll('table')].map((t) => t.getBoundingClientRect());
  const left = Math.min(...rects.map((r) => r.left));
  const top = Math.min(...rects.map((r) => r.top));
  const right = Math.max(...rects.map((r) => r.right));
  const bottom = Math.max(...rects.map((r) => r.bottom));
  return { x: left + scrollX, y: top + scrollY, width: right - left, height: bottom - top };
}

// The raster the page's characters describe, per row of the page and per character a pixel
// column of two [red, green, blue] pixels: "I" inked in both, "." in the lower, "'" in the upper,
// a blank in neither; ink in the font colour, the rest in the cell's background (black on white
// where the page names no colour).
function describedRaster(html) {
  const rgb = (hex) => [1, 3, 5].map((i) => parseInt(hex.slice(i, i + 2), 16));
  const inked = { I: [true, true], '.': [false, true], "'": [true, false], ' ': [false, false], '&nbsp;': [false, false] };
  return html.split('\r\n').filter((line) => line.includes('<tr>')).map((line) => {
    let paper = [255, 255, 255];
    let ink = [0, 0, 0];
    const columns = [];
    for (const token of line.match(/<[^>]*>|&nbsp;|[^<&]/g)) {
      if (token.startsWith('<td')) paper = rgb(/bgcolor=(#\w{6})/.exec(token)?.[1] ?? '#FFFFFF');
      else if (token.startsWith('<font')) ink = rgb(/color=(#\w{6})/.exec(token)[1]);
      else if (!token.startsWith('<')) columns.push(inked[token].map((on) => (on ? ink : paper)));
    }
    return columns;
  });
}

// The first pixel where the rendering differs from the described raster, or null. Text pages
// are thresholded (black ink on white); colour pages must show each cell's colours exactly.
function firstDifference(rendering, raster, threshold) {
  for (let y = 0; y < rendering.height; y++) {
    for (let x = 0; x < rendering.width; x++) {
      const want = raster[y >> 1][x][y & 1];
      const at = 4 * (y * rendering.width + x);
      const got = [0, 1, 2].map((c) => rendering.data[at + c]);
      const same = threshold ? got.every((v, c) => v < 128 === want[c] < 128) : got.every((v, c) => v === want[c]);
      if (!same) return { x, y, got, want };
    }
  }
  return null;
}

for (const [picture, size, family] of CASES) {
  test(`Chromium draws the raster of ${picture} ${size} ${family} pixel for pixel`, async () => {
    const page = pages.get(family);
    const rendering = await browser.renderPage(page, tablesArea);
    const raster = describedRaster(readFileSync(page, 'latin1'));
    assert.ok(raster.every((row) => row.length === 2 * CELLS), 'every row describes its cells');
    assert.deepEqual([rendering.width, rendering.height], [2 * CELLS, 2 * raster.length], 'the tables are the raster\'s size');
    assert.equal(firstDifference(rendering, raster, family.startsWith('bw')), null);
  });
}

// Firefox draws a page into a screenshot of the whole viewport, from a profile of its own.
async function renderInFirefox(page, png) {
  if (!existsSync(FIREFOX)) throw new Error(`Firefox ESR not found at ${FIREFOX}: run ./dev.sh test, or apt-get install firefox-esr`);
  const profile = png.replace(/\.png$/, '-firefox');
  mkdirSync(profile);
  await promisify(execFile)(FIREFOX, ['--headless', '--no-remote', '--profile', profile,
    `--window-size=${VIEWPORT.width},${VIEWPORT.height}`, '--screenshot', png, pathToFileURL(page).href],
  { timeout: 120000 });
  return browser.decodeFile(png);
}

for (const [picture, size, family] of CASES) {
  test(`Firefox ESR draws ${picture} ${size} ${family} as Chromium does`, async () => {
    const page = pages.get(family);
    const chromium = await browser.renderPage(page, tablesArea);
    const firefox = await renderInFirefox(page, page.replace(/\.html$/, '.png'));
    const { x, y, width, height } = chromium.box;
    const drawn = crop(firefox, width, height, x, y);
    assert.ok(Buffer.compare(Buffer.from(drawn.data), Buffer.from(chromium.data)) === 0, 'the pixels differ');
  });
}

test('a text page whose font the browser refuses is drawn as without the option', async () => {
  const [picture, size, family] = CASES[0];
  const plain = (await fidelity.encode(picture, size, family.replace(' pixel', ''), { cells: CELLS })).page;
  const refused = pages.get(family).replace(/\.html$/, '-refused.html');
  writeFileSync(refused, readFileSync(pages.get(family), 'latin1').replace(/base64,[\w+/=]+/, 'base64,AAAA'), 'latin1');
  const [a, b] = [await browser.renderPage(plain), await browser.renderPage(refused)];
  assert.deepEqual(b.box, a.box);
  assert.ok(Buffer.compare(Buffer.from(b.data), Buffer.from(a.data)) === 0, 'the pixels differ');
});
