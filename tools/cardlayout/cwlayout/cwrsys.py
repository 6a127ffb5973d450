"""Reading the settings file the way the program does, for checks and previews."""

from dataclasses import dataclass, field


@dataclass
class FormatRecord:
    code: str
    values: dict = field(default_factory=dict)  # w-key -> value text
    order: list = field(default_factory=list)

    @property
    def base(self):
        return self.values.get("w03", "")[:7]

    @property
    def ext(self):
        return self.values.get("w04", "")

    def num(self, key):
        return leading_number(self.values.get(key, ""))


def leading_number(text):
    """The numeric value of a text: leading blanks skipped, 0 when there is no number."""
    s = text.lstrip(" ")
    out = ""
    for i, ch in enumerate(s):
        if ch.isdigit() or (ch in "+-" and i == 0) or (ch == "." and "." not in out):
            out += ch
        else:
            break
    try:
        v = float(out)
    except ValueError:
        return 0
    return int(v) if v == int(v) else v


@dataclass
class Settings:
    comments: list
    free_line: str
    lines: list          # (key, value) in file order up to w99
    formats: list
    after_end: list
    unclosed: list = field(default_factory=list)   # codes of records that a later w02 overwrote


def parse(text):
    lines = text.split("\r\n")
    if lines and lines[-1] == "":
        lines.pop()
    comments = []
    while lines and lines[0].startswith("|"):
        comments.append(lines.pop(0))
    free = lines.pop(0) if lines else ""
    kv = []
    formats = []
    cur = None
    after = []
    unclosed = []
    ended = False
    for line in lines:
        if ended:
            after.append(line)
            continue
        if len(line) < 5:
            continue
        key, value = line[:3], line[4:]
        kv.append((key, value))
        if key == "w02":
            if cur is not None:
                unclosed.append(cur.code)
            cur = FormatRecord(value)
            cur.values["w02"] = value
            cur.order.append(key)
        elif key == "w98":
            if cur is not None:
                cur.order.append(key)
                formats.append(cur)
            cur = None
        elif key == "w99":
            ended = True
            if cur is not None:
                unclosed.append(cur.code)
                cur = None
        elif key.startswith("w") and cur is not None:
            cur.values[key] = value
            cur.order.append(key)
    return Settings(comments, free, kv, formats, after, unclosed)


def read(path):
    with open(path, "rb") as f:
        return parse(f.read().decode("cp1252"))
