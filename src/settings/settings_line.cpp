#include "settings/settings_line.h"

#include <algorithm>
#include <iterator>

#include "text/text.h"
#include "text/text_stream.h"

// A charset name is recognised by the start of at most this many bytes after the "=".
static const std::size_t VALUE_MAX_BYTES = 17;

sheet_settings default_settings()
{
    sheet_settings settings = {four_panel, {}, false};
    copy_span(WINDOWS_1250_CHARSET, 0, CHARSET_SIZE - 1, settings.charset);
    return settings;
}

tag_layout layout_for_selector(char selector)
{
    switch (selector) {
    case '2':
        return two_panel;
    case '6':
        return two_column;
    default:
        return four_panel;
    }
}

const char *named_charset(const char *value)
{
    char start[VALUE_MAX_BYTES + 1];
    copy_span(value, 0, VALUE_MAX_BYTES, start);
    upcase_ascii(start);
    static const char *const KNOWN_CHARSETS[] = {UTF8_CHARSET, "WINDOWS-1250"};
    const char *const *known =
        std::find_if(std::begin(KNOWN_CHARSETS), std::end(KNOWN_CHARSETS),
                     [&start](const char *charset) { return find_text(start, charset, 0) == 0; });
    return known == std::end(KNOWN_CHARSETS) ? nullptr : *known;
}

void apply_settings_line(text_view first_line, sheet_settings *settings)
{
    char line[LINE_SIZE];
    keep_text(cut_line_end(first_line), line);
    int separator = find_text(line, "=", 0);
    if (separator < 0)
        return;

    // The charset is declared in the table's own spelling, never as the list wrote it.
    const char *charset = named_charset(line + separator + 1);
    if (charset != nullptr)
        copy_span(charset, 0, CHARSET_SIZE - 1, settings->charset);

    settings->layout = layout_for_selector(separator > 0 ? line[separator - 1] : '\0');
    settings->has_settings_line = true;
}

void read_settings_from(list_reader *list, sheet_settings *settings)
{
    text_view line;
    if (read_line(list, &line))
        apply_settings_line(line, settings);
}

void read_settings(sheet_settings *settings, const char *list_path)
{
    // The stream buffer is large, so it lives outside the stack.
    static list_reader list;
    if (!open_list(&list, list_path))
        return;
    read_settings_from(&list, settings);
    close_list(&list);
}
