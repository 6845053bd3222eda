// The words of the mistakes: what the tool found in a list, said in the user's language with
// the list's own lines quoted, and where the box can mend a mistake, the mending. It judges
// nothing itself.
import * as words from './words.js';

const QUOTED_MOST = 60;
// The encodings, spelled one way whatever the list wrote.
const spell = (charset) => (/^utf-8$/i.test(charset) ? 'UTF-8' : 'windows-1250');

// A line of the list (from 1), without its line end.
export function lineBytes(list, number) {
  let start = 0;
  for (let line = 1; line < number && start < list.length; line++) {
    start = list.indexOf(10, start) + 1 || list.length;
  }
  return list.subarray(start, list.indexOf(10, start) + 1 || list.length);
}

const decode = (bytes, charset, fatal = false) =>
  new TextDecoder(charset, { fatal }).decode(bytes);

// A line as its writer typed it: UTF-8 where it is, else windows-1250; cut at a carriage
// return or line feed, as the tag is.
export function typed(list, number) {
  const bytes = lineBytes(list, number);
  let text;
  try {
    text = decode(bytes, 'utf-8', true);
  } catch {
    text = decode(bytes, 'windows-1250');
  }
  return text.split(/[\r\n]/)[0];
}

const short = (text) => (text.length > QUOTED_MOST ? `${text.slice(0, QUOTED_MOST)}…` : text);
const UNSHOWN = /^(SCRIPT|STYLE|TITLE|TEMPLATE|IFRAME|NOEMBED|NOFRAMES|NOSCRIPT|XMP)$/;

// What a browser shows of a name in its cell, by the browser's own parser, in a document that
// runs and fetches nothing; its line break as " / ".
function shownAs(text) {
  const parsed = new DOMParser().parseFromString(
    `<table><tr><th>${text.replace('=', '<br>')}</th></tr></table>`, 'text/html');
  const walker = parsed.createTreeWalker(parsed.body);
  let shown = '';
  for (let node = walker.nextNode(); node; node = walker.nextNode()) {
    if (node.nodeName === 'BR') shown += ' / ';
    if (node.nodeType === Node.TEXT_NODE && !UNSHOWN.test(node.parentNode.nodeName)) {
      shown += node.data;
    }
  }
  return shown.replace(/\s+/g, ' ').trim();
}

// A line's number as the language writes it ("3"; in Hungarian "a 3.", with its article).
const lineNumber = (number) => words.article(number) + words.t('lineNumber', { number });

// "3", "3, 5 and 8", "3, 5, 8, 9, 12 and 7 more"; the article before the first alone.
function linesOf({ count, lines }) {
  const numbers = lines.map((number, at) => (at === 0 ? lineNumber(number)
    : words.t('lineNumber', { number })));
  const more = count - lines.length;
  return words.list(more > 0 ? [...numbers, words.t('more', { count: more })] : numbers);
}

// Sentences one after the other: each [key, values], or nothing.
const say = (...sentences) =>
  sentences.filter(Boolean).map(([key, values]) => words.t(key, values)).join(' ');
const counted = (key, m) => [key, { count: m.count, lines: linesOf(m) }];
const mended = (text, fix, label, value) => ({ text, fix: { fix, label, value } });

