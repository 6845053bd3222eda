#include "sheet/form.h"

#include <cstring>

const char PAGE_BREAK_OPEN[] = "<p style='page-break-before: always'>\n";
const char PAGE_BREAK_CLOSE[] = "</p>\n";

static const char SLOT[] = "%s";

void start_form(piece_form *form)
{
    form->length = 0;
    form->slots = 0;
}

static void add_fixed_bytes(piece_form *form, const char *bytes, std::size_t count)
{
    form->length += encode_line_ends(bytes, count, form->bytes + form->length,
                                     sizeof form->bytes - form->length);
}

void add_piece(piece_form *form, const char *piece)
{
    const char *slot = std::strstr(piece, SLOT);
    if (slot == nullptr || form->slots == FORM_MAX_SLOTS) {
        add_fixed_bytes(form, piece, std::strlen(piece));
        return;
    }
    add_fixed_bytes(form, piece, static_cast<std::size_t>(slot - piece));
    form->slot_at[form->slots++] = form->length;
    const char *rest = slot + sizeof SLOT - 1;
    add_fixed_bytes(form, rest, std::strlen(rest));
}

void write_form(document_writer *document, const piece_form *form, const char *const *texts)
{
    std::size_t written = 0;
    for (std::size_t slot = 0; slot < form->slots; ++slot) {
        write_encoded(document, form->bytes + written, form->slot_at[slot] - written);
        // A slot text holds no line end: tag texts are cut at theirs.
        write_encoded(document, texts[slot], std::strlen(texts[slot]));
        written = form->slot_at[slot];
    }
    write_encoded(document, form->bytes + written, form->length - written);
}
