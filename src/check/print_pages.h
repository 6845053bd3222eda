// The pages the browser page's own print takes, on A4 and on US Letter: its margins of 10 mm
// and its scale of 92%, the tags as the tool's sheet breaks them or filling every page, and a
// tag grown taller than its share pushing what follows it on.
//
// The print is a flow of the sheet's tables down the page: a table that no longer fits goes on
// over the next page, and a page break of the sheet starts one. The heights are Chrome's for Times
// New Roman (the print tests measure Liberation Serif, which has its metrics); Firefox sets lines
// 3 px closer, and may print a page fewer where a tag fills a page to its last few pixels.
#pragma once

#include "settings/sheet_settings.h"

enum paper_size { a4_paper, letter_paper, PAPER_SIZES };

// A page of one paper, one way of breaking pages: how far it is filled, how many there are.
struct page_flow {
    double used_px;
    long long pages;
};

struct print_flow {
    tag_layout layout;
    long long tags;                  // flowed so far
    page_flow flows[PAPER_SIZES][2]; // by paper, as the sheet breaks pages (0) or filled (1)
};

void start_print_flow(print_flow *flow, tag_layout layout);

// A tag of layouts 1 and 2, its text this many lines of the layout's size high (fewer, and a
// part of one, where the print sets it smaller).
void flow_tag(print_flow *flow, double lines);

// A pair of layout 6, its taller tag's text this many lines high.
void flow_pair(print_flow *flow, double lines);

long long printed_pages(const print_flow *flow, paper_size paper, bool filled);

// The tags a page holds when the print fills every page.
long long tags_a_filled_page(tag_layout layout);
