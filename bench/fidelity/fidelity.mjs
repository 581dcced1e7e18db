// One fidelity case from start to end: a sample picture, resized so that every page of its kind
// has the same number of cells across and written as a 24-bit BMP (the encoder reads exactly the
// pixels the metrics compare with), is encoded by stipplor-encode and rendered by Chromium, and
// the drawn area is scored against the part of the picture the page encodes. The README's
// pictures (scripts/screenshots) are made with the same parts.
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

import { Chromium } from './chromium.mjs';
import { crop, downscale, fitSize, score } from './metrics.mjs';
import { bmpBytes } from './pictures.mjs';

// Cell edge in picture pixels for each size.
export const RATIO = { '1:2': 1, '1:1': 2, '3:2': 3, '2:1': 4 };

// Cells across the longest side of a page; both images are scored at 128 px. A text page gets
// twice as many cells, so that each compared pixel averages about four characters; a colour
// page draws each cell flat (or nearly), needs less averaging, and costs Chromium far more per
// cell to lay out.
const CELLS = { text: 256, colour: 160 };

// The command-line options for a family named by words: "bw <style> grey|colorized [smooth]" or
// "colored high|low [minimize]", either followed by "pixel" for the pixel font. Every option is
// given, so no default is relied on.
export function encoderOptions(size, family) {
  const has = (word) => family.split(' ').includes(word);
  const font = has('pixel') ? ['--pixel-font'] : [];
  const style = family.split(' ')[1];
  if (has('bw')) return ['--size', size, '--bw', '--style', style, has('colorized') ? '--colorized' : '--grey', has('smooth') ? '--smooth' : '--no-smooth', ...font];
  return ['--size', size, '--colored', '--quality', style, has('minimize') ? '--minimize' : '--no-minimize', ...font];
}

// A Fidelity over a fresh scratch folder and a Chromium with this viewport; the encoder and the
// samples as the environment names them (STIPPLOR_ENCODE, STIPPLOR_SAMPLES). close() ends both.
export async function openFidelity(viewport) {
  const encoder = process.env.STIPPLOR_ENCODE;
  if (!encoder || !existsSync(encoder)) throw new Error(`stipplor-encode not found (STIPPLOR_ENCODE=${encoder ?? ''})`);
  const samples = process.env.STIPPLOR_SAMPLES ?? join(dirname(fileURLToPath(import.meta.url)), '..', '..', 'samples');
  const work = mkdtempSync(join(tmpdir(), 'stipplor-browser-'));
  let browser;
  const close = async () => {
    await browser?.close();
    rmSync(work, { recursive: true, force: true });
  };
  try {
    browser = await Chromium.launch(viewport && { viewport });
  } catch (error) {
    await close();
    throw error;
  }
  return new Fidelity({ browser, encoder, samples, work, close });
}

export class Fidelity {
  constructor(parts) {
    Object.assign(this, parts, { pictures: new Map() });
  }

  // The sample `name` as the encoder gets it for a page of `cells` across at `size`: the BMP file
  // and its pixels, scaled down by area averaging.
  async picture(name, size, cells) {
    const key = `${name} ${size} ${cells}`;
    if (!this.pictures.has(key)) {
      const original = await this.browser.decodeFile(join(this.samples, name));
      const { width, height } = fitSize(original.width, original.height, cells * RATIO[size]);
      const rgb = downscale(original, width, height).data;
      const image = { width, height, data: Uint8Array.from({ length: width * height * 4 }, (_, i) => (i % 4 === 3 ? 255 : Math.round(rgb[(i >> 2) * 3 + (i % 4)]))) };
      const file = join(this.work, `${key.replace(/\W/g, '_')}.bmp`);
      writeFileSync(file, bmpBytes(image));
      this.pictures.set(key, { file, image });
    }
    return this.pictures.get(key);
  }

  // Encodes one page of the sample `name` with `cells` across and returns the page's file and the
  // picture.
  async encode(name, size, family, { cells = CELLS[family.startsWith('bw') ? 'text' : 'colour'] } = {}) {
    const { file, image } = await this.picture(name, size, cells);
    const page = join(this.work, `${name} ${size} ${family} ${cells}.html`.replace(/[^\w.]/g, '_'));
    const args = [...encoderOptions(size, family), file, '-o', page];
    execFileSync(this.encoder, args, { stdio: ['ignore', 'ignore', 'pipe'] });
    return { page, image };
  }

  // Encodes and renders one page. Returns its rendering, the part of the picture it encodes
  // (whole cells only) and its cells across and down.
  async render(name, size, family) {
    const { page, image } = await this.encode(name, size, family);
    const rendering = await this.browser.renderPage(page);
    const ratio = RATIO[size];
    const cells = { across: Math.floor(image.width / ratio), down: Math.floor(image.height / ratio) };
    return { rendering, encoded: crop(image, cells.across * ratio, cells.down * ratio), cells };
  }

  score(picture, rendering) {
    return score(picture, rendering, 128);
  }
}

// A measured value as the tables and messages show it.
export const fixed = (v) => (Number.isFinite(v) ? v.toFixed(3) : String(v));
