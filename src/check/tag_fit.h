// How a name lays out in its tag: the lines a browser breaks it into, with the widths of Times
// New Roman's bold letters, and whether the tag then keeps the size the sheet gives it.
#pragma once

#include "settings/sheet_settings.h"
#include "text/text.h"

struct tag_fit {
    long long lines; // the lines the name takes
    bool too_wide;   // a word wider than the tag can hold, which widens its whole table
};

// The lines a tag of the layout holds before it grows taller than the sheet gives it.
long long lines_a_tag_holds(tag_layout layout);

// How a name, a list line cut at its line end, lays out in a tag of the layout, its bytes read
// as UTF-8 or as windows-1250. In two columns a tag shares its table with its partner, the
// other tag of its pair, whose longest word takes its share of the table's width; after an odd
// last tag the partner is the filler.
tag_fit fit_in_tag(text_view name, text_view partner, tag_layout layout, bool utf8);
text_view filler_partner(bool utf8);

// Whether the tag grows taller or wider than the sheet gives it.
bool outgrows_its_tag(tag_fit fit, tag_layout layout);

// Where the name's line break would make its tag fit instead of its first "=": the offset of
// the space to put the "=" in place of, its first "=" becoming a space, or -1 where none does.
// Lines broken where a browser breaks them are as few as they can be, so only a name with an
// "=" can gain.
long long break_that_fits(text_view name, text_view partner, tag_layout layout, bool utf8);

// How the page's print sets a tag's text when it fits each name to its tag: at the largest size
// in whole pixels, from the layout's own down to half of it, at which the tag keeps its panel's
// height and width, the text's line breaks where a browser makes them; the second line, after
// the "=", at three fifths of that size where the print sets it smaller.
struct tag_size {
    int text_px;
    int second_px;
    bool fits;    // false: not even at half the size, which it is set at
    double lines; // the text's height, in lines of the layout's own size
};

int layout_text_px(tag_layout layout); // 80px, or 36px in two columns
int floor_text_px(tag_layout layout);  // half of it
int second_line_px(int text_px);       // three fifths of it

tag_size size_to_fit(text_view name, tag_layout layout, bool second_smaller, bool utf8);

// As break_that_fits, for a name that does not fit its tag even at half the size: where its
// "=" would make it fit when sized, or -1.
long long break_that_fits_sized(text_view name, tag_layout layout, bool second_smaller, bool utf8);
