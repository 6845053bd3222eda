// The page's print, printed for real at the engine's own settings (Chrome's margins are the
// page's own; Firefox's half an inch where a page names none; Safari's the paper's), on A4 and
// on Letter: the pages the summary counts, filled or as the downloaded sheet has them, grown
// tags included, and every right border whole. The summary counts Chrome's and Firefox's
// pages; WebKit prints a tenth larger, and where tags grow its pages are reported, not held to
// the summary. Each name fitted to its tag: long names in each layout, none of whose tags
// grows, none set under half the layout's size unless the summary says it does not fit, each
// within an eighth of the largest size that fits it; a registration export in two columns on
// Letter, no page holding part of a tag. A long list's print prepared without holding the page
// (the times reported).
import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import {
  borderRuns, generatedNames, longestTask, pageTexts, pdfOptions, watchTasks,
} from '../sheets.mjs';
import { choose, mistakesShown, moving, names, printed, settled, writeScratch } from '../page_driver.mjs';

const ENGINE_DEFAULTS = {
  chromium: {}, firefox: { margin: '0.5in', fitToPageWidth: true }, webkit: {},
};
const TEN = 'Anna=Novák\r\nBohdan Sedlák\r\nCyril=Hájek\r\nDana Malá\r\nEmil=Král\r\n' +
  'Františka Veselá\r\nGustav=Černý\r\nHana Horáková\r\nIvo=Němec\r\nJarmila Marková';
// Thirty guests of a conference, six of them with names or organisations that make their
// tag grow.
const GROWN = ['Ing. Marie Dvořáková=Vysoká škola chemicko-technologická',
  'Prof. Jan Nepomuk Procházka=Ústav organické chemie a biochemie AV ČR',
  'Kristýna Schwarzenbergová=Ministerstvo průmyslu a obchodu České republiky'];
const THIRTY = Array.from({ length: 30 }, (_, at) => (at % 5 === 2 ? GROWN[at % 3]
  : `Host ${at + 1}=Firma ${at + 1}`)).join('\r\n');

// The pages the summary counts, on A4 and on Letter.
async function summaryPages(page) {
  const said = await page.$eval('#summary', (summary) => summary.textContent);
  const papers = / on (\d+) pages? of A4, or (\d+) pages? of US Letter/.exec(said);
  const both = / on (\d+) pages?\./.exec(said);
  return papers ? [Number(papers[1]), Number(papers[2])] : [Number(both[1]), Number(both[1])];
}

// Each layout printed filled and as the sheet, its names fitted to their tags or (fit false)
// as the tool's sheet sets them.
async function printCases(page, check, list, called, fit = true) {
  const cases = [];
  for (const layout of ['4', '2', '6']) {
    for (const fill of [true, false]) {
      await choose(page, check, `${layout}=UTF-8\r\n${list}\r\n`);
      await moving(page);
      // A box clicked checks the list again; none clicked, the page stays as it was.
      await page.evaluate((filled, fitted) => {
        const boxes = [['print-fill', filled], ['print-fit', fitted]]
          .map(([id, on]) => [document.getElementById(id), on]).filter(([box, on]) => box.checked !== on);
        for (const [box] of boxes) box.click();
        if (boxes.length === 0) document.body.dataset.state = 'ready';
      }, fill, fit);
      await settled(page, check);
      const document = await printed(page);
      cases.push({ name: `${called}, ${layout}= ${fill ? 'filled' : 'as the sheet'}`,
        pages: await summaryPages(page), file: writeScratch(`print-${called}-${layout}-${fill}.html`, document) });
    }
  }
  return cases;
}

const LONG_NAMES = generatedNames(120, 7).join('\r\n');
const REGISTRATION = readFileSync(join(dirname(fileURLToPath(import.meta.url)), '..', '..',
  'workbooks', 'registration-export.xlsx'));

// Each name cell of a print fitted: grown past its panel, set under half the layout's size,
// or set more than an eighth smaller than it could be; the names warned of are let be.
function fittedCells(paired, warned) {
  const [top, height] = paired ? [36, 161.5] : [80, 236.5];
  const outgrows = (cell) => cell.getBoundingClientRect().height > height ||
    cell.closest('table').getBoundingClientRect().width > 720.5;
  const found = { cells: 0, grown: [], under: [], loose: [] };
  for (const cell of document.querySelectorAll('th:not(.otoc)')) {
    const block = cell.firstElementChild;
    if (!block) continue;
    const [size, second] = [block, block.querySelector('div')].map((element) =>
      element && parseFloat(element.style.fontSize));
    const name = cell.textContent;
    found.cells += 1;
    if (warned.some((part) => name.includes(part))) continue;
    if (outgrows(cell)) found.grown.push(name);
    if (size < top / 2) found.under.push(name);
    if (size * 1.125 >= top) continue;
    block.style.fontSize = `${size * 1.125}px`;
    if (second) block.querySelector('div').style.fontSize = `${Math.floor(second * 1.125)}px`;
    if (!outgrows(cell)) found.loose.push(name);
    block.style.fontSize = `${size}px`;
    if (second) block.querySelector('div').style.fontSize = `${second}px`;
  }
  return found;
}

