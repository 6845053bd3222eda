// What the page tests do to the page, as a user does it (a file chosen or dropped, cells
// pasted, a button pressed), and what they read back: the page's state, its box, its mistakes,
// the bytes behind its links, the document its Print prints. Shared by page_test.mjs and the
// page's checks in tests/print/page/.
import { mkdtempSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const scratch = mkdtempSync(join(tmpdir(), 'korvela-page-'));
const SETTLED = ['ready', 'failed', 'refused'];

export function writeScratch(name, bytes) {
  const file = join(scratch, name);
  writeFileSync(file, bytes);
  return file;
}

// The blobs the page offers, kept by their addresses as the page makes them: the page's own
// policy lets no fetch read them back.
export const keepBlobs = (page) => page.evaluateOnNewDocument(() => {
  window.korvelaBlobs = new Map();
  const make = URL.createObjectURL;
  URL.createObjectURL = (blob) => {
    const address = make(blob);
    window.korvelaBlobs.set(address, blob);
    return address;
  };
});

// Marks the page as moving, so that settled() waits for the work that follows.
export const moving = (page) => page.evaluate(() => { document.body.dataset.state = 'moving'; });

// Waits for the page to settle after work: its state, the one expected where given.
export async function settled(page, check, expected = 'ready') {
  await page.waitForFunction((states) => states.includes(document.body.dataset.state),
    { timeout: 60000 }, SETTLED);
  const state = await page.$eval('body', (body) => body.dataset.state);
  check(state === expected, `the page is ${state}, not ${expected}: ${
    await page.$eval('#summary', (p) => p.textContent)} ${await page.$eval('#source', (p) => p.textContent)}`);
  return state;
}

// Gives the page a file through its file input, as a user choosing a file does.
export async function choose(page, check, bytes, name = 'Korvela.txt', expected = 'ready') {
  await moving(page);
  await (await page.$('#file')).uploadFile(writeScratch(name, bytes));
  return settled(page, check, expected);
}

// The bytes behind a link of the page: the sheet it offers, or the list it saves.
export async function linkBytes(page, link) {
  const text = await page.evaluate(async (id) => {
    const blob = window.korvelaBlobs.get(document.getElementById(id).href);
    if (!blob) return null;
    return new Promise((done) => {
      const reader = new FileReader();
      reader.onload = () => done(reader.result.split(',')[1]);
      reader.readAsDataURL(blob);
    });
  }, link);
  return text === null ? null : Buffer.from(text, 'base64');
}

export const offers = (page, link) => page.$eval(`#${link}`, (element) => element.hasAttribute('href'));

export const boxOf = (page) => page.$eval('#names', (names) => names.value);

export const mistakesShown = (page) => page.$$eval('#mistakes li', (items) =>
  items.map((item) => item.dataset.mistake));

// Cells pasted into the box, as a spreadsheet puts them on the clipboard.
export async function paste(page, check, text, expected = 'ready') {
  await page.evaluate((pasted) => {
    document.body.dataset.state = 'moving';
    const carried = new DataTransfer();
    carried.setData('text/plain', pasted);
    document.getElementById('names').dispatchEvent(new ClipboardEvent('paste',
      { clipboardData: carried, bubbles: true, cancelable: true }));
  }, text);
  return settled(page, check, expected);
}

// The box's text replaced as by typing, the sheet waited for.
export async function typeIntoBox(page, check, text) {
  await page.evaluate((typed) => {
    document.body.dataset.state = 'moving';
    const names = document.getElementById('names');
    names.value = typed;
    names.dispatchEvent(new Event('input', { bubbles: true }));
  }, text);
  return settled(page, check);
}

// The document the Print button prints: the print frame's, taken where the frame would print.
export async function printed(page, act = () => page.click('#print')) {
  await page.evaluate(() => {
    window.printed = undefined;
    const frame = document.getElementById('print-frame');
    frame.contentWindow.print = () => { window.printed = frame.contentDocument.documentElement.outerHTML; };
  });
  await act();
  await page.waitForFunction(() => window.printed !== undefined, { timeout: 60000 });
  return page.evaluate(() => window.printed);
}

export const utf8 = (text) => Buffer.from(text, 'utf8');

export function names(count) {
  let list = '4=UTF-8\r\n';
  for (let name = 0; name < count; name++) list += `Jméno ${name}=Příjmení ${name}\r\n`;
  return list;
}
