// The page carries a list's bytes to the tool's own code, compiled to WebAssembly
// (korvela_web.cpp), and shows what comes back: the sheet, the tags and pages it makes, and the
// mistakes the tool finds in the list. It never writes a sheet or judges a list itself.
//
// Nothing from a list becomes markup of this page: names are shown as text (textContent), and
// the sheet only inside a sandboxed frame that runs no script and loads nothing.
'use strict';

// A larger sheet is offered for download without a preview: laying out a sheet holds the page
// still for about half a second a megabyte.
const PREVIEW_MOST_BYTES = 8 * 1024 * 1024;
// A larger list is not put into the box, which grows slow to edit.
const BOX_MOST_BYTES = 1024 * 1024;
// In the order of the tool's list_mistake.
const MISTAKES = ['saved_as_utf16', 'not_text', 'utf8_not_declared', 'declared_utf8_not_saved',
  'name_as_settings_line', 'empty_tag', 'line_over_read', 'text_after_return', 'name_over_lines',
  'no_names'];
const LAYOUTS = { 1: 'four panels a tag', 2: 'two panels a tag', 6: 'two tags side by side' };

const $ = (id) => document.getElementById(id);
let korvela = null; // the tool, once its WebAssembly has started
// The list the sheet is made from: a file's bytes as they are, or the box's text.
let list = { bytes: null, file: null, inBox: true };
let checked = null;
const urls = {};

// The box's text as a list: UTF-8, with Windows line ends (a text box keeps only LF).
function boxBytes() {
  return new TextEncoder().encode($('names').value.replace(/\n/g, '\r\n'));
}

// A file's text, where the box can hold it unchanged: UTF-8, not too long, and with no byte that
// the box would lose (a NUL, a 0x1A, a carriage return that ends no line).
function boxTextOf(bytes) {
  const text = bytes.length > BOX_MOST_BYTES ? null : utf8Text(bytes);
  return text === null || /[\0\x1a]|\r(?!\n)/.test(text) ? null : text;
}

// The bytes as UTF-8 text, or null where they are not UTF-8.
function utf8Text(bytes) {
  try {
    return new TextDecoder('utf-8', { fatal: true, ignoreBOM: true }).decode(bytes);
  } catch {
    return null;
  }
}

function useBox() {
  list = { bytes: boxBytes(), file: null, inBox: true };
  refresh();
}

function useFile(name, bytes) {
  // A list the box cannot hold unchanged is not shown in it at all, rather than shown wrong.
  const text = boxTextOf(bytes);
  $('names').value = text === null ? '' : text;
  list = { bytes, file: name, inBox: text !== null };
  refresh();
}

async function readFile(file) {
  try {
    useFile(file.name, new Uint8Array(await file.arrayBuffer()));
  } catch (error) {
    fail(`The file ${file.name} could not be read (${error.message}). Choose it again, or ` +
      'copy its names into the box.');
  }
}

// The tool's two runs over the list: its check, then its sheet. Whatever goes wrong is said
// on the page, in words.
function refresh() {
  if (!korvela) return;
  try {
    run();
  } catch (error) {
    fail(`The sheet could not be made (${error.message}). Reload the page and try again, or ` +
      'use korvela.exe.');
  }
}

function run() {
  document.body.dataset.state = 'busy';
  korvela.list = list.bytes;
  korvela._korvela_check_list();
  checked = readFacts(korvela.checked);
  korvela.sheet = [];
  const status = korvela._korvela_write_sheet();
  const sheet = new Blob(korvela.sheet, { type: 'text/html' });
  korvela.list = null;
  korvela.sheet = null;
  offer('save-list', new Blob([list.bytes], { type: 'text/plain' }));
  showSource();
  showSummary();
  showMistakes();
  if (status !== 0) {
    fail('The sheet could not be written in full, most likely for want of memory, so none is ' +
      `offered (the tool's status ${status}). Close other tabs and try again, or use korvela.exe.`);
    return;
  }
  offer('download', sheet);
  preview(sheet).catch((error) => fail(`The sheet could not be shown (${error.message}); ` +
    'download it, open it in your browser, and print it from there.', true));
}

