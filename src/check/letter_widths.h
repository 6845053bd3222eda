// The widths a tag's letters print at, in the units of the font (letter_widths.py writes them).
#pragma once

#include <cstddef>
#include <cstdint>

struct letter_width {
    std::uint16_t code_point;
    std::uint16_t advance;
};

// A letter followed by another prints that much closer (a negative adjust) or farther.
struct kern_pair {
    std::uint16_t first;
    std::uint16_t second;
    std::int16_t adjust;
};

extern const int FONT_UNITS_PER_EM;
extern const int LINE_HEIGHT_UNITS;   // one line of text, as a browser spaces "normal" lines
extern const int ASCENT_UNITS;        // of which above the baseline,
extern const int DESCENT_UNITS;       // below it,
extern const int LINE_GAP_UNITS;      // and between two lines
extern const int WIDEST_LETTER_UNITS; // what a letter outside the table counts as

// The letter each byte 0x80 to 0xFF is in windows-1250; 0 where it gives none.
extern const std::uint16_t WINDOWS_1250_CODE_POINTS[128];

// The letters U+0020 to U+017F, each at its code point less LATIN_START: their advance, 0 where
// the font table has none, and one past where their kerning pairs begin, 0 where they have none.
constexpr unsigned LATIN_START = 0x20;
constexpr unsigned LATIN_END = 0x180;
extern const std::uint16_t LATIN_ADVANCES[LATIN_END - LATIN_START];
extern const std::uint8_t LATIN_KERNING_FROM[LATIN_END - LATIN_START];

// The other letters, and every kerning pair, sorted by code point.
extern const letter_width OTHER_WIDTHS[];
extern const std::size_t OTHER_WIDTH_COUNT;
extern const kern_pair KERN_PAIRS[];
extern const std::size_t KERN_PAIR_COUNT;
