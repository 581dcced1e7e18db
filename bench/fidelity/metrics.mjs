// How closely a rendered page copies its picture. Both images are scaled down with area averaging
// to the same small size, so the texture of characters and cells averages into grey levels as it
// does for a viewer at a distance, and then compared by structure (SSIM, correlation) and colour
// (PSNR). Images come in as 8-bit RGBA ({width, height, data}); scaled images are RGB floats.

// The size with the longest side `longest` and the aspect ratio of width x height (never larger).
export function fitSize(width, height, longest) {
  const scale = Math.min(1, longest / Math.max(width, height));
  return { width: Math.max(1, Math.round(width * scale)), height: Math.max(1, Math.round(height * scale)) };
}

// The width x height pixels of an RGBA image whose top-left corner is at (x, y).
export function crop(image, width, height, x = 0, y = 0) {
  if (x < 0 || y < 0 || x + width > image.width || y + height > image.height) {
    throw new Error(`cannot crop ${image.width}x${image.height} to ${width}x${height} at ${x},${y}`);
  }
  const data = new Uint8Array(width * height * 4);
  for (let row = 0; row < height; row++) {
    const start = ((y + row) * image.width + x) * 4;
    data.set(image.data.subarray(start, start + width * 4), row * width * 4);
  }
  return { width, height, data };
}

// For each output index, the input pixels it covers and their weights (fractions of one output
// pixel's extent, summing to 1): exact area averaging for any scale factor >= 1.
function areaWeights(inSize, outSize) {
  const step = inSize / outSize;
  return Array.from({ length: outSize }, (_, o) => {
    const taps = [];
    for (let i = Math.floor(o * step); i < Math.min(inSize, Math.ceil((o + 1) * step)); i++) {
      const overlap = Math.min((o + 1) * step, i + 1) - Math.max(o * step, i);
      if (overlap > 0) taps.push([i, overlap / step]);
    }
    return taps;
  });
}

// Scales an RGBA image down to width x height by area averaging; returns RGB floats 0..255.
export function downscale(image, width, height) {
  if (width > image.width || height > image.height) throw new Error(`cannot scale ${image.width}x${image.height} up`);
  const columns = areaWeights(image.width, width);
  const horizontal = new Float64Array(width * image.height * 3);
  for (let y = 0; y < image.height; y++) {
    for (let x = 0; x < width; x++) {
      for (const [i, w] of columns[x]) {
        for (let c = 0; c < 3; c++) horizontal[(y * width + x) * 3 + c] += w * image.data[(y * image.width + i) * 4 + c];
      }
    }
  }
  const data = new Float64Array(width * height * 3);
  areaWeights(image.height, height).forEach((taps, y) => {
    for (const [j, w] of taps) {
      for (let k = 0; k < width * 3; k++) data[y * width * 3 + k] += w * horizontal[j * width * 3 + k];
    }
  });
  return { width, height, data };
}

// The luminance plane of a scaled RGB image (Rec. 601 weights).
function luminance(rgb) {
  return Float64Array.from({ length: rgb.width * rgb.height }, (_, p) => 0.299 * rgb.data[3 * p] + 0.587 * rgb.data[3 * p + 1] + 0.114 * rgb.data[3 * p + 2]);
}

const mean = (values) => values.reduce((s, v) => s + v, 0) / values.length;
const deviation = (values, m) => Math.sqrt(values.reduce((s, v) => s + (v - m) ** 2, 0) / values.length);

// Pearson correlation of two planes; 0 when either is flat (it carries no structure to match).
function correlation(a, b) {
  const [ma, mb] = [mean(a), mean(b)];
  let [ab, aa, bb] = [0, 0, 0];
  for (let i = 0; i < a.length; i++) {
    ab += (a[i] - ma) * (b[i] - mb);
    aa += (a[i] - ma) ** 2;
    bb += (b[i] - mb) ** 2;
  }
  return aa === 0 || bb === 0 ? 0 : ab / Math.sqrt(aa * bb);
}

