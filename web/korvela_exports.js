// The module's calls, on the object that its ready promise gives: the minimal runtime keeps
// them to itself until it has started.
Module['_korvela_write_sheet'] = function () {
  return _korvela_write_sheet.apply(null, arguments);
};
Module['_korvela_write_sheet_part'] = function () {
  return _korvela_write_sheet_part.apply(null, arguments);
};
Module['_korvela_check_list'] = function () {
  return _korvela_check_list.apply(null, arguments);
};
Module['_korvela_write_settings_line'] = function () {
  return _korvela_write_settings_line.apply(null, arguments);
};
Module['_korvela_write_as_text'] = function () {
  return _korvela_write_as_text.apply(null, arguments);
};
