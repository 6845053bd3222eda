// The mapping step's rules: a spreadsheet's rows made into names, a tag a row. Where the
// table's headings stand, which columns make each of the tag's two lines, in which order the
// tags come and whether rows that repeat are left out. It knows rows and texts, not the page.
const HEADINGS_SEARCHED = 10;
const NAME_LENGTH = 60;
const COLLATORS = new Map();

// Headings, in lower case and without accents, by what they name.
const HEADINGS = {
  // A title before the name ("Ing.", "Dr."), as registration forms ask it apart.
  title: ['title', 'academic title', 'titul', 'titul pred menom', 'tytul', 'titel',
    'akademischer titel', 'anrede titel', 'titulus'],
  first: ['first name', 'firstname', 'first', 'given name', 'forename', 'jmeno', 'krestni jmeno',
    'meno', 'krstne meno', 'imie', 'vorname', 'keresztnev', 'utonev'],
  last: ['last name', 'lastname', 'last', 'surname', 'family name', 'prijmeni', 'priezvisko',
    'nazwisko', 'nachname', 'familienname', 'zuname', 'vezeteknev', 'csaladnev'],
  company: ['company', 'organisation', 'organization', 'institution', 'employer', 'firm',
    'company name', 'firma', 'spolecnost', 'organizace', 'instituce', 'zamestnavatel',
    'organizacia', 'spolocnost', 'organizacja', 'instytucja', 'unternehmen', 'ceg', 'cegnev',
    'szervezet', 'intezmeny'],
  // No part of a name, but what a tag's second line often shows where no company is: a school,
  // a class, a role, a table, a department, a city.
  detail: [
    'school', 'university', 'college', 'skola', 'univerzita', 'vysoka skola', 'szkola',
    'uczelnia', 'uniwersytet', 'schule', 'hochschule', 'universitat', 'iskola', 'egyetem',
    'class', 'grade', 'trida', 'rocnik', 'trieda', 'klasa', 'klasse', 'jahrgang', 'evfolyam',
    'role', 'position', 'function', 'job title', 'funkce', 'pozice', 'pracovni pozice',
    'funkcia', 'pozicia', 'pracovna pozicia', 'rola', 'stanowisko', 'funkcja', 'rolle',
    'funktion', 'beosztas', 'szerep', 'funkcio', 'munkakor',
    'table', 'table number', 'seat', 'stul', 'cislo stolu', 'misto', 'stol', 'cislo stola',
    'miesto', 'stolik', 'miejsce', 'tisch', 'tischnummer', 'platz', 'sitzplatz', 'asztal',
    'hely',
    'department', 'division', 'unit', 'team', 'oddeleni', 'odbor', 'katedra', 'fakulta',
    'oddelenie', 'dzial', 'wydzial', 'zespol', 'abteilung', 'bereich', 'fachbereich',
    'osztaly', 'reszleg',
    'city', 'town', 'mesto', 'obec', 'miasto', 'miejscowosc', 'stadt', 'ort', 'wohnort',
    'varos', 'telepules'],
  whole: ['name', 'full name', 'jmeno a prijmeni', 'prijmeni a jmeno', 'cele jmeno',
    'meno a priezvisko', 'priezvisko a meno', 'imie i nazwisko', 'nazwisko i imie', 'nev',
    'teljes nev', 'vollstandiger name', 'participant', 'ucastnik', 'teilnehmer', 'uczestnik',
    'resztvevo'],
};
// The roles that are no part of a name, in the order the second line takes them.
const BESIDE_NAMES = ['company', 'detail'];
// A word that alone names the whole name (or, as Czech "jméno" and Slovak "meno" often do,
// the given name) names the other part beside one part of a name: German "Name, Vorname" is
// the family name, British "Name, Surname" the given name.
const EITHER_PART = ['name', 'jmeno', 'meno', 'nev'];
const OTHER_PART = { first: 'last', last: 'first' };
// Under Hungarian headings the family name comes first.
const FAMILY_FIRST = ['vezeteknev', 'csaladnev', 'keresztnev', 'utonev'];

// Polish "ł" has no accent to take off: "Szkoła" is "szkola".
export const plain = (text) => text.normalize('NFD').replace(/[\u0300-\u036f]/g, '')
  .toLowerCase().replace(/ł/g, 'l').replace(/[^a-z]+/g, ' ').trim();
const roleOf = (heading) =>
  Object.keys(HEADINGS).find((role) => HEADINGS[role].includes(plain(heading)));

// A heading's role among the row's others: a word of EITHER_PART beside a first name or a
// last name, not both, is the other part.
function roleAmong(headings, column) {
  const own = roleOf(headings[column]);
  if (!EITHER_PART.includes(plain(headings[column]))) return own;
  const parts = new Set(headings.filter((other, at) => at !== column &&
    !EITHER_PART.includes(plain(other))).map(roleOf).filter((role) => role in OTHER_PART));
  return parts.size === 1 ? OTHER_PART[[...parts][0]] : own;
}

