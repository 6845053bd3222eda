// The tool's own code, compiled to WebAssembly (korvela_web.cpp), and the only way to it: a
// list's bytes go in; what the tool found in the list, and the sheet it writes, come out.
'use strict';

const tool = (() => {
  let module = null;

  // Each call is given the list, and takes the sheet's chunks back.
  function over(list, call) {
    Object.assign(module, { list, sheet: [] });
    try {
      return call();
    } finally {
      Object.assign(module, { list: null, sheet: null });
    }
  }

  return {
    start: async () => { module = await korvelaModule().ready; },
    // The settings the tool reads, the tags and pages, the mistakes.
    check: (list) => over(list, () => {
      module._korvela_check_list();
      return module.checked;
    }),
    // The whole sheet, as the tool writes it, and the run's exit status (0: whole).
    sheet: (list) => over(list, () =>
      ({ status: module._korvela_write_sheet(), chunks: module.sheet })),
    // A part of the sheet: the tags from firstTag on, most of them, read from the list's byte
    // where the part before ended (0 for the first, which brings the head). next: where the
    // next part starts, null after the last, which brings the closing line.
    sheetPart: (list, from, firstTag, most) => over(list, () => {
      const next = module._korvela_write_sheet_part(from, firstTag, most);
      if (next === -2) throw new Error('the sheet could not be written');
      return { chunks: module.sheet, next: next < 0 ? null : next };
    }),
  };
})();
