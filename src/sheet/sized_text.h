// A tag's text as the browser page's print may set it, at sizes of its own: the text in a block
// of its own size, and its second line, after the "=", in a block below at a size of its own
// where the print sets it smaller. The tool's sheet never carries these; its style sets every
// text at the layout's size.
#pragma once

#include <cstddef>

#include "text/text.h"

// The sizes of a tag's text, in pixels: second_px the same as text_px puts the line break
// where the sheet puts it.
struct text_sizes {
    int text_px;
    int second_px;
};

// Gives the sizes of a name (a list line cut at its line end), by whatever rule the caller
// keeps in context.
struct text_sizer {
    text_sizes (*size_of)(text_view name, const void *context);
    const void *context;
};

// A block opened and closed around each of the two lines, at sizes of at most three digits.
constexpr std::size_t SIZED_MARKUP_MAX_BYTES = 70;
constexpr std::size_t SIZED_TAG_TEXT_MAX_BYTES = LINE_MAX_BYTES + SIZED_MARKUP_MAX_BYTES;
constexpr std::size_t SIZED_TAG_TEXT_SIZE = SIZED_TAG_TEXT_MAX_BYTES + 1;

// As make_tag_text, the text wrapped at the sizes that sizer gives the name: written into
// tag_text (SIZED_TAG_TEXT_SIZE bytes), or, where sizer is null, the tag text as the sheet has it.
text_view make_sized_tag_text(text_view line, const text_sizer *sizer, char *tag_text);
