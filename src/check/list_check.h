// A list checked before anything is printed: the tags and pages it makes, and the mistakes in
// it that would spoil the sheet, each with the lines it stands on.
//
// The list is read as the writing pass reads it, by the same line reader and after the same
// settings pass, so a mistake found here is one the sheet shows.
#pragma once

#include <cstddef>

#include "settings/sheet_settings.h"
#include "text/text_stream.h"

enum list_mistake {
    saved_as_utf16,          // a UTF-16 byte-order mark first: every tag comes out garbled
    not_text,                // control bytes, as a PDF, an image or a program holds them
    utf8_not_declared,       // UTF-8 with letters beyond ASCII, the sheet declaring another
    declared_utf8_not_saved, // the sheet declares UTF-8, and these lines are not UTF-8
    name_as_settings_line,   // the first line looks like a name, yet is the settings line
    empty_tag,               // a line that prints a blank card
    line_over_read,          // a line of more than one read: two tags or more
    text_after_return,       // a carriage return inside a line: the text after it is lost
    name_over_lines,         // may need more lines than a tag holds
    no_names,                // the sheet has no tags at all
    MISTAKE_KINDS
};

constexpr std::size_t MISTAKE_LINES_KEPT = 5;

// Lines are numbered from 1, as an editor numbers them; a line longer than one read is one line.
struct mistake_lines {
    long long count;                     // the lines it stands on; 0: nowhere
    long long first[MISTAKE_LINES_KEPT]; // the first of them
};

struct list_check {
    long long tags;
    long long pages;            // as the layout breaks pages, printed as the guide says
    long long last_line;        // the line of the last tag
    std::size_t letters_a_line; // what a tag of the layout holds, as the check judged it
    long long lines_a_tag;
    mistake_lines mistakes[MISTAKE_KINDS];
};

// Reads the list from its start, as the writing pass does with these settings, which the
// settings pass read from the same list. The caller closes the list.
void check_list(list_reader *list, const sheet_settings *settings, list_check *check);

// The pages a sheet of this many tags prints on.
long long pages_for(tag_layout layout, long long tags);
