#!/usr/bin/env python3
"""Writes the golden cases: for each, a list (Korvela.txt) and the sheet the tool must write
from it (expected.html), built here from the document's templates, independently of the tool.

Run it after changing a case; commit what it writes. Never fill a case from the tool's output.
"""
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
CASES = os.path.join(HERE, "cases")

HEAD = [
    "<html><head><title>Korvela</title>\n",
    "<meta http-equiv='content-type' content='text/html; charset=%s'>\n",
    "<style>body {margin: 0px 0px 0px 0px !important;}\n",
    "th {font-size: %s;}\n",
    ".otoc {-moz-transform: rotate(-180deg);\n",
    "-webkit-transform: rotate(-180deg);transform: rotate(-180deg);}\n",
    "hr {left: 0px;width: 720px;}\n",
    "</style></head>\n<body><center>",
]
TAIL = "</center></body></html>\n"
LINE_MAX_BYTES = 199
BREAK_OPEN = "<p style='page-break-before: always'>\n"
BREAK_CLOSE = "</p>\n"
PANEL = "<table border='2' width='720px'>\n%s</table>\n"
BLANK = "<tr><th height='236px'>&nbsp;</th></tr>\n"
UPSIDE_DOWN = "<tr><th height='236px'class='otoc'>%s</th></tr>\n"
UPRIGHT = "<tr><th height='236px'>%s</th></tr>\n"
PAIR = ("<table border='1' width='720px'>\n"
        "<tr><th width='360px' height='161px' class='otoc'>%s</th>\n"
        "<th width='360px' height='161px' class='otoc'>%s</th></tr>\n"
        "<tr><th width='360px' height='161px'>%s</th>\n"
        "<th width='360px' height='161px'>%s</th></tr>\n"
        "</table>\n")


def text_stream(raw):
    """The list as a Windows text stream reads it."""
    raw = raw.split(b"\x1a")[0]
    return raw.replace(b"\r\n", b"\n")


def line_reads(raw):
    """Every read of at most LINE_MAX_BYTES bytes, each ending after its line feed or at the end."""
    data = text_stream(raw)
    reads, at = [], 0
    while at < len(data):
        cut = data.find(b"\n", at, at + LINE_MAX_BYTES)
        end = at + LINE_MAX_BYTES if cut < 0 else cut + 1
        reads.append(data[at:end])
        at = end
    return reads


def tag_text(read):
    text = read.split(b"\0")[0]
    for end in (b"\r", b"\n"):
        text = text.split(end)[0]
    return text.replace(b"=", b"<br>", 1)


def settings_of(reads):
    layout, charset, dropped = 1, b"windows-1250", False
    if reads:
        line = reads[0].split(b"\0")[0].split(b"\r")[0].split(b"\n")[0]
        if b"=" in line:
            at = line.index(b"=")
            value = line[at + 1:at + 18].upper()
            for name in (b"UTF-8", b"WINDOWS-1250"):
                if value.startswith(name):
                    charset = name
            layout = {b"2": 2, b"6": 6}.get(line[at - 1:at] if at else b"", 1)
            dropped = True
    return layout, charset, dropped


def sheet(raw):
    reads = line_reads(raw)
    layout, charset, dropped = settings_of(reads)
    if dropped:
        reads = reads[1:]
    head = "".join(HEAD).replace("%s", charset.decode(), 1)
    out = [head.replace("%s", "36px" if layout == 6 else "80px", 1).encode("latin-1")]
    texts = [tag_text(r) for r in reads]
    count = 0
    if layout == 6:
        parts = PAIR.encode().split(b"%s")
        for i in range(0, len(texts), 2):
            first = texts[i]
            second = texts[i + 1] if i + 1 < len(texts) else b"&nbsp;"
            count += 1
            if count > 6:
                out.append(BREAK_OPEN.encode())
            count += 1
            out += [p + t for p, t in zip(parts, [first, second, first, second, b""])]
    else:
        rows = [UPSIDE_DOWN, UPRIGHT] if layout == 2 else [BLANK, UPSIDE_DOWN, UPRIGHT, BLANK]
        for text in texts:
            count += 1
            tag = b"".join((PANEL % row).encode().replace(b"%s", text) for row in rows)
            if count > layout:
                tag = BREAK_OPEN.encode() + tag + BREAK_CLOSE.encode()
            out.append(tag)
    out.append(TAIL.encode())
    return b"".join(out).replace(b"\n", b"\r\n")


def names(count, prefix="Name"):
    return "".join("%s %d=Surname %d\n" % (prefix, n, n) for n in range(1, count + 1))


A199 = "a" * 199
with open(os.path.join(HERE, "..", "..", "examples", "Korvela.txt"), "rb") as example:
    EXAMPLE = example.read()
CZECH = "Jiří=Nováček\r\nŽofie Šťastná\r\nLudmila=Dvořáková\r\nČeněk Řehoř\r\n"

