// Every sentence the page can say, whole, in one language: each text with realistic values in
// its {names} and its counts at 0, 1, 2, 3, 5, 21 and 22; then the sentences the page composes,
// by the page's own code: the summary, each mistake in each of its forms, where the list came
// from, the mapping step's choices, printing. A change of a text shows, in the diff of
// tests/web/sentences/*.txt, every sentence it changes, so that a reader reads sentences, not
// keys.
//
// usage: node tests/web/sentences.mjs            (writes tests/web/sentences/*.txt)
import { mkdirSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import TEXTS from '../../web/texts/all.js';
import * as mistakes from '../../web/mistakes.js';
import * as view from '../../web/page_view.js';
import * as words from '../../web/words.js';

export const FOLDER = join(dirname(fileURLToPath(import.meta.url)), 'sentences');
const COUNTS = [0, 1, 2, 3, 5, 21, 22];

// What a browser shows of a name's markup, as the page's DOMParser gives it: its text, tags
// left out, for the mistakes' "prints as".
globalThis.Node ??= { TEXT_NODE: 3 };
const htmlParser = {
  parseFromString(html) {
    const texts = html.replace(/<br>/g, '\u0001').split(/<[^>]*>/).join('')
      .split(/(\u0001)/).filter(Boolean);
    const nodes = texts.map((text) => (text === '\u0001' ? { nodeName: 'BR' }
      : { nodeType: 3, data: text, parentNode: { nodeName: 'TH' } }));
    return { body: {}, createTreeWalker: () => ({ nextNode: () => nodes.shift() ?? null }) };
  },
};

// Values as users meet them, by the name of the {name} they fill, as the page writes them in
// the language in use.
const valuesOf = (language) => ({
  file: 'hoste-2026.xlsx', sheet: 'Účastníci', size: words.size(12800),
  rows: words.t('rows', { count: 3 }), reason: 'out of memory',
  percent: new Intl.NumberFormat(language, { style: 'percent' }).format(0.45),
  line: words.article(7) + words.t('lineNumber', { number: 7 }), lines: words.article(7) +
  words.t('lineNumber', { number: 7 }), number: 3, typed: 'Prof. Jan Nepomuk Procházka',
  shown: 'Prof. Jan Nepomuk Procházka', suggested: 'Prof. Jan Nepomuk=Procházka',
  settings: '4=UTF-8', meant: 'UTF-8', named: 'ISO-8859-2', bytes: 199, held: 2, a4: 1,
  letter: 2, column: 'Příjmení', cells: 'Jméno, Příjmení, Firma',
  tags: words.t('tags', { count: 3 }), pages: words.t('pages', { count: 2 }), count: 3,
});

// A list to quote from: its first line, and the name the mistake's lines hold.
const listOf = (first, name) => new TextEncoder().encode(`${first}\r\n${Array.from({ length: 40 },
  (_, at) => (at % 8 === 0 ? name : 'Petr Dvořák')).join('\r\n')}\r\n`);
const LONG = 'Prof. Jan Nepomuk Procházka=Ústav organické chemie a biochemie AV ČR';

const lines = (count) => ({ count, lines: Array.from({ length: Math.min(count, 5) }, (_, at) => 2 + 8 * at) });
const none = () => ({ count: 0, lines: [] });

// The tool's findings, as korvela_web.cpp hands them over, with one mistake of count lines.
function factsWith(mistake, count, extra = {}) {
  const found = Object.fromEntries(['saved_as_utf16', 'not_text', 'unknown_charset',
    'spaced_settings_line', 'utf8_not_declared', 'declared_utf8_not_saved',
    'name_as_settings_line', 'list_ends_early', 'markup_in_name', 'line_over_read',
    'text_after_return', 'empty_tag', 'names_in_one_line', 'name_over_lines', 'no_names']
    .map((name) => [name, name === mistake ? lines(count) : none()]));
  return { layout: 1, charset: 'windows-1250', hasSettingsLine: 1, lineMaxBytes: 199, tags: 40,
    pages: 40, lastLine: 41, linesATag: 2, text: 'utf8_letters', kind: 'plain_text',
    charsetMeant: 'UTF-8', settingsMeant: '6=UTF-8', worstMarkup: 'changes_text',
    worstMarkupLine: 6, worstMarkupTag: 5, bytesAfterEnd: 120, linesAfterEnd: count,
    letterCutLine: 0, overLines: 4, overTooWide: 0, overBreak: 17,
    fitted: 0, tagsSetSmaller: 0,
    printedPages: { A4: [40 + count, 40 + count], Letter: [41 + count, 41 + count] },
    mistakes: found, ...extra };
}

// Each mistake's forms: the facts that make the page word it otherwise, the list's first line,
// and the name on the lines it names.
const MISTAKE_FORMS = {
  saved_as_utf16: [[{}, '\uFEFF4=UTF-8', 'Jana']],
  not_text: ['plain_text', 'pdf_file', 'picture_file', 'workbook_file', 'document_file',
    'archive_file', 'old_office_file', 'program_file'].map((kind) => [{ kind }, '4=', 'Jana']),
  unknown_charset: [[{}, '4=ISO-8859-2', 'Žofie'], [{ charsetMeant: null }, '4=ISO-8859-2', 'Žofie']],
  spaced_settings_line: [[{}, '6 = UTF-8', 'Žofie']],
  utf8_not_declared: [[{ hasSettingsLine: 0 }, 'Jana Nováková', 'Žofie Šťastná'],
    [{}, '4=', 'Žofie Šťastná'], [{ charset: 'WINDOWS-1250' }, '2=windows-1250', 'Žofie Šťastná']],
  declared_utf8_not_saved: [[{}, '4=UTF-8', 'Zofie']],
  name_as_settings_line: [[{}, 'Jana=Nováková', 'Petr'], [{ text: 'not_utf8' }, 'Jana=Novakova', 'Petr']],
  list_ends_early: [[{}, '4=', 'Jana']],
  markup_in_name: ['changes_text', 'loads_from_elsewhere', 'runs_script', 'hides_later_tags']
    .map((worstMarkup) => [{ worstMarkup }, '4=UTF-8', 'Jan <Honza> Novák']),
  line_over_read: [[{}, '4=UTF-8', 'Jana'], [{ letterCutLine: 10 }, '4=UTF-8', 'Jana']],
  text_after_return: [[{}, '4=', 'Jana']],
  empty_tag: [[{}, '4=', ''], [{ lastLine: 2 }, '4=', '']],
  names_in_one_line: [[{}, '4=UTF-8', 'Anna Malá, Petr Dvořák, Eva Nová']],
  name_over_lines: [[{}, '2=UTF-8', LONG], [{ overTooWide: 1, overBreak: -1 }, '2=UTF-8',
    'Jana Procházková-Schwarzenbergová'], [{ fitted: 1, overBreak: -1, printedPages:
    { A4: [40, 40], Letter: [40, 40] } }, '2=UTF-8', 'ProcházkováDvořákováSchwarzenbergová']],
  no_names: [[{ tags: 0 }, '4=', 'Jana']],
};

function section(title, entries) {
  return `\n## ${title}\n${entries.map(([what, text]) => `${what}: ${text}`).join('\n')}\n`;
}

// Each text, its {names} filled with VALUES, each plural text at COUNTS.
// Where one name fills two texts otherwise: the rows of a mistake are as many numbers as its
// count, the papers' pages are the pages text.
const VALUES_OF_KEY = {
  'mistake.rows': (count) => ({ rows: words.list([3, 11, 19, 27, 35].slice(0, Math.max(count, 1))
    .map((number) => words.t('lineNumber', { number }))) }),
  'summary.papers': (count) => ({ a4: words.t('pages', { count }),
    letter: words.t('pages', { count: count + 1 }) }),
  'mapping.orderByColumn': () => ({ column: 'C' }),
  'mapping.column': () => ({ column: 'C' }),
};

// Each text, its {names} filled, at each count where the language or English counts it.
function texts(language) {
  const values = valuesOf(language);
  return Object.entries(TEXTS.en).flatMap(([key, english]) => {
    const filled = (count) => ({ ...values, ...VALUES_OF_KEY[key]?.(count), count });
    const counted = [english, TEXTS[language][key]].some((text) => typeof text === 'object');
    if (!counted) return [[key, words.t(key, filled(3))]];
    return COUNTS.map((count) => [`${key} @${count}`, words.t(key, filled(count))]);
  });
}

function summaries() {
  const said = [];
  for (const tags of COUNTS) {
    const pages = Math.max(1, tags);
    for (const [letter, smaller, found] of [[pages, 0, 0], [pages + 1, 0, 1], [pages, tags, 2]]) {
      const facts = { ...factsWith(null, 0), tags, layout: 1, fitted: smaller ? 1 : 0,
        tagsSetSmaller: smaller, printedPages: { A4: [pages, pages], Letter: [letter, letter] } };
      said.push([`${tags} tags, ${pages}/${letter} pages, ${smaller} set smaller, ${found} found`,
        view.summaryText(facts, true, Array(found).fill({}))]);
    }
  }
  for (const count of COUNTS) {
    said.push([`print pages ${count}`, view.printPagesText({ printedPages:
      { A4: [count + 3, count] } })]);
  }
  return said;
}

// Each mistake in each of its forms, at each count that words it otherwise.
function mistakeSentences() {
  const said = [];
  for (const [mistake, forms] of Object.entries(MISTAKE_FORMS)) {
    forms.forEach(([form, first, name], at) => {
      let before = null;
      for (const count of COUNTS.filter((n) => n > 0)) {
        const [found] = mistakes.of(factsWith(mistake, count, form), listOf(first, name),
          { fill: true, inUse: 6 });
        const text = found.fix ? `${found.text} [${found.fix.label}]` : found.text;
        if (text !== before) said.push([`${mistake} ${at + 1}, ${count} lines`, text]);
        before = text;
      }
    });
  }
  for (const count of [1, 3, 22]) {
    const [fromSheet] = mistakes.of(factsWith('names_in_one_line', count),
      listOf('4=UTF-8', 'Anna Malá, Petr Dvořák'),
      { fill: true, rowNumbers: Array.from({ length: 40 }, (_, at) => at + 3) });
    said.push([`names_in_one_line, ${count} lines of a spreadsheet`, fromSheet.text]);
  }
  return said;
}

function sources() {
  const origins = [
    ['sample', { kind: 'sample' }], ['box', { kind: 'box' }],
    ['box after a reading stopped', { kind: 'box', stopped: 'hoste-2026.xlsx' }],
    ['a small file in the box', { kind: 'file', name: 'Korvela.txt', size: 840 }],
    ['a file too long for the box', { kind: 'file', name: 'hoste.txt', size: 3.4 * (1 << 20) }],
    ['a file from UTF-16', { kind: 'file', name: 'unicode.txt', size: 12800, converted: true }],
  ];
  for (const count of COUNTS) {
    origins.push([`a workbook of ${count} rows, ${count} left out`,
      { kind: 'spreadsheet', name: 'hoste-2026.xlsx', rows: count, duplicates: count }]);
    origins.push([`${count} cells pasted`, { kind: 'cells', name: '', rows: count, duplicates: 0 }]);
  }
  const said = origins.map(([what, origin]) => [what, view.sourceText({ origin,
    box: origin.size > 1 << 20 ? null : '' })]);
  said.push(['a file too long for the box, its layout written', view.sourceText({ box: null,
    origin: { kind: 'file', name: 'hoste.txt', size: 3.4 * (1 << 20), layoutWritten: true } })]);
  return said;
}

function sizes() {
  return [0, 10, 840, 1023, 1024, 12800, 3.4 * (1 << 20)].map((bytes) => [`${bytes} bytes`,
    words.size(bytes)]);
}

function mappingChoices() {
  return [
    ['a row', words.t('mapping.row', { number: 2, cells: 'Jméno, Příjmení, Firma' })],
    ['a part', words.t('mapping.part', { line: words.t('mapping.line2'), number: 2 })],
    ['an order', words.t('mapping.orderBy', { column: 'Příjmení' })],
    ['an order by a letter', words.t('mapping.orderByColumn', { column: 'C' })],
    ['a preview page', words.t('preview.page', { number: 12 })],
    ['a file refused', `${words.t('refused', { file: 'photo.jpg' })} ${
      words.t('not_text.picture_file')}`],
  ];
}

export function sentencesOf(language) {
  globalThis.DOMParser = class { parseFromString(html) { return htmlParser.parseFromString(html); } };
  words.use(language);
  return `# The page's sentences in ${TEXTS[language].language} (${language}), as it says them\n` +
    section('Each text', texts(language)) + section('The summary', summaries()) +
    section('The mistakes', mistakeSentences()) + section('Where the list came from', sources()) +
    section('Sizes', sizes()) + section('The mapping step, the preview, a refusal', mappingChoices());
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  mkdirSync(FOLDER, { recursive: true });
  for (const language of Object.keys(TEXTS)) {
    writeFileSync(join(FOLDER, `${language}.txt`), sentencesOf(language));
  }
}
