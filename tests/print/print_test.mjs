// The sheets printed for real, in one engine: with the print settings the user's guide gives
// for A4 and for US Letter, ten names print on the pages the guide promises, every page holding
// its tags whole (no page is a sliver of a table's edge); a tag as long as the guide says fits
// keeps the pages, and a longer one costs the page it warns of; every upside-down cell is
// turned by 180 degrees and no other; and the declared charset shows the names as they were
// saved. The sheet is set in Liberation Serif, with the letter widths of Windows' Times New Roman.
// The check's long-name warning holds for a few hundred generated names what the browser does
// with each: it warns of nearly every tag that grows, and of few others.
//
// usage: node print_test.mjs ENGINE TOOL VERDICTS  (ENGINE: chromium, firefox or webkit;
//        VERDICTS: the check's verdict on names, tests/tag_fit_verdicts)
// Exits 77 (skipped) where the browser, puppeteer-core or poppler is missing, except under CI.
import { execFileSync } from 'node:child_process';
import { pathToFileURL } from 'node:url';
import {
  launchOrSkip, checks, writeSheet, pdfOptions, pageTexts, setInTimesWidths, BROWSERS,
  generatedNames,
} from './sheets.mjs';
import encodeWindows1250 from './windows1250.mjs';

const [engine, tool, verdicts] = process.argv.slice(2);
if (!BROWSERS[engine] || !tool || !verdicts) {
  console.log('usage: node print_test.mjs chromium|firefox|webkit TOOL VERDICTS');
  process.exit(2);
}

// The guide's print settings (docs/guide.md), setting for setting: margins as the dialog's
// default has them.
const GUIDE = {
  chromium: [
    { paper: 'A4', margin: '1cm', scale: 0.99 },
    { paper: 'Letter', margin: '1cm', scale: 0.9 },
  ],
  firefox: [
    { paper: 'A4', margin: '0.5in', fitToPageWidth: true },
    { paper: 'Letter', margin: '0.5in', scale: 0.9 },
  ],
  // Safari's engine fits the sheet to the paper's width by itself, at 100%. With side margins
  // of an inch it prints smaller, and a table leaves the first page of two columns only at a
  // tag of six lines.
  webkit: [
    { paper: 'A4' },
    { paper: 'Letter', sides: '1in', spills: { '6=UTF-8': 6 } },
  ],
};
// What the guide warns of, where it warns of it: more pages than it promises.
const WARNED = {
  webkit: { paper: 'Letter' },
};

const TEN_NAMES = ['Anna=Novák', 'Bohdan Sedlák', 'Cyril=Hájek', 'Dana Malá', 'Emil=Král',
  'Františka Veselá', 'Gustav=Černý', 'Hana Horáková', 'Ivo=Němec', 'Jarmila Marková'];

// Which names each printed page holds: one tag a page, after the first page's share. The
// limits the guide states: the letters a line holds (a name in Liberation Serif, which has
// Times New Roman's widths), the lines a tag holds, and the lines at which one tag costs a page.
const LAYOUTS = [
  { settings: '4=UTF-8', pages: [[1], [2], [3], [4], [5], [6], [7], [8], [9], [10]],
    letters: 16, fits: 2, spills: 4 },
  { settings: '2=UTF-8', pages: [[1, 2], [3], [4], [5], [6], [7], [8], [9], [10]],
    letters: 16, fits: 2, spills: 4 },
  { settings: '6=UTF-8', pages: [[1, 2, 3, 4, 5, 6], [7, 8], [9, 10]],
    letters: 18, fits: 3, spills: 5 },
];
// Lines as long as a name gets: wide Czech names of 16 and of 18 letters, spaces included.
const FULL_LINES = {
  16: ['Magdaléna Kučera', 'Jaroslav Hájková', 'Kateřina Fialová', 'Radoslav Hájková',
       'Dobroslava Němec'],
  18: ['Magdaléna Marešová', 'Kateřina Dvořáková', 'Vlastimil Horáková', 'Jaroslav Procházka',
       'Miroslava Kučerová', 'Jaroslava Vondrová'],
};

const checker = checks(`print.${engine}`);
const { check, finish } = checker;

// A list, with its settings line first unless that is null.
function listOf(settingsLine, names) {
  const lines = settingsLine === null ? names : [settingsLine, ...names];
  return lines.map((line) => line + '\r\n').join('');
}

// The lines a name prints as: "=" became a line break.
function linesOf(name) {
  return name.split('=', 2);
}

// rotate(-180deg) computes to a matrix with -1 on its diagonal.
function isTurnedOver(transform) {
  const matrix = /^matrix\(([^)]*)\)$/.exec(transform);
  if (!matrix) return false;
  const [a, b, c, d] = matrix[1].split(',').map(Number);
  const near = (x, y) => Math.abs(x - y) < 1e-6;
  return near(a, -1) && near(b, 0) && near(c, 0) && near(d, -1);
}

