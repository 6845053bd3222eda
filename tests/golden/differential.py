#!/usr/bin/env python3
"""The tool against the model of make_cases.py, on lists no one wrote by hand.

Generates a few hundred seeded random lists (names, "=", CR, LF, CR LF, 0x1A, NUL, byte-order
marks, runs longer than one read), and long lists in which each awkward byte sits a few bytes
either side of the reader's chunk boundary and of the writer's; runs each through the golden
runner and compares its sheet and exit status with the model's. The same seeds give the same
lists on every run. Failing cases are kept in ./differential-failures/ to be run again.

usage: differential.py TOOL [EMULATOR [ARG...]]
"""
import concurrent.futures
import os
import random
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_cases  # noqa: E402  (the model)

RANDOM_LISTS = 300
SHIFTS = range(-3, 4)
# The tool reads the list in 64 KiB chunks and writes the sheet in 256 KiB ones.
READER_BOUNDARY = 64 * 1024
WRITER_BOUNDARY = 256 * 1024
TAIL = make_cases.TAIL.replace("\n", "\r\n").encode()

PIECES = [b"Anna", b"Novak", b" ", b"=", b"\n", b"\r\n", b"\r", b"Ji\xc5\x99\xc3\xad",
          b"\x8e\x9d", b"%s", b"<b>", b"&amp;", b"2", b"6"]
RARE = [b"\x1a", b"\0", b"\xef\xbb\xbf", b"\t"]
SETTINGS = [b"", b"", b"4=\n", b"2=UTF-8\n", b"6=\n", b"6=utf-8\r\n", b"x=WINDOWS-1250\n", b"=\n",
            b"2= UTF-8\n", b"\xef\xbb\xbf6=UTF-8\n"]


# A line of about one read's length, where the read's limit and the line end meet.
def near_limit_line(rng):
    length = make_cases.LINE_MAX_BYTES + rng.randrange(-3, 3)
    text = bytes(rng.choice(b"ab=\r") if rng.random() < 0.02 else ord("w") for _ in range(length))
    return text + rng.choice([b"\n", b"\r\n", b"\r\r\n", b"\r", b""])


def random_list(rng):
    parts = [rng.choice(SETTINGS)]
    for _ in range(rng.randrange(40)):
        roll = rng.random()
        if roll < 0.03:
            parts.append(rng.choice(RARE))
        elif roll < 0.06:
            parts.append(bytes([rng.choice(b"xyz=\r")]) * rng.randrange(150, 450))
        elif roll < 0.12:
            parts.append(near_limit_line(rng))
        else:
            parts.append(rng.choice(PIECES))
    return b"".join(parts)


# Each awkward byte, as a line of the list: the line, and where the byte that must straddle a
# boundary stands in it.
PROBES = {
    "crlf": (b"Crlf\r\n", 4),
    "lone-cr": (b"Lone\rlost\n", 4),
    "end-byte": (b"End\x1aLost\n", 3),
    "separator": (b"Sep=arator\n", 3),
    "read-199": (b"r" * 250 + b"\n", 199),
}

# Where the same byte's trace stands in the sheet: the first line end after the text, the
# cut, the closing line, the "<br>", the end of the 199-byte text.
SHEET_MARKS = {
    "crlf": lambda sheet, start: sheet.index(b"\r\n", sheet.index(b"Crlf", start)),
    "lone-cr": lambda sheet, start: sheet.index(b"Lone", start) + 4,
    "end-byte": lambda sheet, start: len(sheet) - len(TAIL),
    "separator": lambda sheet, start: sheet.index(b"<br>", start),
    "read-199": lambda sheet, start: sheet.index(b"r" * 199, start) + 199,
}

FILLER = b"Filler name=" + b"f" * 78 + b"\n"
LAYOUTS = {1: b"4=", 2: b"2=", 6: b"6="}
PAD_LINES = 10


def padding(total, lines):
    """The given number of lines, holding total bytes between them besides their line feeds."""
    each, extra = divmod(total, lines)
    return b"".join(b"p" * (each + (n < extra)) + b"\n" for n in range(lines))


