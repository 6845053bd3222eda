// The sheets printed for real: each layout's page count on A4, every upside-down cell turned
// by 180 degrees and no other, and the declared charset honoured, in headless Chromium.
//
// usage: node print_test.mjs TOOL
// Exits 77 (skipped) where Chromium or playwright-core is missing, except under CI.
import { launchChromium, writeSheet, pdfPageCount, A4 } from './sheets.mjs';
import { pathToFileURL } from 'node:url';
import encodeWindows1250 from './windows1250.mjs';

const SKIPPED = 77;
const tool = process.argv[2];

const TEN_NAMES = ['Anna=Novák', 'Bohdan Sedlák', 'Cyril=Hájek', 'Dana Malá', 'Emil=Král',
  'Františka Veselá', 'Gustav=Černý', 'Hana Horáková', 'Ivo=Němec', 'Jarmila Marková'];

const LAYOUTS = [
  { settings: '4=UTF-8', pages: 10 },
  { settings: '2=UTF-8', pages: 9 },
  { settings: '6=UTF-8', pages: 3 },
];

const failures = [];
function check(holds, what) {
  if (!holds) failures.push(what);
}

// A list, with its settings line first unless that is null.
function listOf(settingsLine, names) {
  const lines = settingsLine === null ? names : [settingsLine, ...names];
  return lines.map((line) => line + '\r\n').join('');
}

// The rendered text of each cell: "=" became a line break.
function shownAs(name) {
  return name.replace('=', '\n');
}

// rotate(-180deg) computes to a matrix with -1 on its diagonal.
function isTurnedOver(transform) {
  const matrix = /^matrix\(([^)]*)\)$/.exec(transform);
  if (!matrix) return false;
  const [a, b, c, d] = matrix[1].split(',').map(Number);
  const near = (x, y) => Math.abs(x - y) < 1e-6;
  return near(a, -1) && near(b, 0) && near(c, 0) && near(d, -1);
}

async function cellsOf(page) {
  return page.$$eval('th', (cells) => cells.map((cell) => ({
    upsideDown: cell.classList.contains('otoc'),
    transform: getComputedStyle(cell).transform,
    text: cell.innerText,
  })));
}

async function checkLayout(browser, layout) {
  const sheet = writeSheet(tool, Buffer.from(listOf(layout.settings, TEN_NAMES), 'utf8'));
  const page = await browser.newPage();
  await page.goto(pathToFileURL(sheet).href);
  const pages = pdfPageCount(await page.pdf(A4));
  check(pages === layout.pages, `${layout.settings}: ${pages} pages, expected ${layout.pages}`);

  const cells = await cellsOf(page);
  const upsideDown = cells.filter((cell) => cell.upsideDown);
  check(upsideDown.length === TEN_NAMES.length,
    `${layout.settings}: ${upsideDown.length} upside-down cells, expected ${TEN_NAMES.length}`);
  for (const cell of cells) {
    const turned = isTurnedOver(cell.transform);
    check(turned === cell.upsideDown,
      `${layout.settings}: cell "${cell.text}" has transform ${cell.transform}`);
  }
  await page.close();
}

async function checkCharset(browser, settingsLine, encode) {
  const names = ['Žofie Šťastná', 'Jiří=Nováček', 'Ludmila=Dvořáková', 'Čeněk Řehoř'];
  const sheet = writeSheet(tool, encode(listOf(settingsLine, names)));
  const page = await browser.newPage();
  await page.goto(pathToFileURL(sheet).href);
  const upright = (await cellsOf(page)).filter((cell) => !cell.upsideDown && cell.text.trim());
  const shown = upright.map((cell) => cell.text);
  const expected = names.map(shownAs);
  check(JSON.stringify(shown) === JSON.stringify(expected),
    `${settingsLine}: cells read ${JSON.stringify(shown)}, expected ${JSON.stringify(expected)}`);
  await page.close();
}

const browser = await launchChromium();
if (!browser) {
  console.log('skipped: Chromium (/usr/bin/chromium) or playwright-core (npm ci) is missing');
  process.exit(process.env.CI === 'true' ? 1 : SKIPPED);
}
try {
  for (const layout of LAYOUTS) await checkLayout(browser, layout);
  await checkCharset(browser, '4=UTF-8', (text) => Buffer.from(text, 'utf8'));
  await checkCharset(browser, '4=WINDOWS-1250', encodeWindows1250);
  await checkCharset(browser, null, encodeWindows1250);
} finally {
  await browser.close();
}
for (const failure of failures) console.log(`FAILED: ${failure}`);
console.log(`print: ${failures.length === 0 ? 'all checks passed' : failures.length + ' failed'}`);
process.exit(failures.length === 0 ? 0 : 1);
