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

// A text as a pointer and a length, without a terminator: a view into a buffer that someone
// else owns, valid for as long as that buffer's bytes stay. A line read from the list is one,
// and stays valid until the next read from the same list.
struct text_view {
    const char *bytes;
    std::size_t length;
};

// Where the first of byte stands in the first length bytes of text, or length: one search.
std::size_t length_before(const char *text, char byte, std::size_t length);

// The line as read_line reads it, whose one line feed can only be its last byte, up to its
// first carriage return or line feed: the same view, shortened.
text_view cut_line_end(text_view line);

// The line, of one read's length at most, with its first "=" turned into "<br>": written into
// tag_text (TAG_TEXT_SIZE bytes) and viewed there, or, with no "=" to turn, the line itself.
text_view break_at_separator(text_view line, char *tag_text);

// Cuts a list line at its line end and breaks it at its separator: the road of every name.
// The tag text is valid for as long as both the line and tag_text are.
text_view make_tag_text(text_view line, char *tag_text);

// The text held in buffer (room for it and a terminator), terminated: copied there unless it
// is there already, so that it outlives the buffer it was viewed in.
text_view keep_text(text_view text, char *buffer);

// Index of the first needle in text at or after start, or -1 (also when start is past the end).
int find_text(const char *text, const char *needle, int start);

// Writes into span (count + 1 bytes) at most count bytes of text from index start on.
void copy_span(const char *text, std::size_t start, std::size_t count, char *span);

// Upper-cases the letters a to z in place; every other byte stays, whatever the platform's locale.
void upcase_ascii(char *text);
