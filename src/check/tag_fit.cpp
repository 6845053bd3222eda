#include "check/tag_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "check/letter_widths.h"
#include "check/markup.h"

// The sheet's header cells, where a tag's text stands: 80px letters in a table 720px wide, a
// panel 236px high, or 36px letters in a table of two columns, each declared 360px wide, a row
// 161px high. A table's border and spacing take 8px of its width (6px in two columns, of one
// border and three spacings), and each cell's border and padding 4px more, 1px a side; the
// print tests measure what a line may then fill.
struct tag_cell {
    double font_px;
    double table_px; // what the table's columns share
    double height_px;
};
static const tag_cell PANEL = {80, 712, 236};
static const tag_cell COLUMN = {36, 712, 161};
static const double COLUMN_DECLARED_PX = 360;
static const double CELL_EDGE_PX = 2;    // a cell's border and padding, on each side
static const double CELL_PADDING_PX = 1; // of that, above and below its text

static tag_cell cell_of(tag_layout layout)
{
    return layout == two_column ? COLUMN : PANEL;
}

// A line of text at a size, as a browser spaces "normal" lines.
static double line_px(double font_px)
{
    return font_px * LINE_HEIGHT_UNITS / FONT_UNITS_PER_EM;
}

// A line of a fitted text: as high as its font's line, or as Chrome and WebKit lay it out,
// each of its parts rounded to whole pixels, where that is higher (at small sizes it is).
static double fitted_line_px(double font_px)
{
    auto rounded = [font_px](int units) { return std::round(font_px * units / FONT_UNITS_PER_EM); };
    return std::max(line_px(font_px),
                    rounded(ASCENT_UNITS) + rounded(DESCENT_UNITS) + rounded(LINE_GAP_UNITS));
}

long long lines_a_tag_holds(tag_layout layout)
{
    tag_cell cell = cell_of(layout);
    return static_cast<long long>((cell.height_px - 2 * CELL_PADDING_PX) / line_px(cell.font_px));
}

// One letter of a name: its code point, read as the declared charset reads the bytes; a byte
// that is no letter there reads as U+FFFD, as a browser shows it.
static const unsigned REPLACEMENT = 0xFFFD;

static unsigned next_letter(const unsigned char **at, const unsigned char *end, bool utf8)
{
    // A reference that writes a letter is as wide as the letter: "&#61;" prints "=".
    std::size_t taken = 0;
    unsigned written = written_letter(reinterpret_cast<const char *>(*at),
                                      static_cast<std::size_t>(end - *at), &taken);
    if (written != 0) {
        *at += taken;
        return written;
    }
    unsigned lead = *(*at)++;
    if (lead < 0x80)
        return lead;
    if (!utf8)
        return WINDOWS_1250_CODE_POINTS[lead - 0x80] != 0 ? WINDOWS_1250_CODE_POINTS[lead - 0x80]
                                                          : REPLACEMENT;
    std::size_t follow = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : 0;
    if (follow == 0 || static_cast<std::size_t>(end - *at) < follow)
        return REPLACEMENT;
    unsigned code_point = lead & (0x3F >> follow);
    for (std::size_t byte = 0; byte < follow; ++byte, ++*at) {
        if ((**at & 0xC0) != 0x80)
            return REPLACEMENT;
        code_point = (code_point << 6) | (**at & 0x3F);
    }
    return code_point;
}

static long long advance_of(unsigned code_point)
{
    if (code_point >= LATIN_START && code_point < LATIN_END) {
        unsigned advance = LATIN_ADVANCES[code_point - LATIN_START];
        return advance != 0 ? advance : WIDEST_LETTER_UNITS;
    }
    const letter_width *end = OTHER_WIDTHS + OTHER_WIDTH_COUNT;
    const letter_width *found = std::lower_bound(
        OTHER_WIDTHS, end, code_point,
        [](const letter_width &width, unsigned wanted) { return width.code_point < wanted; });
    return found != end && found->code_point == code_point ? found->advance : WIDEST_LETTER_UNITS;
}

// Most letters begin no kerning pair, and are known at once not to.
static long long kerning_of(unsigned first, unsigned second)
{
    std::size_t at = 0;
    if (first >= LATIN_START && first < LATIN_END) {
        if (LATIN_KERNING_FROM[first - LATIN_START] == 0)
            return 0;
        at = LATIN_KERNING_FROM[first - LATIN_START] - 1u;
    }
    for (; at < KERN_PAIR_COUNT && KERN_PAIRS[at].first <= first; ++at)
        if (KERN_PAIRS[at].first == first && KERN_PAIRS[at].second == second)
            return KERN_PAIRS[at].adjust;
    return 0;
}

