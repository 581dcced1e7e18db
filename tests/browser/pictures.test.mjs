import assert from 'node:assert/strict';
import { describe, test } from 'node:test';

import { bmpBytes, resize, shrink } from './pictures.mjs';

const rgba = (width, height, pixels) => ({ width, height, data: Uint8Array.from(pixels.flatMap((p) => [...p, 255])) });

describe('bmpBytes', () => {
  // Top row red, green, blue; bottom row white, black, grey: 9 bytes of pixels and 3 of padding a row.
  const image = rgba(3, 2, [[255, 0, 0], [0, 255, 0], [0, 0, 255], [255, 255, 255], [0, 0, 0], [1, 2, 3]]);
  const bytes = bmpBytes(image);
  test('headers', () => {
    assert.equal(bytes.toString('latin1', 0, 2), 'BM');
    assert.equal(bytes.length, 54 + 2 * 12);
    assert.deepEqual(
      [bytes.readUInt32LE(2), bytes.readUInt32LE(10), bytes.readUInt32LE(14), bytes.readInt32LE(18), bytes.readInt32LE(22)],
      [78, 54, 40, 3, 2],
    );
    assert.deepEqual([bytes.readUInt16LE(26), bytes.readUInt16LE(28), bytes.readUInt32LE(30), bytes.readUInt32LE(34)], [1, 24, 0, 24]);
  });
  test('rows bottom-up in blue-green-red, padded to four bytes', () => {
    assert.deepEqual([...bytes.subarray(54, 66)], [255, 255, 255, 0, 0, 0, 3, 2, 1, 0, 0, 0]);
    assert.deepEqual([...bytes.subarray(66, 78)], [0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0]);
  });
});

describe('resize', () => {
  test('averages and rounds to whole channel values, opaque', () => {
    const image = rgba(2, 1, [[10, 0, 255], [11, 100, 0]]);
    assert.deepEqual([...resize(image, 1, 1).data], [11, 50, 128, 255]);
  });
  test('shrink keeps the aspect and never enlarges', () => {
    const image = rgba(4, 2, Array(8).fill([9, 9, 9]));
    assert.deepEqual([shrink(image, 2).width, shrink(image, 2).height], [2, 1]);
    assert.deepEqual([shrink(image, 10).width, shrink(image, 10).height], [4, 2]);
  });
});
