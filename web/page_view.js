// What the page says of the list and its sheet: where the list came from, the tags and pages,
// the mistakes with their mendings, the links it offers. Names reach the page only as text.
import * as mistakes from './mistakes.js';
import * as words from './words.js';

const $ = (id) => document.getElementById(id);
let shownMistakes = '';

// A text set only when it changes, so that a screen reader announces only news.
export function say(element, text) {
  const target = typeof element === 'string' ? $(element) : element;
  if (target.textContent !== text) target.textContent = text;
}

// The page's state: starting, reading, busy, ready, refused or failed; the busy word is for
// the eye only, the summary says what the work found.
export function setState(state) {
  document.body.dataset.state = state;
  $('busy').textContent = state === 'busy' || state === 'reading' ? words.t('busy') : '';
}

// A link to the blob, or none.
export function offer(link, blob) {
  const old = $(link).href;
  if (old) URL.revokeObjectURL(old);
  if (blob) $(link).href = URL.createObjectURL(blob);
  else $(link).removeAttribute('href');
}

// Where the list came from, in words; a reading that later work ended, said after it.
export function sourceText({ origin, box }) {
  const { kind, name, size, rows, duplicates, converted, stopped } = origin;
  const parts = [];
  if (kind === 'spreadsheet' || kind === 'cells') {
    parts.push(words.t(kind === 'cells' ? 'source.pasted' : 'source.imported',
      { file: name, rows: words.t('rows', { count: rows }) }));
    if (duplicates > 0) parts.push(words.t('source.duplicates', { count: duplicates }));
  } else if (kind === 'file') {
    parts.push(words.t(box === null ? 'source.fileAsIs' : 'source.fileInBox',
      { file: name, size: words.size(size) }));
    if (converted) parts.push(words.t('source.converted'));
  } else {
    parts.push(words.t(kind === 'sample' ? 'source.sample' : 'source.box'));
  }
  if (origin.layoutWritten && box === null) parts.push(words.t('source.layoutWritten'));
  if (stopped) parts.push(words.t('source.stopped', { file: stopped }));
  return parts.join(' ');
}

export function showMistakes(found, fixed) {
  const key = JSON.stringify(found);
  if (key === shownMistakes) return;
  shownMistakes = key;
  $('mistakes').replaceChildren(...found.map(({ name, text, fix }) => {
    const item = document.createElement('li');
    item.dataset.mistake = name;
    item.textContent = text;
    if (fix) {
      const button = document.createElement('button');
      button.type = 'button';
      button.className = 'button';
      button.textContent = fix.label;
      button.onclick = () => fixed(fix);
      item.append(' ', button);
    }
    return item;
  }));
}

// The summary: the tags, the pages they print on, on each paper, the names the print sets
// smaller, and how many mistakes there are to look at (found).
export function summaryText(facts, fill, found) {
  const { a4, letter } = mistakes.printedPages(facts, fill);
  const tags = words.t('tags', { count: facts.tags });
  const pages = (count) => words.t('pages', { count });
  const said = [a4 === letter ? words.t('summary', { tags, pages: pages(a4) })
    : words.t('summary.papers', { tags, a4: pages(a4), letter: pages(letter) })];
  if (facts.fitted && facts.tagsSetSmaller > 0) {
    said.push(words.t('summary.setSmaller', { count: facts.tagsSetSmaller }));
  }
  said.push(found.length ? words.t('summary.found', { count: found.length })
    : words.t('summary.none'));
  return said.join(' ');
}

// The pages of A4 each way of printing takes: every page filled, and as the downloaded sheet.
export function printPagesText(facts) {
  const [sheetPages, filledPages] = facts.printedPages.A4;
  return `${words.t('print.pagesFilled', { count: filledPages })} ${
    words.t('print.pagesAsSheet', { count: sheetPages })}`;
}

// The summary and the mistakes of the list, with their mendings, which fixed(fix) carries out;
// printing: how the page's print prints ({ fill, fit, inUse }); first: what to say before the
// summary (a file that gave no list), or nothing.
export function showFacts(facts, list, printing, fixed, first = '') {
  const found = mistakes.of(facts, list.bytes, { ...printing, rowNumbers: list.origin.rowNumbers });
  say('summary', [first, summaryText(facts, printing.fill, found)].filter(Boolean).join(' '));
  showMistakes(found, fixed);
}

// The words shown anew in another language.
export function forget() {
  shownMistakes = '';
}
