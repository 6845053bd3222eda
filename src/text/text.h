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

// Where the first of byte stands in the first length bytes of text, or length: one search.
std::size_t length_before(const char *text, char byte, std::size_t length);

// The functions below take a text's length, strlen(text), and hand back the length of the text
// they leave or write, so that no text is measured twice on its way to the document.

// Truncates a line as read_line reads it, whose one line feed can only be its last byte, at its
// first carriage return or line feed; returns the new length.
std::size_t cut_line_end(char *line, std::size_t length);

// Writes into tag_text (TAG_TEXT_SIZE bytes) the line, of one read's length at most, with its
// first "=" turned into "<br>"; returns the tag text's length.
std::size_t break_at_separator(const char *line, std::size_t length, char *tag_text);

// Cuts a list line at its line end and writes its tag text: the road of every name.
std::size_t make_tag_text(char *line, std::size_t length, char *tag_text);

// Index of the first needle in text at or after start, or -1 (also when start is past the end).
int find_text(const char *text, const char *needle, int start);

// Writes into span (count + 1 bytes) at most count bytes of text from index start on.
void copy_span(const char *text, std::size_t start, std::size_t count, char *span);

// Upper-cases the letters a to z in place; every other byte stays, whatever the platform's locale.
void upcase_ascii(char *text);
