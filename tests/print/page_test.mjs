// The browser page opened from disk in one engine: every golden list given to it through its
// file input, once dropped and once typed, makes the golden sheet that it offers for download,
// byte for byte; each of the tool's warnings shows, in words, for a list that has its mistake
// and not for a near one; markup in a name runs nothing and loads nothing; the preview fits a
// phone and shows no stale or empty sheet; the print document prints each layout on the pages
// promised, with every border whole, at the engine's own print settings; axe finds nothing to
// fault; big lists stay quick (the times are reported, not asserted).
//
// usage: node page_test.mjs ENGINE PAGE     (ENGINE: chromium, firefox or webkit)
// Exits 77 (skipped) where the browser or puppeteer-core is missing, except under CI.
import { createServer } from 'node:http';
import { mkdtempSync, readFileSync, readdirSync, existsSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { createRequire } from 'node:module';
import zlib, { gzipSync } from 'node:zlib';
import {
  launchOrSkip, checks, pageTexts, pdfOptions, borderRuns, watchTasks, longestTask,
} from './sheets.mjs';
import encodeWindows1250 from './windows1250.mjs';

const PAGE_MOST_BYTES = 150 * 1024;
const [engine, pagePath] = process.argv.slice(2);
const cases = resolve(dirname(fileURLToPath(import.meta.url)), '..', 'golden', 'cases');
const checker = checks(`page.${engine}`);
const { check } = checker;
const scratch = mkdtempSync(join(tmpdir(), 'korvela-page-'));

const pageBytes = readFileSync(pagePath);
console.log(`the page: ${pageBytes.length} bytes, ${gzipSync(pageBytes, { level: 9 }).length} gzipped`);
check(pageBytes.length <= PAGE_MOST_BYTES, `the page is ${pageBytes.length} bytes`);

// Waits for the page to show the sheet of the list it was given; a failure is said in words.
async function settled(page) {
  await page.waitForFunction(() => ['ready', 'failed'].includes(document.body.dataset.state),
    { timeout: 30000 });
  const state = await page.$eval('body', (body) => body.dataset.state);
  check(state === 'ready', `the page failed: ${await page.$eval('#summary', (p) => p.textContent)}`);
}

// Gives the page a list through its file input, as a user choosing a file does.
async function choose(page, bytes, name = 'Korvela.txt') {
  await page.evaluate(() => { document.body.dataset.state = 'busy'; });
  await (await page.$('#file')).uploadFile(writeScratch(name, bytes));
  await settled(page);
}

function writeScratch(name, bytes) {
  const file = join(scratch, name);
  writeFileSync(file, bytes);
  return file;
}

// The bytes behind a link of the page: the sheet it offers, or the list it saves.
async function linkBytes(page, link) {
  const text = await page.evaluate(async (id) => {
    const blob = await (await fetch(document.getElementById(id).href)).blob();
    return new Promise((done) => {
      const reader = new FileReader();
      reader.onload = () => done(reader.result.split(',')[1]);
      reader.readAsDataURL(blob);
    });
  }, link);
  return Buffer.from(text, 'base64');
}

const mistakesShown = (page) => page.$$eval('#mistakes li', (items) =>
  items.map((item) => item.dataset.mistake));

async function checkGoldenLists(page) {
  for (const name of readdirSync(cases)) {
    const list = join(cases, name, 'Korvela.txt');
    if (!existsSync(list)) continue;
    await choose(page, readFileSync(list));
    const expected = readFileSync(join(cases, name, 'expected.html'));
    // A sheet without tags is not offered.
    const offered = await page.$eval('#download', (link) => link.hasAttribute('href'));
    check(offered === expected.includes('<table'), `${name}: offered ${offered}`);
    if (offered) check((await linkBytes(page, 'download')).equals(expected), `${name}: the sheet differs`);
    check((await linkBytes(page, 'save-list')).equals(readFileSync(list)),
      `${name}: the list saved is not the list chosen`);
  }
}

const golden = (name) => readFileSync(join(cases, name, 'expected.html'));

// The box's sample from disk and from a web server, the box typed in, a dropped file, and the
// same file chosen again.
async function checkEachWayIn(page) {
  const server = createServer((request, response) => response.end(pageBytes));
  await new Promise((done) => server.listen(0, '127.0.0.1', done));
  for (const address of [`http://127.0.0.1:${server.address().port}/`, page.url()]) {
    await page.goto(address);
    await settled(page);
    check((await linkBytes(page, 'download')).equals(golden('example-list')),
      `the sample in the box does not make the example sheet at ${address}`);
  }
  server.close();

  await page.evaluate(() => { document.body.dataset.state = 'busy'; });
  await page.click('#names', { clickCount: 3 });
  await page.evaluate(() => document.getElementById('names').select());
  await page.keyboard.type('Anna\nBohdan\nCyril\n');
  await settled(page);
  check((await linkBytes(page, 'download')).equals(golden('three-names-four-panel')),
    'the names typed do not make their sheet');

  const dropped = [...readFileSync(join(cases, 'czech-windows-1250', 'Korvela.txt'))];
  await page.evaluate((bytes) => {
    document.body.dataset.state = 'busy';
    const carried = new DataTransfer();
    carried.items.add(new File([new Uint8Array(bytes)], 'names.txt'));
    for (const type of ['dragover', 'drop']) {
      document.body.dispatchEvent(new DragEvent(type, { dataTransfer: carried, bubbles: true,
        cancelable: true }));
    }
  }, dropped);
  await settled(page);
  check((await linkBytes(page, 'download')).equals(golden('czech-windows-1250')),
    'the file dropped does not make its sheet');

  // Firefox fires no change for a file of the same name and size, unless the input is cleared.
  await choose(page, '4=\r\nAnna\r\n', 'again.txt');
  await choose(page, '4=\r\nBora\r\n', 'again.txt');
  check((await linkBytes(page, 'download')).includes('Bora'), 'the same file, changed, is not read again');
}

const utf8 = (text) => Buffer.from(text, 'utf8');
const LONG = 'Marie Magdalena Dvořáková';

// Each mistake on a list that has it, and a near list that has none.
const MISTAKE_CASES = [
  ['4=UTF-8\r\nŽofie\r\n', []],
  ['Žofie\r\nAnna\r\n', ['utf8_not_declared']],
  [encodeWindows1250('Žofie\r\nAnna\r\n'), []],
  [Buffer.concat([utf8('4=UTF-8\r\n'), encodeWindows1250('Žofie\r\n')]), ['declared_utf8_not_saved']],
  [Buffer.from('\uFEFFAnna\r\n', 'utf16le'), ['saved_as_utf16']],
  ['\uFEFF4=UTF-8\r\nAnna\r\n', []],
  ['Jana=Nováková\r\nPetr\r\n', ['name_as_settings_line']],
  ['4=UTF-8\r\nJana=Nováková\r\n', []],
  ['4=\r\nAnna\r\n\r\n', ['empty_tag']],
  [`4=\r\n${'a '.repeat(100)}\r\n`, ['line_over_read', 'name_over_lines']],
  [`4=\r\n${'a '.repeat(99)}\r\n`, ['name_over_lines']],
  ['4=\r\nAnna\rBob\r\n', ['text_after_return']],
  ['4=\r\nAnna\r\r\n', []],
  ['2=UTF-8\r\nKrzysztof Dvořáková-Procházková\r\n', ['name_over_lines']],
  ['2=UTF-8\r\nAlžběta Wiśniewska=ACME s.r.o.\r\n', []],
  ['%PDF-1.4\n1 0 obj\n', ['not_text']],
  [Buffer.from('89504e470d0a1a0a0000000d49484452', 'hex'), ['not_text']],
  ['MZ Holding\r\nAnna\r\n', []],
  ['4=ISO-8859-2\r\nAnna\r\n', ['unknown_charset']],
  ['4=utf-8\r\nAnna\r\n', []],
  ['4=\r\nAnna\r\n\x1aBob\r\n', ['list_ends_early']],
  ['4=\r\nAnna\r\nBob\r\n\x1a', []],
  ['4=UTF-8\r\nJan <Honza> Novák\r\n', ['markup_in_name']],
  ['4=UTF-8\r\nSmith & Wesson\r\nAT&T\r\nR&D Team\r\n3 < 5 Club\r\n', []],
  ['', ['no_names']],
];

// Every mistake in words, whole, in every language: no {name} left unfilled.
async function checkMistakes(page) {
  const languages = await page.evaluate(() => Object.keys(TEXTS));
  for (const [list, expected] of MISTAKE_CASES) {
    await choose(page, list);
    const shown = await mistakesShown(page);
    check(JSON.stringify(shown) === JSON.stringify(expected),
      `${JSON.stringify(String(list))}: shows ${shown}, expected ${expected}`);
    for (const language of languages) {
      await page.select('#language', language);
      for (const text of await page.$$eval('#mistakes li', (items) => items.map((i) => i.textContent))) {
        check(text.length > 20 && !/[{}]/.test(text), `in ${language} a mistake reads "${text}"`);
      }
    }
    await page.select('#language', 'en');
  }
}

// Each language's table: the keys of the English one, each text with the same {names}, and a
// form for every count.
async function checkTexts(page) {
  const faults = await page.evaluate(() => {
    const found = [];
    // A form may say its count in words ("one thing"), so {count} is left out of the comparison.
    const names = (text) => JSON.stringify((String(text).match(/\{\w+\}/g) || [])
      .filter((name) => name !== '{count}').sort());
    for (const [language, table] of Object.entries(TEXTS)) {
      const plurals = new Intl.PluralRules(language);
      for (const [key, english] of Object.entries(TEXTS.en)) {
        const text = table[key];
        const forms = Array.from({ length: 200 }, (_, count) =>
          (typeof text === 'object' ? text[plurals.select(count)] ?? text.other : text));
        const wanted = names(typeof english === 'object' ? english.other : english);
        if (forms.some((form) => form === undefined || names(form) !== wanted)) {
          found.push(`${language} ${key}`);
        }
      }
      found.push(...Object.keys(table).filter((key) => !(key in TEXTS.en)).map((key) => `${language} ${key} (extra)`));
    }
    return found;
  });
  check(faults.length === 0, `texts missing or unlike the English: ${faults.join(', ')}`);
}

// The page speaks the browser's language, the switch changes it, and the choice holds.
async function checkLanguages(browser, address) {
  for (const language of ['cs', 'sk', 'pl', 'hu', 'de', 'en']) {
    const page = await browser.newPage();
    await page.evaluateOnNewDocument((tag) => {
      Object.defineProperty(navigator, 'languages', { get: () => [tag, 'en'] });
      localStorage.clear();
    }, `${language}-${language.toUpperCase()}`);
    await page.goto(address);
    await settled(page);
    const [lang, heading, wanted] = await page.evaluate((chosen) => [document.documentElement.lang,
      document.getElementById('list-heading').textContent, TEXTS[chosen].list], language);
    check(lang === language && heading === wanted, `a browser in ${language} shows ${lang}: ${heading}`);
    await page.close();
  }
  const page = await browser.newPage();
  await page.goto(address);
  await settled(page);
  await page.select('#language', 'hu');
  await page.goto(address);
  await settled(page);
  check(await page.evaluate(() => document.documentElement.lang) === 'hu', 'the language chosen does not hold');
  await page.select('#language', 'en');
  await page.close();
}

// Each mending a mistake offers, and the layout control, on the box and on a file the box
// cannot show.
const FIX_CASES = [
  ['Žofie\r\nAnna\r\n', '4=UTF-8\nŽofie'],
  ['6= utf8\r\nŽofie\r\n', '6=UTF-8\nŽofie'],
  ['Jana=Nováková\r\nPetr\r\n', '4=UTF-8\nJana=Nováková'],
  ['4=\r\nAnna\r\nBob\r\n\r\n \r\n', '4=\nAnna\nBob\n'],
];

async function checkFixes(page) {
  for (const [list, mended] of FIX_CASES) {
    await choose(page, list);
    await page.evaluate(() => { document.body.dataset.state = 'busy'; });
    await page.click('#mistakes button');
    await settled(page);
    const box = await page.$eval('#names', (names) => names.value);
    check(box.startsWith(mended) && (await mistakesShown(page)).length === 0,
      `${JSON.stringify(list)}: the mending left ${JSON.stringify(box)}`);
  }
  await page.evaluate(() => { document.body.dataset.state = 'busy'; });
  await page.select('#layout', '6');
  await settled(page);
  check((await page.$eval('#names', (names) => names.value)).startsWith('6=\n'),
    'the layout control does not write the settings line');
  await choose(page, encodeWindows1250('4=\r\nŽofie\r\n'));
  await page.evaluate(() => { document.body.dataset.state = 'busy'; });
  await page.select('#layout', '2');
  await settled(page);
  check((await linkBytes(page, 'save-list')).equals(encodeWindows1250('2=\r\nŽofie\r\n')),
    'the layout control does not write the settings line of a file the box cannot show');
}

// Markup in names reaches the sheet as markup, and does nothing: no script runs, nothing loads.
// The warning quotes what a browser shows of the name.
async function checkMarkup(page) {
  let requests = 0;
  const server = createServer((request, response) => { requests++; response.end(); });
  await new Promise((done) => server.listen(0, '127.0.0.1', done));
  const address = `http://127.0.0.1:${server.address().port}`;
  // Each name's first "=" is a line break: one at its start leaves the markup whole.
  await choose(page, `4=UTF-8\r\n=<script>top.ran = 'script'</script>\r\n` +
    `=<img src=x onerror="top.ran = 'onerror'">\r\n=<img src="${address}/picture.png">\r\n` +
    `=<link rel=stylesheet href="${address}/style.css">\r\nJan <Honza> Novák\r\n`);
  await new Promise((done) => setTimeout(done, 500));
  const ran = await page.evaluate(() => window.ran);
  check(ran === undefined, `a name ran markup: ${ran}`);
  const pictures = await page.$eval('#preview',
    (frame) => frame.contentDocument.querySelectorAll('img').length);
  check(pictures === 4, `the preview holds ${pictures} pictures of the names, not twice 2`);
  check(requests === 0, `markup in a name made ${requests} requests`);
  const said = await page.$eval('[data-mistake="markup_in_name"]', (item) => item.textContent);
  check(/runs a script/.test(said), `the warning of a script reads "${said}"`);
  server.close();
  await choose(page, '4=UTF-8\r\nJan <Honza> Novák\r\nAnn <!-- note\r\nBob\r\n');
  const shown = await page.$eval('[data-mistake="markup_in_name"]', (item) => item.textContent);
  check(shown.includes('prints as “Jan Novák”') && shown.includes('hides every tag after it'),
    `the warning of markup reads "${shown}"`);
}

// The preview: no frame without a sheet, no print of a sheet other than the one offered, and a
// phone's width showing a page whole.
async function checkPreview(page) {
  await choose(page, '');
  check(await page.evaluate(() => document.getElementById('preview').offsetHeight === 0 &&
    !document.getElementById('download').href && document.getElementById('print').disabled),
  'a list without names still shows a frame, or offers a sheet');

  await choose(page, '4=UTF-8\r\nAnna\r\n');
  await page.evaluate(() => {
    preview.printWith = (view) => { window.printed = view.document.body.textContent; };
    const box = document.getElementById('names');
    box.value += 'Zora\n';
    box.dispatchEvent(new Event('input'));
  });
  check(await page.$eval('#print', (button) => button.disabled),
    'Print stays on while the sheet offered is not the list typed');
  await page.waitForFunction(() => !document.getElementById('print').disabled);
  await page.click('#print');
  await page.waitForFunction(() => window.printed !== undefined);
  check(await page.evaluate(() => window.printed.includes('Zora')), 'Print printed an older sheet');

  await page.setViewport({ width: 390, height: 844 });
  await choose(page, names(50));
  const fits = await page.evaluate(() => {
    const frame = document.getElementById('preview');
    const sheet = frame.contentDocument.body.getBoundingClientRect();
    return document.documentElement.scrollWidth <= innerWidth &&
      sheet.right * parseFloat(frame.contentWindow.getComputedStyle(frame.contentDocument
        .documentElement).zoom || 1) <= frame.clientWidth + 1;
  });
  check(fits, 'at 390 px the page or its preview is wider than the screen');
  await page.setViewport({ width: 1280, height: 900 });
}

// The print document, as the Print button prepares it, printed at the engine's own settings
// (Chrome's margins are the page's own; Firefox's half an inch where a page names none; Safari's
// the paper's), on A4 and on Letter: the pages the guide promises, every right border whole.
const ENGINE_DEFAULTS = {
  chromium: {}, firefox: { margin: '0.5in', fitToPageWidth: true }, webkit: {},
};
const PRINT_LAYOUTS = [['4=UTF-8', 10], ['2=UTF-8', 9], ['6=UTF-8', 3]];
const TEN_NAMES = 'Anna=Novák\r\nBohdan Sedlák\r\nCyril=Hájek\r\nDana Malá\r\nEmil=Král\r\n' +
  'Františka Veselá\r\nGustav=Černý\r\nHana Horáková\r\nIvo=Němec\r\nJarmila Marková\r\n';

async function printDocument(page, list) {
  await choose(page, list);
  await page.evaluate(() => {
    window.printed = undefined;
    preview.printWith = (view) => { window.printed = view.document.documentElement.outerHTML; };
  });
  await page.click('#print');
  await page.waitForFunction(() => window.printed !== undefined);
  return page.evaluate(() => window.printed);
}

async function checkPrint(page, browser) {
  const address = page.url();
  const printed = [];
  for (const [settings, pages] of PRINT_LAYOUTS) {
    const file = join(scratch, `print-${settings[0]}.html`);
    writeFileSync(file, await printDocument(page, `${settings}\r\n${TEN_NAMES}`));
    printed.push([settings, pages, file]);
  }
  // WebKitGTK's driver has one page only: the page comes back after.
  const printing = engine === 'webkit' ? page : await browser.newPage();
  for (const [settings, pages, file] of printed) {
    await printing.goto(pathToFileURL(file).href);
    for (const paper of ['A4', 'Letter']) {
      const pdf = await printing.pdf({ ...pdfOptions({ paper, ...ENGINE_DEFAULTS[engine] }),
        displayHeaderFooter: engine === 'chromium' });
      const count = pageTexts(pdf).length;
      const [left, right] = borderRuns(pdf);
      console.log(`the page's print, ${settings} on ${paper}: ${count} pages, outer borders ` +
        `${left} and ${right} dots`);
      check(count === pages, `${settings} on ${paper}: ${count} pages, expected ${pages}`);
      check(right >= left - 1, `${settings} on ${paper}: the right border is cut (${left}, ${right})`);
    }
  }
  if (printing !== page) await printing.close();
  await page.goto(address);
  await settled(page);
}

// Spreadsheets into lists: workbooks LibreOffice made from guests.csv (tests/print/workbooks),
// that CSV as Excel saves it on a Central European Windows and as "Unicode text", and cells
// pasted; each must give these list bytes.
const GUESTS = '4=UTF-8\nJana Nováková=ACME s.r.o.\nPetr Dvořák=Škoda Auto, a.s.\n' +
  'Žofie Šťastná ml.=A=B Consulting\n';
const workbook = (name) => readFileSync(join(dirname(fileURLToPath(import.meta.url)), 'workbooks', name));
const guestsCsv = workbook('guests.csv').toString();
const IMPORT_CASES = [
  ['guests.csv', workbook('guests.csv'), GUESTS],
  ['guests.xlsx', workbook('guests.xlsx'), GUESTS],
  ['guests.ods', workbook('guests.ods'), GUESTS],
  ['excel.csv', encodeWindows1250(guestsCsv.replace(/,(?=(?:[^"]*"[^"]*")*[^"]*$)/g, ';')), GUESTS],
  ['unicode.txt', Buffer.from(`\uFEFF${guestsCsv.replace(/,(?=(?:[^"]*"[^"]*")*[^"]*$)/g, '\t')}`, 'utf16le'), GUESTS],
  ['hungarian.csv', 'Vezetéknév;Keresztnév;Cég\r\nNagy;Erzsébet;Főváros\r\n', '4=UTF-8\nNagy Erzsébet=Főváros\n'],
  ['german.csv', 'Vorname,Nachname\nJana,Nováková\n', '4=UTF-8\nJana=Nováková\n'],
  ['plain.csv', 'Anna,Novák\nBob,Král\n', '4=UTF-8\nAnna\nBob\n'],
];
// Files that make no list: the reason said, and the list in use kept.
const IMPORT_FAILURES = [
  ['locked.xlsx', zip([['xl/workbook.xml', '<workbook/>', 1]]), /password/],
  ['cut.xlsx', workbook('guests.xlsx').subarray(0, 3000), /cannot be read/],
  ['empty.csv', ';;\n;;\n', /holds no names/],
];

// A ZIP of [name, text, flags], stored, as few as a reader needs.
function zip(files) {
  const parts = [];
  const directory = [];
  let offset = 0;
  for (const [name, text, flags = 0] of files) {
    const [nameBytes, data] = [Buffer.from(name), Buffer.from(text)];
    const header = Buffer.alloc(30);
    header.writeUInt32LE(0x04034B50, 0);
    header.writeUInt16LE(flags, 6);
    header.writeUInt32LE(zlib.crc32(data), 14);
    header.writeUInt32LE(data.length, 18);
    header.writeUInt32LE(data.length, 22);
    header.writeUInt16LE(nameBytes.length, 26);
    const entry = Buffer.alloc(46);
    entry.writeUInt32LE(0x02014B50, 0);
    entry.writeUInt16LE(flags, 8);
    header.copy(entry, 16, 14, 26);
    entry.writeUInt16LE(nameBytes.length, 28);
    entry.writeUInt32LE(offset, 42);
    parts.push(header, nameBytes, data);
    directory.push(entry, nameBytes);
    offset += header.length + nameBytes.length + data.length;
  }
  const end = Buffer.alloc(22);
  end.writeUInt32LE(0x06054B50, 0);
  end.writeUInt16LE(files.length, 8);
  end.writeUInt16LE(files.length, 10);
  end.writeUInt32LE(directory.reduce((size, part) => size + part.length, 0), 12);
  end.writeUInt32LE(offset, 16);
  return Buffer.concat([...parts, ...directory, end]);
}

// An .xlsx of rows of text, as a workbook of one sheet holds them.
function xlsx(rows) {
  const cell = (text, at) => `<c r="${String.fromCharCode(65 + at)}" t="inlineStr"><is><t>${text}</t></is></c>`;
  return zip([
    ['xl/workbook.xml', '<workbook><sheets><sheet name="Hosté" r:id="rId1"/></sheets></workbook>'],
    ['xl/_rels/workbook.xml.rels', '<Relationships><Relationship Id="rId1" Target="worksheets/sheet1.xml"/></Relationships>'],
    ['xl/worksheets/sheet1.xml', `<worksheet><sheetData>${rows.map((row) =>
      `<row>${row.map(cell).join('')}</row>`).join('')}</sheetData></worksheet>`],
  ]);
}

const boxOf = (page) => page.$eval('#names', (names) => names.value);

async function checkPaste(page) {
  await choose(page, '');
  await page.evaluate((text) => {
    document.body.dataset.state = 'busy';
    const carried = new DataTransfer();
    carried.setData('text/plain', text);
    document.getElementById('names').dispatchEvent(new ClipboardEvent('paste',
      { clipboardData: carried, bubbles: true, cancelable: true }));
  }, 'Jméno\tPříjmení\tFirma\nJana\tNováková\tACME s.r.o.\n');
  await settled(page);
  check(await boxOf(page) === '4=UTF-8\nJana Nováková=ACME s.r.o.\n', 'the cells pasted give no list');
}

async function checkSpreadsheets(page) {
  for (const [name, bytes, expected] of IMPORT_CASES) {
    await choose(page, bytes, name);
    check(await boxOf(page) === expected, `${name} gives ${JSON.stringify(await boxOf(page))}`);
  }
  // A date shows as the workbook shows it, in a line the user picks.
  for (const name of ['guests.xlsx', 'guests.ods']) {
    await choose(page, workbook(name), name);
    await page.evaluate(() => { document.body.dataset.state = 'busy'; });
    await page.select('#mapping-line-2 select:nth-child(2)', '3');
    await settled(page);
    check((await boxOf(page)).includes('=ACME s.r.o. 2025-03-12\n'), `${name}: the date is not shown as it is`);
  }
  for (const [name, bytes, said] of IMPORT_FAILURES) {
    await choose(page, 'Anna\r\n');
    await page.evaluate(() => { document.getElementById('source').textContent = '…'; });
    await (await page.$('#file')).uploadFile(writeScratch(name, bytes));
    await page.waitForFunction(() => !['…', words.t('import.reading')]
      .includes(document.getElementById('source').textContent));
    const source = await page.$eval('#source', (note) => note.textContent);
    check(said.test(source) && await boxOf(page) === 'Anna\n', `${name}: says "${source}"`);
  }
  // Cells pasted into the box; Firefox gives a paste made by script no clipboard data.
  if (engine !== 'firefox') await checkPaste(page);

  // Rows by the ten thousand, quick, and by the two hundred thousand, without a hang.
  for (const count of [10000, 200000]) {
    const rows = [['Jméno', 'Příjmení'], ...Array.from({ length: count }, (_, at) => [`Jana ${at}`, 'Nováková'])];
    await watchTasks(page);
    const started = Date.now();
    await choose(page, xlsx(rows), 'big.xlsx');
    console.log(`an .xlsx of ${count.toLocaleString('en')} rows: the sheet shown ` +
      `${Date.now() - started} ms after it was chosen; the longest task ${await longestTask(page)} ms`);
    check(await page.$eval('#summary', (summary, tags) => summary.textContent.startsWith(tags),
      `${count.toLocaleString('en')} tags`), `no sheet of the .xlsx of ${count} rows`);
  }
}

// axe's WCAG 2.1 A and AA rules, as the page starts, with a list full of mistakes, and with a
// right list.
async function checkAccessibility(page) {
  const axe = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
  for (const list of [null, 'Jana=Nováková\r\n\r\nAnn <b>\rx\r\n', '4=UTF-8\r\nAnna\r\n']) {
    if (list !== null) await choose(page, list);
    // axe's source runs as the page's own code would, without an eval that its policy forbids.
    const found = await page.evaluate(`(async () => {
      if (!window.axe) { ${axe} }
      const { violations } = await window.axe.run(document,
        { runOnly: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'] });
      return violations.map((v) => v.id + ': ' + v.nodes.map((n) => n.target).join(' '));
    })()`);
    check(found.length === 0, `axe finds, with ${JSON.stringify(list)}: ${found.join('; ')}`);
  }
}

function names(count) {
  let list = '4=UTF-8\r\n';
  for (let name = 0; name < count; name++) list += `Jméno ${name}=Příjmení ${name}\r\n`;
  return list;
}


async function checkBigLists(page) {
  await watchTasks(page);
  const started = Date.now();
  await choose(page, names(10000));
  console.log(`10,000 names chosen: shown, with Download and Print, ${Date.now() - started} ms ` +
    `after the list was given; the longest task ${await longestTask(page)} ms`);
  check(await page.$eval('#preview', (frame) => frame.offsetHeight > 0 &&
    frame.contentDocument.querySelectorAll('table').length > 0), 'no preview of 10,000 names');

  await watchTasks(page);
  const typed = Date.now();
  await page.focus('#names');
  await page.keyboard.press('End');
  await page.evaluate(() => { document.body.dataset.state = 'typing'; });
  await page.keyboard.type('x');
  await settled(page);
  console.log(`a letter typed into 10,000 names: shown ${Date.now() - typed} ms after, ` +
    `the longest task ${await longestTask(page)} ms`);

  await watchTasks(page);
  const bigStarted = Date.now();
  await choose(page, names(200000));
  const offered = Date.now() - bigStarted;
  const size = await page.evaluate(async () =>
    (await (await fetch(document.getElementById('download').href)).blob()).size);
  console.log(`200,000 names: a sheet of ${size} bytes offered ${offered} ms after the list was ` +
    `given; the longest task ${await longestTask(page)} ms`);
  check(size > 80e6, `the sheet of 200,000 names is ${size} bytes`);
  await page.click('#print');
  check(/too large/.test(await page.$eval('#print-state', (note) => note.textContent)),
    'no word on why a big sheet is not printed from the page');
}

const browser = await launchOrSkip(engine);
try {
  const page = await browser.newPage();
  // Firefox passes on the browser's own reports as errors of the page: the sheet's bytes that
  // its charset does not allow, and what the page's policy kept from loading, as it must.
  page.on('pageerror', (error) => check(/character encoding|Content-Security-Policy/.test(
    error.message), `the page threw: ${error.message}`));
  page.on('dialog', (dialog) => check(false, `a dialog opened: ${dialog.message()}`));
  await page.goto(pathToFileURL(resolve(pagePath)).href);
  await settled(page);
  await checkGoldenLists(page);
  await checkMistakes(page);
  await checkMarkup(page);
  await checkPrint(page, browser);
  await checkAccessibility(page);
  await checkSpreadsheets(page);
  await checkTexts(page);
  // What needs puppeteer's own input (typing, clicks, a drop, big files), which WebKitGTK's
  // driver here does without.
  if (engine !== 'webkit') {
    await checkEachWayIn(page);
    await checkFixes(page);
    await checkPreview(page);
    await checkBigLists(page);
    await checkLanguages(browser, page.url());
  }
} finally {
  await browser.close();
}
checker.finish();