// A page holding part of a tag: a letter not there an even number of times, as each face of a
// whole tag holds it. Letters, not words: the text of cells side by side may run together.
const holdsPartOfATag = (text) => {
  const counts = new Map();
  for (const letter of text.replace(/\s+/g, '')) counts.set(letter, (counts.get(letter) ?? 0) + 1);
  return [...counts.values()].some((count) => count % 2 === 1);
};

async function checkFitted(page, { check, engine, browser }) {
  const cases = [];
  for (const layout of ['4', '2', '6']) {
    await choose(page, check, `${layout}=UTF-8\r\n${LONG_NAMES}\r\n`);
    const pages = await summaryPages(page);
    const warned = await warnedNames(page);
    cases.push({ name: `long names, ${layout}= fitted`, pages, warned,
      file: writeScratch(`fitted-${layout}.html`, await printed(page)), paired: layout === '6' });
  }
  await choose(page, check, REGISTRATION, 'registration-export.xlsx');
  await moving(page);
  await page.select('#layout', '6');
  await settled(page, check);
  cases.push({ name: 'a registration export, 6= fitted', pages: await summaryPages(page),
    warned: [], file: writeScratch('registration.html', await printed(page)), paired: true,
    papers: ['Letter'] });
  const printing = engine === 'webkit' ? page : await browser.newPage();
  for (const { name, pages, warned, file, paired, papers = ['A4', 'Letter'] } of cases) {
    await printing.goto(pathToFileURL(file).href);
    const cells = await printing.evaluate(`(${fittedCells})(${paired}, ${JSON.stringify(warned)})`);
    console.log(`${name}: ${cells.cells} names, ${cells.grown.length} grown, ` +
      `${cells.under.length} under half the size, ${cells.loose.length} an eighth too small`);
    check(cells.cells > 100 && !cells.grown.length && !cells.under.length && !cells.loose.length,
      `${name}: ${JSON.stringify(cells).slice(0, 300)}`);
    for (const paper of papers) {
      const texts = pageTexts(await printing.pdf({ ...pdfOptions({ paper,
        ...ENGINE_DEFAULTS[engine] }), displayHeaderFooter: false }));
      const parted = texts.filter(holdsPartOfATag).length;
      const at = paper === 'A4' ? 0 : 1;
      console.log(`${name} on ${paper}: ${texts.length} pages (the summary: ${pages[at]}), ` +
        `${parted} holding part of a tag`);
      check(parted === 0 && (engine === 'webkit' || texts.length === pages[at]),
        `${name} on ${paper}: ${texts.length} pages, ${parted} holding part of a tag`);
    }
  }
  if (printing !== page) await printing.close();
}

// The names the summary says do not fit even at half the size.
const warnedNames = async (page) => ((await mistakesShown(page)).includes('name_over_lines')
  ? page.$eval('[data-mistake="name_over_lines"]', (item) => [/“([^”]*)”/.exec(item.textContent)[1]
    .replace(/…$/, '').split('=')[0]]) : []);

export default async function checkPrinting(page, { check, engine, browser }) {
  const address = page.url();
  await checkFitted(page, { check, engine, browser });
  await page.goto(address);
  await settled(page, check);
  const cases = [...await printCases(page, check, TEN, 'ten'),
    ...await printCases(page, check, THIRTY, 'thirty'),
    ...await printCases(page, check, THIRTY, 'thirty as the tool sets them', false)];
  // WebKitGTK's driver has one page only: the page comes back after.
  const printing = engine === 'webkit' ? page : await browser.newPage();
  for (const { name, pages, file } of cases) {
    await printing.goto(pathToFileURL(file).href);
    for (const [at, paper] of ['A4', 'Letter'].entries()) {
      const pdf = await printing.pdf({ ...pdfOptions({ paper, ...ENGINE_DEFAULTS[engine] }),
        displayHeaderFooter: engine === 'chromium' });
      const count = pageTexts(pdf).length;
      const [left, right] = borderRuns(pdf);
      console.log(`the page's print, ${name} on ${paper}: ${count} pages (the summary: ` +
        `${pages[at]}), outer borders ${left} and ${right} dots`);
      check(count === pages[at] || (engine === 'webkit' && name.startsWith('thirty')),
        `${name} on ${paper}: ${count} pages, the summary says ${pages[at]}`);
      check(right >= left - 1, `${name} on ${paper}: the right border is cut (${left}, ${right})`);
    }
  }
  if (printing !== page) await printing.close();
  await page.goto(address);
  await settled(page, check);

  // 4,000 tags prepared for print, a slice at a time.
  if (engine === 'webkit') return;
  await choose(page, check, names(4000));
  await watchTasks(page);
  const started = Date.now();
  const document = await printed(page);
  console.log(`4,000 tags prepared for print in ${Date.now() - started} ms, the longest task ` +
    `${await longestTask(page)} ms; ${document.length} characters`);
}
