// A text page with the pixel font (stipplor-encode --pixel-font) whose font the browser refuses
// falls back to Arial and is drawn exactly as without the option. (That the font draws the raster
// its characters describe is held to the desktop program's own view by the result window's test.)
import assert from 'node:assert/strict';
import { readFileSync, writeFileSync } from 'node:fs';
import { after, before, test } from 'node:test';

import { openFidelity } from '../../bench/fidelity/fidelity.mjs';

const VIEWPORT = { width: 320, height: 240 };
const CELLS = 48; // across a page

let fidelity;
before(async () => {
  fidelity = await openFidelity(VIEWPORT);
});
after(async () => fidelity?.close());

const sameImage = (a, b) => a.width === b.width && a.height === b.height && Buffer.compare(Buffer.from(a.data), Buffer.from(b.data)) === 0;

test('a text page whose font the browser refuses is drawn as without the option', async () => {
  const encode = async (family) => (await fidelity.encode('chelsea.bmp', '1:1', family, { cells: CELLS })).page;
  const plain = await encode('bw dotted grey smooth');
  const refused = (await encode('bw dotted grey smooth pixel')).replace(/\.html$/, '-refused.html');
  writeFileSync(refused, readFileSync(refused.replace('-refused', ''), 'latin1').replace(/base64,[\w+/=]+/, 'base64,AAAA'), 'latin1');
  const [a, b] = [await fidelity.browser.renderPage(plain), await fidelity.browser.renderPage(refused)];
  assert.deepEqual(b.box, a.box);
  assert.ok(sameImage(b, a), 'the pixels differ');
});
