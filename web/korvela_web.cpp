// The browser page's entry, beside the tool's own: the tool's passes over a list that the page
// holds, through the same reader, settings pass and writers, with the sheet handed to the page
// as it is written. The page's script answers the calls declared below (korvela_library.js).
#include <cstdio>
#include <sys/types.h>

#include "check/list_check.h"
#include "run.h"
#include "settings/settings_line.h"

extern "C" {
// Copies the list's bytes from position on into bytes, room of them at most; returns how many
// it copied, 0 at the end of the list.
std::size_t korvela_list_bytes(std::size_t position, char *bytes, std::size_t room);
// Takes the next count bytes of the sheet; returns how many it took, fewer when it failed.
std::size_t korvela_sheet_bytes(const char *bytes, std::size_t count);
// Hands over what the check found: the settings, and the facts korvela_check_list gathers.
void korvela_list_checked(int layout, const char *charset, bool has_settings_line,
                          const double *facts, std::size_t count);

int korvela_write_sheet();
void korvela_check_list();
}

// The list is read from its start by each pass; only one stream over it is open at a time.
static std::size_t list_position;

static ssize_t read_list_bytes(void * /*cookie*/, char *bytes, std::size_t room)
{
    std::size_t count = korvela_list_bytes(list_position, bytes, room);
    list_position += count;
    return static_cast<ssize_t>(count);
}

static ssize_t write_sheet_bytes(void * /*cookie*/, const char *bytes, std::size_t count)
{
    return static_cast<ssize_t>(korvela_sheet_bytes(bytes, count));
}

static std::FILE *open_list_stream()
{
    list_position = 0;
    return fopencookie(nullptr, "r", {read_list_bytes, nullptr, nullptr, nullptr});
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

// The run, from the list the page holds to the sheet it takes: the exit status the tool
// would end with.
int korvela_write_sheet()
{
    sheet_settings settings = read_list_settings();
    static list_reader list;
    start_list(&list, open_list_stream());
    if (list.stream == nullptr)
        return run_list_missing;
    std::FILE *sheet = fopencookie(nullptr, "w", {nullptr, write_sheet_bytes, nullptr, nullptr});
    if (sheet == nullptr) {
        close_list(&list);
        return run_document_failed;
    }
    // The writer gathers whole chunks itself; a stdio buffer would only copy them again.
    (void)std::setvbuf(sheet, nullptr, _IONBF, 0);
    static document_writer document;
    start_document(&document, sheet);
    write_sheet(&list, &document, &settings);
    return finish_run(&list, &document);
}

// The tags, the pages, the last line, what a tag holds and a read takes, then each mistake's
// count and its first lines.
constexpr std::size_t CHECK_FACTS = 6 + MISTAKE_KINDS * (1 + MISTAKE_LINES_KEPT);

void korvela_check_list()
{
    sheet_settings settings = read_list_settings();
    static list_reader list;
    start_list(&list, open_list_stream());
    static list_check check;
    check_list(&list, &settings, &check);
    close_list(&list);

    static double facts[CHECK_FACTS];
    std::size_t count = 0;
    facts[count++] = static_cast<double>(check.tags);
    facts[count++] = static_cast<double>(check.pages);
    facts[count++] = static_cast<double>(check.last_line);
    facts[count++] = static_cast<double>(check.letters_a_line);
    facts[count++] = static_cast<double>(check.lines_a_tag);
    facts[count++] = static_cast<double>(LINE_MAX_BYTES);
    for (const mistake_lines &mistake : check.mistakes) {
        facts[count++] = static_cast<double>(mistake.count);
        for (long long line : mistake.first)
            facts[count++] = static_cast<double>(line);
    }
    korvela_list_checked(settings.layout, settings.charset, settings.has_settings_line, facts,
                         count);
}
