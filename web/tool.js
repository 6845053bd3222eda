// The tool's own code, compiled to WebAssembly (korvela_web.cpp), and the only way to it: a
// list's bytes go in; what the tool judged of the list, and the sheet it writes, come out.
'use strict';

const tool = (() => {
  let module = null;

  async function start() {
    module = await korvelaModule().ready;
  }

  // Each call hands the module the list, and takes it back once the call is over.
  function over(list, call) {
    module.list = list;
    module.sheet = [];
    try {
      return call();
    } finally {
      module.list = null;
      module.sheet = null;
    }
  }

  // What the tool finds in the list: the settings it reads, the tags and pages, the mistakes.
  function check(list) {
    return over(list, () => {
      module._korvela_check_list();
      return module.checked;
    });
  }

  // The whole sheet, as the tool writes it, and the run's exit status (0: whole).
  function sheet(list) {
    return over(list, () => {
      const status = module._korvela_write_sheet();
      return { status, chunks: module.sheet };
    });
  }

  // A part of the sheet: the tags from firstTag on, most of them, read from the list's byte
  // where the part before ended (0 for the first part, which brings the sheet's head). next
  // is where the next part starts: null after the last, which brings the closing line.
  function sheetPart(list, from, firstTag, most) {
    return over(list, () => {
      const next = module._korvela_write_sheet_part(from, firstTag, most);
      if (next === -2) throw new Error('the part of the sheet could not be written');
      return { chunks: module.sheet, next: next < 0 ? null : next };
    });
  }

  return { start, check, sheet, sheetPart };
})();
