// The run: the settings pass, then the writing pass, and the exit status.
#pragma once

#include "settings/sheet_settings.h"
#include "sheet/sized_text.h"
#include "text/text_stream.h"

// Exit statuses. Only run_ok means the whole list was read and the whole document written.
enum run_status {
    run_ok = 0,
    run_list_missing = 1,          // no document was created or changed
    run_document_failed = 2,       // the document could not be created
    run_list_read_failed = 3,      // the list failed part-way; the document was still completed
    run_document_write_failed = 4, // a write or the close of the document failed
};

// Reads the settings line, where the list has one, which is never a tag.
void drop_settings_line(list_reader *list, const sheet_settings *settings);

// Writes a tag for every remaining list line, as the layout lays them out; tag_count numbers
// the tags of the whole sheet, and may start past 0 for a part of it. A sizer sets each tag's
// text at sizes of its own, for the page's print.
void write_tags(list_reader *list, document_writer *document, const sheet_settings *settings,
                long long *tag_count, const text_sizer *sizer = nullptr);

// The writing pass over an open list: drops the settings line, if there is one, and writes the
// whole document, head, tags and closing line.
void write_sheet(list_reader *list, document_writer *document, const sheet_settings *settings,
                 const text_sizer *sizer = nullptr);

// Closes the list and the document after the writing pass: how the run went.
run_status finish_run(list_reader *list, document_writer *document);

// Reads "Korvela.txt" from the current folder and writes "Korvela.html" beside it.
run_status run();
