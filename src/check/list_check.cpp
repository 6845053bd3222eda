#include "check/list_check.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "settings/settings_line.h"
#include "settings/settings_writer.h"
#include "text/text.h"

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

// ------------------------------------------------------------------------------------------
// The file's own bytes

static const unsigned char END_OF_LIST_BYTE = 0x1A;

static bool is_control_byte(unsigned char byte)
{
    return (byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n') || byte == 0x7F;
}

static bool holds_control_bytes(text_view line)
{
    for (std::size_t at = 0; at < line.length; ++at)
        if (is_control_byte(static_cast<unsigned char>(line.bytes[at])))
            return true;
    return false;
}

// What kind of file it is, and the control bytes in its first read, wherever they stand: past
// a NUL, which ends a line as the sheet reads it, or a 0x1A, which ends the list. Only a 0x1A
// is left to list_ends_early. True when it found that the file is not text.
static bool look_at_the_file(list_reader *list, list_check *check)
{
    text_view start = peek_list_start(list);
    check->kind = kind_of_file(start);
    long long line = 1;
    for (std::size_t at = 0; at < start.length; ++at) {
        auto byte = static_cast<unsigned char>(start.bytes[at]);
        if (byte == '\n')
            ++line;
        else if (byte != END_OF_LIST_BYTE && is_control_byte(byte))
            note(&check->mistakes[not_text], line);
    }
    if (check->kind != plain_text && check->mistakes[not_text].count == 0)
        note(&check->mistakes[not_text], 1);
    return check->mistakes[not_text].count > 0;
}

static bool is_utf16(text_view first_read)
{
    return first_read.length >= 2 &&
           ((first_read.bytes[0] == '\xFF' && first_read.bytes[1] == '\xFE') ||
            (first_read.bytes[0] == '\xFE' && first_read.bytes[1] == '\xFF'));
}

// ------------------------------------------------------------------------------------------
// The charset, judged a whole line at a time: a read may end inside a letter

// UTF-8 checked byte by byte, so that a letter may go on into the next read of its line.
// Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
struct utf8_scan {
    unsigned follow;    // bytes the letter under way still needs
    unsigned low, high; // what its next byte may be
    bool beyond_ascii;
    bool broken;
};

static void scan_utf8(utf8_scan *scan, text_view text)
{
    for (std::size_t at = 0; at < text.length && !scan->broken; ++at) {
        auto byte = static_cast<unsigned char>(text.bytes[at]);
        if (scan->follow > 0) {
            scan->broken = byte < scan->low || byte > scan->high;
            scan->low = 0x80;
            scan->high = 0xBF;
            --scan->follow;
        } else if (byte >= 0x80) {
            scan->beyond_ascii = true;
            scan->broken = byte < 0xC2 || byte > 0xF4;
            scan->follow = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : 1;
            scan->low = byte == 0xE0 ? 0xA0 : byte == 0xF0 ? 0x90 : 0x80;
            scan->high = byte == 0xED ? 0x9F : byte == 0xF4 ? 0x8F : 0xBF;
        }
    }
}

static list_text text_of_line(const utf8_scan *scan)
{
    if (scan->broken || scan->follow > 0)
        return not_utf8;
    return scan->beyond_ascii ? utf8_letters : ascii_only;
}

static bool declares_utf8(const sheet_settings *settings)
{
    return std::strcmp(settings->charset, UTF8_CHARSET) == 0;
}

// ------------------------------------------------------------------------------------------
// The settings line

// A settings line is a layout digit, or nothing, before its "=", or names a charset after it;
// "Jana=Nováková" is neither, and is a name that will never be printed. One that is a settings
// line may still name a charset the tool does not know, or read otherwise than meant for the
// blanks in it ("6 = UTF-8").
static const char *judge_settings_line(text_view read, list_check *check)
{
    check->layout_meant = layout_meant(read, tag_layout{});
    first_line_meaning meaning = meaning_of_first_line(read);
    if (meaning.kind == settings_with_blanks) {
        note(&check->mistakes[spaced_settings_line], 1);
        copy_span(meaning.meant, 0, MEANT_LINE_SIZE - 1, check->settings_meant);
        return nullptr;
    }
    if (meaning.kind == name_taken_for_settings)
        note(&check->mistakes[name_as_settings_line], 1);
    else if (meaning.names_no_known_charset)
        note(&check->mistakes[unknown_charset], 1);
    char line[LINE_SIZE];
    keep_text(cut_line_end(read), line);
    return charset_spelled(std::strchr(line, '=') + 1);
}

// What to name instead of a charset the tool does not know: the list's bytes decide where they
// can, the spelling where they cannot; no word helps a list that is neither UTF-8 nor meant
// as windows-1250.
static const char *charset_meant(list_text text, const char *spelled)
{
    if (text == utf8_letters)
        return UTF8_CHARSET;
    if (text == not_utf8)
        return spelled != nullptr && std::strcmp(spelled, WINDOWS_1250_CHARSET) == 0 ? spelled
                                                                                     : nullptr;
    return spelled != nullptr ? spelled : UTF8_CHARSET;
}

// ------------------------------------------------------------------------------------------
// Each tag

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

// A part that is a title after a name, not a name: "CSc.", "Ph.D.", "MBA", "LL.M.", "DiS." is
// a word of a few letters, with a full stop or in capitals alone.
static bool is_title_after_name(const char *part, std::size_t length)
{
    static const std::size_t TITLE_MOST_BYTES = 6;
    if (length == 0 || length > TITLE_MOST_BYTES || length_before(part, ' ', length) < length)
        return false;
    bool capitals_only = true;
    for (std::size_t at = 0; at < length; ++at)
        capitals_only = capitals_only && ((part[at] >= 'A' && part[at] <= 'Z') || part[at] == '.');
    return capitals_only || part[length - 1] == '.';
}

// Names in one line, as a newcomer writes them: "Jana Nováková, Petr Dvořák", or three and more
// such as "Anna, Bob, Cyril"; each part capitalised, titles after a name ("Jan Novák, CSc.,
// MBA") no part of their own. Only the tag's first line counts: a company after the "=" may
// hold a comma of its own.
static bool holds_several_names(text_view name)
{
    std::size_t end = length_before(name.bytes, '=', name.length);
    int parts = 0;
    int names_of_words = 0;
    for (std::size_t at = 0; at <= end;) {
        while (at < end && name.bytes[at] == ' ')
            ++at;
        std::size_t stop = at;
        while (stop < end && name.bytes[stop] != ',')
            ++stop;
        std::size_t last = stop;
        while (last > at && name.bytes[last - 1] == ' ')
            --last;
        auto lead = static_cast<unsigned char>(at < last ? name.bytes[at] : 'a');
        if (!((lead >= 'A' && lead <= 'Z') || lead >= 0x80))
            return false;
        if (!is_title_after_name(name.bytes + at, last - at)) {
            ++parts;
            if (length_before(name.bytes + at, ' ', last - at) < last - at)
                ++names_of_words;
        }
        at = stop + 1;
    }
    return parts >= 3 || (parts == 2 && names_of_words == 2);
}

static void check_markup(list_check *check, text_view name, long long line)
{
    // Most names hold neither "<" nor "&", and need no closer look.
    if (length_before(name.bytes, '<', name.length) == name.length &&
        length_before(name.bytes, '&', name.length) == name.length)
        return;
    char tag_text[TAG_TEXT_SIZE];
    std::size_t separator = length_before(name.bytes, '=', name.length);
    markup_effect effect = markup_in(break_at_separator(name, tag_text), separator);
    if (effect == no_markup)
        return;
    note(&check->mistakes[markup_in_name], line);
    if (effect > check->worst_markup) {
        check->worst_markup = effect;
        check->worst_markup_line = line;
        check->worst_markup_tag = check->tags;
    }
}

// How the name lays out, as the print sets it, and the mistake where it outgrows its tag: the
// lines its text takes, in lines of the layout's own size.
struct fit_rules {
    tag_layout layout;
    bool utf8;
    print_setting print;
};

static double check_sized(list_check *check, text_view name, long long line, const fit_rules *rules)
{
    tag_size size = size_to_fit(name, rules->layout, rules->print.second_smaller, rules->utf8);
    if (size.fits) {
        if (size.text_px < layout_text_px(rules->layout))
            ++check->tags_set_smaller;
        return size.lines;
    }
    if (check->mistakes[name_over_lines].count == 0) {
        check->first_over = {std::llround(size.lines), false};
        check->first_over_break =
            break_that_fits_sized(name, rules->layout, rules->print.second_smaller, rules->utf8);
    }
    note(&check->mistakes[name_over_lines], line);
    return size.lines;
}

static double check_fit(list_check *check, text_view name, long long line, text_view partner,
                        const fit_rules *rules)
{
    if (rules->print.fit)
        return check_sized(check, name, line, rules);
    tag_fit fit = fit_in_tag(name, partner, rules->layout, rules->utf8);
    if (!outgrows_its_tag(fit, rules->layout))
        return static_cast<double>(fit.lines);
    if (check->mistakes[name_over_lines].count == 0) {
        check->first_over = fit;
        check->first_over_break = break_that_fits(name, partner, rules->layout, rules->utf8);
    }
    note(&check->mistakes[name_over_lines], line);
    return static_cast<double>(fit.lines);
}

// In two columns the first tag of a pair waits for its partner, which shares its table.
struct waiting_tag {
    char name[LINE_SIZE];
    text_view kept;
    long long line; // 0: none waits
};

// Each tag, or each pair in two columns, also goes down the print's pages.
static void check_fits(list_check *check, text_view name, long long line, waiting_tag *first,
                       const fit_rules *rules, print_flow *print)
{
    if (rules->layout != two_column) {
        flow_tag(print, check_fit(check, name, line, {name.bytes, 0}, rules));
    } else if (first->line == 0) {
        first->kept = keep_text(name, first->name);
        first->line = line;
    } else {
        double left = check_fit(check, first->kept, first->line, name, rules);
        flow_pair(print, std::max(left, check_fit(check, name, line, first->kept, rules)));
        first->line = 0;
    }
}

// Where the reading is: the line a read comes from, and what is known of that line so far.
struct reading {
    long long line;
    bool continues_line; // the read goes on with the line the last read began
    bool ended_line;     // the last read ended with its line feed
    bool noted_control;  // the look at the file's bytes found control bytes, on their lines
    waiting_tag first_of_pair;
    fit_rules rules;
    print_flow print;
    utf8_scan letters;
    mistake_lines by_text[3]; // the lines of each list_text
};

// A read of a whole read's length without its line feed leaves the line to the next read.
static bool ends_its_line(text_view read)
{
    return read.length < LINE_MAX_BYTES || read.bytes[read.length - 1] == '\n';
}

// What one read, one tag, brings.
static void check_tag(list_check *check, list_reader *list, text_view read, reading *at)
{
    long long line = at->line;
    if (at->continues_line)
        note(&check->mistakes[line_over_read], line);
    if (!at->noted_control && (holds_control_bytes(read) || line_cut_at_nul(list, read)))
        note(&check->mistakes[not_text], line);
    if (loses_text_after_return(read))
        note(&check->mistakes[text_after_return], line);
    text_view name = cut_line_end(read);
    // The rest of a line of exactly one read is its bare line end: a mistake of length.
    if (!at->continues_line && is_blank(name))
        note(&check->mistakes[empty_tag], line);
    if (holds_several_names(name))
        note(&check->mistakes[names_in_one_line], line);
    check_markup(check, name, line);
    check_fits(check, name, line, &at->first_of_pair, &at->rules, &at->print);
    scan_utf8(&at->letters, name);
    if (!ends_its_line(read)) {
        if (at->letters.follow > 0 && check->letter_cut_line == 0)
            check->letter_cut_line = line;
        return;
    }
    note(&at->by_text[text_of_line(&at->letters)], line);
    at->letters = utf8_scan{};
}

// A name taken for the settings line is still the list's own text: bytes in it that UTF-8
// does not allow tell the list's charset as a tag's would.
static void judge_name_taken(const list_check *check, text_view read, reading *at)
{
    if (check->mistakes[name_as_settings_line].count == 0)
        return;
    utf8_scan letters = {};
    scan_utf8(&letters, cut_line_end(read));
    if (text_of_line(&letters) == not_utf8)
        note(&at->by_text[not_utf8], at->line);
}

// Which charset the bytes are in is a verdict on the whole list, not on a line.
static void judge_charset(list_check *check, const sheet_settings *settings,
                          const mistake_lines by_text[], const char *spelled)
{
    check->text = by_text[not_utf8].count > 0       ? not_utf8
                  : by_text[utf8_letters].count > 0 ? utf8_letters
                                                    : ascii_only;
    bool meant_utf8 = check->mistakes[spaced_settings_line].count > 0 &&
                      std::strstr(check->settings_meant, UTF8_CHARSET) != nullptr;
    if (check->mistakes[unknown_charset].count > 0)
        check->charset_meant = charset_meant(check->text, spelled);
    else if (meant_utf8) {
        // Written as meant, the settings line says UTF-8 already.
    } else if (declares_utf8(settings))
        check->mistakes[declared_utf8_not_saved] = by_text[not_utf8];
    else if (check->text == utf8_letters)
        check->mistakes[utf8_not_declared] = by_text[utf8_letters];
}

// A 0x1A ends the list where it stands: on the line it cuts, or before the line it starts.
static void judge_list_end(list_check *check, list_reader *list, const reading *at)
{
    check->after_end = read_after_end_byte(list);
    if (check->after_end.lines > 0)
        note(&check->mistakes[list_ends_early], at->ended_line ? at->line : at->line - 1);
}

// A list that is no list of names at all gets that said alone: whatever else it breaks
// follows from it.
static void keep_alone(list_check *check, list_mistake mistake)
{
    mistake_lines kept = check->mistakes[mistake];
    std::fill(std::begin(check->mistakes), std::end(check->mistakes), mistake_lines{});
    check->mistakes[mistake] = kept;
}

void check_list(list_reader *list, const sheet_settings *settings, print_setting print,
                list_check *check)
{
    *check = list_check{};
    check->lines_a_tag = lines_a_tag_holds(settings->layout);
    reading at = {};
    at.line = 1;
    at.rules = {settings->layout, declares_utf8(settings), print};
    start_print_flow(&at.print, settings->layout);
    at.ended_line = true;
    at.noted_control = look_at_the_file(list, check);
    bool settings_line = settings->has_settings_line;
    const char *spelled = nullptr;
    text_view read;
    for (bool first_read = true; read_line(list, &read); first_read = false) {
        if (first_read && is_utf16(read))
            note(&check->mistakes[saved_as_utf16], at.line);
        if (settings_line) {
            // Read again, as the writing pass drops it: never a tag.
            settings_line = false;
            spelled = judge_settings_line(read, check);
            judge_name_taken(check, read, &at);
        } else {
            ++check->tags;
            check->last_line = at.line;
            check_tag(check, list, read, &at);
        }
        at.continues_line = !ends_its_line(read);
        at.ended_line = read.length > 0 && read.bytes[read.length - 1] == '\n';
        at.line += at.continues_line ? 0 : 1;
    }
    if (at.first_of_pair.line > 0) {
        text_view filler = filler_partner(declares_utf8(settings));
        flow_pair(&at.print, check_fit(check, at.first_of_pair.kept, at.first_of_pair.line, filler,
                                       &at.rules));
    }
    judge_list_end(check, list, &at);
    judge_charset(check, settings, at.by_text, spelled);
    if (check->tags == 0)
        check->mistakes[no_names].count = 1;
    if (check->mistakes[saved_as_utf16].count > 0)
        keep_alone(check, saved_as_utf16);
    else if (check->mistakes[not_text].count > 0)
        keep_alone(check, not_text);
    check->pages = pages_for(settings->layout, check->tags);
    for (int paper = 0; paper < PAPER_SIZES; ++paper)
        for (int filled = 0; filled < 2; ++filled)
            check->printed_pages[paper][filled] =
                printed_pages(&at.print, static_cast<paper_size>(paper), filled == 1);
}
