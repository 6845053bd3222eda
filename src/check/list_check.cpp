#include "check/list_check.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "settings/settings_line.h"
#include "text/text.h"

// How much a tag holds in Times New Roman, which browsers on Windows set the sheet in: the
// letters any line of a name fits in, spaces included, and the lines before the tag outgrows
// its share of the page.
struct tag_room {
    std::size_t letters;
    long long lines;
};

static tag_room room_of(tag_layout layout)
{
    return layout == two_column ? tag_room{18, 3} : tag_room{16, 2};
}

long long pages_for(tag_layout layout, long long tags)
{
    // The first page holds as many tags as the layout's number; every later page one tag, or
    // in two columns one pair.
    long long first_page = break_threshold(layout);
    if (tags <= 0)
        return 0;
    if (tags <= first_page)
        return 1;
    long long per_page = layout == two_column ? 2 : 1;
    return 1 + (tags - first_page + per_page - 1) / per_page;
}

static void note(mistake_lines *mistake, long long line)
{
    std::size_t kept = mistake->count < static_cast<long long>(MISTAKE_LINES_KEPT)
                           ? static_cast<std::size_t>(mistake->count)
                           : MISTAKE_LINES_KEPT;
    // A line longer than one read is read in parts, and counts once.
    if (kept > 0 && mistake->first[kept - 1] == line)
        return;
    if (kept < MISTAKE_LINES_KEPT)
        mistake->first[kept] = line;
    ++mistake->count;
}

enum text_kind { ascii_text, utf8_text, other_text };

// ASCII only, UTF-8 with letters beyond it, or neither. Overlong forms, surrogates and code
// points past U+10FFFF are not UTF-8.
static text_kind kind_of(text_view text)
{
    const auto *byte = reinterpret_cast<const unsigned char *>(text.bytes);
    const unsigned char *end = byte + text.length;
    text_kind kind = ascii_text;
    while (byte < end) {
        unsigned lead = *byte++;
        if (lead < 0x80)
            continue;
        std::size_t follow = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
        unsigned low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        unsigned high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        if (lead < 0xC2 || lead > 0xF4 || static_cast<std::size_t>(end - byte) < follow ||
            byte[0] < low || byte[0] > high)
            return other_text;
        for (std::size_t at = 1; at < follow; ++at)
            if ((byte[at] & 0xC0) != 0x80)
                return other_text;
        byte += follow;
        kind = utf8_text;
    }
    return kind;
}

// Letters as the declared charset reads the bytes: in UTF-8 a letter is a lead byte with the
// bytes that follow it, in windows-1250 every byte is one.
static std::size_t letters_in(const char *bytes, std::size_t length, bool utf8)
{
    std::size_t letters = 0;
    for (std::size_t at = 0; at < length; ++at)
        if (!utf8 || (static_cast<unsigned char>(bytes[at]) & 0xC0) != 0x80)
            ++letters;
    return letters;
}

// The lines a text takes, wrapped at its spaces as a browser wraps it. A word longer than a
// line cannot wrap: it keeps a line of its own and widens the tag instead.
static long long wrapped_lines(const char *bytes, std::size_t length, std::size_t letters,
                               bool utf8)
{
    long long lines = 1;
    std::size_t used = 0;
    for (std::size_t at = 0; at < length;) {
        std::size_t word = length_before(bytes + at, ' ', length - at);
        std::size_t width = letters_in(bytes + at, word, utf8);
        at += word + 1;
        if (width == 0)
            continue;
        if (used > 0 && used + 1 + width > letters) {
            ++lines;
            used = 0;
        }
        used += (used > 0 ? 1 : 0) + width;
    }
    return lines;
}

// Only the first "=" breaks a line; any later one is printed.
static long long lines_of_tag(text_view name, tag_room room, bool utf8)
{
    std::size_t separator = length_before(name.bytes, '=', name.length);
    long long lines = wrapped_lines(name.bytes, separator, room.letters, utf8);
    if (separator < name.length)
        lines += wrapped_lines(name.bytes + separator + 1, name.length - separator - 1,
                               room.letters, utf8);
    return lines;
}