async function open(browser, sheet) {
  const page = await browser.newPage();
  await page.goto(pathToFileURL(sheet).href);
  return page;
}

async function cellsOf(page) {
  return page.$$eval('th', (cells) => cells.map((cell) => ({
    upsideDown: cell.classList.contains('otoc'),
    transform: getComputedStyle(cell).transform,
    text: cell.innerText,
    // A wrapped text has a box on each line it takes.
    lines: new Set([...cell.childNodes].filter((node) => node.nodeType === Node.TEXT_NODE)
      .flatMap((text) => {
        const range = document.createRange();
        range.selectNodeContents(text);
        return [...range.getClientRects()].map((box) => Math.round(box.top));
      })).size,
  })));
}

function checkPages(texts, layout, setting) {
  const what = `${layout.settings} on ${setting.paper}`;
  console.log(`${what} (${JSON.stringify(setting)}): ${texts.length} pages`);
  check(texts.length === layout.pages.length,
    `${what}: ${texts.length} pages, expected ${layout.pages.length}`);
  texts.forEach((text, at) => {
    // A long name wraps inside its cell, so the page is read word by word.
    const expected = (layout.pages[at] || []).flatMap((n) => TEN_NAMES[n - 1].split(/[= ]/));
    const words = new Set(text.split(/\s+/).filter(Boolean));
    // A sliver, the edge of a table cut off from its page, holds no name at all.
    check(words.size > 0, `${what}: page ${at + 1} is a sliver, with no name on it`);
    for (const word of expected) {
      check(words.has(word), `${what}: page ${at + 1} lacks "${word}"`);
    }
  });
}

async function checkLayout(browser, layout) {
  const sheet = writeSheet(tool, Buffer.from(listOf(layout.settings, TEN_NAMES), 'utf8'));
  const page = await open(browser, sheet);
  for (const setting of GUIDE[engine]) {
    checkPages(pageTexts(await page.pdf(pdfOptions(setting))), layout, setting);
  }
  if (WARNED[engine]) {
    const count = pageTexts(await page.pdf(pdfOptions(WARNED[engine]))).length;
    console.log(`${layout.settings} on ${JSON.stringify(WARNED[engine])}: ${count} pages`);
    check(count > layout.pages.length,
      `${layout.settings}: ${count} pages where the guide warns of more than ${layout.pages.length}`);
  }
  const cells = await cellsOf(page);
  const upsideDown = cells.filter((cell) => cell.upsideDown);
  check(upsideDown.length === TEN_NAMES.length,
    `${layout.settings}: ${upsideDown.length} upside-down cells, expected ${TEN_NAMES.length}`);
  for (const cell of cells) {
    check(isTurnedOver(cell.transform) === cell.upsideDown,
      `${layout.settings}: cell "${cell.text}" has transform ${cell.transform}`);
  }
  await page.close();
}

// The first of the ten names made a tag of full lines, broken by "=" and then wrapped at its
// spaces: it prints on as many lines, and the sheet on as many pages, as the guide says.
async function checkLongTag(browser, layout, lineCount, pages, settings = GUIDE[engine]) {
  const lines = FULL_LINES[layout.letters].slice(0, lineCount);
  const tag = lines[0] + '=' + lines.slice(1).join(' ');
  const list = listOf(layout.settings, [tag, ...TEN_NAMES.slice(1)]);
  const page = await open(browser, writeSheet(tool, Buffer.from(list, 'utf8')));
  const printed = (await cellsOf(page)).find((cell) => !cell.upsideDown && cell.text.trim());
  const what = `${layout.settings}, a tag of ${lineCount} lines of ${layout.letters} letters`;
  check(printed.lines === lineCount, `${what}: prints on ${printed.lines} lines`);
  for (const setting of settings) {
    const count = pageTexts(await page.pdf(pdfOptions(setting))).length;
    check(count === pages, `${what} on ${setting.paper}: ${count} pages, expected ${pages}`);
  }
  await page.close();
}

// The names saved in one charset, the sheet declaring another or the same: the upright cells
// must read as the declared charset decodes the saved bytes.
async function checkCharset(browser, settingsLine, encode, shownAs = (name) => name) {
  const names = ['Žofie Šťastná', 'Jiří=Nováček', 'Ludmila=Dvořáková', 'Čeněk Řehoř'];
  const page = await open(browser, writeSheet(tool, encode(listOf(settingsLine, names))));
  const upright = (await cellsOf(page)).filter((cell) => !cell.upsideDown && cell.text.trim());
  const shown = upright.map((cell) => cell.text.split('\n').map((line) => line.trim()));
  const expected = names.map((name) => linesOf(shownAs(name)));
  check(JSON.stringify(shown) === JSON.stringify(expected),
    `${settingsLine}: cells read ${JSON.stringify(shown)}, expected ${JSON.stringify(expected)}`);
  await page.close();
}

