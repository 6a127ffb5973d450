"""Building a card page: the printed base layer and the fill-in template.

A page is described with a few nested helpers: columns stacked with sections,
sections made of rows, and rows filled from left to right with printed text,
check boxes with captions, blanks to write on, circled items and option
fields.  Every item is measured with the renderer's fonts, so the cursor of a
row always stands behind what was drawn, and a row refuses an item that would
run past its right edge.
"""

import math
import re
from dataclasses import dataclass
from functools import lru_cache

from . import fontmetrics as fm
from . import marks
from .marks import CIRCLE_GEOMETRY, RING_CLEAR, TICK_CLEAR
from .records import (Record, TEXT_FIELD, CHECK_BOX, CIRCLE, FRAME_BOX, RECTANGLE,
                      LABEL_BOX, KIND8, LINE, BITMAP, COLOUR_DOT, KIND17, TICK_MARK,
                      RING, FOOTER_DATE, PRINT_TEXT, OPTION_FIELD, CIRCLED_ITEM)

# Colour codes of text.
BASE = 1
RED = 2
BLUE = 5
BLACK = 0
USER_INPUT = 1  # text fields: the user's typed-text colour of the format

# Text style bits.
LEFT, RIGHT, CENTRE = 0, 1, 2
MULTI_LEFT = 3
BOLD = 16
ITALIC = 32
UNDERLINE = 128

TEXT_SLACK = 0.035  # share of a text's width kept free behind it
MIN_GAP = 45    # least space between two items of a row, twips
ONE_LINE = 240  # a text height of exactly this many twips means "one line, never wrapped"


def style_word(align=LEFT, bold=False, italic=False, size=0, underline=False):
    return align + (BOLD if bold else 0) + (ITALIC if italic else 0) + \
        (UNDERLINE if underline else 0) + int(size) * 256


class Tagged(str):
    """A caption with a colour code: alerts print red, announcements blue."""
    colour = BASE


class _Red(Tagged):
    colour = RED


class _Blue(Tagged):
    colour = BLUE


def red(s):
    return _Red(s)


def blue(s):
    return _Blue(s)


def colour_of(s, default=BASE):
    return s.colour if isinstance(s, Tagged) else default


def slug(s):
    s = re.sub(r"<([cdhs])>", lambda m: {"c": "c", "d": "d", "h": "h", "s": "s"}[m.group(1).lower()], s)
    s = s.lower().replace("+", "plus").replace("&", "and").replace("%", "pct")
    s = re.sub(r"[^a-z0-9]+", "_", s).strip("_")
    return s or "x"


@dataclass
class Style:
    """Typography and spacing of one card format."""
    base_size: float = 7.5        # printed text, points
    field_size: float = 8.0       # the user's text, points
    pitch: int = 240              # row height, twips
    check: int = 120              # side of a check box, twips
    gap: int = 80                 # space between items in a row
    caption_gap: int = 0          # space between a check box and its caption; 0: room for a tick
                                  # mark, which the renderer draws reaching half a box beyond the box
    code: str = ""                # the format's code: the program sizes some rings by it
    title_size: int = 8           # section titles, whole points
    title_box: int = 6 + 256      # label box look: low byte style, second byte border width
    title_h: int = 210
    circle_size: int = 8          # circled items, whole points
    circle_colour: int = 0
    pad: int = 60                 # inner margin of a section
    section_gap: int = 90         # space between stacked sections
    face: str = "Arial"
    line_below: int = 40          # writing line below the baseline
    frame_rows: bool = True       # sections are outlined


class LayoutError(Exception):
    pass


