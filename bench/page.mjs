// The browser page's speed, as a user meets it: a list of 10,000 names chosen from disk until
// the sheet is shown with Download and Print on, a letter typed into a box of 10,000 names,
// 4,000 tags prepared for print, 20,000 long names (titles, double surnames, companies) in
// layout 1, lists of 100,000 and 200,000 names until their sheet is offered; the print's
// fitting of each name to its tag on, and for the long names and the print off too; with the
// longest task the page's main thread ran meanwhile, as a timer that should tick every 10 ms
// sees it. Medians of 3.
//
// usage: node bench/page.mjs ENGINE PAGE    (ENGINE: chromium or firefox; needs tests/'s
//        packages, npm ci there, and the browser)
import { mkdtempSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { generatedNames, launch, watchTasks, longestTask } from '../tests/print/sheets.mjs';

const [engine, pagePath] = process.argv.slice(2);
const RUNS = 3;
const scratch = mkdtempSync(join(tmpdir(), 'korvela-bench-'));

// A list of names, written to a file, or as the text itself.
function names(count, asFile = true) {
  let list = '4=UTF-8\r\n';
  for (let name = 0; name < count; name++) list += `Jméno ${name}=Příjmení ${name}\r\n`;
  if (!asFile) return list.replace(/\r\n/g, '\n');
  const file = join(scratch, `names-${count}.txt`);
  writeFileSync(file, list);
  return file;
}

// Long names as events list them, written to a file.
function longNames(count) {
  const file = join(scratch, `long-names-${count}.txt`);
  writeFileSync(file, `4=UTF-8\r\n${generatedNames(count, 3).join('\r\n')}\r\n`);
  return file;
}

const shown = () => document.body.dataset.state === 'ready' &&
  document.getElementById('download').hasAttribute('href') &&
  !document.getElementById('print').disabled;

// Milliseconds until the page shows the sheet after act(), and the longest task meanwhile.
async function timed(page, act, until = shown) {
  await watchTasks(page);
  await page.evaluate(() => { document.body.dataset.state = 'measuring'; });
  const started = Date.now();
  await act();
  await page.waitForFunction(until, { timeout: 120000, polling: 20 });
  return [Date.now() - started, await longestTask(page)];
}

const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];

const browser = await launch(engine);
const page = await browser.newPage();
const figures = { '10,000 names chosen': [], 'a letter typed into 10,000 names': [],
  '4,000 tags prepared for print': [], '4,000 tags prepared for print, not fitted': [],
  '20,000 long names chosen': [], '20,000 long names chosen, not fitted': [],
  '100,000 names chosen': [], '200,000 names chosen': [] };

// The print prepared, up to where the browser's own print dialog would open.
const printed = async () => {
  await page.evaluate(() => {
    window.printed = false;
    const frame = document.getElementById('print-frame');
    frame.contentWindow.print = () => { window.printed = true; };
  });
  await page.$eval('#print', (button) => button.click());
};
for (let run = 0; run < RUNS; run++) {
  await page.goto(pathToFileURL(resolve(pagePath)).href);
  await page.waitForFunction(shown, { timeout: 30000 });
  const choose = (file) => async () => (await page.$('#file')).uploadFile(file);
  figures['10,000 names chosen'].push(await timed(page, choose(names(10000))));
  // Pasted into the box, where a list that long is the box's; chosen, it is not shown there.
  await timed(page, () => page.evaluate((text) => {
    const box = document.getElementById('names');
    box.value = text;
    box.dispatchEvent(new Event('input'));
  }, names(10000, false)));
  figures['a letter typed into 10,000 names'].push(await timed(page, async () => {
    await page.focus('#names');
    await page.keyboard.press('End');
    await page.keyboard.type('x');
  }));
  await timed(page, choose(names(4000)));
  figures['4,000 tags prepared for print'].push(await timed(page, printed, () => window.printed));
  figures['20,000 long names chosen'].push(await timed(page, choose(longNames(20000))));
  await timed(page, () => page.$eval('#print-fit', (box) => box.click()));
  figures['20,000 long names chosen, not fitted'].push(await timed(page, choose(longNames(20000))));
  await timed(page, choose(names(4000)));
  figures['4,000 tags prepared for print, not fitted'].push(await timed(page, printed,
    () => window.printed));
  await timed(page, () => page.$eval('#print-fit', (box) => box.click()));
  figures['100,000 names chosen'].push(await timed(page, choose(names(100000))));
  figures['200,000 names chosen'].push(await timed(page, choose(names(200000)), () =>
    document.body.dataset.state === 'ready' && document.getElementById('download').hasAttribute('href')));
}
await browser.close();
console.log(`| ${engine} | shown after, ms | longest task, ms |\n|---|---:|---:|`);
for (const [what, runs] of Object.entries(figures)) {
  console.log(`| ${what} | ${median(runs.map((r) => r[0]))} | ${median(runs.map((r) => r[1]))} |`);
}
