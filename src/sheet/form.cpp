#include "sheet/form.h"

#include <cstring>

const char PAGE_BREAK_OPEN[] = "<p style='page-break-before: always'>\n";
const char PAGE_BREAK_CLOSE[] = "</p>\n";

static const char SLOT[] = "%s";

void start_form(piece_form *form)
{
    form->length = 0;
    form->run_length[0] = 0;
    form->slots = 0;
}

static void add_fixed_bytes(piece_form *form, const char *bytes, std::size_t count)
{
    std::size_t stored = encode_line_ends(bytes, count, form->bytes + form->length,
                                          sizeof form->bytes - form->length);
    form->length += stored;
    form->run_length[form->slots] += stored;
}

void add_piece(piece_form *form, const char *piece)
{
    const char *slot = std::strstr(piece, SLOT);
    if (slot == nullptr || form->slots == FORM_MAX_SLOTS) {
        add_fixed_bytes(form, piece, std::strlen(piece));
        return;
    }
    add_fixed_bytes(form, piece, static_cast<std::size_t>(slot - piece));
    form->run_length[++form->slots] = 0;
    const char *rest = slot + sizeof SLOT - 1;
    add_fixed_bytes(form, rest, std::strlen(rest));
}

void write_form(document_writer *document, const piece_form *form, const char *const *texts,
                const std::size_t *lengths)
{
    // Room for the longest texts, so that it is sought once, before any byte is copied.
    char *out = document_room(document, form->length + form->slots * TAG_TEXT_MAX_BYTES);
    const char *fixed = form->bytes;
    for (std::size_t slot = 0; slot < form->slots; ++slot) {
        std::memcpy(out, fixed, form->run_length[slot]);
        out += form->run_length[slot];
        fixed += form->run_length[slot];
        // A slot text holds no line end: tag texts are cut at theirs.
        std::memcpy(out, texts[slot], lengths[slot]);
        out += lengths[slot];
    }
    std::memcpy(out, fixed, form->run_length[form->slots]);
    document_filled(document, out + form->run_length[form->slots]);
}
