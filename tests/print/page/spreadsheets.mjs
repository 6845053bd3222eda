// Spreadsheets in the page: the reader's cases (tests/web/reader_cases.mjs) read by the
// engine's own DOMParser and DecompressionStream; workbooks from LibreOffice and CSV as Excel
// saves it chosen into their list bytes; a file that already is a list kept as one; the
// mapping step's headings row, order and duplicates; failures said with the list kept; big
// workbooks timed (reported, not asserted).
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { watchTasks, longestTask } from '../sheets.mjs';
import encodeWindows1250 from '../windows1250.mjs';
import { boxOf, choose, linkBytes, moving, paste, settled } from '../page_driver.mjs';
import { CASES } from '../../web/reader_cases.mjs';
import { holds } from '../../web/reader_outcome.mjs';
import { xlsxOf, zipOf } from '../../web/zip_files.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const workbook = (name) => readFileSync(join(here, '..', '..', 'workbooks', name));
const GUESTS = '4=UTF-8\nJana Nováková=ACME s.r.o.\nPetr Dvořák=Škoda Auto, a.s.\n' +
  'Žofie Šťastná ml.=A=B Consulting\n';
const guestsCsv = workbook('guests.csv').toString();
const separated = (by) => guestsCsv.replace(/,(?=(?:[^"]*"[^"]*")*[^"]*$)/g, by);

// Files into the list bytes the box shows.
const IMPORT_CASES = [
  ['guests.csv', workbook('guests.csv'), GUESTS],
  ['guests.xlsx', workbook('guests.xlsx'), GUESTS],
  ['guests.ods', workbook('guests.ods'), GUESTS],
  ['excel.csv', encodeWindows1250(separated(';')), GUESTS],
  ['unicode.txt', Buffer.from(`\uFEFF${separated('\t')}`, 'utf16le'), GUESTS],
  ['hungarian.csv', 'Vezetéknév;Keresztnév;Cég\r\nNagy;Erzsébet;Főváros\r\n', '4=UTF-8\nNagy Erzsébet=Főváros\n'],
  ['plain.csv', 'Anna,Novák\nBob,Král\n', '4=UTF-8\nAnna Novák\nBob Král\n'],
  // A list saved from a spreadsheet's column A, with its settings line in A1, is a list.
  ['list.csv', '6=UTF-8\r\nJana=Nováková\r\nPetr\r\n', '6=UTF-8\nJana=Nováková\nPetr\n'],
];
// Files that make no list, a damaged workbook as any other: the reason said before the summary
// of the list in use, which is kept, its source said as before and its sheet on offer.
const IMPORT_FAILURES = [
  ['locked.xlsx', zipOf([['xl/workbook.xml', '<workbook/>', 1]], { store: true }), /password/],
  ['cut.xlsx', workbook('guests.xlsx').subarray(0, 3000), /cannot be read/],
  ['empty.csv', ';;\n;;\n', /holds no names/],
];

// The reader's own cases, in the engine, through a bundle of the reader made for the test.
async function checkReaderCases(page, { check, browser, engine }) {
  const bundle = execFileSync('esbuild', [join(here, '..', '..', 'web', 'reader_outcome.mjs'),
    '--bundle', '--format=iife', '--global-name=korvelaReader', '--log-level=warning']).toString();
  // WebKitGTK's driver has one page only: the page comes back after.
  const [address, blank] = [page.url(), engine === 'webkit' ? page : await browser.newPage()];
  await blank.goto('about:blank');
  await blank.evaluate(`(() => { ${bundle}\nwindow.korvelaReader = korvelaReader; })()`);
  for (const { group, name, input, expected } of CASES) {
    const given = { ...input, bytes: input.bytes && Buffer.from(input.bytes).toString('base64') };
    const found = await blank.evaluate(async (sent) => korvelaReader.outcome({ ...sent,
      bytes: sent.bytes && Uint8Array.from(atob(sent.bytes), (letter) => letter.charCodeAt(0)) }), given);
    check(holds(found, expected), `${group}, ${name}: ${JSON.stringify({ ...found, rows: found.rows?.slice(0, 3) }).slice(0, 300)}`);
  }
  if (blank !== page) await blank.close();
  else {
    await page.goto(address);
    await settled(page, check);
  }
}

// The mapping step's controls: the headings row set by hand, the order, the duplicates.
async function checkMapping(page, { check }) {
  await choose(page, check, 'Seznam 2026\r\n\r\nJméno;Firma\r\nŽofie;B\r\nAnna;A\r\nŽofie;B\r\n', 'list.csv');
  check(await boxOf(page) === '4=UTF-8\nŽofie=B\nAnna=A\nŽofie=B\n', `the headings row is not found: ${await boxOf(page)}`);
  for (const [control, value, list, said] of [
    ['#mapping-order', '0', '4=UTF-8\nAnna=A\nŽofie=B\nŽofie=B\n', null],
    ['#mapping-duplicates', true, '4=UTF-8\nAnna=A\nŽofie=B\n', /One more row repeats/],
    ['#mapping-headings', '-1', '4=UTF-8\nAnna A\nJméno Firma\nSeznam 2026\nŽofie B\n', null]]) {
    await moving(page);
    if (value === true) await page.click(control);
    else await page.select(control, value);
    await settled(page, check);
    check(await boxOf(page) === list && (!said || said.test(await page.$eval('#source', (s) => s.textContent))),
      `${control} ${value}: ${JSON.stringify(await boxOf(page))}`);
  }
}

export default async function checkSpreadsheets(page, context) {
  const { check, engine } = context;
  await checkReaderCases(page, context);
  for (const [name, bytes, expected] of IMPORT_CASES) {
    await choose(page, check, bytes, name);
    check(await boxOf(page) === expected, `${name} gives ${JSON.stringify(await boxOf(page))}`);
  }
  for (const [name, bytes, said] of IMPORT_FAILURES) {
    await choose(page, check, 'Anna\r\n', 'anna.txt');
    await choose(page, check, bytes, name, 'refused');
    const [summary, source, file] = await page.evaluate(() => ['summary', 'source', 'file-name']
      .map((id) => document.getElementById(id).textContent));
    check(said.test(summary) && summary.includes(name) && /anna\.txt/.test(source) &&
      file === 'anna.txt' && await boxOf(page) === 'Anna\n' &&
      (await linkBytes(page, 'download')).includes('Anna'),
    `${name}: says "${summary}", "${source}", beside the button "${file}"`);
  }
  await checkMapping(page, context);
  // Another language: a workbook's truth values read again as that language writes them.
  await choose(page, check, workbook('xlsxwriter-formats.xlsx'), 'formats.xlsx');
  for (const [language, truth] of [['cs', 'PRAVDA'], ['en', 'TRUE']]) {
    await moving(page);
    await page.select('#language', language);
    await settled(page, check);
    const rows = await page.$eval('#mapping-rows', (table) => table.textContent);
    check(rows.includes(truth), `in ${language} the workbook reads ${rows}`);
  }
  // Cells pasted into the box; Firefox gives a paste made by script no clipboard data.
  if (engine !== 'firefox') {
    await paste(page, check, 'Jméno\tPříjmení\tFirma\nJana\tNováková\tACME s.r.o.\n');
    check(await boxOf(page) === '4=UTF-8\nJana Nováková=ACME s.r.o.\n', 'the cells pasted give no list');
  }
  // Big workbooks: LibreOffice's 20,000 rows with dates, and rows by the two hundred thousand.
  for (const [name, bytes, tags] of [['libreoffice-dates.xlsx', workbook('libreoffice-dates.xlsx'), 20000],
    ['big.xlsx', xlsxOf([['Jméno', 'Příjmení'], ...Array.from({ length: 200000 }, (_, at) => [`Jana ${at}`, 'Nováková'])]), 200000]]) {
    await watchTasks(page);
    await page.evaluate(() => {
      window.progressSaid = false;
      new MutationObserver(() => { window.progressSaid ||= /%/.test(document.getElementById('source').textContent); })
        .observe(document.getElementById('source'), { childList: true, characterData: true, subtree: true });
    });
    const started = Date.now();
    await choose(page, check, bytes, name);
    console.log(`${name}, ${tags.toLocaleString('en')} rows: the sheet shown ${Date.now() - started} ms after ` +
      `it was chosen; the longest task ${await longestTask(page)} ms; progress said: ${await page.evaluate(() => window.progressSaid)}`);
    check(await page.$eval('#summary', (summary, count) => summary.textContent.startsWith(count),
      `${tags.toLocaleString('en')} tags`), `no sheet of ${name}`);
  }
}
