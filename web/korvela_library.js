// The page's side of the calls that korvela_web.cpp makes: the list's bytes in, the sheet's
// bytes and the check's findings out. Before a run the page sets the module's list (bytes) and
// an empty sheet (an array of byte chunks); after it, it takes the sheet, the check or the
// settings line written.
mergeInto(LibraryManager.library, {
  korvela_list_bytes: function (position, bytes, room) {
    var list = Module['list'];
    var from = Math.min(position >>> 0, list.length);
    var part = list.subarray(from, from + (room >>> 0));
    HEAPU8.set(part, bytes);
    return part.length;
  },
  korvela_sheet_bytes: function (bytes, count) {
    try {
      Module['sheet'].push(HEAPU8.slice(bytes, bytes + (count >>> 0)));
      return count;
    } catch (error) {
      // Out of memory, most likely: the run reports a failed write.
      return 0;
    }
  },
  korvela_list_checked: function (facts) {
    Module['checked'] = JSON.parse(UTF8ToString(facts));
  },
  korvela_settings_line_written: function (line, length) {
    Module['settingsLine'] = HEAPU8.slice(line, line + (length >>> 0));
  },
});
