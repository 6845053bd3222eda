#include "sheet/piece.h"

#include <cstring>

const char PAGE_BREAK_OPEN[] = "<p style='page-break-before: always'>\n";
const char PAGE_BREAK_CLOSE[] = "</p>\n";

void write_piece(document_writer *document, const char *piece)
{
    write_text(document, piece, std::strlen(piece));
}

void write_filled_piece(document_writer *document, const char *piece, const char *text)
{
    const char *slot = std::strstr(piece, "%s");
    if (slot == nullptr) {
        write_piece(document, piece);
        return;
    }
    write_text(document, piece, static_cast<std::size_t>(slot - piece));
    write_piece(document, text);
    write_piece(document, slot + 2);
}