def reader_boundary_list(layout, probe, shift):
    """The probe's byte at READER_BOUNDARY + shift in the list."""
    line, at = PROBES[probe]
    body = LAYOUTS[layout] + b"\n"
    body += FILLER * ((READER_BOUNDARY - 100 - at - len(body)) // len(FILLER))
    return body + padding(READER_BOUNDARY + shift - at - len(body) - 1, 1) + line + b"Last\n"


def writer_boundary_list(layout, probe, shift):
    """The probe's trace at WRITER_BOUNDARY + shift in the sheet, or None where no padding
    puts it there."""
    line, _ = PROBES[probe]
    target = WRITER_BOUNDARY + shift
    most = PAD_LINES * (make_cases.LINE_MAX_BYTES - 1)
    for charset in (b"", b"UTF-8"):
        head = LAYOUTS[layout] + charset + b"\n"
        # An even count of fillers and pad lines: in pairs, the probe then opens a pair.
        pair = len(make_cases.sheet(head + FILLER * 12)) - len(make_cases.sheet(head + FILLER * 10))
        fillers = 10 + 2 * ((target - len(make_cases.sheet(head + FILLER * 10))) // pair)
        for _ in range(50):
            before = head + FILLER * fillers
            start = len(make_cases.sheet(before)) - len(TAIL)
            # Every pad byte moves the trace the same step: two tries find where it lands.
            mark = [SHEET_MARKS[probe](make_cases.sheet(before + padding(total, PAD_LINES) +
                                                        line + b"Last\n"), start)
                    for total in (0, 1)]
            total, rest = divmod(target - mark[0], mark[1] - mark[0])
            if total < 0:
                fillers -= 2
            elif total > most:
                fillers += 2
            elif rest == 0:
                return before + padding(total, PAD_LINES) + line + b"Last\n"
            else:
                break
    return None


def generated_lists():
    for seed in range(RANDOM_LISTS):
        yield "random-%d" % seed, random_list(random.Random(seed))
    for layout in LAYOUTS:
        for probe in PROBES:
            for shift in SHIFTS:
                name = "%s-layout-%d-shift-%+d" % (probe, layout, shift)
                yield "reader-" + name, reader_boundary_list(layout, probe, shift)
                raw = writer_boundary_list(layout, probe, shift)
                if raw is not None:
                    yield "writer-" + name, raw


def write_case(folder, raw):
    os.makedirs(folder)
    with open(os.path.join(folder, "Korvela.txt"), "wb") as out:
        out.write(raw)
    with open(os.path.join(folder, "expected.html"), "wb") as out:
        out.write(make_cases.sheet(raw))


def run_case(folder, runner):
    command = ["bash", os.path.join(HERE, "run_case.sh"), "--once", folder] + runner
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if result.returncode != 0 and len(runner) > 1:
        # Under an emulator a process start can fail now and then (seen once in hundreds of
        # runs under a freshly made wine prefix); a fault of the tool fails the second run too.
        print("%s: failed under the emulator; trying once more" % os.path.basename(folder))
        result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return folder, result.returncode, result.stdout.decode(errors="replace")


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    runner = [os.path.abspath(sys.argv[1])] + sys.argv[2:]
    kept = os.path.abspath("differential-failures")
    shutil.rmtree(kept, ignore_errors=True)
    with tempfile.TemporaryDirectory(prefix="korvela-differential-") as scratch:
        folders = []
        for name, raw in generated_lists():
            folders.append(os.path.join(scratch, name))
            write_case(folders[-1], raw)
        with concurrent.futures.ThreadPoolExecutor(os.cpu_count() or 2) as pool:
            results = list(pool.map(lambda folder: run_case(folder, runner), folders))
        failed = [(folder, output) for folder, status, output in results if status != 0]
        for shown, (folder, output) in enumerate(failed):
            # The first few in full; the rest would only repeat the same fault.
            print("%s:\n%s" % (os.path.basename(folder), output if shown < 5 else "differs"))
            shutil.copytree(folder, os.path.join(kept, os.path.basename(folder)))
    print("differential: %d lists, %d differ from the model%s" % (
        len(folders), len(failed), " (kept in %s)" % kept if failed else ""))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