function offer(link, blob) {
  if (urls[link]) URL.revokeObjectURL(urls[link]);
  urls[link] = URL.createObjectURL(blob);
  $(link).href = urls[link];
}

function forget(link) {
  if (urls[link]) URL.revokeObjectURL(urls[link]);
  urls[link] = null;
  $(link).removeAttribute('href');
}

// The sheet shown as its charset reads it, in a frame of this page's own origin, which the
// print button may reach even from a page opened from disk; the frame runs no script.
async function preview(sheet) {
  const frame = $('preview');
  const tooLarge = sheet.size > PREVIEW_MOST_BYTES;
  $('no-preview').hidden = !tooLarge;
  frame.hidden = tooLarge;
  $('print').disabled = tooLarge;
  if (tooLarge) {
    $('no-preview').textContent = `The sheet is ${megabytes(sheet.size)}, too large to show ` +
      'here. Download it, open it in your browser, and print it from there.';
    frame.removeAttribute('srcdoc');
    document.body.dataset.state = 'ready';
    return;
  }
  frame.srcdoc = new TextDecoder(checked.charset).decode(await sheet.arrayBuffer());
}

function megabytes(bytes) {
  return `${(bytes / 1024 / 1024).toFixed(1)} MB`;
}

function showSource() {
  const size = `${list.bytes.length} bytes`;
  $('source').textContent = !list.file
    ? 'The sheet is made from the names in the box below.'
    : list.inBox
      ? `The sheet is made from ${list.file} (${size}), shown in the box below. A change in the ` +
        'box changes the sheet; save the list to keep it.'
      : `The sheet is made from ${list.file} (${size}) as it is. The box below cannot show ` +
        'it unchanged, so it is left empty; names typed there make the sheet instead.';
  $('layout').disabled = !list.inBox;
  $('layout').value = checked.layout === 1 ? '4' : String(checked.layout);
}

function plural(count, one, many) {
  return `${count} ${count === 1 ? one : many}`;
}

function showSummary() {
  const { tags, pages } = checked;
  const found = MISTAKES.some((name) => checked[name].count > 0);
  $('summary').textContent = `${plural(tags, 'tag', 'tags')} on ${plural(pages, 'page', 'pages')}` +
    `, ${LAYOUTS[checked.layout]}; the sheet declares the charset ${checked.charset}.` +
    (found ? '' : ' No mistakes found.');
}

// The facts of korvela_check_list: these totals, then each mistake's count and first lines.
const TOTALS = ['tags', 'pages', 'lastLine', 'letters', 'linesATag', 'lineMaxBytes'];

function readFacts({ layout, charset, hasSettingsLine, facts }) {
  const result = { layout, charset, hasSettingsLine };
  TOTALS.forEach((name, at) => { result[name] = facts[at]; });
  const kept = (facts.length - TOTALS.length) / MISTAKES.length - 1;
  MISTAKES.forEach((name, at) => {
    const from = TOTALS.length + at * (kept + 1);
    const count = facts[from];
    result[name] = { count, lines: facts.slice(from + 1, from + 1 + Math.min(count, kept)) };
  });
  return result;
}

// A list line as its writer typed it, shortened: UTF-8 where it is, else windows-1250; cut at
// a carriage return, as the tag is.
function lineText(number, charset) {
  const bytes = list.bytes;
  let start = 0;
  for (let line = 1; line < number && start < bytes.length; line++) {
    const end = bytes.indexOf(10, start);
    start = end < 0 ? bytes.length : end + 1;
  }
  let end = bytes.indexOf(10, start);
  if (end < 0) end = bytes.length;
  const line = bytes.subarray(start, end);
  let text;
  try {
    text = new TextDecoder(charset || 'utf-8', { fatal: !charset }).decode(line);
  } catch {
    text = new TextDecoder('windows-1250').decode(line);
  }
  text = text.split('\r')[0];
  return text.length > 60 ? `${text.slice(0, 60)}…` : text;
}

// "Line 3", "Lines 3 and 5", "Lines 3, 5, 8, 9, 12 and 7 more", with the verb that follows.
function linesOf({ count, lines }, one, many) {
  const more = count - lines.length;
  const listed = more > 0 ? [...lines, `${more} more`] : lines;
  const said = listed.length === 1 ? listed[0]
    : `${listed.slice(0, -1).join(', ')} and ${listed[listed.length - 1]}`;
  return `${count === 1 ? 'Line' : 'Lines'} ${said} ${count === 1 ? one : many}`;
}

