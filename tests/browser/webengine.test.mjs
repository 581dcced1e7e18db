// The desktop program shows its pages in its own view, the result window's QWebEngineView; the
// same page must look the same there as in Chromium. Each case encodes a sample picture
// ("stipplor-encode --document", the lines a run hands to the window), renders it in both at the
// same viewport size, checks that both place the drawn area alike, and scores the two renderings
// of that area against each other with the fidelity metric (both scaled down to 128 px by area
// averaging), and once more pixel for pixel. Floors are the values measured here less a margin.
//
// Measured with Debian 12's chromium 156.0.8078.129 against Qt WebEngine 6.4.2 (a Chromium of
// its own, much older) and fonts-liberation 1:1.07.4-11. To re-measure, run with
// STIPPLOR_FIDELITY_REPORT=file.jsonl and copy the values into the table.
import assert from 'node:assert/strict';
import { after, before, describe, test } from 'node:test';

import { drawnArea } from './chromium.mjs';
import { fixed, openFidelity, record, SCORED } from './fidelity.mjs';
import { crop, score } from './metrics.mjs';
import { arialProbe, renderInWebEngine } from './webengine.mjs';

// picture, size, family,
//   measured [SSIM, PSNR dB at 128 px; SSIM pixel for pixel], floors [the same three]
const CASES = [
  ['astronaut.jpg', '1:1', 'bw pattern grey',            [0.999, 46.6, 0.995],   [0.98, 40, 0.97]],
  ['chelsea.bmp', '1:2', 'bw dotted colorized smooth',   [1.000, 56.6, 0.998],   [0.98, 48, 0.97]],
  ['hubble.jpg', '1:1', 'bw fractal grey',               [1.000, 47.9, 1.000],   [0.98, 42, 0.98]],
  ['rocket.gif', '1:1', 'bw plain colorized',            [1.000, 55.0, 0.999],   [0.98, 48, 0.98]],
  ['chelsea.bmp', '1:1', 'colored high minimize',        [1.000, 59.8, 0.999],   [0.98, 50, 0.98]],
  ['hubble.jpg', '1:1', 'colored low',                   [1.000, Infinity, 1.000], [0.98, 50, 0.98]],
  ['chelsea.bmp', '1:1', 'bw dotted grey smooth pixel',  [1.000, Infinity, 1.000], [0.98, 50, 0.98]],
  ['astronaut.jpg', '1:1', 'colored high minimize pixel', [1.000, Infinity, 1.000], [0.98, 50, 0.98]],
];

// Both renderers draw into a viewport of this size, which holds every page whole.
const VIEWPORT = { width: 640, height: 560 };

let browser;
let fidelity;
// Per case: the page, the grab of the desktop program's view, and what the probe saw there.
const desktop = new Map();

const key = ([picture, size, family]) => `${picture} ${size} ${family}`;

before(async () => {
  fidelity = await openFidelity(VIEWPORT);
  browser = fidelity.browser;
  const pages = [];
  for (const [picture, size, family] of CASES) pages.push((await fidelity.encode(picture, size, family, { document: true })).page);
  const pngs = pages.map((page) => page.replace(/\.html$/, '.png'));
  const seen = await renderInWebEngine({
    program: process.env.STIPPLOR_WEBENGINE_RENDER,
    pages,
    pngs,
    size: VIEWPORT,
    probe: `() => ({ area: (${drawnArea})(), fonts: (${arialProbe})() })`,
  });
  CASES.forEach((c, i) => desktop.set(key(c), { page: pages[i], png: pngs[i], ...seen[i] }));
});

after(async () => fidelity?.close());

// Both renderings of a case: Chromium's drawn area, and the same box of the desktop view's grab.
async function bothRenderings(c) {
  const shown = desktop.get(key(c));
  const chromium = await browser.renderPage(shown.page);
  const grab = await browser.decodeFile(shown.png);
  assert.deepEqual([grab.width, grab.height], [VIEWPORT.width, VIEWPORT.height], 'the view has the viewport size');
  const { x, y, width, height } = chromium.box;
  return { shown, chromium, desktop: crop(grab, width, height, x, y) };
}

describe('set-up', () => {
  test('both renderers draw the pages\' Arial in Liberation Sans', async () => {
    const shown = desktop.get(key(CASES[0]));
    await browser.renderPage(shown.page);
    const inChromium = await browser.renderer.evaluate(arialProbe);
    const arial = { advances: { I: 569, '.': 569, ' ': 569, "'": 391 }, likeLiberationSans: true, likeDejaVuSans: false };
    assert.deepEqual(inChromium, arial, 'Chromium: install fonts-liberation');
    for (const [name, { fonts }] of desktop) assert.deepEqual(fonts, arial, `desktop view, ${name}: install fonts-liberation`);
  });
});

describe('the desktop program\'s view and Chromium draw a page alike', () => {
  for (const c of CASES) {
    const [, , , , [minSsim, minPsnr, minPixelSsim]] = c;
    test(key(c), async (t) => {
      const { shown, chromium, desktop: drawn } = await bothRenderings(c);
      // Where the page draws: the text's extent in text pages, the tables' in colour pages.
      for (const side of ['x', 'y', 'width', 'height']) {
        assert.ok(Math.abs(shown.area[side] - chromium.box[side]) <= 1, `${side}: ${shown.area[side]} in the view, ${chromium.box[side]} in Chromium`);
      }
      const scaled = score(chromium, drawn, { longest: SCORED });
      const pixels = score(chromium, drawn, { longest: Math.max(chromium.width, chromium.height) });
      record(`webengine ${key(c)}`, { ...scaled, pixelSsim: pixels.ssim, area: shown.area, box: chromium.box });
      t.diagnostic(`SSIM ${fixed(scaled.ssim)}, PSNR ${fixed(scaled.psnr)} dB, pixel SSIM ${fixed(pixels.ssim)}`);
      assert.ok(scaled.ssim >= minSsim, `SSIM ${fixed(scaled.ssim)} < ${minSsim}`);
      assert.ok(scaled.psnr >= minPsnr, `PSNR ${fixed(scaled.psnr)} dB < ${minPsnr}`);
      assert.ok(pixels.ssim >= minPixelSsim, `pixel SSIM ${fixed(pixels.ssim)} < ${minPixelSsim}`);
    });
  }
});

describe('negative control: the view\'s rendering of another page', () => {
  test('a text page of the astronaut against Chromium\'s page of the deep field', async () => {
    const ours = await bothRenderings(CASES[0]);
    const other = await bothRenderings(CASES[2]);
    const s = score(other.chromium, ours.desktop, { longest: SCORED });
    record('webengine negative', s);
    // Measured: SSIM 0.228, correlation -0.014.
    assert.ok(s.ssim < 0.5, `SSIM ${fixed(s.ssim)}: another page passes for the same one`);
    assert.ok(s.correlation < 0.2, `correlation ${fixed(s.correlation)}: another page passes for the same one`);
  });
});
