// Markup in a name, as a browser reads it in the tag's cell: the sheet copies names unescaped,
// so "<" and "&" can make a name print otherwise than it was typed, or do more.
#pragma once

#include <cstddef>

#include "text/text.h"

// What markup in a tag's text does, from the mildest.
enum markup_effect {
    no_markup,
    changes_text,         // a tag or a character reference: it prints otherwise than typed
    loads_from_elsewhere, // a picture, a style sheet, a frame or a redirect, from a network
    runs_script,          // a script or an event handler, once the sheet is opened from disk
    hides_later_tags,     // a comment or an element left open swallows the tags after it
};

// The letter a character reference at the "&" of text writes: a numeric one, or one of the
// names that write the letters markup is made of ("&lt;", "&amp;", "&quot;"...), closed by ";".
// Its code point, the reference's bytes in taken; 0 for any other text.
unsigned written_letter(const char *text, std::size_t length, std::size_t *taken);

// What the markup in a tag text does. The text's first "=" became the "<br>" that stands at
// inserted_break (or the line had none: inserted_break is its length), which is no markup of the
// name's own. The cell's closing tag follows the text in the sheet, as it does in every layout.
markup_effect markup_in(text_view tag_text, std::size_t inserted_break);

// Whether the "<" or "&" at text's start, length bytes of it ahead, makes markup: a "<" that
// opens a tag, a comment or a declaration, an "&" that begins a character reference, whatever
// letter it writes. Text that must show as it stands, such as a spreadsheet's cell, has these
// written "&lt;" and "&amp;".
bool makes_markup(const char *text, std::size_t length);
