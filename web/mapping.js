// The mapping step's rules: a spreadsheet's rows made into names, a tag a row. Where the
// table's headings stand, which columns make each of the tag's two lines, in which order the
// tags come and whether rows that repeat are left out. It knows rows and texts, not the page.
const HEADINGS_SEARCHED = 10;
const COLLATORS = new Map();

// Headings, in lower case and without accents, by what they name.
const HEADINGS = {
  first: ['first name', 'firstname', 'first', 'given name', 'forename', 'jmeno', 'krestni jmeno',
    'meno', 'krstne meno', 'imie', 'vorname', 'keresztnev', 'utonev'],
  last: ['last name', 'lastname', 'last', 'surname', 'family name', 'prijmeni', 'priezvisko',
    'nazwisko', 'nachname', 'familienname', 'zuname', 'vezeteknev', 'csaladnev'],
  company: ['company', 'organisation', 'organization', 'institution', 'employer', 'firm',
    'company name', 'firma', 'spolecnost', 'organizace', 'instituce', 'zamestnavatel',
    'organizacia', 'spolocnost', 'organizacja', 'instytucja', 'unternehmen', 'ceg', 'cegnev', 'szervezet', 'intezmeny'],
  whole: ['name', 'full name', 'jmeno a prijmeni', 'prijmeni a jmeno', 'cele jmeno',
    'meno a priezvisko', 'priezvisko a meno', 'imie i nazwisko', 'nazwisko i imie', 'nev',
    'teljes nev', 'vollstandiger name', 'participant', 'ucastnik', 'teilnehmer', 'uczestnik',
    'resztvevo'],
};
// Under Hungarian headings the family name comes first.
const FAMILY_FIRST = ['vezeteknev', 'csaladnev', 'keresztnev', 'utonev'];

export const plain = (text) => text.normalize('NFD').replace(/[\u0300-\u036f]/g, '')
  .toLowerCase().replace(/[^a-z]+/g, ' ').trim();
const roleOf = (heading) =>
  Object.keys(HEADINGS).find((role) => HEADINGS[role].includes(plain(heading)));

// "C" for column 2, "AA" for 26.
export const letterOf = (at) =>
  (at >= 26 ? letterOf(Math.floor(at / 26) - 1) : '') + String.fromCharCode(65 + (at % 26));

// The row of headings among the first rows: the first that holds a heading the page knows;
// -1 where none does.
export const findHeadings = (rows) =>
  rows.slice(0, HEADINGS_SEARCHED).findIndex((row) => row.cells.some(roleOf));

export const widthOf = (rows) => rows.reduce((width, row) => Math.max(width, row.cells.length), 0);

// Whether a sheet holds a table: headings the page knows, or rows of several cells.
export function holdsTable(rows) {
  if (findHeadings(rows) >= 0) return true;
  const first = rows.slice(0, 20);
  return first.length > 1 && first.filter((row) =>
    row.cells.filter((cell) => cell.trim() !== '').length > 1).length * 2 >= first.length;
}

// The columns of each line that the headings ask for; without headings, every column on the
// first line. "Name" beside a first name is the family name, as German lists have it.
function defaultLines(headings, width) {
  const every = Array.from({ length: width }, (_, at) => at);
  if (!headings) return [every, []];
  const at = {};
  headings.forEach((heading, column) => {
    const beside = plain(heading) === 'name' && headings.some((other) => roleOf(other) === 'first');
    const role = beside ? 'last' : roleOf(heading);
    if (role && !(role in at)) at[role] = column;
  });
  if (Object.keys(at).length === 0) return [every, []];
  const names = [at.first, at.last].filter((column) => column !== undefined);
  if (headings.some((heading) => FAMILY_FIRST.includes(plain(heading)))) names.reverse();
  if ('company' in at) return [names.length ? names : [at.whole ?? 0], [at.company]];
  if (names.length === 2) return [[names[0]], [names[1]]];
  return [[names[0] ?? at.whole ?? 0], []];
}

// A cell as a line of the tag shows it: text, so "<" and "&" are written to print as typed, a
// line break in it a space; in the first line an "=" would break the tag, and "&#61;" prints
// as one instead.
function lineOf(cells, columns, first) {
  return columns.map((column) => {
    const text = (cells[column] || '').replace(/\s+/g, ' ').trim()
      .replace(/&/g, '&amp;').replace(/</g, '&lt;');
    return first ? text.replace(/=/g, '&#61;') : text;
  }).filter(Boolean).join(' ');
}

function collator(language) {
  if (!COLLATORS.has(language)) {
    COLLATORS.set(language, new Intl.Collator(language, { numeric: true, sensitivity: 'base' }));
  }
  return COLLATORS.get(language);
}

// The rows under the headings, in the order asked for: by a column's cells (empty ones last),
// or as the sheet has them.
function ordered(rows, sortBy, language) {
  if (sortBy < 0) return rows;
  const { compare } = collator(language);
  const key = (row) => (row.cells[sortBy] || '').trim();
  return [...rows].sort((a, b) => (key(a) === '') - (key(b) === '') || compare(key(a), key(b)));
}

// The names an import makes: its lines, a tag each, and how many rows repeated one before them
// and were left out. choice: { rows, headingsAt, lines: [first, second], sortBy,
// dropDuplicates }; language orders the sort.
export function namesOf(choice, language) {
  const { rows, headingsAt, lines: [first, second], sortBy, dropDuplicates } = choice;
  const made = [];
  const seen = new Set();
  let duplicates = 0;
  // A row repeated in the sheet (.ods keeps one row for many alike) makes its line once.
  let [cellsBefore, lineBefore] = [null, ''];
  for (const row of ordered(rows.slice(headingsAt + 1), sortBy, language)) {
    if (row.cells !== cellsBefore) {
      const [top, bottom] = [lineOf(row.cells, first, true), lineOf(row.cells, second, false)];
      [cellsBefore, lineBefore] = [row.cells, bottom ? `${top}=${bottom}` : top];
    }
    const line = lineBefore;
    if (!line) continue;
    if (dropDuplicates) {
      if (seen.has(line)) {
        duplicates++;
        continue;
      }
      seen.add(line);
    }
    made.push(line);
  }
  return { lines: made, duplicates };
}

// The choice an import starts with: the headings found, the lines they ask for, the sheet's
// own order, every row kept.
export function firstChoice(rows) {
  const headingsAt = findHeadings(rows);
  return { rows, headingsAt, lines: linesUnder(rows, headingsAt), sortBy: -1,
    dropDuplicates: false };
}

// The lines the headings in row headingsAt ask for (-1: none), over the sheet's whole width.
export function linesUnder(rows, headingsAt) {
  return defaultLines(headingsAt >= 0 ? rows[headingsAt].cells : null, widthOf(rows));
}
