"""Validation of a data root: settings file, layout files, sample cards, pictures.

Every check works on the files as written, read back the way the program
reads them, so it also catches a hand edit of a generated file.
"""

import os
import re

from . import bmp, cwrsys, reach
from . import fontmetrics as fm
from .marks import CIRCLE_GEOMETRY, ring_of
from .page import TEXT_SLACK
from .records import (CAPACITY, WRITE_ORDER, APP_VERSION, HEADER_LINES, read_page,
                      TEXT_FIELD, CHECK_BOX, CIRCLE, FRAME_BOX, LABEL_BOX, KIND8, BITMAP,
                      COLOUR_DOT, KIND17, TICK_MARK, PRINT_TEXT, OPTION_FIELD, CIRCLED_ITEM,
                      CLEARED_AREA)

ONE_LINE = 240
CARD_KINDS = set(CAPACITY)
BASE_KINDS = {2, 3, 4, 5, 6, 7, 8, 9, 12, 15, 17, 18, 20, 21, 22}
W_KEYS = ["w02", "w03", "w04", "w05", "w06", "w07", "w08", "w09", "w10", "w11", "w12",
          "w13", "w14", "w15", "w16", "w17", "w18", "w19", "w20", "w21", "w98"]
TWIPS_PER_MM = 1440 / 25.4
MIN_BASE_POINTS = 7
OVERLAP_SLACK = 12      # twips of touching that do not count as running into a neighbour
FIT_SLACK = 1.03        # the renderer's text may be a little wider than the font's advances


class Report:
    def __init__(self):
        self.problems = []
        self.notes = []

    def fault(self, where, msg):
        self.problems.append("%s: %s" % (where, msg))

    def note(self, msg):
        self.notes.append(msg)


def check_root(root):
    rep = Report()
    path = os.path.join(root, "cwr.sys")
    if not os.path.exists(path):
        rep.fault("cwr.sys", "missing")
        return rep.problems, rep.notes
    check_line_ends(path, rep)
    settings = cwrsys.read(path)
    check_settings(settings, root, rep)
    for fmt in settings.formats:
        check_format(root, fmt, rep)
    for d in ("datasys", "suppnote"):
        if not os.path.exists(os.path.join(root, d, ".gitkeep")):
            rep.fault(d, "folder missing (needs its .gitkeep)")
    shipped = [f for f in os.listdir(os.path.join(root, "datasys"))] if os.path.isdir(
        os.path.join(root, "datasys")) else []
    for f in shipped:
        if f.lower().endswith(".dat"):
            rep.fault("datasys", "defaults file %s must not be shipped" % f)
    return rep.problems, rep.notes


def check_line_ends(path, rep):
    with open(path, "rb") as f:
        raw = f.read()
    name = os.path.basename(path)
    if raw.replace(b"\r\n", b"").count(b"\n") or raw.replace(b"\r\n", b"").count(b"\r"):
        rep.fault(name, "line ends other than CR LF")
    if raw and not raw.endswith(b"\r\n"):
        rep.fault(name, "last line not ended")
    try:
        raw.decode("cp1252")
    except UnicodeDecodeError:
        rep.fault(name, "not windows-1252 text")


# ---- the settings file ------------------------------------------------------

def check_settings(settings, root, rep):
    where = "cwr.sys"
    if len(settings.comments) > 11:
        rep.fault(where, "more than 11 comment lines")
    keys = [k for k, _ in settings.lines]
    for code in settings.unclosed:
        rep.fault(where, "format record %s is not closed by w98 and is lost" % code)
    if keys[:3] != ["s01", "s02", "s03"]:
        rep.fault(where, "s01, s02, s03 must follow the free line (they are rewritten in place)")
    if "w01" not in keys or (keys and keys.index("w01") != 3):
        rep.fault(where, "w01 must follow s03")
    if not keys or keys[-1] != "w99":
        rep.fault(where, "list not ended by w99")
    if settings.after_end:
        rep.fault(where, "lines after w99 are never read")
    values = dict(settings.lines)
    default = cwrsys.leading_number(values.get("s02", ""))
    if not 0 <= default < len(settings.formats):
        rep.fault(where, "s02 %r is not a format slot" % values.get("s02"))
    if cwrsys.leading_number(values.get("s01", "")) & 2:
        rep.note("cwr.sys: s01 asks for the one-time notice")
    seen_codes, seen_ext, seen_names = set(), set(), set()
    for fmt in settings.formats:
        w = "cwr.sys %s" % fmt.code
        if fmt.order != W_KEYS:
            rep.fault(w, "keys %s, expected w02..w21 and w98 in order" % " ".join(fmt.order))
        for key, seen in ((fmt.code.upper(), seen_codes), (fmt.ext.lower(), seen_ext),
                          (fmt.values.get("w05", ""), seen_names)):
            if key in seen:
                rep.fault(w, "%r used by two formats" % key)
            seen.add(key)
        check_w_values(fmt, root, rep)
    if len(settings.formats) > 37:
        rep.fault(where, "more than 37 formats")


