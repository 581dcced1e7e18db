// A page with the pixel font (stipplor-encode --pixel-font) draws, in Chromium at device scale 1,
// exactly the raster its own characters describe, and Firefox ESR draws it alike (the desktop
// program's own view is held to the same raster by the result window's test); where the font is
// refused, a text page falls back to Arial as it is drawn without the option.
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { existsSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { after, before, test } from 'node:test';
import { pathToFileURL } from 'node:url';
import { promisify } from 'node:util';

import { openFidelity } from '../../bench/fidelity/fidelity.mjs';
import { crop } from '../../bench/fidelity/metrics.mjs';

const FIREFOX = process.env.STIPPLOR_FIREFOX || '/usr/bin/firefox-esr';
// Both browsers draw into a viewport of this size, which holds the pages whole.
const VIEWPORT = { width: 320, height: 240 };
const CELLS = 48; // across a page

let fidelity;
let page; // a higher-quality colored page: characters in two colours per cell, merged runs
before(async () => {
  fidelity = await openFidelity(VIEWPORT);
  page = (await fidelity.encode('astronaut.jpg', '3:2', 'colored high minimize pixel', { cells: CELLS })).page;
});
after(async () => fidelity?.close());

// The RGBA raster the page's characters describe: per character a pixel column of two pixels,
// "I" inked in both, "." in the lower, "'" in the upper, a blank in neither; ink in the font
// colour, the rest in the cell's background.
function describedRaster(html) {
  const rgb = (hex) => [1, 3, 5].map((i) => parseInt(hex.slice(i, i + 2), 16)).concat(255);
  const inked = { I: [true, true], '.': [false, true], "'": [true, false], '&nbsp;': [false, false] };
  const rows = html.split('\r\n').filter((line) => line.includes('<tr>')).map((line) => {
    let paper;
    let ink;
    const columns = [];
    for (const token of line.match(/<[^>]*>|&nbsp;|[^<&]/g)) {
      if (token.startsWith('<td')) paper = rgb(/bgcolor=(#\w{6})/.exec(token)[1]);
      else if (token.startsWith('<font')) ink = rgb(/color=(#\w{6})/.exec(token)[1]);
      else if (!token.startsWith('<')) columns.push(inked[token].map((on) => (on ? ink : paper)));
    }
    return columns;
  });
  const width = 2 * CELLS;
  assert.ok(rows.every((row) => row.length === width), 'every row describes its cells');
  const data = new Uint8Array(width * 2 * rows.length * 4);
  rows.forEach((row, r) => row.forEach((column, x) => column.forEach((pixel, dy) => data.set(pixel, 4 * ((2 * r + dy) * width + x)))));
  return { width, height: 2 * rows.length, data };
}

const sameImage = (a, b) => a.width === b.width && a.height === b.height && Buffer.compare(Buffer.from(a.data), Buffer.from(b.data)) === 0;

test('Chromium draws the raster the characters describe, pixel for pixel', async () => {
  const rendering = await fidelity.browser.renderPage(page);
  assert.ok(sameImage(rendering, describedRaster(readFileSync(page, 'latin1'))), 'the pixels differ');
});

test('Firefox ESR draws the page as Chromium does', async () => {
  if (!existsSync(FIREFOX)) throw new Error(`Firefox ESR not found at ${FIREFOX}: run ./dev.sh test, or apt-get install firefox-esr`);
  const chromium = await fidelity.browser.renderPage(page);
  const png = page.replace(/\.html$/, '.png');
  const profile = page.replace(/\.html$/, '-firefox');
  mkdirSync(profile);
  await promisify(execFile)(FIREFOX, ['--headless', '--no-remote', '--profile', profile,
    `--window-size=${VIEWPORT.width},${VIEWPORT.height}`, '--screenshot', png, pathToFileURL(page).href], { timeout: 120000 });
  const { x, y, width, height } = chromium.box;
  assert.ok(sameImage(crop(await fidelity.browser.decodeFile(png), width, height, x, y), chromium), 'the pixels differ');
});

test('a text page whose font the browser refuses is drawn as without the option', async () => {
  const encode = async (family) => (await fidelity.encode('chelsea.bmp', '1:1', family, { cells: CELLS })).page;
  const plain = await encode('bw dotted grey smooth');
  const refused = (await encode('bw dotted grey smooth pixel')).replace(/\.html$/, '-refused.html');
  writeFileSync(refused, readFileSync(refused.replace('-refused', ''), 'latin1').replace(/base64,[\w+/=]+/, 'base64,AAAA'), 'latin1');
  const [a, b] = [await fidelity.browser.renderPage(plain), await fidelity.browser.renderPage(refused)];
  assert.deepEqual(b.box, a.box);
  assert.ok(sameImage(b, a), 'the pixels differ');
});
