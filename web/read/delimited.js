// Cells as text: CSV and tab-separated text in any encoding Excel saves them in, and cells
// copied from a spreadsheet, which arrive as tab-separated text. Read by RFC 4180: a quoted
// cell may hold separators, line breaks and doubled quotes.

// UTF-16 by its byte-order mark, UTF-8 where the bytes are, else windows-1250, which Excel's
// "CSV" is on a Central European Windows. A byte-order mark is not part of the text.
export function decode(bytes) {
  const utf16 = { 0xFFFE: 'utf-16le', 0xFEFF: 'utf-16be' }[(bytes[0] << 8) | bytes[1]];
  try {
    return new TextDecoder(utf16 || 'utf-8', { fatal: !utf16 }).decode(bytes);
  } catch {
    return new TextDecoder('windows-1250').decode(bytes);
  }
}

const SEPARATORS = ['\t', ';', ','];
const LINE_END = /\r\n?|\n/y;

// The rows of text, from the character from on, mostRows of them at most: { rows, next },
// next the character the next row starts at, or null at the end. separator null: a cell a line.
export function rowsOf(text, separator, from = 0, mostRows = Infinity) {
  const stops = new RegExp(`[\\r\\n${separator ? separator.replace('\t', '\\t') : ''}]`, 'g');
  const nextStop = (at) => {
    stops.lastIndex = at;
    return stops.exec(text)?.index ?? text.length;
  };
  const rows = [];
  let row = [];
  let at = from;
  while (at < text.length && rows.length < mostRows) {
    let cell = '';
    if (text[at] === '"') {
      // A quoted cell ends at a quote not doubled; whatever follows it up to the separator is
      // kept, as spreadsheets keep it, and an unclosed quote runs to the end of the text.
      for (at += 1; ;) {
        const quote = text.indexOf('"', at);
        if (quote < 0) {
          cell += text.slice(at);
          at = text.length;
          break;
        }
        cell += text.slice(at, quote);
        at = quote + 1;
        if (text[at] !== '"') break;
        cell += '"';
        at += 1;
      }
    }
    const stop = nextStop(at);
    row.push(cell + text.slice(at, stop));
    at = stop;
    if (at < text.length && text[at] === separator) {
      at += 1;
      // A row that ends in a separator ends in an empty cell, at the end of the text too.
      if (at === text.length) row.push('');
      continue;
    }
    LINE_END.lastIndex = at;
    if (LINE_END.test(text)) at = LINE_END.lastIndex;
    rows.push(row);
    row = [];
  }
  if (row.length > 0) rows.push(row);
  return { rows, next: at < text.length ? at : null };
}

// Excel's first line "sep=;" names the separator, and is no row.
const SEPARATOR_LINE = /^"?sep=([^\r\n"])"?[ \t]*(?:\r\n?|\n|$)/i;

// The separator that splits most of the first rows alike, into more than one cell: a tab, a
// semicolon (Excel's CSV where the decimal point is a comma) or a comma; null where none does.
// A title above the table is one of the few rows it does not split.
export function separatorOf(text) {
  let best = null;
  for (const separator of SEPARATORS) {
    const counts = rowsOf(text.slice(0, 65536), separator, 0, 30).rows
      .filter((row) => row.length > 1 || row[0] !== '').slice(0, 20).map((row) => row.length);
    const tally = new Map();
    for (const count of counts) tally.set(count, (tally.get(count) || 0) + 1);
    const [usual, agree] = [...tally].sort((a, b) => b[1] - a[1])[0] || [0, 0];
    if (usual > 1 && agree >= counts.length * 0.6 && (!best || agree > best.agree)) {
      best = { separator, agree };
    }
  }
  return best && best.separator;
}

// How the text is split: its separator, and where its rows start.
export function layoutOf(text) {
  const line = SEPARATOR_LINE.exec(text);
  if (line) return { separator: line[1], from: line[0].length };
  return { separator: separatorOf(text), from: 0 };
}

// Whether a text holds cells: its first rows split alike by tabs, as Excel's "Text (Tab
// delimited)" and cells copied from a spreadsheet are.
export const holdsCells = (text) => separatorOf(text) === '\t';
