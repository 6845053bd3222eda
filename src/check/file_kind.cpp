#include "check/file_kind.h"

#include <cstring>

namespace
{

// The bytes a kind of file starts with, at an offset; none holds a NUL.
struct signature {
    std::size_t offset;
    const char *bytes;
    file_kind kind;
};

const signature SIGNATURES[] = {
    {0, "%PDF-", pdf_file},
    {0, "\x89PNG\r\n\x1A\n", picture_file},
    {0, "GIF87a", picture_file},
    {0, "GIF89a", picture_file},
    {0, "\xFF\xD8\xFF", picture_file},
    {8, "WEBP", picture_file},
    {4, "ftypheic", picture_file},
    {4, "ftypmif1", picture_file},
    {0, "{\\rtf", document_file},
    {0, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", old_office_file},
    {0,
     "\x7F"
     "ELF",
     program_file},
    {0, "PK\x03\x04", archive_file},
};

bool holds(text_view start, const char *bytes)
{
    std::size_t length = std::strlen(bytes);
    for (std::size_t at = 0; at + length <= start.length; ++at)
        if (std::memcmp(start.bytes + at, bytes, length) == 0)
            return true;
    return false;
}

// A ZIP names its first files near its start: a workbook's and a document's are their own.
file_kind kind_of_zip(text_view start)
{
    if (holds(start, "xl/") || holds(start, "opendocument.spreadsheet"))
        return workbook_file;
    if (holds(start, "word/") || holds(start, "ppt/") || holds(start, "opendocument.text") ||
        holds(start, "opendocument.presentation"))
        return document_file;
    return archive_file;
}

} // namespace

file_kind kind_of_file(text_view start)
{
    for (const signature &known : SIGNATURES) {
        std::size_t length = std::strlen(known.bytes);
        if (start.length >= known.offset + length &&
            std::memcmp(start.bytes + known.offset, known.bytes, length) == 0)
            return known.kind == archive_file ? kind_of_zip(start) : known.kind;
    }
    // "MZ" may start a name; a program's header holds NUL bytes right after it.
    static const std::size_t PROGRAM_HEADER_BYTES = 64;
    text_view header = {start.bytes,
                        start.length < PROGRAM_HEADER_BYTES ? start.length : PROGRAM_HEADER_BYTES};
    if (header.length > 2 && header.bytes[0] == 'M' && header.bytes[1] == 'Z' &&
        std::memchr(header.bytes, '\0', header.length) != nullptr)
        return program_file;
    return plain_text;
}
