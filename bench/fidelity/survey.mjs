// node survey.mjs [WORD ...]: the fidelity survey, a measurement (./dev.sh fidelity). Renders
// every sample at every size in every family, with and without the pixel font, in Chromium and
// prints one line of scores per page (see metrics.mjs): correlation and matched SSIM are what
// text pages are judged by, SSIM and PSNR colour pages. Only the pages whose name holds every
// WORD are measured, e.g. "1:1 smooth grey".
import { readdirSync } from 'node:fs';

import { fixed, openFidelity, RATIO } from './fidelity.mjs';

const families = [];
for (const style of ['plain', 'pattern', 'dotted', 'fractal']) {
  for (const colours of ['grey', 'colorized']) families.push(`bw ${style} ${colours}`, `bw ${style} ${colours} smooth`);
}
for (const quality of ['high', 'low']) families.push(`colored ${quality}`, `colored ${quality} minimize`);
const words = process.argv.slice(2);
const fidelity = await openFidelity();
try {
  const pictures = readdirSync(fidelity.samples).filter((name) => /\.(bmp|gif|jpe?g)$/i.test(name)).sort();
  console.log('picture size family: correlation, matched SSIM, SSIM, PSNR dB');
  for (const picture of pictures) {
    for (const size of Object.keys(RATIO)) {
      for (const family of families.flatMap((f) => [f, `${f} pixel`])) {
        const name = `${picture} ${size} ${family}`;
        if (!words.every((word) => name.split(' ').includes(word))) continue;
        const { rendering, encoded } = await fidelity.render(picture, size, family);
        const s = fidelity.score(encoded, rendering);
        console.log(`${name}: ${[s.correlation, s.matchedSsim, s.ssim, s.psnr].map(fixed).join(', ')}`);
      }
    }
  }
} finally {
  await fidelity.close();
}
