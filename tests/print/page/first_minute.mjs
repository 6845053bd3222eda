// A new user's first minute: what the page says is what prints, and nothing is garbled or
// thrown away: names typed with accents print as typed, a file that is no list is refused
// with the list kept, a list saved as UTF-16 is turned into UTF-8, a windows-1250 list shows
// in the box and stays as its bytes; Print is the main action and Ctrl+P prints the sheet;
// markup has its mending; the mapping step reads well to a screen reader and on a phone.
import encodeWindows1250 from '../windows1250.mjs';
import {
  boxOf, choose, linkBytes, mistakesShown, moving, printed, settled, typeIntoBox, utf8,
} from '../page_driver.mjs';

const FIVE = 'Anna Nováková\nŽofie Šťastná\nJiří Dvořák\nÉva Szőke\nŁucja Wiśniewska\n';

export default async function checkFirstMinute(page, context) {
  const { check, axeFinds, engine } = context;

  // Names typed with accents: a settings line for UTF-8 put first, in the box, and the sheet
  // printing them as typed. The line goes in at a pause after the first name; the typing after
  // it goes on where it was.
  await typeIntoBox(page, check, '');
  await page.focus('#names');
  for (const typed of [FIVE.slice(0, 13), FIVE.slice(13)]) {
    await moving(page);
    await page.keyboard.type(typed);
    await settled(page, check);
  }
  const sheet = (await linkBytes(page, 'download')).toString('utf8');
  check((await boxOf(page)) === `4=UTF-8\n${FIVE}` && sheet.includes('Žofie Šťastná') &&
    /charset=UTF-8/.test(sheet) && (await mistakesShown(page)).length === 0,
  `names typed give ${JSON.stringify(await boxOf(page))}`);

  // Files that are no list, under any name, a damaged document too: refused, the list in use
  // kept, said as before and its sheet still on offer.
  for (const [name, bytes, said] of [
    ['names.docx', Buffer.from('PK\x03\x04\x14\x00word/document.xml', 'latin1'), /document/],
    ['cut.docx', Buffer.from('PK\x03\x04\x14\x00\x00\x00[Content_Types].xml', 'latin1'), /document/],
    ['names.csv', '%PDF-1.7\n1 0 obj\n', /PDF/],
    ['photo.jpg', Buffer.from('ffd8ffe000104a464946', 'hex'), /picture/]]) {
    await choose(page, check, bytes, name, 'refused');
    const [summary, source] = await page.evaluate(() => ['summary', 'source']
      .map((id) => document.getElementById(id).textContent));
    check((await linkBytes(page, 'download')).includes(Buffer.from('Žofie Šťastná')) &&
      !(await page.$eval('#print', (button) => button.disabled)) && said.test(summary) &&
      /5 tags/.test(summary) && !/Reading/.test(source) && (await boxOf(page)) === `4=UTF-8\n${FIVE}`,
    `${name} is not refused whole: ${summary} ${source}`);
  }
  // A print choice leaves the refusal as it is said.
  for (let twice = 0; twice < 2; twice++) {
    await moving(page);
    await page.click('#print-fit');
    await settled(page, check, 'refused');
  }
  check(/picture/.test(await page.$eval('#summary', (line) => line.textContent)),
    'a print choice wrote over a refusal');

  // A list saved as UTF-16 becomes UTF-8 with a settings line, and says so; a windows-1250 list
  // shows decoded, and stays its bytes.
  await choose(page, check, Buffer.from('\uFEFF6=\r\nŽofie\r\n', 'utf16le'), 'unicode.txt');
  check((await linkBytes(page, 'save-list')).equals(utf8('6=UTF-8\r\nŽofie\r\n')) &&
    /UTF-16/.test(await page.$eval('#source', (s) => s.textContent)), 'a UTF-16 list is not turned into UTF-8');
  const ansi = encodeWindows1250('4=\r\nŽofie Šťastná\r\n');
  await choose(page, check, ansi, 'ansi.txt');
  check((await boxOf(page)) === '4=\nŽofie Šťastná\n' && (await linkBytes(page, 'save-list')).equals(ansi),
    'a windows-1250 list is not shown, or not kept as it is');

  // The layout menu says how tags fall on pages; Print is the main action, the download's own
  // settings beside it; Ctrl+P prints the sheet.
  const options = await page.$$eval('#layout option', (all) => all.map((option) => option.textContent));
  check(options.filter((text) => /page/.test(text)).length === 3, `the layouts say nothing of pages: ${options}`);
  check(await page.$eval('#print', (button) => button.classList.contains('primary')) &&
    /99/.test(await page.$eval('#download-advice', (advice) => advice.textContent)), 'Print is not the main action');
  const byKeys = await printed(page, async () => {
    await page.focus('#names');
    await page.keyboard.down('Control');
    await page.keyboard.press('p');
    await page.keyboard.up('Control');
  });
  check(byKeys.includes('Žofie'), 'Ctrl+P does not print the sheet');

  // Markup typed has its mending; names between commas are said.
  await typeIntoBox(page, check, '4=UTF-8\nJan <b>Novák</b>\nAnna Malá, Petr Dvořák, Eva Nová\n');
  check(JSON.stringify(await mistakesShown(page)) === '["markup_in_name","names_in_one_line"]',
    `shows ${await mistakesShown(page)}`);
  await moving(page);
  await page.click('[data-mistake="markup_in_name"] button');
  await settled(page, check);
  check((await boxOf(page)).includes('Jan &lt;b>Novák&lt;/b>'), `the mending of markup left ${await boxOf(page)}`);

  // Cells are text: "&" that a browser does not read as markup stays as it is; a mistake of a
  // list from a spreadsheet names the spreadsheet's rows.
  await choose(page, check, 'Pozvánka 2026\nJméno,Firma\nJan Novák,Novák & syn s.r.o.\n' +
    '"Jana Nováková, Petr Dvořák",ACME\n', 'guests.csv');
  const rowSaid = await page.$eval('[data-mistake="names_in_one_line"]', (item) => item.textContent);
  check((await boxOf(page)).includes('Jan Novák=Novák & syn s.r.o.') && /row 4/.test(rowSaid),
    `cells give ${await boxOf(page)}; ${rowSaid}`);

  // Space presses Download, as it presses a button.
  await page.evaluate(() => {
    window.pressed = 0;
    document.getElementById('download').addEventListener('click', (event) => {
      window.pressed++;
      event.preventDefault();
    });
  });
  await page.focus('#download');
  await page.keyboard.press(' ');
  check(await page.evaluate(() => window.pressed) === 1, 'Space does not press Download');

  // On a phone: the mapping step open, with distinct names for its choices, a cue to scroll,
  // no word of dropping; axe finds nothing.
  await page.emulate({ viewport: { width: 390, height: 844, isMobile: true, hasTouch: true },
    userAgent: await page.evaluate(() => navigator.userAgent) });
  await choose(page, check, 'Jméno,Příjmení,Firma,E-mail,Telefon\nJana,Nováková,ACME,jana@acme.cz,123\n', 'guests.csv');
  const labels = await page.$$eval('#mapping select', (all) => all.map((select) =>
    select.getAttribute('aria-label') || select.labels[0]?.textContent));
  check(new Set(labels).size === labels.length, `the mapping's choices are named alike: ${labels}`);
  // Firefox's driver emulates no touch screen.
  check((engine === 'firefox' || await page.$eval('.on-mouse', (text) => getComputedStyle(text).display === 'none')) &&
    /gradient/.test(await page.$eval('.scrolls', (scroller) => getComputedStyle(scroller).backgroundImage)),
  'a phone is told to drop files, or has no cue to scroll');
  await axeFinds(page, [['with the mapping step open on a phone', null]]);
  await page.emulate({ viewport: { width: 1280, height: 900 }, userAgent: await page.evaluate(() => navigator.userAgent) });
}
