#include "sheet/paired.h"

#include "sheet/piece.h"
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

static void write_pair(document_writer *document, const char *first, const char *second)
{
    write_piece(document, PAIR_OPEN);
    write_filled_piece(document, UPSIDE_DOWN_FIRST, first);
    write_filled_piece(document, UPSIDE_DOWN_SECOND, second);
    write_filled_piece(document, UPRIGHT_FIRST, first);
    write_filled_piece(document, UPRIGHT_SECOND, second);
    write_piece(document, PAIR_CLOSE);
}

void write_paired_tags(list_reader *list, document_writer *document, const sheet_settings *settings,
                       long long *tag_count)
{
    char line[LINE_SIZE];
    char first[TAG_TEXT_SIZE];
    char second[TAG_TEXT_SIZE];
    while (read_line(list, line, sizeof line)) {
        make_tag_text(line, first);
        ++*tag_count;
        // Tested between the two counts, so it sees the odd numbers: pairs after the third
        // each open a page, and the paragraph is left for the next one or the body's end.
        if (*tag_count > break_threshold(settings->layout))
            write_piece(document, PAGE_BREAK_OPEN);
        if (!read_line(list, line, sizeof line))
            copy_span(FILLER, 0, LINE_MAX_BYTES, line);
        make_tag_text(line, second);
        ++*tag_count;
        write_pair(document, first, second);
    }
}