// What each mistake means for the sheet and what to do, with a fix where the box can make it.
const SAY = {
  saved_as_utf16: () => 'The list is saved as UTF-16 (“Unicode” in Notepad), which Korvela ' +
    'does not read: every tag would come out garbled or empty. In Notepad, choose Save as, set ' +
    'the encoding to UTF-8, and put the settings line 4=UTF-8 first.',
  not_text: (m) => `This does not look like a list of names. ${linesOf(m, 'holds', 'hold')} ` +
    'control bytes, as a PDF, a picture or a program does. Choose the list itself, saved as ' +
    'plain text.',
  utf8_not_declared: (m) => {
    const line = m.lines[0];
    return [`The list is saved in UTF-8, but no settings line declares it, so the sheet ` +
      `declares ${checked.charset}: line ${line}, “${lineText(line, 'utf-8')}”, would print as ` +
      `“${lineText(line, 'windows-1250')}”. ` + (settingsLineIsSound()
      ? 'Write UTF-8 after the = of the settings line.'
      : 'Put the settings line 4=UTF-8 first.'),
    list.inBox && ['Declare UTF-8', declareUtf8]];
  },
  declared_utf8_not_saved: (m) => 'The settings line declares UTF-8, but the list is not ' +
    `saved in UTF-8: ${linesOf(m, 'holds', 'hold').toLowerCase()} bytes that UTF-8 does not ` +
    'allow, which print as �. Save the list as UTF-8 (in Notepad: Save as, encoding UTF-8), or ' +
    'declare the charset it is saved in, such as 4=WINDOWS-1250.',
  name_as_settings_line: () => [`The first line, “${lineText(1)}”, is taken as the settings ` +
    'line, so it will not be printed. Put a settings line first, such as ' +
    `${utf8Text(list.bytes) === null ? '4=' : '4=UTF-8'}.`,
  list.inBox && ['Put a settings line first', () => editSettingsLine(false, () => ['4', 'UTF-8'])]],
  empty_tag: (m) => {
    const atEnd = m.lines.includes(checked.lastLine);
    return m.count === 1
      ? `Line ${m.lines[0]}${atEnd ? ', the last of the list,' : ''} is empty and prints a ` +
        'blank card. Delete it, unless you want a blank card.'
      : `${linesOf(m, 'is', 'are')} empty and print a blank card each` +
        `${atEnd ? ', the last line of the list among them' : ''}. Delete them, unless you ` +
        'want blank cards.';
  },
  line_over_read: (m) => `${linesOf(m, 'is', 'are')} longer than ${checked.lineMaxBytes} ` +
    'bytes, and each prints as two tags or more. Shorten them.',
  text_after_return: (m) => `${linesOf(m, 'holds', 'hold')} a carriage return inside the ` +
    'line, and the text after it is not printed. Save the list with Windows line ends (CR LF), ' +
    'as Notepad does.',
  name_over_lines: (m) => (m.count === 1
    ? `Line ${m.lines[0]}, “${lineText(m.lines[0])}”, may need`
    : `${linesOf(m, '', 'hold')} names that may need, as “${lineText(m.lines[0])}” does,`) +
    ' more lines than a tag holds: ' +
    `${checked.letters} letters a line and ${checked.linesATag} lines a tag in this layout.` +
    (checked.layout === 1 ? ' In layout 1 such a tag may cost an extra page.' : '') +
    ' Break a long name with = where a line should end, or shorten it.',
  no_names: () => 'The list holds no names: the sheet has no tags.',
};

function showMistakes() {
  const shown = MISTAKES.filter((name) => checked[name].count > 0).map((name) => {
    const [text, fix] = [].concat(SAY[name](checked[name]));
    const item = document.createElement('li');
    item.dataset.mistake = name;
    item.textContent = text;
    if (fix) {
      const button = document.createElement('button');
      button.type = 'button';
      button.textContent = fix[0];
      button.addEventListener('click', fix[1]);
      item.append(button);
    }
    return item;
  });
  $('mistakes').replaceChildren(...shown);
}

