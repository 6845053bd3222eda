// Forms: a run of the document's fixed pieces, with slots for the variable texts.
//
// Each piece is written in full; "%s" marks its one variable part. A form gathers the pieces
// that always go out together, with their line ends encoded once, so that writing a tag copies
// a few ready runs of bytes. The texts are filled in as plain bytes: a "%" in a name is never
// interpreted.
#pragma once

#include <cstddef>

#include "text/text.h"
#include "text/text_stream.h"

constexpr std::size_t FORM_SIZE = 1024;
constexpr std::size_t FORM_MAX_SLOTS = 4;
// A form goes out in one piece of the document's chunk, whatever its texts.
static_assert(FORM_SIZE + FORM_MAX_SLOTS * TAG_TEXT_MAX_BYTES <= DOCUMENT_CHUNK_SIZE,
              "a filled form fits the document's chunk");

// The fixed bytes are runs, back to back: one before each slot, and the last after them.
struct piece_form {
    char bytes[FORM_SIZE];
    std::size_t length;
    std::size_t run_length[FORM_MAX_SLOTS + 1];
    std::size_t slots;
};

// Both page-break paragraphs are the same in every layout.
extern const char PAGE_BREAK_OPEN[];
extern const char PAGE_BREAK_CLOSE[];

void start_form(piece_form *form);

// Appends a piece; a "%s" in it becomes the form's next slot.
void add_piece(piece_form *form, const char *piece);

// Writes the form with texts[i], lengths[i] bytes long (at most TAG_TEXT_MAX_BYTES), in slot i.
void write_form(document_writer *document, const piece_form *form, const char *const *texts,
                const std::size_t *lengths);
