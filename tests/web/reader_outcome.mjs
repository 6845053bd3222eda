// What the page makes of a case's file or text: the sheet it starts at, that sheet's rows,
// and the names the mapping step makes of them; or the reason the reader gives. The same in
// node and in a browser, where tests/print/page/ bundles it.
import { startingSheet } from '../../web/importing.js';
import { firstChoice, namesOf } from '../../web/mapping.js';
import { readWorkbook } from '../../web/read/spreadsheet.js';
import * as words from '../../web/words.js';

export async function outcome({ bytes, text, name = 'list', language, choice = {} }) {
  words.use(language);
  try {
    const source = typeof bytes === 'string' ? new TextEncoder().encode(bytes) : Uint8Array.from(bytes ?? []);
    const workbook = await readWorkbook(name, text ?? source);
    const [at, rows] = await startingSheet(workbook, {});
    const made = namesOf({ ...firstChoice(rows), ...choice }, language);
    return { sheet: workbook.sheets[at]?.name, rows: rows.map((row) => row.cells),
      count: rows.length, names: made.lines, duplicates: made.duplicates };
  } catch (error) {
    return error.reason ? { reason: error.reason } : { error: `${error.name}: ${error.message}` };
  }
}

// Whether an outcome holds what a case expects: each field it names, and of the rows the first
// ones, each of their cells given (an empty row expects nothing of its row).
export function holds(found, expected) {
  return Object.entries(expected).every(([field, wanted]) => {
    if (field !== 'rows') return JSON.stringify(found[field]) === JSON.stringify(wanted);
    return wanted.every((row, at) => row.every((cell, column) => found.rows?.[at]?.[column] === cell));
  });
}
