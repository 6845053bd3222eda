// The page's wiring: where a list comes from (the box, a file, a spreadsheet, cells pasted, a
// mending, the layout, an undo), each as one piece of work that the next one ends; the tool's
// runs over the list; and what the page shows of them. It asks the modules and decides
// nothing itself: what a file is (chosen_file.js), whether the sheet may be printed
// (offer.js), which settings line a list gets (the tool's own writer).
import korvelaModule from 'korvela-module';
import packedWasm from 'korvela-wasm';
import * as box from './box.js';
import { whatFileIs } from './chosen_file.js';
import { FIXES } from './fixes.js';
import { startingSheet, visibleSheets } from './importing.js';
import * as mapping from './mapping.js';
import * as mappingView from './mapping_view.js';
import * as mistakes from './mistakes.js';
import * as offer from './offer.js';
import * as view from './page_view.js';
import * as preview from './preview.js';
import * as printing from './print.js';
import { decode, holdsCells } from './read/delimited.js';
import { isFailure } from './read/failure.js';
import { readWorkbook } from './read/spreadsheet.js';
import * as store from './store.js';
import * as tool from './tool.js';
import * as words from './words.js';
import * as work from './work.js';

const TYPING_PAUSE_MS = 300;
const PAINT_FIRST_BYTES = 32 * 1024;
const $ = (id) => document.getElementById(id);

let facts = null; // what the tool found in the list held, its tags as the print sets them
let refusal = null; // a file that gave no list, said before the list held: () => what to say
let reading = null; // the file being read, while it is: its name
let stopped = null; // a file whose reading later work ended, to be said with the next list
let layoutMeant = 1; // the layout of the last list whose first line said what it meant
let focusAfterMending = false;

const percent = (share) =>
  new Intl.NumberFormat(words.currentLanguage(), { style: 'percent' }).format(share);
// A turn after the page has painted what it shows, or after a while where it paints nothing,
// as a page out of sight does not.
const PAINT_MOST_MS = 100;
const paint = () => new Promise((done) => {
  requestAnimationFrame(() => setTimeout(done));
  setTimeout(done, PAINT_MOST_MS);
});
const nextTurn = () => new Promise((done) => setTimeout(done));

// ---- The print's choices: fill every page, fit each name, the second line smaller, folds

function printChoices() {
  const fit = $('print-fit').checked;
  return { fill: $('print-fill').checked, fit, secondSmaller: fit && $('print-smaller').checked,
    folds: $('print-folds').checked };
}

// ---- The sheet of the list held

// Print, as the sheet on offer allows it, or typing that waits for its pause, whose list
// Print commits and prints.
const showPrint = () => { $('print').disabled = !offer.mayPrint() && !work.typingWaits(); };

// Download and Print, as the sheet on offer allows them.
offer.watch(() => {
  const offered = offer.sheet();
  view.offer('download', offered && new Blob(offered.chunks, { type: 'text/html' }));
  showPrint();
});

function fail(message) {
  offer.withdraw();
  preview.clear();
  $('summary').textContent = message;
  view.setState('failed');
}

// The tags, the pages, the mistakes, and the pages of each way of printing; a file that gave
// no list said first.
function showFacts() {
  const list = store.list();
  view.showFacts(facts, list, { ...printChoices(), inUse: layoutInUse() }, mend,
    refusal ? refusal() : '');
  const [sheetPages, filledPages] = facts.printedPages.A4;
  $('print-fill-choice').hidden = filledPages === sheetPages;
  view.say('print-fill-pages', view.printPagesText(facts));
  if (!focusAfterMending) return;
  focusAfterMending = false;
  ($('mistakes').querySelector('button') ?? $('summary')).focus();
}

