"""A preview of a card page as SVG, drawn the way the card renderer draws it.

Used to look at the layouts while the program's own renderer is not at hand:
base layer first, then the card's fields, then the text fields.
"""

import html

from . import fontmetrics as fm
from .page import CIRCLE_GEOMETRY

ONE_LINE = 240
TEXT_COLOURS = {0: "#000000", 1: "#000000", 2: "#ff0000", 3: "#ffffff", 4: "#00ffff",
                5: "#0000ff", 6: "#00ff00"}
BARS = {10: ("#ffffff", "#ff0000"), 11: ("#000000", "#dfdfdf"), 12: ("#ffffff", "#008000")}
LABEL_LOOKS = {1: ("#dfdfdf", "#ff0000", 64), 2: ("#008000", "#000000", 12),
               3: ("#ff0000", "#000000", 67), 4: ("#dfdfdf", "#008000", 64),
               5: ("#dfdfdf", "#ffffff", 64), 6: ("#dfdfdf", "#000000", 64)}
SUIT_GLYPHS = {"<c>": ("\u2663", "#000000"), "<d>": ("\u2666", "#ff0000"),
               "<h>": ("\u2665", "#ff0000"), "<s>": ("\u2660", "#000000"),
               "<1>": ("\u2660", "#ff0000"), "<2>": ("\u2663", "#ff0000"),
               "<3>": ("\u2666", "#0000ff"), "<4>": ("\u2665", "#0000ff"),
               "<5>": ("\u2660", "#0000ff")}
DOT_FILLS = {0: "#ffffff", 1: "#00ff00", 2: "#0000ff", 3: "#ff0000", 4: "#ffff00",
             5: "#804000", 16: "#ffffff", 17: "#ff0000"}
TINTS = {1: "#f0f0f0", 2: "#e0e0e0", 3: "#c0ffff", 4: "#ffffc0"}


def rgb(value):
    value = int(value)
    return "#%02x%02x%02x" % (value & 255, (value >> 8) & 255, (value >> 16) & 255)


def text_colour(code):
    code = int(code)
    if code >= 30:
        return TEXT_COLOURS.get(code & 7, "#000000"), None
    if code in BARS:
        return BARS[code]
    return TEXT_COLOURS.get(code, "#000000"), None


class Canvas:
    def __init__(self, width, height, px_per_twip):
        self.w, self.h, self.k = width, height, px_per_twip
        self.out = []

    def add(self, s):
        self.out.append(s)

    def svg(self):
        head = ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
                % (round(self.w * self.k), round(self.h * self.k), self.w, self.h))
        return "\n".join([head, '<rect x="0" y="0" width="%d" height="%d" fill="white"/>' % (self.w, self.h)]
                         + self.out + ["</svg>"])

    def line(self, x1, y1, x2, y2, colour="#000000", width=15):
        self.add('<line x1="%d" y1="%d" x2="%d" y2="%d" stroke="%s" stroke-width="%d"/>'
                 % (x1, y1, x2, y2, colour, width))

    def rect(self, x, y, w, h, stroke="#000000", fill="none", width=15):
        self.add('<rect x="%d" y="%d" width="%d" height="%d" stroke="%s" fill="%s" stroke-width="%d"/>'
                 % (x, y, w, h, stroke, fill, width))

    def fillrect(self, x, y, w, h, fill):
        self.add('<rect x="%d" y="%d" width="%d" height="%d" fill="%s" stroke="none"/>' % (x, y, w, h, fill))

    def circle(self, cx, cy, r, stroke="#000000", fill="none", width=15):
        self.add('<circle cx="%d" cy="%d" r="%d" stroke="%s" fill="%s" stroke-width="%d"/>'
                 % (cx, cy, r, stroke, fill, width))

    def text(self, x, baseline, s, size, colour="#000000", bold=False, italic=False,
             underline=False, face="Liberation Sans"):
        """Draw s with suit tags as symbols, left end at x."""
        weight = "bold" if bold else "normal"
        style = "italic" if italic else "normal"
        start = x
        for part in fm.split_suits(s):
            if part in SUIT_GLYPHS:
                glyph, col = SUIT_GLYPHS[part]
                self.add('<text x="%.0f" y="%.0f" font-family="DejaVu Sans" font-weight="bold" '
                         'font-size="%.1f" fill="%s">%s</text>' % (x, baseline, size * 20, col, glyph))
                x += fm.SUIT_SYMBOL_EM * size * 20
            else:
                lead = len(part) - len(part.lstrip(" "))
                if lead:
                    x += fm.raw_width(part[:lead], size, "Arial", bold)
                    part = part[lead:]
                self.add('<text x="%.0f" y="%.0f" font-family="%s" font-weight="%s" font-style="%s" '
                         'font-size="%.1f" fill="%s" xml:space="preserve">%s</text>'
                         % (x, baseline, face, weight, style, size * 20, colour, html.escape(part)))
                x += fm.raw_width(part, size, "Arial", bold)
        if underline:
            self.line(start, baseline + size * 3, x, baseline + size * 3, colour, 10)


