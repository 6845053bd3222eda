#include "text/text.h"

#include <cstring>

void cut_line_end(char *line)
{
    line[std::strcspn(line, "\r\n")] = '\0';
}

// Appends what fits of bytes to a tag text already holding used bytes; returns the new length.
static std::size_t append_to_tag_text(char *tag_text, std::size_t used, const char *bytes,
                                      std::size_t count)
{
    std::size_t room = TAG_TEXT_MAX_BYTES - used;
    if (count > room)
        count = room;
    std::memcpy(tag_text + used, bytes, count);
    return used + count;
}

void break_at_separator(const char *line, char *tag_text)
{
    static const char LINE_BREAK[] = "<br>";
    const char *separator = std::strchr(line, '=');
    std::size_t used = 0;
    if (separator == nullptr) {
        used = append_to_tag_text(tag_text, used, line, std::strlen(line));
    } else {
        used = append_to_tag_text(tag_text, used, line, static_cast<std::size_t>(separator - line));
        used = append_to_tag_text(tag_text, used, LINE_BREAK, sizeof LINE_BREAK - 1);
        used = append_to_tag_text(tag_text, used, separator + 1, std::strlen(separator + 1));
    }
    tag_text[used] = '\0';
}

void make_tag_text(char *line, char *tag_text)
{
    cut_line_end(line);
    break_at_separator(line, tag_text);
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
