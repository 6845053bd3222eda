// Forms: a run of the document's fixed pieces, with slots for the variable texts.
//
// Each piece is written in full; "%s" marks its one variable part. A form gathers the pieces
// that always go out together, with their line ends encoded once, so that writing a tag copies
// a few ready runs of bytes. The texts are filled in as plain bytes: a "%" in a name is never
// interpreted.
#pragma once

#include <cstddef>

#include "text/text_stream.h"

constexpr std::size_t FORM_SIZE = 1024;
constexpr std::size_t FORM_MAX_SLOTS = 4;

struct piece_form {
    char bytes[FORM_SIZE];
    std::size_t length;
    std::size_t slot_at[FORM_MAX_SLOTS]; // where in bytes each slot's text goes
    std::size_t slots;
};

// Both page-break paragraphs are the same in every layout.
extern const char PAGE_BREAK_OPEN[];
extern const char PAGE_BREAK_CLOSE[];

void start_form(piece_form *form);

// Appends a piece; a "%s" in it becomes the form's next slot.
void add_piece(piece_form *form, const char *piece);

// Writes the form with texts[i] in slot i.
void write_form(document_writer *document, const piece_form *form, const char *const *texts);
