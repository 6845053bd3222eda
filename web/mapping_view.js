// The mapping step on the page: the sheet, the row of headings, the columns of each line of
// the tag, the order and the rows that repeat, and the first rows under their headings. It
// shows an import's choice and tells what the user changed; the choice itself is the page's.
import { letterOf, widthOf } from './mapping.js';
import * as words from './words.js';

const SHOWN_ROWS = 5;
const HEADING_ROWS = 10;
const $ = (id) => document.getElementById(id);

function select(id, label, options, value) {
  const element = document.createElement('select');
  if (id) element.id = id;
  if (label) element.setAttribute('aria-label', label);
  element.append(...options.map(([text, optionValue]) => new Option(text, String(optionValue))));
  element.value = String(value);
  return element;
}

const short = (text) => (text.length > 24 ? `${text.slice(0, 24)}…` : text);

// A column by its heading, or by its letter where it has none.
function labelOf(choice, column) {
  const heading = choice.headingsAt >= 0 && choice.rows[choice.headingsAt].cells[column];
  return heading ? short(heading.trim()) : words.t('mapping.column', { column: letterOf(column) });
}

// The order by a column: by its heading, or, where it has none, by its letter, in a sentence
// of its own, since the word for a column takes the form the words around it ask.
function orderLabel(choice, column) {
  const heading = choice.headingsAt >= 0 && choice.rows[choice.headingsAt].cells[column];
  return heading ? words.t('mapping.orderBy', { column: short(heading.trim()) })
    : words.t('mapping.orderByColumn', { column: letterOf(column) });
}

// A line's columns: a select for each chosen, and one more to add another.
function lineSelects(choice, line, width) {
  const chosen = choice.lines[line];
  const name = words.t(`mapping.line${line + 1}`);
  const options = [[words.t('mapping.none'), ''],
    ...Array.from({ length: width }, (_, column) => [labelOf(choice, column), column])];
  const shown = chosen.length < width ? [...chosen, ''] : chosen;
  return shown.map((column, at) => select(`mapping-line-${line + 1}-${at + 1}`,
    words.t('mapping.part', { line: name, number: at + 1 }), options, column));
}

// The first rows under their headings, as a table a screen reader reads with its headings: a
// caption, a row of column headings, and each row headed by its number in the spreadsheet.
function table(choice, width) {
  const cell = (tag, text, scope) => Object.assign(document.createElement(tag),
    { textContent: text }, scope ? { scope } : {});
  const row = (...cells) => {
    const element = document.createElement('tr');
    element.append(...cells);
    return element;
  };
  const columns = Array.from({ length: width }, (_, column) => column);
  const head = document.createElement('thead');
  head.append(row(cell('td', ''), ...columns.map((column) =>
    cell('th', labelOf(choice, column), 'col'))));
  const body = document.createElement('tbody');
  body.append(...choice.rows.slice(choice.headingsAt + 1, choice.headingsAt + 1 + SHOWN_ROWS)
    .map(({ number, cells }) => row(cell('th', String(number), 'row'),
      ...columns.map((column) => cell('td', cells[column] || '')))));
  return [Object.assign(document.createElement('caption'),
    { textContent: words.t('mapping.rows') }), head, body];
}

// Shows an import: { sheets: [[name, at]], sheetAt, choice }; with no choice yet, its sheet
// is still being read.
export function show({ sheets, sheetAt, choice }) {
  const focused = document.activeElement?.id;
  $('mapping').hidden = false;
  $('mapping-sheet-choice').hidden = sheets.length < 2;
  $('mapping-sheet').replaceChildren(...sheets.map(([name, at]) => new Option(name, String(at))));
  $('mapping-sheet').value = String(sheetAt);
  $('mapping-choices').hidden = !choice;
  if (!choice) return;
  const width = widthOf(choice.rows);
  $('mapping-headings').replaceWith(select('mapping-headings', null, [
    [words.t('mapping.noHeadings'), -1],
    ...choice.rows.slice(0, HEADING_ROWS).map(({ number, cells }, at) => [words.t('mapping.row',
      { number, cells: short(cells.filter((cell) => cell.trim()).join(', ')) }), at])],
  choice.headingsAt));
  for (const line of [0, 1]) {
    $(`mapping-line-${line + 1}`).replaceChildren(...lineSelects(choice, line, width));
  }
  $('mapping-order').replaceWith(select('mapping-order', null, [[words.t('mapping.sheetOrder'), -1],
    ...Array.from({ length: width }, (_, column) => [orderLabel(choice, column), column])],
  choice.sortBy));
  $('mapping-duplicates').checked = choice.dropDuplicates;
  $('mapping-rows').replaceChildren(...table(choice, width));
  if (focused && $(focused)) $(focused).focus();
}

export function hide() {
  $('mapping').hidden = true;
}

// The user's changes: chooseSheet(at), or change(part of a choice).
export function wire({ chooseSheet, change }) {
  const columnsOf = (line) => [...$(`mapping-line-${line}`).querySelectorAll('select')]
    .filter((element) => element.value !== '').map((element) => Number(element.value));
  $('mapping').addEventListener('change', ({ target }) => {
    if (target.id === 'mapping-sheet') chooseSheet(Number(target.value));
    else if (target.id === 'mapping-headings') change({ headingsAt: Number(target.value) });
    else if (target.id === 'mapping-order') change({ sortBy: Number(target.value) });
    else if (target.id === 'mapping-duplicates') change({ dropDuplicates: target.checked });
    else if (target.id.startsWith('mapping-line-')) change({ lines: [columnsOf(1), columnsOf(2)] });
  });
}
