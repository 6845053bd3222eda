#include "sheet/frame.h"

#include "sheet/form.h"

#include <cstring>

void write_document_head(document_writer *document, const sheet_settings *settings)
{
    piece_form head;
    start_form(&head);
    add_piece(&head, "<html><head><title>Korvela</title>\n");
    add_piece(&head, "<meta http-equiv='content-type' content='text/html; charset=%s'>\n");
    add_piece(&head, "<style>body {margin: 0px 0px 0px 0px !important;}\n");
    // Two tags side by side need the smaller header font.
    add_piece(&head, settings->layout == two_column ? "th {font-size: 36px;}\n"
                                                    : "th {font-size: 80px;}\n");
    add_piece(&head, ".otoc {-moz-transform: rotate(-180deg);\n");
    add_piece(&head, "-webkit-transform: rotate(-180deg);transform: rotate(-180deg);}\n");
    add_piece(&head, "hr {left: 0px;width: 720px;}\n");
    add_piece(&head, "</style></head>\n<body><center>");
    const text_view charset = {settings->charset, std::strlen(settings->charset)};
    char *out = put_text(put_run(form_room(document, &head), &head, 0), charset);
    document_filled(document, put_run(out, &head, 1));
}

void write_document_tail(document_writer *document)
{
    piece_form tail;
    start_form(&tail);
    add_piece(&tail, "</center></body></html>\n");
    document_filled(document, put_run(form_room(document, &tail), &tail, 0));
}
