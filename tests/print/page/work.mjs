// The page's work in one owner's hands: the last thing the user did wins, the settings line is
// written by the tool's own writer and keeps the list's charset, nothing typed is replaced
// without an Undo, and a list made here and not saved is asked about before the page is left.
// Typing is work like any other: nothing is offered that is not the box's list, and work begun
// in the typing's pause starts from what was typed. A print is tied to its sheet: one at a
// time, and none of a sheet that is withdrawn. Everything that describes the list follows it.
import encodeWindows1250 from '../windows1250.mjs';
import {
  boxOf, choose, linkBytes, mistakesShown, moving, names, paste, settled, typeIntoBox,
  writeScratch,
} from '../page_driver.mjs';
import { xlsxOf } from '../../web/zip_files.mjs';

const leavingAsks = (page) => page.evaluate(() => {
  const leaving = new Event('beforeunload', { cancelable: true });
  dispatchEvent(leaving);
  return leaving.defaultPrevented;
});

// Ctrl+P pressed, as a user presses it.
async function ctrlP(page) {
  await page.keyboard.down('Control');
  await page.keyboard.press('p');
  await page.keyboard.up('Control');
}

// The prints the print frame made while act() ran: each document it printed.
async function printsDuring(page, act, wait = 3000) {
  await page.evaluate(() => {
    window.prints = [];
    const frame = document.getElementById('print-frame');
    frame.contentWindow.print = () => window.prints.push(frame.contentDocument.body.innerHTML);
  });
  await act();
  await new Promise((done) => setTimeout(done, wait));
  return page.evaluate(() => window.prints);
}

// Typed at the box's end, as keys, nothing waited for.
async function typeAtEnd(page, text) {
  await page.focus('#names');
  await page.keyboard.press('End');
  await page.evaluate(() => { const box = document.getElementById('names');
    box.setSelectionRange(box.value.length, box.value.length); });
  await page.keyboard.type(text);
}

