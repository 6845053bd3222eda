// Layout 6: the tags in pairs, each pair one table of two columns.
#pragma once

#include "settings/sheet_settings.h"
#include "sheet/sized_text.h"
#include "text/text_stream.h"

// Writes a table for every remaining pair of list lines; tag_count numbers the tags of the run,
// the filler of an odd last tag included. A sizer sets each tag's text at sizes of its own, for
// the page's print; the filler stays as it is.
void write_paired_tags(list_reader *list, document_writer *document, const sheet_settings *settings,
                       long long *tag_count, const text_sizer *sizer = nullptr);
