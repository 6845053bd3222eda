#include "check/markup.h"

#include <cstring>

// The HTML tokenizer's rules for text in a table cell, as far as they decide what a name shows:
// which "<" opens a tag, a comment or a declaration, which "&" starts a character reference, and
// which elements take everything up to their end tag as their text.

namespace
{

struct scan {
    const char *text;
    std::size_t length;
    std::size_t at;
    markup_effect effect;
};

// Every tag and attribute name that matters here is shorter; a longer one is kept cut short.
constexpr std::size_t NAME_SIZE = 16;

// What a start tag does besides changing the text, and how it ends.
struct tag_seen {
    char name[NAME_SIZE]; // lower case
    bool name_whole;      // ended in the text, not running on into the sheet's own markup
    bool loads;
    bool runs;
    bool closed;         // by its own ">", not by one of the sheet's
    bool quote_unclosed; // an attribute value runs on into the sheet's own markup
};

void worsen(scan *s, markup_effect effect)
{
    if (effect > s->effect)
        s->effect = effect;
}

bool is_letter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

bool is_hex_digit(char c)
{
    return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether text (length bytes) starts with word, in any case.
bool starts_with(const char *text, std::size_t length, const char *word)
{
    std::size_t size = std::strlen(word);
    if (length < size)
        return false;
    for (std::size_t at = 0; at < size; ++at)
        if (lower(text[at]) != word[at])
            return false;
    return true;
}

// Where word first stands in text, in any case, or length.
std::size_t find_word(const char *text, std::size_t length, const char *word)
{
    for (std::size_t at = 0; at < length; ++at)
        if (starts_with(text + at, length - at, word))
            return at;
    return length;
}

bool is_one_of(const char *name, const char *const *names)
{
    for (; *names != nullptr; ++names)
        if (std::strcmp(name, *names) == 0)
            return true;
    return false;
}

// The named references a browser reads without their ";": "AT&copy" prints "AT©".
const char *const LEGACY_REFERENCES[] = {
    "AElig",  "AMP",    "Aacute", "Acirc",  "Agrave", "Aring",  "Atilde", "Auml",   "COPY",
    "Ccedil", "ETH",    "Eacute", "Ecirc",  "Egrave", "Euml",   "GT",     "Iacute", "Icirc",
    "Igrave", "Iuml",   "LT",     "Ntilde", "Oacute", "Ocirc",  "Ograve", "Oslash", "Otilde",
    "Ouml",   "QUOT",   "REG",    "THORN",  "Uacute", "Ucirc",  "Ugrave", "Uuml",   "Yacute",
    "aacute", "acirc",  "acute",  "aelig",  "agrave", "amp",    "aring",  "atilde", "auml",
    "brvbar", "ccedil", "cedil",  "cent",   "copy",   "curren", "deg",    "divide", "eacute",
    "ecirc",  "egrave", "eth",    "euml",   "frac12", "frac14", "frac34", "gt",     "iacute",
    "icirc",  "iexcl",  "igrave", "iquest", "iuml",   "laquo",  "lt",     "macr",   "micro",
    "middot", "nbsp",   "not",    "ntilde", "oacute", "ocirc",  "ograve", "ordf",   "ordm",
    "oslash", "otilde", "ouml",   "para",   "plusmn", "pound",  "quot",   "raquo",  "reg",
    "sect",   "shy",    "sup1",   "sup2",   "sup3",   "szlig",  "thorn",  "times",  "uacute",
    "ucirc",  "ugrave", "uml",    "uuml",   "yacute", "yen",    "yuml",   nullptr};

// The bytes a character reference at "&" takes, or 0 where the "&" prints as typed. Every name
// of letters and digits closed by ";" counts as a reference: the full table of them is large,
// and a name that holds "&word;" without meaning one is rare.
std::size_t reference_length(const char *text, std::size_t length)
{
    std::size_t at = 1;
    if (at < length && text[at] == '#') {
        bool hex = at + 1 < length && lower(text[at + 1]) == 'x';
        std::size_t digits = at + (hex ? 2 : 1);
        std::size_t end = digits;
        while (end < length && (hex ? is_hex_digit(text[end]) : is_digit(text[end])))
            ++end;
        if (end == digits)
            return 0;
        return end < length && text[end] == ';' ? end + 1 : end;
    }
    if (at >= length || !is_letter(text[at]))
        return 0;
    std::size_t end = at;
    while (end < length && (is_letter(text[end]) || is_digit(text[end])))
        ++end;
    if (end < length && text[end] == ';')
        return end + 1;
    for (const char *const *name = LEGACY_REFERENCES; *name != nullptr; ++name) {
        std::size_t size = std::strlen(*name);
        if (end - at >= size && std::strncmp(text + at, *name, size) == 0)
            return at + size;
    }
    return 0;
}

// The letters of markup, which a list writes as references to print them as typed.
bool is_markup_letter(unsigned letter)
{
    return letter == '<' || letter == '>' || letter == '&' || letter == '"' || letter == '\'' ||
           letter == '=';
}

// Up to the ">" that ends a comment-like token, or to the text's end, where the cell's own
// closing tag ends it.
void skip_to_tag_end(scan *s)
{
    const void *end = std::memchr(s->text + s->at, '>', s->length - s->at);
    s->at = end == nullptr ? s->length
                           : static_cast<std::size_t>(static_cast<const char *>(end) - s->text) + 1;
}

// "<!": a comment, which an unclosed one makes of the whole rest of the sheet, or a
// declaration or bogus comment that ends at the next ">".
void scan_declaration(scan *s)
{
    const char *from = s->text + s->at;
    std::size_t rest = s->length - s->at;
    worsen(s, changes_text);
    if (!starts_with(from, rest, "<!--")) {
        skip_to_tag_end(s);
        return;
    }
    // "<!-->" and "<!--->" close at once.
    if (rest > 4 && (from[4] == '>' || (from[4] == '-' && rest > 5 && from[5] == '>'))) {
        s->at += from[4] == '>' ? 5 : 6;
        return;
    }
    std::size_t body = 4;
    std::size_t closing = body + find_word(from + body, rest - body, "-->");
    std::size_t bang = body + find_word(from + body, rest - body, "--!>");
    if (closing == rest && bang == rest) {
        worsen(s, hides_later_tags);
        s->at = s->length;
        return;
    }
    s->at += closing < bang ? closing + 3 : bang + 4;
}

// Attributes that fetch what they name, on any element that takes them.
const char *const LOADING_ATTRIBUTES[] = {"src",    "srcset", "poster", "background",
                                          "lowsrc", "dynsrc", nullptr};
// Attributes whose "javascript:" runs, on a click or at once.
const char *const URL_ATTRIBUTES[] = {"href", "src", "action", "formaction", "data", nullptr};

void judge_attribute(tag_seen *tag, const char *name, const char *value, std::size_t length)
{
    if (name[0] == 'o' && name[1] == 'n' && name[2] != '\0')
        tag->runs = true;
    std::size_t lead = 0;
    while (lead < length &&
           (is_space(value[lead]) || static_cast<unsigned char>(value[lead]) < 0x20))
        ++lead;
    if (is_one_of(name, URL_ATTRIBUTES) && starts_with(value + lead, length - lead, "javascript:"))
        tag->runs = true;
    if (is_one_of(name, LOADING_ATTRIBUTES) ||
        (std::strcmp(name, "href") == 0 && std::strcmp(tag->name, "link") == 0) ||
        (std::strcmp(name, "data") == 0 && std::strcmp(tag->name, "object") == 0) ||
        (std::strcmp(name, "style") == 0 && (find_word(value, length, "url(") < length ||
                                             find_word(value, length, "image-set(") < length)) ||
        (std::strcmp(name, "http-equiv") == 0 &&
         starts_with(value + lead, length - lead, "refresh")))
        tag->loads = true;
}

// Copies the lower-cased name from text into name (NAME_SIZE bytes), cut short.
void keep_name(const char *text, std::size_t length, char *name)
{
    std::size_t at = 0;
    for (; at < length && at < NAME_SIZE - 1; ++at)
        name[at] = lower(text[at]);
    name[at] = '\0';
}

std::size_t run_until(const scan *s, std::size_t at, const char *stops)
{
    while (at < s->length && !is_space(s->text[at]) && std::strchr(stops, s->text[at]) == nullptr)
        ++at;
    return at;
}

std::size_t skip_spaces(const scan *s, std::size_t at)
{
    while (at < s->length && is_space(s->text[at]))
        ++at;
    return at;
}

// A start or end tag from its "<": its name and attributes, as far as its ">".
tag_seen scan_tag(scan *s)
{
    tag_seen tag = {};
    std::size_t at = s->at + (s->text[s->at + 1] == '/' ? 2 : 1);
    std::size_t name_end = run_until(s, at, "/>");
    keep_name(s->text + at, name_end - at, tag.name);
    tag.name_whole = name_end < s->length;
    for (at = name_end; at < s->length;) {
        at = skip_spaces(s, at);
        if (at < s->length && s->text[at] == '/') {
            ++at;
            continue;
        }
        if (at >= s->length || s->text[at] == '>')
            break;
        // An attribute name may start with "=", and holds anything else up to a space, "/",
        // ">" or "=".
        std::size_t attribute = at;
        at = run_until(s, at + 1, "/>=");
        char name[NAME_SIZE];
        keep_name(s->text + attribute, at - attribute, name);
        std::size_t after_name = skip_spaces(s, at);
        if (after_name >= s->length || s->text[after_name] != '=') {
            judge_attribute(&tag, name, "", 0);
            continue;
        }
        at = skip_spaces(s, after_name + 1);
        std::size_t value = at;
        std::size_t value_end;
        if (at < s->length && (s->text[at] == '"' || s->text[at] == '\'')) {
            const void *quote = std::memchr(s->text + at + 1, s->text[at], s->length - at - 1);
            if (quote == nullptr) {
                tag.quote_unclosed = true;
                s->at = s->length;
                return tag;
            }
            value = at + 1;
            value_end = static_cast<std::size_t>(static_cast<const char *>(quote) - s->text);
            at = value_end + 1;
        } else {
            value_end = at = run_until(s, at, ">");
        }
        judge_attribute(&tag, name, s->text + value, value_end - value);
    }
    tag.closed = at < s->length;
    s->at = tag.closed ? at + 1 : s->length;
    return tag;
}

// Elements whose text runs to their end tag, markup and all; plaintext has none.
const char *const RAW_TEXT_ELEMENTS[] = {"script",   "style",    "xmp",      "iframe", "noembed",
                                         "noframes", "noscript", "textarea", "title",  nullptr};

// The text of a raw-text element, from after its start tag: up to its end tag, or, without
// one, the rest of the sheet.
void scan_raw_text(scan *s, const char *name)
{
    const char *from = s->text + s->at;
    std::size_t rest = s->length - s->at;
    char end_tag[NAME_SIZE + 2] = "</";
    std::size_t size = std::strlen(name);
    std::memcpy(end_tag + 2, name, size + 1);
    size += 2;
    std::size_t end = 0;
    for (;; end += size) {
        end += find_word(from + end, rest - end, end_tag);
        if (end + size >= rest) {
            // Without its end tag, or its name running on into the sheet's own markup.
            worsen(s, hides_later_tags);
            s->at = s->length;
            return;
        }
        char after = from[end + size];
        if (is_space(after) || after == '/' || after == '>')
            break;
    }
    if (std::strcmp(name, "style") == 0 &&
        (find_word(from, end, "url(") < end || find_word(from, end, "@import") < end))
        worsen(s, loads_from_elsewhere);
    s->at += end;
    scan_tag(s);
}

void scan_markup(scan *s)
{
    char next = s->at + 1 < s->length ? s->text[s->at + 1] : '\0';
    char after = s->at + 2 < s->length ? s->text[s->at + 2] : '\0';
    if (next == '!' || next == '?' || (next == '/' && !is_letter(after))) {
        if (next == '!')
            scan_declaration(s);
        else if (next == '/' && after == '>')
            s->at += 3;
        else
            skip_to_tag_end(s);
        worsen(s, changes_text);
        return;
    }
    if (!is_letter(next) && !(next == '/' && is_letter(after))) {
        // "3 < 5", "<3": a "<" that opens nothing prints as typed.
        ++s->at;
        return;
    }
    bool end_tag = next == '/';
    tag_seen tag = scan_tag(s);
    worsen(s, changes_text);
    if (tag.quote_unclosed)
        worsen(s, hides_later_tags);
    if (tag.runs)
        worsen(s, runs_script);
    if (end_tag || !tag.name_whole)
        return;
    // A start tag whose name ran on into the sheet's own markup is of no element here.
    if (tag.loads)
        worsen(s, loads_from_elsewhere);
    if (std::strcmp(tag.name, "script") == 0)
        worsen(s, runs_script);
    if (std::strcmp(tag.name, "plaintext") == 0)
        worsen(s, hides_later_tags);
    if (!is_one_of(tag.name, RAW_TEXT_ELEMENTS))
        return;
    // Closed by the cell's own ">" instead, it has nothing left of the name to end it in.
    if (tag.closed)
        scan_raw_text(s, tag.name);
    else
        worsen(s, hides_later_tags);
}

} // namespace

unsigned written_letter(const char *text, std::size_t length, std::size_t *taken)
{
    static const struct {
        const char *name;
        unsigned letter;
    } NAMED[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}};
    for (const auto &named : NAMED) {
        std::size_t size = std::strlen(named.name);
        if (length >= size && std::strncmp(text, named.name, size) == 0) {
            *taken = size;
            return named.letter;
        }
    }
    if (length < 4 || text[0] != '&' || text[1] != '#')
        return 0;
    bool hex = lower(text[2]) == 'x';
    unsigned letter = 0;
    std::size_t at = hex ? 3 : 2;
    for (; at < length && (hex ? is_hex_digit(text[at]) : is_digit(text[at])); ++at) {
        unsigned digit = is_digit(text[at]) ? static_cast<unsigned>(text[at] - '0')
                                            : static_cast<unsigned>(lower(text[at]) - 'a' + 10);
        letter = letter * (hex ? 16 : 10) + digit;
        if (letter > 0x10FFFF)
            return 0;
    }
    if (at == (hex ? 3U : 2U) || at >= length || text[at] != ';' || letter == 0)
        return 0;
    *taken = at + 1;
    return letter;
}