class CircleMark:
    """How one item to circle is drawn in a format, placed at x = 0 with its cell's top at y = 0.

    Where the program's own ring for the label sits on its letter, the item is a circled
    item; where that ring would cut the letter, the letter is printed and a ring of our
    own (a ring spot) is centred on it.
    """

    def __init__(self, label, size, code, field_size, bold=False, printed=False, underline=False,
                 colour=BLACK):
        if label not in CIRCLE_GEOMETRY:
            raise LayoutError("no ring geometry for circled item %r" % label)
        self.label, self.size, self.bold = label, size, bold
        self.underline, self.colour = underline, colour
        # The program prints a circled item's label black and plain: a label printed in
        # colour or underlined is printed by us, with a ring of our own.
        printed = printed or underline or colour != BLACK
        self.own_ring = not printed and marks.ring_cut(label, size, code, bold) <= marks.RING_CUT
        if self.own_ring:
            self.cx, self.cy, self.r = marks.ring_of(label, code)
            # The program's hit test: from 15 twips left of the item, a letter H wide.
            self.click = (-15, fm.raw_width("H", field_size))
        else:
            self.cx, self.cy, self.r = (round(v) for v in marks.ring_around(label, size, CIRCLE_FACE, bold,
                                                                              underline))
            # As large as the program's rings around capitals, so that the rings of a grid match.
            self.r = max(self.r, marks.ring_of("A", code)[2])
            self.click = (self.cx - self.r, self.cx + self.r)
        self.edges = fm.text_edges(label, size, CIRCLE_FACE, bold)
        ink = fm.ink_box(label, size, CIRCLE_FACE, bold)
        self.ink = (ink[0], ink[2])
        if underline:
            x0, y0, x1, y1 = marks.underline_box(label, size, CIRCLE_FACE, bold)
            self.edges = list(self.edges) + [((x0, y0), (x1, y0)), ((x1, y0), (x1, y1)),
                                             ((x1, y1), (x0, y1)), ((x0, y1), (x0, y0))]
            self.ink = (min(self.ink[0], x0), max(self.ink[1], x1))

    def left_reach(self):
        """How far the mark reaches left of its position."""
        return max(self.r - self.cx, -self.ink[0], -self.click[0])

    def right_reach(self):
        return max(self.cx + self.r, self.ink[1], self.click[1])


CIRCLE_FACE = marks.CIRCLE_FACE
LETTER_GAP = 40     # least paper between the letters of one holding
PRINTED_GAP = 75    # ... and between a letter we print and its neighbours: a millimetre
RING_BOX_SLACK = 10  # how far the boxes of two neighbouring rings may overlap


@lru_cache(maxsize=None)
def _mark(label, size, code, field_size, bold, underline=False, colour=BLACK):
    return CircleMark(label, size, code, field_size, bold, underline=underline, colour=colour)


@lru_cache(maxsize=None)
def circle_distance(a, b):
    """Least distance between items a and b (CircleMarks) set one after the other."""
    def shifted(edges, d):
        return [((p[0] + d, p[1]), (q[0] + d, q[1])) for p, q in edges]

    d = 0
    while d < 2000:
        # Rings of our own are checked as boxes against the neighbouring rings: keep the
        # boxes apart (within the checker's slack).
        boxes_apart = (a.own_ring and b.own_ring) or \
            (b.cx + d - b.r) - (a.cx + a.r) >= -RING_BOX_SLACK
        gap = LETTER_GAP if a.own_ring and b.own_ring else PRINTED_GAP
        ok = (boxes_apart and b.ink[0] + d - a.ink[1] >= gap and
              b.click[0] + d > a.click[1] and
              marks.ring_clearance(a.cx, a.cy, a.r, shifted(b.edges, d)) >= RING_CLEAR and
              marks.ring_clearance(b.cx + d, b.cy, b.r, a.edges) >= RING_CLEAR)
        if ok:
            return d
        d += 5
    raise LayoutError("no room found between %r and %r" % (a.label, b.label))


