#include "check/tag_fit.h"

#include <algorithm>
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

long long lines_a_tag_holds(tag_layout layout)
{
    tag_cell cell = cell_of(layout);
    double line_px = cell.font_px * LINE_HEIGHT_UNITS / FONT_UNITS_PER_EM;
    return static_cast<long long>((cell.height_px - 2 * CELL_PADDING_PX) / line_px);
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

// Lines filled as a browser fills them: each piece that cannot be broken goes on the line if
// the line still holds it, else starts the next. A space between two pieces takes room only
// inside a line. Widths in font units; content_px is what a line may fill at the font's size.
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
    if (piece == 0)
        return;
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

// Fills the lines of one line of the tag, a text with no break of its own in it.
static void fill_lines(line_filler *filler, text_view text, bool utf8)
{
    const auto *at = reinterpret_cast<const unsigned char *>(text.bytes);
    const unsigned char *end = at + text.length;
    long long piece = 0;
    bool after_space = false;
    unsigned previous = 0;
    bool break_pending = false;
    while (at < end) {
        unsigned letter = next_letter(&at, end, utf8);
        if (is_space(letter)) {
            place(filler, piece, after_space);
            after_space = true;
            piece = 0;
            previous = 0;
            break_pending = false;
            continue;
        }
        if (break_pending && is_letter(letter)) {
            place(filler, piece, after_space);
            after_space = false;
            piece = 0;
        }
        break_pending = breaks_after(letter) && is_letter(previous);
        piece += advance_of(letter) + (previous != 0 ? kerning_of(previous, letter) : 0);
        previous = letter;
    }
    place(filler, piece, after_space);
}

// The lines of a tag's text, the first "=" (at separator, or none) a line break of its own, and
// its widest piece.
static line_filler fill_tag(text_view name, std::size_t separator, double font_px,
                            double content_px, bool utf8)
{
    line_filler filler = {font_px, content_px, 1, 0, 0};
    fill_lines(&filler, {name.bytes, separator}, utf8);
    if (separator < name.length) {
        // The line break ends a line; a last line that is empty takes no room.
        line_filler after = {font_px, content_px, 1, 0, 0};
        fill_lines(&after, {name.bytes + separator + 1, name.length - separator - 1}, utf8);
        if (after.line > 0)
            filler.lines += after.lines;
        filler.widest = std::max(filler.widest, after.widest);
    }
    return filler;
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

long long break_that_fits(text_view name, text_view partner, tag_layout layout, bool utf8)
{
    std::size_t separator = separator_of(name);
    if (separator == name.length)
        return -1;
    char unbroken[LINE_SIZE];
    keep_text(name, unbroken);
    unbroken[separator] = ' ';
    text_view moved = {unbroken, name.length};
    // Of the spaces that make it fit, the one nearest the middle: two lines alike.
    long long middle = static_cast<long long>(name.length / 2);
    long long best = -1;
    for (std::size_t space = 0; space < name.length; ++space) {
        if (unbroken[space] != ' ' || space == separator ||
            outgrows_its_tag(fit_with_separator(moved, space, partner, layout, utf8), layout))
            continue;
        long long offset = static_cast<long long>(space);
        if (best < 0 || std::abs(offset - middle) < std::abs(best - middle))
            best = offset;
    }
    return best;
}
