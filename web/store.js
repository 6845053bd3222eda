// The list the page holds, and the lists it held before the box was last replaced, for Undo.
//
// A list is { bytes, origin, box, importing, secondSmaller, unsaved }: the bytes the sheet is
// made from; where they came from ({ kind: 'sample' | 'box' | 'file' | 'spreadsheet' | 'cells',
// name, size, converted, rows, rowNumbers, duplicates, stopped, layoutWritten }); the text the
// box shows of them (null where it cannot); the import whose mapping step made them, or null;
// whether the print sets their second line smaller; whether they are not saved yet.
const UNDO_MOST = 10;

let held = null;
let earlier = [];

export const list = () => held;

// A list in place of the one held, which Undo brings back.
export function replace(next) {
  if (held) earlier = [...earlier.slice(1 - UNDO_MOST), held];
  held = next;
}

// The list the box's own typing made: the typing is the box's to undo, and an Undo of an
// earlier replacement would throw it away, so none is offered after it.
export function edit(next) {
  earlier = [];
  held = next;
}

// The list held said anew (an import read again in another language): no replacement to undo.
export function restate(next) {
  held = next;
}

// The list held before the last replacement, which takes the place of the one held now.
export function undo() {
  held = earlier.pop() ?? held;
  return held;
}

export const canUndo = () => earlier.length > 0;
