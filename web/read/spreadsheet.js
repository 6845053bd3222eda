// Any spreadsheet into sheets of rows: an .xlsx or .ods workbook, CSV or tab-separated text,
// cells pasted. Whatever the bytes, the reading gives rows, or fails with one of the reasons
// of failure.js; no other error leaves it.
import * as words from '../words.js';
import { fail, isFailure } from './failure.js';
import { decode, layoutOf, rowsOf } from './delimited.js';
import { readOds } from './ods.js';
import { pacer } from '../turns.js';
import { readXlsx } from './xlsx.js';
import { holds, isZip, unzip } from './zip.js';

const ROWS_A_STEP = 2000;

// The rows of cells as text, read a few thousand at a time.
async function textRows(text, pace) {
  const { separator, from } = layoutOf(text);
  const rows = [];
  for (let at = from, number = 1; at !== null;) {
    await pace(at / text.length);
    const step = rowsOf(text, separator, at, ROWS_A_STEP);
    for (const cells of step.rows) {
      if (cells.some((cell) => cell !== '')) rows.push({ number, cells });
      number += 1;
    }
    at = step.next;
  }
  return rows;
}

const textWorkbook = (name, text) =>
  ({ sheets: [{ name, hidden: false, rows: (pace) => textRows(text, pace) }], active: 0 });

async function workbookOf(name, bytes, signal) {
  if (!isZip(bytes)) return textWorkbook(name, typeof bytes === 'string' ? bytes : decode(bytes));
  const zip = unzip(bytes);
  if ([...zip.files.values()].some((file) => file.encrypted)) fail('encrypted');
  if (holds(zip, 'content.xml')) return readOds(zip, signal);
  if (holds(zip, '[Content_Types].xml')) return readXlsx(zip, signal);
  return fail('not_spreadsheet');
}

// Whatever goes wrong is a reason to give, or the work's end; nothing else leaves the reader.
async function guarded(reading, signal) {
  try {
    return await reading();
  } catch (error) {
    if (signal?.aborted) throw signal.reason;
    if (isFailure(error)) throw error;
    return fail('damaged');
  }
}

// A workbook from a file's bytes, or from the text of cells pasted: { sheets: [{ name, hidden,
// rows(options) }], active }. A sheet's rows, read when first asked for in a language and kept,
// are those that hold anything, as { number, cells }, numbered as the spreadsheet numbers them;
// their dates and truth values are written as that language writes them.
// options: { signal, progress(share) }; a signal ended ends the reading with its AbortError.
export function readWorkbook(name, bytes, { signal } = {}) {
  return guarded(async () => {
    const workbook = await workbookOf(name, bytes, signal);
    return {
      active: workbook.active,
      sheets: workbook.sheets.map((sheet) => {
        const rows = new Map();
        return { name: sheet.name, hidden: sheet.hidden,
          async rows(options = {}) {
            const language = words.currentLanguage();
            if (!rows.has(language)) {
              rows.set(language, await guarded(() => sheet.rows(pacer(options), options.signal),
                options.signal));
            }
            return rows.get(language);
          } };
      }),
    };
  }, signal);
}
