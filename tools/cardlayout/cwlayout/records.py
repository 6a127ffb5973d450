"""Field records and the page-file format shared by layouts and cards.

A page file is 8-bit text with CR LF line ends: up to 11 comment lines that
start with "|", 31 header lines, then one record per line made of eight
comma-separated items (kind, attributes 0..4, text, attribute 5).
"""

from dataclasses import dataclass, field

ENCODING = "cp1252"
NEWLINE = "\r\n"
HEADER_LINES = 31
MAX_COMMENT_LINES = 11
APP_VERSION = "6.3.19"

# Kind numbers of the records.
CLEARED_AREA = 1
TEXT_FIELD = 2
CHECK_BOX = 3
CIRCLE = 4
FRAME_BOX = 5
RECTANGLE = 6
LABEL_BOX = 7
KIND8 = 8
ROTATED = 9
LINE = 12
BITMAP = 15
COLOUR_DOT = 16
KIND17 = 17
TICK_MARK = 18
RING = 20
FOOTER_DATE = 21
PRINT_TEXT = 22
OPTION_FIELD = 23
CIRCLED_ITEM = 24

CAPACITY = {
    1: 301, 2: 501, 3: 301, 4: 176, 5: 266, 6: 101, 7: 26, 8: 17, 9: 11,
    12: 201, 15: 26, 16: 2, 17: 51, 18: 51, 20: 4, 21: 1, 22: 3, 23: 31, 24: 201,
}

# Order in which a card page writes its records, kind by kind.
WRITE_ORDER = (15, 7, 2, 3, 1, 4, 5, 6, 8, 12, 16, 17, 22, 18, 20, 23, 9, 24)

KINDS_WITH_TEXT = {2, 7, 8, 9, 15, 17, 22, 24}
# Attributes each kind keeps when read into a card's tables.
KEPT_ATTRS = {
    1: 4, 2: 6, 3: 6, 4: 6, 5: 5, 6: 6, 7: 6, 8: 6, 9: 6, 12: 6, 15: 5,
    16: 6, 17: 6, 18: 4, 20: 3, 21: 6, 22: 6, 23: 5, 24: 6,
}


@dataclass
class Record:
    kind: int
    a: list = field(default_factory=lambda: [0] * 6)
    text: str = ""
    key: str = ""  # the generator's own name for the record; not written
    label: str = ""  # for a ring around a printed letter: the letter; not written

    def __post_init__(self):
        self.a = [int(round(v)) for v in self.a] + [0] * (6 - len(self.a))

    def items(self):
        """The eight items of the record as written to a file."""
        k, a = self.kind, self.a
        if k in (1, 18):
            return [k, a[0], a[1], a[2], a[3], 0, "", 0]
        if k == 20:
            return [k, a[0], a[1], a[2], 0, 0, "", 0]
        if k in (5, 23):
            return [k, a[0], a[1], a[2], a[3], a[4], "", 0]
        if k == 15:
            return [k, a[0], a[1], a[2], a[3], a[4], self.text, 0]
        if k == 6:
            # The colour stands in the text's place, written as a number as a saved card has it.
            return [k, a[0], a[1], a[2], a[3], a[4], a[5], 0]
        if k in (3, 4, 12, 16):
            return [k, a[0], a[1], a[2], a[3], a[4], "", a[5]]
        return [k, a[0], a[1], a[2], a[3], a[4], self.text, a[5]]

    def line(self):
        out = []
        for item in self.items():
            if isinstance(item, str):
                if '"' in item:
                    raise ValueError("record text may not hold a double quote: %r" % item)
                out.append('"%s"' % item)
            else:
                out.append(str(int(item)))
        return ",".join(out)


def sort_for_writing(records):
    """Records in the kind order a saved card page has, stable within a kind."""
    rank = {k: i for i, k in enumerate(WRITE_ORDER)}
    return sorted(records, key=lambda r: rank.get(r.kind, len(rank)))


def page_text(comments, header, records):
    if len(comments) > MAX_COMMENT_LINES:
        raise ValueError("too many comment lines")
    if len(header) != HEADER_LINES:
        raise ValueError("a page needs %d header lines, got %d" % (HEADER_LINES, len(header)))
    lines = []
    for c in comments:
        lines.append(c if c.startswith("|") else "|" + c)
    for h in header:
        h = str(h)
        if h.startswith("|"):
            raise ValueError("header line may not start with '|'")
        lines.append(h)
    lines.extend(r.line() for r in records)
    return NEWLINE.join(lines) + NEWLINE


def write_page(path, comments, header, records):
    data = page_text(comments, header, records).encode(ENCODING)
    with open(path, "wb") as f:
        f.write(data)


def split_items(line):
    """Split a record line into its items; strings lose their quotes.

    Raises ValueError for a malformed line (a quote inside a string, an
    unterminated string, text where a number is expected is left to the caller).
    """
    items = []
    i, n = 0, len(line)
    while True:
        if i < n and line[i] == '"':
            j = line.find('"', i + 1)
            if j < 0:
                raise ValueError("unterminated string")
            items.append(line[i + 1: j])
            i = j + 1
            if i < n and line[i] != ",":
                raise ValueError("text after closing quote")
        else:
            j = line.find(",", i)
            if j < 0:
                j = n
            items.append(line[i:j].strip())
            i = j
        if i >= n:
            break
        i += 1  # the comma
        if i == n:
            items.append("")
            break
    return items


@dataclass
class PageFile:
    comments: list
    header: list
    records: list
    problems: list


def read_page(path):
    """Read a page file strictly; every deviation is listed in problems."""
    with open(path, "rb") as f:
        raw = f.read()
    problems = []
    if b"\n" in raw.replace(b"\r\n", b""):
        problems.append("line end other than CR LF")
    text = raw.decode(ENCODING)
    # Read the way the program does: a line ends at LF, with or without CR before it.
    lines = [ln[:-1] if ln.endswith("\r") else ln for ln in text.split("\n")]
    if lines and lines[-1] == "":
        lines.pop()
    else:
        problems.append("last line not terminated")
    comments = []
    while lines and lines[0].startswith("|"):
        comments.append(lines.pop(0))
    if len(comments) > MAX_COMMENT_LINES:
        problems.append("%d comment lines" % len(comments))
    header = lines[:HEADER_LINES]
    if len(header) < HEADER_LINES:
        problems.append("only %d header lines" % len(header))
    records = []
    for no, line in enumerate(lines[HEADER_LINES:], start=1):
        try:
            items = split_items(line)
        except ValueError as e:
            problems.append("record %d: %s" % (no, e))
            continue
        if len(items) != 8:
            problems.append("record %d has %d items" % (no, len(items)))
            continue
        try:
            nums = [int(items[i]) for i in (0, 1, 2, 3, 4, 5, 7)]
        except ValueError:
            problems.append("record %d: text where a number is expected" % no)
            continue
        kind = nums[0]
        a = nums[1:6] + [nums[6]]
        txt = items[6]
        if kind == 6:
            try:
                a[5] = int(txt)
            except ValueError:
                problems.append("record %d: rectangle colour %r" % (no, txt))
            if line.split(",")[6].startswith('"'):
                # The program reads it either way but saves a number: a page would not
                # come back byte for byte.
                problems.append("record %d: rectangle colour in quotes" % no)
            txt = ""
        records.append(Record(kind, a, txt))
    return PageFile(comments, header, records, problems)
