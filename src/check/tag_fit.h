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
