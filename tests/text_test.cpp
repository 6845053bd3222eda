#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "text/text.h"

namespace
{

struct cut_case {
    std::string line;
    std::string expected;
};

TEST(cut_line_end, cuts_at_the_first_line_end)
{
    const cut_case cases[] = {
        {"Anna\n", "Anna"}, {"Anna\r\n", "Anna"}, {"Anna", "Anna"}, {"An\rna\n", "An"}, {"\n", ""},
        {"", ""},           {"\r\n", ""},         {"a=b\r", "a=b"},
    };
    for (const cut_case &c : cases) {
        text_view cut = cut_line_end({c.line.data(), c.line.size()});
        EXPECT_EQ(c.line.data(), cut.bytes) << "line: " << c.line;
        EXPECT_EQ(c.expected, std::string(cut.bytes, cut.length)) << "line: " << c.line;
    }
}

TEST(break_at_separator, turns_only_the_first_separator_into_a_line_break)
{
    const cut_case cases[] = {
        {"Anna=Novak", "Anna<br>Novak"},
        {"a=b=c", "a<br>b=c"},
        {"=x", "<br>x"},
        {"x=", "x<br>"},
        {"=", "<br>"},
        {"Anna", "Anna"},
        {"", ""},
        {"100% %s", "100% %s"},
    };
    for (const cut_case &c : cases) {
        char tag_text[TAG_TEXT_SIZE];
        text_view tag = break_at_separator({c.line.data(), c.line.size()}, tag_text);
        EXPECT_EQ(c.expected, std::string(tag.bytes, tag.length)) << "line: " << c.line;
        // Only a line that changes is copied; the rest is viewed where it stands.
        const char *expected_at = c.expected == c.line ? c.line.data() : tag_text;
        EXPECT_EQ(expected_at, tag.bytes) << "line: " << c.line;
    }
}

TEST(break_at_separator, a_full_line_grows_to_the_largest_tag_text)
{
    const std::string line = std::string(LINE_MAX_BYTES - 1, 'a') + "=";
    char tag_text[TAG_TEXT_SIZE];
    text_view tag = break_at_separator({line.data(), line.size()}, tag_text);
    EXPECT_EQ(TAG_TEXT_MAX_BYTES, tag.length);
    EXPECT_EQ(std::string(LINE_MAX_BYTES - 1, 'a') + "<br>", tag_text);
}

struct find_case {
    std::string text;
    std::string needle;
    int start;
    int expected;
};

TEST(find_text, finds_or_says_minus_one)
{
    const find_case cases[] = {
        {"ab=cd", "=", 0, 2},
        {"ab=cd=", "=", 3, 5},
        {"abcd", "=", 0, -1},
        {"", "=", 0, -1},
        {"abc", "=", 4, -1},
        {"abc", "", 3, 3},
        {"UTF-8", "UTF-8", 0, 0},
        {"UTF-8XYZ", "UTF-8", 0, 0},
        {"UTF", "UTF-8", 0, -1},
        {" UTF-8", "UTF-8", 0, 1},
        {"WINDOWS-125", "WINDOWS-1250", 0, -1},
        {"abc", "a", -1, -1},
    };
    for (const find_case &c : cases)
        EXPECT_EQ(c.expected, find_text(c.text.c_str(), c.needle.c_str(), c.start))
            << "text: " << c.text << ", needle: " << c.needle << ", start: " << c.start;
}

struct span_case {
    std::string text;
    std::size_t start;
    std::size_t count;
    std::string expected;
};

TEST(copy_span, copies_at_most_count_bytes)
{
    const span_case cases[] = {
        {"6=UTF-8", 2, 17, "UTF-8"}, {"=" + std::string(30, 'x'), 1, 17, std::string(17, 'x')},
        {"abc", 3, 17, ""},          {"abc", 0, 0, ""},
        {"abc", 1, 1, "b"},          {"abc", 9, 2, ""},
    };
    for (const span_case &c : cases) {
        char span[32];
        copy_span(c.text.c_str(), c.start, c.count, span);
        EXPECT_EQ(c.expected, span) << "text: " << c.text << ", start: " << c.start;
    }
}

TEST(upcase_ascii, changes_only_the_letters_a_to_z)
{
    char text[] = "utf-8 windows-1250 \xe1\xe8\xf8 z{`a@";
    upcase_ascii(text);
    EXPECT_STREQ("UTF-8 WINDOWS-1250 \xe1\xe8\xf8 Z{`A@", text);
}

} // namespace