// "C" for column 2, "AA" for 26.
export const letterOf = (at) =>
  (at >= 26 ? letterOf(Math.floor(at / 26) - 1) : '') + String.fromCharCode(65 + (at % 26));

// The row of headings among the first rows: the first that holds a heading the page knows;
// -1 where none does.
export const findHeadings = (rows) =>
  rows.slice(0, HEADINGS_SEARCHED).findIndex((row) => row.cells.some(roleOf));

export const widthOf = (rows) => rows.reduce((width, row) => Math.max(width, row.cells.length), 0);

const filled = (row) => row.cells.filter((cell) => cell.trim() !== '');

// Whether a cell could be a name: a short text with a letter in it, neither a sentence ("Thank
// you.", a word and a stop at its end) nor prose (three words in small letters; a name has at
// most a "van der").
function couldBeName(cell) {
  const text = cell.trim();
  const smallWords = text.split(/\s+/).filter((word) => /^\p{Ll}/u.test(word)).length;
  return text.length <= NAME_LENGTH && /\p{L}/u.test(text) && smallWords < 3 &&
    !/\p{Ll}{3}[.!?:]$/u.test(text);
}

// Whether a sheet holds a table: headings the page knows, rows of several cells, or a column
// of what could be names.
export function holdsTable(rows) {
  if (findHeadings(rows) >= 0) return true;
  const first = rows.slice(0, 20);
  const most = (test) => first.length > 1 && first.filter(test).length * 2 >= first.length;
  return most((row) => filled(row).length > 1) ||
    most((row) => filled(row).length === 1 && couldBeName(filled(row)[0]));
}

// The columns of each line that the headings ask for; without headings, every column on the
// first line.
function defaultLines(headings, width) {
  const every = Array.from({ length: width }, (_, at) => at);
  if (!headings) return [every, []];
  const at = {};
  headings.forEach((heading, column) => {
    const role = roleAmong(headings, column);
    if (role && !(role in at)) at[role] = column;
  });
  if (Object.keys(at).length === 0) return [every, []];
  const names = [at.first, at.last].filter((column) => column !== undefined);
  if (headings.some((heading) => FAMILY_FIRST.includes(plain(heading)))) names.reverse();
  if (names.length > 0 && at.title !== undefined) names.unshift(at.title);
  const second = BESIDE_NAMES.map((role) => at[role]).find((column) => column !== undefined);
  if (second !== undefined) return [names.length ? names : [at.whole ?? 0], [second]];
  if (names.length === 2) return [[names[0]], [names[1]]];
  return [[names[0] ?? at.whole ?? 0], []];
}

// Whether the tag's second line shows no part of a name: each of its columns is headed as a
// company, a school, a role or another of BESIDE_NAMES. The page prints such a line smaller.
export function secondLineHoldsNoName({ rows, headingsAt, lines: [, second] }) {
  if (headingsAt < 0 || second.length === 0) return false;
  const headings = rows[headingsAt].cells;
  return second.every((column) => BESIDE_NAMES.includes(roleOf(headings[column] ?? '')));
}

// Every "<" and "&" written to print as typed; the page writes only those that a browser would
// read as markup, by the tool's own rule (tool.asText).
const everyMarkupLetter = (text) => text.replace(/&/g, '&amp;').replace(/</g, '&lt;');

// A cell as a line of the tag shows it: text, written by asText to print as typed, a line break
// in it a space; in the first line an "=" would break the tag, and "&#61;" prints as one
// instead.
function lineOf(cells, columns, first, asText) {
  return columns.map((column) => {
    const text = asText((cells[column] || '').replace(/\s+/g, ' ').trim());
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

// The names an import makes: its lines, a tag each, the number of the row each came from, and
// how many rows repeated one before them and were left out. choice: { rows, headingsAt, lines:
// [first, second], sortBy, dropDuplicates }; language orders the sort; asText writes a cell's
// text to print as typed.
export function namesOf(choice, language, asText = everyMarkupLetter) {
  const { rows, headingsAt, lines: [first, second], sortBy, dropDuplicates } = choice;
  const made = [];
  const rowNumbers = [];
  const seen = new Set();
  let duplicates = 0;
  // A row repeated in the sheet (.ods keeps one row for many alike) makes its line once.
  let [cellsBefore, lineBefore] = [null, ''];
  for (const row of ordered(rows.slice(headingsAt + 1), sortBy, language)) {
    if (row.cells !== cellsBefore) {
      const [top, bottom] = [lineOf(row.cells, first, true, asText),
        lineOf(row.cells, second, false, asText)];
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
    rowNumbers.push(row.number);
  }
  return { lines: made, rowNumbers, duplicates };
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
