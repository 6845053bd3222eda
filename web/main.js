// The page's wiring: where a list comes from (the box, a file, a spreadsheet, cells pasted, a
// mending, the layout, an undo), each as one piece of work that the next one ends; the tool's
// runs over the list; and what the page shows of them.
import korvelaModule from 'korvela-module';
import packedWasm from 'korvela-wasm';
import * as box from './box.js';
import { FIXES } from './fixes.js';
import { startingSheet, visibleSheets } from './importing.js';
import * as mapping from './mapping.js';
import * as mappingView from './mapping_view.js';
import * as mistakes from './mistakes.js';
import * as view from './page_view.js';
import * as preview from './preview.js';
import * as printing from './print.js';
import { decode, holdsCells, layoutOf } from './read/delimited.js';
import { isFailure } from './read/failure.js';
import { readWorkbook } from './read/spreadsheet.js';
import { isZip } from './read/zip.js';
import * as store from './store.js';
import * as tool from './tool.js';
import * as words from './words.js';
import * as work from './work.js';

const TYPING_PAUSE_MS = 300;
const PAINT_FIRST_BYTES = 32 * 1024;
const $ = (id) => document.getElementById(id);

let facts = null; // what the tool found in the list held
let sheet = null; // the sheet's chunks, offered while they are the list's held

const percent = (share) =>
  new Intl.NumberFormat(words.currentLanguage(), { style: 'percent' }).format(share);
const paint = () => new Promise((done) => requestAnimationFrame(() => setTimeout(done)));

// ---- The sheet of the list held

// Nothing to download or print while no sheet is the list's.
function withdrawSheet() {
  sheet = null;
  view.offer('download', null);
  $('print').disabled = true;
}

function fail(message) {
  withdrawSheet();
  preview.clear();
  $('summary').textContent = message;
  view.setState('failed');
}

const nextTurn = () => new Promise((done) => setTimeout(done));

// What the tool finds in the list, and its first pages; then, a turn later, the whole sheet to
// download and print. A long list shows the page busy first.
async function refresh(signal, known = null) {
  withdrawSheet();
  view.setState('busy');
  const list = store.list();
  if (list.bytes.length > PAINT_FIRST_BYTES) await paint();
  if (signal.aborted) return;
  try {
    facts = known ?? tool.check(list.bytes);
    view.offer('save-list', new Blob([list.bytes]));
    $('layout').value = facts.layout === 1 ? '4' : String(facts.layout);
    view.showFacts(facts, list, $('print-fill').checked, mend);
    showPrintChoice();
    // No sheet without tags: nothing to download, show or print.
    if (facts.tags === 0) {
      preview.clear();
      view.setState('ready');
      return;
    }
    preview.show(list.bytes, facts, $('print-fill').checked);
    await nextTurn();
    if (signal.aborted) return;
    const written = tool.sheet(list.bytes);
    if (written.status !== 0) {
      fail(words.t('error.write'));
      return;
    }
    sheet = written.chunks;
    view.offer('download', new Blob(sheet, { type: 'text/html' }));
    $('print').disabled = false;
    view.setState('ready');
  } catch (error) {
    fail(words.t('error.any', { reason: error.message }));
  }
}

// ---- The list held, shown

// A list too long for the box is not in it; nor may the box be typed in then, which would
// make a list of what is typed in place of it, but a new list may be begun.
function showList(list) {
  if (list.box !== null && $('names').value !== list.box) $('names').value = list.box;
  if (list.box === null) $('names').value = '';
  $('names').readOnly = list.box === null;
  $('new-list').hidden = list.box !== null;
  $('too-long').hidden = list.box !== null;
  view.say('source', view.sourceText(list));
  $('undo').hidden = !store.canUndo();
  if (list.importing) mappingView.show(list.importing);
  else mappingView.hide();
}

// A list in place of the one held, with an Undo back to it; or, from the box's own typing,
// without one.
function commit(next, signal, { typed = false, facts: known = null } = {}) {
  signal.throwIfAborted();
  if (typed) store.edit(next);
  else store.replace(next);
  showList(next);
  return refresh(signal, known);
}

// A list of bytes, in the box if it shows them; a list that replaces one the box shows stays
// in the box however long.
const fromBytes = (bytes, origin, extra = {}, inBox = false) =>
  ({ bytes, origin, box: box.textOf(bytes, inBox), importing: null, unsaved: true, ...extra });

