"""Clear ink at print resolution: every shipped page printed by the program and looked at
through pdftoppm at 600 dpi.

The blank pages (the fill-in templates over their base layers) of every format are printed to
PDF by the program itself, nothing circled, and rasterised at 600 dpi in grey.  The page's
twips are registered on the picture by its long rules (the frames of the sections), and then:

- around every ring a player can draw (a circled item's ring from the program's table, or a
  ring of our own round a printed letter) the paper from the ring's outer edge to 0.3 mm
  beyond holds no ink but the ringed letter's own;
- beside every grey column rule of a leads grid the paper 0.3 mm either side holds no ink.

What the program draws from its own tables (the ring of a circled item) is placed from the
same table the generator uses (marks.ring_of), so a fault here is a fault of the layout.
"""

import bisect
import math
import os
import re
import shutil
import subprocess
import tempfile

from . import cwrsys
from . import fontmetrics as fm
from .marks import CIRCLE_FACE, ring_of, underline_box
from .page import UNDERLINE
from .records import read_page, CIRCLE, CIRCLED_ITEM, FRAME_BOX, LABEL_BOX, LINE, RECTANGLE

DPI = 600
CLEAR_MM = 0.3
PEN_MM = 0.1          # half the width of a ring's stroke on paper, taken generously
GRID_RULE = 0xA0A0A0  # the colour of the column rules of a leads grid
DARK = 128            # a pixel darker than this is black ink (letters, rules)
ANY_INK = 200         # ... and darker than this any ink, the grey rules of a grid as well
RULE_SHARE = 0.15
MATCH_PX = 2          # how near a rule of the page must come to a line of the picture     # share of the page a line must run unbroken to register the page by it
CARD = "clearcheck"


def px_per_mm():
    return DPI / 25.4


class Picture:
    """A greyscale picture read from a binary PGM file."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        parts, pos = [], 0
        while len(parts) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos) + 1
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            parts.append(data[pos:end])
            pos = end
        if parts[0] != b"P5" or int(parts[3]) > 255:
            raise ValueError("%s: not an 8-bit binary PGM picture" % path)
        self.w, self.h = int(parts[1]), int(parts[2])
        self.pixels = data[pos + 1:pos + 1 + self.w * self.h]

    def at(self, x, y):
        return self.pixels[y * self.w + x]

    def dark(self, x, y, level=DARK):
        return 0 <= x < self.w and 0 <= y < self.h and self.pixels[y * self.w + x] < level


def _has_run(values, length):
    """Whether the pixels hold an unbroken run of ink at least length long."""
    return re.search(rb"[\x00-\x7f]{%d,}" % max(1, int(length)), values) is not None


def twips_rules(base, width, height):
    """The x of every long vertical rule and the y of every long horizontal rule of the base
    layer (the edges of frames, label boxes and rectangles), in twips."""
    xs, ys = set(), set()
    for r in base:
        a = r.a
        if r.kind in (FRAME_BOX, LABEL_BOX, RECTANGLE) and (r.kind != FRAME_BOX or a[4] == 1):
            if a[3] >= RULE_SHARE * height:
                xs.update((a[0], a[0] + a[2]))
            if a[2] >= RULE_SHARE * width:
                ys.update((a[1], a[1] + a[3]))
    return sorted(xs), sorted(ys)


def fit_offset(twips, pixels, scale):
    """The offset (pixels) that puts the most of the twips positions on a pixel position, and
    how many it puts there: the page's rules found among the lines of the picture."""
    found = sorted(pixels)
    best, best_score = None, 0
    for p in found:
        for t in twips:
            off = p - t * scale
            score = sum(1 for u in twips if _near(found, u * scale + off, MATCH_PX))
            if score > best_score:
                best, best_score = off, score
    if best is None:
        return None, 0
    # Refined by the lines it matched: the middle of each.
    residuals = []
    for u in twips:
        q = u * scale + best
        near = [p for p in found if abs(p - q) <= MATCH_PX + 3]
        if near:
            residuals.append((min(near) + max(near)) / 2 + 0.5 - q)
    return best + sum(residuals) / len(residuals), best_score


def _near(found, value, tolerance):
    i = bisect.bisect_left(found, value - tolerance)
    return i < len(found) and found[i] <= value + tolerance