static bool is_space(unsigned code_point)
{
    return code_point == ' ' || code_point == '\t';
}

static bool is_letter(unsigned code_point)
{
    return (code_point >= 'a' && code_point <= 'z') || (code_point >= 'A' && code_point <= 'Z') ||
           (code_point >= 0xC0 && code_point != 0xD7 && code_point != 0xF7 && code_point < 0x2000);
}

// A browser may end a line after a hyphen or an en dash between letters.
static bool breaks_after(unsigned code_point)
{
    return code_point == '-' || code_point == 0x2013;
}

// A line of a tag's text cut into the pieces a browser will not break: their widths, in font
// units, and whether a space stands before each. A name is one read long at most, so it has no
// more pieces than bytes; it is cut once, and laid out at any size from its pieces.
struct text_pieces {
    long long width[LINE_SIZE];
    bool after_space[LINE_SIZE];
    std::size_t count;
};

static void add_piece(text_pieces *pieces, long long width, bool after_space)
{
    if (width == 0 || pieces->count == LINE_SIZE)
        return;
    pieces->width[pieces->count] = width;
    pieces->after_space[pieces->count] = after_space;
    ++pieces->count;
}

// Cuts one line of the tag, a text with no break of its own in it, into its pieces.
static void cut_into_pieces(text_view text, bool utf8, text_pieces *pieces)
{
    pieces->count = 0;
    const auto *at = reinterpret_cast<const unsigned char *>(text.bytes);
    const unsigned char *end = at + text.length;
    long long piece = 0;
    bool after_space = false;
    unsigned previous = 0;
    bool break_pending = false;
    while (at < end) {
        unsigned letter = next_letter(&at, end, utf8);
        if (is_space(letter)) {
            add_piece(pieces, piece, after_space);
            after_space = pieces->count > 0;
            piece = 0;
            previous = 0;
            break_pending = false;
            continue;
        }
        if (break_pending && is_letter(letter)) {
            add_piece(pieces, piece, after_space);
            after_space = false;
            piece = 0;
        }
        break_pending = breaks_after(letter) && is_letter(previous);
        piece += advance_of(letter) + (previous != 0 ? kerning_of(previous, letter) : 0);
        previous = letter;
    }
    add_piece(pieces, piece, after_space);
}

// Lines filled as a browser fills them: each piece goes on the line if the line still holds
// it, else starts the next. A space between two pieces takes room only inside a line. Widths
// in font units; content_px is what a line may fill at the font's size.
struct line_filler {
    double font_px;
    double content_px;
    long long lines;
    long long line;   // the width the current line has filled
    long long widest; // the widest piece
};

static double px_of(const line_filler *filler, long long width)
{
    return static_cast<double>(width) * filler->font_px / FONT_UNITS_PER_EM;
}

static void place(line_filler *filler, long long piece, bool after_space)
{
    filler->widest = std::max(filler->widest, piece);
    long long joined = filler->line + (after_space ? advance_of(' ') : 0) + piece;
    if (filler->line == 0) {
        filler->line = piece;
    } else if (px_of(filler, joined) <= filler->content_px) {
        filler->line = joined;
    } else {
        ++filler->lines;
        filler->line = piece;
    }
}

static line_filler fill_pieces(const text_pieces *pieces, double font_px, double content_px)
{
    line_filler filler = {font_px, content_px, 1, 0, 0};
    for (std::size_t at = 0; at < pieces->count; ++at)
        place(&filler, pieces->width[at], pieces->after_space[at]);
    return filler;
}

// The two lines of a tag's text, cut into pieces: before its first "=" (at separator, or none)
// and after it.
struct tag_pieces {
    text_pieces first;
    text_pieces second;
    bool broken; // the name has a line break of its own
};

static void cut_tag(text_view name, std::size_t separator, bool utf8, tag_pieces *tag)
{
    cut_into_pieces({name.bytes, separator}, utf8, &tag->first);
    tag->broken = separator < name.length;
    text_view after = {name.bytes + separator + 1, tag->broken ? name.length - separator - 1 : 0};
    cut_into_pieces(after, utf8, &tag->second);
}