// Any work that fails says so, and keeps the list held; work ended by later work says nothing.
async function doing(act) {
  try {
    await act();
  } catch (error) {
    if (work.wasEnded(error)) return;
    view.setState('ready');
    if (isFailure(error)) view.say('source', words.t(`import.${error.reason}`));
    else fail(words.t('error.any', { reason: error.message }));
  }
}

// ---- The box

// The box's text as the list: UTF-8, and a settings line that says so where its letters need
// it, shown in the box, the caret kept where it was in the text.
function useBox(signal) {
  const names = $('names');
  let bytes = box.bytesOf(names.value);
  let found = tool.check(bytes);
  if (found.text === 'utf8_letters' && found.charset !== 'UTF-8') {
    bytes = tool.withSettingsLine(bytes, found.layout, 'UTF-8');
    const [before, text] = [names.value, box.textOf(bytes, true).replace(/\r\n/g, '\n')];
    const [start, end] = [names.selectionStart, names.selectionEnd];
    names.value = text;
    if (document.activeElement === names) {
      names.setSelectionRange(box.caretAfter(before, text, start), box.caretAfter(before, text, end));
    }
    found = null;
  }
  return commit({ bytes, origin: { kind: 'box' }, box: names.value, importing: null,
    unsaved: true }, signal, { typed: true, facts: found });
}

// ---- Files and spreadsheets

// A settings line for the layout in use, then the names, a line each.
function listOfNames(lines) {
  const settings = tool.withSettingsLine(new Uint8Array(), facts ? facts.layout : 1, 'UTF-8');
  const head = new TextDecoder().decode(settings).replace(/\r\n/g, '\n');
  return `${head}${lines.map((line) => `${line}\n`).join('')}`;
}

function commitImport(importing, signal) {
  const { lines, duplicates } = mapping.namesOf(importing.choice, words.currentLanguage());
  const text = listOfNames(lines);
  const bytes = box.bytesOf(text);
  return commit({ bytes, box: bytes.length <= box.BOX_MOST_BYTES ? text : null, importing,
    unsaved: true,
    origin: { kind: importing.kind, name: importing.name, rows: lines.length, duplicates } },
  signal);
}

const readingSaid = (share) => view.say('source', `${words.t('import.reading')} ${percent(share)}`);

async function importSpreadsheet(name, source, kind, signal) {
  view.setState('reading');
  view.say('source', words.t('import.reading'));
  const workbook = await readWorkbook(name, source, { signal });
  const [sheetAt, rows] = await startingSheet(workbook, { signal, progress: readingSaid });
  signal.throwIfAborted();
  if (rows.length === 0) {
    view.setState('ready');
    return view.say('source', words.t('import.empty', { sheet: name || '' }));
  }
  return commitImport({ name, kind, workbook, sheets: visibleSheets(workbook), sheetAt,
    choice: mapping.firstChoice(rows) }, signal);
}

// A change in the mapping step: another sheet, or another choice of the one shown.
function changeImport(change) {
  const signal = work.begin();
  const { importing } = store.list();
  return doing(async () => {
    if (change.sheetAt === undefined) {
      const choice = { ...importing.choice, ...change };
      if ('headingsAt' in change) choice.lines = mapping.linesUnder(choice.rows, change.headingsAt);
      return commitImport({ ...importing, choice }, signal);
    }
    const sheet = importing.workbook.sheets[change.sheetAt];
    const rows = await sheet.rows({ signal, progress: readingSaid });
    signal.throwIfAborted();
    if (rows.length === 0) {
      mappingView.show(importing);
      return view.say('source', words.t('import.empty', { sheet: sheet.name }));
    }
    return commitImport({ ...importing, sheetAt: change.sheetAt,
      choice: mapping.firstChoice(rows) }, signal);
  });
}

// A list that already is one, by the tool's own reading: a settings line first, as the guide
// tells users to put into cell A1 of a one-column CSV for korvela.exe, and no separator after.
const isListAlready = (found, separator) => found.hasSettingsLine && separator === null &&
  ['name_as_settings_line', 'spaced_settings_line', 'unknown_charset']
    .every((mistake) => found.mistakes[mistake].count === 0);

const isUtf16 = (bytes) => (bytes[0] === 0xFF && bytes[1] === 0xFE) ||
  (bytes[0] === 0xFE && bytes[1] === 0xFF);

