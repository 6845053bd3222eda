// The browser page's entry, beside the tool's own: the tool's passes over a list that the page
// holds, through the same reader, settings pass and writers, with the sheet handed to the page
// as it is written. The page's script answers the calls declared below (korvela_library.js).
#include <cstdio>
#include <cstring>
#include <sys/types.h>

#include "check/list_check.h"
#include "check/markup.h"
#include "check/tag_fit.h"
#include "run.h"
#include "settings/first_line.h"
#include "settings/settings_line.h"
#include "settings/settings_writer.h"
#include "sheet/frame.h"

extern "C" {
// Copies the list's bytes from position on into bytes, room of them at most; returns how many
// it copied, 0 at the end of the list.
std::size_t korvela_list_bytes(std::size_t position, char *bytes, std::size_t room);
// Takes the next count bytes of the sheet; returns how many it took, fewer when it failed.
std::size_t korvela_sheet_bytes(const char *bytes, std::size_t count);
// Hands over what the check found, as a JSON text.
void korvela_list_checked(const char *facts);
// Hands over a settings line written for the list, length bytes.
void korvela_settings_line_written(const char *line, std::size_t length);

int korvela_write_sheet(int fit, int second_smaller);
double korvela_write_sheet_part(double from, double first_tag, double most_tags, int fit,
                                int second_smaller);
void korvela_check_list(int fit, int second_smaller);
double korvela_write_settings_line(int layout, int charset, int layout_in_use);
void korvela_write_as_text();
}

// Each pass reads the list from its start, or a part of the sheet from where the part before
// it ended; only one stream over it is open at a time.
static std::size_t list_position;
static std::size_t list_end;

static ssize_t read_list_bytes(void * /*cookie*/, char *bytes, std::size_t room)
{
    if (room > list_end - list_position)
        room = list_end - list_position;
    std::size_t count = korvela_list_bytes(list_position, bytes, room);
    list_position += count;
    return static_cast<ssize_t>(count);
}

static ssize_t write_sheet_bytes(void * /*cookie*/, const char *bytes, std::size_t count)
{
    return static_cast<ssize_t>(korvela_sheet_bytes(bytes, count));
}

static const std::size_t WHOLE_LIST = static_cast<std::size_t>(-1);

static std::FILE *open_list_stream(std::size_t from = 0, std::size_t end = WHOLE_LIST)
{
    list_position = from;
    list_end = end;
    std::FILE *stream = fopencookie(nullptr, "r", {read_list_bytes, nullptr, nullptr, nullptr});
    // Unbuffered, so that every byte read from the list has reached the reader, and where the
    // reader stands in the list is known.
    if (stream != nullptr)
        (void)std::setvbuf(stream, nullptr, _IONBF, 0);
    return stream;
}

static sheet_settings read_list_settings()
{
    static list_reader list;
    sheet_settings settings = default_settings();
    start_list(&list, open_list_stream());
    read_settings_from(&list, &settings);
    close_list(&list);
    return settings;
}

static bool start_sheet(document_writer *document)
{
    std::FILE *sheet = fopencookie(nullptr, "w", {nullptr, write_sheet_bytes, nullptr, nullptr});
    if (sheet == nullptr)
        return false;
    // The writer gathers whole chunks itself; a stdio buffer would only copy them again.
    (void)std::setvbuf(sheet, nullptr, _IONBF, 0);
    start_document(document, sheet);
    return true;
}

// The page's print may fit each name to its tag: the check's sizes (tag_fit.h), written by the
// sheet's own writers.
struct print_sizing {
    tag_layout layout;
    bool second_smaller;
    bool utf8;
    text_sizer sizer;
};

static text_sizes fitted_sizes(text_view name, const void *context)
{
    const auto *sizing = static_cast<const print_sizing *>(context);
    tag_size size = size_to_fit(name, sizing->layout, sizing->second_smaller, sizing->utf8);
    return {size.text_px, size.second_px};
}

// The sizer for the print the page asks for (fit, second_smaller), or none: the tool's sheet.
static const text_sizer *sizer_for(const sheet_settings *settings, int fit, int second_smaller)
{
    static print_sizing sizing;
    if (fit == 0)
        return nullptr;
    sizing = {settings->layout,
              second_smaller != 0,
              std::strcmp(settings->charset, UTF8_CHARSET) == 0,
              {fitted_sizes, &sizing}};
    return &sizing.sizer;
}