// The lines of a tag's text, the line break a line end of its own, and its widest piece.
static line_filler fill_tag(const tag_pieces *tag, double font_px, double content_px)
{
    line_filler filler = fill_pieces(&tag->first, font_px, content_px);
    if (tag->broken) {
        // The line break ends a line; a last line that is empty takes no room.
        line_filler after = fill_pieces(&tag->second, font_px, content_px);
        if (after.line > 0)
            filler.lines += after.lines;
        filler.widest = std::max(filler.widest, after.widest);
    }
    return filler;
}

static line_filler fill_tag(text_view name, std::size_t separator, double font_px,
                            double content_px, bool utf8)
{
    tag_pieces tag;
    cut_tag(name, separator, utf8, &tag);
    return fill_tag(&tag, font_px, content_px);
}

// What a cell needs at least: its widest piece, with its border and padding.
static double least_px(text_view name, std::size_t separator, double font_px, bool utf8)
{
    line_filler alone = fill_tag(name, separator, font_px, 0, utf8);
    return px_of(&alone, alone.widest) + 2 * CELL_EDGE_PX;
}

// Two columns share the table as browsers share it: each gets at least its widest piece, and
// of what is left, a share as large as what its declared width asks beyond that piece. The
// width a line of the first may fill, or a negative width where the two cannot share the table.
static double column_content_px(double own, double other, double table_px)
{
    if (own + other > table_px)
        return -1;
    double declared = COLUMN_DECLARED_PX + 2 * CELL_EDGE_PX;
    double own_asks = std::max(declared, own) - own;
    double other_asks = std::max(declared, other) - other;
    double share = own_asks + other_asks > 0 ? own_asks / (own_asks + other_asks) : 0.5;
    return own + share * (table_px - own - other) - 2 * CELL_EDGE_PX;
}

static std::size_t separator_of(text_view name)
{
    return length_before(name.bytes, '=', name.length);
}

static tag_fit fit_with_separator(text_view name, std::size_t separator, text_view partner,
                                  tag_layout layout, bool utf8)
{
    tag_cell cell = cell_of(layout);
    if (layout != two_column) {
        line_filler filler =
            fill_tag(name, separator, cell.font_px, cell.table_px - 2 * CELL_EDGE_PX, utf8);
        return {filler.lines, px_of(&filler, filler.widest) > filler.content_px};
    }
    double own = least_px(name, separator, cell.font_px, utf8);
    double other = least_px(partner, separator_of(partner), cell.font_px, utf8);
    double content_px = column_content_px(own, other, cell.table_px);
    // A table too narrow for its words widens, for the wider word.
    bool too_wide = content_px < 0 && own >= other;
    line_filler filler = fill_tag(name, separator, cell.font_px,
                                  content_px < 0 ? own - 2 * CELL_EDGE_PX : content_px, utf8);
    return {filler.lines, too_wide};
}

text_view filler_partner(bool utf8)
{
    // "&nbsp;": one no-break space.
    return utf8 ? text_view{"\xC2\xA0", 2} : text_view{"\xA0", 1};
}

tag_fit fit_in_tag(text_view name, text_view partner, tag_layout layout, bool utf8)
{
    return fit_with_separator(name, separator_of(name), partner, layout, utf8);
}

bool outgrows_its_tag(tag_fit fit, tag_layout layout)
{
    return fit.too_wide || fit.lines > lines_a_tag_holds(layout);
}

// Where moving the name's "=" to a space makes it fit, by fits_with(the name, the space the
// "=" stands at, what to ask); of the spaces that do, the one nearest the middle, so that the
// two lines come out alike.
struct fit_question {
    text_view partner;
    tag_layout layout;
    bool utf8;
    bool second_smaller;
};

static long long nearest_break(text_view name, const fit_question *question,
                               bool (*fits_with)(text_view, std::size_t, const fit_question *))
{
    std::size_t separator = separator_of(name);
    if (separator == name.length)
        return -1;
    char unbroken[LINE_SIZE];
    keep_text(name, unbroken);
    unbroken[separator] = ' ';
    text_view moved = {unbroken, name.length};
    long long middle = static_cast<long long>(name.length / 2);
    long long best = -1;
    for (std::size_t space = 0; space < name.length; ++space) {
        if (unbroken[space] != ' ' || space == separator || !fits_with(moved, space, question))
            continue;
        long long offset = static_cast<long long>(space);
        if (best < 0 || std::abs(offset - middle) < std::abs(best - middle))
            best = offset;
    }
    return best;
}

static bool keeps_its_tag(text_view name, std::size_t separator, const fit_question *question)
{
    return !outgrows_its_tag(
        fit_with_separator(name, separator, question->partner, question->layout, question->utf8),
        question->layout);
}

