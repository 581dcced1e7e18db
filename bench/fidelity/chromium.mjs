// Debian's Chromium, driven headless through playwright-core. One browser serves every case:
// it renders the generated pages and decodes the pictures, so neither the measurement nor the tests need an image library.
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { extname, join } from 'node:path';
import { pathToFileURL } from 'node:url';

// The tool must never fetch a browser of its own; set before playwright-core is loaded.
process.env.PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD = '1';
// playwright-core is installed with the browser tests' npm packages.
const { chromium } = (() => {
  try {
    return createRequire(new URL('../../tests/browser/package.json', import.meta.url))('playwright-core');
  } catch (error) {
    throw new Error(`playwright-core is not installed: run "npm ci" in tests/browser (./dev.sh test does) (${error.message})`);
  }
})();

export const CHROMIUM = process.env.STIPPLOR_CHROMIUM || '/usr/bin/chromium';

const FLAGS = ['--disable-gpu', '--no-first-run', '--disable-background-networking', '--disable-component-update', '--disable-sync', '--disable-quic'];

const MIME = { '.png': 'image/png', '.jpg': 'image/jpeg', '.jpeg': 'image/jpeg', '.gif': 'image/gif', '.bmp': 'image/bmp' };

export class Chromium {
  static async launch({ viewport = { width: 1280, height: 1024 } } = {}) {
    if (!existsSync(CHROMIUM)) throw new Error(`Chromium not found at ${CHROMIUM}: run ./dev.sh test, or apt-get install chromium`);
    const profile = mkdtempSync(join(tmpdir(), 'stipplor-chromium-'));
    const args = process.getuid?.() === 0 ? [...FLAGS, '--no-sandbox'] : FLAGS;
    try {
      const context = await chromium.launchPersistentContext(profile, { executablePath: CHROMIUM, headless: true, args, viewport, deviceScaleFactor: 1, offline: true });
      // One tab renders the pages (and is also reached through the DevTools protocol), another
      // decodes pictures: opening a tab per case costs more than rendering a small page.
      const [renderer, decoder] = [context.pages()[0] ?? (await context.newPage()), await context.newPage()];
      return new Chromium({ context, profile, renderer, decoder, protocol: await context.newCDPSession(renderer) });
    } catch (error) {
      rmSync(profile, { recursive: true, force: true });
      throw error;
    }
  }

  constructor(parts) {
    Object.assign(this, parts);
  }

  async close() {
    await this.context.close();
    rmSync(this.profile, { recursive: true, force: true });
  }

  // Loads the page at `file` and returns the pixels of the area it draws (see drawnArea; `area`
  // runs in the page instead when given) and that area's box in CSS pixels.
  async renderPage(file, area = drawnArea) {
    const page = this.renderer;
    await page.goto(pathToFileURL(file).href, { waitUntil: 'load' });
    const box = await page.evaluate(area);
    if (!box) throw new Error(`${file} draws nothing`);
    const { width, height } = page.viewportSize();
    if (box.x + box.width > width || box.y + box.height > height) {
      await page.setViewportSize({ width: Math.max(width, box.x + box.width), height: Math.max(height, box.y + box.height) });
    }
    // Straight to the protocol: a fast PNG encoding, the same pixels.
    const { data } = await this.protocol.send('Page.captureScreenshot', { format: 'png', clip: { ...box, scale: 1 }, optimizeForSpeed: true });
    return { ...(await this.decode(Buffer.from(data, 'base64'), 'image/png')), box };
  }

  // Decodes a picture file (BMP, GIF, JPEG, PNG) the way the browser shows it.
  async decodeFile(file) {
    const mime = MIME[extname(file).toLowerCase()];
    if (!mime) throw new Error(`${file}: no known picture type`);
    return this.decode(readFileSync(file), mime);
  }

  // Decodes picture bytes into RGBA ({width, height, data}), as the metrics take them.
  async decode(bytes, mime) {
    const { width, height, base64 } = await this.decoder.evaluate(decodeInPage, `data:${mime};base64,${Buffer.from(bytes).toString('base64')}`);
    return { width, height, data: new Uint8Array(Buffer.from(base64, 'base64')) };
  }
}

// Runs in the page: the rectangle (CSS pixels, whole pixels) that the document draws. A page of
// text is one table whose rows are 2 px high, but whose glyphs advance less than the 2 px per cell
// the table is given: its extent is the text's across and the table's down (the glyphs' line boxes
// are taller than the rows).
export function drawnArea() {
  const union = (rects) => {
    const drawn = rects.filter((r) => r.width > 0 && r.height > 0);
    const side = (f, name) => f(...drawn.map((r) => r[name]));
    return drawn.length ? { left: side(Math.min, 'left'), top: side(Math.min, 'top'), right: side(Math.max, 'right'), bottom: side(Math.max, 'bottom') } : null;
  };
  const tables = [...document.querySelectorAll('table')];
  let area = union(tables.map((t) => t.getBoundingClientRect()));
  if (area && tables.length === 1 && tables[0].querySelector('nobr')) {
    const range = document.createRange();
    const glyphs = [];
    const walker = document.createTreeWalker(tables[0], NodeFilter.SHOW_TEXT);
    for (let node = walker.nextNode(); node; node = walker.nextNode()) {
      range.selectNodeContents(node);
      glyphs.push(...range.getClientRects());
    }
    const text = union(glyphs);
    area = text && { ...area, left: text.left, right: text.right };
  }
  if (!area) return null;
  const [x, y] = [Math.floor(area.left + scrollX), Math.floor(area.top + scrollY)];
  return { x, y, width: Math.ceil(area.right + scrollX) - x, height: Math.ceil(area.bottom + scrollY) - y };
}

// Runs in the page: decodes an image URL through <img> and a canvas into base64 RGBA bytes.
async function decodeInPage(url) {
  const img = new Image();
  img.src = url;
  await img.decode();
  const canvas = Object.assign(document.createElement('canvas'), { width: img.naturalWidth, height: img.naturalHeight });
  const ctx = canvas.getContext('2d', { willReadFrequently: true });
  ctx.drawImage(img, 0, 0);
  const bytes = ctx.getImageData(0, 0, canvas.width, canvas.height).data;
  let binary = '';
  const chunk = 0x8000;
  for (let i = 0; i < bytes.length; i += chunk) binary += String.fromCharCode.apply(null, bytes.subarray(i, i + chunk));
  return { width: canvas.width, height: canvas.height, base64: btoa(binary) };
}
