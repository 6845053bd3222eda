#include "check/print_pages.h"

// The print's page: the paper less its margins of 10 mm, at the print's scale of 92%.
static const double PRINT_SCALE = 0.92;
static const double PX_A_MM = 96 / 25.4;
static const double MARGINS_MM = 2 * 10;
static const double PAPER_HEIGHT_MM[PAPER_SIZES] = {297, 279.4};

// The sheet's tables as Chrome lays them out, in CSS pixels: a panel of layouts 1 and 2 and a
// pair's table of layout 6 as the sheet sizes them, and as a name of more lines than they hold
// stretches them, by its line height. The print sets the margins of the paragraphs the sheet
// puts tags in to none.
static const double PANEL_PX = 242.5;
static const double PANEL_LINE_PX = 92.4;
static const double PANEL_EDGE_PX = 10.6;
static const double PAIR_PX = 327.4;
static const double PAIR_LINE_PX = 82.6; // a line more in each of its two rows
static const double PAIR_EDGE_PX = 13.7;

static double page_px(paper_size paper)
{
    return (PAPER_HEIGHT_MM[paper] - MARGINS_MM) * PX_A_MM / PRINT_SCALE;
}

static double at_least(double height, double least)
{
    return height > least ? height : least;
}

void start_print_flow(print_flow *flow, tag_layout layout)
{
    *flow = print_flow{};
    flow->layout = layout;
}

long long tags_a_filled_page(tag_layout layout)
{
    return break_threshold(layout);
}

// A table down the page: browsers break a table's row where the page ends, and go on with it on
// the next.
static void flow_table(page_flow *flow, paper_size paper, double height, bool page_break)
{
    double page = page_px(paper);
    if (flow->pages == 0 || page_break) {
        ++flow->pages;
        flow->used_px = 0;
    }
    flow->used_px += height;
    while (flow->used_px > page) {
        ++flow->pages;
        flow->used_px -= page;
    }
}

// A tag's tables on every paper, each way of breaking pages. The sheet puts a tag after the
// first page's share into a paragraph of its own, which breaks the page; filled, only every
// page's first tag breaks it.
static void flow_tables(print_flow *flow, const double *heights, int count, long long first_tag)
{
    long long share = break_threshold(flow->layout);
    bool in_paragraph = first_tag > share;
    long long filled_position = (first_tag - share - 1) % share;
    for (int paper = 0; paper < PAPER_SIZES; ++paper) {
        for (int filled = 0; filled < 2; ++filled) {
            bool page_break = in_paragraph && (filled == 0 || filled_position == 0);
            for (int table = 0; table < count; ++table)
                flow_table(&flow->flows[paper][filled], static_cast<paper_size>(paper),
                           heights[table], table == 0 && page_break);
        }
    }
}

void flow_tag(print_flow *flow, double lines)
{
    double text = at_least(PANEL_LINE_PX * lines + PANEL_EDGE_PX, PANEL_PX);
    const double four_panels[] = {PANEL_PX, text, text, PANEL_PX};
    const double two_panels[] = {text, text};
    ++flow->tags;
    if (flow->layout == four_panel)
        flow_tables(flow, four_panels, 4, flow->tags);
    else
        flow_tables(flow, two_panels, 2, flow->tags);
}

void flow_pair(print_flow *flow, double lines)
{
    double table = at_least(PAIR_LINE_PX * lines + PAIR_EDGE_PX, PAIR_PX);
    flow->tags += 2;
    // The pair's first tag decides its paragraph and its page break, as the sheet writes them.
    flow_tables(flow, &table, 1, flow->tags - 1);
}

long long printed_pages(const print_flow *flow, paper_size paper, bool filled)
{
    return flow->flows[paper][filled ? 1 : 0].pages;
}
