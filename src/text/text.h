// Byte-string helpers shared by the settings line and the sheet writers.
// Every text is NUL-terminated and lives in a caller's fixed-size buffer.
#pragma once

#include <cstddef>

// One line read takes at most this many bytes; longer lines go on in the next read.
constexpr std::size_t LINE_MAX_BYTES = 199;
constexpr std::size_t LINE_SIZE = LINE_MAX_BYTES + 1;

// A tag text is a line whose first "=" became "<br>": three bytes longer at most.
constexpr std::size_t TAG_TEXT_MAX_BYTES = LINE_MAX_BYTES + 3;
constexpr std::size_t TAG_TEXT_SIZE = TAG_TEXT_MAX_BYTES + 1;

// Truncates the line at its first carriage return or line feed.
void cut_line_end(char *line);

// Writes into tag_text (TAG_TEXT_SIZE bytes) the line with its first "=" turned into "<br>".
void break_at_separator(const char *line, char *tag_text);

// Cuts a list line at its line end and writes its tag text: the road of every name.
void make_tag_text(char *line, char *tag_text);

// Index of the first needle in text at or after start, or -1 (also when start is past the end).
int find_text(const char *text, const char *needle, int start);

// Writes into span (count + 1 bytes) at most count bytes of text from index start on.
void copy_span(const char *text, std::size_t start, std::size_t count, char *span);

// Upper-cases the letters a to z in place; every other byte stays, whatever the platform's locale.
void upcase_ascii(char *text);