async function checkTypingAndPrinting(page, { check }) {
  // Ctrl+P twice while a long sheet is prepared: one print, each name in it twice.
  await choose(page, check, names(8000));
  const twice = await printsDuring(page, () => page.evaluate(() => new Promise((done) => {
    const press = () => dispatchEvent(new KeyboardEvent('keydown', { key: 'p', ctrlKey: true }));
    press();
    setTimeout(() => done(press()), 60);
  })));
  check(twice.length === 1 && (twice[0].match(/Jméno 7999=/g) ?? []).length === 0 &&
    (twice[0].match(/Jméno 7999</g) ?? []).length === 2, `Ctrl+P twice made ${twice.length} prints`);

  // A name typed, then Ctrl+P or Download in the typing's pause: nothing offered but the box's.
  await typeIntoBox(page, check, '4=UTF-8\nAnna\n');
  const printedTyped = await printsDuring(page, async () => {
    await typeAtEnd(page, 'Zora');
    check(!(await page.$eval('#download', (link) => link.hasAttribute('href'))) &&
      !(await page.$eval('#save-list', (link) => link.hasAttribute('href'))),
    'the links offer the list before the typing');
    await ctrlP(page);
  });
  check(printedTyped.length === 1 && printedTyped[0].includes('Zora'),
    `Ctrl+P in the typing's pause printed ${printedTyped.map((p) => p.slice(-80))}`);

  // Names typed, then the layout, a mending or Undo in the pause: the typing is kept.
  for (const [act, holds] of [
    [() => page.select('#layout', '2'), (box) => box.startsWith('2=UTF-8\nAnna\n')],
    [() => page.click('#mistakes button'), (box) => !box.endsWith('\n\n')],
  ]) {
    await typeIntoBox(page, check, '4=UTF-8\nAnna\n\n');
    await moving(page);
    await typeAtEnd(page, 'Zora\nPetr');
    await act();
    await settled(page, check);
    const box = await boxOf(page);
    check(box.includes('Zora\nPetr') && holds(box), `work in the typing's pause left ${JSON.stringify(box)}`);
  }

  // A settings line typed with spaces above accented names: the UTF-8 written as it meant.
  await typeIntoBox(page, check, '6 = UTF-8\nŽofie\nAnna\n');
  check((await boxOf(page)) === '6=UTF-8\nŽofie\nAnna\n', `the spaced line typed became ${await boxOf(page)}`);
  // A table's number before a name in the first line picks no layout: the one in use stays.
  await choose(page, check, '2=\r\nAnna\r\n');
  await typeIntoBox(page, check, 'Stůl 6=Jana Nováková\nStůl 7=Petr Dvořák\n');
  check((await boxOf(page)).startsWith('2=UTF-8\nStůl 6='), `a table's number set ${await boxOf(page)}`);

  // A mapping choice in the typing's pause, which ended the mapping step, changes nothing; a
  // print choice while a workbook is read lets the reading go on.
  await choose(page, check, 'Jméno,Firma\nJana,ACME\n', 'guests.csv');
  await moving(page);
  await typeAtEnd(page, 'Zora');
  await page.select('#mapping-order', '0');
  await settled(page, check);
  check((await boxOf(page)).endsWith('Zora'), `a mapping choice in the pause left ${await boxOf(page)}`);
  const workbook = writeScratch('read-on.xlsx', xlsxOf([['Jméno'], ...Array.from({ length: 100000 },
    (_, at) => [`Host ${at}`])]));
  await (await page.$('#file')).uploadFile(workbook);
  await page.waitForFunction(() => document.body.dataset.state === 'reading');
  await page.click('#print-folds');
  await settled(page, check);
  check(/100,000 tags/.test(await page.$eval('#summary', (summary) => summary.textContent)),
    'a print choice ended the reading of a workbook');
  await moving(page);
  await page.click('#print-folds');
  await settled(page, check);

  // Print while a workbook is read: nothing is printed of the list it replaces.
  const big = writeScratch('big-print.xlsx', xlsxOf([['Jméno'], ...Array.from({ length: 100000 },
    (_, at) => [`Host ${at}`])]));
  await choose(page, check, '4=\r\nStará\r\n');
  const duringReading = await printsDuring(page, async () => {
    await (await page.$('#file')).uploadFile(big);
    await page.waitForFunction(() => document.body.dataset.state === 'reading');
    await page.click('#print');
    await ctrlP(page);
    await settled(page, check);
  }, 500);
  check(duringReading.length === 0, 'a print of the list before the workbook');

  // Everything that describes the list follows it: Undo brings the file's name back.
  await choose(page, check, '4=\r\nPrvní\r\n', 'first.txt');
  await choose(page, check, '4=\r\nDruhá\r\n', 'second.txt');
  await moving(page);
  await page.click('#undo');
  await settled(page, check);
  check(await page.$eval('#file-name', (name) => name.textContent) === 'first.txt',
    'Undo leaves the name of the file it undid');

  // A mending from the keyboard leaves the focus on the summary, or on the next mending.
  await choose(page, check, '4=\r\nAnna\r\n\r\n');
  await page.focus('#mistakes button');
  await moving(page);
  await page.keyboard.press('Enter');
  await settled(page, check);
  check(await page.evaluate(() => document.activeElement.id === 'summary' ||
    document.activeElement.closest('#mistakes') !== null), 'a mending drops the focus');
}

