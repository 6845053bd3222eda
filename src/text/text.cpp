#include "text/text.h"

#include <cstring>

std::size_t length_before(const char *text, char byte, std::size_t length)
{
    const void *found = std::memchr(text, byte, length);
    return found == nullptr ? length
                            : static_cast<std::size_t>(static_cast<const char *>(found) - text);
}

text_view cut_line_end(text_view line)
{
    // A line as read holds one line feed at most, as its last byte.
    std::size_t cut = line.length;
    if (cut > 0 && line.bytes[cut - 1] == '\n')
        --cut;
    return {line.bytes, length_before(line.bytes, '\r', cut)};
}

text_view break_at_separator(text_view line, char *tag_text)
{
    static const char LINE_BREAK[] = "<br>";
    std::size_t separator = length_before(line.bytes, '=', line.length);
    if (separator == line.length)
        return line;
    std::memcpy(tag_text, line.bytes, separator);
    std::memcpy(tag_text + separator, LINE_BREAK, sizeof LINE_BREAK - 1);
    std::size_t rest = line.length - separator - 1;
    std::memcpy(tag_text + separator + sizeof LINE_BREAK - 1, line.bytes + separator + 1, rest);
    std::size_t used = line.length + sizeof LINE_BREAK - 2;
    tag_text[used] = '\0';
    return {tag_text, used};
}

text_view make_tag_text(text_view line, char *tag_text)
{
    return break_at_separator(cut_line_end(line), tag_text);
}

text_view keep_text(text_view text, char *buffer)
{
    if (text.bytes != buffer)
        std::memcpy(buffer, text.bytes, text.length);
    buffer[text.length] = '\0';
    return {buffer, text.length};
}

int find_text(const char *text, const char *needle, int start)
{
    if (start < 0 || static_cast<std::size_t>(start) > std::strlen(text))
        return -1;
    const char *found = std::strstr(text + start, needle);
    return found == nullptr ? -1 : static_cast<int>(found - text);
}

void copy_span(const char *text, std::size_t start, std::size_t count, char *span)
{
    std::size_t length = std::strlen(text);
    if (start > length)
        start = length;
    length -= start;
    if (length > count)
        length = count;
    std::memcpy(span, text + start, length);
    span[length] = '\0';
}

void upcase_ascii(char *text)
{
    for (; *text != '\0'; ++text)
        if (*text >= 'a' && *text <= 'z')
            *text = static_cast<char>(*text - 'a' + 'A');
}
