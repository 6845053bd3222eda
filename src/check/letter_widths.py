#!/usr/bin/python3
"""Writes letter_widths.cpp: how wide each letter a name is written in prints in a tag.

The sheet names no font, so a browser on Windows sets it in Times New Roman, bold in its header
cells; Liberation Serif Bold has the same widths. This reads them from the font file that
Debian's fonts-liberation installs, with fontTools (python3-fonttools): the advance of every
letter of windows-1250, which UTF-8 lists use too, the kerning between two of them, as browsers
apply it inside a word, and the font's line height, with the parts browsers round it from. Made again with

    /usr/bin/python3 src/check/letter_widths.py > src/check/letter_widths.cpp
"""
import sys

from fontTools.ttLib import TTFont

FONT = "/usr/share/fonts/truetype/liberation/LiberationSerif-Bold.ttf"
LATIN_START, LATIN_END = 0x20, 0x180


def windows_1250_letters():
    """Each byte 0x20 to 0xFF that windows-1250 gives a printable letter, with that letter."""
    for byte in range(0x20, 0x100):
        try:
            letter = bytes([byte]).decode("cp1250")
        except UnicodeDecodeError:
            continue
        if letter.isprintable() or letter == "\xa0":
            yield byte, letter


def main():
    font = TTFont(FONT)
    glyph_of = font.getBestCmap()
    advances = font["hmtx"]
    letters = dict(windows_1250_letters())
    widths = {ord(letter): advances[glyph_of[ord(letter)]][0] for letter in letters.values()}
    # Firefox shapes the words of a line apart, so it never kerns a pair with a space.
    code_points_of = {}
    for code_point in widths:
        if code_point != 0x20:
            code_points_of.setdefault(glyph_of[code_point], []).append(code_point)
    kerning = {}
    for (left, right), adjust in font["kern"].kernTables[0].kernTable.items():
        for first in code_points_of.get(left, []):
            for second in code_points_of.get(right, []):
                kerning[(first, second)] = adjust
    hhea = font["hhea"]
    out = sys.stdout
    out.write("// Written by letter_widths.py from Liberation Serif Bold (fonts-liberation): do not edit.\n")
    out.write('#include "check/letter_widths.h"\n\n')
    out.write(f"const int FONT_UNITS_PER_EM = {font['head'].unitsPerEm};\n")
    out.write(f"const int LINE_HEIGHT_UNITS = {hhea.ascent - hhea.descent + hhea.lineGap};\n")
    out.write(f"const int ASCENT_UNITS = {hhea.ascent};\n")
    out.write(f"const int DESCENT_UNITS = {-hhea.descent};\n")
    out.write(f"const int LINE_GAP_UNITS = {hhea.lineGap};\n")
    out.write(f"const int WIDEST_LETTER_UNITS = {max(widths.values())};\n\n")
    out.write("const std::uint16_t WINDOWS_1250_CODE_POINTS[128] = {")
    for byte in range(0x80, 0x100):
        out.write(("\n    " if byte % 8 == 0 else " ") + f"0x{ord(letters.get(byte, chr(0))):04X},")
    out.write("\n};\n\n")
    # Latin letters, looked up at once; the rest of windows-1250's, by a search.
    out.write(f"const std::uint16_t LATIN_ADVANCES[{LATIN_END - LATIN_START}] = {{")
    for code_point in range(LATIN_START, LATIN_END):
        at = code_point - LATIN_START
        out.write(("\n    " if at % 12 == 0 else " ") + f"{widths.get(code_point, 0)},")
    out.write("\n};\n\nconst letter_width OTHER_WIDTHS[] = {")
    others = sorted(code_point for code_point in widths if code_point >= LATIN_END)
    for at, code_point in enumerate(others):
        out.write(("\n    " if at % 5 == 0 else " ") + f"{{0x{code_point:04X}, {widths[code_point]}}},")
    out.write(f"\n}};\nconst std::size_t OTHER_WIDTH_COUNT = {len(others)};\n\n")
    pairs = sorted(kerning)
    # Where each Latin letter's pairs begin, one past: 0 where it has none.
    out.write(f"const std::uint8_t LATIN_KERNING_FROM[{LATIN_END - LATIN_START}] = {{")
    for code_point in range(LATIN_START, LATIN_END):
        at = code_point - LATIN_START
        first = next((index + 1 for index, pair in enumerate(pairs) if pair[0] == code_point), 0)
        out.write(("\n    " if at % 16 == 0 else " ") + f"{first},")
    out.write("\n};\n\nconst kern_pair KERN_PAIRS[] = {")
    for at, (first, second) in enumerate(pairs):
        out.write(("\n    " if at % 4 == 0 else " ") +
                  f"{{0x{first:04X}, 0x{second:04X}, {kerning[(first, second)]}}},")
    out.write(f"\n}};\nconst std::size_t KERN_PAIR_COUNT = {len(pairs)};\n")


main()
