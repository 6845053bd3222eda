#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "check/list_check.h"
#include "scratch.h"
#include "settings/settings_line.h"

namespace
{

using found = std::map<list_mistake, std::vector<long long>>;

// The list checked as the page checks it: the settings pass, then the check's own reading.
list_check checked(const std::string &bytes)
{
    const std::string path = scratch_list(bytes);
    static list_reader list;
    sheet_settings settings = default_settings();
    EXPECT_TRUE(open_list(&list, path.c_str()));
    read_settings_from(&list, &settings);
    close_list(&list);
    list_check check;
    EXPECT_TRUE(open_list(&list, path.c_str()));
    check_list(&list, &settings, &check);
    close_list(&list);
    std::remove(path.c_str());
    return check;
}

found mistakes_of(const list_check &check)
{
    found mistakes;
    for (int kind = 0; kind < MISTAKE_KINDS; ++kind) {
        const mistake_lines &lines = check.mistakes[kind];
        std::size_t kept = lines.count < 5 ? static_cast<std::size_t>(lines.count) : 5;
        if (lines.count > 0)
            mistakes[static_cast<list_mistake>(kind)].assign(lines.first, lines.first + kept);
    }
    return mistakes;
}

struct check_case {
    std::string list;
    long long tags;
    found mistakes; // each with the lines it is found on; no_names on none, line 0
};

const std::string A199(199, 'a');
const std::string BOM = "\xEF\xBB\xBF";
const std::string UTF16_ANNA("\xFF\xFE"
                             "A\0n\0n\0a\0\r\0\n\0",
                             14);
const std::string LONG = "Marie Magdalena Dvořáková";
const std::string SIX = "Magdaléna Marešová=Kateřina Dvořáková Vlastimil Horáková";

// Each mistake with a list that shows it, and a near list that must not.
TEST(check_list, finds_each_mistake_where_the_sheet_shows_it_and_nowhere_else)
{
    const check_case cases[] = {
        {"4=UTF-8\r\nJana=Nováková\r\nPetr Dvořák\r\n", 2, {}},
        {"Anna\nŽofie Šťastná\n", 2, {{utf8_not_declared, {2}}}},
        {"Anna\n\x8E"
         "ofie\n",
         2,
         {}},
        {"4=UTF-8\n\x8E"
         "ofie\nAnna\n\x9A\n",
         3,
         {{declared_utf8_not_saved, {2, 4}}}},
        {"4=UTF-8\n\xC0\xAF\n", 1, {{declared_utf8_not_saved, {2}}}},
        {UTF16_ANNA, 2, {{saved_as_utf16, {1}}}},
        {BOM + "4=UTF-8\nAnna\n", 1, {}},
        {"Jana=Nováková\nPetr\n", 1, {{name_as_settings_line, {1}}}},
        {"=\nAnna\n", 1, {}},
        {"x=utf-8\nAnna\n", 1, {}},
        {"6=\nAnna\n\nBob\n \n=\n", 5, {{empty_tag, {3, 5, 6}}}},
        {"4=\n" + std::string(250, 'a') + "\nBob\n", 3, {{line_over_read, {2}}}},
        {"4=\n" + A199 + "\nBob\n", 3, {{line_over_read, {2}}}},
        {"4=\n" + A199, 1, {}},
        {"4=\nAnna\rBob\rCyril\nDan\r\r\n", 2, {{text_after_return, {2}}}},
        {"%PDF-1.4\n\x01\x02stream\nAnna\n", 3, {{not_text, {2}}}},
        {"", 0, {{no_names, {0}}}},
        {"4=UTF-8\r\n", 0, {{no_names, {0}}}},
        // 16 letters a line and 2 lines a tag in layouts 1 and 2; 18 and 3 in layout 6.
        {"4=UTF-8\nMagdaléna Kučera=Jaroslav Hájková\n", 1, {}},
        {"4=UTF-8\nMagdaléna Kučerová=Jaroslav Hájková\n", 1, {{name_over_lines, {2}}}},
        {"2=UTF-8\n" + LONG + " Nová\n", 1, {}},
        {"2=UTF-8\nAnna\n" + LONG + " Procházková\n", 2, {{name_over_lines, {3}}}},
        {"4=\nMagdaléna Kučera=Anna\n", 1, {{name_over_lines, {2}}, {utf8_not_declared, {2}}}},
        {"4=\n" + std::string(25, 'W') + "\n", 1, {}},
        {"6=UTF-8\n" + SIX + "\n", 1, {}},
        {"6=UTF-8\n" + SIX + " Nová\n", 1, {{name_over_lines, {2}}}},
    };
    for (const check_case &c : cases) {
        list_check check = checked(c.list);
        EXPECT_EQ(c.tags, check.tags) << ::testing::PrintToString(c.list);
        EXPECT_EQ(c.mistakes, mistakes_of(check)) << ::testing::PrintToString(c.list);
    }
}

TEST(check_list, keeps_the_first_lines_of_a_mistake_and_counts_them_all)
{
    std::string list = "4=\n";
    for (int line = 2; line <= 20; ++line)
        list += line % 3 == 0 ? "\n" : "Anna\n";
    list_check check = checked(list);
    EXPECT_EQ(6, check.mistakes[empty_tag].count);
    EXPECT_EQ((std::vector<long long>{3, 6, 9, 12, 15}), mistakes_of(check)[empty_tag]);
    EXPECT_EQ(20, check.last_line);
}

struct pages_case {
    tag_layout layout;
    long long tags;
    long long pages;
};

TEST(pages_for, breaks_pages_as_the_layout_does)
{
    const pages_case cases[] = {
        {four_panel, 0, 0},  {four_panel, 1, 1},  {four_panel, 10, 10}, {two_panel, 2, 1},
        {two_panel, 3, 2},   {two_panel, 10, 9},  {two_column, 6, 1},   {two_column, 7, 2},
        {two_column, 10, 3}, {two_column, 11, 4},
    };
    for (const pages_case &c : cases)
        EXPECT_EQ(c.pages, pages_for(c.layout, c.tags)) << c.layout << " " << c.tags;
}

} // namespace
