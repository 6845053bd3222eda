#include "settings/first_line.h"

#include <cstring>

#include "settings/settings_line.h"

const char *after_byte_order_mark(const char *text)
{
    return std::strncmp(text, BYTE_ORDER_MARK, BYTE_ORDER_MARK_LENGTH) == 0
               ? text + BYTE_ORDER_MARK_LENGTH
               : text;
}

static bool is_blank_byte(char byte)
{
    return byte == ' ' || byte == '\t';
}

static const char *skip_blanks(const char *text)
{
    while (is_blank_byte(*text))
        ++text;
    return text;
}

static bool is_layout_digit(char byte)
{
    return byte == '2' || byte == '4' || byte == '6';
}

const char *charset_spelled(const char *value)
{
    static const char *const SPELLINGS[][2] = {
        {"UTF8", UTF8_CHARSET},
        {"WINDOWS1250", WINDOWS_1250_CHARSET},
        {"WIN1250", WINDOWS_1250_CHARSET},
        {"CP1250", WINDOWS_1250_CHARSET},
        {"1250", WINDOWS_1250_CHARSET},
        {"ANSI", WINDOWS_1250_CHARSET},
    };
    char bare[LINE_SIZE];
    std::size_t length = 0;
    for (; *value != '\0' && length < LINE_MAX_BYTES; ++value)
        if ((*value >= '0' && *value <= '9') || (*value >= 'a' && *value <= 'z') ||
            (*value >= 'A' && *value <= 'Z'))
            bare[length++] = *value;
    bare[length] = '\0';
    upcase_ascii(bare);
    for (const auto &spelling : SPELLINGS)
        if (std::strcmp(bare, spelling[0]) == 0)
            return spelling[1];
    return nullptr;
}

static bool declares_utf8(const char *charset)
{
    return std::strcmp(charset, UTF8_CHARSET) == 0;
}

// A settings line with blanks around its layout digit, its "=" or its charset, such as
// "6 = UTF-8": the layout and charset it means, where blanks alone stand in their way, written
// into meant ("6=UTF-8"); false for any other line, and for one that reads as meant anyway.
static bool meant_past_blanks(text_view first_line, const char *text, std::size_t separator,
                              char *meant)
{
    if (std::strpbrk(text, " \t") == nullptr)
        return false;
    const char *before = skip_blanks(text);
    char digit = is_layout_digit(*before) ? *before : '4';
    if (is_layout_digit(*before))
        before = skip_blanks(before + 1);
    if (before != text + separator)
        return false;
    const char *value = skip_blanks(text + separator + 1);
    const char *charset = *value == '\0' ? "" : charset_spelled(value);
    if (charset == nullptr)
        return false;

    sheet_settings read = default_settings();
    apply_settings_line(first_line, &read);
    if (read.layout == layout_for_selector(digit) &&
        declares_utf8(read.charset) == declares_utf8(charset))
        return false;
    meant[0] = digit;
    meant[1] = '=';
    copy_span(charset, 0, MEANT_LINE_SIZE - 3, meant + 2);
    return true;
}

first_line_meaning meaning_of_first_line(text_view first_line)
{
    first_line_meaning meaning = {first_tag, false, {}};
    char line[LINE_SIZE];
    keep_text(cut_line_end(first_line), line);
    const char *text = after_byte_order_mark(line);
    const char *separator = std::strchr(text, '=');
    if (separator == nullptr)
        return meaning;
    auto before = static_cast<std::size_t>(separator - text);
    const char *value = separator + 1;
    bool selector_only = before == 0 || (before == 1 && is_layout_digit(text[0]));
    if (meant_past_blanks(first_line, text, before, meaning.meant))
        meaning.kind = settings_with_blanks;
    else if (named_charset(value) == nullptr && !selector_only)
        meaning.kind = name_taken_for_settings;
    else {
        meaning.kind = settings_as_meant;
        meaning.names_no_known_charset =
            named_charset(value) == nullptr && *skip_blanks(value) != '\0';
    }
    return meaning;
}