long long break_that_fits(text_view name, text_view partner, tag_layout layout, bool utf8)
{
    const fit_question question = {partner, layout, utf8, false};
    return nearest_break(name, &question, keeps_its_tag);
}

// ------------------------------------------------------------------------------------------
// A tag's text sized to fit its panel, as the page's print sets it

// A fitted text keeps clear of its panel's edges, where the card is cut, and of what browsers
// round: its lines fill no more than nineteen twentieths of the cell's width, and its height
// leaves a few pixels spare.
static const double FIT_WIDTH_SHARE = 0.95;
static const double FIT_HEIGHT_SPARE_PX = 3;
// What a line of a tag in two columns is sure to fill, whatever its partner, as long as
// neither holds a piece wider than this: column_content_px then gives each column 360px, less
// a share of the 16px the two declared widths ask beyond the table's.
static const double COLUMN_SURE_PX = 344;

int layout_text_px(tag_layout layout)
{
    return static_cast<int>(cell_of(layout).font_px);
}

int floor_text_px(tag_layout layout)
{
    return layout_text_px(layout) / 2;
}

int second_line_px(int text_px)
{
    return text_px * 3 / 5;
}

struct set_text {
    bool fits;
    double height_px;
};

// The tag's text set at text_px, its second line at second_px: a line of its own, below the
// first, where it is set smaller; else after the line break, as the sheet has it.
static set_text set_at(const tag_pieces *tag, tag_layout layout, int text_px, int second_px)
{
    tag_cell cell = cell_of(layout);
    double content_px = (layout == two_column ? COLUMN_SURE_PX : cell.table_px - 2 * CELL_EDGE_PX) *
                        FIT_WIDTH_SHARE;
    line_filler first = fill_pieces(&tag->first, text_px, content_px);
    bool apart = tag->broken && second_px != text_px;
    // Set apart, an empty first line takes no room; before a line break it does.
    double height =
        apart && first.line == 0 ? 0 : static_cast<double>(first.lines) * fitted_line_px(text_px);
    bool too_wide = px_of(&first, first.widest) > content_px;
    if (tag->broken) {
        line_filler second = fill_pieces(&tag->second, second_px, content_px);
        if (second.line > 0)
            height += static_cast<double>(second.lines) * fitted_line_px(second_px);
        too_wide = too_wide || px_of(&second, second.widest) > content_px;
    }
    double room = cell.height_px - 2 * CELL_PADDING_PX - FIT_HEIGHT_SPARE_PX;
    return {!too_wide && height <= room, height};
}

static tag_size sized(const tag_pieces *tag, tag_layout layout, bool second_smaller, int text_px)
{
    int second_px = second_smaller ? second_line_px(text_px) : text_px;
    set_text set = set_at(tag, layout, text_px, second_px);
    return {text_px, second_px, set.fits, set.height_px / line_px(layout_text_px(layout))};
}

// A smaller size never lays a name out on more lines, so the sizes that fit are all those
// below the largest: it is found by halving.
static tag_size size_pieces(const tag_pieces *tag, tag_layout layout, bool second_smaller)
{
    tag_size at_top = sized(tag, layout, second_smaller, layout_text_px(layout));
    if (at_top.fits)
        return at_top;
    tag_size fitting = sized(tag, layout, second_smaller, floor_text_px(layout));
    if (!fitting.fits)
        return fitting;
    int too_large = at_top.text_px;
    while (too_large - fitting.text_px > 1) {
        tag_size between = sized(tag, layout, second_smaller, (fitting.text_px + too_large) / 2);
        if (between.fits)
            fitting = between;
        else
            too_large = between.text_px;
    }
    return fitting;
}

tag_size size_to_fit(text_view name, tag_layout layout, bool second_smaller, bool utf8)
{
    tag_pieces tag;
    cut_tag(name, separator_of(name), utf8, &tag);
    return size_pieces(&tag, layout, second_smaller);
}

static bool fits_when_sized(text_view name, std::size_t separator, const fit_question *question)
{
    tag_pieces tag;
    cut_tag(name, separator, question->utf8, &tag);
    return size_pieces(&tag, question->layout, question->second_smaller).fits;
}

long long break_that_fits_sized(text_view name, tag_layout layout, bool second_smaller, bool utf8)
{
    const fit_question question = {{"", 0}, layout, utf8, second_smaller};
    return nearest_break(name, &question, fits_when_sized);
}
