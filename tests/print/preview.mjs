// Renders the first printed page of each layout, made from the example list, to docs/; and,
// where the browser page is given, pictures of it in docs/screenshots/: a new user's first
// minute (five names typed, and a spreadsheet's mapping step) at 1280 and 390 px wide in
// English and Czech, and each of its languages with a list of three mistakes.
//
// usage: node tests/print/preview.mjs [TOOL [PAGE]]  (TOOL defaults to build/korvela)
// Needs Chromium, this folder's packages (npm ci) and poppler-utils (pdftoppm).
import { execFileSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { launch, writeSheet, pdfOptions } from './sheets.mjs';
import encodeWindows1250 from './windows1250.mjs';

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

// The page given a list (a file, or text typed into the box), pictured as a user sees it.
async function picturePage(file, width, list, { language = 'en', name = 'list.txt', typed = false } = {}) {
  const page = await browser.newPage();
  await page.setViewport({ width, height: 900 });
  await page.evaluateOnNewDocument((tag) => {
    Object.defineProperty(navigator, 'languages', { get: () => [tag] });
    localStorage.clear();
  }, language);
  await page.goto(pathToFileURL(resolve(process.argv[3])).href);
  await page.waitForFunction(() => document.body.dataset.state === 'ready');
  await page.evaluate(() => { document.body.dataset.state = 'moving'; });
  if (typed) {
    await page.evaluate((text) => {
      const box = document.getElementById('names');
      box.value = text;
      box.dispatchEvent(new Event('input'));
    }, list);
  } else {
    writeFileSync(join(scratch, name), list);
    await (await page.$('#file')).uploadFile(join(scratch, name));
  }
  await page.waitForFunction(() => document.body.dataset.state === 'ready');
  const path = join(root, 'docs', 'screenshots', file);
  await page.screenshot({ path, type: 'jpeg', quality: 70, fullPage: true });
  await page.close();
  console.log(`docs/screenshots/${file}`);
}

if (process.argv[3]) {
  mkdirSync(join(root, 'docs', 'screenshots'), { recursive: true });
  const typed = 'Anna Nováková\nŽofie Šťastná=ACME s.r.o.\nJiří Dvořák\nÉva Szőke\nŁucja Wiśniewska\n';
  const guests = readFileSync(join(root, 'tests', 'workbooks', 'guests.xlsx'));
  for (const language of ['en', 'cs']) {
    const suffix = language === 'en' ? '' : `-${language}`;
    await picturePage(`page-1280${suffix}.jpg`, 1280, typed, { language, typed: true });
    await picturePage(`page-390${suffix}.jpg`, 390, guests, { language, name: 'guests.xlsx' });
  }
  // Three mistakes: a name taken for the settings line, an empty line, markup in a name; saved
  // in windows-1250, which needs no settings line.
  const mistaken = encodeWindows1250('Jana=Nováková\r\nPetr Dvořák\r\n\r\nJan <Honza> Novák\r\nAnna Malá\r\n');
  for (const language of ['en', 'cs', 'sk', 'pl', 'hu', 'de']) {
    await picturePage(`page-${language}.jpg`, 1280, mistaken, { language });
  }
}
await browser.close();
