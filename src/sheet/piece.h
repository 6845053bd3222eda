// Writing the document's fixed pieces. A piece is written in full; "%s" marks its one variable
// part, which is filled in as plain bytes, so a "%" in a name is never interpreted.
#pragma once

#include "text/text_stream.h"

// Both page-break paragraphs are the same in every layout.
extern const char PAGE_BREAK_OPEN[];
extern const char PAGE_BREAK_CLOSE[];

void write_piece(document_writer *document, const char *piece);

void write_filled_piece(document_writer *document, const char *piece, const char *text);