// What the tool finds in the list, and its first pages; then, a turn later, the whole sheet to
// download and print. A long list shows the page busy first.
async function refresh(signal, known = null) {
  offer.withdraw();
  showPrint();
  view.setState('busy');
  const list = store.list();
  if (list.bytes.length > PAINT_FIRST_BYTES) await paint();
  if (signal.aborted) return;
  try {
    const print = printChoices();
    facts = known ?? tool.check(list.bytes, print);
    noteLayoutMeant(facts);
    view.offer('save-list', new Blob([list.bytes]));
    $('layout').value = facts.layout === 1 ? '4' : String(facts.layout);
    showFacts();
    // No sheet without tags: nothing to download, show or print.
    if (facts.tags === 0) {
      preview.clear();
      view.setState(refusal ? 'refused' : 'ready');
      return;
    }
    preview.show(list.bytes, facts, print);
    await nextTurn();
    if (signal.aborted) return;
    const written = tool.sheet(list.bytes);
    if (written.status !== 0) {
      fail(words.t('error.write'));
      return;
    }
    offer.offer({ list, facts, chunks: written.chunks });
    view.setState(refusal ? 'refused' : 'ready');
  } catch (error) {
    fail(words.t('error.any', { reason: error.message }));
  }
}

// ---- The list held, shown

// Everything that describes the list held, from the list alone, so that Undo brings all of it
// back: the box, the line that says where the list came from, the file's name beside the
// button, the mapping step, and the print's second line. A list too long for the box is not in
// it; nor may the box be typed in then, which would make a list of what is typed in place of
// it, but a new list may be begun.
function showList(list) {
  if (list.box !== null && $('names').value !== list.box) $('names').value = list.box;
  if (list.box === null) $('names').value = '';
  $('names').readOnly = list.box === null;
  $('new-list').hidden = list.box !== null;
  $('too-long').hidden = list.box !== null;
  view.say('source', view.sourceText(list));
  $('file-name').textContent = list.origin.name ?? words.t('noFile');
  $('undo').hidden = !store.canUndo();
  $('print-smaller').checked = list.secondSmaller;
  if (list.importing) mappingView.show(list.importing);
  else mappingView.hide();
}

// A list in place of the one held, with an Undo back to it; or, from the box's own typing,
// without one; or the same list said anew (again). A reading that the work ended is said with
// it.
function commit(next, signal, { typed = false, again = false, facts: known = null } = {}) {
  signal.throwIfAborted();
  if (stopped && !next.origin.name) next.origin = { ...next.origin, stopped };
  stopped = null;
  refusal = null;
  if (typed) store.edit(next);
  else if (again) store.restate(next);
  else store.replace(next);
  showList(next);
  return refresh(signal, known);
}

// A list of bytes, in the box if it shows them; a list that replaces one the box shows stays
// in the box however long. Its print keeps the second line as the list it replaces had it.
const fromBytes = (bytes, origin, extra = {}, inBox = false) => ({ bytes, origin,
  box: box.textOf(bytes, inBox), importing: null, unsaved: true,
  secondSmaller: store.list()?.secondSmaller ?? false, ...extra });

// Any work that fails says so, and keeps the list held; work ended by later work says nothing.
async function doing(act) {
  try {
    await act();
  } catch (error) {
    if (work.wasEnded(error)) return;
    if (isFailure(error)) refuse(() => words.t(`import.${error.reason}`));
    else fail(words.t('error.any', { reason: error.message }));
  }
}

// Work begun while a file is read ends the reading: the next list says so.
function endReading() {
  if (reading !== null) [stopped, reading] = [reading, null];
}

function begin() {
  endReading();
  return work.begin();
}

// ---- The box

// The layout in use, which a settings line the page puts in front of a name keeps: the one the
// list's first line means (the tool's layout_meant), the tool's own without a settings line; a
// name taken for the settings line has its layout from the name, not from what the user meant,
// and keeps the one before.
const layoutInUse = () => layoutMeant;

function noteLayoutMeant(found) {
  if (found.layoutMeant !== 0) layoutMeant = found.layoutMeant;
  else if (!found.hasSettingsLine) layoutMeant = found.layout;
}

