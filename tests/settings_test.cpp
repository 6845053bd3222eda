#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/first_line.h"
#include "settings/settings_line.h"
#include "settings/settings_writer.h"
#include "text/text.h"

namespace
{

struct first_line_case {
    std::string line;
    tag_layout layout;
    std::string charset;
    bool taken;
};

TEST(apply_settings_line, picks_layout_and_charset_from_the_first_line)
{
    const first_line_case cases[] = {
        {"Anna Novak\n", four_panel, "windows-1250", false},
        {"\n", four_panel, "windows-1250", false},
        {"=\n", four_panel, "windows-1250", true},
        {"=UTF-8\n", four_panel, "UTF-8", true},
        {"6=\n", two_column, "windows-1250", true},
        {"2=windows-1250\n", two_panel, "WINDOWS-1250", true},
        {"4=UTF-8\r\n", four_panel, "UTF-8", true},
        {"2= UTF-8\n", two_panel, "windows-1250", true},
        {"2=UTF8\n", two_panel, "windows-1250", true},
        {"2=utf-8xyz\n", two_panel, "UTF-8", true},
        {"6=Utf-8", two_column, "UTF-8", true},
        {"x6=2=UTF-8\n", two_column, "windows-1250", true},
        {"x6=UTF-8=2\n", two_column, "UTF-8", true},
        {"Anna=Novak\n", four_panel, "windows-1250", true},
        {"Petr2=Novak\n", two_panel, "windows-1250", true},
        {"\xef\xbb\xbf"
         "6=UTF-8\n",
         two_column, "UTF-8", true},
        {"6=UTF-8\r", two_column, "UTF-8", true},
        {"6=\rUTF-8\n", two_column, "windows-1250", true},
        {"2\r=UTF-8\n", four_panel, "windows-1250", false},
        {"8=WINDOWS-1250-and-more-than-17\n", four_panel, "WINDOWS-1250", true},
        {"6=" + std::string(16, ' ') + "UTF-8\n", two_column, "windows-1250", true},
        {std::string("2\0=UTF-8\n", 9), four_panel, "windows-1250", false},
        {"a=b=", four_panel, "windows-1250", true},
    };
    for (const first_line_case &c : cases) {
        sheet_settings settings = default_settings();
        // As a read views it: up to a NUL.
        apply_settings_line({c.line.data(), std::strlen(c.line.c_str())}, &settings);
        EXPECT_EQ(c.layout, settings.layout) << "line: " << c.line;
        EXPECT_EQ(c.charset, settings.charset) << "line: " << c.line;
        EXPECT_EQ(c.taken, settings.has_settings_line) << "line: " << c.line;
    }
}

// The one writer of the settings line: what it writes for a list's first line, and whether it
// takes that line's place; what the tool then reads from the line it wrote.
TEST(write_settings_line, writes_the_line_the_tool_reads_as_asked)
{
    const struct {
        std::string first_line;
        tag_layout layout;
        charset_choice charset;
        std::string written;
        bytes_replaced replaced;
    } cases[] = {
        {"", four_panel, choose_utf8, "4=UTF-8\r\n", replaces_nothing},
        {"Jiri\n", two_panel, keep_charset, "2=\r\n", replaces_nothing},
        {"4=windows-1250\n", two_panel, keep_charset, "2=windows-1250\r\n", replaces_first_line},
        {"4=utf-8 (Notepad)\n", two_column, keep_charset, "6=utf-8 (Notepad)\r\n",
         replaces_first_line},
        {"6 = UTF-8\n", two_column, choose_utf8, "6=UTF-8\r\n", replaces_first_line},
        {"6 = UTF-8\n", two_panel, keep_charset, "2=UTF-8\r\n", replaces_first_line},
        {"2 =\n", two_column, keep_charset, "6=\r\n", replaces_first_line},
        {"Jana=Novakova\n", four_panel, keep_charset, "4=\r\n", replaces_nothing},
        {"2=UTF-8\n", four_panel, choose_windows_1250, "4=windows-1250\r\n", replaces_first_line},
        {"x=utf-8\n", two_panel, keep_charset, "2=utf-8\r\n", replaces_first_line},
        {"4=" + std::string(197, 'h'), two_panel, keep_charset,
         "2=" + std::string(196, 'h') + "\r\n", replaces_first_line},
        {"\xEF\xBB\xBF"
         "Anna\n",
         four_panel, choose_utf8,
         "\xEF\xBB\xBF"
         "4=UTF-8\r\n",
         replaces_byte_order_mark},
        {"\xEF\xBB\xBF"
         "4=UTF-8\n",
         two_column, keep_charset,
         "\xEF\xBB\xBF"
         "6=UTF-8\r\n",
         replaces_first_line},
    };
    for (const auto &c : cases) {
        written_settings_line written;
        write_settings_line({c.first_line.data(), c.first_line.size()}, c.layout, c.charset, "\r\n",
                            &written);
        EXPECT_EQ(c.written, std::string(written.line, written.length)) << c.first_line;
        EXPECT_EQ(c.replaced, written.replaced) << c.first_line;
        sheet_settings read = default_settings();
        apply_settings_line({written.line, written.length}, &read);
        EXPECT_EQ(c.layout, read.layout) << c.first_line;
        EXPECT_EQ(settings_as_meant, meaning_of_first_line({written.line, written.length}).kind);
    }
}

// The layout a first line means, where the page writes a settings line without choosing one: a
// settings line's own, blanks and all; for a name, the layout in use, whatever its digits.
TEST(layout_meant, is_the_lines_own_or_else_the_layout_in_use)
{
    const struct {
        std::string first_line;
        tag_layout meant;
    } cases[] = {
        {"6=UTF-8\n", two_column},
        {"6 = UTF-8\r\n", two_column},
        {" 4=UTF-8\n", four_panel},
        {"=\n", four_panel},
        {"Stul 6=Jana Novakova\n", two_panel},
        {"Anna\n", two_panel},
        {"", two_panel},
        {"\xEF\xBB\xBF"
         "6=\n",
         two_column},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.meant, layout_meant({c.first_line.data(), c.first_line.size()}, two_panel))
            << c.first_line;
}

} // namespace