// `plane` shifted and stretched to the mean and standard deviation of `reference`: what remains
// of the difference is structure, not overall brightness or contrast.
function matchMeanContrast(plane, reference) {
  const [m, mr] = [mean(plane), mean(reference)];
  const [s, sr] = [deviation(plane, m), deviation(reference, mr)];
  return plane.map((v) => (s === 0 ? mr : mr + ((v - m) * sr) / s));
}

// Normalised 1-D Gaussian, 11 taps, sigma 1.5: the window of the usual SSIM.
const WINDOW = (() => {
  const taps = Array.from({ length: 11 }, (_, i) => Math.exp(-((i - 5) ** 2) / (2 * 1.5 ** 2)));
  const sum = taps.reduce((s, t) => s + t, 0);
  return taps.map((t) => t / sum);
})();

// Gaussian-weighted local average of a plane, over the positions where the window fits whole.
function blur(plane, width, height) {
  const n = WINDOW.length;
  const [w, h] = [width - n + 1, height - n + 1];
  const rows = new Float64Array(w * height);
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < w; x++) for (let k = 0; k < n; k++) rows[y * w + x] += WINDOW[k] * plane[y * width + x + k];
  }
  const out = new Float64Array(w * h);
  for (let y = 0; y < h; y++) {
    for (let x = 0; x < w; x++) for (let k = 0; k < n; k++) out[y * w + x] += WINDOW[k] * rows[(y + k) * w + x];
  }
  return out;
}

// Mean structural similarity of two planes of 0..255 values (Wang et al. 2004: Gaussian window
// 11 x 11, sigma 1.5, K1 0.01, K2 0.03). 1 for identical planes.
function ssim(a, b, width, height) {
  const [c1, c2] = [(0.01 * 255) ** 2, (0.03 * 255) ** 2];
  const product = (p, q) => p.map((v, i) => v * q[i]);
  const [ma, mb] = [blur(a, width, height), blur(b, width, height)];
  const [aa, bb, ab] = [product(a, a), product(b, b), product(a, b)].map((p) => blur(p, width, height));
  let sum = 0;
  for (let i = 0; i < ma.length; i++) {
    const [va, vb, cov] = [aa[i] - ma[i] ** 2, bb[i] - mb[i] ** 2, ab[i] - ma[i] * mb[i]];
    sum += ((2 * ma[i] * mb[i] + c1) * (2 * cov + c2)) / ((ma[i] ** 2 + mb[i] ** 2 + c1) * (va + vb + c2));
  }
  return sum / ma.length;
}

// Peak signal-to-noise ratio over the three colour channels, in dB; Infinity when identical (up to
// the rounding noise of area averaging).
function psnr(x, y) {
  const mse = x.data.reduce((s, v, i) => s + (v - y.data[i]) ** 2, 0) / x.data.length;
  return mse < 1e-12 ? Infinity : 10 * Math.log10((255 * 255) / mse);
}

// Scores a rendering against its picture, both RGBA: each is scaled down to the same size (the
// picture's aspect, longest side `longest`), then
//   ssim         mean SSIM of the luminance (colour pages, whose brightness is meant literally),
//   psnr         colour PSNR in dB,
//   correlation  of the two luminance planes (text pages: structure whatever the ink density),
//   matchedSsim  SSIM after the rendering's luminance is matched to the picture's mean and contrast.
export function score(picture, rendering, longest) {
  const { width, height } = fitSize(picture.width, picture.height, longest);
  const [source, drawn] = [downscale(picture, width, height), downscale(rendering, width, height)];
  const [ys, yd] = [luminance(source), luminance(drawn)];
  return {
    ssim: ssim(ys, yd, width, height),
    psnr: psnr(source, drawn),
    correlation: correlation(ys, yd),
    matchedSsim: ssim(ys, matchMeanContrast(yd, ys), width, height),
  };
}
