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

// Where the list came from, in words.
export function sourceText({ origin, box }) {
  const { kind, name, size, rows, duplicates, converted } = origin;
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
    parts.push(words.t('source.box'));
  }
  if (origin.layoutWritten && box === null) parts.push(words.t('source.layoutWritten'));
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

// The tags, the pages they print on, on each paper, and the mistakes of the list, with their
// mendings, which fixed(fix) carries out; fill: whether the print fills every page.
export function showFacts(facts, list, fill, fixed) {
  const found = mistakes.of(facts, list.bytes, { fill });
  const { a4, letter } = mistakes.printedPages(facts, fill);
  const tags = words.t('tags', { count: facts.tags });
  const pages = a4 === letter ? words.t('summary', { tags, pages: words.t('pages', { count: a4 }) })
    : words.t('summary.papers', { tags, a4: words.t('pages', { count: a4 }),
      letter: words.t('pages', { count: letter }) });
  say('summary', `${pages} ${found.length ? words.t('summary.found', { count: found.length })
    : words.t('summary.none')}`);
  showMistakes(found, fixed);
}

// The words shown anew in another language.
export function forget() {
  shownMistakes = '';
}
