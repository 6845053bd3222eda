#include "sheet/paired.h"

#include "sheet/form.h"
#include "text/text.h"

static const char FILLER[] = "&nbsp;";

static const char PAIR_OPEN[] = "<table border='1' width='720px'>\n";
static const char UPSIDE_DOWN_FIRST[] =
    "<tr><th width='360px' height='161px' class='otoc'>%s</th>\n";
static const char UPSIDE_DOWN_SECOND[] =
    "<th width='360px' height='161px' class='otoc'>%s</th></tr>\n";
static const char UPRIGHT_FIRST[] = "<tr><th width='360px' height='161px'>%s</th>\n";
static const char UPRIGHT_SECOND[] = "<th width='360px' height='161px'>%s</th></tr>\n";
static const char PAIR_CLOSE[] = "</table>\n";

// A pair past the first page opens a page-break paragraph, which stays open: the next
// paragraph or the end of the body ends it.
static void build_pair_form(piece_form *form, bool starts_page)
{
    start_form(form);
    if (starts_page)
        add_piece(form, PAGE_BREAK_OPEN);
    add_piece(form, PAIR_OPEN);
    add_piece(form, UPSIDE_DOWN_FIRST);
    add_piece(form, UPSIDE_DOWN_SECOND);
    add_piece(form, UPRIGHT_FIRST);
    add_piece(form, UPRIGHT_SECOND);
    add_piece(form, PAIR_CLOSE);
}

// Upside down side by side, then upright side by side.
static void write_pair(document_writer *document, const piece_form *form, text_view first,
                       text_view second)
{
    char *out = form_room(document, form);
    out = put_text(put_run(out, form, 0), first);
    out = put_text(put_run(out, form, 1), second);
    out = put_text(put_run(out, form, 2), first);
    out = put_text(put_run(out, form, 3), second);
    document_filled(document, put_run(out, form, 4));
}

void write_paired_tags(list_reader *list, document_writer *document, const sheet_settings *settings,
                       long long *tag_count, const text_sizer *sizer)
{
    piece_form first_page_pair;
    piece_form own_page_pair;
    build_pair_form(&first_page_pair, false);
    build_pair_form(&own_page_pair, true);

    char first_text[SIZED_TAG_TEXT_SIZE];
    char second_text[SIZED_TAG_TEXT_SIZE];
    text_view line;
    while (read_line(list, &line)) {
        // The second read may reuse the bytes that this line views.
        text_view first = keep_text(make_sized_tag_text(line, sizer, first_text), first_text);
        ++*tag_count;
        // Tested between the two counts, so it sees the odd numbers: the first three pairs
        // share the first page, and every later pair starts one.
        bool starts_page = *tag_count > break_threshold(settings->layout);
        bool filled = !read_line(list, &line);
        if (filled)
            line = {FILLER, sizeof FILLER - 1};
        text_view second = make_sized_tag_text(line, filled ? nullptr : sizer, second_text);
        ++*tag_count;
        write_pair(document, starts_page ? &own_page_pair : &first_page_pair, first, second);
    }
}
