// Spreadsheets read into rows of cells, each cell as the spreadsheet shows it: CSV and
// tab-separated text, in any encoding Excel saves it in, as cells copied from a spreadsheet
// arrive too; .xlsx and .ods, ZIP files of XML unpacked by the browser's own
// DecompressionStream and read with a few patterns, which keep up with 200,000 rows where a
// full XML parse would not.
'use strict';

const spreadsheet = (() => {
  // Why a reading fails, for the page to say.
  const FAILURES = ['encrypted', 'damaged', 'empty'];
  const fail = (reason) => { throw Object.assign(new Error(reason), { reason }); };
  // Rows read between two turns of the page, so that a long sheet holds nothing still.
  const ROWS_A_TURN = 5000;
  const nextTurn = () => new Promise((done) => setTimeout(done));

  // ---- Text

  // UTF-16 by its byte-order mark, UTF-8 where the bytes are, else windows-1250, which Excel's
  // "CSV" is on a Central European Windows.
  function decode(bytes) {
    const utf16 = { 0xFFFE: 'utf-16le', 0xFEFF: 'utf-16be' }[(bytes[0] << 8) | bytes[1]];
    try {
      return new TextDecoder(utf16 || 'utf-8', { fatal: !utf16 }).decode(bytes);
    } catch {
      return new TextDecoder('windows-1250').decode(bytes);
    }
  }

  // Cells by separator (RFC 4180): a quoted cell may hold separators, line breaks and doubled
  // quotes; a quote inside an unquoted cell is kept.
  function parseDelimited(text, separator) {
    const split = separator === '\t' ? '\\t' : separator;
    const cell = new RegExp(
      `(?:"((?:[^"]|"")*)"|([^${split}\\r\\n]*))(${split}|\\r\\n|\\n|\\r|$)`, 'y');
    const rows = [];
    let row = [];
    while (cell.lastIndex < text.length) {
      const [, quoted, plain, end] = cell.exec(text);
      row.push(quoted === undefined ? plain : quoted.replace(/""/g, '"'));
      if (end === separator) continue;
      rows.push(row);
      row = [];
      if (!end) break;
    }
    return rows;
  }

  // The separator that splits the first rows alike, into more than one cell: a tab, a
  // semicolon (Excel's CSV where the decimal point is a comma) or a comma.
  function separatorOf(text) {
    let best = null;
    for (const separator of ['\t', ';', ',']) {
      const counts = parseDelimited(text.slice(0, 65536), separator).slice(0, 20)
        .filter((row) => row.length > 1 || row[0] !== '').map((row) => row.length);
      const agree = counts.filter((count) => count === counts[0]).length;
      if (counts[0] > 1 && agree >= counts.length * 0.8 && (!best || agree > best.agree)) {
        best = { separator, agree };
      }
    }
    return best && best.separator;
  }

  // Whether a text holds cells: its first lines split alike by tabs, as Excel's "Text (Tab
  // delimited)" and cells copied from a spreadsheet are.
  const holdsCells = (text) => text.split(/\r?\n/).filter((line) => line.trim()).slice(0, 20)
    .every((line) => line.includes('\t')) && separatorOf(text) === '\t';

  const cellsOf = (text) => {
    const separator = separatorOf(text);
    if (separator) return parseDelimited(text, separator);
    return text.split(/\r?\n|\r/).map((line) => [line]);
  };

  // ---- ZIP

  const uint16 = (bytes, at) => bytes[at] | (bytes[at + 1] << 8);
  const uint32 = (bytes, at) => (uint16(bytes, at) | (uint16(bytes, at + 2) << 16)) >>> 0;

  // The files of a ZIP by name, from its central directory.
  function unzip(bytes) {
    let end = bytes.length - 22;
    while (end >= 0 && uint32(bytes, end) !== 0x06054B50) end--;
    if (end < 0) fail('damaged');
    const files = new Map();
    for (let at = uint32(bytes, end + 16), count = uint16(bytes, end + 10); count > 0; count--) {
      if (uint32(bytes, at) !== 0x02014B50) fail('damaged');
      const nameLength = uint16(bytes, at + 28);
      files.set(new TextDecoder().decode(bytes.subarray(at + 46, at + 46 + nameLength)), {
        encrypted: uint16(bytes, at + 8) & 1, method: uint16(bytes, at + 10),
        size: uint32(bytes, at + 20), header: uint32(bytes, at + 42),
      });
      at += 46 + nameLength + uint16(bytes, at + 30) + uint16(bytes, at + 32);
    }
    return { bytes, files };
  }

  async function unpacked({ bytes, files }, name) {
    const file = files.get(name);
    if (!file) return null;
    if (file.encrypted) fail('encrypted');
    const start = file.header + 30 + uint16(bytes, file.header + 26) +
      uint16(bytes, file.header + 28);
    const packed = bytes.subarray(start, start + file.size);
    if (file.method === 0) return new TextDecoder().decode(packed);
    if (file.method !== 8) fail('damaged');
    try {
      return await new Response(new Blob([packed]).stream()
        .pipeThrough(new DecompressionStream('deflate-raw'))).text();
    } catch {
      return fail('damaged');
    }
  }

  // ---- XML, as spreadsheets write it

  const ENTITIES = { amp: '&', lt: '<', gt: '>', quot: '"', apos: "'" };
  const unescape = (text) => text.replace(/&(#x?)?(\w+);/g, (whole, number, name) => (number
    ? String.fromCodePoint(parseInt(name, number === '#x' ? 16 : 10)) : ENTITIES[name] ?? whole));
  const attribute = (attributes, name) => {
    const found = new RegExp(`(?:^|\\s)${name}="([^"]*)"`).exec(attributes);
    return found ? unescape(found[1]) : undefined;
  };
  const textRuns = (xml) =>
    unescape([...xml.matchAll(/<t\b[^>]*>([\s\S]*?)<\/t>/g)].map((run) => run[1]).join(''));

  // ---- .xlsx

  // "C7" is column 2.
  const columnOf = (reference) => [.../^[A-Z]+/.exec(reference)[0]]
    .reduce((column, letter) => column * 26 + letter.charCodeAt(0) - 64, 0) - 1;

  // Each cell style's number format: a built-in format's number, or a code.
  function cellFormats(xml) {
    const codes = new Map([...xml.matchAll(
      /<numFmt\b[^>]*numFmtId="(\d+)"[^>]*formatCode="([^"]*)"/g)]
      .map(([, id, code]) => [Number(id), unescape(code)]));
    const cellXfs = /<cellXfs\b[\s\S]*?<\/cellXfs>/.exec(xml);
    return [...(cellXfs ? cellXfs[0] : '').matchAll(/<xf\b[^>]*?numFmtId="(\d+)"/g)]
      .map(([, id]) => codes.get(Number(id)) ?? Number(id));
  }

  async function readXlsx(zip) {
    const workbook = await unpacked(zip, 'xl/workbook.xml');
    const relations = (await unpacked(zip, 'xl/_rels/workbook.xml.rels')) || '';
    const targets = new Map([...relations.matchAll(/<Relationship\b([^>]*)/g)]
      .map(([, a]) => [attribute(a, 'Id'), attribute(a, 'Target')]));
    // A string cell's text is its rich text's runs joined, without a phonetic reading.
    const shared = (await unpacked(zip, 'xl/sharedStrings.xml')) || '';
    const strings = [...shared.matchAll(/<si>([\s\S]*?)<\/si>/g)]
      .map(([, item]) => textRuns(item.replace(/<rPh\b[\s\S]*?<\/rPh>/g, '')));
    const formats = cellFormats((await unpacked(zip, 'xl/styles.xml')) || '');
    const date1904 = /date1904="(1|true)"/.test(workbook);
    return [...workbook.matchAll(/<sheet\b([^>]*)/g)].map(([, attributes]) => {
      const target = targets.get(attribute(attributes, 'r:id')) || '';
      const path = target[0] === '/' ? target.slice(1) : `xl/${target}`;
      return { name: attribute(attributes, 'name'),
        rows: async () => xlsxRows(await unpacked(zip, path), strings, formats, date1904) };
    });
  }

  async function xlsxRows(xml, strings, formats, date1904) {
    if (xml === null) fail('damaged');
    const rows = [];
    let row = null;
    const cells = /<row\b|<c\b([^>]*?)(?:\/>|>([\s\S]*?)<\/c>)/g;
    for (const [whole, attributes, inner = ''] of xml.matchAll(cells)) {
      if (whole === '<row') {
        if (row) rows.push(row);
        row = [];
        if (rows.length % ROWS_A_TURN === 0) await nextTurn();
        continue;
      }
      const reference = attribute(attributes, 'r');
      const value = (/<v>([\s\S]*?)<\/v>/.exec(inner) || [])[1];
      const type = attribute(attributes, 't');
      const text = type === 's' ? strings[Number(value)] ?? ''
        : type === 'inlineStr' ? textRuns(inner)
          : type === 'b' ? (value === '1' ? 'TRUE' : 'FALSE')
            : value === undefined ? '' : type && type !== 'n' ? unescape(value)
              : numbers.format(Number(value), formats[Number(attribute(attributes, 's') || 0)],
                date1904);
      row = row || [];
      row[reference ? columnOf(reference) : row.length] = text;
    }
    if (row) rows.push(row);
    return rows.map((cells) => Array.from(cells, (cell) => cell ?? ''));
  }

  // ---- .ods: LibreOffice keeps each cell's text as it shows it, a paragraph a line.

  async function readOds(zip) {
    const content = await unpacked(zip, 'content.xml');
    return [...content.matchAll(/<table:table\b([^>]*)>([\s\S]*?)<\/table:table>/g)].map(
      ([, attributes, table]) =>
        ({ name: attribute(attributes, 'table:name'), rows: () => odsRows(table) }));
  }

  async function odsRows(table) {
    const rows = [];
    let row = [];
    let cell = null;
    let repeat = { row: 1, cell: 1 };
    let paragraphs = 0;
    // A row or cell repeated often and empty is the sheet's blank rest: kept once.
    const copies = (times, empty) => Array(empty && times >= 100 ? 1 : Math.min(times, 1000));
    const repeated = (attributes, what) =>
      Number(attribute(attributes, `table:number-${what}s-repeated`) || 1);
    // Comments on cells hold paragraphs of their own, which the cells do not show.
    const shown = table.replace(/<office:annotation\b[\s\S]*?<\/office:annotation>/g, '');
    const names = 'table:table-row|table:table-cell|table:covered-table-cell|text:p|text:s|' +
      'text:tab|text:line-break';
    const tokens = new RegExp(`<(\\/?)(${names})\\b([^>]*?)(\\/?)>|<[^>]*>|([^<]+)`, 'g');
    for (const [, closing, name, attributes, empty, text] of shown.matchAll(tokens)) {
      if (text !== undefined) {
        if (cell !== null) cell += unescape(text);
      } else if (name === 'table:table-row') {
        if (!closing) repeat.row = repeated(attributes, 'row');
        if (!closing && !empty) continue;
        const blank = !row.some((value) => value.trim());
        rows.push(...copies(repeat.row, blank).fill(row));
        row = [];
        if (rows.length % ROWS_A_TURN < repeat.row) await nextTurn();
      } else if (name && name.endsWith('table-cell')) {
        if (!closing) [cell, paragraphs, repeat.cell] = ['', 0, repeated(attributes, 'column')];
        if (!closing && !empty) continue;
        row.push(...copies(repeat.cell, !cell.trim()).fill(cell));
        cell = null;
      } else if (cell !== null && name && !closing) {
        cell += { 'text:s': ' '.repeat(Number(attribute(attributes, 'text:c') || 1)),
          'text:tab': '\t', 'text:line-break': '\n' }[name] ?? (paragraphs++ > 0 ? '\n' : '');
      }
    }
    return rows;
  }

  // ---- Any spreadsheet

  const isZip = (bytes) => uint32(bytes, 0) === 0x04034B50;

  // Whether a file holds cells as text: a .csv or .tsv, or a text file whose lines split by tabs.
  const holdsCellText = (name, bytes) => /\.(csv|tsv)$/i.test(name) ||
    (/\.txt$/i.test(name) && holdsCells(decode(bytes.subarray(0, 65536))));

  // The sheets of a workbook or a text of cells, each { name, rows: async () => rows }; fails
  // with one of FAILURES.
  async function read(name, bytes) {
    if (!isZip(bytes)) return [{ name, rows: async () => cellsOf(decode(bytes)) }];
    const zip = unzip(bytes);
    if (zip.files.has('xl/workbook.xml')) return readXlsx(zip);
    if (zip.files.has('content.xml')) return readOds(zip);
    return fail('damaged');
  }

  return { FAILURES, isZip, holdsCellText, read, cellsOf, holdsCells };
})();
