// The desktop program's own view as a second renderer: webengine_render (built with the program)
// hands each page to a result window offscreen, as a run does, and saves the view's grab.
import { execFile } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { promisify } from 'node:util';

// Renders `pages` (generated documents) in a view of `size` ({width, height}) and writes the
// grab of page i to pngs[i]. `probe`, a function without arguments, runs in each loaded page;
// its values are answered in the order of the pages.
export async function renderInWebEngine({ program, pages, pngs, size, probe }) {
  if (!program || !existsSync(program)) {
    throw new Error(`webengine_render not found (STIPPLOR_WEBENGINE_RENDER=${program ?? ''})`);
  }
  const folder = mkdtempSync(join(tmpdir(), 'stipplor-webengine-'));
  try {
    const script = join(folder, 'probe.js');
    writeFileSync(script, `(${probe})()`);
    const args = ['--size', `${size.width}x${size.height}`, '--script', script];
    pages.forEach((page, i) => args.push(page, pngs[i]));
    const { stdout } = await promisify(execFile)(program, args, {
      env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' },
      maxBuffer: 16 << 20,
    });
    const lines = stdout.trim().split('\n').map((line) => JSON.parse(line));
    if (lines.length !== pages.length) throw new Error(`webengine_render answered ${lines.length} of ${pages.length} pages`);
    return lines.map((line) => line.result);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

// Runs in the page: which font the pages' "Arial" really is. The advances of the pages' four
// characters at 2048 px, where they are the font's own design units (Arial's: 569 for "I", "."
// and a blank, 391 for "'"), and whether "Arial" draws exactly the pixels that "Liberation Sans"
// and "DejaVu Sans" (the fallback when no metric twin of Arial is installed) draw.
export function arialProbe() {
  const canvas = document.createElement('canvas');
  canvas.width = 480;
  canvas.height = 64;
  const ctx = canvas.getContext('2d', { willReadFrequently: true });
  const pixels = (family) => {
    ctx.clearRect(0, 0, canvas.width, canvas.height);
    ctx.font = `40px ${family}`;
    ctx.fillText("I.' Stipplor draws pictures", 4, 44);
    return ctx.getImageData(0, 0, canvas.width, canvas.height).data;
  };
  const same = (a, b) => a.every((v, i) => v === b[i]);
  const arial = pixels('Arial');
  ctx.font = '2048px Arial';
  const advances = Object.fromEntries(['I', '.', ' ', "'"].map((c) => [c, ctx.measureText(c).width]));
  return {
    advances,
    likeLiberationSans: same(arial, pixels('"Liberation Sans"')),
    likeDejaVuSans: same(arial, pixels('"DejaVu Sans"')),
  };
}
