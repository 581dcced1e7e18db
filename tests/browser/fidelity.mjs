// One fidelity case from start to end: a sample picture, resized so that every page of its kind
// has the same number of cells across, is encoded by stipplor-encode and rendered by Chromium,
// and the drawn area is scored against the part of the picture the page encodes.
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

import { Chromium } from './chromium.mjs';
import { crop, score } from './metrics.mjs';
import { shrink, writeBmp } from './pictures.mjs';

// Cell edge in picture pixels for each size.
export const RATIO = { '1:2': 1, '1:1': 2, '3:2': 3, '2:1': 4 };

// Cells across the longest side of a page, and the size both images are scored at. A text page
// gets twice as many cells as it is scored at, so that each compared pixel averages about four
// characters; a colour page draws each cell flat (or nearly), needs less averaging, and costs
// Chromium far more per cell to lay out.
export const SCORED = 128;
const CELLS = { text: 2 * SCORED, colour: 160 };
const kind = (family) => (family.startsWith('bw') ? 'text' : 'colour');

// The command-line options for a family named by words: "bw <style> grey|colorized [smooth]" or
// "colored high|low [minimize]", either followed by "pixel" for the pixel font. Every option is
// given, so no default is relied on.
export function encoderOptions(size, family) {
  const words = family.split(' ');
  const has = (word) => words.includes(word);
  const font = has('pixel') ? ['--pixel-font'] : [];
  if (words[0] === 'bw') {
    const colours = has('colorized') ? '--colorized' : '--grey';
    return ['--size', size, '--bw', '--style', words[1], colours, has('smooth') ? '--smooth' : '--no-smooth', ...font];
  }
  if (words[0] === 'colored') {
    return ['--size', size, '--colored', '--quality', words[1], has('minimize') ? '--minimize' : '--no-minimize', ...font];
  }
  throw new Error(`unknown family "${family}"`);
}

// A Fidelity over a fresh scratch folder and a Chromium with this viewport, as the tests'
// environment names them (STIPPLOR_ENCODE, STIPPLOR_SAMPLES); its close() ends both.
export async function openFidelity(viewport) {
  const work = mkdtempSync(join(tmpdir(), 'stipplor-browser-'));
  const close = async (browser) => {
    await browser?.close();
    rmSync(work, { recursive: true, force: true });
  };
  let browser;
  try {
    browser = await Chromium.launch(viewport && { viewport });
    const samples = process.env.STIPPLOR_SAMPLES ?? join(dirname(fileURLToPath(import.meta.url)), '..', '..', 'samples');
    const fidelity = new Fidelity({ browser, encoder: process.env.STIPPLOR_ENCODE, samples, work });
    fidelity.close = () => close(browser);
    return fidelity;
  } catch (error) {
    await close(browser);
    throw error;
  }
}

export class Fidelity {
  // encoder: the stipplor-encode executable; samples: the folder of sample pictures;
  // work: a scratch folder for the resized pictures and the pages.
  constructor({ browser, encoder, samples, work }) {
    if (!encoder || !existsSync(encoder)) throw new Error(`stipplor-encode not found (STIPPLOR_ENCODE=${encoder ?? ''})`);
    Object.assign(this, { browser, encoder, samples, work });
    this.pictures = new Map();
  }

  // The sample `name` as the encoder gets it for a page of `cells` across at `size`: a BMP file
  // and its pixels.
  async picture(name, size, cells = CELLS.text) {
    const key = `${name} ${size} ${cells}`;
    if (!this.pictures.has(key)) {
      const original = await this.browser.decodeFile(join(this.samples, name));
      const image = shrink(original, cells * RATIO[size]);
      const file = join(this.work, `${key.replace(/\W/g, '_')}.bmp`);
      writeBmp(file, image);
      this.pictures.set(key, { file, image });
    }
    return this.pictures.get(key);
  }

  // Encodes one page of the sample `name` with `cells` across (the generated document itself
  // with `document`, else the saved-file form) and returns the page's file and the picture.
  async encode(name, size, family, { cells = CELLS[kind(family)], document = false } = {}) {
    const { file, image } = await this.picture(name, size, cells);
    const page = join(this.work, `${name} ${size} ${family} ${cells}.html`.replace(/[^\w.]/g, '_'));
    const args = [...encoderOptions(size, family), ...(document ? ['--document'] : []), file, '-o', page];
    execFileSync(this.encoder, args, { stdio: ['ignore', 'ignore', 'pipe'] });
    return { page, image };
  }

  // Encodes and renders one page. Returns the page's file, its rendering, the part of the
  // picture it encodes (whole cells only) and its cells across and down.
  async render(name, size, family) {
    const { page, image } = await this.encode(name, size, family);
    const rendering = await this.browser.renderPage(page);
    const ratio = RATIO[size];
    const cells = { across: Math.floor(image.width / ratio), down: Math.floor(image.height / ratio) };
    return { page, rendering, encoded: crop(image, cells.across * ratio, cells.down * ratio), cells };
  }

  score(picture, rendering) {
    return score(picture, rendering, { longest: SCORED });
  }
}

// A measured value as the tables and messages show it.
export const fixed = (v) => (Number.isFinite(v) ? v.toFixed(3) : String(v));
