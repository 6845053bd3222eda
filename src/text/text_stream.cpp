#include "text/text_stream.h"

#include "text/text.h"

#include <cstring>

static const char END_OF_LIST_BYTE = 0x1A;

void start_list(list_reader *list, std::FILE *stream)
{
    list->stream = stream;
    list->next = 0;
    list->filled = 0;
    list->plain_until = 0;
    list->ended = stream == nullptr;
    list->failed = false;
    list->ended_at_end_byte = false;
    list->after_end_byte = 0;
    list->gathered_nul = false;
}

bool open_list(list_reader *list, const char *path)
{
    start_list(list, std::fopen(path, "rb"));
    return list->stream != nullptr;
}

// The chunk holds bytes; the search counts them the same as chars.
static std::size_t length_before(const unsigned char *from, char byte, std::size_t count)
{
    return length_before(reinterpret_cast<const char *>(from), byte, count);
}

// NUL and 0x1A are rare, so the chunk is searched for them only now and then: up to
// plain_until, a line needs only its line end found.
static void find_next_rare_byte(list_reader *list)
{
    const unsigned char *from = list->chunk + list->next;
    std::size_t rest = list->filled - list->next;
    rest = length_before(from, '\0', rest);
    list->plain_until = list->next + length_before(from, END_OF_LIST_BYTE, rest);
}

// Makes sure an unread byte is in the chunk; false once the list has nothing more.
static bool fill_chunk(list_reader *list)
{
    if (list->next < list->filled)
        return true;
    if (list->ended)
        return false;
    list->next = 0;
    list->filled = std::fread(list->chunk, 1, sizeof list->chunk, list->stream);
    find_next_rare_byte(list);
    if (list->filled > 0)
        return true;
    list->failed = std::ferror(list->stream) != 0;
    list->ended = true;
    return false;
}

static int next_raw_byte(list_reader *list)
{
    return fill_chunk(list) ? list->chunk[list->next++] : EOF;
}

static int peek_raw_byte(list_reader *list)
{
    return fill_chunk(list) ? list->chunk[list->next] : EOF;
}

static int next_text_byte(list_reader *list)
{
    int byte = next_raw_byte(list);
    if (byte == END_OF_LIST_BYTE) {
        list->ended_at_end_byte = true;
        list->after_end_byte = list->next;
        list->next = list->filled;
        list->ended = true;
        return EOF;
    }
    if (byte == '\r' && peek_raw_byte(list) == '\n') {
        ++list->next;
        return '\n';
    }
    return byte;
}

// Copies into line the run of bytes that starts the unread chunk and needs none of the
// text-stream rules, up to room bytes.
static std::size_t copy_plain_run(list_reader *list, char *line, std::size_t room)
{
    const unsigned char *from = list->chunk + list->next;
    std::size_t available = list->filled - list->next;
    std::size_t run = available < room ? available : room;
    run = length_before(from, '\n', run);
    run = length_before(from, '\r', run);
    run = length_before(from, END_OF_LIST_BYTE, run);
    std::memcpy(line, from, run);
    list->next += run;
    return run;
}

// The common line: whole in the chunk, ending in LF or CR LF, no longer than one read, and with
// no NUL or 0x1A in it. Found with one search and viewed where it stands, the CR of its CR LF
// overwritten by the LF that it reads as; false for any other line.
static bool read_plain_line(list_reader *list, text_view *line)
{
    unsigned char *from = list->chunk + list->next;
    // One byte more than a read holds: the CR of a CR LF, which reads as nothing.
    std::size_t window = list->plain_until - list->next;
    if (window > LINE_SIZE)
        window = LINE_SIZE;
    const void *found = std::memchr(from, '\n', window);
    if (found == nullptr)
        return false;
    std::size_t raw =
        static_cast<std::size_t>(static_cast<const unsigned char *>(found) - from) + 1;
    bool crlf = raw > 1 && from[raw - 2] == '\r';
    std::size_t length = crlf ? raw - 1 : raw;
    if (length > LINE_MAX_BYTES)
        return false;
    if (crlf)
        from[length - 1] = '\n';
    list->next += raw;
    *line = {reinterpret_cast<const char *>(from), length};
    return true;
}