def check_w_values(fmt, root, rep):
    w = "cwr.sys %s" % fmt.code
    v = fmt.values
    if not re.fullmatch(r"[A-Za-z0-9_]+", fmt.code):
        rep.fault(w, "format code must be a plain folder name")
    if len(v.get("w03", "")) > 7 or not v.get("w03"):
        rep.fault(w, "w03 base name must have 1 to 7 characters")
    if not re.fullmatch(r"[A-Za-z0-9]{1,3}", fmt.ext):
        rep.fault(w, "w04 extension %r" % fmt.ext)
    if not v.get("w05", "").strip():
        rep.fault(w, "w05 display name empty")
    numeric = {"w06": (0, 2000), "w07": (0, 2000), "w09": (0, 1), "w10": (0, 1), "w11": (0, 7),
               "w12": (0, 30), "w13": (0, 4), "w14": (0, 30), "w15": (0, 3), "w16": (1, 2),
               "w18": (100, 450), "w19": (100, 450), "w20": (0.6, 2.5), "w21": (0, 50)}
    for key, (lo, hi) in numeric.items():
        text = v.get(key, "")
        if not re.fullmatch(r"-?\d+(\.\d+)?", text.strip()):
            rep.fault(w, "%s %r is not a plain number" % (key, text))
            continue
        n = float(text)
        if not lo <= n <= hi:
            rep.fault(w, "%s %s outside %s..%s" % (key, text, lo, hi))
    pages = 4 if fmt.num("w09") else 2
    for n in range(1, pages + 1):
        p = os.path.join(root, "data", "%s%d.dat" % (fmt.base, n))
        if not os.path.exists(p):
            rep.fault(w, "layout file %s missing" % os.path.basename(p))
    if not fmt.num("w09"):
        for n in (3, 4):
            if os.path.exists(os.path.join(root, "data", "%s%d.dat" % (fmt.base, n))):
                rep.note("%s: one-page format ships a %d.dat that is never read" % (fmt.code, n))
    pic = v.get("w17", "")
    if pic:
        check_bmp(os.path.join(root, "bmps", pic), w, rep)
    if not os.path.isdir(os.path.join(root, fmt.code)):
        rep.fault(w, "card folder %s/ missing" % fmt.code)


def check_bmp(path, where, rep):
    if not os.path.exists(path):
        rep.fault(where, "picture %s missing" % os.path.basename(path))
        return
    try:
        width, height, bits = bmp.read_bmp_size(path)
    except ValueError as e:
        rep.fault(where, "%s: %s" % (os.path.basename(path), e))
        return
    if not (8 <= width <= 256 and 8 <= height <= 256) or bits not in (8, 24):
        rep.fault(where, "picture %s is %dx%d, %d bit" % (os.path.basename(path), width, height, bits))


# ---- one format ------------------------------------------------------------------

