#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "scratch.h"
#include "text/text.h"
#include "text/text_stream.h"

namespace
{

// Every read the reader makes of bytes, each as a C string sees it.
std::vector<std::string> reads_of(const std::string &bytes)
{
    const std::string list_file = scratch_list(bytes);
    static list_reader list;
    EXPECT_TRUE(open_list(&list, list_file.c_str()));
    std::vector<std::string> reads;
    text_view line;
    while (read_line(&list, &line))
        reads.emplace_back(line.bytes, line.length);
    EXPECT_TRUE(close_list(&list));
    std::remove(list_file.c_str());
    return reads;
}

struct read_case {
    const char *name;
    std::string bytes;
    std::vector<std::string> expected;
};

const std::string A198(198, 'a');
const std::string A199(199, 'a');

TEST(read_line, reads_as_a_windows_text_stream_does)
{
    const read_case cases[] = {
        {"empty", "", {}},
        {"lines", "Anna\nBob\n", {"Anna\n", "Bob\n"}},
        {"no final line feed", "Anna\nBob", {"Anna\n", "Bob"}},
        {"empty lines", "\n\n", {"\n", "\n"}},
        {"crlf reads as lf", "Anna\r\nBob\r\n", {"Anna\n", "Bob\n"}},
        {"lone cr stays", "An\rna\nB\r\rb\n", {"An\rna\n", "B\r\rb\n"}},
        {"cr at the end stays", "Anna\r", {"Anna\r"}},
        {"cr cr lf", "Anna\r\r\n", {"Anna\r\n"}},
        {"0x1a ends the list",
         "Anna\nBo\x1a"
         "b\nCyril\n",
         {"Anna\n", "Bo"}},
        {"0x1a first",
         "\x1a"
         "Anna\n",
         {}},
        {"cr before 0x1a", "Anna\r\x1a\n", {"Anna\r"}},
        {"nul ends the text", std::string("An\0na\nBob\n", 10), {"An", "Bob\n"}},
        {"198 bytes", A198 + "\nx\n", {A198 + "\n", "x\n"}},
        {"199 bytes", A199 + "\nx\n", {A199, "\n", "x\n"}},
        {"200 bytes", A199 + "b\nx\n", {A199, "b\n", "x\n"}},
        {"250 bytes", A199 + std::string(51, 'c') + "\n", {A199, std::string(51, 'c') + "\n"}},
        {"198 bytes and crlf", A198 + "\r\nx", {A198 + "\n", "x"}},
        {"199 bytes and crlf", A199 + "\r\nx", {A199, "\n", "x"}},
        {"198 bytes and lone cr", A198 + "\rx\n", {A198 + "\r", "x\n"}},
    };
    for (const read_case &c : cases)
        EXPECT_EQ(c.expected, reads_of(c.bytes)) << c.name;
}

TEST(read_line, a_crlf_pair_split_between_chunks_reads_as_one_lf)
{
    std::string before_cr;
    while (before_cr.size() + 10 < LIST_CHUNK_SIZE - 1)
        before_cr += "Name=Name\n";
    before_cr += std::string(LIST_CHUNK_SIZE - 1 - before_cr.size(), 'x');
    std::string joined;
    for (const std::string &read : reads_of(before_cr + "\r\ntail\n"))
        joined += read;
    EXPECT_EQ(before_cr + "\ntail\n", joined);
}

TEST(read_line, a_read_error_yields_no_line_and_is_reported_at_the_close)
{
    static list_reader list;
    // A folder opens as a stream on some systems and fails at the first read.
    if (!open_list(&list, "."))
        GTEST_SKIP() << "a folder cannot be opened as a stream here";
    text_view line;
    EXPECT_FALSE(read_line(&list, &line));
    EXPECT_FALSE(read_line(&list, &line));
    EXPECT_FALSE(close_list(&list));
}

TEST(open_list, a_missing_list_cannot_be_opened_and_yields_no_line)
{
    static list_reader list;
    EXPECT_FALSE(open_list(&list, "no such folder/Korvela.txt"));
    text_view line;
    EXPECT_FALSE(read_line(&list, &line));
}

std::string file_bytes(const char *path)
{
    std::string bytes;
    std::FILE *stream = std::fopen(path, "rb");
    if (stream == nullptr)
        return bytes;
    char chunk[4096];
    std::size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, stream)) > 0)
        bytes.append(chunk, count);
    std::fclose(stream);
    return bytes;
}

std::string written(const std::vector<std::string> &pieces)
{
    static document_writer document;
    const std::string written_file = scratch_file(".html");
    EXPECT_TRUE(create_document(&document, written_file.c_str()));
    for (const std::string &piece : pieces) {
        char *room = document_room(&document, piece.size());
        std::memcpy(room, piece.data(), piece.size());
        document_filled(&document, room + piece.size());
    }
    EXPECT_TRUE(close_document(&document));
    std::string bytes = file_bytes(written_file.c_str());
    std::remove(written_file.c_str());
    return bytes;
}

TEST(document_room, every_byte_reaches_the_document_in_order)
{
    const std::string big(DOCUMENT_CHUNK_SIZE, 'b');
    const std::string almost(DOCUMENT_CHUNK_SIZE - 1, 'c');
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"<html>\r\n", "", "<center>"},
        {"x", big, "y"},
        {almost, "de", almost, "f"},
        {std::string("a\0b", 3), "\n\r"},
    };
    for (const std::vector<std::string> &pieces : cases) {
        std::string expected;
        for (const std::string &piece : pieces)
            expected += piece;
        EXPECT_EQ(expected, written(pieces)) << pieces.size() << " pieces";
    }
}

struct encode_case {
    std::string text;
    std::size_t room;
    std::string expected;
};

TEST(encode_line_ends, writes_every_lf_as_crlf_and_nothing_else_changes)
{
    const encode_case cases[] = {
        {"", 10, ""},
        {"<html>\n", 10, "<html>\r\n"},
        {"</style></head>\n<body><center>", 40, "</style></head>\r\n<body><center>"},
        {"a\rb\n", 10, "a\rb\r\n"},
        {"\n\n", 10, "\r\n\r\n"},
        {"abc", 2, "ab"},
        {"a\nb", 2, "a"},
        {"a\nb", 3, "a\r\n"},
    };
    for (const encode_case &c : cases) {
        char encoded[64];
        std::size_t stored = encode_line_ends(c.text.data(), c.text.size(), encoded, c.room);
        EXPECT_EQ(c.expected, std::string(encoded, stored)) << "text: " << c.text;
    }
}

} // namespace