// The box's text as the list: UTF-8, and a settings line that says so where its letters need
// it, for the layout the first line means, shown in the box, the caret kept where it was in
// the text.
function useBox(signal) {
  const names = $('names');
  let bytes = box.bytesOf(names.value);
  let found = tool.check(bytes, printChoices());
  if (found.text === 'utf8_letters' && found.charset !== 'UTF-8') {
    bytes = tool.withSettingsLine(bytes, 'meant', 'UTF-8', layoutInUse());
    const [before, text] = [names.value, box.textOf(bytes, true).replace(/\r\n/g, '\n')];
    const [start, end] = [names.selectionStart, names.selectionEnd];
    names.value = text;
    if (document.activeElement === names) {
      names.setSelectionRange(box.caretAfter(before, text, start), box.caretAfter(before, text, end));
    }
    found = null;
  }
  return commit({ ...fromBytes(bytes, { kind: 'box' }), box: names.value }, signal,
    { typed: true, facts: found });
}

// A key typed: nothing is offered that is not the box's list, and the list is committed after
// the pause, or as soon as other work begins.
function typed() {
  endReading();
  work.type((signal) => doing(() => useBox(signal)), TYPING_PAUSE_MS);
  offer.withdraw();
  showPrint();
  view.offer('save-list', null);
  $('undo').hidden = true;
}

// ---- Files and spreadsheets

// A settings line for the layout in use, then the names, a line each.
function listOfNames(lines) {
  const settings = tool.withSettingsLine(new Uint8Array(), layoutInUse(), 'UTF-8');
  const head = new TextDecoder().decode(settings).replace(/\r\n/g, '\n');
  return `${head}${lines.map((line) => `${line}\n`).join('')}`;
}

// A list from an import: each line's spreadsheet row kept, for the mistakes to name; its
// second line set smaller in print where it holds no name, unless kept as it was (again: the
// same import read anew).
function commitImport(importing, signal, { secondSmaller, again = false } = {}) {
  const { lines, rowNumbers, duplicates } =
    mapping.namesOf(importing.choice, words.currentLanguage(), tool.asText);
  const text = listOfNames(lines);
  const bytes = box.bytesOf(text);
  return commit({ bytes, box: bytes.length <= box.BOX_MOST_BYTES ? text : null, importing,
    unsaved: true, secondSmaller: secondSmaller ?? mapping.secondLineHoldsNoName(importing.choice),
    origin: { kind: importing.kind, name: importing.name, rows: lines.length, duplicates,
      rowNumbers } }, signal, { again });
}

const readingSaid = (share) => view.say('source', `${words.t('import.reading')} ${percent(share)}`);

async function importSpreadsheet(name, source, kind, signal) {
  view.setState('reading');
  view.say('source', words.t('import.reading'));
  const workbook = await readWorkbook(name, source, { signal });
  const [sheetAt, rows] = await startingSheet(workbook, { signal, progress: readingSaid });
  signal.throwIfAborted();
  // Said without the file's name before it, which the sentence names already.
  if (rows.length === 0) {
    return refuse(() => (kind === 'cells' ? words.t('import.emptyCells')
      : words.t('import.empty', { sheet: name })));
  }
  return commitImport({ name, kind, workbook, sheets: visibleSheets(workbook), sheetAt,
    choice: mapping.firstChoice(rows) }, signal);
}

// A change in the mapping step: another sheet, another choice of the one shown, or the same
// sheet read again, its dates and truth values in the page's language.
function changeImport(change) {
  const signal = begin();
  const { importing, secondSmaller } = store.list();
  // Typing committed as the work began ended the mapping step: nothing is left to change, but
  // the typed list's sheet, which this work took over.
  if (!importing) return doing(() => refresh(signal));
  return doing(async () => {
    if (change.sheetAt === undefined) {
      const choice = { ...importing.choice, ...change };
      if ('headingsAt' in change) choice.lines = mapping.linesUnder(choice.rows, change.headingsAt);
      const linesChanged = 'lines' in change || 'headingsAt' in change;
      return commitImport({ ...importing, choice }, signal,
        { secondSmaller: linesChanged ? undefined : secondSmaller });
    }
    const sheet = importing.workbook.sheets[change.sheetAt];
    view.setState('reading');
    const rows = await sheet.rows({ signal, progress: readingSaid });
    signal.throwIfAborted();
    if (rows.length === 0) {
      showList(store.list());
      view.setState('ready');
      return view.say('source', words.t('import.empty', { sheet: sheet.name }));
    }
    const choice = change.again ? { ...importing.choice, rows } : mapping.firstChoice(rows);
    return commitImport({ ...importing, sheetAt: change.sheetAt, choice }, signal,
      change.again ? { secondSmaller, again: true } : {});
  });
}

