import assert from 'node:assert/strict';
import { describe, test } from 'node:test';

import { correlation, crop, downscale, fitSize, luminance, matchMeanContrast, psnr, score, ssim } from './metrics.mjs';

// An RGBA image whose grey value at (x, y) is f(x, y).
function grey(width, height, f) {
  const data = new Uint8Array(width * height * 4);
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < width; x++) data.set([f(x, y), f(x, y), f(x, y), 255], (y * width + x) * 4);
  }
  return { width, height, data };
}

// A picture with structure at every scale: a diagonal ramp with a bright disc and dark bars.
const SCENE = (x, y) => {
  const disc = (x - 40) ** 2 + (y - 28) ** 2 < 15 ** 2 ? 90 : 0;
  const bars = Math.floor(x / 8) % 3 === 0 && y > 40 ? -60 : 0;
  return Math.max(0, Math.min(255, Math.round(x * 1.2 + y * 0.8 + disc + bars)));
};

// Each pixel repeated as an n x n block: a page that draws every pixel as a bigger cell.
function enlarge(image, n) {
  return grey(image.width * n, image.height * n, (x, y) => image.data[(Math.floor(y / n) * image.width + Math.floor(x / n)) * 4]);
}

// Fine detail around mid-grey, where SSIM's structure term dominates.
const TEXTURE = (x, y) => Math.round(128 + 90 * Math.sin(x / 2) * Math.cos(y / 3));

const plane = (values) => Float64Array.from(values);

describe('fitSize', () => {
  for (const [w, h, longest, expected] of [
    [512, 512, 128, { width: 128, height: 128 }],
    [451, 300, 160, { width: 160, height: 106 }],
    [300, 451, 160, { width: 106, height: 160 }],
    [100, 50, 160, { width: 100, height: 50 }], // never enlarged
    [1000, 1, 100, { width: 100, height: 1 }], // never collapses to zero
  ]) {
    test(`${w}x${h} into ${longest}`, () => assert.deepEqual(fitSize(w, h, longest), expected));
  }
});

describe('crop', () => {
  test('keeps the top-left pixels row by row', () => {
    const image = grey(4, 3, (x, y) => 10 * y + x);
    const part = crop(image, 2, 2);
    assert.deepEqual([part.width, part.height], [2, 2]);
    assert.deepEqual([0, 4, 8, 12].map((i) => part.data[i]), [0, 1, 10, 11]);
  });
  test('keeps the pixels of a box anywhere in the image', () => {
    const part = crop(grey(4, 3, (x, y) => 10 * y + x), 2, 2, 2, 1);
    assert.deepEqual([0, 4, 8, 12].map((i) => part.data[i]), [12, 13, 22, 23]);
  });
  test('refuses to grow', () => assert.throws(() => crop(grey(4, 3, () => 0), 5, 3), /cannot crop/));
  test('refuses a box reaching past an edge', () => {
    assert.throws(() => crop(grey(4, 3, () => 0), 2, 2, 3, 0), /cannot crop/);
    assert.throws(() => crop(grey(4, 3, () => 0), 2, 2, 0, -1), /cannot crop/);
  });
});

describe('downscale', () => {
  test('whole factors average blocks', () => {
    const checker = grey(4, 4, (x, y) => ((x + y) % 2 ? 255 : 0));
    assert.deepEqual([...luminance(downscale(checker, 2, 2))].map((v) => Math.round(v * 10) / 10), [127.5, 127.5, 127.5, 127.5]);
  });
  test('fractional factors weigh pixels by the share of them each output pixel covers', () => {
    const ramp = grey(3, 1, (x) => 90 * x); // 0, 90, 180 into two pixels 1.5 wide
    const out = downscale(ramp, 2, 1).data;
    assert.ok(Math.abs(out[0] - 30) < 1e-9 && Math.abs(out[3] - 150) < 1e-9, `${out[0]}, ${out[3]}`);
  });
  test('same size keeps every value', () => {
    const image = grey(7, 5, SCENE);
    const out = downscale(image, 7, 5).data;
    for (let p = 0; p < 35; p++) assert.ok(Math.abs(out[3 * p] - image.data[4 * p]) < 1e-9);
  });
  test('colour channels stay apart', () => {
    const image = { width: 2, height: 1, data: Uint8Array.from([200, 0, 0, 255, 0, 0, 100, 255]) };
    assert.deepEqual([...downscale(image, 1, 1).data], [100, 0, 50]);
  });
  test('refuses to enlarge', () => assert.throws(() => downscale(grey(4, 4, () => 0), 8, 4), /cannot scale/));
});

