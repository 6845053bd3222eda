// A list checked before anything is printed: the tags and pages it makes, and the mistakes in
// it that would spoil the sheet, each with the lines it stands on.
//
// The list is read as the writing pass reads it, by the same line reader and after the same
// settings pass, so a mistake found here is one the sheet shows; only what kind of file it is,
// and what a 0x1A keeps from the sheet, are judged on the file's own bytes.
#pragma once

#include <cstddef>

#include "check/file_kind.h"
#include "check/markup.h"
#include "check/print_pages.h"
#include "check/tag_fit.h"
#include "settings/first_line.h"
#include "settings/sheet_settings.h"
#include "text/text_stream.h"

enum list_mistake {
    saved_as_utf16,          // a UTF-16 byte-order mark first: every tag comes out garbled
    not_text,                // control bytes, as a PDF, an image or a program holds them
    unknown_charset,         // the settings line names a charset the tool does not know
    spaced_settings_line,    // blanks in the settings line make it read otherwise than meant
    utf8_not_declared,       // UTF-8 with letters beyond ASCII, the sheet declaring another
    declared_utf8_not_saved, // the sheet declares UTF-8, and these lines are not UTF-8
    name_as_settings_line,   // the first line looks like a name, yet is the settings line
    list_ends_early,         // a 0x1A ends the list with more of the file after it
    markup_in_name,          // "<" or "&" that a browser reads as markup, not as text
    line_over_read,          // a line of more than one read: two tags or more
    text_after_return,       // a carriage return inside a line: the text after it is lost
    empty_tag,               // a line that prints a blank card
    names_in_one_line,       // several names in one line, separated by commas
    name_over_lines,         // a name that makes its tag grow taller or wider
    no_names,                // the sheet has no tags at all
    MISTAKE_KINDS
};

// The letters of the whole list, as far as its bytes tell.
enum list_text {
    ascii_only,   // any charset reads it alike
    utf8_letters, // UTF-8, with letters beyond ASCII
    not_utf8,     // bytes that UTF-8 does not allow: windows-1250, most likely
};

constexpr std::size_t MISTAKE_LINES_KEPT = 5;

// Lines are numbered from 1, as an editor numbers them; a line longer than one read is one line.
struct mistake_lines {
    long long count;                     // the lines it stands on; 0: nowhere
    long long first[MISTAKE_LINES_KEPT]; // the first of them
};

// How the page's print sets the tags, which the pages counted and the long names warned of
// follow: as the tool's sheet has them, or each name sized to fit its tag (tag_fit.h).
struct print_setting {
    bool fit;
    bool second_smaller; // fitted, the second line at three fifths of the name's size
};

struct list_check {
    long long tags;
    long long tags_set_smaller; // fitted, the tags that fit once set smaller than the layout's size
    long long pages;            // as the layout breaks pages, printed as the guide says
    // The pages the page's own print takes, by paper, as the sheet breaks them or filled
    // (print_pages.h): grown tags included.
    long long printed_pages[PAPER_SIZES][2];
    long long last_line; // the line of the last tag
    long long lines_a_tag;
    list_text text;
    mistake_lines mistakes[MISTAKE_KINDS];
    // What some mistakes need said besides their lines:
    file_kind kind; // not_text: what the file is, by its signature
    const char
        *charset_meant; // unknown_charset: the charset to name instead; nullptr: none will do
    char settings_meant[MEANT_LINE_SIZE]; // spaced_settings_line: the line written as meant
    tag_layout layout_meant;     // the layout the settings line means (layout_meant); 0 for a name
    markup_effect worst_markup;  // markup_in_name: the worst that markup in a name does,
    long long worst_markup_line; // and the first line that does it,
    long long worst_markup_tag;  // which is this tag of the sheet
    unread_rest after_end;       // list_ends_early: what the sheet leaves out
    long long letter_cut_line;   // line_over_read: the first line a read cuts a letter of; 0: none
    tag_fit first_over;          // name_over_lines: how the first name too long lays out,
    long long first_over_break;  // and where an "=" would make it fit (break_that_fits); fitted,
                                 // too long even at half the size (break_that_fits_sized)
};

// Reads the list from its start, as the writing pass does with these settings, which the
// settings pass read from the same list; its tags as the print sets them. The caller closes
// the list.
void check_list(list_reader *list, const sheet_settings *settings, print_setting print,
                list_check *check);

// The pages a sheet of this many tags prints on.
long long pages_for(tag_layout layout, long long tags);
