#include "run.h"

#include "settings/settings_line.h"
#include "sheet/frame.h"
#include "sheet/paired.h"
#include "sheet/stacked.h"
#include "text/text.h"
#include "text/text_stream.h"

static const char LIST_FILE[] = "Korvela.txt";
static const char SHEET_FILE[] = "Korvela.html";

void drop_settings_line(list_reader *list, const sheet_settings *settings)
{
    // The settings pass has read the same first line; it was never a tag.
    if (settings->has_settings_line) {
        text_view dropped;
        read_line(list, &dropped);
    }
}

void write_tags(list_reader *list, document_writer *document, const sheet_settings *settings,
                long long *tag_count, const text_sizer *sizer)
{
    if (settings->layout == two_column)
        write_paired_tags(list, document, settings, tag_count, sizer);
    else
        write_stacked_tags(list, document, settings, tag_count, sizer);
}

void write_sheet(list_reader *list, document_writer *document, const sheet_settings *settings,
                 const text_sizer *sizer)
{
    drop_settings_line(list, settings);
    write_document_head(document, settings);
    long long tag_count = 0;
    write_tags(list, document, settings, &tag_count, sizer);
    write_document_tail(document);
}

run_status finish_run(list_reader *list, document_writer *document)
{
    bool list_read = close_list(list);
    bool document_written = close_document(document);
    // A document that did not reach the disk is the worse failure, so it is the one reported.
    if (!document_written)
        return run_document_write_failed;
    if (!list_read)
        return run_list_read_failed;
    return run_ok;
}

run_status run()
{
    sheet_settings settings = default_settings();
    read_settings(&settings, LIST_FILE);

    // The stream buffers are large, so they live outside the stack.
    static list_reader list;
    if (!open_list(&list, LIST_FILE))
        return run_list_missing;
    static document_writer document;
    if (!create_document(&document, SHEET_FILE)) {
        close_list(&list);
        return run_document_failed;
    }
    write_sheet(&list, &document, &settings);
    return finish_run(&list, &document);
}