// Each mistake's words from the facts of the check and the list: a text, or the text and
// the mending the page's wiring offers for it.
const SAY = {
  saved_as_utf16: () => say(['saved_as_utf16']),
  not_text: (m, facts) => say(counted(`not_text.${facts.kind}`, m), ['not_text.advice']),
  unknown_charset: (m, facts, list) => {
    const line = typed(list, 1);
    const meant = facts.charsetMeant && spell(facts.charsetMeant);
    const named = line.slice(line.indexOf('=') + 1);
    const text = say(['unknown_charset', { line: short(line), named }],
      meant ? ['unknown_charset.write', { meant }] : ['unknown_charset.resave']);
    if (!meant) return text;
    return mended(text, 'writeCharset', words.t('unknown_charset.fix', { meant }), meant);
  },
  utf8_not_declared: (m, facts, list) => {
    const [line, settings] = [m.lines[0], typed(list, 1)];
    const none = !facts.hasSettingsLine || facts.mistakes.name_as_settings_line.count > 0;
    // A settings line that names windows-1250 declares it in upper case, one naming nothing
    // the default, in lower case.
    const state = none ? 'none' : facts.charset === 'WINDOWS-1250' ? 'other' : 'empty';
    const shown = decode(lineBytes(list, line), 'windows-1250').split(/[\r\n]/)[0];
    return mended(say(['utf8_not_declared', { line: lineNumber(line),
      typed: short(typed(list, line)), shown: short(shown) }],
    [`utf8_not_declared.${state}`, { settings: short(settings) }]),
    'declareUtf8', words.t('utf8_not_declared.fix'));
  },
  spaced_settings_line: (m, facts, list) => {
    const meant = facts.settingsMeant;
    return mended(say(['spaced_settings_line', { line: short(typed(list, 1)), meant }]),
      'writeSettings', words.t('spaced_settings_line.fix', { meant }), meant);
  },
  declared_utf8_not_saved: (m) => say(counted('declared_utf8_not_saved', m),
    ['declared_utf8_not_saved.advice']),
  name_as_settings_line: (m, facts, list, { inUse = 1 }) => {
    const charset = facts.text === 'not_utf8' ? '' : 'UTF-8';
    const settings = `${inUse === 1 ? 4 : inUse}=${charset}`;
    return mended(say(['name_as_settings_line', { line: short(typed(list, 1)), settings }]),
      'putSettingsLine', words.t('name_as_settings_line.fix', { settings }), charset || 'keep');
  },
  list_ends_early: (m, facts) => say(['list_ends_early', { line: lineNumber(m.lines[0]) }],
    ['list_ends_early.lost', { count: facts.linesAfterEnd }]),
  markup_in_name: (m, facts, list) => {
    const text = typed(list, m.lines[0]);
    return mended(say(counted('markup_in_name', m), ['markup_in_name.example',
      { line: lineNumber(m.lines[0]), typed: short(text), shown: short(shownAs(text)) }],
    facts.worstMarkup !== 'changes_text' && [`markup_in_name.${facts.worstMarkup}`,
      { line: lineNumber(facts.worstMarkupLine) }], ['markup_in_name.advice']),
    'escapeMarkup', words.t('markup_in_name.fix'));
  },
  line_over_read: (m, facts) => say(counted('line_over_read', m),
    ['line_over_read.advice', { bytes: facts.lineMaxBytes }],
    facts.letterCutLine > 0 && ['line_over_read.letter',
      { line: lineNumber(facts.letterCutLine) }]),
  text_after_return: (m) => say(counted('text_after_return', m), ['text_after_return.advice']),
  empty_tag: (m, facts) => {
    const text = say(counted('empty_tag', m));
    if (!m.lines.includes(facts.lastLine)) return text;
    return mended(text, 'trimEmptyEnd', words.t('empty_tag.fix'));
  },
  names_in_one_line: (m) => say(counted('names_in_one_line', m)),
  name_over_lines: (m, facts, list, { fill }) => {
    const name = short(typed(list, m.lines[0]));
    let how = ['name_over_lines.taken',
      { typed: name, count: facts.overLines, held: words.number(facts.linesATag) }];
    if (facts.overTooWide) how = ['name_over_lines.wide', { typed: name }];
    if (facts.fitted) how = ['name_over_lines.floor', { typed: name }];
    return say(counted('name_over_lines', m), how, pagesCost(facts, fill),
    facts.overBreak >= 0 ? ['name_over_lines.break',
      { suggested: short(movedBreak(lineBytes(list, m.lines[0]), facts.overBreak)) }]
      : ['name_over_lines.advice']);
  },
  no_names: () => say(['no_names']),
};

// The pages that the print takes more for the tags that grow, on each paper, as it prints now.
export function printedPages(facts, fill) {
  const way = fill ? 1 : 0;
  return { a4: facts.printedPages.A4[way], letter: facts.printedPages.Letter[way],
    ungrown: fill ? Math.ceil(facts.tags / facts.layout) : facts.pages };
}

function pagesCost(facts, fill) {
  const { a4, letter, ungrown } = printedPages(facts, fill);
  if (a4 === ungrown && letter === ungrown) return ['name_over_lines.noCost'];
  return ['name_over_lines.cost', { a4: a4 - ungrown, letter: letter - ungrown }];
}

// The name with its line break moved to the byte at: its first "=" a space, and "=" there.
function movedBreak(bytes, at) {
  const moved = Uint8Array.from(bytes);
  moved[moved.indexOf(61)] = 32;
  moved[at] = 61;
  return typed(moved, 1);
}

// For a list made from a spreadsheet, the rows of the spreadsheet that a mistake's lines came
// from: line 1 is the settings line the page wrote, each line after it one row's tag.
function rowsSaid(m, rowNumbers) {
  const rows = m.lines.filter((line) => line >= 2).map((line) => rowNumbers[line - 2])
    .filter((row) => row !== undefined);
  if (rows.length === 0) return '';
  const more = m.count - m.lines.length;
  const numbered = rows.map((number) => words.t('lineNumber', { number }));
  const listed = words.list(more > 0 ? [...numbered, words.t('more', { count: more })] : numbered);
  return ` ${words.t('mistake.rows', { count: rows.length + Math.max(more, 0), rows: listed })}`;
}

// Each mistake the facts hold, in the tool's order: { name, text, fix }; printing is how the
// page's print prints ({ fill, inUse: the layout in use }) and, for a list made from a
// spreadsheet, the row each of its lines came from (rowNumbers).
export function of(facts, list, printing = { fill: true }) {
  return Object.entries(facts.mistakes).filter(([, m]) => m.count > 0).map(([name, m]) => {
    const said = SAY[name](m, facts, list, printing);
    const rows = printing.rowNumbers ? rowsSaid(m, printing.rowNumbers) : '';
    return typeof said === 'string' ? { name, text: said + rows, fix: null }
      : { name, ...said, text: said.text + rows };
  });
}
