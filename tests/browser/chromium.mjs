// Debian's Chromium, driven headless through playwright-core. One browser serves every case:
// it renders the generated pages and decodes the pictures, so the suite needs no image library.
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { extname, join } from 'node:path';
import { pathToFileURL } from 'node:url';

// The tool must never fetch a browser of its own; set before playwright-core is loaded.
process.env.PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD = '1';
const { chromium } = await import('playwright-core');

export const CHROMIUM = process.env.STIPPLOR_CHROMIUM || '/usr/bin/chromium';

const FLAGS = [
  '--disable-gpu',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
  '--disable-quic',
];

const MIME = { '.png': 'image/png', '.jpg': 'image/jpeg', '.jpeg': 'image/jpeg', '.gif': 'image/gif', '.bmp': 'image/bmp' };

// An RGBA image as the metrics take it.
// @typedef {{width: number, height: number, data: Uint8Array}} Rgba

export class Chromium {
  static async launch({ viewport = { width: 1280, height: 1024 } } = {}) {
    if (!existsSync(CHROMIUM)) {
      throw new Error(`Chromium not found at ${CHROMIUM}: install Debian's package (apt-get install chromium) or run ./dev.sh test`);
    }
    const profile = mkdtempSync(join(tmpdir(), 'stipplor-chromium-'));
    const args = [...FLAGS];
    if (process.getuid?.() === 0) args.push('--no-sandbox');
    const context = await chromium.launchPersistentContext(profile, {
      executablePath: CHROMIUM,
      headless: true,
      args,
      viewport,
      deviceScaleFactor: 1,
      offline: true,
    });
    return new Chromium(context, profile);
  }

  constructor(context, profile) {
    this.context = context;
    this.profile = profile;
  }

  async close() {
    await this.context.close();
    rmSync(this.profile, { recursive: true, force: true });
  }

  // Loads the page at `file` and returns the pixels of the area it draws: for a page of colored
  // rows the union of its tables, for a page of text the union of the text's line boxes (the
  // 3-px glyphs advance less than the 2 px a cell is given, so the text is narrower than its table).
  async renderPage(file) {
    const page = await this.context.newPage();
    try {
      await page.goto(pathToFileURL(file).href, { waitUntil: 'load' });
      const box = await page.evaluate(drawnArea);
      if (!box || box.width < 1 || box.height < 1) throw new Error(`${file} draws nothing`);
      await page.setViewportSize({
        width: Math.max(page.viewportSize().width, Math.ceil(box.x + box.width)),
        height: Math.max(page.viewportSize().height, Math.ceil(box.y + box.height)),
      });
      const png = await page.screenshot({ clip: box, type: 'png', animations: 'disabled', caret: 'hide' });
      return { ...(await this.decode(png, 'image/png')), box };
    } finally {
      await page.close();
    }
  }

  // Decodes a picture file (BMP, GIF, JPEG, PNG) the way the browser shows it.
  async decodeFile(file) {
    const mime = MIME[extname(file).toLowerCase()];
    if (!mime) throw new Error(`${file}: no known picture type`);
    return this.decode(readFileSync(file), mime);
  }

  async decode(bytes, mime) {
    const page = await this.context.newPage();
    try {
      const { width, height, base64 } = await page.evaluate(decodeInPage, {
        url: `data:${mime};base64,${Buffer.from(bytes).toString('base64')}`,
      });
      return { width, height, data: new Uint8Array(Buffer.from(base64, 'base64')) };
    } finally {
      await page.close();
    }
  }
}

// Runs in the page: the rectangle (CSS pixels, whole pixels) that the document draws. A page of
// text is one table whose rows are 2 px high, but whose glyphs advance less than the 2 px per cell
// the table is given: its extent is the text's across and the table's down (the glyphs' line boxes
// are taller than the rows).
function drawnArea() {
  const union = (rects) => {
    const drawn = rects.filter((r) => r.width > 0 && r.height > 0);
    if (drawn.length === 0) return null;
    return {
      left: Math.min(...drawn.map((r) => r.left)),
      top: Math.min(...drawn.map((r) => r.top)),
      right: Math.max(...drawn.map((r) => r.right)),
      bottom: Math.max(...drawn.map((r) => r.bottom)),
    };
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
  const x = Math.floor(area.left + scrollX);
  const y = Math.floor(area.top + scrollY);
  return { x, y, width: Math.ceil(area.right + scrollX) - x, height: Math.ceil(area.bottom + scrollY) - y };
}

// Runs in the page: decodes an image URL through <img> and a canvas into base64 RGBA bytes.
async function decodeInPage({ url }) {
  const img = new Image();
  img.src = url;
  await img.decode();
  const canvas = document.createElement('canvas');
  canvas.width = img.naturalWidth;
  canvas.height = img.naturalHeight;
  const ctx = canvas.getContext('2d', { willReadFrequently: true });
  ctx.drawImage(img, 0, 0);
  const bytes = ctx.getImageData(0, 0, canvas.width, canvas.height).data;
  let binary = '';
  const chunk = 0x8000;
  for (let i = 0; i < bytes.length; i += chunk) binary += String.fromCharCode.apply(null, bytes.subarray(i, i + chunk));
  return { width: canvas.width, height: canvas.height, base64: btoa(binary) };
}
