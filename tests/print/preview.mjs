// Renders the first printed page of each layout, made from the example list, to docs/.
//
// usage: node tests/print/preview.mjs [TOOL]   (TOOL defaults to build/korvela)
// Needs Chromium, this folder's packages (npm ci) and poppler-utils (pdftoppm).
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { launch, writeSheet, pdfOptions } from './sheets.mjs';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '..', '..');
const tool = resolve(process.argv[2] || join(root, 'build', 'korvela'));
const example = readFileSync(join(root, 'examples', 'Korvela.txt'));

// The example list starts with its own settings line: each layout replaces it.
const names = example.subarray(example.indexOf('\n') + 1);
const LAYOUTS = [['layout-1', '4=UTF-8'], ['layout-2', '2=UTF-8'], ['layout-6', '6=UTF-8']];

const browser = await launch('chromium');
if (!browser) {
  console.error('Chromium (/usr/bin/chromium), puppeteer-core (npm ci) or poppler-utils is missing');
  process.exit(1);
}
const scratch = mkdtempSync(join(tmpdir(), 'korvela-preview-'));
for (const [name, settingsLine] of LAYOUTS) {
  const sheet = writeSheet(tool, Buffer.concat([Buffer.from(settingsLine + '\r\n'), names]));
  const page = await browser.newPage();
  await page.goto(pathToFileURL(sheet).href);
  const pdf = join(scratch, `${name}.pdf`);
  writeFileSync(pdf, await page.pdf(pdfOptions({ paper: 'A4', margin: '1cm', scale: 0.99 })));
  await page.close();
  execFileSync('pdftoppm', ['-f', '1', '-l', '1', '-r', '48', '-png', '-singlefile', pdf,
                            join(root, 'docs', name)]);
  console.log(`docs/${name}.png`);
}
await browser.close();