# Each case: name, list bytes (None: no list at all), expected status, note.
CASES_TABLE = [
    ("no-list", None, 1),
    ("empty-list", b"", 0),
    ("one-name", b"Petra Svobodova\n", 0),
    ("three-names-four-panel", b"Anna\nBohdan\nCyril\n", 0),
    ("first-line-without-separator", b"Anna Novak\nBohdan=Sedlak\n", 0),
    ("first-name-with-separator-is-dropped", b"Anna=Novak\nBohdan=Sedlak\nCyril\n", 0),
    ("separators-and-empty-line", b"Opening\nFirst=Second=Third\n\n=Leading\nTrailing=\n", 0),
    ("long-line-split-in-two", ("Start\n" + "b" * 250 + "\nEnd\n").encode(), 0),
    ("line-of-199-bytes", ("Start\n" + A199 + "\nEnd\n").encode(), 0),
    ("line-of-198-bytes", ("Start\n" + "c" * 198 + "\nEnd\n").encode(), 0),
    ("line-of-200-bytes", ("Start\n" + "d" * 200 + "\nEnd\n").encode(), 0),
    ("crlf-at-the-read-boundary", ("Start\r\n" + "e" * 198 + "\r\n" + "f" * 199 + "\r\nEnd\r\n").encode(), 0),
    ("lone-carriage-return", b"Start\nBefore\rAfter\nLast\r\rx\n", 0),
    ("end-of-list-byte", b"Start\nKept\n\x1aLost\nAlso lost\n", 0),
    ("nul-inside-a-line", b"Start\nSeen\0unseen\nNext\n", 0),
    ("final-line-without-line-feed", b"Start\nMiddle\nLast", 0),
    ("markup-and-percent-unescaped", b"Start\n<b>Bold</b> &amp; co\n100% %s %d %n %%\n", 0),
    ("czech-windows-1250", CZECH.encode("cp1250"), 0),
    # The sample list that the packages carry.
    ("example-list", EXAMPLE, 0),
    # Saved as "Unicode Text" (UTF-16): every line but the first starts with a NUL byte, so the
    # tags come out empty, and the first shows the byte-order mark and a letter.
    ("utf-16-list", "Anna=Nováková\r\nPetr Svoboda\r\n".encode("utf-16-le").join([b"\xff\xfe", b""]),
     0),
    ("settings-equals-only", b"=\nAnna\nBohdan\n", 0),
    ("settings-utf8-no-selector", ("=UTF-8\n" + "Jiří=Nováček\n").encode("utf-8"), 0),
    ("settings-six-empty-value", ("6=\n" + names(3)).encode(), 0),
    ("settings-two-windows-1250-lower", ("2=windows-1250\n" + names(2)).encode(), 0),
    ("settings-space-before-charset", b"2= UTF-8\nAnna\n", 0),
    ("settings-utf8-without-hyphen", b"2=UTF8\nAnna\n", 0),
    ("settings-utf8-followed-by-letters", b"2=utf-8xyz\nAnna\n", 0),
    ("settings-four-and-crlf", b"4=UTF-8\r\nAnna\r\nBohdan\r\n", 0),
    ("settings-only-first-separator", b"x6=2=UTF-8\nAnna\n", 0),
    ("settings-behind-byte-order-mark", b"\xef\xbb\xbf6=UTF-8\nAnna\nBohdan\n", 0),
    ("name-behind-byte-order-mark", b"\xef\xbb\xbfAnna\nBohdan\n", 0),
    ("settings-long-first-line", ("6=UTF-8" + "g" * 200 + "\nAnna\n").encode(), 0),
    ("settings-first-line-of-199-bytes", ("2=" + "h" * 197 + "\nAnna\n").encode(), 0),
    ("two-panel-three-names", ("2=UTF-8\n" + names(3)).encode(), 0),
    ("two-panel-four-names", ("2=UTF-8\n" + names(4)).encode(), 0),
    ("two-column-one-name", ("6=UTF-8\n" + names(1)).encode(), 0),
    ("two-column-six-names", ("6=UTF-8\n" + names(6)).encode(), 0),
    ("two-column-seven-names", ("6=UTF-8\n" + names(7)).encode(), 0),
    ("two-column-nine-names", ("6=UTF-8\n" + names(9)).encode(), 0),
    ("two-column-empty-line", b"6=\nAnna\n\nCyril\nDana\n\n", 0),
    ("two-column-percent-in-names", b"6=\n%s first\n%d %n second\n%s odd\n", 0),
    ("two-column-line-of-199-bytes", ("6=\nAnna\n" + A199 + "\nEnd\n").encode(), 0),
]


def main():
    if os.path.isdir(CASES):
        shutil.rmtree(CASES)
    for name, raw, status in CASES_TABLE:
        folder = os.path.join(CASES, name)
        os.makedirs(folder)
        if raw is not None:
            with open(os.path.join(folder, "Korvela.txt"), "wb") as f:
                f.write(raw)
            with open(os.path.join(folder, "expected.html"), "wb") as f:
                f.write(sheet(raw))
        if status:
            with open(os.path.join(folder, "status"), "w") as f:
                f.write("%d\n" % status)
    print("%d cases written" % len(CASES_TABLE), file=sys.stderr)


if __name__ == "__main__":
    main()
