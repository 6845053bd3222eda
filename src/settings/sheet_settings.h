// What the settings line chose: read by the whole writing pass.
#pragma once

#include <cstddef>

// Each layout's number is also its break threshold: the tags that share the first page.
enum tag_layout {
    four_panel = 1,
    two_panel = 2,
    two_column = 6,
};

constexpr std::size_t CHARSET_SIZE = 17;
constexpr char UTF8_CHARSET[] = "UTF-8";
constexpr char WINDOWS_1250_CHARSET[] = "windows-1250"; // the default

struct sheet_settings {
    tag_layout layout;
    char charset[CHARSET_SIZE];
    bool has_settings_line; // the first list line was taken, and is not a tag
};

inline int break_threshold(tag_layout layout)
{
    return static_cast<int>(layout);
}

// Layout 1, "windows-1250", no settings line.
sheet_settings default_settings();