// A file: a workbook or cells as text through the mapping step, a list saved as UTF-16 turned
// into UTF-8, a list as it is; a file that is no list is said, and the list held stays.
async function takeFile(name, bytes, signal) {
  const found = tool.check(bytes);
  const noList = () => refuse(mistakes.of(found, bytes).map((mistake) => mistake.text).join(' '));
  if (isZip(bytes) && found.kind !== 'document_file') {
    try {
      return await importSpreadsheet(name, bytes, 'spreadsheet', signal);
    } catch (error) {
      if (error.reason === 'not_spreadsheet') return noList();
      throw error;
    }
  }
  if (found.kind !== 'plain_text') return noList();
  const start = decode(bytes.subarray(0, 65536));
  const cellsAsText = /\.(csv|tsv)$/i.test(name) ||
    ((/\.txt$/i.test(name) || isUtf16(bytes)) && holdsCells(start));
  if (cellsAsText && !isListAlready(found, layoutOf(start).separator)) {
    return importSpreadsheet(name, bytes, 'spreadsheet', signal);
  }
  const origin = { kind: 'file', name, size: bytes.length };
  if (isUtf16(bytes)) {
    const utf8 = box.bytesOf(decode(bytes));
    const inUtf8 = tool.withSettingsLine(utf8, tool.check(utf8).layout, 'UTF-8');
    return commit(fromBytes(inUtf8, { ...origin, converted: true }), signal);
  }
  return commit(fromBytes(bytes, origin, { unsaved: false }), signal, { facts: found });
}

// A file that is no list: said in place of the sheet, nothing offered, the list held kept.
function refuse(said) {
  withdrawSheet();
  preview.clear();
  view.showMistakes([], mend);
  $('summary').textContent = said;
  view.setState('refused');
}

function readFile(file) {
  const signal = work.begin();
  $('file-name').textContent = file.name;
  view.setState('reading');
  return doing(async () => {
    const bytes = new Uint8Array(await file.arrayBuffer());
    signal.throwIfAborted();
    await takeFile(file.name, bytes, signal);
  });
}

// Cells copied from a spreadsheet arrive as lines of tab-separated text.
function pasteCells(event) {
  const text = event.clipboardData.getData('text/plain');
  if (!holdsCells(text)) return;
  event.preventDefault();
  const signal = work.begin();
  doing(() => importSpreadsheet('', text, 'cells', signal));
}

// ---- Mendings, the layout, Undo

function mend({ fix, value }) {
  const signal = work.begin();
  const list = store.list();
  doing(() => commit(fromBytes(FIXES[fix](list.bytes, facts, value), list.origin, {},
    list.box !== null), signal));
}

function chooseLayout() {
  const signal = work.begin();
  const list = store.list();
  const bytes = tool.withSettingsLine(list.bytes, Number($('layout').value), 'keep');
  doing(() => commit({ ...fromBytes(bytes, { ...list.origin, layoutWritten: true }, {},
    list.box !== null), importing: list.importing }, signal));
}

function beginNewList() {
  const signal = work.begin();
  doing(() => commit({ bytes: new Uint8Array(), origin: { kind: 'box' }, box: '', importing: null,
    unsaved: false }, signal));
  $('names').focus();
}

function undo() {
  const signal = work.begin();
  const list = store.undo();
  showList(list);
  doing(() => refresh(signal));
}

// ---- Printing

// Filling pages, where it saves any: each way's pages on A4.
function showPrintChoice() {
  const [sheetPages, filledPages] = facts.printedPages.A4;
  $('print-fill-choice').hidden = filledPages === sheetPages;
  view.say('print-fill-pages', words.t('print.fillPages', {
    filled: words.t('pages', { count: filledPages }), sheet: words.t('pages', { count: sheetPages }) }));
}

// Prints the sheet offered; a later list ends the printing unprinted.
async function printSheet() {
  if (!sheet) return;
  const note = (text) => view.say('print-state', text);
  if (!printing.printable(sheet)) {
    note(words.t('print.tooLarge', { size: words.size(printing.sizeOf(sheet)) }));
    return;
  }
  const signal = work.ongoing();
  $('print').disabled = true;
  try {
    await printing.print($('print-frame'), sheet, { charset: facts.charset, layout: facts.layout,
      fill: $('print-fill').checked, signal,
      progress: (share) => note(words.t('print.preparing', { percent: percent(share) })) });
  } catch (error) {
    if (!work.wasEnded(error)) throw error;
  } finally {
    note('');
    $('print').disabled = signal.aborted || !sheet;
  }
}