class Page:
    """One page of a format: base-layer records and template records."""

    def __init__(self, width, height, style, name="", panels=None):
        self.width = width
        self.height = height
        self.style = style
        self.name = name
        # The panels a folded sheet shows, as (left, right) in twips: nothing may cross
        # from one to the next.  None: the page is one panel.
        self.panels = panels
        self.base = []
        self.tmpl = []
        self.keys = {}
        self.name_fields = []

    # ---- measuring -------------------------------------------------
    def tw(self, text, size=None, bold=False):
        return fm.drawn_width(text, size or self.style.base_size, self.style.face, bold)

    def asc(self, size):
        return fm.ascent(size, self.style.face)

    # ---- base layer -------------------------------------------------
    def text(self, x, top, s, size=None, bold=False, colour=None, align=LEFT, width=None,
             italic=False, kind=TEXT_FIELD, underline=False):
        """Printed text with its cell's top-left corner at (x, top)."""
        size = size or self.style.base_size
        colour = colour_of(s) if colour is None else colour
        w = width if width is not None else int(self.tw(s, size, bold)) + 8
        size_bits = 0 if size == self.style.base_size else int(round(size))
        if size_bits and abs(size_bits - size) > 1e-9:
            raise LayoutError("text sizes other than the page's own must be whole points: %r" % s)
        r = Record(kind, [x, round(top), w, ONE_LINE, colour,
                          style_word(align, bold, italic, size_bits, underline)], str(s))
        self.base.append(r)
        return r

    def text_centred(self, x, w, top, s, size=None, bold=False, colour=None, kind=TEXT_FIELD):
        """Text centred in (x, w) as it is drawn.

        The text drawer centres by the width of the text with its suit tags
        spelled out, which puts a text with suit symbols left of the middle;
        such a text is placed left-aligned at the place where it looks centred.
        """
        size = size or self.style.base_size
        if any(t in s.lower() for t in fm.SUIT_TAGS):
            dw = self.tw(s, size, bold)
            left = int(round(x + (w - dw) / 2 - 2))
            return self.text(left, top, s, size, bold, colour, LEFT, int(dw) + 8, kind=kind)
        return self.text(x, top, s, size, bold, colour, CENTRE, w, kind=kind)

    def text_at_baseline(self, x, baseline, s, size=None, bold=False, colour=None, **kw):
        size = size or self.style.base_size
        return self.text(x, baseline - self.asc(size), s, size, bold, colour, **kw)

    def runs(self, x, top, parts, size=None):
        """Printed text made of runs (text, colour, bold) set one after another.

        Each run is set a little behind the measured end of the one before: at some zooms
        the screen's rounded pixel sizes draw small text a few per cent wider."""
        for s, colour, bold in parts:
            self.text(x, top, s, size=size, bold=bold, colour=colour)
            x += self.tw(s, size or self.style.base_size, bold) * (1 + TEXT_SLACK)
        return x

    def label(self, x, y, w, h, s, look=None, size=None, bold=True, align=CENTRE):
        look = self.style.title_box if look is None else look
        size = size or self.style.title_size
        r = Record(LABEL_BOX, [x, y, w, h, look, style_word(align, bold, False, size)], s)
        self.base.append(r)
        return r

    def frame(self, x, y, w, h):
        self.base.append(Record(FRAME_BOX, [x, y, w, h, 1]))

    def underline(self, x, y, w, h):
        """A writing line along the bottom edge of the box (x, y, w, h)."""
        self.base.append(Record(FRAME_BOX, [x, y, w, h, 2]))

    def rect(self, x, y, w, h, pen=0, colour=0):
        self.base.append(Record(RECTANGLE, [x, y, w, h, pen, colour]))

    def hline(self, x1, x2, y, width=1, colour=0):
        self.base.append(Record(LINE, [x1, x2, y, y, width, colour]))

    def vline(self, x, y1, y2, width=1, colour=0):
        self.base.append(Record(LINE, [x, x, y1, y2, width, colour]))

    def picture(self, x, y, w, h, filename):
        self.base.append(Record(BITMAP, [x, y, w, h, 0], filename))

    def printed_box(self, x, y, colour=BASE):
        self.base.append(Record(CHECK_BOX, [x, y, colour, 0, 0, self.style.check]))

    def printed_ring(self, cx, cy, r, state=1):
        self.base.append(Record(CIRCLE, [cx, cy, 0, state, r, 0]))

    def printed_tick(self, x, y):
        self.base.append(Record(TICK_MARK, [x, y, 1, 0]))

    def ring(self, cx, cy, r):
        self.base.append(Record(RING, [cx, cy, r]))

    def footer_date(self, x, y, size=7):
        self.base.append(Record(FOOTER_DATE, [x, y, 1200, ONE_LINE, 0, style_word(size=size)]))

    def print_only_text(self, x, top, s, size=None):
        size = size or self.style.base_size
        w = int(self.tw(s, size)) + 8
        bits = 0 if size == self.style.base_size else int(size)
        self.base.append(Record(PRINT_TEXT, [x, round(top), w, ONE_LINE, BASE, style_word(size=bits)], s))

    # ---- template ------------------------------------------------------
    def _key(self, key, rec):
        if key:
            if key in self.keys:
                raise LayoutError("%s: key %r used twice" % (self.name, key))
            self.keys[key] = rec
            rec.key = key

    def field(self, x, y, w, h=ONE_LINE, key=None, align=LEFT, colour=USER_INPUT, text=""):
        """A blank the player writes in; its text takes the colour the player chose for
        typed text ("Font Color"), unless colour says otherwise."""
        r = Record(TEXT_FIELD, [x, round(y), w, h, colour, align], text)
        self.tmpl.append(r)
        self._key(key, r)
        return r

    def check(self, x, y, key=None, colour=BASE):
        r = Record(CHECK_BOX, [x, round(y), colour, 0, 0, self.style.check])
        self.tmpl.append(r)
        self._key(key, r)
        return r

    def circled(self, x, y, labelt, key=None, size=None, bold=False):
        size = size or self.style.circle_size
        if labelt not in CIRCLE_GEOMETRY:
            raise LayoutError("no ring geometry for circled item %r" % labelt)
        r = Record(CIRCLED_ITEM, [x, round(y), 1 if bold else 0, 0, size, self.style.circle_colour], labelt)
        self.tmpl.append(r)
        self._key(key, r)
        return r

    def option(self, x, y, w, h, key=None):
        r = Record(OPTION_FIELD, [x, round(y), w, h, 0])
        self.tmpl.append(r)
        self._key(key, r)
        return r

    def colour_dot(self, cx, cy, r, key=None):
        rec = Record(COLOUR_DOT, [cx, cy, r, 0, 0, 0])
        self.tmpl.append(rec)
        self._key(key, rec)
        return rec

    def tick_spot(self, x, y, key=None):
        r = Record(TICK_MARK, [x, y, 0, 0])
        self.tmpl.append(r)
        self._key(key, r)
        return r

    def ring_spot(self, cx, cy, r, key=None, label=""):
        rec = Record(CIRCLE, [cx, cy, 0, 0, r, 0], label=label)
        self.tmpl.append(rec)
        self._key(key, rec)
        return rec

    def box_spot(self, x, y, w, h, key=None):
        r = Record(FRAME_BOX, [x, y, w, h, 0])
        self.tmpl.append(r)
        self._key(key, r)
        return r

    def card_picture(self, x, y, w, h, filename):
        self.tmpl.append(Record(BITMAP, [x, y, w, h, 0], filename))

    def card_rect(self, x, y, w, h, pen=1, colour=0):
        self.tmpl.append(Record(RECTANGLE, [x, y, w, h, pen, colour]))

    def card_line(self, x1, x2, y1, y2, width=1, colour=0):
        self.tmpl.append(Record(LINE, [x1, x2, y1, y2, width, colour]))

    def card_label(self, x, y, w, h, s, look, size=None, bold=True):
        size = size or self.style.title_size
        self.tmpl.append(Record(LABEL_BOX, [x, y, w, h, look, style_word(CENTRE, bold, False, size)], s))

    def card_text(self, x, y, w, s, colour=BLACK, size=0, bold=False, align=LEFT):
        self.tmpl.append(Record(KIND8, [x, y, w, ONE_LINE, colour, style_word(align, bold, False, size)], s))

    def names(self, x, y, w, role):
        """A names or player-number field; these come first among the text fields."""
        r = self.field(x, y, w, key="names." + role)
        self.name_fields.append(r)
        return r

    def marks_for(self, labels, bold=(), underline=(), red=()):
        st = self.style
        return [_mark(lab, st.circle_size, st.code.upper(), st.field_size, i in bold, i in underline,
                      RED if i in red else BLACK)
                for i, lab in enumerate(labels)]

    def circles_extent(self, labels, spacing=None, bold=(), underline=(), red=()):
        """(left reach, width) of Row.circles(labels): how far the first ring reaches left of
        the first item, and how far right of the first item the last mark ends."""
        ms = self.marks_for(labels, bold, underline, red)
        x, right = 0, 0
        for i, m in enumerate(ms):
            right = max(right, x + m.right_reach())
            if i < len(ms) - 1:
                x += max(spacing or 0, circle_distance(m, ms[i + 1]))
        return ms[0].left_reach(), right

    # ---- flow helpers ----------------------------------------------------
    def column(self, x, width, y):
        self.panel_of(x, x + width)
        return Column(self, x, width, y)

    def panel_of(self, x0, x1):
        """The panel that holds x0..x1; a layout error when it would cross a fold."""
        if not self.panels:
            return 0
        for i, (left, right) in enumerate(self.panels):
            if left <= x0 and x1 <= right:
                return i
        raise LayoutError("%s: %d..%d crosses a panel's edge" % (self.name, x0, x1))

    def finish(self):
        """Put the names fields first among the text fields and check the page edge."""
        if self.name_fields:
            others = [r for r in self.tmpl if r not in self.name_fields]
            self.tmpl = self.name_fields + others
        for r in self.base + self.tmpl:
            if r.kind in (TEXT_FIELD, LABEL_BOX, FRAME_BOX, RECTANGLE, BITMAP, OPTION_FIELD):
                x, y, w, h = r.a[:4]
                if x < 0 or y < 0 or x + w > self.width or y + h > self.height:
                    raise LayoutError("%s: %r runs off the page (%d,%d %dx%d)" % (
                        self.name, r.text or r.key or r.kind, x, y, w, h))