def registration(base, width, height, picture):
    """A function mapping page twips to picture pixels.  The program prints a page at its
    natural size by default; where on the paper is found from the page's long rules (runs of
    ink unbroken over a good share of the page, which no text makes), matched to the lines of
    the picture."""
    xs, ys = twips_rules(base, width, height)
    if len(xs) < 2 or len(ys) < 2:
        raise ValueError("the page has no long rules to register it by")
    w, h = picture.w, picture.h
    rows = [y for y in range(h) if _has_run(picture.pixels[y * w:(y + 1) * w], RULE_SHARE * w)]
    columns = [x for x in range(w) if _has_run(picture.pixels[x::w], RULE_SHARE * h)]
    scale = DPI / 1440
    dx, nx = fit_offset(xs, columns, scale)
    dy, ny = fit_offset(ys, rows, scale)
    if dx is None or dy is None or nx < max(2, len(xs) // 2) or ny < max(2, len(ys) // 2):
        raise ValueError("the page's rules were not found on the printed page")

    def to_px(x, y):
        return dx + x * scale, dy + y * scale
    return to_px, scale, scale


def rings_of_page(code, tmpl, base, field_size):
    """(centre x, centre y, radius, own letter's ink box, label) of every ring a player can
    draw on the page, in twips."""
    out = []
    printed = [r for r in base if r.kind == 2]
    for r in tmpl:
        a = r.a
        if r.kind == CIRCLED_ITEM:
            dx, dy, rad = ring_of(r.text, code)
            size = a[4] or field_size
            ink = fm.ink_box(r.text, size, CIRCLE_FACE, bool(a[2]))
            out.append((a[0] + dx, a[1] + dy, rad,
                        (a[0] + ink[0], a[1] + ink[1], a[0] + ink[2], a[1] + ink[3]), r.text))
        elif r.kind == CIRCLE:
            # A ring of ours round a printed letter: the letter is the printed text whose
            # ink is nearest its centre.
            cx, cy, rad = a[0], a[1], a[4]
            box, label = None, ""
            best = None
            for t in printed:
                size = (t.a[5] // 256) or field_size
                ink = fm.ink_box(t.text, size, CIRCLE_FACE, bool(t.a[5] & 16))
                if t.a[5] & UNDERLINE:
                    u = underline_box(t.text, size, CIRCLE_FACE, bool(t.a[5] & 16))
                    ink = (min(ink[0], u[0]), ink[1], max(ink[2], u[2]), max(ink[3], u[3]))
                b = (t.a[0] + 2 + ink[0], t.a[1] + ink[1], t.a[0] + 2 + ink[2], t.a[1] + ink[3])
                d = math.hypot((b[0] + b[2]) / 2 - cx, (b[1] + b[3]) / 2 - cy)
                if best is None or d < best:
                    best, box, label = d, b, t.text
            if best is not None and best > rad:
                box, label = None, ""
            out.append((cx, cy, rad, box, label))
    return out


def check_rings(picture, to_px, scale, rings, where):
    faults = []
    mm = px_per_mm()
    pen, clear = PEN_MM * mm, CLEAR_MM * mm
    for cx, cy, rad, own, label in rings:
        x, y = to_px(cx, cy)
        r = rad * scale
        own_px = None
        if own:
            a, b = to_px(own[0], own[1]), to_px(own[2], own[3])
            own_px = (a[0] - 2, a[1] - 2, b[0] + 2, b[1] + 2)
        reach = r + pen + clear
        nearest = None
        for py in range(int(y - reach) - 1, int(y + reach) + 2):
            for px in range(int(x - reach) - 1, int(x + reach) + 2):
                if not picture.dark(px, py, ANY_INK):
                    continue
                d = math.hypot(px + 0.5 - x, py + 0.5 - y)
                if d > reach:
                    continue
                if own_px and own_px[0] <= px <= own_px[2] and own_px[1] <= py <= own_px[3]:
                    continue
                # Ink of another letter inside the ring, or on its stroke, has no paper at all.
                gap = max(0.0, d - r - pen)
                if nearest is None or gap < nearest:
                    nearest = gap
        if nearest is not None:
            faults.append("%s: the ring of %r at (%d,%d) has only %.2f mm of paper to other ink"
                          % (where, label, cx, cy, nearest / mm))
    return faults


def check_grid_rules(picture, to_px, base, where):
    faults = []
    mm = px_per_mm()
    clear = CLEAR_MM * mm
    for r in base:
        a = r.a
        if r.kind != LINE or a[5] != GRID_RULE or a[0] != a[1]:
            continue
        x, y0 = to_px(a[0], a[2])
        _x, y1 = to_px(a[1], a[3])
        nearest = None
        for py in range(int(y0) + 1, int(y1)):
            for px in range(int(x - clear) - 2, int(x + clear) + 3):
                # The rule itself is grey and lighter than DARK; letters are black.
                if picture.dark(px, py):
                    gap = abs(px + 0.5 - x) - 1
                    if nearest is None or gap < nearest:
                        nearest = gap
        if nearest is not None and nearest < clear:
            faults.append("%s: the grid rule at x %d (y %d-%d) has only %.2f mm of paper to a letter"
                          % (where, a[0], a[2], a[3], max(0, nearest) / mm))
    return faults


def blank_card_root(root, work):
    """A copy of the data root with a card made of each format's blank templates."""
    copy = os.path.join(work, "root")
    shutil.copytree(root, copy)
    settings = cwrsys.read(os.path.join(copy, "cwr.sys"))
    for fmt in settings.formats:
        folder = os.path.join(copy, fmt.code)
        os.makedirs(folder, exist_ok=True)
        pages = 2 if fmt.num("w09") else 1
        for side in range(pages):
            layout = os.path.join(copy, "data", "%s%d.dat" % (fmt.values["w03"], 1 + 2 * side))
            shutil.copyfile(layout, os.path.join(folder, "%s%s.%s" % (CARD, "_" if side else "", fmt.ext)))
    return copy, settings


# Ink keeps this far from the sheet's edges, so that a printer's unprintable border cuts
# nothing off.
SAFE_MARGIN_MM = 5


def check_sheet_margins(picture, where):
    """A fault when ink comes closer than SAFE_MARGIN_MM to an edge of the printed sheet."""
    band = int(SAFE_MARGIN_MM / 25.4 * DPI) - 2  # less the rounding of the page's placement
    ink = 200
    for y in range(picture.h):
        row = picture.pixels[y * picture.w:(y + 1) * picture.w]
        near = row if y < band or y >= picture.h - band else row[:band] + row[-band:]
        if near and min(near) < ink:
            return ["%s: ink within %d mm of the sheet's edge at row %d" % (where, SAFE_MARGIN_MM, y)]
    return []


def check_printed(program, root, formats=None, keep=None):
    """Faults of clearance on every page of every format (or of the named formats)."""
    work = tempfile.mkdtemp(prefix="cwclear")
    faults = []
    try:
        copy, settings = blank_card_root(root, work)
        env = dict(os.environ, QT_QPA_PLATFORM=os.environ.get("QT_QPA_PLATFORM", "offscreen"))
        for fmt in settings.formats:
            if formats and fmt.code not in formats:
                continue
            pdf = os.path.join(work, fmt.code + ".pdf")
            pages = 2 if fmt.num("w09") else 1
            run = subprocess.run([program, "print", "--root", copy, "--card", CARD, "--format", fmt.code,
                                  "--side", "both" if pages == 2 else "front", "--pdf", pdf],
                                 env=env, capture_output=True, text=True)
            if run.returncode != 0 or not os.path.exists(pdf):
                faults.append("%s: printing failed: %s" % (fmt.code, (run.stderr or run.stdout).strip()))
                continue
            prefix = os.path.join(work, fmt.code)
            subprocess.run(["pdftoppm", "-r", str(DPI), "-gray", pdf, prefix], check=True)
            pictures = sorted(f for f in os.listdir(work) if f.startswith(fmt.code + "-") and f.endswith(".pgm"))
            if keep:
                shutil.copyfile(pdf, os.path.join(keep, fmt.code + ".pdf"))
            if len(pictures) != pages:
                faults.append("%s: %d pages printed, %d expected" % (fmt.code, len(pictures), pages))
                continue
            for side, name in enumerate(pictures):
                where = "%s %s (printed)" % (fmt.code, "back" if side else "front")
                tmpl = read_page(os.path.join(copy, "data", "%s%d.dat" % (fmt.values["w03"], 1 + 2 * side)))
                base = read_page(os.path.join(copy, "data", "%s%d.dat" % (fmt.values["w03"], 2 + 2 * side)))
                width, height = int(float(tmpl.header[14])), int(float(tmpl.header[15]))
                field_size = float(tmpl.header[8])
                picture = Picture(os.path.join(work, name))
                faults += check_sheet_margins(picture, where)
                try:
                    to_px, sx, sy = registration(base.records, width, height, picture)
                except ValueError as e:
                    faults.append("%s: %s" % (where, e))
                    continue
                rings = rings_of_page(fmt.code, tmpl.records, base.records, field_size)
                faults += check_rings(picture, to_px, (sx + sy) / 2, rings, where)
                faults += check_grid_rules(picture, to_px, base.records, where)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return faults
