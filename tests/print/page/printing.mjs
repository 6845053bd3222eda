// The page's print, printed for real at the engine's own settings (Chrome's margins are the
// page's own; Firefox's half an inch where a page names none; Safari's the paper's), on A4 and
// on Letter: the pages the summary counts, filled or as the downloaded sheet has them, grown
// tags included, and every right border whole. The summary counts Chrome's and Firefox's
// pages; WebKit prints a tenth larger, and where tags grow its pages are reported, not held to
// the summary. A long list's print prepared without holding the page (the times reported).
import { pathToFileURL } from 'node:url';
import { borderRuns, longestTask, pageTexts, pdfOptions, watchTasks } from '../sheets.mjs';
import { choose, names, printed, settled, writeScratch } from '../page_driver.mjs';

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
  const papers = / on (\d+) pages? of A4, on (\d+) pages? of US Letter/.exec(said);
  const both = / on (\d+) pages?\./.exec(said);
  return papers ? [Number(papers[1]), Number(papers[2])] : [Number(both[1]), Number(both[1])];
}

async function printCases(page, check, list, called) {
  const cases = [];
  for (const layout of ['4', '2', '6']) {
    for (const fill of [true, false]) {
      await choose(page, check, `${layout}=UTF-8\r\n${list}\r\n`);
      await page.evaluate((filled) => {
        const box = document.getElementById('print-fill');
        if (box.checked !== filled) box.click();
      }, fill);
      const document = await printed(page);
      cases.push({ name: `${called}, ${layout}= ${fill ? 'filled' : 'as the sheet'}`,
        pages: await summaryPages(page), file: writeScratch(`print-${called}-${layout}-${fill}.html`, document) });
    }
  }
  return cases;
}

export default async function checkPrinting(page, { check, engine, browser }) {
  const address = page.url();
  const cases = [...await printCases(page, check, TEN, 'ten'),
    ...await printCases(page, check, THIRTY, 'thirty')];
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
