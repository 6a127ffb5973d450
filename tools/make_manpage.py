#!/usr/bin/env python3
"""Writes the manual page cardwright(1) from the program's own --help and 'help COMMAND'
texts, so that the two never disagree.

    make_manpage.py PROGRAM OUT_FILE   (OUT_FILE ending in .gz is written compressed)
"""
import gzip
import os
import re
import subprocess
import sys


def run(program, *args):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    done = subprocess.run([program, *args], check=True, capture_output=True, text=True, env=env)
    # Some builds print their usage on the error stream.
    return done.stdout or done.stderr


def roff(text):
    """Text as roff shows it: backslashes and leading dots or apostrophes escaped."""
    lines = []
    for line in text.rstrip("\n").split("\n"):
        line = line.replace("\\", "\\e").replace("-", "\\-")
        if line.startswith((".", "'")):
            line = "\\&" + line
        lines.append(line)
    return "\n".join(lines)


def commands(program_help):
    """The command words the program's help lists, in its order."""
    names, listing = [], False
    for line in program_help.split("\n"):
        if line.rstrip().endswith("without a display:"):
            listing = True
        elif listing and line.startswith("Options:"):
            break
        elif listing and re.match(r"^  [a-z]", line):
            # A command may be two words ("format new"); the column after it is 3 blanks off.
            names.append(re.split(r"\s{3,}", line.strip())[0])
    return names


def main():
    program, out_file = sys.argv[1], sys.argv[2]
    version = run(program, "--version").strip().split()[-1]
    program_help = run(program, "--help")
    page = [
        '.TH CARDWRIGHT 1 "" "Cardwright %s" "User Commands"' % version,
        ".SH NAME",
        "cardwright \\- fill in, lay out and print bridge convention cards",
        ".SH SYNOPSIS",
        ".B cardwright",
        "[\\fB\\-\\-root\\fR \\fIDIR\\fR] [\\fIFILE\\fR]",
        ".br",
        ".B cardwright",
        "\\fICOMMAND\\fR [\\fIOPTIONS\\fR]",
        ".SH DESCRIPTION",
        "Without a command, Cardwright opens its window on the data root; given a card "
        "file, it opens that card.",
        ".PP",
        ".nf",
        roff(program_help),
        ".fi",
        ".SH COMMANDS",
    ]
    for name in commands(program_help):
        page += [".SS %s" % name, ".nf", roff(run(program, "help", *name.split())), ".fi"]
    page += [
        ".SH FILES",
        ".TP",
        ".I ~/.local/share/cardwright",
        "The default data root: card formats, cards, notes and the card history "
        "(\\fB$XDG_DATA_HOME/cardwright\\fR when that is set).",
        ".SH LICENSE",
        "GNU General Public License, version 3 or later.",
    ]
    text = ("\n".join(page) + "\n").encode("utf-8")
    if out_file.endswith(".gz"):
        # As Debian keeps manual pages: compressed, with no name or time in the header.
        with open(out_file, "wb") as raw, gzip.GzipFile(filename="", mode="wb", fileobj=raw,
                                                       compresslevel=9, mtime=0) as out:
            out.write(text)
    else:
        with open(out_file, "wb") as out:
            out.write(text)


if __name__ == "__main__":
    main()
