// The sheet on offer: the one place that says whether a sheet may be downloaded or printed. A
// sheet is offered once it is the sheet of the list held, and withdrawn as soon as it is not.
// Its print is a piece of work of its own, tied to it: one at a time, and ended, unprinted,
// when the sheet is withdrawn.
let offered = null; // { list, facts, chunks }
let printing = null; // the print under way
let changed = () => {};

// Tells changed() whenever what may be done with the sheet changes.
export function watch(listener) {
  changed = listener;
}

export function withdraw() {
  printing?.abort();
  printing = null;
  if (offered === null) return;
  offered = null;
  changed();
}

export function offer(sheet) {
  printing?.abort();
  printing = null;
  offered = sheet;
  changed();
}

export const sheet = () => offered;
export const mayDownload = () => offered !== null;
export const mayPrint = () => offered !== null && printing === null;

// The print of the sheet on offer begun: its signal, which withdrawing the sheet ends; null
// where no print may begin.
export function beginPrint() {
  if (!mayPrint()) return null;
  printing = new AbortController();
  changed();
  return printing.signal;
}

export function endPrint(signal) {
  if (printing?.signal !== signal) return;
  printing = null;
  changed();
}