// A file: a workbook or cells as text through the mapping step, a list saved as UTF-16 turned
// into UTF-8, a list as it is; a file that is no list is said, and the list held stays.
async function takeFile(name, bytes, signal) {
  const found = tool.check(bytes, printChoices());
  const noList = (kind) => refuse(() => mistakes.of({ ...found, kind }, bytes)
    .map((mistake) => mistake.text).join(' '), name);
  const file = whatFileIs(name, bytes, found);
  if (file.use === 'refused') return noList(file.kind);
  if (file.use === 'spreadsheet') {
    try {
      return await importSpreadsheet(name, bytes, 'spreadsheet', signal);
    } catch (error) {
      if (error.reason === 'not_spreadsheet') return noList(found.kind);
      if (isFailure(error)) return refuse(() => words.t(`import.${error.reason}`), name);
      throw error;
    }
  }
  const origin = { kind: 'file', name, size: bytes.length };
  if (file.use === 'utf16') {
    const utf8 = box.bytesOf(decode(bytes));
    const inUtf8 = tool.withSettingsLine(utf8, 'meant', 'UTF-8', layoutInUse());
    return commit(fromBytes(inUtf8, { ...origin, converted: true }, { secondSmaller: false }),
      signal);
  }
  return commit(fromBytes(bytes, origin, { unsaved: false, secondSmaller: false }), signal,
    { facts: found });
}

// A file or cells that give no list: the reason said before the summary of the list held,
// which is kept, shown as it is and its sheet on offer again.
function refuse(reason, name = null) {
  refusal = () => (name ? `${words.t('refused', { file: name })} ${reason()}` : reason());
  showList(store.list());
  return refresh(work.ongoing());
}

// While a file is read, the sheet before it is not offered: a print begun then would print a
// list about to be replaced.
function readFile(file) {
  const signal = begin();
  reading = file.name;
  offer.withdraw();
  $('file-name').textContent = file.name;
  view.setState('reading');
  return doing(async () => {
    const bytes = new Uint8Array(await file.arrayBuffer());
    signal.throwIfAborted();
    await takeFile(file.name, bytes, signal);
  }).finally(() => {
    if (reading === file.name) reading = null;
  });
}

// Cells copied from a spreadsheet arrive as lines of tab-separated text.
function pasteCells(event) {
  const text = event.clipboardData.getData('text/plain');
  if (!holdsCells(text)) return;
  event.preventDefault();
  const signal = begin();
  offer.withdraw();
  doing(() => importSpreadsheet('', text, 'cells', signal));
}

// ---- Mendings, the layout, the print's choices, Undo

// A mending of the list held, typing that waited for its pause included.
function mend({ fix, value }) {
  const signal = begin();
  const list = store.list();
  const found = tool.check(list.bytes, printChoices());
  focusAfterMending = true;
  doing(() => commit(fromBytes(FIXES[fix](list.bytes, found, value, layoutInUse()),
    list.origin, {}, list.box !== null), signal));
}

// The layout chosen, read before the work begins: typing committed first shows its own.
function chooseLayout() {
  const layout = Number($('layout').value);
  const signal = begin();
  const list = store.list();
  const bytes = tool.withSettingsLine(list.bytes, layout, 'keep');
  doing(() => commit({ ...fromBytes(bytes, { ...list.origin, layoutWritten: true }, {},
    list.box !== null), importing: list.importing }, signal));
}

// The list held, checked again for the print as now chosen. A file being read, or typing that
// waits for its pause, goes on: its list is checked for the choice once it is committed.
function choosePrint() {
  const list = store.list();
  if (list) list.secondSmaller = $('print-smaller').checked;
  $('print-smaller').disabled = !$('print-fit').checked;
  if (reading !== null || work.typingWaits() || !list) return;
  const signal = work.begin();
  doing(() => refresh(signal));
}

