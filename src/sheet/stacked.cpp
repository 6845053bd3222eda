#include "sheet/stacked.h"

#include "sheet/form.h"
#include "text/text.h"

static const char PANEL_OPEN[] = "<table border='2' width='720px'>\n";
static const char BLANK_ROW[] = "<tr><th height='236px'>&nbsp;</th></tr>\n";
// The missing space before "class" is how the sheet has always carried it.
static const char UPSIDE_DOWN_ROW[] = "<tr><th height='236px'class='otoc'>%s</th></tr>\n";
static const char UPRIGHT_ROW[] = "<tr><th height='236px'>%s</th></tr>\n";
static const char PANEL_CLOSE[] = "</table>\n";

static void add_panel(piece_form *form, const char *row)
{
    add_piece(form, PANEL_OPEN);
    add_piece(form, row);
    add_piece(form, PANEL_CLOSE);
}

// Four panels fold into a card standing on a blank base; two panels make a flat card.
// A tag past the first page is wrapped in a page-break paragraph of its own.
static void build_tag_form(piece_form *form, tag_layout layout, bool starts_page)
{
    bool framed = layout == four_panel;
    start_form(form);
    if (starts_page)
        add_piece(form, PAGE_BREAK_OPEN);
    if (framed)
        add_panel(form, BLANK_ROW);
    add_panel(form, UPSIDE_DOWN_ROW);
    add_panel(form, UPRIGHT_ROW);
    if (framed)
        add_panel(form, BLANK_ROW);
    if (starts_page)
        add_piece(form, PAGE_BREAK_CLOSE);
}

// The tag text goes in twice: upside down, then upright.
static void write_tag(document_writer *document, const piece_form *form, text_view tag_text)
{
    char *out = form_room(document, form);
    out = put_text(put_run(out, form, 0), tag_text);
    out = put_text(put_run(out, form, 1), tag_text);
    document_filled(document, put_run(out, form, 2));
}

void write_stacked_tags(list_reader *list, document_writer *document,
                        const sheet_settings *settings, long long *tag_count,
                        const text_sizer *sizer)
{
    piece_form first_page_tag;
    piece_form own_page_tag;
    build_tag_form(&first_page_tag, settings->layout, false);
    build_tag_form(&own_page_tag, settings->layout, true);

    char tag_text[SIZED_TAG_TEXT_SIZE];
    text_view line;
    while (read_line(list, &line)) {
        text_view tag = make_sized_tag_text(line, sizer, tag_text);
        ++*tag_count;
        // The count is never reset: every tag past the first page gets a page of its own.
        bool starts_page = *tag_count > break_threshold(settings->layout);
        write_tag(document, starts_page ? &own_page_tag : &first_page_tag, tag);
    }
}
