// A list's first line as its writer meant it: the settings line the tool reads it as, or a
// name that the tool takes for one, or a settings line that blanks make it read otherwise.
//
// The tool itself reads the line by the rules of settings_line.h alone; these judgements are
// for the list check, and for the page that writes a settings line for the user.
#pragma once

#include <cstddef>

#include "settings/sheet_settings.h"
#include "text/text.h"

enum first_line_kind {
    first_tag,               // no "=": the first tag
    settings_as_meant,       // a layout digit or nothing before "=", or a charset named after it
    settings_with_blanks,    // one, but for blanks around its parts, which make it read otherwise
    name_taken_for_settings, // a name with "=" in it, taken for the settings line, never printed
};

// "6=UTF-8", as the page writes a settings line: a layout digit, "=", and a charset's name.
constexpr std::size_t MEANT_LINE_SIZE = 16;

struct first_line_meaning {
    first_line_kind kind;
    bool names_no_known_charset; // a settings line whose value is neither blank nor a charset
    char meant[MEANT_LINE_SIZE]; // settings_with_blanks: the line as the tool reads it as meant
};

// The charset that a value names in a spelling the tool does not read, such as "utf8",
// "cp1250" or " UTF-8 ", or nullptr: its letters and digits alone, in upper case.
const char *charset_spelled(const char *value);

// What the first line of a list, as read (line end included), was meant to be.
first_line_meaning meaning_of_first_line(text_view first_line);

// The byte-order mark some editors put first, which the tool reads as part of the first line.
constexpr char BYTE_ORDER_MARK[] = "\xEF\xBB\xBF";
constexpr std::size_t BYTE_ORDER_MARK_LENGTH = sizeof BYTE_ORDER_MARK - 1;

// The text after a byte-order mark at its start, or the whole text.
const char *after_byte_order_mark(const char *text);
