// The check's verdict on each name of a list, for the print tests to hold against what a
// browser lays out: reads names from stdin, one a line, and prints for each the lines it
// takes, whether a word of it is too wide, and whether it outgrows its tag. In layout 6 the
// names pair up as the sheet pairs them.
//
// usage: tag_fit_verdicts LAYOUT < names     (LAYOUT: 1, 2 or 6; names in UTF-8)
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "check/tag_fit.h"

struct name_line {
    char bytes[1024];
    text_view name;
};

static bool read_name(name_line *line)
{
    if (std::fgets(line->bytes, sizeof line->bytes, stdin) == nullptr)
        return false;
    line->name = {line->bytes, std::strcspn(line->bytes, "\r\n")};
    return true;
}

static void print_verdict(text_view name, text_view partner, tag_layout layout)
{
    tag_fit fit = fit_in_tag(name, partner, layout, true);
    std::printf("%lld %d %d\n", fit.lines, fit.too_wide ? 1 : 0,
                outgrows_its_tag(fit, layout) ? 1 : 0);
}

int main(int count, char **words)
{
    auto layout = static_cast<tag_layout>(count > 1 ? std::atoi(words[1]) : 1);
    static name_line first, second;
    while (read_name(&first)) {
        bool paired = layout == two_column;
        bool partnered = paired && read_name(&second);
        text_view partner = partnered ? second.name : filler_partner(true);
        print_verdict(first.name, partner, layout);
        if (partnered)
            print_verdict(second.name, first.name, layout);
    }
    return 0;
}
