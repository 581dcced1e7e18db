// The desktop program shows its pages in its own view, the result window's QWebEngineView (Qt
// WebEngine 6.4, a Chromium of its own): a page must look the same there as in Chromium.
// webengine_render hands the page ("stipplor-encode --document", the lines a run hands to the
// window) to a result window offscreen and saves the view's grab; both renderers draw into a
// viewport of the same size, and the drawn area must hold the very same pixels. A Pixel Font
// page: it draws the same in every browser that takes the font, so any difference is the view's.
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { test } from 'node:test';
import { promisify } from 'node:util';

import { openFidelity } from '../../bench/fidelity/fidelity.mjs';
import { crop } from '../../bench/fidelity/metrics.mjs';

const VIEWPORT = { width: 640, height: 560 };

test('the desktop program\'s view draws a page as Chromium does', async () => {
  const fidelity = await openFidelity(VIEWPORT);
  try {
    const { page } = await fidelity.encode('astronaut.jpg', '1:1', 'colored high minimize pixel', { document: true });
    const png = page.replace(/\.html$/, '.png');
    await promisify(execFile)(process.env.STIPPLOR_WEBENGINE_RENDER, ['--size', `${VIEWPORT.width}x${VIEWPORT.height}`, page, png]);
    const chromium = await fidelity.browser.renderPage(page);
    const grab = await fidelity.browser.decodeFile(png);
    assert.deepEqual([grab.width, grab.height], [VIEWPORT.width, VIEWPORT.height], 'the view has the viewport size');
    const { x, y, width, height } = chromium.box;
    assert.ok(Buffer.compare(Buffer.from(crop(grab, width, height, x, y).data), Buffer.from(chromium.data)) === 0, 'the pixels differ');
  } finally {
    await fidelity.close();
  }
});
