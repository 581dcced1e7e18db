// Pages from stipplor-encode, rendered by Debian's Chromium, must show a recognisable copy of
// their picture: a few pages of each family, scored against the encoded part of their picture
// (both scaled down to 128 px by area averaging), each held to a floor: the value measured with
// Debian 12's chromium 156 and fonts-liberation 1:1.07.4 (the pages' Arial is Liberation Sans)
// less a margin for other builds (0.04 of correlation, 0.05 of SSIM, 2 dB of PSNR; an exact
// copy must keep 60 dB). Text pages are judged by structure (correlation, and SSIM once the
// page's luminance is matched to the picture's mean and contrast), colour pages by SSIM and
// PSNR. ./dev.sh fidelity measures every sample, size and family.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { fixed, openFidelity } from '../../bench/fidelity/fidelity.mjs';

// picture, size, family, floors: [correlation, matched SSIM] for text, [SSIM, PSNR dB] for colour
const CASES = [
  ['astronaut.jpg', '1:2', 'bw plain grey', [0.85, 0.56]],
  ['astronaut.jpg', '1:1', 'bw pattern grey smooth', [0.93, 0.70]],
  ['chelsea.bmp', '1:2', 'bw dotted colorized smooth', [0.69, 0.47]],
  ['hubble.jpg', '1:1', 'bw fractal grey', [0.70, 0.61]],
  ['chelsea.bmp', '1:1', 'bw dotted grey smooth pixel', [0.90, 0.77]],
  ['astronaut.jpg', '1:2', 'colored low minimize', [0.95, 60]],
  ['astronaut.jpg', '3:2', 'colored high minimize', [0.88, 23]],
  ['rocket.gif', '1:1', 'colored high minimize pixel', [0.94, 51]],
];

let fidelity;
before(async () => (fidelity = await openFidelity()));
after(async () => fidelity?.close());

// Each case checks the page's geometry first: rows 2 px high; colour cells 2 px wide. Text
// is narrower than its table: Liberation Sans at 3 px advances 0.83 px for "I", "." and a blank
// and 0.57 px for "'" against the 1 px a character is given; the pixel font fills the table (but
// for a row's closing blank, which the browser drops).
for (const [picture, size, family, [floor1, floor2]] of CASES) {
  test(`${picture} ${size} ${family}`, async (t) => {
    const { rendering, encoded, cells } = await fidelity.render(picture, size, family);
    const { box } = rendering;
    assert.equal(box.height, 2 * cells.down, 'rows are 2 px high');
    if (family.startsWith('bw')) {
      const share = box.width / (2 * cells.across);
      const [least, most] = family.endsWith('pixel') ? [0.99, 1.01] : [0.7, 0.9];
      assert.ok(share >= least && share <= most, `text fills ${fixed(share)} of the table's width`);
    } else {
      assert.equal(box.width, 2 * cells.across, 'cells are 2 px wide');
    }
    const s = fidelity.score(encoded, rendering);
    const [name1, value1, name2, value2] = family.startsWith('bw')
      ? ['correlation', s.correlation, 'matched SSIM', s.matchedSsim]
      : ['SSIM', s.ssim, 'PSNR', s.psnr];
    t.diagnostic(`${name1} ${fixed(value1)}, ${name2} ${fixed(value2)}`);
    assert.ok(value1 >= floor1, `${name1} ${fixed(value1)} < ${floor1}`);
    assert.ok(value2 >= floor2, `${name2} ${fixed(value2)} < ${floor2}`);
  });
}

