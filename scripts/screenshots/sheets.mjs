// node sheets.mjs STIPPLOR_ENCODE OUT_DIR [NAME...]
//
// The README's pictures of pages, as full-colour PNGs in OUT_DIR (./dev.sh screenshots shrinks
// them for docs/images): for each sample picture a contact sheet, the picture beside its page in
// the main styles, and for each option a strip comparing its choices. The pages come from
// stipplor-encode and are drawn by Debian's Chromium, exactly as the browser tests see them
// (tests/browser); the sheets are laid out as pages and photographed by Chromium too. Given NAMEs
// ("sheet-rocket", "option-pixel-font"), only those pictures are made.
import { execFileSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

import { Chromium } from '../../bench/fidelity/chromium.mjs';
import { encoderOptions, Fidelity, RATIO } from '../../bench/fidelity/fidelity.mjs';
import { crop } from '../../bench/fidelity/metrics.mjs';
import { bmpBytes } from '../../bench/fidelity/pictures.mjs';

const SAMPLES = ['astronaut.jpg', 'chelsea.bmp', 'rocket.gif', 'hubble.jpg'];

// The styles of a contact sheet: family (as the browser tests name them) and caption.
const SHEET_STYLES = [
  ['colored high minimize', 'Colored, higher quality'],
  ['colored low minimize', 'Colored, lower quality'],
  ['bw plain grey', 'B&W Plain'],
  ['bw pattern grey', 'B&W Pattern'],
  ['bw dotted grey', 'B&W Dotted'],
  ['bw fractal grey', 'B&W Fractal'],
  ['bw plain colorized smooth', 'B&W Plain, Colorized, Smooth'],
];

// Longest side of a contact sheet's picture; its pages are encoded at "1:1", where a page is as
// large as its picture (a text page narrower: its 3-px glyphs advance 0.83 px, not 1 px).
const SHEET_SIDE = 176;

// One strip per option. A detail ({x, y} the centre as a share of the drawn area, width and
// height in page pixels, zoom) shows the characters or cells enlarged; without one the whole page
// is shown as drawn. `bytes` adds the page's size to each caption.
const OPTIONS = [
  {
    name: 'size', picture: 'chelsea.bmp', side: 120, choices: [
      ['1:2', 'colored high minimize', '1:2 (Large)'],
      ['1:1', 'colored high minimize', '1:1 (Normal)'],
      ['3:2', 'colored high minimize', '3:2 (Small)'],
      ['2:1', 'colored high minimize', '2:1 (Tiny)'],
    ],
  },
  {
    name: 'bw-style', picture: 'chelsea.bmp', side: 300, detail: { x: 0.55, y: 0.45, width: 96, height: 72, zoom: 2 },
    choices: [
      ['1:1', 'bw plain grey', 'Plain'],
      ['1:1', 'bw pattern grey', 'Pattern'],
      ['1:1', 'bw dotted grey', 'Dotted'],
      ['1:1', 'bw fractal grey', 'Fractal'],
    ],
  },
  {
    name: 'colorized', picture: 'rocket.gif', side: 240, choices: [
      ['1:1', 'bw plain grey', 'Grey'],
      ['1:1', 'bw plain colorized', 'Colorized'],
    ],
  },
  {
    name: 'smooth', picture: 'astronaut.jpg', side: 300, detail: { x: 0.45, y: 0.3, width: 120, height: 90, zoom: 2 },
    choices: [
      ['1:1', 'bw plain grey', 'Smooth Transition off'],
      ['1:1', 'bw plain grey smooth', 'Smooth Transition on'],
    ],
  },
  {
    name: 'quality', picture: 'rocket.gif', side: 300, detail: { x: 0.5, y: 0.45, width: 64, height: 48, zoom: 4 },
    choices: [
      ['1:1', 'colored low minimize', 'Lower Quality'],
      ['1:1', 'colored high minimize', 'Higher Quality'],
    ],
  },
  {
    name: 'minimize', picture: 'astronaut.jpg', side: 150, bytes: true, choices: [
      ['1:1', 'colored high', 'Minimize Size off'],
      ['1:1', 'colored high minimize', 'Minimize Size on'],
    ],
  },
  {
    name: 'pixel-font', picture: 'chelsea.bmp', side: 240, choices: [
      ['1:1', 'bw dotted grey smooth', 'B&W Dotted'],
      ['1:1', 'bw dotted grey smooth pixel', 'B&W Dotted, Pixel Font'],
      ['1:1', 'colored high minimize', 'Higher Quality'],
      ['1:1', 'colored high minimize pixel', 'Higher Quality, Pixel Font'],
    ],
  },
];

const escape = (text) => text.replace(/&/g, '&amp;').replace(/</g, '&lt;');
const dataUrl = (image) => `data:image/bmp;base64,${bmpBytes(image).toString('base64')}`;

// Lays the tiles ({image, caption, zoom}) out in `columns` columns and photographs the sheet.
async function photograph(browser, tiles, columns, file) {
  const figures = tiles.map(({ image, caption, zoom = 1 }) => `<figure>
    <img src="${dataUrl(image)}" width=${image.width * zoom} height=${image.height * zoom}>
    <figcaption>${escape(caption)}</figcaption></figure>`);
  const page = browser.renderer;
  await page.setContent(`<!DOCTYPE html><html><head><style>
    body { margin: 0; background: #fff; }
    #sheet { display: inline-grid; grid-template-columns: repeat(${columns}, auto); gap: 10px 14px;
             padding: 10px; align-items: end; font: 13px "Liberation Sans", sans-serif; color: #222; }
    figure { margin: 0; text-align: center; }
    img { display: block; margin: 0 auto 4px; image-rendering: pixelated; }
  </style></head><body><div id=sheet>${figures.join('')}</div></body></html>`);
  await page.locator('#sheet').screenshot({ path: file });
}

async function main([encoder, out, ...names]) {
  if (!encoder || !out) throw new Error('usage: node sheets.mjs STIPPLOR_ENCODE OUT_DIR [NAME...]');
  const wanted = (name) => names.length === 0 || names.includes(name);
  mkdirSync(out, { recursive: true });
  const work = mkdtempSync(join(tmpdir(), 'stipplor-sheets-'));
  const here = dirname(fileURLToPath(import.meta.url));
  const browser = await Chromium.launch({ viewport: { width: 1400, height: 1000 } });
  try {
    const fidelity = new Fidelity({ browser, encoder, samples: join(here, '..', '..', 'samples'), work });
    // A page of the sample shrunk to `side`, encoded at `size`: its drawn area and its bytes.
    const render = async (picture, side, size, family) => {
      const { file, image } = await fidelity.picture(picture, size, Math.floor(side / RATIO[size]));
      const page = join(work, `${picture} ${side} ${size} ${family}.html`.replace(/[^\w.]/g, '_'));
      execFileSync(encoder, [...encoderOptions(size, family), file, '-o', page]);
      return { image, rendering: await browser.renderPage(page), bytes: statSync(page).size };
    };

    for (const picture of SAMPLES.filter((p) => wanted(`sheet-${p.replace(/\..*/, '')}`))) {
      const tiles = [];
      for (const [family, caption] of SHEET_STYLES) {
        const { image, rendering } = await render(picture, SHEET_SIDE, '1:1', family);
        if (tiles.length === 0) tiles.push({ image, caption: `The picture (${picture})` });
        tiles.push({ image: rendering, caption });
      }
      await photograph(browser, tiles, 4, join(out, `sheet-${picture.replace(/\..*/, '')}.png`));
    }

    for (const { name, picture, side, detail, bytes, choices } of OPTIONS.filter((o) => wanted(`option-${o.name}`))) {
      const tiles = [];
      for (const [size, family, caption] of choices) {
        const { rendering, bytes: size_ } = await render(picture, side, size, family);
        let image = rendering;
        if (detail) {
          const x = Math.round(detail.x * rendering.width - detail.width / 2);
          const y = Math.round(detail.y * rendering.height - detail.height / 2);
          image = crop(rendering, detail.width, detail.height, x, y);
        }
        const label = bytes ? `${caption}: ${Math.round(size_ / 1024)} KB` : caption;
        tiles.push({ image, caption: label, zoom: detail?.zoom });
      }
      await photograph(browser, tiles, tiles.length, join(out, `option-${name}.png`));
    }
  } finally {
    await browser.close();
    rmSync(work, { recursive: true, force: true });
  }
}

await main(process.argv.slice(2));