bool makes_markup(const char *text, std::size_t length)
{
    if (length == 0)
        return false;
    if (text[0] == '&')
        return reference_length(text, length) > 0;
    char next = length > 1 ? text[1] : '\0';
    // As scan_markup reads it: "3 < 5" and "<3" print as typed.
    return text[0] == '<' && (is_letter(next) || next == '!' || next == '?' || next == '/');
}

markup_effect markup_in(text_view tag_text, std::size_t inserted_break)
{
    static const std::size_t LINE_BREAK_BYTES = 4; // "<br>"
    scan s = {tag_text.bytes, tag_text.length, 0, no_markup};
    while (s.at < s.length) {
        if (s.at == inserted_break) {
            s.at += LINE_BREAK_BYTES;
        } else if (s.text[s.at] == '<') {
            scan_markup(&s);
        } else if (s.text[s.at] == '&') {
            std::size_t reference = reference_length(s.text + s.at, s.length - s.at);
            std::size_t written = 0;
            // "&lt;" and "&amp;" are how a list prints "<" and "&" as typed.
            if (reference > 0 &&
                !is_markup_letter(written_letter(s.text + s.at, s.length - s.at, &written)))
                worsen(&s, changes_text);
            s.at += reference > 0 ? reference : 1;
        } else {
            ++s.at;
        }
    }
    return s.effect;
}
