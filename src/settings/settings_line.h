// The settings line: a first list line holding "=".
//
// The character just before its first "=" picks the layout; the text after it names the charset
// the document declares. Any first line with an "=" is a settings line, and is never a tag.
#pragma once

#include "settings/sheet_settings.h"
#include "text/text_stream.h"

// The layout a selector, the byte before a settings line's first "=", picks; '\0' for none.
tag_layout layout_for_selector(char selector);

// The charset that a settings line's value (the text after its "=") names, in the spelling the
// document declares it in, or nullptr: the value's start, in any case.
const char *named_charset(const char *value);

// Examines a first list line as read (line end included) and fills settings when it is a
// settings line.
void apply_settings_line(text_view first_line, sheet_settings *settings);

// Reads the first line of an open list into settings. The caller closes the list.
void read_settings_from(list_reader *list, sheet_settings *settings);

// Reads the first line of the list at path, if there is one, into settings.
void read_settings(sheet_settings *settings, const char *list_path);