function beginNewList() {
  const signal = begin();
  doing(() => commit({ bytes: new Uint8Array(), origin: { kind: 'box' }, box: '', importing: null,
    unsaved: false, secondSmaller: false }, signal));
  $('names').focus();
}

function undo() {
  const signal = begin();
  refusal = null;
  const list = store.undo();
  showList(list);
  doing(() => refresh(signal));
}

// ---- Printing

// Prints the sheet on offer, one print at a time, as the print's choices set it; withdrawing
// the sheet ends its print unprinted. Typing that waits for its pause is the list to print.
async function printSheet() {
  await work.commitTyping();
  const signal = offer.beginPrint();
  if (!signal) return;
  const note = (text) => view.say('print-state', text);
  const { list, facts: printed, chunks } = offer.sheet();
  const choices = printChoices();
  try {
    const fitted = choices.fit ? tool.sheet(list.bytes, choices) : { status: 0, chunks };
    if (fitted.status !== 0) throw new Error(words.t('error.write'));
    if (!printing.printable(fitted.chunks)) {
      note(words.t('print.tooLarge', { size: words.size(printing.sizeOf(fitted.chunks)) }));
      return;
    }
    await printing.print($('print-frame'), fitted.chunks, { charset: printed.charset,
      layout: printed.layout, fill: choices.fill, fit: choices.fit, folds: choices.folds, signal,
      progress: (share) => note(words.t('print.preparing', { percent: percent(share) })) });
    note('');
  } catch (error) {
    note('');
    if (!work.wasEnded(error)) throw error;
  } finally {
    offer.endPrint(signal);
  }
}

// ---- The page

function showTexts() {
  document.title = words.t('title');
  words.showAll();
  $('language').replaceChildren(...words.languages().map((language) =>
    Object.assign(new Option(words.languageName(language), language), { lang: language })));
  $('language').value = words.currentLanguage();
  view.forget();
  const list = store.list();
  if (!list) {
    $('file-name').textContent = words.t('noFile');
    return;
  }
  showList(list);
  if (facts && ['ready', 'refused'].includes(document.body.dataset.state)) showFacts();
  preview.fit();
}

// Another language: the words anew, and a spreadsheet's dates and truth values as it writes
// them, read again.
function chooseLanguage() {
  work.commitTyping();
  words.use($('language').value, true);
  showTexts();
  const { importing } = store.list() ?? {};
  if (importing) changeImport({ sheetAt: importing.sheetAt, again: true });
}

function wireBox() {
  $('names').addEventListener('paste', pasteCells);
  $('names').addEventListener('input', typed);
}

function wireFiles() {
  // Cleared, so that the same file chosen again is read again.
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

function wireKeys() {
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
}

function wire() {
  wireBox();
  wireFiles();
  wireKeys();
  mappingView.wire({ chooseSheet: (sheetAt) => changeImport({ sheetAt }), change: changeImport });
  $('layout').addEventListener('change', chooseLayout);
  $('undo').addEventListener('click', undo);
  $('new-list').addEventListener('click', beginNewList);
  $('save-list').addEventListener('click', () => { store.list().unsaved = false; });
  $('print').addEventListener('click', printSheet);
  for (const choice of ['print-fill', 'print-fit', 'print-smaller', 'print-folds']) {
    $(choice).addEventListener('change', choosePrint);
  }
  $('preview-more').addEventListener('click', preview.more);
  addEventListener('resize', preview.fit);
  // A list made here and not yet saved would be lost.
  addEventListener('beforeunload', (event) => {
    if (store.list()?.unsaved || work.typingWaits()) event.preventDefault();
  });
  $('language').addEventListener('change', chooseLanguage);
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
  const mine = sample !== $('names').defaultValue;
  return commit({ bytes: box.bytesOf(sample), origin: { kind: mine ? 'box' : 'sample' },
    box: sample, importing: null, unsaved: mine, secondSmaller: false }, signal, { typed: true });
}).catch((error) => fail(words.t('error.any', { reason: String(error) })));
