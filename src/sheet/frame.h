// The document frame: the head with its charset and style rules, and the closing line.
#pragma once

#include "settings/sheet_settings.h"
#include "text/text_stream.h"

// Writes the head and opens the centred body; the first tag follows "<center>" on its line.
void write_document_head(document_writer *document, const sheet_settings *settings);

void write_document_tail(document_writer *document);
