#include "sheet/stacked.h"

#include "sheet/piece.h"
#include "text/text.h"

static const char PANEL_OPEN[] = "<table border='2' width='720px'>\n";
static const char BLANK_ROW[] = "<tr><th height='236px'>&nbsp;</th></tr>\n";
// The missing space before "class" is how the sheet has always carried it.
static const char UPSIDE_DOWN_ROW[] = "<tr><th height='236px'class='otoc'>%s</th></tr>\n";
static const char UPRIGHT_ROW[] = "<tr><th height='236px'>%s</th></tr>\n";
static const char PANEL_CLOSE[] = "</table>\n";

static void write_panel(document_writer *document, const char *row, const char *tag_text)
{
    write_piece(document, PANEL_OPEN);
    write_filled_piece(document, row, tag_text);
    write_piece(document, PANEL_CLOSE);
}

// Four panels fold into a card standing on a blank base; two panels make a flat card.
static void write_tag(document_writer *document, tag_layout layout, const char *tag_text)
{
    bool framed = layout == four_panel;
    if (framed)
        write_panel(document, BLANK_ROW, tag_text);
    write_panel(document, UPSIDE_DOWN_ROW, tag_text);
    write_panel(document, UPRIGHT_ROW, tag_text);
    if (framed)
        write_panel(document, BLANK_ROW, tag_text);
}

void write_stacked_tags(list_reader *list, document_writer *document,
                        const sheet_settings *settings, long long *tag_count)
{
    char line[LINE_SIZE];
    char tag_text[TAG_TEXT_SIZE];
    while (read_line(list, line, sizeof line)) {
        make_tag_text(line, tag_text);
        ++*tag_count;
        // The count is never reset: every tag past the first page gets a page of its own.
        bool starts_page = *tag_count > break_threshold(settings->layout);
        if (starts_page)
            write_piece(document, PAGE_BREAK_OPEN);
        write_tag(document, settings->layout, tag_text);
        if (starts_page)
            write_piece(document, PAGE_BREAK_CLOSE);
    }
}
