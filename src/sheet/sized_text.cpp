#include "sheet/sized_text.h"

#include <cstring>

static const char BLOCK_OPEN[] = "<div style='font-size:";
static const char BLOCK_OPENED[] = "px'>";
static const char BLOCK_CLOSE[] = "</div>";
static const char LINE_BREAK[] = "<br>";
static const int SIZE_MOST_PX = 999;
static const std::size_t SIZE_DIGITS_MOST = 3;
static_assert(2 * (sizeof BLOCK_OPEN - 1 + SIZE_DIGITS_MOST + sizeof BLOCK_OPENED - 1 +
                   sizeof BLOCK_CLOSE - 1) <=
                  SIZED_MARKUP_MAX_BYTES,
              "two blocks fit the markup's room");

static char *put(char *out, const char *bytes, std::size_t length)
{
    std::memcpy(out, bytes, length);
    return out + length;
}

static char *put(char *out, const char *text)
{
    return put(out, text, std::strlen(text));
}

static char *open_block(char *out, int size_px)
{
    if (size_px < 1)
        size_px = 1;
    if (size_px > SIZE_MOST_PX)
        size_px = SIZE_MOST_PX;
    out = put(out, BLOCK_OPEN);
    char digits[SIZE_DIGITS_MOST];
    std::size_t count = 0;
    for (; size_px > 0; size_px /= 10)
        digits[count++] = static_cast<char>('0' + size_px % 10);
    while (count > 0)
        *out++ = digits[--count];
    return put(out, BLOCK_OPENED);
}

text_view make_sized_tag_text(text_view line, const text_sizer *sizer, char *tag_text)
{
    if (sizer == nullptr)
        return make_tag_text(line, tag_text);
    text_view name = cut_line_end(line);
    text_sizes sizes = sizer->size_of(name, sizer->context);
    std::size_t separator = length_before(name.bytes, '=', name.length);
    char *out = put(open_block(tag_text, sizes.text_px), name.bytes, separator);
    if (separator < name.length) {
        text_view second = {name.bytes + separator + 1, name.length - separator - 1};
        bool apart = sizes.second_px != sizes.text_px;
        out = apart ? open_block(out, sizes.second_px) : put(out, LINE_BREAK);
        out = put(out, second.bytes, second.length);
        if (apart)
            out = put(out, BLOCK_CLOSE);
    }
    out = put(out, BLOCK_CLOSE);
    *out = '\0';
    return {tag_text, static_cast<std::size_t>(out - tag_text)};
}
