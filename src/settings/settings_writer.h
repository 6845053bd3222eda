// The one writer of a settings line: the line that gives a list's sheet the layout and the
// charset asked for, put where the tool will read it. The page writes every settings line it
// puts into a list through this, so that the line it writes is the line the tool reads.
#pragma once

#include <cstddef>

#include "settings/sheet_settings.h"
#include "text/text.h"

enum charset_choice {
    keep_charset, // the charset the sheet declares now, as the list says it
    choose_utf8,
    choose_windows_1250,
};

// Which bytes at the list's start the new line takes the place of.
enum bytes_replaced {
    replaces_nothing,         // it goes in front of the list
    replaces_byte_order_mark, // in front, with the list's byte-order mark moved before it
    replaces_first_line,      // the first line is a settings line: the new one takes its place
};

// A byte-order mark, a layout digit, "=", a charset kept as the list wrote it, a line end.
constexpr std::size_t WRITTEN_LINE_SIZE = LINE_SIZE + 8;

struct written_settings_line {
    char line[WRITTEN_LINE_SIZE]; // terminated, its line end included
    std::size_t length;
    bytes_replaced replaced;
};

// The layout a list's first line (as read, line end included) means: a settings line's own,
// blanks and all ("6 = UTF-8" means layout 6); for a first line that is a name, or a name taken
// for the settings line ("Stul 6=Jana"), the layout in use, which a name must never change.
tag_layout layout_meant(text_view first_line, tag_layout in_use);

// The settings line for a list whose first line is first_line, as read (line end included;
// empty for an empty list). line_end is the list's own, "\r\n" or "\n". Kept, the charset is
// the one the line means, as the layout is where layout_meant gave it.
void write_settings_line(text_view first_line, tag_layout layout, charset_choice charset,
                         const char *line_end, written_settings_line *written);