def check_format(root, fmt, rep):
    pages = 2 if fmt.num("w09") else 1
    files = {}
    for n in range(1, 2 * pages + 1):
        p = os.path.join(root, "data", "%s%d.dat" % (fmt.base, n))
        if not os.path.exists(p):
            return
        check_line_ends(p, rep)
        files[n] = read_page(p)
        for prob in files[n].problems:
            rep.fault(os.path.basename(p), prob)
    width, height = header_size(files[1])
    for n, pf in files.items():
        check_layout_header(fmt, n, pf, width, height, rep)
    if any(len(pf.header) < HEADER_LINES for pf in files.values()):
        return
    for side in range(pages):
        tmpl = files[1 + 2 * side]
        base = files[2 + 2 * side]
        where = "%s %s" % (fmt.code, "back" if side else "front")
        check_counts(tmpl.records, where + " template", rep, template=True)
        check_counts(base.records, where + " base layer", rep, template=False)
        check_write_order(tmpl.records, where + " template", rep)
        font = header_number(tmpl, 8)
        base_font = header_number(base, 8)
        panels = reach.read_panels(base.comments)
        if panels != reach.read_panels(tmpl.comments):
            rep.fault(where, "template and base layer declare different panels")
        check_panels(panels, width, where, rep)
        geo = Geometry(fmt, width, height, font, base_font, panels)
        geo.check_page(base.records, tmpl.records, where, rep)
        for r in base.records + tmpl.records:
            if r.kind == BITMAP:
                check_bmp(os.path.join(root, "bmps", r.text), where, rep)
        if side == 0:
            check_names_fields(fmt, tmpl.records, where, rep)
    check_sample(root, fmt, files, width, height, rep)
    special = os.path.join(root, fmt.code, "special.txt")
    if os.path.exists(special):
        check_line_ends(special, rep)


def check_panels(panels, width, where, rep):
    if not panels:
        return
    last = 0
    for left, right in panels:
        if not last <= left < right <= width:
            rep.fault(where, "panels %r do not follow one another across the page" % (panels,))
            return
        last = right


def header_size(pf):
    try:
        return int(pf.header[14]), int(pf.header[15])
    except (ValueError, IndexError):
        return 0, 0


def header_number(pf, i, default=8.0):
    try:
        return float(pf.header[i])
    except (ValueError, IndexError):
        return default


def check_layout_header(fmt, n, pf, width, height, rep):
    where = "%s%d.dat" % (fmt.base, n)
    if len(pf.header) < HEADER_LINES:
        return
    h = pf.header
    if not pf.comments:
        rep.fault(where, "no comment lines")

    def num(i):
        if not re.fullmatch(r"-?\d+(\.\d+)?", h[i].strip()):
            rep.fault(where, "header line %d %r is not a number" % (i, h[i]))
            return None
        return float(h[i])

    for i in list(range(1, 31)):
        if h[i] == "" and i not in (0,):
            rep.fault(where, "header line %d is empty" % i)
    colour = num(2)
    if colour is not None and not 0 <= colour <= 0xFFFFFF:
        rep.fault(where, "colour %s is not an RGB value" % h[2])
    if num(5) not in (0, 1, 2):
        rep.fault(where, "check-box style %r" % h[5])
    if num(6) != fmt.num("w18") or num(7) != fmt.num("w19"):
        rep.fault(where, "print size %s x %s differs from w18/w19" % (h[6], h[7]))
    size = num(8)
    if size is not None and not (MIN_BASE_POINTS <= size <= 14):
        rep.fault(where, "font size %s" % h[8])
    if h[9].strip().strip('"') not in ("Arial",):
        rep.fault(where, "font %r is not one the layouts are measured with" % h[9])
    for i in (10, 11):
        if num(i) not in (0, -1):
            rep.fault(where, "header line %d must be 0 or -1" % i)
    num(12)
    if num(13) != fmt.num("w14") or num(17) != fmt.num("w12"):
        rep.fault(where, "margins differ from w12/w14")
    if (num(14), num(15)) != (width, height) or width <= 0 or height <= 0:
        rep.fault(where, "page size %s x %s differs from the front template's" % (h[14], h[15]))
    if h[16] != APP_VERSION:
        rep.fault(where, "version line %r" % h[16])
    if num(18) != 0:
        rep.fault(where, "a layout saves no zoom")
    if num(19) != fmt.num("w21"):
        rep.fault(where, "Y alignment differs from w21")
    landscape = fmt.num("w16") != 2
    if width and height and (width > height) != landscape:
        rep.fault(where, "a %s page (%d x %d twips) printed %s (w16 %s)" % (
            "landscape" if width > height else "portrait", width, height,
            "landscape" if landscape else "portrait", fmt.values.get("w16")))
    if fmt.num("w18") and fmt.num("w19") and (fmt.num("w18") > fmt.num("w19")) != landscape:
        rep.fault(where, "print size %s x %s mm does not match the orientation w16 %s" % (
            fmt.values.get("w18"), fmt.values.get("w19"), fmt.values.get("w16")))
    if width and fmt.num("w18"):
        room = (fmt.num("w18") - fmt.num("w12")) * TWIPS_PER_MM
        if width > room + 1:
            rep.fault(where, "page %d twips wide does not fit the print width %s mm less the margin"
                      % (width, fmt.values.get("w18")))
        if height > fmt.num("w19") * TWIPS_PER_MM + 1:
            rep.fault(where, "page %d twips high does not fit the print height" % height)


