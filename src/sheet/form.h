// Forms: a run of the document's fixed pieces, with slots for the variable texts.
//
// Each piece is written in full; "%s" marks its one variable part. A form gathers the pieces
// that always go out together, with their line ends encoded once, so that writing a tag copies
// a few ready runs of bytes. The texts are filled in as plain bytes: a "%" in a name is never
// interpreted.
//
// A writer puts a form's runs and its texts in order, straight into the document's room:
//     char *out = form_room(document, form);
//     out = put_text(put_run(out, form, 0), text);
//     out = put_run(out, form, 1);
//     document_filled(document, out);
#pragma once

#include <cstddef>
#include <cstring>

#include "sheet/sized_text.h"
#include "text/text.h"
#include "text/text_stream.h"

constexpr std::size_t FORM_SIZE = 1024;
constexpr std::size_t FORM_MAX_SLOTS = 4;
// A slot's text: a tag text, or one set at sizes of its own for the page's print.
constexpr std::size_t SLOT_TEXT_MAX_BYTES = SIZED_TAG_TEXT_MAX_BYTES;
static_assert(TAG_TEXT_MAX_BYTES <= SLOT_TEXT_MAX_BYTES, "a tag text fits a slot");
// A form goes out in one piece of the document's chunk, whatever its texts.
static_assert(FORM_SIZE + FORM_MAX_SLOTS * SLOT_TEXT_MAX_BYTES <= DOCUMENT_CHUNK_SIZE,
              "a filled form fits the document's chunk");

// The fixed bytes are runs, back to back: one before each slot, and the last after them.
// Run i is bytes[run_start[i]] up to run_start[i + 1]; the last run ends at run_start[slots + 1].
struct piece_form {
    char bytes[FORM_SIZE];
    std::size_t slots;
    std::size_t run_start[FORM_MAX_SLOTS + 2];
};

// Both page-break paragraphs are the same in every layout.
extern const char PAGE_BREAK_OPEN[];
extern const char PAGE_BREAK_CLOSE[];

void start_form(piece_form *form);

// Appends a piece; a "%s" in it becomes the form's next slot.
void add_piece(piece_form *form, const char *piece);

// Room in the document for the form with its longest texts (SLOT_TEXT_MAX_BYTES each), sought
// once, before any byte is copied; document_filled takes what was put there.
char *form_room(document_writer *document, const piece_form *form);

// Puts the form's run at out; returns where the next bytes go.
inline char *put_run(char *out, const piece_form *form, std::size_t run)
{
    std::size_t start = form->run_start[run];
    std::size_t length = form->run_start[run + 1] - start;
    std::memcpy(out, form->bytes + start, length);
    return out + length;
}

// Puts a slot's text at out, at most SLOT_TEXT_MAX_BYTES and with no line end (tag texts are cut
// at theirs); returns where the next bytes go.
inline char *put_text(char *out, text_view text)
{
    std::memcpy(out, text.bytes, text.length);
    return out + text.length;
}
