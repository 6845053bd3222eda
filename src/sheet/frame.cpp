#include "sheet/frame.h"

#include "sheet/piece.h"

void write_document_head(document_writer *document, const sheet_settings *settings)
{
    write_piece(document, "<html><head><title>Korvela</title>\n");
    write_filled_piece(document,
                       "<meta http-equiv='content-type' content='text/html; charset=%s'>\n",
                       settings->charset);
    write_piece(document, "<style>body {margin: 0px 0px 0px 0px !important;}\n");
    // Two tags side by side need the smaller header font.
    write_piece(document, settings->layout == two_column ? "th {font-size: 36px;}\n"
                                                         : "th {font-size: 80px;}\n");
    write_piece(document, ".otoc {-moz-transform: rotate(-180deg);\n");
    write_piece(document, "-webkit-transform: rotate(-180deg);transform: rotate(-180deg);}\n");
    write_piece(document, "hr {left: 0px;width: 720px;}\n");
    write_piece(document, "</style></head>\n<body><center>");
}

void write_document_tail(document_writer *document)
{
    write_piece(document, "</center></body></html>\n");
}