def check_counts(records, where, rep, template):
    counts = {}
    for r in records:
        counts[r.kind] = counts.get(r.kind, 0) + 1
        allowed = CARD_KINDS if template else BASE_KINDS
        if r.kind not in allowed:
            rep.fault(where, "kind %d is not %s" % (r.kind, "a card kind" if template else "drawn"))
    for kind, n in counts.items():
        cap = CAPACITY.get(kind)
        if cap is not None and n > cap:
            rep.fault(where, "%d records of kind %d, capacity %d" % (n, kind, cap))
    if template and counts.get(21):
        rep.fault(where, "kind 21 is never written to a card")


def check_write_order(records, where, rep):
    rank = {k: i for i, k in enumerate(WRITE_ORDER)}
    ranks = [rank.get(r.kind, 99) for r in records]
    if ranks != sorted(ranks):
        rep.fault(where, "records not in the order a saved card has")


def check_names_fields(fmt, records, where, rep):
    texts = [r for r in records if r.kind == TEXT_FIELD]
    mode = fmt.num("w11")
    if mode in (0, 6):
        if len(texts) < 2:
            rep.fault(where, "names mode %d needs two text fields" % mode)
            return
        for r in texts[:2]:
            if r.text:
                rep.fault(where, "names field is not empty in the template")
            if r.a[3] != ONE_LINE:
                rep.fault(where, "names field should be a one-line field")
        if texts[0].a[2] < 2000:
            rep.fault(where, "names field 0 is too narrow for two names")


# ---- geometry: ink boxes and their neighbours --------------------------------------

class Ink:
    __slots__ = ("x0", "y0", "x1", "y1", "what", "group", "ring", "layer", "run_end")

    def __init__(self, x0, y0, x1, y1, what, group=None, ring=False, layer="base", run_end=None):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1
        self.what, self.group, self.ring, self.layer = what, group, ring, layer
        self.run_end = run_end  # for text: where the next run of the same line starts

    def overlap(self, o):
        return (min(self.x1, o.x1) - max(self.x0, o.x0) > OVERLAP_SLACK and
                min(self.y1, o.y1) - max(self.y0, o.y0) > OVERLAP_SLACK)

    def contains_centre(self, o):
        cx, cy = (o.x0 + o.x1) / 2, (o.y0 + o.y1) / 2
        return self.x0 <= cx <= self.x1 and self.y0 <= cy <= self.y1


def style_size(style, default):
    n = (style & ~0xFF) // 256
    return n if n else default


def text_ink(x, y, w, h, text, style, size, what, layer):
    """Where a one-line text is drawn: aligned by its raw width, as wide as drawn."""
    if text.startswith("#<"):
        end = text.find(">#")
        text = text[end + 2:] if end >= 0 else ""
    bold = bool(style & 16)
    raw = fm.raw_width(text, size, "Arial", bold)
    drawn = fm.drawn_width(text, size, "Arial", bold)
    align = style & 7
    if align in (0, 3, 6, 7):
        left = x + 2
    elif align in (1, 4):
        left = x + w - raw
    else:
        left = x + (w - raw) / 2
    cell = fm.line_height(size)
    return Ink(left, y + cell * 0.12, left + drawn * FIT_SLACK, y + cell * 0.95, what, layer=layer,
               run_end=x + drawn if align in (0, 3, 6, 7) else None)


