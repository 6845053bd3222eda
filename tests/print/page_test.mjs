// The browser page opened from disk in one engine: every golden list given to it through its
// file input, once dropped and once typed, makes the golden sheet that it offers for download,
// byte for byte; each of the tool's warnings shows, in words, for a list that has its mistake
// and not for a near one, and each mending mends it; markup in a name runs nothing and loads
// nothing; the preview fits a phone and shows no stale or empty sheet; axe finds nothing to
// fault; big lists stay quick (the times are reported, not asserted). The checks of tests/print/
// page/ follow: the page's work in one owner's hands, spreadsheets from any producer, the first
// minute of a new user, printing.
//
// usage: node page_test.mjs ENGINE PAGE     (ENGINE: chromium, firefox or webkit)
// Exits 77 (skipped) where the browser or puppeteer-core is missing, except under CI.
import { createServer } from 'node:http';
import { readFileSync, readdirSync, existsSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { createRequire } from 'node:module';
import { gzipSync } from 'node:zlib';
import { launchOrSkip, checks, watchTasks, longestTask } from './sheets.mjs';
import encodeWindows1250 from './windows1250.mjs';
import {
  boxOf, choose as chooseFile, keepBlobs, linkBytes, mistakesShown, moving, names, offers,
  printed, settled as settledAs, typeIntoBox, utf8,
} from './page_driver.mjs';
import TEXTS from '../../web/texts/all.js';
import checkWork from './page/work.mjs';
import checkSpreadsheets from './page/spreadsheets.mjs';
import checkFirstMinute from './page/first_minute.mjs';
import checkPrinting from './page/printing.mjs';

const PAGE_MOST_BYTES = 170 * 1024;
const [engine, pagePath] = process.argv.slice(2);
const cases = resolve(dirname(fileURLToPath(import.meta.url)), '..', 'golden', 'cases');
const checker = checks(`page.${engine}`);
const { check } = checker;

const pageBytes = readFileSync(pagePath);
console.log(`the page: ${pageBytes.length} bytes, ${gzipSync(pageBytes, { level: 9 }).length} gzipped`);
check(pageBytes.length <= PAGE_MOST_BYTES, `the page is ${pageBytes.length} bytes`);

const settled = (page, expected) => settledAs(page, check, expected);
// A print choice changed, the list checked again for it.
async function toggle(page, id) {
  await moving(page);
  await page.click(`#${id}`);
  await settled(page);
}
const choose = (page, bytes, name, expected) => chooseFile(page, check, bytes, name, expected);
const golden = (name) => readFileSync(join(cases, name, 'expected.html'));

async function checkGoldenLists(page) {
  for (const name of readdirSync(cases)) {
    const list = join(cases, name, 'Korvela.txt');
    if (!existsSync(list)) continue;
    const bytes = readFileSync(list);
    // A list saved as UTF-16 is turned into UTF-8 (page/first_minute.mjs).
    if (bytes[0] === 0xFF && bytes[1] === 0xFE) continue;
    await choose(page, bytes);
    const expected = golden(name);
    // A sheet without tags is not offered.
    const offered = await offers(page, 'download');
    check(offered === expected.includes('<table'), `${name}: offered ${offered}`);
    if (offered) check((await linkBytes(page, 'download')).equals(expected), `${name}: the sheet differs`);
    check((await linkBytes(page, 'save-list')).equals(bytes),
      `${name}: the list saved is not the list chosen`);
  }
}

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

  await moving(page);
  await page.click('#names', { clickCount: 3 });
  await page.evaluate(() => document.getElementById('names').select());
  await page.keyboard.type('Anna\nBohdan\nCyril\n');
  await settled(page);
  check((await linkBytes(page, 'download')).equals(golden('three-names-four-panel')),
    'the names typed do not make their sheet');

  const dropped = [...readFileSync(join(cases, 'czech-windows-1250', 'Korvela.txt'))];
  await page.evaluate((bytes) => {
    document.body.dataset.state = 'moving';
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

// Each mistake on a list that has it, and a near list that has none; a file that is no list
// of names is refused whole, its reason said in place of the sheet.
const MISTAKE_CASES = [
  ['4=UTF-8\r\nŽofie\r\n', []],
  ['Žofie\r\nAnna\r\n', ['utf8_not_declared']],
  [encodeWindows1250('Žofie\r\nAnna\r\n'), []],
  [Buffer.concat([utf8('4=UTF-8\r\n'), encodeWindows1250('Žofie\r\n')]), ['declared_utf8_not_saved']],
  ['\uFEFF4=UTF-8\r\nAnna\r\n', []],
  ['Jana=Nováková\r\nPetr\r\n', ['name_as_settings_line']],
  ['4=UTF-8\r\nJana=Nováková\r\n', []],
  ['6 = UTF-8\r\nAnna\r\n', ['spaced_settings_line']],
  [' 6=UTF-8 \r\nAnna\r\n', []],
  ['4=\r\nAnna\r\n\r\n', ['empty_tag']],
  [`4=\r\n${'a '.repeat(100)}\r\n`, ['line_over_read', 'name_over_lines']],
  [`4=\r\n${'a '.repeat(99)}\r\n`, ['name_over_lines']],
  ['4=\r\nAnna\rBob\r\n', ['text_after_return']],
  ['4=\r\nAnna\r\r\n', []],
  ['2=UTF-8\r\nKrzysztof Dvořáková-Procházková\r\n', ['name_over_lines']],
  ['2=UTF-8\r\nAlžběta Wiśniewska=ACME s.r.o.\r\n', []],
  ['%PDF-1.4\n1 0 obj\n', [], 'refused'],
  [Buffer.from('89504e470d0a1a0a0000000d49484452', 'hex'), [], 'refused'],
  ['MZ Holding\r\nAnna\r\n', []],
  ['4=ISO-8859-2\r\nAnna\r\n', ['unknown_charset']],
  ['4=utf-8\r\nAnna\r\n', []],
  ['4=\r\nAnna\r\n\x1aBob\r\n', ['list_ends_early']],
  ['4=\r\nAnna\r\nBob\r\n\x1a', []],
  ['4=UTF-8\r\nJan <Honza> Novák\r\n', ['markup_in_name']],
  ['4=UTF-8\r\nSmith & Wesson\r\nAT&T\r\nR&D Team\r\n3 < 5 Club\r\nJan &lt;Honza&gt;\r\n', []],
  ['', ['no_names']],
];

const languagesOf = (page) => page.$$eval('#language option', (options) => options.map((o) => o.value));

// Every mistake in words, whole, in every language: no {name} left unfilled. The long names
// are warned of as the tool's sheet has them: with each name fitted to its tag, only a name
// that does not fit even at half the size is (page/printing.mjs).
async function checkMistakes(page) {
  const languages = await languagesOf(page);
  await toggle(page, 'print-fit');
  for (const [list, expected, state] of MISTAKE_CASES) {
    await choose(page, list, 'Korvela.txt', state);
    const shown = await mistakesShown(page);
    check(JSON.stringify(shown) === JSON.stringify(expected),
      `${JSON.stringify(String(list))}: shows ${shown}, expected ${expected}`);
    for (const language of languages) {
      await page.select('#language', language);
      const texts = await page.$$eval('#mistakes li, #summary', (items) =>
        items.map((item) => item.textContent));
      for (const text of texts) {
        check(text.length > 20 && !/[{}]/.test(text), `in ${language} a mistake reads "${text}"`);
      }
    }
    await page.select('#language', 'en');
  }
  await toggle(page, 'print-fit');
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
    const [lang, heading] = await page.evaluate(() => [document.documentElement.lang,
      document.getElementById('list-heading').textContent]);
    check(lang === language && heading === TEXTS[language].list,
      `a browser in ${language} shows ${lang}: ${heading}`);
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

// Each mending a mistake offers, on a file as chosen: the list it leaves, from its start, and
// no mistake after; the layout control, which keeps the list's charset.
// A settings line put in front of a name is for the layout in use: 1, then 6.
const FIX_CASES = [
  ['Žofie\r\nAnna\r\n', '4=UTF-8\r\nŽofie'],
  ['Jana=Nováková\r\nPetr\r\n', '4=UTF-8\r\nJana=Nováková'],
  ['6= utf8\r\nŽofie\r\n', '6=UTF-8\r\nŽofie'],
  ['6 = UTF-8\r\nŽofie\r\n', '6=UTF-8\r\nŽofie'],
  [encodeWindows1250('Stůl 6=Nováková\r\nPetr\r\n'), encodeWindows1250('6=\r\nStůl 6=Nováková')],
  ['4=\r\nAnna\r\nBob\r\n\r\n \r\n', '4=\r\nAnna\r\nBob\r\n'],
  ['4=UTF-8\r\nJan <Honza> & AT&amp;T\r\n', '4=UTF-8\r\nJan &lt;Honza> &amp; AT&amp;T\r\n'],
];

async function checkFixes(page) {
  for (const [list, mended] of FIX_CASES) {
    await choose(page, list);
    await moving(page);
    await page.click('#mistakes button');
    await settled(page);
    const saved = await linkBytes(page, 'save-list');
    check(saved.subarray(0, Buffer.from(mended).length).equals(Buffer.from(mended)) &&
      (await mistakesShown(page)).length === 0,
    `${JSON.stringify(String(list))}: the mending left ${JSON.stringify(String(saved))}`);
  }
  await moving(page);
  await page.select('#layout', '6');
  await settled(page);
  check((await boxOf(page)).startsWith('6=UTF-8\nJan'),
    'the layout control does not write the settings line');
  await choose(page, encodeWindows1250('4=\r\nŽofie\r\n'));
  await moving(page);
  await page.select('#layout', '2');
  await settled(page);
  check((await linkBytes(page, 'save-list')).equals(encodeWindows1250('2=\r\nŽofie\r\n')),
    'the layout control does not keep the charset of a windows-1250 list');
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

  // Print pressed in the typing's pause prints what was typed.
  await choose(page, '4=UTF-8\r\nAnna\r\n');
  const printedText = printed(page, async () => {
    await page.evaluate(() => {
      const box = document.getElementById('names');
      box.value += 'Zora\n';
      box.dispatchEvent(new Event('input'));
    });
    check(!(await page.$eval('#download', (link) => link.hasAttribute('href'))),
      'Download stays on while the sheet offered is not the list typed');
    await page.click('#print');
  });
  check((await printedText).includes('Zora'), 'Print printed an older sheet');

  // A page's mark stands where a printed page begins, pages filled or not.
  await choose(page, '2=UTF-8\r\nA\r\nB\r\nC\r\nD\r\nE\r\nF\r\n');
  for (const fill of [true, false]) {
    check(await page.$eval('#preview', (frame) => {
      const style = (p, part) => frame.contentWindow.getComputedStyle(p, part);
      return [...frame.contentDocument.querySelectorAll('p')].every((p) =>
        style(p, '::before').content.includes('counter') === (style(p).breakBefore === 'page'));
    }), `a page mark where no page begins (filled: ${fill})`);
    await page.click('#print-fill');
  }

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

// axe's WCAG 2.1 A and AA rules over the page in the states given: each a list, or a function
// that brings the state; with its name.
async function axeFinds(page, states) {
  const axe = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
  for (const [name, state] of states) {
    if (typeof state === 'function') await state();
    else if (state !== null) await choose(page, state);
    // axe's source runs as the page's own code would, without an eval that its policy forbids.
    const found = await page.evaluate(`(async () => {
      if (!window.axe) { ${axe} }
      const { violations } = await window.axe.run(document,
        { runOnly: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'] });
      return violations.map((v) => v.id + ': ' + v.nodes.map((n) => n.target).join(' '));
    })()`);
    check(found.length === 0, `axe finds, ${name}: ${found.join('; ')}`);
  }
}

const checkAccessibility = (page) => axeFinds(page, [['as the page starts', null],
  ['with a list full of mistakes', 'Jana=Nováková\r\n\r\nAnn <b>\rx\r\n'],
  ['with a right list', '4=UTF-8\r\nAnna\r\n']]);

async function checkBigLists(page) {
  await watchTasks(page);
  const started = Date.now();
  await choose(page, names(10000));
  console.log(`10,000 names chosen: shown, with Download and Print, ${Date.now() - started} ms ` +
    `after the list was given; the longest task ${await longestTask(page)} ms`);
  check(await page.$eval('#preview', (frame) => frame.offsetHeight > 0 &&
    frame.contentDocument.querySelectorAll('table').length > 0), 'no preview of 10,000 names');

  // A list that long is not shown in the box; pasted into the box, it is the box's.
  await typeIntoBox(page, check, names(10000).replace(/\r\n/g, '\n'));
  check(await page.$eval('#names', (box) => box.readOnly === false), 'the box of names typed is read-only');
  await choose(page, names(10000));
  check(await page.$eval('#names', (box) => box.readOnly && box.value === ''),
    'a list too long for the box may be typed over');
  await typeIntoBox(page, check, names(10000).replace(/\r\n/g, '\n'));
  await watchTasks(page);
  const typed = Date.now();
  await page.focus('#names');
  await page.keyboard.press('End');
  await moving(page);
  await page.keyboard.type('x');
  await settled(page);
  console.log(`a letter typed into 10,000 names: shown ${Date.now() - typed} ms after, ` +
    `the longest task ${await longestTask(page)} ms`);

  await watchTasks(page);
  const bigStarted = Date.now();
  await choose(page, names(200000));
  const [offered, longest] = [Date.now() - bigStarted, await longestTask(page)];
  const size = (await linkBytes(page, 'download')).length;
  console.log(`200,000 names: a sheet of ${size} bytes offered ${offered} ms after the list was ` +
    `given; the longest task ${longest} ms`);
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
  // Leaving a list made here and not saved asks first (page/work.mjs); the tests leave anyway.
  page.on('dialog', (dialog) => {
    check(dialog.type() === 'beforeunload', `a dialog opened: ${dialog.message()}`);
    dialog.accept();
  });
  await keepBlobs(page);
  await page.goto(pathToFileURL(resolve(pagePath)).href);
  await settled(page);
  const context = { check, engine, browser, pagePath, axeFinds };
  await checkGoldenLists(page);
  await checkMistakes(page);
  await checkMarkup(page);
  await checkAccessibility(page);
  await checkSpreadsheets(page, context);
  await checkPrinting(page, context);
  // What needs puppeteer's own input (typing, clicks, a drop, big files), which WebKitGTK's
  // driver here does without.
  if (engine !== 'webkit') {
    await checkEachWayIn(page);
    await checkFixes(page);
    await checkPreview(page);
    await checkWork(page, context);
    await checkFirstMinute(page, context);
    await checkBigLists(page);
    await checkLanguages(browser, page.url());
  }
} finally {
  await browser.close();
}
checker.finish();
