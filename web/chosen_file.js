// What a chosen file is, by its bytes, its name and what the tool found in it, and so what the
// page does with it:
// - { use: 'spreadsheet' }: a workbook, or cells saved as text, read through the mapping step;
// - { use: 'utf16' }: a list saved as UTF-16, to be turned into UTF-8;
// - { use: 'list' }: a list, taken as it is;
// - { use: 'refused', kind }: no list at all, said as the tool's kinds of file say it.
import { decode, holdsCells, layoutOf } from './read/delimited.js';
import { isZip } from './read/zip.js';

// A document keeps its kind when it is damaged, and the ZIP it is shows no more of it.
const DOCUMENT_NAME = /\.(docx|docm|dotx|odt|ott|pptx|odp|pages)$/i;
const CELLS_NAME = /\.(csv|tsv)$/i;
const TEXT_NAME = /\.txt$/i;

export const isUtf16 = (bytes) => (bytes[0] === 0xFF && bytes[1] === 0xFE) ||
  (bytes[0] === 0xFE && bytes[1] === 0xFF);

// A list that already is one, by the tool's own reading: a settings line first, as the guide
// tells users to put into cell A1 of a one-column CSV for korvela.exe, and no separator after.
const isListAlready = (found, separator) => found.hasSettingsLine && separator === null &&
  ['name_as_settings_line', 'spaced_settings_line', 'unknown_charset']
    .every((mistake) => found.mistakes[mistake].count === 0);

export function whatFileIs(name, bytes, found) {
  if (isZip(bytes)) {
    if (found.kind === 'document_file' || DOCUMENT_NAME.test(name)) {
      return { use: 'refused', kind: 'document_file' };
    }
    return { use: 'spreadsheet' };
  }
  if (found.kind !== 'plain_text') return { use: 'refused', kind: found.kind };
  const start = decode(bytes.subarray(0, 65536));
  const cellsAsText = CELLS_NAME.test(name) ||
    ((TEXT_NAME.test(name) || isUtf16(bytes)) && holdsCells(start));
  if (cellsAsText && !isListAlready(found, layoutOf(start).separator)) {
    return { use: 'spreadsheet' };
  }
  return { use: isUtf16(bytes) ? 'utf16' : 'list' };
}