class Geometry:
    def __init__(self, fmt, width, height, field_size, base_size, panels=None):
        self.fmt, self.w, self.h = fmt, width, height
        self.field_size, self.base_size = field_size, base_size
        self.panels = panels

    def base_inks(self, base, erased, where, rep):
        inks = []
        for r in base:
            a = r.a
            if r.kind in (TEXT_FIELD, KIND8, KIND17, PRINT_TEXT):
                if r.kind == TEXT_FIELD and any(e[0] <= a[0] <= e[0] + e[2] and e[1] <= a[1] <= e[1] + e[3]
                                                for e in erased):
                    continue
                size = style_size(a[5], self.base_size)
                if size < MIN_BASE_POINTS:
                    rep.fault(where, "printed text %r is %s pt" % (r.text, size))
                if a[3] == ONE_LINE:
                    inks.append(text_ink(a[0], a[1], a[2], a[3], r.text, a[5], size, repr(r.text), "base"))
                else:
                    lines = wrapped_lines(r.text, a[2], size, bool(a[5] & 16))
                    if lines * fm.line_height(size) > a[3] + 20:
                        rep.fault(where, "printed text %r needs %d lines in %d twips" % (r.text, lines, a[3]))
                    inks.append(Ink(a[0], a[1], a[0] + a[2], a[1] + a[3], repr(r.text)))
            elif r.kind == CHECK_BOX:
                inks.append(Ink(a[0], a[1], a[0] + a[5], a[1] + a[5], "printed box"))
            elif r.kind == LABEL_BOX:
                self.check_label(r, where, rep)
                inks.append(Ink(a[0], a[1], a[0] + a[2], a[1] + a[3], "label %r" % r.text, layer="label"))
            elif r.kind == CIRCLE:
                inks.append(Ink(a[0] - a[4], a[1] - a[4], a[0] + a[4], a[1] + a[4], "printed ring", ring=True))
            elif r.kind == TICK_MARK:
                inks.append(Ink(a[0], a[1] - 90, a[0] + 180, a[1] + 75, "printed tick"))
            elif r.kind == BITMAP:
                inks.append(Ink(a[0], a[1], a[0] + a[2], a[1] + a[3], "picture %s" % r.text))
            self.on_page(r, where, rep)
        return inks

    def check_label(self, r, where, rep):
        a = r.a
        look = a[4] & 0xFF
        size = style_size(a[5], self.base_size)
        if size < MIN_BASE_POINTS:
            rep.fault(where, "label %r is %s pt" % (r.text, size))
        bold = bool(a[5] & 16)
        text = r.text.rstrip()
        if look == 2 or a[3] == ONE_LINE:
            if fm.drawn_width(text, size, "Arial", bold) * FIT_SLACK > a[2] - 4:
                rep.fault(where, "label %r does not fit its box" % text)
            if fm.line_height(size) > max(a[3], 0) + 30:
                rep.fault(where, "label %r is taller than its box" % text)
        else:
            lines = wrapped_lines(text, a[2], size, bold)
            if lines * fm.line_height(size) > a[3] + 30:
                rep.fault(where, "label %r needs %d lines in a box %d high" % (text, lines, a[3]))
            for word in text.split():
                if fm.drawn_width(word, size, "Arial", bold) * FIT_SLACK > a[2] - 4:
                    rep.fault(where, "label %r breaks the word %r" % (text, word))

    def card_inks(self, recs, where, rep, layer):
        inks = []
        for i, r in enumerate(recs):
            a = r.a
            if r.kind == TEXT_FIELD:
                h = fm.line_height(style_size(a[5], self.field_size)) if a[3] == ONE_LINE else a[3]
                inks.append(Ink(a[0], a[1], a[0] + a[2], a[1] + h, "text field %d" % i, layer="field"))
            elif r.kind == CHECK_BOX:
                inks.append(Ink(a[0], a[1], a[0] + a[5], a[1] + a[5], "check box", layer=layer))
            elif r.kind == CIRCLED_ITEM:
                size = a[4] or 8
                if r.text not in CIRCLE_GEOMETRY:
                    rep.fault(where, "circled item %r has no ring geometry" % r.text)
                    continue
                dx, dy, rad = ring_of(r.text, self.fmt.code)
                cx, cy = a[0] + dx, a[1] + dy
                group = id_of_group(recs, i)
                inks.append(Ink(cx - rad, cy - rad, cx + rad, cy + rad, "ring of %r" % r.text,
                                group=group, ring=True, layer=layer))
                tw = fm.raw_width(r.text, size)
                inks.append(Ink(a[0], a[1] + 30, a[0] + tw, a[1] + fm.line_height(size) - 20,
                                "item %r" % r.text, group=group, layer=layer))
            elif r.kind == OPTION_FIELD:
                inks.append(Ink(a[0], a[1], a[0] + a[2] + 105, a[1] + a[3], "option field", layer=layer))
            elif r.kind == COLOUR_DOT:
                inks.append(Ink(a[0] - a[2], a[1] - a[2], a[0] + a[2], a[1] + a[2], "colour dot", layer=layer))
            elif r.kind == TICK_MARK:
                inks.append(Ink(a[0], a[1] - 90, a[0] + 180, a[1] + 75, "tick spot", layer=layer))
            elif r.kind == CIRCLE:
                inks.append(Ink(a[0] - a[4], a[1] - a[4], a[0] + a[4], a[1] + a[4], "ring spot", ring=True,
                                layer=layer))
            elif r.kind == FRAME_BOX:
                inks.append(Ink(a[0], a[1], a[0] + a[2], a[1] + a[3], "box spot", ring=True, layer=layer))
            elif r.kind in (LABEL_BOX, BITMAP):
                inks.append(Ink(a[0], a[1], a[0] + a[2], a[1] + a[3], "card %s" % (r.text or r.kind),
                                layer="label"))
                if r.kind == LABEL_BOX:
                    self.check_label(r, where, rep)
            elif r.kind == KIND8:
                size = style_size(a[5], self.field_size)
                inks.append(text_ink(a[0], a[1], a[2], a[3], r.text, a[5], size, repr(r.text), layer))
            self.on_page(r, where, rep)
        return inks

    def on_page(self, r, where, rep):
        a = r.a
        if r.kind in (TEXT_FIELD, LABEL_BOX, FRAME_BOX, 6, BITMAP, OPTION_FIELD, CLEARED_AREA, KIND8, KIND17):
            box = (a[0], a[1], a[0] + a[2], a[1] + a[3])
        elif r.kind in (CHECK_BOX,):
            box = (a[0], a[1], a[0] + a[5], a[1] + a[5])
        elif r.kind == 12:
            box = (min(a[0], a[1]), min(a[2], a[3]), max(a[0], a[1]), max(a[2], a[3]))
        elif r.kind in (COLOUR_DOT, 20):
            box = (a[0] - a[2], a[1] - a[2], a[0] + a[2], a[1] + a[2])
        elif r.kind == CIRCLE:
            box = (a[0] - a[4], a[1] - a[4], a[0] + a[4], a[1] + a[4])
        else:
            box = (a[0], a[1], a[0], a[1])
        if box[0] < 0 or box[1] < 0 or box[2] > self.w or box[3] > self.h:
            rep.fault(where, "kind %d %r lies off the page" % (r.kind, r.text))

    def check_page(self, base, card, where, rep):
        erased = [r.a[:4] for r in card if r.kind == CLEARED_AREA]
        inks = self.base_inks(base, erased, where, rep) + self.card_inks(card, where, rep, "card")
        for ink in inks:
            if ink.x0 < 0 or ink.x1 > self.w or ink.y1 > self.h:
                rep.fault(where, "%s runs off the page" % ink.what)
        self.find_overlaps(inks, where, rep, erased)
        self.check_click_areas(card, where, rep)
        # Players read and write a ten as "10": a lead card "T" is a card they do not know.
        for r in base + card:
            if (r.kind == CIRCLED_ITEM or (r.kind == TEXT_FIELD and r in base)) and r.text.strip() == "T":
                rep.fault(where, "a ten printed as 'T' at (%d,%d)" % (r.a[0], r.a[1]))
        reach.check_marks(self.fmt.code, base, card, self.field_size, self.base_size, where, rep,
                          self.panels)

    def click_areas(self, card):
        """Where a click reaches each fillable record, as the hit tests measure it."""
        p = 15  # twips per pixel of a 96 dpi screen
        h_width = fm.raw_width("H", self.field_size)
        h_height = fm.line_height(self.field_size)
        out = []
        for i, r in enumerate(card):
            a = r.a
            if r.kind == TEXT_FIELD:
                out.append((a[0], a[1], a[0] + a[2], a[1] + a[3], "text field at (%d,%d)" % (a[0], a[1])))
            elif r.kind == CHECK_BOX:
                out.append((a[0], a[1], a[0] + a[5] - 1, a[1] + a[5] - 1, "check box at (%d,%d)" % (a[0], a[1])))
            elif r.kind == CIRCLED_ITEM:
                out.append((a[0] - 15, a[1], a[0] + h_width, a[1] + h_height,
                            "circled item %r at (%d,%d)" % (r.text, a[0], a[1])))
            elif r.kind in (FRAME_BOX, OPTION_FIELD):
                out.append((a[0], a[1], a[0] + a[2], a[1] + a[3], "kind %d at (%d,%d)" % (r.kind, a[0], a[1])))
            elif r.kind == CIRCLE:
                out.append((a[0] - a[4], a[1] - a[4], a[0] + a[4], a[1] + a[4], "ring spot at (%d,%d)" % (a[0], a[1])))
            elif r.kind == COLOUR_DOT:
                out.append((a[0] - a[2], a[1] - a[2], a[0] + a[2], a[1] + a[2], "colour dot"))
            elif r.kind == TICK_MARK:
                out.append((a[0] - 10 * p, a[1] - 10 * p, a[0] + 10 * p, a[1] + 10 * p,
                            "tick spot at (%d,%d)" % (a[0], a[1])))
        return out

    def check_click_areas(self, card, where, rep):
        """No click may reach two fields: the first one in the hit-test order would hide the other."""
        areas = sorted(self.click_areas(card), key=lambda t: t[1])
        for i, a in enumerate(areas):
            for b in areas[i + 1:]:
                if b[1] > a[3]:
                    break
                if min(a[2], b[2]) - max(a[0], b[0]) >= 0 and min(a[3], b[3]) - max(a[1], b[1]) >= 0:
                    rep.fault(where, "a click on %s also reaches %s" % (a[4], b[4]))

    def find_overlaps(self, inks, where, rep, erased):
        order = sorted(inks, key=lambda k: k.y0)
        reported = 0
        for i, a in enumerate(order):
            for b in order[i + 1:]:
                if b.y0 - a.y1 > OVERLAP_SLACK:
                    break
                if not a.overlap(b) or allowed(a, b, erased):
                    continue
                if reported < 40:
                    rep.fault(where, "%s at (%d,%d) runs into %s at (%d,%d)" % (
                        a.what, a.x0, a.y0, b.what, b.x0, b.y0))
                reported += 1
        if reported > 40:
            rep.fault(where, "%d more overlaps" % (reported - 40))