// The run, from the list the page holds to the sheet it takes: the exit status the tool
// would end with. The sheet is the tool's own, unless the page's print fits each name to its
// tag (fit), its second line smaller (second_smaller).
int korvela_write_sheet(int fit, int second_smaller)
{
    sheet_settings settings = read_list_settings();
    static list_reader list;
    start_list(&list, open_list_stream());
    if (list.stream == nullptr)
        return run_list_missing;
    static document_writer document;
    if (!start_sheet(&document)) {
        close_list(&list);
        return run_document_failed;
    }
    write_sheet(&list, &document, &settings, sizer_for(&settings, fit, second_smaller));
    return finish_run(&list, &document);
}

// Where the list stands in the stream the reader reads it from.
static std::size_t list_offset(const list_reader *list)
{
    return list_position - bytes_read_ahead(list);
}

// A part of the sheet, for a preview that shows a long sheet a part at a time: the bytes that
// the whole sheet holds for the tags from first_tag on, most_tags of them (whole pairs in two
// columns), read from the list's byte from, where the part before ended. The first part (0, 0)
// brings the head, the part that reaches the list's end the closing line. Returns where the
// next part starts, -1 after the last part, or -2 when a write failed. Its tags as the page's
// print sets them (fit, second_smaller), as korvela_write_sheet has them.
double korvela_write_sheet_part(double from, double first_tag, double most_tags, int fit,
                                int second_smaller)
{
    sheet_settings settings = read_list_settings();
    static list_reader list;
    start_list(&list, open_list_stream(static_cast<std::size_t>(from)));
    if (first_tag == 0)
        drop_settings_line(&list, &settings);
    std::size_t start = list_offset(&list);
    text_view line;
    double read = 0;
    while (read < most_tags && read_line(&list, &line))
        ++read;
    std::size_t end = list_offset(&list);
    bool last_part = !read_line(&list, &line);
    close_list(&list);

    start_list(&list, open_list_stream(start, end));
    static document_writer document;
    if (!start_sheet(&document)) {
        close_list(&list);
        return -2;
    }
    if (first_tag == 0)
        write_document_head(&document, &settings);
    auto tag_count = static_cast<long long>(first_tag);
    write_tags(&list, &document, &settings, &tag_count, sizer_for(&settings, fit, second_smaller));
    if (last_part)
        write_document_tail(&document);
    if (finish_run(&list, &document) != run_ok)
        return -2;
    return last_part ? -1 : static_cast<double>(end);
}

// The list's first line as read, line end included (empty for an empty list), kept in kept
// (LINE_SIZE bytes); where the list goes on after it.
static text_view read_first_line(char *kept, std::size_t *after)
{
    static list_reader list;
    start_list(&list, open_list_stream());
    text_view first_line = {"", 0};
    if (read_line(&list, &first_line))
        first_line = keep_text(first_line, kept);
    else
        first_line = {"", 0};
    *after = list_offset(&list);
    close_list(&list);
    return first_line;
}

// ------------------------------------------------------------------------------------------
// The check's findings, handed to the page as a JSON text built in a buffer of fixed size: the
// page words them, and names each fact as the names below do.

// The largest text holds some 1,900 bytes: every mistake, each on five lines of 19 digits, and
// every other fact at its longest. What would not fit is never handed over cut short: the page
// is told that the findings did not fit, and says so.
constexpr std::size_t FACTS_SIZE = 4096;
static const char FACTS_TOO_LONG[] = "{\"failed\":\"the check's findings outgrew their buffer\"}";

struct facts_text {
    char text[FACTS_SIZE];
    std::size_t used;
    bool overflowed;
};

static void put(facts_text *facts, const char *text)
{
    std::size_t length = std::strlen(text);
    if (facts->used + length < FACTS_SIZE) {
        std::memcpy(facts->text + facts->used, text, length);
        facts->used += length;
    } else {
        facts->overflowed = true;
    }
    facts->text[facts->used] = '\0';
}

