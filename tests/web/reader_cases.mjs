// The reader's cases, one row each, grouped by format: files from real producers (LibreOffice,
// openpyxl, XlsxWriter, odfpy, in tests/workbooks/), small edits of them where no producer
// writes the quirk, and text as Excel saves or copies it. Each gives a file's bytes or a text
// pasted, the page's language, and what must come of it: the sheet started at, its first rows
// of cells, the names the mapping step makes by default (or with choices), or the reason the
// reader gives. Run in node (reader_test.mjs) and in each browser (tests/print/page/).
import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { edited, xlsxOf, zipOf } from './zip_files.mjs';

const workbook = (name) =>
  readFileSync(join(dirname(fileURLToPath(import.meta.url)), '..', 'workbooks', name));
const windows1250 = (text) => Buffer.from([...text].map((letter) => ({ Ž: 0x8E, ž: 0x9E,
  á: 0xE1, í: 0xED, é: 0xE9, ř: 0xF8, ě: 0xEC })[letter] ?? letter.charCodeAt(0)));

const GUESTS = [['Jméno', 'Příjmení', 'Firma', 'Registrace', 'Poplatek'],
  ['Jana', 'Nováková', 'ACME s.r.o.', '2025-03-12', '1200.5'],
  ['Petr', 'Dvořák', 'Škoda Auto, a.s.', '2025-03-13', '800']];
const FORMATS_HEADINGS = ['Jméno', 'Příjmení', 'Datum', 'Saldo', 'Poplatek', 'Eura', 'Platí'];
const FORMATS_CS = [FORMATS_HEADINGS,
  ['Jana', 'Nováková', '1. 9. 2026', '-1\u00a0234', '-1\u00a0234 Kč', '12,50 €', 'PRAVDA']];
const GUEST_NAMES = ['Jana Nováková=ACME s.r.o.', 'Petr Dvořák=Škoda Auto, a.s.',
  'Žofie Šťastná ml.=A=B Consulting'];
const LO = 'guests.xlsx';
const SHEET = 'xl/worksheets/sheet1.xml';
const STRINGS = 'xl/sharedStrings.xml';

// The main namespace's elements written with a prefix, as tools outside Excel often do.
const prefixed = (xml) => xml.replace(/xmlns="([^"]*spreadsheetml[^"]*)"/, 'xmlns:x="$1"')
  .replace(/<(\/?)([a-zA-Z]+)(?=[\s/>])/g, '<$1x:$2');

