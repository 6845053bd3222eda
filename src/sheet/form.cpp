#include "sheet/form.h"

#include <cstring>

const char PAGE_BREAK_OPEN[] = "<p style='page-break-before: always'>\n";
const char PAGE_BREAK_CLOSE[] = "</p>\n";

static const char SLOT[] = "%s";

void start_form(piece_form *form)
{
    form->slots = 0;
    form->run_start[0] = 0;
    form->run_start[1] = 0;
}

static std::size_t form_length(const piece_form *form)
{
    return form->run_start[form->slots + 1];
}

static void add_fixed_bytes(piece_form *form, const char *bytes, std::size_t count)
{
    std::size_t length = form_length(form);
    length += encode_line_ends(bytes, count, form->bytes + length, sizeof form->bytes - length);
    form->run_start[form->slots + 1] = length;
}

void add_piece(piece_form *form, const char *piece)
{
    const char *slot = std::strstr(piece, SLOT);
    if (slot == nullptr || form->slots == FORM_MAX_SLOTS) {
        add_fixed_bytes(form, piece, std::strlen(piece));
        return;
    }
    add_fixed_bytes(form, piece, static_cast<std::size_t>(slot - piece));
    ++form->slots;
    form->run_start[form->slots + 1] = form->run_start[form->slots];
    const char *rest = slot + sizeof SLOT - 1;
    add_fixed_bytes(form, rest, std::strlen(rest));
}

char *form_room(document_writer *document, const piece_form *form)
{
    return document_room(document, form_length(form) + form->slots * SLOT_TEXT_MAX_BYTES);
}