const GENERATED = generatedNames(600, 1);
// What the guide promises of the warning: nearly every tag that grows, and few others.
const WARNED_LEAST = 0.98;
const FALSE_ALARMS_MOST = 0.01;

// Each tag laid out in the sheet, and whether it grew taller than its cell or wider than its
// table; in two columns, each pair.
async function tagsGrown(browser, layout) {
  const settings = `${layout === 1 ? 4 : layout}=UTF-8`;
  const page = await open(browser, writeSheet(tool, utf8(listOf(settings, GENERATED))));
  const grown = await page.$$eval('table', (tables, paired) => {
    const upright = paired ? tables.map((table) => table.rows[1].cells[0])
      : tables.map((table) => table.rows[0].cells[0]).filter((cell) => !cell.classList.contains('otoc') &&
        cell.innerHTML !== '&nbsp;');
    return upright.map((cell) => cell.getBoundingClientRect().height > (paired ? 161.5 : 236.5) ||
      cell.closest('table').getBoundingClientRect().width > 720.5);
  }, layout === 6);
  await page.close();
  return grown;
}

// The cell a name is laid out in, as the check takes it (src/check/tag_fit.cpp): what a line
// may fill, and the cell's height, in layouts 1 and 6.
const CELLS = { '4=UTF-8': { width: 708, height: 236 }, '6=UTF-8': { width: 352, height: 161 } };

async function checkCells(browser) {
  for (const [settings, cell] of Object.entries(CELLS)) {
    const page = await open(browser, writeSheet(tool, utf8(listOf(settings, ['Anna', 'Bob']))));
    const measured = await page.$eval('th:not(.otoc)', (th) => {
      const style = getComputedStyle(th);
      return { width: th.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight),
        height: th.getBoundingClientRect().height };
    });
    console.log(`${settings}: a line fills ${measured.width} px of a cell ${measured.height} px high`);
    check(Math.abs(measured.width - cell.width) < 0.5 && Math.abs(measured.height - cell.height) < 0.5,
      `${settings}: a cell of ${JSON.stringify(measured)}, the check takes ${JSON.stringify(cell)}`);
    await page.close();
  }
}

async function checkNameVerdicts(browser) {
  await checkCells(browser);
  for (const layout of [1, 2, 6]) {
    const warned = execFileSync(verdicts, [String(layout)], { input: GENERATED.join('\n') + '\n' })
      .toString().trim().split('\n').map((line) => line.endsWith(' 1'));
    const grown = await tagsGrown(browser, layout);
    // A pair grows when either of its tags does.
    const warnedOf = layout === 6 ? grown.map((_, pair) => warned[2 * pair] || !!warned[2 * pair + 1])
      : warned;
    const growing = grown.filter(Boolean).length;
    const caught = grown.filter((grew, at) => grew && warnedOf[at]).length;
    const alarms = grown.filter((grew, at) => !grew && warnedOf[at]).length;
    console.log(`layout ${layout}: ${caught} of ${growing} tags that grow warned of, ` +
      `${alarms} false alarms in ${grown.length} ${layout === 6 ? 'pairs' : 'names'}`);
    check(caught >= WARNED_LEAST * growing, `layout ${layout}: ${caught} of ${growing} warned of`);
    check(alarms <= FALSE_ALARMS_MOST * grown.length, `layout ${layout}: ${alarms} false alarms`);
  }
}

const utf8 = (text) => Buffer.from(text, 'utf8');
// A UTF-8 list without a settings line, as Notepad saves it: read as windows-1250.
const misread = (name) => new TextDecoder('windows-1250').decode(utf8(name));

const browser = await launchOrSkip(engine);
try {
  const probe = await open(browser, writeSheet(tool, Buffer.from(listOf(null, TEN_NAMES))));
  // Any other font would prove the limits for letters of other widths.
  check(await setInTimesWidths(probe), 'the sheet is not set in Liberation Serif');
  await probe.close();
  for (const layout of checker.failed ? [] : LAYOUTS) {
    await checkLayout(browser, layout);
    await checkLongTag(browser, layout, layout.fits, layout.pages.length);
    for (const setting of GUIDE[engine]) {
      const spills = (setting.spills || {})[layout.settings] || layout.spills;
      await checkLongTag(browser, layout, spills, layout.pages.length + 1, [setting]);
    }
  }
  await checkCharset(browser, '4=UTF-8', utf8);
  await checkCharset(browser, '4=WINDOWS-1250', encodeWindows1250);
  await checkCharset(browser, null, encodeWindows1250);
  await checkCharset(browser, null, utf8, misread);
  await checkNameVerdicts(browser);
} finally {
  await browser.close();
}
finish();