// Whether the list has a settings line that is one, and not a name taken for one.
function settingsLineIsSound() {
  return checked.hasSettingsLine && checked.name_as_settings_line.count === 0;
}

// Changes the box's settings line, or puts one first where the list has none (or where its
// first line is a name): change takes the layout digit and the charset and gives them anew.
function editSettingsLine(keepFirstLine, change) {
  const box = $('names');
  const text = box.value;
  const firstEnd = text.includes('\n') ? text.indexOf('\n') : text.length;
  let settings;
  let rest = text;
  if (keepFirstLine && settingsLineIsSound()) {
    const first = text.slice(0, firstEnd);
    const separator = first.indexOf('=');
    const [digit, charset] = change(separator > 0 ? first[separator - 1] : '',
      first.slice(separator + 1));
    settings = first.slice(0, Math.max(separator - 1, 0)) + digit + '=' + charset;
    rest = text.slice(firstEnd + 1);
  } else {
    settings = change('4', 'UTF-8').join('=');
  }
  box.value = `${settings}\n${rest}`;
  box.focus();
  box.setSelectionRange(0, settings.length);
  useBox();
}

function declareUtf8() {
  editSettingsLine(true, (digit) => [digit || '4', 'UTF-8']);
}

// Says what went wrong, in place of the summary; the sheet is not shown, nor offered unless
// it was written whole.
function fail(message, sheetWhole = false) {
  if (!sheetWhole) forget('download');
  $('print').disabled = true;
  $('preview').hidden = true;
  $('preview').removeAttribute('srcdoc');
  $('summary').textContent = message;
  document.body.dataset.state = 'failed';
}

// The guide's print settings for this browser.
function printAdvice() {
  const agent = navigator.userAgent;
  const chrome = 'In Chrome or Edge, under More settings: margins Default; scale Custom, 99 on ' +
    'A4 or 90 on Letter; headers and footers off.';
  const firefox = 'In Firefox: margins Default; scale Fit to page width on A4, or 90 on Letter; ' +
    'print headers and footers off.';
  const safari = 'In Safari: scale 100%; on A4 the default margins, on Letter left and right ' +
    'margins of 1 inch.';
  if (/Firefox\//.test(agent)) return firefox;
  if (/Chrome\/|Edg\//.test(agent)) return chrome;
  if (/Safari\//.test(agent)) return safari;
  return `${chrome} ${firefox} ${safari}`;
}

function start() {
  $('print-advice').textContent = printAdvice();
  let typing = null;
  $('names').addEventListener('input', () => {
    clearTimeout(typing);
    typing = setTimeout(useBox, 300);
  });
  $('layout').addEventListener('change', () => {
    editSettingsLine(true, (digit, charset) => [$('layout').value, charset]);
  });
  $('file').addEventListener('change', async () => {
    const file = $('file').files[0];
    // Cleared, so that choosing the same file again after editing it reads it again.
    if (file) await readFile(file).finally(() => { $('file').value = ''; });
  });
  const carriesFiles = (event) => [...event.dataTransfer.types].includes('Files');
  document.addEventListener('dragover', (event) => {
    if (!carriesFiles(event)) return;
    event.preventDefault();
    document.body.classList.add('dropping');
  });
  document.addEventListener('dragleave', () => document.body.classList.remove('dropping'));
  document.addEventListener('drop', (event) => {
    document.body.classList.remove('dropping');
    if (!carriesFiles(event)) return;
    event.preventDefault();
    if (event.dataTransfer.files[0]) readFile(event.dataTransfer.files[0]);
  });
  $('print').addEventListener('click', () => $('preview').contentWindow.print());
  $('preview').addEventListener('load', () => {
    if ($('preview').hasAttribute('srcdoc')) document.body.dataset.state = 'ready';
  });
  addEventListener('error', (event) => fail(`Something went wrong: ${event.message}`));
  addEventListener('unhandledrejection', (event) => fail(`Something went wrong: ${event.reason}`));

  korvelaModule().ready.then((module) => {
    korvela = module;
    useBox();
  }, (error) => fail(`The page could not start its WebAssembly (${error}): the browser may be ` +
    'too old, or WebAssembly may be turned off.'));
}

start();
