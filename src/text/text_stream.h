// The list and the document as Windows text streams, on every platform.
//
// Both files are opened in binary mode and this module alone applies the text-stream rules, so
// the same list gives the same document bytes wherever the tool runs:
// - reading, a CR LF pair reads as one LF, a lone CR stays, and a byte 0x1A ends the list;
// - writing, every LF goes out as CR LF.
#pragma once

#include <cstddef>
#include <cstdio>

#include "text/text.h"

constexpr std::size_t LIST_CHUNK_SIZE = std::size_t{64} * 1024;
constexpr std::size_t DOCUMENT_CHUNK_SIZE = std::size_t{256} * 1024;

struct list_reader {
    std::FILE *stream;
    unsigned char chunk[LIST_CHUNK_SIZE];
    std::size_t next;
    std::size_t filled;
    std::size_t plain_until;    // the chunk's next NUL or 0x1A, or filled
    bool ended;                 // end of file, a 0x1A or a read error: nothing more comes
    bool failed;                // a read error
    bool ended_at_end_byte;     // a 0x1A ended the list
    std::size_t after_end_byte; // where the chunk goes on after that 0x1A
    bool gathered_nul;          // a NUL cut the line last gathered in line
    char line[LINE_SIZE];       // a line that cannot be viewed in the chunk, gathered by the rules
};

struct document_writer {
    std::FILE *stream;
    char pending[DOCUMENT_CHUNK_SIZE];
    std::size_t used;
    bool failed; // a write has failed; a later clean close must not hide it
};

// Opens the list read-only; false when it cannot be opened.
bool open_list(list_reader *list, const char *path);

// Reads from an already open stream, which the reader then owns.
void start_list(list_reader *list, std::FILE *stream);

// Reads the next line, at most LINE_MAX_BYTES bytes, stopping after a line feed, which stays in
// the line. The view points into the reader, so it is valid until the next read from the list;
// a NUL ends it, as it ends a C string. False when the read yields no line: the end of the list
// or a read error.
bool read_line(list_reader *list, text_view *line);

// The start of the list as the file holds it, before any text-stream rule: up to a chunk of
// raw bytes, to tell what kind of file it is. Only before the first read_line, and valid until it.
text_view peek_list_start(list_reader *list);

// The bytes of the list the reader holds read, but has not yet passed on as lines.
std::size_t bytes_read_ahead(const list_reader *list);

// Whether a NUL cut the line that read_line returned: the line ends there, though the bytes
// after it were read.
bool line_cut_at_nul(const list_reader *list, text_view line);

// What a 0x1A before the end of the file keeps from the list: the bytes after it, and the lines
// among them that hold more than blanks and line ends. Reads the rest of the file, once the list
// has ended; all zero where no 0x1A ended it.
struct unread_rest {
    long long bytes;
    long long lines;
};
unread_rest read_after_end_byte(list_reader *list);

// Closes the list; true when it was read without an error.
bool close_list(list_reader *list);

// Creates or truncates the document; false when it cannot be created.
bool create_document(document_writer *document, const char *path);

// Writes into an already open stream, which the writer then owns.
void start_document(document_writer *document, std::FILE *stream);

// Copies length bytes of text into encoded, every LF as CR LF, as far as room allows; returns
// the bytes stored. For text written many times: encode it once, then copy it into the room.
std::size_t encode_line_ends(const char *text, std::size_t length, char *encoded, std::size_t room);

// Room for the next bytes of the document, most of them at most (DOCUMENT_CHUNK_SIZE or fewer),
// for the caller to fill with bytes whose line ends encode_line_ends has already encoded, or
// that hold none; document_filled then takes the bytes up to end.
char *document_room(document_writer *document, std::size_t most);
void document_filled(document_writer *document, const char *end);

// Flushes and closes the document; true when every write and the close succeeded.
bool close_document(document_writer *document);