// ---- The page

function showTexts() {
  document.title = words.t('title');
  words.showAll();
  const list = store.list();
  if (!list || list.origin.kind !== 'file') $('file-name').textContent = words.t('noFile');
  $('language').replaceChildren(...words.languages().map((language) =>
    Object.assign(new Option(words.languageName(language), language), { lang: language })));
  $('language').value = words.currentLanguage();
  view.forget();
  if (!list) return;
  view.say('source', view.sourceText(list));
  if (list.importing) mappingView.show(list.importing);
  if (facts && document.body.dataset.state === 'ready') {
    view.showFacts(facts, list, $('print-fill').checked, mend);
    showPrintChoice();
  }
  preview.fit();
}

function wireBox() {
  let typing = null;
  $('names').addEventListener('paste', pasteCells);
  $('names').addEventListener('input', () => {
    const signal = work.begin();
    $('print').disabled = true;
    clearTimeout(typing);
    typing = setTimeout(() => doing(() => useBox(signal)), TYPING_PAUSE_MS);
  });
}

function wireFiles() {
  // Cleared, so that the same file chosen again is read again; its name stays beside the button.
  $('file').addEventListener('change', () => {
    const file = $('file').files[0];
    if (file) readFile(file).finally(() => { $('file').value = ''; });
  });
  const carriesFiles = (event) => [...event.dataTransfer.types].includes('Files');
  addEventListener('dragover', (event) => {
    if (!carriesFiles(event)) return;
    event.preventDefault();
    document.body.classList.add('dropping');
  });
  addEventListener('dragleave', () => document.body.classList.remove('dropping'));
  addEventListener('drop', (event) => {
    document.body.classList.remove('dropping');
    if (!carriesFiles(event)) return;
    event.preventDefault();
    if (event.dataTransfer.files[0]) readFile(event.dataTransfer.files[0]);
  });
}

function wire() {
  wireBox();
  wireFiles();
  mappingView.wire({ chooseSheet: (sheetAt) => changeImport({ sheetAt }), change: changeImport });
  $('layout').addEventListener('change', chooseLayout);
  $('undo').addEventListener('click', undo);
  $('new-list').addEventListener('click', beginNewList);
  $('save-list').addEventListener('click', () => { store.list().unsaved = false; });
  $('print').addEventListener('click', printSheet);
  $('print-fill').addEventListener('change', () => {
    view.showFacts(facts, store.list(), $('print-fill').checked, mend);
    if (sheet) preview.show(store.list().bytes, facts, $('print-fill').checked);
  });
  // Ctrl+P prints the sheet, as the Print button does, not the page's own controls.
  addEventListener('keydown', (event) => {
    if ((event.ctrlKey || event.metaKey) && event.key.toLowerCase() === 'p' && !event.altKey) {
      event.preventDefault();
      printSheet();
    }
  });
  // Space presses what looks like a button, as it presses a button.
  addEventListener('keydown', (event) => {
    if (event.key !== ' ' || !event.target.matches('a.button[href]')) return;
    event.preventDefault();
    event.target.click();
  });
  $('preview-more').addEventListener('click', preview.more);
  addEventListener('resize', preview.fit);
  // A list made here and not yet saved would be lost.
  addEventListener('beforeunload', (event) => {
    if (store.list()?.unsaved) event.preventDefault();
  });
  $('language').addEventListener('change', () => {
    words.use($('language').value, true);
    showTexts();
  });
  addEventListener('error', (event) => fail(words.t('error.any', { reason: event.message })));
  addEventListener('unhandledrejection', (event) =>
    fail(words.t('error.any', { reason: String(event.reason) })));
}

words.start();
showTexts();
$('summary').textContent = words.t('starting');
view.setState('starting');
wire();
tool.unpack(packedWasm).then((wasm) => tool.start(korvelaModule, wasm)).then(() => {
  const sample = $('names').value;
  const signal = work.begin();
  return commit({ bytes: box.bytesOf(sample), origin: { kind: 'sample' }, box: sample,
    importing: null, unsaved: sample !== $('names').defaultValue }, signal, { typed: true });
}).catch((error) => fail(words.t('error.any', { reason: String(error) })));