def allowed(a, b, erased):
    """Overlaps that are meant: rings around what they ring, items of one holding."""
    if a.group is not None and a.group == b.group:
        return True
    # Runs of one line of printed text, set one after another.
    for first, second in ((a, b), (b, a)):
        if first.run_end is not None and second.run_end is not None and abs(first.y0 - second.y0) < 1 \
                and -3 <= second.x0 - 2 - first.run_end <= TEXT_SLACK * (first.run_end - first.x0) + 5:
            return True
    for ring, other in ((a, b), (b, a)):
        if ring.ring and not other.ring and ring.contains_centre(other) and other.layer != "field":
            return True
    for x in (a, b):
        if x.layer == "field" and erased:
            for e in erased:
                if e[0] <= x.x0 and x.x1 <= e[0] + e[2] + 2 and e[1] <= x.y0 <= e[1] + e[3]:
                    return True
    return False


def id_of_group(recs, i):
    """Circled items of one holding lie on one row, one after another."""
    j = i
    while j > 0 and recs[j - 1].kind == CIRCLED_ITEM and recs[j - 1].a[1] == recs[i].a[1] \
            and 0 < recs[j].a[0] - recs[j - 1].a[0] <= 200:
        j -= 1
    return (recs[j].a[0], recs[j].a[1])