def field_text(cv, x, y, s, w, h, code, style, basic_size, bar=None):
    """The text drawer: colour, bar, alignment, one line or wrapped lines."""
    if s.startswith("#<"):
        end = s.find(">#")
        if end < 0:
            return
        s = s[end + 2:]
    colour, own_bar = text_colour(code)
    bar = own_bar or bar
    size = (style & ~0xFF) // 256 or basic_size
    bold = bool(style & 16)
    italic = bool(style & 32)
    underline = bool(style & 128)
    cell = fm.line_height(size)
    if bar:
        cv.fillrect(x, y + 30, w, (cell - 60) if h == ONE_LINE else h - 30, bar)
    if not s:
        return
    align = style & 7

    def put(line, top):
        tw = fm.raw_width(line, size, "Arial", bold)
        if align in (0, 3):
            lx = x + 2
        elif align in (1, 4):
            lx = x + w - tw
        else:
            lx = x + (w - tw) / 2
        cv.text(lx, top + fm.ascent(size), line, size, colour, bold, italic, underline)

    if h == ONE_LINE:
        put(s, y)
        return
    top = y
    for para in s.split("\r\n")[:64]:
        for line in wrap(para, w, size, bold):
            put(line, top)
            top += int(cell)


def wrap(para, w, size, bold=False):
    """Greedy wrapping as the text drawer does it."""
    if len(para) < 500 and fm.raw_width(para, size, "Arial", bold) <= w + 1:
        return [para]
    lines, line = [], ""
    for ch in para:
        line += ch
        if fm.raw_width(line, size, "Arial", bold) > w:
            sp = line.rfind(" ", 0, len(line) - 1)
            if sp >= 0:
                lines.append(line[:sp])
                line = line[sp + 1:]
            else:
                lines.append(line[:-1])
                line = line[-1]
    if line.strip(" "):
        lines.append(line.strip(" "))
    return lines


def tick(cv, x, y, s, colour="#000000", width=25):
    cv.add('<polyline points="%d,%d %d,%d %d,%d" fill="none" stroke="%s" stroke-width="%d"/>'
           % (x, y + s / 2, x + s / 2, y + s, x + 1.5 * s, y - s / 2, colour, width))


