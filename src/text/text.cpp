#include "text/text.h"

#include <cstring>

std::size_t length_before(const char *text, char byte, std::size_t length)
{
    const void *found = std::memchr(text, byte, length);
    return found == nullptr ? length
                            : static_cast<std::size_t>(static_cast<const char *>(found) - text);
}

std::size_t cut_line_end(char *line, std::size_t length)
{
    // A line as read holds one line feed at most, as its last byte.
    std::size_t cut = length > 0 && line[length - 1] == '\n' ? length - 1 : length;
    cut = length_before(line, '\r', cut);
    line[cut] = '\0';
    return cut;
}

std::size_t break_at_separator(const char *line, std::size_t length, char *tag_text)
{
    static const char LINE_BREAK[] = "<br>";
    std::size_t separator = length_before(line, '=', length);
    std::memcpy(tag_text, line, separator);
    if (separator == length) {
        tag_text[length] = '\0';
        return length;
    }
    std::memcpy(tag_text + separator, LINE_BREAK, sizeof LINE_BREAK - 1);
    std::size_t rest = length - separator - 1;
    std::memcpy(tag_text + separator + sizeof LINE_BREAK - 1, line + separator + 1, rest);
    std::size_t used = length + sizeof LINE_BREAK - 2;
    tag_text[used] = '\0';
    return used;
}

std::size_t make_tag_text(char *line, std::size_t length, char *tag_text)
{
    return break_at_separator(line, cut_line_end(line, length), tag_text);
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
