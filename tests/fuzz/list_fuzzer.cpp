// Takes any bytes as the list: the settings pass, the page's check, then the writing pass in
// every layout, in memory. Checks what must hold for any list, besides what the sanitizers check.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "check/list_check.h"
#include "check/tag_fit.h"
#include "run.h"
#include "settings/settings_line.h"
#include "text/text.h"
#include "text/text_stream.h"

namespace
{

std::FILE *list_stream(const std::uint8_t *data, std::size_t size)
{
    // An empty buffer cannot back a stream; an empty file does the same.
    if (size == 0)
        return std::fopen("/dev/null", "rb");
    return fmemopen(const_cast<std::uint8_t *>(data), size, "rb");
}

void require(bool holds, const char *what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

std::size_t count_of(const std::string &text, const std::string &needle)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos;
         at = text.find(needle, at + needle.size()))
        ++count;
    return count;
}

// The tags the writing pass will print, read with the tool's own line read.
std::string tag_texts_of(const std::uint8_t *data, std::size_t size, bool has_settings_line,
                         std::size_t *tags)
{
    static list_reader list;
    start_list(&list, list_stream(data, size));
    std::string texts;
    text_view line;
    char tag_text[TAG_TEXT_SIZE];
    *tags = 0;
    if (has_settings_line)
        read_line(&list, &line);
    while (read_line(&list, &line)) {
        text_view tag = make_tag_text(line, tag_text);
        texts.append(tag.bytes, tag.length);
        texts += '\n'; // no tag text holds one, so no needle spans two
        ++*tags;
    }
    close_list(&list);
    return texts;
}

std::string sheet_of(const std::uint8_t *data, std::size_t size, const sheet_settings *settings,
                     const text_sizer *sizer = nullptr)
{
    static list_reader list;
    static document_writer document;
    char *bytes = nullptr;
    std::size_t length = 0;
    start_list(&list, list_stream(data, size));
    start_document(&document, open_memstream(&bytes, &length));
    write_sheet(&list, &document, settings, sizer);
    close_list(&list);
    require(close_document(&document), "the document closes cleanly");
    std::string sheet(bytes, length);
    std::free(bytes);
    return sheet;
}

void check_sheet(const std::string &sheet, const sheet_settings *settings, std::size_t tags,
                 const std::string &tag_texts)
{
    const std::string head_start = "<html><head><title>Korvela</title>\r\n"
                                   "<meta http-equiv='content-type' content='text/html; charset=" +
                                   std::string(settings->charset) + "'>\r\n";
    const std::string tail = "</center></body></html>\r\n";
    require(sheet.compare(0, head_start.size(), head_start) == 0, "begins with the head");
    require(sheet.size() >= tail.size() &&
                sheet.compare(sheet.size() - tail.size(), tail.size(), tail) == 0,
            "ends with the closing line");

    bool paired = settings->layout == two_column;
    std::size_t tables = paired ? (tags + 1) / 2 : tags * (settings->layout == two_panel ? 2 : 4);
    // Every tag text stands twice in the sheet, and a name may hold markup of its own: what the
    // names bring is counted out. No template holds a "%", so none may be lost or added.
    auto in_names = [&tag_texts](const char *needle) { return 2 * count_of(tag_texts, needle); };
    require(count_of(sheet, "<table ") == tables + in_names("<table "), "a table for each tag");
    require(count_of(sheet, "</table>\r\n") == tables, "every table closed");
    require(count_of(sheet, "<th ") == (paired ? 4 * tables : tables) + in_names("<th "),
            "every cell written");
    require(count_of(sheet, "%") == in_names("%"), "no % interpreted");
}

// The page's print: each name sized to fit its tag, its second line smaller.
tag_layout sized_layout;
text_sizes fitted(text_view name, const void * /*context*/)
{
    tag_size size = size_to_fit(name, sized_layout, true, true);
    return {size.text_px, size.second_px};
}

// The print's sheet: the same frame, and each of its tags' cells a block of a size that fits.
void check_sized_sheet(const std::string &sheet, const std::string &plain, std::size_t tags)
{
    const std::size_t head = plain.find("<center>") + 8;
    require(sheet.compare(0, head, plain, 0, head) == 0, "the print's sheet has the tool's head");
    require(count_of(sheet, "<div style='font-size:") >= 2 * tags, "every tag's text is sized");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static list_reader list;
    sheet_settings chosen = default_settings();
    start_list(&list, list_stream(data, size));
    read_settings_from(&list, &chosen);
    close_list(&list);

    std::size_t tags = 0;
    const std::string tag_texts = tag_texts_of(data, size, chosen.has_settings_line, &tags);
    // The page's check reads the list as the sheet does, so it counts the same tags.
    // As the sheet has the tags, or each sized to fit, as the page's print may set them.
    static list_check check;
    start_list(&list, list_stream(data, size));
    check_list(&list, &chosen, {(size & 1) != 0, (size & 2) != 0}, &check);
    close_list(&list);
    require(check.tags == static_cast<long long>(tags), "the check counts the sheet's tags");
    for (tag_layout layout : {four_panel, two_panel, two_column}) {
        sheet_settings settings = chosen;
        settings.layout = layout;
        const std::string plain = sheet_of(data, size, &settings);
        check_sheet(plain, &settings, tags, tag_texts);
        sized_layout = layout;
        const text_sizer sizer = {fitted, nullptr};
        check_sized_sheet(sheet_of(data, size, &settings, &sizer), plain, tags);
    }
    return 0;
}