// Any line, taking the text-stream rules byte by byte where they apply, gathered in the
// reader's line buffer.
static bool read_line_by_the_rules(list_reader *list, text_view *line)
{
    char *gathered = list->line;
    std::size_t used = 0;
    while (used < LINE_MAX_BYTES && fill_chunk(list)) {
        used += copy_plain_run(list, gathered + used, LINE_MAX_BYTES - used);
        if (used == LINE_MAX_BYTES || list->next == list->filled)
            continue;
        int byte = next_text_byte(list);
        if (byte == EOF)
            break;
        gathered[used++] = static_cast<char>(byte);
        if (byte == '\n')
            break;
    }
    if (list->next > list->plain_until)
        find_next_rare_byte(list);
    // A NUL ends the line as a C string sees it; the bytes after it were read all the same.
    *line = {gathered, length_before(gathered, '\0', used)};
    list->gathered_nul = line->length < used;
    // As with fgets, a read error yields no line, even after some bytes.
    return used > 0 && !list->failed;
}

bool read_line(list_reader *list, text_view *line)
{
    return read_plain_line(list, line) || read_line_by_the_rules(list, line);
}

text_view peek_list_start(list_reader *list)
{
    const char *start = reinterpret_cast<const char *>(list->chunk + list->next);
    return {start, fill_chunk(list) ? list->filled - list->next : 0};
}

std::size_t bytes_read_ahead(const list_reader *list)
{
    return list->filled - list->next;
}

bool line_cut_at_nul(const list_reader *list, text_view line)
{
    // A line viewed in the chunk never holds a NUL: only a gathered one can.
    return line.bytes == list->line && list->gathered_nul;
}

static bool is_blank_byte(unsigned char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n' || byte == END_OF_LIST_BYTE;
}

unread_rest read_after_end_byte(list_reader *list)
{
    unread_rest rest = {0, 0};
    if (!list->ended_at_end_byte)
        return rest;
    bool line_holds_text = false;
    std::size_t from = list->after_end_byte;
    do {
        for (std::size_t at = from; at < list->filled; ++at) {
            if (list->chunk[at] == '\n') {
                rest.lines += line_holds_text ? 1 : 0;
                line_holds_text = false;
            } else if (!is_blank_byte(list->chunk[at])) {
                line_holds_text = true;
            }
        }
        rest.bytes += static_cast<long long>(list->filled - from);
        from = 0;
        list->filled = std::fread(list->chunk, 1, sizeof list->chunk, list->stream);
        list->next = list->filled;
    } while (list->filled > 0);
    list->ended_at_end_byte = false;
    rest.lines += line_holds_text ? 1 : 0;
    return rest;
}

bool close_list(list_reader *list)
{
    bool clean = !list->failed;
    // Only read, so a failed close loses nothing.
    if (list->stream != nullptr)
        (void)std::fclose(list->stream);
    list->stream = nullptr;
    list->ended = true;
    return clean;
}

void start_document(document_writer *document, std::FILE *stream)
{
    document->stream = stream;
    document->used = 0;
    document->failed = false;
}

bool create_document(document_writer *document, const char *path)
{
    std::FILE *stream = std::fopen(path, "wb");
    // The writer gathers whole chunks itself; a stdio buffer would only copy them again.
    // Should that fail, stdio buffers as usual: slower, but every byte still arrives.
    if (stream != nullptr)
        (void)std::setvbuf(stream, nullptr, _IONBF, 0);
    start_document(document, stream);
    return stream != nullptr;
}

static void write_raw(document_writer *document, const char *bytes, std::size_t count)
{
    if (count > 0 && std::fwrite(bytes, 1, count, document->stream) != count)
        document->failed = true;
}

static void flush_pending(document_writer *document)
{
    write_raw(document, document->pending, document->used);
    document->used = 0;
}

// Small pieces are gathered into one large write, so the hot path makes no stdio call per piece.
char *document_room(document_writer *document, std::size_t most)
{
    if (most > sizeof document->pending - document->used)
        flush_pending(document);
    return document->pending + document->used;
}

void document_filled(document_writer *document, const char *end)
{
    document->used = static_cast<std::size_t>(end - document->pending);
}

std::size_t encode_line_ends(const char *text, std::size_t length, char *encoded, std::size_t room)
{
    std::size_t stored = 0;
    for (std::size_t at = 0; at < length; ++at) {
        bool line_feed = text[at] == '\n';
        if (stored + (line_feed ? 2 : 1) > room)
            break;
        if (line_feed)
            encoded[stored++] = '\r';
        encoded[stored++] = text[at];
    }
    return stored;
}

bool close_document(document_writer *document)
{
    flush_pending(document);
    bool clean = !document->failed && std::ferror(document->stream) == 0;
    if (std::fclose(document->stream) != 0)
        clean = false;
    document->stream = nullptr;
    return clean;
}