static bool holds_control_bytes(text_view line)
{
    for (std::size_t at = 0; at < line.length; ++at) {
        auto byte = static_cast<unsigned char>(line.bytes[at]);
        if ((byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n') || byte == 0x7F)
            return true;
    }
    return false;
}

// A carriage return that is not part of the line end cuts the tag: whatever follows it, but
// for more carriage returns, is lost.
static bool loses_text_after_return(text_view line)
{
    std::size_t length = line.length;
    if (length > 0 && line.bytes[length - 1] == '\n')
        --length;
    for (std::size_t at = length_before(line.bytes, '\r', length); at < length; ++at)
        if (line.bytes[at] != '\r')
            return true;
    return false;
}

// Spaces, tabs and a line break print nothing.
static bool is_blank(text_view name)
{
    for (std::size_t at = 0; at < name.length; ++at)
        if (name.bytes[at] != ' ' && name.bytes[at] != '\t' && name.bytes[at] != '=')
            return false;
    return true;
}

static bool is_utf16(text_view first_read)
{
    return first_read.length >= 2 &&
           ((first_read.bytes[0] == '\xFF' && first_read.bytes[1] == '\xFE') ||
            (first_read.bytes[0] == '\xFE' && first_read.bytes[1] == '\xFF'));
}

// A settings line is a layout digit, or nothing, before its "=", or names a charset after it;
// "Jana=Nováková" is neither, and is a name that will never be printed.
static bool looks_like_a_name(text_view settings_line)
{
    static const char BYTE_ORDER_MARK[] = "\xEF\xBB\xBF";
    char line[LINE_SIZE];
    keep_text(cut_line_end(settings_line), line);
    const char *text = line;
    if (std::strncmp(text, BYTE_ORDER_MARK, sizeof BYTE_ORDER_MARK - 1) == 0)
        text += sizeof BYTE_ORDER_MARK - 1;
    std::size_t separator = length_before(text, '=', std::strlen(text));
    bool selector_only =
        separator == 0 || (separator == 1 && std::strchr("246", text[0]) != nullptr);
    return !selector_only && named_charset(text + separator + 1) == nullptr;
}

static bool declares_utf8(const sheet_settings *settings)
{
    return std::strcmp(settings->charset, UTF8_CHARSET) == 0;
}

// What one read, one tag, brings: line is the number of the list line it was read from.
static void check_tag(list_check *check, text_view read, long long line, bool continues_line,
                      const sheet_settings *settings, mistake_lines by_kind[])
{
    if (continues_line)
        note(&check->mistakes[line_over_read], line);
    if (holds_control_bytes(read))
        note(&check->mistakes[not_text], line);
    if (loses_text_after_return(read))
        note(&check->mistakes[text_after_return], line);
    text_view name = cut_line_end(read);
    // The rest of a line of exactly one read is its bare line end: a mistake of length.
    if (!continues_line && is_blank(name))
        note(&check->mistakes[empty_tag], line);
    tag_room room = room_of(settings->layout);
    if (lines_of_tag(name, room, declares_utf8(settings)) > room.lines)
        note(&check->mistakes[name_over_lines], line);
    text_kind kind = kind_of(name);
    if (kind != ascii_text)
        note(&by_kind[kind], line);
}

// A read of a whole read's length without its line feed leaves the line to the next read.
static bool ends_its_line(text_view read)
{
    return read.length < LINE_MAX_BYTES || read.bytes[read.length - 1] == '\n';
}

// Which charset the bytes are in is a verdict on the whole list, not on a line.
static void judge_charset(list_check *check, const sheet_settings *settings,
                          const mistake_lines by_kind[])
{
    if (declares_utf8(settings))
        check->mistakes[declared_utf8_not_saved] = by_kind[other_text];
    else if (by_kind[other_text].count == 0)
        check->mistakes[utf8_not_declared] = by_kind[utf8_text];
}

// A list that is no list of names at all gets that said alone: whatever else it breaks
// follows from it.
static void keep_alone(list_check *check, list_mistake mistake)
{
    mistake_lines kept = check->mistakes[mistake];
    std::fill(std::begin(check->mistakes), std::end(check->mistakes), mistake_lines{});
    check->mistakes[mistake] = kept;
}

void check_list(list_reader *list, const sheet_settings *settings, list_check *check)
{
    *check = list_check{};
    mistake_lines by_kind[3] = {};
    long long line = 1;
    bool continues_line = false;
    bool settings_line = settings->has_settings_line;
    text_view read;
    for (bool first_read = true; read_line(list, &read); first_read = false) {
        if (first_read && is_utf16(read))
            note(&check->mistakes[saved_as_utf16], line);
        if (settings_line) {
            // Read again, as the writing pass drops it: never a tag.
            settings_line = false;
            if (looks_like_a_name(read))
                note(&check->mistakes[name_as_settings_line], line);
        } else {
            ++check->tags;
            check->last_line = line;
            check_tag(check, read, line, continues_line, settings, by_kind);
        }
        continues_line = !ends_its_line(read);
        line += continues_line ? 0 : 1;
    }
    judge_charset(check, settings, by_kind);
    if (check->tags == 0)
        check->mistakes[no_names].count = 1;
    if (check->mistakes[saved_as_utf16].count > 0)
        keep_alone(check, saved_as_utf16);
    else if (check->mistakes[not_text].count > 0)
        keep_alone(check, not_text);
    check->pages = pages_for(settings->layout, check->tags);
    check->letters_a_line = room_of(settings->layout).letters;
    check->lines_a_tag = room_of(settings->layout).lines;
}