class Column:
    """A vertical stack of sections."""

    def __init__(self, page, x, width, y):
        self.page, self.x, self.width, self.y = page, x, width, y

    def section(self, title, sid, look=None, tabs=None):
        return Section(self, title, sid, look, tabs)

    def space(self, dy):
        self.y += dy


class Section:
    """A titled, outlined block of rows inside a column."""

    def __init__(self, col, title, sid, look=None, tabs=None):
        self.col, self.page, self.sid = col, col.page, sid
        st = self.page.style
        self.x0 = col.x
        self.x1 = col.x + col.width
        self.top = col.y
        self.tabs = tabs or []
        self.y = self.top
        if title:
            self.page.label(self.x0, self.top, col.width, st.title_h, title, look)
            self.y += st.title_h
        self.ceiling = self.y
        self.y += st.pad // 2
        self.row_count = 0

    def __enter__(self):
        return self

    def __exit__(self, exc_type, exc, tb):
        if exc_type is None:
            self.close()

    def close(self):
        st = self.page.style
        self.y += st.pad // 2
        if st.frame_rows:
            self.page.frame(self.x0, self.top, self.x1 - self.x0, self.y - self.top)
        self.col.y = self.y + st.section_gap

    def row(self, rid=None, height=None):
        if self.row_count == 0:
            # A tick reaches half a box above its box: keep it clear of the title's rule.
            st = self.page.style
            box_top = self.page.asc(st.field_size) - st.check + 5
            self.y = max(self.y, math.ceil(self.ceiling + TICK_CLEAR + st.check / 2 - box_top))
        r = Row(self, self.y, rid)
        self.y += height or self.page.style.pitch
        self.row_count += 1
        return r

    def space(self, dy):
        self.y += dy

    def area(self, lines, key, label=None, until=None):
        """A framed box to write several lines in; with until, it reaches down to that y."""
        st, p = self.page.style, self.page
        inner_x = self.x0 + st.pad
        w = self.x1 - st.pad - inner_x
        if label:
            self.row().text(label)
        h = (until - self.y - 40 - st.pad // 2) if until else lines * st.pitch
        if h < st.pitch:
            raise LayoutError("%s: no room for the area %r" % (self.page.name, key))
        p.frame(inner_x, self.y, w, h)
        p.field(inner_x + 40, self.y + 30, w - 80, h - 60, key=self.sid + "." + key, align=MULTI_LEFT)
        self.y += h + 40

    def key(self, rid, name, explicit=None):
        if explicit and "." in explicit:
            return explicit
        parts = [self.sid] + ([rid] if rid else []) + [explicit or slug(name)]
        return ".".join(parts)


class Row:
    """One line of a section, filled from left to right."""

    def __init__(self, sec, y, rid=None):
        self.sec, self.page, self.y, self.rid = sec, sec.page, y, rid
        st = self.page.style
        self.x = sec.x0 + st.pad
        self.x1 = sec.x1 - st.pad
        self.baseline = y + self.page.asc(st.field_size)
        self.first = True
        self.last_text_width = 0

    # cursor handling
    def _gap(self, gap=None):
        if self.first:
            return 0
        g = self.page.style.gap if gap is None else gap
        # The renderer's text can come out a few per cent wider than measured:
        # keep the space behind a long text in proportion.
        return max(g, TEXT_SLACK * self.last_text_width + 25)

    def _start(self, gap=None):
        self.x += self._gap(gap)
        self.first = False
        self.last_text_width = 0
        return self.x

    def _advance(self, w):
        self.x += w
        if self.x > self.x1 + 1:
            raise LayoutError("%s: row %r of section %r overflows by %d twips" % (
                self.page.name, self.rid, self.sec.sid, self.x - self.x1))

    def tab(self, i):
        """Move to tab stop i of the section (a column of aligned items)."""
        x = self.sec.x0 + self.page.style.pad + self.sec.tabs[i]
        if x < self.x + MIN_GAP and not self.first:
            raise LayoutError("%s: row %r of %r passes tab %d" % (self.page.name, self.rid, self.sec.sid, i))
        self.x = x
        self.first = True
        return self

    def at(self, dx):
        """Move to dx twips from the section's inner left edge."""
        x = self.sec.x0 + self.page.style.pad + dx
        if x < self.x + MIN_GAP and not self.first:
            raise LayoutError("%s: row %r of %r passes %d" % (self.page.name, self.rid, self.sec.sid, dx))
        self.x = x
        self.first = True
        return self

    def skip(self, dx):
        self.x += dx
        return self

    # items
    def text(self, s, bold=False, colour=None, size=None, gap=None):
        x = self._start(gap)
        size = size or self.page.style.base_size
        self.page.text_at_baseline(x, self.baseline, s, size, bold, colour)
        self._advance(self.page.tw(s, size, bold))
        self.last_text_width = self.page.tw(s, size, bold)
        return self

    def check(self, caption=None, key=None, colour=None, gap=None, box_colour=BASE):
        """A check box followed by its caption; the key defaults to the caption.

        The caption starts clear of where a tick in the box reaches: half a box above
        it and half a box right of it.
        """
        st = self.page.style
        x = self._start(gap)
        k = self.sec.key(self.rid, caption or "box", key)
        self.page.check(x, self.baseline - st.check + 5, key=k, colour=box_colour)
        self._advance(st.check)
        if caption:
            self.x += st.caption_gap or caption_offset(str(caption), st.base_size, st.check) - st.check
            self.page.text_at_baseline(self.x, self.baseline, caption, colour=colour)
            self._advance(self.page.tw(caption))
            self.last_text_width = self.page.tw(caption)
        return self

    def field(self, width, key, line=True, align=LEFT, gap=None, name_role=None):
        """A blank to write on, width twips long."""
        st = self.page.style
        x = self._start(gap)
        k = self.sec.key(self.rid, key, key)
        top = self.baseline - self.page.asc(st.field_size)
        if name_role:
            r = self.page.names(x, top, width, name_role)
        else:
            r = self.page.field(x, top, width, key=k, align=align)
        if line:
            self.page.underline(x, top, width, self.baseline + st.line_below - top)
        self._advance(width)
        self.last = r
        return self

    def fill(self, key, line=True, gap=None, name_role=None):
        """A blank from the cursor to the right edge of the row."""
        start = round(self.x + self._gap(gap))
        w = int(round(self.x1)) - start
        if w < 300:
            raise LayoutError("%s: no room left for %r in %r" % (self.page.name, key, self.sec.sid))
        return self.field(w, key, line, gap=gap, name_role=name_role)

    def range(self, key, width=330, word="to"):
        """Two blanks: '___ to ___' with keys key_lo and key_hi."""
        self.field(width, key + "_lo")
        self.text(word)
        self.field(width, key + "_hi")
        return self

    def circles(self, labels, key, spacing=None, gap=None, bold=(), underline=(), red=()):
        """Items to circle, e.g. the cards of a lead holding; keys key.0, key.1 ...

        Each item stands far enough from its neighbours for its ring to keep clear of
        their letters (spacing, when given, is the least distance between items); the
        first ring does not reach back over the previous item and the cursor ends
        behind the last ring.  bold, underline, red: indexes of the items printed in bold,
        underlined or red.
        """
        st = self.page.style
        ms = self.page.marks_for(labels, bold, underline, red)
        was_first = self.first
        x = self._start(gap)
        if not was_first:
            x += max(0, ms[0].left_reach())
        top = self.baseline - self.page.asc(st.circle_size)
        base_key = self.sec.key(self.rid, key, key)
        right = x
        for i, m in enumerate(ms):
            k = "%s.%d" % (base_key, i)
            if m.own_ring:
                self.page.circled(x, top, m.label, key=k, bold=m.bold)
            else:
                # The text drawer sets a left-aligned text 2 twips in from its cell.
                self.page.text(x - 2, top, m.label, size=st.circle_size, bold=m.bold, colour=m.colour,
                               underline=m.underline)
                self.page.ring_spot(x + m.cx, round(top + m.cy), m.r, key=k, label=m.label)
            right = max(right, x + m.right_reach())
            if i < len(ms) - 1:
                x += max(spacing or 0, circle_distance(m, ms[i + 1]))
        self._advance(right - self.x)
        return self

    def option(self, key, width=300, gap=None):
        """An NT / S field: wide and high enough for the marks the program prints in it."""
        x = self._start(gap)
        width = max(width, OPTION_W)
        self.page.option(x, self.baseline - OPTION_H + OPTION_BELOW, width, OPTION_H,
                         key=self.sec.key(self.rid, key, key))
        self._advance(width + 20)
        return self


def _option_size():
    need_w = marks.option_width_needed()
    need_h = 0
    for medium, box, ms, _ticks in marks.option_marks(0, 0, 0, 0):
        need_h = max(need_h, max(ink[3] for _t, ink in ms) + marks.OPTION_MARGIN[medium] - box[1])
    return int(math.ceil(need_w / 5) * 5), int(math.ceil(need_h))


OPTION_W, OPTION_H = _option_size()
OPTION_BELOW = 60   # how far an option box reaches below the row's baseline


def caption_offset(caption, size, side):
    """Where a check box's caption starts, from the box's left edge: clear of the reach of
    a tick in the box, which rises half a box above it to half a box right of it."""
    reach = marks.tick_box(0, 0, side)[2] + TICK_CLEAR
    boxes = fm.glyph_boxes(caption, size)
    # The text drawer sets a left-aligned text 2 twips in from its cell.
    first = min((g[0] for g in boxes), default=0) + 2
    return max(side, int(math.ceil((reach - first) / 5) * 5))
