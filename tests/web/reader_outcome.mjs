// What the page makes of a case's file or text: the sheet it starts at, that sheet's rows,
// the row of headings, the names the mapping step makes of them and whether their second line
// holds no name; or the reason the reader gives. The same in node and in a browser, where
// tests/print/page/ bundles it.
import { startingSheet } from '../../web/importing.js';
import { firstChoice, namesOf, secondLineHoldsNoName } from '../../web/mapping.js';
import { readWorkbook } from '../../web/read/spreadsheet.js';
import * as words from '../../web/words.js';

export async function outcome({ bytes, text, name = 'list', language, choice = {} }) {
  words.use(language);
  try {
    const source = typeof bytes === 'string'
      ? new TextEncoder().encode(bytes) : Uint8Array.from(bytes ?? []);
    const workbook = await readWorkbook(name, text ?? source);
    const [at, rows] = await startingSheet(workbook, {});
    const chosen = { ...firstChoice(rows), ...choice };
    const made = namesOf(chosen, language);
    return { sheet: workbook.sheets[at]?.name, rows: rows.map((row) => row.cells),
      count: rows.length, headingsAt: chosen.headingsAt, names: made.lines,
      duplicates: made.duplicates, secondNoName: secondLineHoldsNoName(chosen) };
  } catch (error) {
    return error.reason ? { reason: error.reason } : { error: `${error.name}: ${error.message}` };
  }
}

const same = (found, wanted) => JSON.stringify(found) === JSON.stringify(wanted);

// Whether an outcome holds what a case expects: each field it names, as it names it; of the
// rows the first ones, each whole (null: a row not looked at); of the names, with firstNames,
// the first ones.
export function holds(found, expected) {
  return Object.entries(expected).every(([field, wanted]) => {
    if (field === 'rows') {
      return wanted.every((row, at) => row === null || same(found.rows?.[at], row));
    }
    if (field === 'firstNames') return same(found.names?.slice(0, wanted.length), wanted);
    return same(found[field], wanted);
  });
}
