// The bytes of an uncompressed 24-bit BMP: rows bottom-up, blue-green-red, padded to 4 bytes.
export function bmpBytes({ width, height, data }) {
  const stride = Math.ceil((width * 3) / 4) * 4;
  const bytes = Buffer.alloc(54 + stride * height);
  bytes.write('BM', 0, 'latin1');
  bytes.writeUInt32LE(bytes.length, 2);
  bytes.writeUInt32LE(54, 10); // pixels follow the two headers
  bytes.writeUInt32LE(40, 14); // BITMAPINFOHEADER
  bytes.writeInt32LE(width, 18);
  bytes.writeInt32LE(height, 22);
  bytes.writeUInt16LE(1, 26); // planes
  bytes.writeUInt16LE(24, 28); // bits per pixel
  bytes.writeUInt32LE(stride * height, 34);
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < width; x++) {
      const [src, row] = [(y * width + x) * 4, 54 + (height - 1 - y) * stride + 3 * x];
      [bytes[row], bytes[row + 1], bytes[row + 2]] = [data[src + 2], data[src + 1], data[src]];
    }
  }
  return bytes;
}
