// Layouts 1 and 2: one full-width tag per list line, its panels stacked down the page.
#pragma once

#include "settings/sheet_settings.h"
#include "sheet/sized_text.h"
#include "text/text_stream.h"

// Writes a tag for every remaining list line; tag_count numbers the tags of the whole run. A
// sizer sets each tag's text at sizes of its own, for the page's print.
void write_stacked_tags(list_reader *list, document_writer *document,
                        const sheet_settings *settings, long long *tag_count,
                        const text_sizer *sizer = nullptr);