def render(base, card, width, height, basic_size, base_size, check_style=1, tint=0,
           px_per_twip=0.1, names_override=None, is_acbl=False, show_spots=True):
    cv = Canvas(width, height, px_per_twip)
    erased = [r.a[:4] for r in card if r.kind == 1]

    def inside_erased(x, y):
        return any(ex <= x <= ex + ew and ey <= y <= ey + eh for ex, ey, ew, eh in erased)

    ring_after = []
    for r in base:
        k, a = r.kind, r.a
        if k in (2, 8, 17, 22):
            if k == 2 and inside_erased(a[0], a[1]):
                continue
            field_text(cv, a[0], a[1], r.text, a[2], a[3], a[4], a[5], base_size)
        elif k == 3:
            cv.rect(a[0], a[1], a[5], a[5], TEXT_COLOURS.get(a[2], "#000000"), "white", 20)
        elif k == 4:
            if a[3] in (1, 3):
                cv.circle(a[0], a[1], a[4], width=12)
            if a[3] in (2, 3):
                cv.line(a[0] - a[4], a[1] + a[4], a[0] + a[4], a[1] + a[4], width=12)
        elif k == 5:
            if a[4] == 1:
                cv.rect(a[0], a[1], a[2], a[3], width=15)
            elif a[4] == 2:
                cv.line(a[0], a[1] + a[3], a[0] + a[2], a[1] + a[3], width=12)
        elif k == 6:
            cv.rect(a[0], a[1], a[2], a[3], rgb(a[5]) if a[5] > 6 else "#000000", width=15 * (a[4] + 1))
        elif k == 7:
            label_box(cv, r, base_size)
        elif k == 12:
            cv.line(a[0], a[2], a[1], a[3], rgb(a[5]) if a[5] > 6 else TEXT_COLOURS.get(a[5], "#000000"),
                    15 * max(1, a[4]))
        elif k == 15:
            picture(cv, a, r.text)
        elif k == 18:
            tick(cv, a[0], a[1], 90)
        elif k == 20:
            ring_after.append(a)
            cv.circle(a[0], a[1], a[2], width=15)
        elif k == 21 and is_acbl:
            cv.text(a[0], a[1] + fm.ascent(7), " (12-31-2025)", (a[5] >> 8) or 7, bold=True,
                    face="Liberation Sans Narrow")
    # Card layer.
    tint_colour = TINTS.get(tint)
    for r in card:
        if r.kind == 1:
            cv.fillrect(r.a[0], r.a[1], r.a[2], r.a[3], "white")
    for r in card:
        k, a = r.kind, r.a
        if k == 3:
            s = a[5]
            cv.rect(a[0], a[1], s, s, TEXT_COLOURS.get(a[2], "#000000"), "white", 20)
            if a[4]:
                if check_style == 0:
                    cv.fillrect(a[0], a[1], s, s, "#000000")
                elif check_style == 1:
                    tick(cv, a[0], a[1], s)
                else:
                    cv.line(a[0], a[1], a[0] + s, a[1] + s, width=20)
                    cv.line(a[0], a[1] + s, a[0] + s, a[1], width=20)
    for r in card:
        if r.kind == 15:
            picture(cv, r.a, r.text)
    for r in card:
        k, a = r.kind, r.a
        if k == 5:
            if a[4] == 1:
                cv.rect(a[0], a[1], a[2], a[3])
            elif a[4]:
                cv.line(a[0], a[1] + a[3], a[0] + a[2], a[1] + a[3])
            elif show_spots:
                cv.rect(a[0], a[1], a[2], a[3], "#c0c0ff", width=6)
    for r in card:
        if r.kind == 6:
            a = r.a
            cv.rect(a[0], a[1], a[2], a[3], rgb(a[5]), width=15 * max(1, a[4]))
    for r in card:
        if r.kind == 12:
            a = r.a
            cv.line(a[0], a[2], a[1], a[3], rgb(a[5]), 15 * max(1, a[4]))
    for r in card:
        if r.kind == 4:
            a = r.a
            if a[3] in (1, 3):
                cv.circle(a[0], a[1], a[4], rgb(a[5]), width=25)
            if a[3] in (2, 3):
                cv.line(a[0] - a[4] + a[4] / 2.5, a[1] + a[4], a[0] + a[4] - a[4] / 2.5, a[1] + a[4], rgb(a[5]))
            if a[3] == 0 and show_spots:
                cv.circle(a[0], a[1], a[4], "#c0c0ff", width=6)
    for r in card:
        if r.kind == 24:
            circled_item(cv, r, is_acbl)
    for r in card:
        if r.kind == 7:
            label_box(cv, r, basic_size)
    for r in card:
        if r.kind == 16:
            a = r.a
            cv.circle(a[0], a[1], a[2], "#000000", DOT_FILLS.get(a[3], "#ffffff"), 15)
    for r in card:
        if r.kind == 18:
            if r.a[2] == 1:
                cv.add('<polyline points="%d,%d %d,%d %d,%d" fill="none" stroke="black" stroke-width="30"/>'
                       % (r.a[0], r.a[1], r.a[0] + 60, r.a[1] + 75, r.a[0] + 180, r.a[1] - 90))
            elif show_spots:
                cv.circle(r.a[0] + 90, r.a[1], 40, "#c0c0ff", width=6)
    for r in card:
        if r.kind == 23:
            a = r.a
            cv.rect(a[0], a[1], a[2], a[3], width=15)
            size = 9
            top = a[1] + 15
            if a[4] == 1:
                cv.text(a[0] + 30, top + fm.ascent(size, "Times New Roman"), "NT", size, face="Liberation Serif")
            elif a[4] == 2:
                cv.text(a[0] + 60, top + fm.ascent(size, "Times New Roman"), "S", size, face="Liberation Serif")
            elif a[4] == 3:
                tick(cv, a[0] + 60, a[1] + 15, 127)
    for r in card:
        if r.kind == 8:
            a = r.a
            field_text(cv, a[0], a[1], r.text, a[2], a[3], a[4], a[5], basic_size)
    # The user's text.
    texts = [r for r in card if r.kind == 2]
    for i, r in enumerate(texts):
        a = r.a
        s = r.text
        if names_override is not None and i in names_override:
            s = names_override[i]
        field_text(cv, a[0], a[1], s, a[2], a[3], a[4], a[5], basic_size, bar=tint_colour)
    return cv.svg()


def label_box(cv, r, basic_size):
    a = r.a
    look = a[4] & 0xFF
    border = (a[4] >> 8) & 0xFF
    offset = (a[4] >> 16) & 0xFFFF
    if offset >= 100:
        offset = 100 - offset
    fill, edge, code = LABEL_LOOKS.get(look, ("#dfdfdf", "#000000", 64))
    cv.fillrect(a[0], a[1], a[2], a[3], fill)
    if border:
        cv.rect(a[0], a[1], a[2], a[3], edge, width=15 * border)
    h = ONE_LINE if look == 2 else a[3]
    field_text(cv, a[0], a[1] + 15 * offset, r.text.rstrip(), a[2], h, code, a[5], basic_size)


def circled_item(cv, r, is_acbl):
    a = r.a
    size = a[4] or 8
    lab = r.text
    cv.text(a[0], a[1] + fm.ascent(size), lab, size, bold=bool(a[2]), underline=a[3] in (2, 3))
    dx, dy, rad = CIRCLE_GEOMETRY.get(lab, (37, 97, 82))
    if is_acbl:
        rad += 15
        dy -= 15
    if a[3] in (1, 3):
        cv.circle(a[0] + dx, a[1] + dy, rad, rgb(a[5]), width=20)


def picture(cv, a, name):
    cv.rect(a[0], a[1], a[2], a[3], "#808080", "#e8e8f0", 10)
    cv.text(a[0] + 40, a[1] + a[3] / 2 + 60, name, 7, "#606060")