describe('correlation', () => {
  const a = plane([1, 5, 2, 8, 3]);
  test('identical is 1', () => assert.ok(Math.abs(correlation(a, a) - 1) < 1e-12));
  test('inverted is -1', () => assert.ok(Math.abs(correlation(a, a.map((v) => 255 - v)) + 1) < 1e-12));
  test('brightness and contrast do not matter', () => assert.ok(Math.abs(correlation(a, a.map((v) => 0.3 * v + 90)) - 1) < 1e-12));
  test('a flat plane carries no structure', () => assert.equal(correlation(a, plane([7, 7, 7, 7, 7])), 0));
  test('a known case', () => assert.ok(Math.abs(correlation(plane([1, 2, 3]), plane([1, 3, 2])) - 0.5) < 1e-12));
});

describe('matchMeanContrast', () => {
  test('takes the mean and deviation of the reference, keeps the shape', () => {
    const matched = matchMeanContrast(plane([0, 10, 20]), plane([100, 100, 160, 160]));
    const step = (10 * 30) / Math.sqrt(200 / 3); // one deviation of the plane in the reference's units
    for (const [i, expected] of [130 - step, 130, 130 + step].entries()) assert.ok(Math.abs(matched[i] - expected) < 1e-9);
  });
  test('a flat plane becomes the reference mean', () => assert.deepEqual([...matchMeanContrast(plane([4, 4]), plane([0, 10]))], [5, 5]));
});

describe('ssim', () => {
  const image = grey(24, 20, TEXTURE);
  const y = luminance(downscale(image, 24, 20));
  test('identical is 1', () => assert.ok(Math.abs(ssim(y, y, 24, 20) - 1) < 1e-12));
  test('inverted is far below 0', () => {
    const inverted = ssim(y, y.map((v) => 255 - v), 24, 20);
    assert.ok(inverted < -0.8, `${inverted}`);
  });
  test('two flat planes: only the brightness term is left', () => {
    const c1 = (0.01 * 255) ** 2;
    const black = new Float64Array(16 * 16);
    const mid = black.map(() => 128);
    assert.ok(Math.abs(ssim(black, mid, 16, 16) - c1 / (128 ** 2 + c1)) < 1e-12);
  });
  test('mild noise keeps it high, heavy noise brings it down', () => {
    let seed = 7;
    const noise = () => ((seed = (seed * 1103515245 + 12345) % 2 ** 31) / 2 ** 31 - 0.5) * 2;
    const mild = ssim(y, y.map((v) => v + 4 * noise()), 24, 20);
    const heavy = ssim(y, y.map((v) => v + 120 * noise()), 24, 20);
    assert.ok(mild > 0.95 && heavy < 0.5 && heavy > 0, `mild ${mild}, heavy ${heavy}`);
  });
  test('needs room for its window', () => assert.throws(() => ssim(plane([1]), plane([1]), 1, 1), /11x11/));
});

describe('psnr', () => {
  const image = downscale(grey(4, 4, (x, y) => 16 * (x + y)), 4, 4);
  test('identical is infinite', () => assert.equal(psnr(image, image), Infinity));
  test('a tiny real difference is finite', () => {
    const data = Float64Array.from(image.data);
    data[5] += 0.01;
    assert.ok(Number.isFinite(psnr(image, { ...image, data })));
  });
  test('off by one everywhere is 48.13 dB', () => {
    const off = { ...image, data: image.data.map((v) => v + 1) };
    assert.ok(Math.abs(psnr(image, off) - 20 * Math.log10(255)) < 1e-9);
  });
});

describe('score', () => {
  const picture = grey(64, 48, SCENE);
  test('a page drawing every pixel as a 2 x 2 cell scores as the picture itself', () => {
    const s = score(picture, enlarge(picture, 2), { longest: 32 });
    assert.ok(s.ssim > 0.9999 && s.correlation > 0.9999 && s.psnr > 60, JSON.stringify(s));
  });
  test('a negative scores low on structure', () => {
    const s = score(picture, grey(64, 48, (x, y) => 255 - SCENE(x, y)), { longest: 32 });
    assert.ok(s.ssim < 0 && s.correlation < -0.99 && s.matchedSsim < 0, JSON.stringify(s));
  });
  test('a lighter, flatter copy keeps its correlation but not its plain SSIM', () => {
    const s = score(picture, grey(64, 48, (x, y) => 150 + SCENE(x, y) / 3), { longest: 32 });
    assert.ok(s.correlation > 0.9999 && s.matchedSsim > 0.99 && s.ssim < 0.9, JSON.stringify(s));
  });
});