static void put_number(facts_text *facts, long long number)
{
    char digits[24];
    std::size_t at = sizeof digits;
    digits[--at] = '\0';
    unsigned long long magnitude = number < 0 ? 0ULL - static_cast<unsigned long long>(number)
                                              : static_cast<unsigned long long>(number);
    do {
        digits[--at] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    if (number < 0)
        digits[--at] = '-';
    put(facts, digits + at);
}

// "name": after a comma unless it opens its object or list.
static void put_name(facts_text *facts, const char *name)
{
    put(facts, facts->text[facts->used - 1] == '{' ? "\"" : ",\"");
    put(facts, name);
    put(facts, "\":");
}

static void put_fact(facts_text *facts, const char *name, long long number)
{
    put_name(facts, name);
    put_number(facts, number);
}

static void put_fact(facts_text *facts, const char *name, const char *text)
{
    put_name(facts, name);
    put(facts, text == nullptr ? "null" : "\"");
    if (text != nullptr) {
        put(facts, text);
        put(facts, "\"");
    }
}

static const char *const MISTAKE_NAMES[] = {
    "saved_as_utf16",        "not_text",          "unknown_charset",
    "spaced_settings_line",  "utf8_not_declared", "declared_utf8_not_saved",
    "name_as_settings_line", "list_ends_early",   "markup_in_name",
    "line_over_read",        "text_after_return", "empty_tag",
    "names_in_one_line",     "name_over_lines",   "no_names"};
static_assert(sizeof MISTAKE_NAMES / sizeof *MISTAKE_NAMES == MISTAKE_KINDS, "a name a mistake");
static const char *const TEXT_NAMES[] = {"ascii_only", "utf8_letters", "not_utf8"};
static const char *const KIND_NAMES[] = {"plain_text",      "pdf_file",      "picture_file",
                                         "workbook_file",   "document_file", "archive_file",
                                         "old_office_file", "program_file"};
static const char *const MARKUP_NAMES[] = {"no_markup", "changes_text", "loads_from_elsewhere",
                                           "runs_script", "hides_later_tags"};

static void put_mistakes(facts_text *facts, const list_check *check)
{
    put_name(facts, "mistakes");
    put(facts, "{");
    for (int kind = 0; kind < MISTAKE_KINDS; ++kind) {
        const mistake_lines &mistake = check->mistakes[kind];
        put_name(facts, MISTAKE_NAMES[kind]);
        put(facts, "{");
        put_fact(facts, "count", mistake.count);
        put(facts, ",\"lines\":[");
        for (long long at = 0;
             at < mistake.count && at < static_cast<long long>(MISTAKE_LINES_KEPT); ++at) {
            put(facts, at == 0 ? "" : ",");
            put_number(facts, mistake.first[at]);
        }
        put(facts, "]}");
    }
    put(facts, "}");
}

// "printedPages":{"A4":[as the sheet breaks them, filled],"Letter":[...]}
static void put_printed_pages(facts_text *facts, const list_check *check)
{
    static const char *const PAPER_NAMES[] = {"A4", "Letter"};
    static_assert(sizeof PAPER_NAMES / sizeof *PAPER_NAMES == PAPER_SIZES, "a name a paper");
    put_name(facts, "printedPages");
    put(facts, "{");
    for (int paper = 0; paper < PAPER_SIZES; ++paper) {
        put_name(facts, PAPER_NAMES[paper]);
        put(facts, "[");
        put_number(facts, check->printed_pages[paper][0]);
        put(facts, ",");
        put_number(facts, check->printed_pages[paper][1]);
        put(facts, "]");
    }
    put(facts, "}");
}

// What the check finds in the list, its tags as the page's print sets them: each name sized to
// fit its tag (fit), its second line smaller (second_smaller), or as the tool's sheet has them.
void korvela_check_list(int fit, int second_smaller)
{
    sheet_settings settings = read_list_settings();
    static list_reader list;
    start_list(&list, open_list_stream());
    static list_check check;
    print_setting print = {fit != 0, fit != 0 && second_smaller != 0};
    check_list(&list, &settings, print, &check);
    close_list(&list);

    static facts_text facts;
    facts.used = 0;
    facts.overflowed = false;
    put(&facts, "{");
    put_fact(&facts, "layout", settings.layout);
    put_fact(&facts, "charset", settings.charset);
    put_fact(&facts, "hasSettingsLine", settings.has_settings_line ? 1 : 0);
    // The layout the first line means; 0 where it is a name, which keeps the layout in use.
    put_fact(&facts, "layoutMeant", check.layout_meant);
    put_fact(&facts, "lineMaxBytes", static_cast<long long>(LINE_MAX_BYTES));
    put_fact(&facts, "tags", check.tags);
    put_fact(&facts, "fitted", print.fit ? 1 : 0);
    put_fact(&facts, "tagsSetSmaller", check.tags_set_smaller);
    put_fact(&facts, "pages", check.pages);
    put_fact(&facts, "lastLine", check.last_line);
    put_fact(&facts, "linesATag", check.lines_a_tag);
    put_fact(&facts, "text", TEXT_NAMES[check.text]);
    put_fact(&facts, "kind", KIND_NAMES[check.kind]);
    put_fact(&facts, "charsetMeant", check.charset_meant);
    put_fact(&facts, "settingsMeant",
             check.mistakes[spaced_settings_line].count > 0 ? check.settings_meant : nullptr);
    put_fact(&facts, "worstMarkup", MARKUP_NAMES[check.worst_markup]);
    put_fact(&facts, "worstMarkupLine", check.worst_markup_line);
    put_fact(&facts, "worstMarkupTag", check.worst_markup_tag);
    put_fact(&facts, "bytesAfterEnd", check.after_end.bytes);
    put_fact(&facts, "linesAfterEnd", check.after_end.lines);
    put_fact(&facts, "letterCutLine", check.letter_cut_line);
    put_fact(&facts, "overLines", check.first_over.lines);
    put_fact(&facts, "overTooWide", check.first_over.too_wide ? 1 : 0);
    put_fact(&facts, "overBreak", check.first_over_break);
    put_printed_pages(&facts, &check);
    put_mistakes(&facts, &check);
    put(&facts, "}");
    korvela_list_checked(facts.overflowed ? FACTS_TOO_LONG : facts.text);
}

// ------------------------------------------------------------------------------------------
// The settings line the page puts into the list, for a layout (1, 2 or 6; 0 for the layout
// the first line means, or the layout in use where it is a name) and a charset (a
// charset_choice), written by the tool's own rules (settings_writer.h) and handed over. Returns
// how many of the list's bytes it takes the place of: none, the byte-order mark, or the whole
// first line, which the page then replaces with it.
double korvela_write_settings_line(int layout, int charset, int layout_in_use)
{
    static char kept[LINE_SIZE];
    std::size_t after_first_line = 0;
    text_view first_line = read_first_line(kept, &after_first_line);

    // The list's own line end: a first line ended by CR LF reads as ended by LF.
    char raw[2] = {};
    std::size_t raw_end = after_first_line >= 2 ? after_first_line - 2 : 0;
    bool crlf = after_first_line >= 2 &&
                korvela_list_bytes(raw_end, raw, sizeof raw) == sizeof raw && raw[0] == '\r' &&
                raw[1] == '\n';
    bool ends_in_lf = first_line.length > 0 && first_line.bytes[first_line.length - 1] == '\n';

    tag_layout in_use = layout_for_selector(static_cast<char>('0' + layout_in_use));
    tag_layout chosen = layout == 0 ? layout_meant(first_line, in_use)
                                    : layout_for_selector(static_cast<char>('0' + layout));
    static written_settings_line written;
    write_settings_line(first_line, chosen, static_cast<charset_choice>(charset),
                        ends_in_lf && !crlf ? "\n" : "\r\n", &written);
    korvela_settings_line_written(written.line, written.length);
    switch (written.replaced) {
    case replaces_first_line:
        return static_cast<double>(after_first_line);
    case replaces_byte_order_mark:
        return static_cast<double>(BYTE_ORDER_MARK_LENGTH);
    default:
        return 0;
    }
}

// ------------------------------------------------------------------------------------------
// A text the page hands over, such as a spreadsheet's cell, written so that a browser shows it
// as it stands (markup.h), into the sheet's bytes: however long, a window at a time, each byte
// judged with the bytes after it that a reference can take.
void korvela_write_as_text()
{
    constexpr std::size_t WINDOW = 4096;
    constexpr std::size_t LOOKAHEAD = 256;
    static char window[WINDOW + LOOKAHEAD];
    static char out[WINDOW * (sizeof "&amp;" - 1)];
    for (std::size_t from = 0;;) {
        std::size_t read = korvela_list_bytes(from, window, sizeof window);
        std::size_t judged = read < WINDOW ? read : WINDOW;
        if (judged == 0)
            return;
        std::size_t written = 0;
        for (std::size_t at = 0; at < judged; ++at) {
            const char *escape = !makes_markup(window + at, read - at) ? nullptr
                                 : window[at] == '<'                   ? "&lt;"
                                                                       : "&amp;";
            std::size_t size = escape == nullptr ? 1 : std::strlen(escape);
            std::memcpy(out + written, escape == nullptr ? window + at : escape, size);
            written += size;
        }
        korvela_sheet_bytes(out, written);
        from += judged;
    }
}