def wrapped_lines(text, w, size, bold=False):
    count = 0
    for para in text.split("\r\n")[:64]:
        if len(para) < 500 and fm.raw_width(para, size, "Arial", bold) <= w + 1:
            count += 1
            continue
        line = ""
        for ch in para:
            line += ch
            if fm.raw_width(line, size, "Arial", bold) > w:
                sp = line.rfind(" ", 0, len(line) - 1)
                count += 1
                line = line[sp + 1:] if sp >= 0 else line[-1]
        if line.strip(" "):
            count += 1
    return count


# ---- the sample card ---------------------------------------------------------------

def check_sample(root, fmt, files, width, height, rep):
    pages = 2 if fmt.num("w09") else 1
    folder = os.path.join(root, fmt.code)
    front_text = None
    for side in range(pages):
        name = "testcrd%s.%s" % ("_" if side else "", fmt.ext)
        path = os.path.join(folder, name)
        where = "%s/%s" % (fmt.code, name)
        if not os.path.exists(path):
            rep.fault(where, "sample card missing")
            continue
        check_line_ends(path, rep)
        card = read_page(path)
        for prob in card.problems:
            rep.fault(where, prob)
        tmpl = files[1 + 2 * side]
        base = files[2 + 2 * side]
        if len(card.header) < HEADER_LINES:
            continue
        if card.header[16] != APP_VERSION:
            rep.fault(where, "header line 16 must be %s" % APP_VERSION)
        for i in range(5, HEADER_LINES):
            if i != 16 and card.header[i] != tmpl.header[i]:
                rep.fault(where, "header line %d differs from the template" % i)
        if card.comments != tmpl.comments:
            rep.fault(where, "comment lines differ from the template's")
        check_counts(card.records, where, rep, template=True)
        check_write_order(card.records, where, rep)
        check_card_against_template(card.records, tmpl.records, where, rep)
        geo = Geometry(fmt, width, height, header_number(tmpl, 8), header_number(base, 8),
                       reach.read_panels(base.comments))
        geo.check_page(base.records, card.records, where, rep)
        texts = [r for r in card.records if r.kind == TEXT_FIELD]
        for i, r in enumerate(texts):
            check_text_fits(r.text, r, geo.field_size, "%s text field %d" % (where, i), rep)
        if side == 0:
            front_text = texts
            if fmt.num("w11") in (0, 6) and len(texts) >= 2:
                if (texts[0].text, texts[1].text) != (card.header[3], card.header[4]):
                    rep.fault(where, "names fields differ from header lines 3 and 4")
                for i in (0, 1):
                    check_text_fits(card.header[i], texts[i], geo.field_size,
                                    "%s partner's header line %d" % (where, i), rep)
    if front_text is not None and not any(r.text for r in front_text[2:]):
        rep.fault(fmt.code, "the sample card is not filled in")