export default async function checkWork(page, { check, engine }) {
  // The layout changed on a windows-1250 list keeps its charset: without a settings line, and
  // with one that names it.
  for (const [list, layout, saved] of [['Jiří\r\nBob\r\n', '2', '2=\r\nJiří\r\nBob\r\n'],
    ['4=windows-1250\r\nJiří\r\n', '6', '6=windows-1250\r\nJiří\r\n']]) {
    await choose(page, check, encodeWindows1250(list));
    await moving(page);
    await page.select('#layout', layout);
    await settled(page, check);
    const sheet = (await linkBytes(page, 'download')).toString('latin1');
    check((await linkBytes(page, 'save-list')).equals(encodeWindows1250(saved)) &&
      sheet.includes(encodeWindows1250('Jiří').toString('latin1')) && /windows-1250/i.test(sheet) &&
      (await mistakesShown(page)).length === 0, `${list}: layout ${layout} garbles the list`);
  }

  // A settings line typed with spaces is one, and its mending writes it as meant.
  await typeIntoBox(page, check, '6 = UTF-8\nAnna\nBob\n');
  check(JSON.stringify(await mistakesShown(page)) === '["spaced_settings_line"]', 'a spaced settings line is not said');
  await moving(page);
  await page.click('#mistakes button');
  await settled(page, check);
  check((await boxOf(page)).startsWith('6=UTF-8\nAnna'), `the spaced line mended reads ${await boxOf(page)}`);

  // A small list chosen while a big workbook is read wins; so does typing, which says what
  // became of the workbook.
  const big = writeScratch('big.xlsx', xlsxOf([['Jméno'], ...Array.from({ length: 200000 }, (_, at) => [`Host ${at}`])]));
  for (const [later, says] of [[() => choose(page, check, '4=\r\nZdena\r\n', 'later.txt'), /later\.txt/],
    [() => typeIntoBox(page, check, 'Zdena\n'), /big\.xlsx.*still being read/]]) {
    await (await page.$('#file')).uploadFile(big);
    await page.waitForFunction(() => document.body.dataset.state === 'reading');
    await later();
    await new Promise((done) => setTimeout(done, 4000));
    const source = await page.$eval('#source', (line) => line.textContent);
    check((await boxOf(page)).includes('Zdena') && !(await boxOf(page)).includes('Host 1') &&
      says.test(source), `a workbook read before a later list replaced it: ${source}`);
  }

  // An edit in the box ends the mapping step; the typed name stays, and leaving asks.
  await choose(page, check, 'Jméno,Příjmení\nJana,Nováková\nPetr,Dvořák\n', 'guests.csv');
  await typeIntoBox(page, check, `${await boxOf(page)}Zdena\n`);
  check(await page.$eval('#mapping', (step) => step.hidden) && (await boxOf(page)).endsWith('Zdena\n'),
    'an edit in the box leaves the mapping step open to overwrite it');
  check(await leavingAsks(page), 'leaving after an edit of an import asks nothing');

  // An empty sheet chosen keeps the rows in use.
  await choose(page, check, xlsxOf([['Jméno'], ['Jana'], ['Petr']], ['Prázdný', []]), 'two.xlsx');
  const before = await boxOf(page);
  await moving(page);
  await page.select('#mapping-sheet', '1');
  await page.waitForFunction(() => /holds no names/.test(document.getElementById('source').textContent));
  check(await boxOf(page) === before && await page.$eval('#mapping-sheet', (s) => s.value) === '0',
    'an empty sheet wiped the list');

  // Every replacement of what was typed has an Undo: a paste of cells (Firefox gives a paste
  // made by script no clipboard data), a file, a mending.
  const pasted = () => paste(page, check, 'Jméno\tFirma\nJana\tACME\n');
  for (const replace of [...(engine === 'firefox' ? [] : [pasted]),
    () => choose(page, check, '4=\r\nEva\r\n'), async () => {
      await moving(page);
      await page.click('#mistakes button');
      await settled(page, check);
    }]) {
    await typeIntoBox(page, check, 'Typed Name\nSmith & <b>\n');
    await replace();
    await moving(page);
    await page.click('#undo');
    await settled(page, check);
    check(await boxOf(page) === 'Typed Name\nSmith & <b>\n', `Undo brought back ${await boxOf(page)}`);
  }

  await checkTypingAndPrinting(page, { check });

  // A small file's size in bytes.
  await choose(page, check, '4=\r\nAnna\r\n', 'small.txt');
  check((await page.$eval('#source', (s) => s.textContent)).includes('(10 bytes)'), 'a small file says 0 kB');

  // 23 keys typed into a box of 20,000 names, a pause after each: the longest task reported.
  await typeIntoBox(page, check, names(20000).replace(/\r\n/g, '\n'));
  await page.focus('#names');
  await page.keyboard.press('End');
  await page.evaluate(() => { window.longestTask = 0; let last = performance.now();
    clearInterval(window.watching); window.watching = setInterval(() => { const now = performance.now();
      window.longestTask = Math.max(window.longestTask, now - last); last = now; }, 10); });
  const started = Date.now();
  await page.keyboard.type('Abcdefghijklmnopqrstuvw', { delay: 350 });
  await settled(page, check);
  console.log(`23 keys typed into 20,000 names, 350 ms apart: shown ${Date.now() - started} ms ` +
    `after the first, the longest task ${Math.round(await page.evaluate(() => window.longestTask))} ms`);
}