export const CASES = [
  // ---- CSV and cells as text
  ['csv', 'Excel\'s "sep=;" line names the separator', { text: 'sep=;\r\nJméno;Příjmení\r\nJana;Nováková\r\n' },
    { rows: [['Jméno', 'Příjmení'], ['Jana', 'Nováková']] }],
  ['csv', 'a paste ending in a separator keeps its last row', { text: 'Jméno\tFirma\r\nJana\t' },
    { rows: [['Jméno', 'Firma'], ['Jana', '']] }],
  ['csv', 'one column, quoted by RFC 4180', { bytes: '"Nováková, Jana"\r\n"Petr ""Péťa"" Dvořák"\r\n"Žofie\r\nŠťastná"\r\n' },
    { rows: [['Nováková, Jana'], ['Petr "Péťa" Dvořák'], ['Žofie\r\nŠťastná']] }],
  ['csv', 'a pasted cell holding a line break', { text: 'Jméno\tPoznámka\nJana\t"řádek 1\nřádek 2"\n' },
    { rows: [['Jméno', 'Poznámka'], ['Jana', 'řádek 1\nřádek 2']] }],
  ['csv', 'windows-1250 with semicolons, as Excel saves it', { bytes: windows1250('Jméno;Příjmení\r\nŽofie;Veselá\r\n') },
    { rows: [['Jméno', 'Příjmení'], ['Žofie', 'Veselá']] }],
  ['csv', 'UTF-16 with tabs, Excel\'s "Unicode text"', { bytes: Buffer.from('\uFEFFJméno\tFirma\r\nJana\tACME\r\n', 'utf16le') },
    { rows: [['Jméno', 'Firma'], ['Jana', 'ACME']] }],
  ['csv', 'a quote inside an unquoted cell is kept', { bytes: 'Jméno,Přezdívka\nPetr,Péťa "Šéf"\n' },
    { rows: [['Jméno', 'Přezdívka'], ['Petr', 'Péťa "Šéf"']] }],

  // ---- .xlsx from producers
  ['xlsx', 'LibreOffice', { bytes: workbook(LO) }, { rows: GUESTS, names: GUEST_NAMES }],
  ['xlsx', 'LibreOffice, 20,000 rows with dates', { bytes: workbook('libreoffice-dates.xlsx') },
    { rows: [['Jméno', 'Příjmení', 'Firma', 'Registrace'], ['Jana 0', 'Nováková', 'ACME 0', '2026-01-05']], count: 20001 }],
  ['xlsx', 'XlsxWriter: the active sheet past an empty and a hidden one; its formats in Czech',
    { bytes: workbook('xlsxwriter-formats.xlsx'), language: 'cs' },
    { sheet: 'Hosté', rows: FORMATS_CS }],
  ['xlsx', 'the built-in short date in German', { bytes: workbook('xlsxwriter-formats.xlsx'), language: 'de' },
    { rows: [FORMATS_HEADINGS,
      ['Jana', 'Nováková', '1.9.2026', '-1.234', '-1.234 Kč', '12,50 €', 'WAHR']] }],
  ['xlsx', 'XlsxWriter: currencies by their ISO codes',
    { bytes: workbook('xlsxwriter-currencies.xlsx') },
    { rows: [['Jméno', 'USD', 'CHF', 'HUF', 'SEK'],
      ['Jana', 'USD 1,500.00', '1,500.00 CHF', '1,500 HUF', 'SEK 1,500']] }],
  ['xlsx', 'openpyxl: the table past a sheet of instructions', { bytes: workbook('openpyxl-instructions.xlsx') },
    { sheet: 'Účastníci', names: GUEST_NAMES.map((name) => name.replace(' ml.', '')) }],
  ['xlsx', 'openpyxl: a title above German headings, "Name" beside "Vorname"', { bytes: workbook('openpyxl-report.xlsx') },
    { names: ['Jana Nováková=ACME s.r.o.', 'Petr Dvořák=Škoda Auto, a.s.', 'Žofie Šťastná=A=B Consulting'] }],
  ['xlsx', 'openpyxl: a registration export, a title over its headings, five registered twice',
    { bytes: workbook('registration-export.xlsx'), choice: { dropDuplicates: true } },
    { headingsAt: 1, count: 302, duplicates: 5, firstNames: ['Šárka Šťastná',
      'Ferenc Németh=Eötvös Loránd Tudományegyetem', 'Petr Procházka=Škoda Auto a.s.'] }],
  ['xlsx', 'a column of names without headings before a summary', { bytes: xlsxOf(
    [['Jana Nováková'], ['Petr Dvořák']], ['Souhrn', [['Celkem', '2'], ['Firmy', '0']]]) },
  { sheet: 'Hosté', count: 2 }],
  ['xlsx', 'a column of numbers before the table', { bytes: xlsxOf([['120'], ['80']],
    ['Účastníci', [['Jméno'], ['Jana']]]) }, { sheet: 'Účastníci' }],

  // ---- .xlsx as other producers write it: small edits of LibreOffice's and XlsxWriter's
  ['xlsx', 'a namespace prefix on every element', { bytes: edited(workbook(LO), {
    [SHEET]: prefixed, [STRINGS]: prefixed, 'xl/workbook.xml': prefixed, 'xl/styles.xml': prefixed }) },
  { rows: GUESTS }],
  ['xlsx', 'attributes in single quotes', { bytes: edited(workbook(LO), {
    [SHEET]: (xml) => xml.replace(/(\w+)="([^"]*)"/g, "$1='$2'") }) }, { rows: GUESTS }],
  ['xlsx', 'an <xf> without numFmtId', { bytes: edited(workbook('xlsxwriter-formats.xlsx'), {
    'xl/styles.xml': (xml) => xml.replace(/(<cellXfs[^>]*><xf) numFmtId="0"/, '$1') }), language: 'cs' },
  { rows: FORMATS_CS }],
  ['xlsx', 'an empty <si/> among the shared strings', { bytes: edited(workbook(LO), {
    [STRINGS]: (xml) => xml.replace(/<si>/, '<si/><si>'),
    [SHEET]: (xml) => xml.replace(/(t="s"[^>]*><v>)(\d+)/g, (whole, head, at) => `${head}${Number(at) + 1}`) }) },
  { rows: GUESTS }],
  ['xlsx', 'CDATA, _x000D_ and a phonetic reading in strings', { bytes: edited(workbook(LO), {
    [STRINGS]: (xml) => xml.replace('>ACME s.r.o.<', '><![CDATA[ACME & s.r.o.]]><')
      .replace('>Jana<', '>Ja_x000D_na<').replace(/(<si><t[^>]*>Petr<\/t>)/, '$1<rPh sb="0" eb="4"><t>ペトル</t></rPh>') }) },
  { rows: [GUESTS[0], ['Ja\rna', 'Nováková', 'ACME & s.r.o.', ...GUESTS[1].slice(3)],
    GUESTS[2]] }],
  ['xlsx', 'no headings, a column empty in the first rows', { bytes: xlsxOf([['Anna'], ['Bob'], ['Cyril'], ['Dana'], ['Emil'], ['Filip'], ['Gita', 'ACME']]) },
    { names: ['Anna', 'Bob', 'Cyril', 'Dana', 'Emil', 'Filip', 'Gita ACME'] }],
  ['xlsx', 'an "=" and markup in cells', { bytes: xlsxOf([['Jméno', 'Firma'], ['Jana=Nová', '‹Malá&gt;'], ['&lt;b&gt;', 'A=B']]) },
    { names: ['Jana&#61;Nová=‹Malá>', '&lt;b>=A=B'] }],

  // ---- .ods
  ['ods', 'LibreOffice', { bytes: workbook('guests.ods') }, { rows: GUESTS, names: GUEST_NAMES }],
  ['ods', 'odfpy: 120 empty cells repeated mid-row, a comment and a titled picture in cells',
    { bytes: workbook('odfpy-cells.ods') },
    { rows: [['Jméno', ...Array(120).fill(''), 'Firma'], ['Jana Nováková', ...Array(120).fill(''), 'ACME'],
      ['Petr\nDvořák', ...Array(120).fill(''), 'Škoda']] }],

  // ---- The mapping step's defaults
  ['mapping', 'cells pasted without headings: every column', { text: 'Jana\tNováková\tACME\nPetr\tDvořák\tŠkoda\n' },
    { names: ['Jana Nováková ACME', 'Petr Dvořák Škoda'] }],
  ['mapping', 'German "Name, Vorname, Firma"', { text: 'Name\tVorname\tFirma\nNovák\tJan\tACME\n' },
    { names: ['Jan Novák=ACME'] }],
  ['mapping', 'British "Name, Surname, Company"',
    { text: 'Name,Surname,Company\nJana,Nováková,ACME\n' }, { names: ['Jana Nováková=ACME'] }],
  ['mapping', '"Name, Surname": the surname is a name', { text: 'Name,Surname\nJana,Nováková\n' },
    { names: ['Jana=Nováková'], secondNoName: false }],
  ['mapping', '"Title, Name, Surname, Organisation"',
    { text: 'Title,Name,Surname,Organisation\nDr,Jana,Nováková,ACME\n' },
    { names: ['Dr Jana Nováková=ACME'] }],
  ['mapping', 'Hungarian "Név, Keresztnév, Cég"',
    { text: 'Név;Keresztnév;Cég\nNagy;Erzsébet;Főváros\n' }, { names: ['Nagy Erzsébet=Főváros'] }],
  ['mapping', 'a Polish school where no company is',
    { text: 'Imię;Nazwisko;Szkoła\nAnna;Nowak;Liceum nr 5\n' },
    { names: ['Anna Nowak=Liceum nr 5'], secondNoName: true }],
  ['mapping', 'the company before a city',
    { text: 'Vorname;Nachname;Stadt;Firma\nJan;Novák;Wien;ACME\n' },
    { names: ['Jan Novák=ACME'], secondNoName: true }],
  ['mapping', 'a second line with a column of no known heading',
    { text: 'Jméno;Firma;Poznámka\nJana;ACME;VIP\n', choice: { lines: [[0], [1, 2]] } },
    { names: ['Jana=ACME VIP'], secondNoName: false }],
  ['mapping', 'Czech "Příjmení a jméno"', { text: 'Příjmení a jméno;Firma\nNovák Jan;ACME\n' },
    { names: ['Novák Jan=ACME'] }],
  ['mapping', 'sorted by a column, duplicates left out', { text: 'Jméno;Firma\nŽofie;B\nAnna;A\nŽofie;B\nČeněk;C\n',
    language: 'cs', choice: { sortBy: 0, dropDuplicates: true } },
  { names: ['Anna=A', 'Čeněk=C', 'Žofie=B'], duplicates: 1 }],

  // ---- Damage: one of the reader's reasons, never another error
  ['damage', 'a character reference no letter has', { bytes: edited(workbook(LO), {
    [STRINGS]: (xml) => xml.replace('>Jana<', '>&#xZZ;<') }) }, { reason: 'damaged' }],
  ['damage', 'a cell reference without its column', { bytes: edited(workbook(LO), {
    [SHEET]: (xml) => xml.replace('r="A2"', 'r="2"') }) }, { reason: 'damaged' }],
  ['damage', 'a cell closed that was never opened', { bytes: edited(workbook(LO), {
    [SHEET]: (xml) => xml.replace('<row r="2"', '</c><row r="2"') }) }, { reason: 'damaged' }],
  ['damage', 'a workbook cut short', { bytes: workbook(LO).subarray(0, 3000) }, { reason: 'damaged' }],
  ['damage', 'a part with a password', { bytes: zipOf([['[Content_Types].xml', '<Types/>', 1]], { store: true }) },
    { reason: 'encrypted' }],
  ['damage', 'a ZIP of no spreadsheet', { bytes: zipOf([['notes.txt', 'Anna']]) }, { reason: 'not_spreadsheet' }],
  ['damage', 'a sheet that unpacks to far more than it packs', { bytes: edited(workbook(LO), {
    [SHEET]: (xml) => xml.replace('</sheetData>', `${' '.repeat(50 << 20)}</sheetData>`) }) },
  { reason: 'too_large' }],
].map(([group, name, input, expected]) => ({ group, name, input: { language: 'en', ...input },
  expected }));
