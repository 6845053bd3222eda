#include "settings/settings_writer.h"

#include <cstring>

#include "settings/first_line.h"
#include "settings/settings_line.h"

static void append(written_settings_line *written, const char *text, std::size_t length)
{
    std::size_t room = WRITTEN_LINE_SIZE - 1 - written->length;
    if (length > room)
        length = room;
    std::memcpy(written->line + written->length, text, length);
    written->length += length;
    written->line[written->length] = '\0';
}

static void append(written_settings_line *written, const char *text)
{
    append(written, text, std::strlen(text));
}

static char digit_of(tag_layout layout)
{
    return layout == two_panel ? '2' : layout == two_column ? '6' : '4';
}

// The charset the line means, where the new line is not to say otherwise: the list's own words
// for it where its settings line reads as meant, the charset written as meant where blanks
// misled the tool ("6 = UTF-8"), else the charset the tool reads, in the words the page writes
// ("" for the default, which a settings line declares by naming nothing).
static void append_kept_charset(written_settings_line *written, text_view first_line,
                                const first_line_meaning &meaning)
{
    text_view line = cut_line_end(first_line);
    if (meaning.kind == settings_with_blanks) {
        append(written, meaning.meant + 2);
        return;
    }
    if (meaning.kind == settings_as_meant) {
        // The line must end within one read, or its line end would print as an empty tag; the
        // tool reads no more of a value than its start.
        std::size_t separator = length_before(line.bytes, '=', line.length);
        std::size_t room = LINE_MAX_BYTES - 1 - written->length;
        std::size_t length = line.length - separator - 1;
        append(written, line.bytes + separator + 1, length < room ? length : room);
        return;
    }
    sheet_settings read = default_settings();
    apply_settings_line(first_line, &read);
    if (!read.has_settings_line || std::strcmp(read.charset, WINDOWS_1250_CHARSET) == 0)
        return;
    append(written,
           std::strcmp(read.charset, UTF8_CHARSET) == 0 ? UTF8_CHARSET : WINDOWS_1250_CHARSET);
}

tag_layout layout_meant(text_view first_line, tag_layout in_use)
{
    first_line_meaning meaning = meaning_of_first_line(first_line);
    if (meaning.kind == settings_with_blanks)
        return layout_for_selector(meaning.meant[0]);
    if (meaning.kind != settings_as_meant)
        return in_use;
    sheet_settings read = default_settings();
    apply_settings_line(first_line, &read);
    return read.layout;
}

void write_settings_line(text_view first_line, tag_layout layout, charset_choice charset,
                         const char *line_end, written_settings_line *written)
{
    written->length = 0;
    written->line[0] = '\0';
    first_line_meaning meaning = meaning_of_first_line(first_line);
    first_line_kind kind = meaning.kind;
    bool has_mark = first_line.length >= BYTE_ORDER_MARK_LENGTH &&
                    std::memcmp(first_line.bytes, BYTE_ORDER_MARK, BYTE_ORDER_MARK_LENGTH) == 0;
    if (kind == settings_as_meant || kind == settings_with_blanks)
        written->replaced = replaces_first_line;
    else
        written->replaced = has_mark ? replaces_byte_order_mark : replaces_nothing;

    if (has_mark)
        append(written, BYTE_ORDER_MARK);
    const char selector[] = {digit_of(layout), '='};
    append(written, selector, sizeof selector);
    if (charset == choose_utf8)
        append(written, UTF8_CHARSET);
    else if (charset == choose_windows_1250)
        append(written, WINDOWS_1250_CHARSET);
    else
        append_kept_charset(written, first_line, meaning);
    append(written, line_end);
}
