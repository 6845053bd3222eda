// The page's work in one owner's hands: the last thing the user did wins, the settings line is
// written by the tool's own writer and keeps the list's charset, nothing typed is replaced
// without an Undo, and a list made here and not saved is asked about before the page is left.
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

  // A small list chosen while a big workbook is read wins; so does typing.
  const big = writeScratch('big.xlsx', xlsxOf([['Jméno'], ...Array.from({ length: 200000 }, (_, at) => [`Host ${at}`])]));
  for (const later of [() => choose(page, check, '4=\r\nZdena\r\n', 'later.txt'),
    () => typeIntoBox(page, check, 'Zdena\n')]) {
    await (await page.$('#file')).uploadFile(big);
    await page.waitForFunction(() => document.body.dataset.state === 'reading');
    await later();
    await new Promise((done) => setTimeout(done, 4000));
    check((await boxOf(page)).includes('Zdena') && !(await boxOf(page)).includes('Host 1'),
      'a workbook read before a later list replaced it');
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
