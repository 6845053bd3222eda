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

void write_paired_tags(list_reader *list, document_writer *document, const sheet_settings *settings,
                       long long *tag_count)
{
    piece_form first_page_pair;
    piece_form own_page_pair;
    build_pair_form(&first_page_pair, false);
    build_pair_form(&own_page_pair, true);

    char line[LINE_SIZE];
    char first[TAG_TEXT_SIZE];
    char second[TAG_TEXT_SIZE];
    const char *const texts[] = {first, second, first, second};
    std::size_t length = 0;
    while (read_line(list, line, sizeof line, &length)) {
        std::size_t first_length = make_tag_text(line, length, first);
        ++*tag_count;
        // Tested between the two counts, so it sees the odd numbers: the first three pairs
        // share the first page, and every later pair starts one.
        bool starts_page = *tag_count > break_threshold(settings->layout);
        if (!read_line(list, line, sizeof line, &length)) {
            copy_span(FILLER, 0, LINE_MAX_BYTES, line);
            length = sizeof FILLER - 1;
        }
        std::size_t second_length = make_tag_text(line, length, second);
        ++*tag_count;
        const std::size_t lengths[] = {first_length, second_length, first_length, second_length};
        write_form(document, starts_page ? &own_page_pair : &first_page_pair, texts, lengths);
    }
}
