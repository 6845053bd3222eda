#include "run.h"

#include "settings/settings_line.h"
#include "sheet/frame.h"
#include "sheet/paired.h"
#include "sheet/stacked.h"
#include "text/text.h"
#include "text/text_stream.h"

static const char LIST_FILE[] = "Korvela.txt";
static const char SHEET_FILE[] = "Korvela.html";

static void write_body(list_reader *list, document_writer *document,
                       const sheet_settings *settings)
{
    long long tag_count = 0;
    if (settings->layout == two_column)
        write_paired_tags(list, document, settings, &tag_count);
    else
        write_stacked_tags(list, document, settings, &tag_count);
}

run_status run()
{
    sheet_settings settings = default_settings();
    read_settings(&settings, LIST_FILE);

    list_reader list;
    if (!open_list(&list, LIST_FILE))
        return run_list_missing;
    if (settings.has_settings_line) {
        char dropped[LINE_SIZE];
        read_line(&list, dropped, sizeof dropped);
    }

    document_writer document;
    if (!create_document(&document, SHEET_FILE)) {
        close_list(&list);
        return run_document_failed;
    }
    write_document_head(&document, &settings);
    write_body(&list, &document, &settings);
    bool list_read = close_list(&list);
    write_document_tail(&document);
    bool document_written = close_document(&document);

    // A document that did not reach the disk is the worse failure, so it is the one reported.
    if (!document_written)
        return run_document_write_failed;
    if (!list_read)
        return run_list_read_failed;
    return run_ok;
}
