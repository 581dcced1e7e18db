// Test pictures: resized copies of the samples, written as 24-bit BMP so that the encoder reads
// exactly the pixels the metrics compare with (no second lossy compression in between).
import { writeFileSync } from 'node:fs';

import { downscale, fitSize } from './metrics.mjs';

// An RGBA image scaled down by area averaging so that its longest side is at most `longest`.
export function shrink(image, longest) {
  const { width, height } = fitSize(image.width, image.height, longest);
  return resize(image, width, height);
}

// An RGBA image scaled down by area averaging to exactly width x height.
export function resize(image, width, height) {
  const rgb = downscale(image, width, height).data;
  const data = new Uint8Array(width * height * 4);
  for (let p = 0; p < width * height; p++) {
    data.set([Math.round(rgb[3 * p]), Math.round(rgb[3 * p + 1]), Math.round(rgb[3 * p + 2]), 255], 4 * p);
  }
  return { width, height, data };
}

// The bytes of an uncompressed 24-bit BMP: rows bottom-up, blue-green-red, padded to 4 bytes.
export function bmpBytes(image) {
  const stride = Math.ceil((image.width * 3) / 4) * 4;
  const size = 54 + stride * image.height;
  const bytes = Buffer.alloc(size);
  bytes.write('BM', 0, 'latin1');
  bytes.writeUInt32LE(size, 2);
  bytes.writeUInt32LE(54, 10); // pixels follow the two headers
  bytes.writeUInt32LE(40, 14); // BITMAPINFOHEADER
  bytes.writeInt32LE(image.width, 18);
  bytes.writeInt32LE(image.height, 22);
  bytes.writeUInt16LE(1, 26); // planes
  bytes.writeUInt16LE(24, 28); // bits per pixel
  bytes.writeUInt32LE(stride * image.height, 34);
  bytes.writeInt32LE(2835, 38); // 72 dpi
  bytes.writeInt32LE(2835, 42);
  for (let y = 0; y < image.height; y++) {
    const row = 54 + (image.height - 1 - y) * stride;
    for (let x = 0; x < image.width; x++) {
      const src = (y * image.width + x) * 4;
      bytes[row + 3 * x] = image.data[src + 2];
      bytes[row + 3 * x + 1] = image.data[src + 1];
      bytes[row + 3 * x + 2] = image.data[src];
    }
  }
  return bytes;
}

export function writeBmp(file, image) {
  writeFileSync(file, bmpBytes(image));
}
