// The box and the list: the bytes the box's text makes, and the text the box shows of a list.
// What is typed or pasted is UTF-8 by nature, saved with each line ended CR LF, as Notepad
// saves it; a file is shown as the sheet reads it, and kept as its bytes until it is edited.
import { decode } from './read/delimited.js';

// A longer list stays out of the box: Chromium takes a quarter of a second to lay out a box of
// some 5,000 names, which holds the page still; 64 KB, some 2,500 names, take half as long.
export const BOX_MOST_BYTES = 64 * 1024;

export const bytesOf = (text) => new TextEncoder().encode(text.replace(/\r?\n/g, '\r\n'));

// The list's text: UTF-8 where its bytes are, else windows-1250; null where the box would
// grow too slow to show it, unless it shows a list that long already.
export const textOf = (bytes, shownAlready = false) =>
  (bytes.length > BOX_MOST_BYTES && !shownAlready ? null : decode(bytes));

// Where a caret at `at` in the box's text stands once the text's start is written anew (a
// settings line put in front of what was typed, or in place of its first line): the text after
// the change moves with it, so the typing goes on where it was.
export function caretAfter(before, after, at) {
  let alike = 0;
  while (alike < before.length && alike < after.length &&
    before[before.length - 1 - alike] === after[after.length - 1 - alike]) alike += 1;
  const changed = before.length - alike;
  return at < changed ? Math.min(at, after.length - alike) : at + after.length - before.length;
}
