// The mapping step: a spreadsheet's rows made into the list, a tag a row. It shows the first
// rows under their headings, and the user picks the columns of each of the tag's two lines;
// plain headings in the page's six languages pick them first.
'use strict';

const mapping = (() => {
  const SHOWN_ROWS = 5;
  const COLUMNS_A_LINE = 3;
  // Headings, in lower case and without accents, by what they name.
  const HEADINGS = {
    first: ['first name', 'firstname', 'given name', 'forename', 'jmeno', 'krestni jmeno', 'meno',
      'krstne meno', 'imie', 'vorname', 'keresztnev', 'utonev'],
    last: ['last name', 'lastname', 'surname', 'family name', 'prijmeni', 'priezvisko',
      'nazwisko', 'nachname', 'familienname', 'zuname', 'vezeteknev', 'csaladnev'],
    company: ['company', 'organisation', 'organization', 'institution', 'employer', 'firm',
      'firma', 'spolecnost', 'organizace', 'instituce', 'organizacia', 'spolocnost',
      'organizacja', 'instytucja', 'unternehmen', 'ceg', 'szervezet', 'intezmeny'],
    whole: ['name', 'full name', 'jmeno a prijmeni', 'cele jmeno', 'meno a priezvisko',
      'imie i nazwisko', 'nev', 'teljes nev'],
  };
  // Hungarian puts the family name first.
  const FAMILY_FIRST = ['vezeteknev', 'csaladnev', 'keresztnev', 'utonev'];

  const $ = (id) => document.getElementById(id);
  let sheets = [];
  let rows = [];
  let made = () => {};
  let layoutDigit = () => '4';

  const plain = (text) => text.normalize('NFD').replace(/[\u0300-\u036f]/g, '').toLowerCase()
    .replace(/[^a-z]+/g, ' ').trim();
  const roleOf = (heading) =>
    Object.keys(HEADINGS).find((role) => HEADINGS[role].includes(plain(heading)));
  const letter = (at) =>
    (at >= 26 ? letter(Math.floor(at / 26) - 1) : '') + String.fromCharCode(65 + (at % 26));

  // The columns of each line that plain headings ask for; else the first column alone.
  function defaults(headings) {
    const at = {};
    headings.forEach((heading, column) => {
      const role = roleOf(heading);
      if (role && !(role in at)) at[role] = column;
    });
    const names = [at.first, at.last].filter((column) => column !== undefined);
    if (headings.some((heading) => FAMILY_FIRST.includes(plain(heading)))) names.reverse();
    if ('company' in at) return [names.length ? names : [at.whole ?? 0], [at.company]];
    if (names.length === 2) return [[names[0]], [names[1]]];
    return [[names[0] ?? at.whole ?? 0], []];
  }

  // The cells of a line joined by spaces, each on one line; in the first line an "=" would
  // break the tag, and "&#61;" prints as one instead.
  const lineOf = (row, columns, first) => columns.map((column) => {
    const text = (row[column] || '').replace(/\s+/g, ' ').trim();
    return first ? text.replace(/=/g, '&#61;') : text;
  }).filter(Boolean).join(' ');

  // The list: its settings line, then a line a row, but for rows that make no tag.
  function listOf(dataRows, [first, second], digit) {
    const lines = [`${digit}=UTF-8`];
    for (const row of dataRows) {
      const [top, bottom] = [lineOf(row, first, true), lineOf(row, second, false)];
      if (top || bottom) lines.push(bottom ? `${top}=${bottom}` : top);
    }
    return `${lines.join('\n')}\n`;
  }

  const chosen = (line) => [...$(`mapping-line-${line}`).querySelectorAll('select')]
    .filter((select) => select.value !== '').map((select) => Number(select.value));

  // The headings, where the first row holds them, the rows that make tags, and the columns.
  function split() {
    const byHeading = $('mapping-headings').checked;
    return { headings: byHeading ? rows[0] : null, dataRows: byHeading ? rows.slice(1) : rows,
      width: Math.max(...rows.slice(0, SHOWN_ROWS + 1).map((row) => row.length)) };
  }

  function make() {
    const { dataRows } = split();
    made(listOf(dataRows, [chosen(1), chosen(2)], layoutDigit()), dataRows.length);
  }

  // The choices and the first rows, under the headings or the columns' letters.
  function showTable() {
    const { headings, dataRows, width } = split();
    const columns = Array.from({ length: width }, (_, at) => at);
    const label = (at) =>
      (headings && headings[at]) || words.t('mapping.column', { column: letter(at) });
    const picked = headings ? defaults(headings) : [[0], []];
    picked.forEach((line, number) => $(`mapping-line-${number + 1}`).replaceChildren(
      ...Array.from({ length: COLUMNS_A_LINE }, (_, at) => {
        const select = document.createElement('select');
        select.setAttribute('aria-label', words.t(`mapping.line${number + 1}`));
        select.append(new Option(words.t('mapping.none'), ''),
          ...columns.map((column) => new Option(label(column), String(column))));
        select.value = line[at] === undefined ? '' : String(line[at]);
        return select;
      })));
    const tableRow = (cells, tag) => {
      const row = document.createElement('tr');
      row.append(...cells.map((text) =>
        Object.assign(document.createElement(tag), { textContent: text })));
      return row;
    };
    $('mapping-rows').replaceChildren(tableRow(columns.map(label), 'th'),
      ...dataRows.slice(0, SHOWN_ROWS).map((row) =>
        tableRow(columns.map((at) => row[at] || ''), 'td')));
    make();
  }

  // Shows a sheet, its headings recognised where it has them, and makes the list.
  async function showSheet(at) {
    rows = (await sheets[at].rows()).filter((row) => row.some((cell) => cell.trim()));
    if (rows.length === 0) throw Object.assign(new Error('empty'), { reason: 'empty' });
    $('mapping-headings').checked = rows[0].some(roleOf);
    showTable();
  }

  // Opens the step for the sheets of a workbook or of cells; each list made, with the layout
  // the page has chosen, goes to listMade(text, rows). Fails as reading the first sheet does.
  async function open(workbookSheets, listMade, digit) {
    [sheets, made, layoutDigit] = [workbookSheets, listMade, digit];
    $('mapping-sheet').replaceChildren(...sheets.map((sheet, at) =>
      new Option(sheet.name, String(at))));
    $('mapping-sheet-choice').hidden = sheets.length < 2;
    $('mapping').hidden = false;
    await showSheet(0);
  }

  function close() {
    $('mapping').hidden = true;
    [sheets, rows] = [[], []];
  }

  function wire(failed) {
    $('mapping-sheet').addEventListener('change', () =>
      showSheet(Number($('mapping-sheet').value)).catch(failed));
    $('mapping-headings').addEventListener('change', showTable);
    $('mapping-line-1').addEventListener('change', make);
    $('mapping-line-2').addEventListener('change', make);
  }

  return { open, close, wire };
})();
