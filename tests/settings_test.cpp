#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/settings_line.h"
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

} // namespace
