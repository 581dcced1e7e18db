import assert from 'node:assert/strict';
import { test } from 'node:test';

import { encoderOptions } from './fidelity.mjs';

for (const [size, family, expected] of [
  ['1:2', 'bw plain grey', '--size 1:2 --bw --style plain --grey --no-smooth'],
  ['1:1', 'bw fractal colorized smooth', '--size 1:1 --bw --style fractal --colorized --smooth'],
  ['3:2', 'colored high pixel', '--size 3:2 --colored --quality high --no-minimize --pixel-font'],
  ['2:1', 'colored low minimize', '--size 2:1 --colored --quality low --minimize'],
]) {
  test(`${size} ${family} names every option`, () => assert.equal(encoderOptions(size, family).join(' '), expected));
}

test('an unknown family is refused', () => assert.throws(() => encoderOptions('1:1', 'sepia'), /unknown family "sepia"/));