def check_card_against_template(card, tmpl, where, rep):
    """Every field of the template is still there, at its place."""
    def sig(r):
        return (r.kind, r.a[0], r.a[1], r.a[2] if r.kind not in (COLOUR_DOT, TICK_MARK) else 0)

    card_sigs = {}
    for r in card:
        card_sigs[sig(r)] = card_sigs.get(sig(r), 0) + 1
    missing = 0
    for r in tmpl:
        s = sig(r)
        if card_sigs.get(s, 0):
            card_sigs[s] -= 1
        else:
            missing += 1
    if missing:
        rep.fault(where, "%d fields of the template are missing or moved" % missing)


def check_text_fits(text, r, field_size, where, rep):
    if not text:
        return
    if "\r" in text or "\n" in text:
        rep.fault(where, "text holds a line break, which a card file line cannot carry")
        return
    a = r.a
    size = style_size(a[5], field_size)
    bold = bool(a[5] & 16)
    plain = text
    if plain.startswith("#<"):
        plain = plain[plain.find(">#") + 2:]
    if a[3] == ONE_LINE:
        if fm.drawn_width(plain, size, "Arial", bold) * FIT_SLACK > a[2]:
            rep.fault(where, "%r is wider than its field" % text)
    else:
        lines = wrapped_lines(plain, a[2], size, bold)
        if lines * fm.line_height(size) > a[3] + 10:
            rep.fault(where, "%r needs %d lines, the field holds %d" % (
                text, lines, int(a[3] // fm.line_height(size))))
