// The browser page opened from disk in one engine: every golden list given to it through its
// file input, once dropped and once typed, makes the golden sheet that it offers for download,
// byte for byte; each of the tool's warnings shows for a list that has its mistake and not for
// a near one; markup in a name runs nothing and loads nothing; big lists still give a sheet.
//
// usage: node page_test.mjs ENGINE PAGE     (ENGINE: chromium, firefox or webkit)
// Exits 77 (skipped) where the browser or puppeteer-core is missing, except under CI.
import { createServer } from 'node:http';
import { mkdtempSync, readFileSync, readdirSync, existsSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';
import { launchOrSkip, checks } from './sheets.mjs';
import encodeWindows1250 from './windows1250.mjs';

const PAGE_MOST_BYTES = 100 * 1024;
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
  const file = join(scratch, name);
  writeFileSync(file, bytes);
  await page.evaluate(() => { document.body.dataset.state = 'busy'; });
  const input = await page.$('#file');
  await input.uploadFile(file);
  await settled(page);
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
    check((await linkBytes(page, 'download')).equals(expected), `${name}: the sheet differs`);
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
  [`4=\r\n${'a'.repeat(200)}\r\n`, ['line_over_read']],
  [`4=\r\n${'a'.repeat(198)}\r\n`, []],
  ['4=\r\nAnna\rBob\r\n', ['text_after_return']],
  ['4=\r\nAnna\r\r\n', []],
  [`2=UTF-8\r\n${LONG} Procházková\r\n`, ['name_over_lines']],
  [`2=UTF-8\r\n${LONG}\r\n`, []],
  ['%PDF-1.4\n\x01\x02\x03\n', ['not_text']],
  ['', ['no_names']],
];

async function checkMistakes(page) {
  for (const [list, expected] of MISTAKE_CASES) {
    await choose(page, list);
    const shown = await mistakesShown(page);
    check(JSON.stringify(shown) === JSON.stringify(expected),
      `${JSON.stringify(String(list))}: shows ${shown}, expected ${expected}`);
  }
}

// The fix declares UTF-8 in the box, where the user sees it, and the warning goes; the layout
// control writes the settings line.
async function checkFixes(page) {
  await choose(page, 'Žofie\r\nAnna\r\n');
  await page.evaluate(() => { document.body.dataset.state = 'busy'; });
  await page.click('#mistakes button');
  await settled(page);
  const box = await page.$eval('#names', (names) => names.value);
  check(box.startsWith('4=UTF-8\nŽofie'), `the fix left the box as ${JSON.stringify(box)}`);
  check((await mistakesShown(page)).length === 0, 'the fix leaves a warning');
  await page.evaluate(() => { document.body.dataset.state = 'busy'; });
  await page.select('#layout', '6');
  await settled(page);
  check((await page.$eval('#names', (names) => names.value)).startsWith('6=UTF-8\n'),
    'the layout control does not write the settings line');
}

// Markup in names reaches the sheet as markup, and does nothing: no script runs, nothing loads.
async function checkMarkup(page) {
  let requests = 0;
  const server = createServer((request, response) => { requests++; response.end(); });
  await new Promise((done) => server.listen(0, '127.0.0.1', done));
  const address = `http://127.0.0.1:${server.address().port}`;
  // Each name's first "=" is a line break: one at its start leaves the markup whole.
  await choose(page, `4=UTF-8\r\n=<script>top.ran = 'script'</script>\r\n` +
    `=<img src=x onerror="top.ran = 'onerror'">\r\n=<img src="${address}/picture.png">\r\n` +
    `=<link rel=stylesheet href="${address}/style.css">\r\n`);
  await new Promise((done) => setTimeout(done, 500));
  const ran = await page.evaluate(() => window.ran);
  check(ran === undefined, `a name ran markup: ${ran}`);
  const pictures = await page.$eval('#preview',
    (frame) => frame.contentDocument.querySelectorAll('img').length);
  check(pictures === 4, `the preview holds ${pictures} pictures of the names, not twice 2`);
  check(requests === 0, `markup in a name made ${requests} requests`);
  check(await page.$eval('#preview', (frame) => typeof frame.contentWindow.print === 'function'),
    'the print button cannot reach the sheet');
  server.close();
}

function names(count) {
  let list = '4=UTF-8\r\n';
  for (let name = 0; name < count; name++) list += `Jméno ${name}=Příjmení ${name}\r\n`;
  return list;
}

async function checkBigLists(page) {
  const started = Date.now();
  await choose(page, names(10000));
  console.log(`10,000 names: previewed ${Date.now() - started} ms after the list was given`);
  check(await page.$eval('#preview', (frame) => !frame.hidden), 'no preview of 10,000 names');

  const bigStarted = Date.now();
  await choose(page, names(200000));
  const size = await page.evaluate(async () =>
    (await (await fetch(document.getElementById('download').href)).blob()).size);
  console.log(`200,000 names: a sheet of ${size} bytes offered ${Date.now() - bigStarted} ms ` +
    'after the list was given');
  check(size > 80e6, `the sheet of 200,000 names is ${size} bytes`);
  check(await page.$eval('#no-preview', (note) => !note.hidden && note.textContent !== ''),
    'no word on the preview a big sheet goes without');
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
  // What needs puppeteer's own input (typing, clicks, a drop, big files), which WebKitGTK's
  // driver here does without.
  if (engine !== 'webkit') {
    await checkEachWayIn(page);
    await checkFixes(page);
    await checkBigLists(page);
  }
} finally {
  await browser.close();
}
checker.finish();
