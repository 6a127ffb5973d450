"""The reach of marks on a written page, measured against the ink around them.

A tick drawn in a check box, a ring around a circled item, an NT or S mark in
its box and the white of an erased area all reach beyond the record that holds
them.  These checks read the page as written (base layer and card together),
build the ink of every record, and report a mark that touches ink that is not
its own.
"""

import math

from . import fontmetrics as fm
from . import marks
from .page import TEXT_SLACK
from .records import (TEXT_FIELD, CHECK_BOX, CIRCLE, FRAME_BOX, RECTANGLE, LABEL_BOX, KIND8,
                      LINE, BITMAP, COLOUR_DOT, KIND17, TICK_MARK, RING, PRINT_TEXT, OPTION_FIELD,
                      CIRCLED_ITEM, CLEARED_AREA)

ONE_LINE = 240
MAX_REPORTS = 40


class Shape:
    """Ink on the page: a box, and for a line of text the outline edges and the box of each letter.

    medium: "screen" or "paper" for ink drawn on one of them only."""
    __slots__ = ("box", "edges", "glyphs", "what", "owner", "text", "medium", "run", "printed", "mark")

    def __init__(self, box, what, owner, edges=None, text=None, medium=None, glyphs=None):
        self.box, self.what, self.owner, self.edges, self.text = box, what, owner, edges, text
        self.medium, self.glyphs = medium, glyphs
        self.run = None         # left-aligned text: (cell top, cell left, where the drawn text ends)
        self.printed = False    # printed text of the form (or a card's kind-8 text)
        self.mark = False       # drawn only when the player clicks it (a box around printed words)

    def distance_to_box(self, box):
        """From the room a tick takes: a letter counts by its whole box, so that a tick's tip
        never stands over a caption even where the letter's corner is empty."""
        d = box_distance(box, self.box)
        if d > marks.TICK_CLEAR or not self.glyphs:
            return d
        return min(box_distance(box, g) for g in self.glyphs)

    def distance_to_point(self, x, y):
        if self.edges is None:
            return marks.point_box_distance(x, y, self.box)
        return min(marks.point_segment_distance(x, y, p, q) for p, q in self.edges)

    def centre(self):
        return (self.box[0] + self.box[2]) / 2, (self.box[1] + self.box[3]) / 2


class Ring:
    __slots__ = ("cx", "cy", "r", "what", "owner", "own_label")

    def __init__(self, cx, cy, r, what, owner, own_label=None):
        self.cx, self.cy, self.r, self.what, self.owner, self.own_label = cx, cy, r, what, owner, own_label


def box_distance(a, b):
    dx = max(a[0] - b[2], 0, b[0] - a[2])
    dy = max(a[1] - b[3], 0, b[1] - a[3])
    return math.hypot(dx, dy)


def style_size(style, default):
    n = (style & ~0xFF) // 256
    return n if n else default


def _strip_prefix(text):
    if text.startswith("#<"):
        end = text.find(">#")
        return text[end + 2:] if end >= 0 else ""
    return text


def text_shape(x, y, w, text, style, size, what, owner):
    """The letters of a one-line text as the text drawer sets them in the cell (x, y, w)."""
    text = _strip_prefix(text)
    bold = bool(style & 16)
    ink = fm.ink_box(text, size, "Arial", bold)
    if ink is None:
        return None
    align = style & 7
    if align in (1, 4):
        left = x + w - fm.raw_width(text, size, "Arial", bold)
    elif align in (2, 5):
        left = x + (w - fm.raw_width(text, size, "Arial", bold)) / 2
    else:
        left = x + 2
    edges = [((p[0] + left, p[1] + y), (q[0] + left, q[1] + y))
             for p, q in fm.text_edges(text, size, "Arial", bold)]
    glyphs = [(g[0] + left, g[1] + y, g[2] + left, g[3] + y) for g in fm.glyph_boxes(text, size, "Arial", bold)]
    box = (left + ink[0], y + ink[1], left + ink[2], y + ink[3])
    shape = Shape(box, what, owner, edges, text, glyphs=glyphs)
    shape.printed = True
    if align in (0, 3, 6, 7):
        shape.run = (y, x, x + fm.drawn_width(text, size, "Arial", bold))
    return shape


def _edges_of_box(x0, y0, x1, y1, what, owner, bottom_only=False):
    if bottom_only:
        return [Shape((x0, y1, x1, y1), what, owner)]
    return [Shape((x0, y0, x1, y0), what, owner), Shape((x0, y1, x1, y1), what, owner),
            Shape((x0, y0, x0, y1), what, owner), Shape((x1, y0, x1, y1), what, owner)]


class PageInk:
    """Every record of a page (base layer and card) as shapes and rings."""

    def __init__(self, code, base, card, field_size, base_size):
        self.code, self.field_size, self.base_size = code, field_size, base_size
        self.erased = [(r.a[0], r.a[1], r.a[0] + r.a[2], r.a[1] + r.a[3]) for r in card if r.kind == CLEARED_AREA]
        self.shapes, self.rings, self.base_shapes = [], [], []
        for i, r in enumerate(base):
            self._add(r, ("base", i), self.base_size, base=True)
        for i, r in enumerate(card):
            self._add(r, ("card", i), self.field_size, base=False)
        # What lies wholly under an erased area is painted over.
        self.shapes = [s for s in self.shapes if s.owner[0] == "card" or not self._under_erased(s.box)]
        self.rings = [r for r in self.rings if r.owner[0] == "card" or not self._under_erased(
            (r.cx - r.r, r.cy - r.r, r.cx + r.r, r.cy + r.r))]

    def _under_erased(self, b):
        return any(e[0] <= b[0] and b[2] <= e[2] and e[1] <= b[1] and b[3] <= e[3] for e in self.erased)

    def _erased_text(self, r):
        return any(e[0] <= r.a[0] <= e[2] and e[1] <= r.a[1] <= e[3] for e in self.erased)

    def _add(self, r, owner, size, base):
        a = r.a
        out = []
        where = "%s %s" % ("printed" if base else "card", owner[1])
        if r.kind in (TEXT_FIELD, KIND8, KIND17, PRINT_TEXT) and (base or r.kind == KIND8):
            if base and r.kind == TEXT_FIELD and self._erased_text(r):
                return
            sz = style_size(a[5], size)
            if a[3] == ONE_LINE:
                shape = text_shape(a[0], a[1], a[2], r.text, a[5], sz, repr(r.text), owner)
                if shape:
                    out.append(shape)
            else:
                shape = Shape((a[0], a[1], a[0] + a[2], a[1] + a[3]), repr(r.text), owner)
                shape.printed = True
                out.append(shape)
        elif r.kind == TEXT_FIELD:
            h = fm.line_height(style_size(a[5], size)) if a[3] == ONE_LINE else a[3]
            out.append(Shape((a[0], a[1], a[0] + a[2], a[1] + h), "text field at (%d,%d)" % (a[0], a[1]), owner))
        elif r.kind == CHECK_BOX:
            out.append(Shape((a[0], a[1], a[0] + a[5], a[1] + a[5]),
                             "%s box at (%d,%d)" % ("printed" if base else "check", a[0], a[1]), owner))
        elif r.kind in (CIRCLE, RING):
            radius = a[4] if r.kind == CIRCLE else a[2]
            self.rings.append(Ring(a[0], a[1], radius, "ring at (%d,%d)" % (a[0], a[1]), owner))
        elif r.kind == FRAME_BOX:
            state = a[4]
            if base and state not in (1, 2):
                return
            # A box spot of the card may be clicked to a box or an underline.
            edges = _edges_of_box(a[0], a[1], a[0] + a[2], a[1] + a[3], "rule of a box at (%d,%d)" % (a[0], a[1]),
                                  owner, bottom_only=base and state == 2)
            if not base:
                for e in edges:
                    e.mark = True
                    e.what = "box to click at (%d,%d)" % (a[0], a[1])
            out.extend(edges)
        elif r.kind == RECTANGLE:
            out.extend(_edges_of_box(a[0], a[1], a[0] + a[2], a[1] + a[3],
                                     "rectangle at (%d,%d)" % (a[0], a[1]), owner))
        elif r.kind == LINE:
            out.append(Shape((min(a[0], a[1]), min(a[2], a[3]), max(a[0], a[1]), max(a[2], a[3])),
                             "rule at (%d,%d)" % (a[0], a[2]), owner))
        elif r.kind in (LABEL_BOX, BITMAP):
            out.append(Shape((a[0], a[1], a[0] + a[2], a[1] + a[3]),
                             "label %r" % r.text if r.kind == LABEL_BOX else "picture %s" % r.text, owner))
        elif r.kind == COLOUR_DOT:
            out.append(Shape((a[0] - a[2], a[1] - a[2], a[0] + a[2], a[1] + a[2]), "colour dot", owner))
        elif r.kind == TICK_MARK:
            out.append(Shape((a[0], a[1] - 90, a[0] + 180, a[1] + 75), "tick at (%d,%d)" % (a[0], a[1]), owner))
        elif r.kind == OPTION_FIELD:
            for medium, box, _ms, _ticks in marks.option_marks(*a[:4]):
                out.append(Shape(box, "NT/S box at (%d,%d)" % (a[0], a[1]), owner, medium=medium))
        elif r.kind == CIRCLED_ITEM:
            sz = a[4] or 8
            bold = bool(a[2])
            ink = fm.ink_box(r.text, sz, marks.CIRCLE_FACE, bold)
            if ink is not None:
                edges = [((p[0] + a[0], p[1] + a[1]), (q[0] + a[0], q[1] + a[1]))
                         for p, q in fm.text_edges(r.text, sz, marks.CIRCLE_FACE, bold)]
                glyphs = [(g[0] + a[0], g[1] + a[1], g[2] + a[0], g[3] + a[1])
                          for g in fm.glyph_boxes(r.text, sz, marks.CIRCLE_FACE, bold)]
                out.append(Shape((a[0] + ink[0], a[1] + ink[1], a[0] + ink[2], a[1] + ink[3]),
                                 "item %r at (%d,%d)" % (r.text, a[0], a[1]), owner, edges, r.text, glyphs=glyphs))
            if r.text in marks.CIRCLE_GEOMETRY:
                dx, dy, radius = marks.ring_of(r.text, self.code)
                self.rings.append(Ring(a[0] + dx, a[1] + dy, radius, "ring of %r at (%d,%d)" % (r.text, a[0], a[1]),
                                       owner, own_label=r.text))
        self.shapes.extend(out)
        if base:
            self.base_shapes.extend(out)

    def near(self, box, reach):
        x0, y0, x1, y1 = box
        return [s for s in self.shapes
                if s.box[0] <= x1 + reach and s.box[2] >= x0 - reach and
                s.box[1] <= y1 + reach and s.box[3] >= y0 - reach]


def check_marks(code, base, card, field_size, base_size, where, rep, panels=None):
    ink = PageInk(code, base, card, field_size, base_size)
    faults = []
    faults += tick_faults(ink, card)
    faults += option_faults(ink, card)
    faults += ring_faults(ink)
    faults += erased_faults(ink)
    faults += box_mark_faults(ink)
    faults += text_room_faults(ink)
    if panels:
        faults += panel_faults(ink, panels)
    for f in faults[:MAX_REPORTS]:
        rep.fault(where, f)
    if len(faults) > MAX_REPORTS:
        rep.fault(where, "%d more faults of marks" % (len(faults) - MAX_REPORTS))


def _tick_faults(ink, room, own, what, medium=None):
    """Ink within reach of the room a tick takes (its box and all its strokes reach)."""
    out = []
    for shape in ink.near(room, marks.TICK_CLEAR):
        if shape.owner == own or (medium and shape.medium and shape.medium != medium):
            continue
        d = shape.distance_to_box(room)
        if d < marks.TICK_CLEAR:
            out.append("%s reaches %s (%.0f twips from it)" % (what, shape.what, d))
    for ring in ink.rings:
        if ring.owner == own:
            continue
        if _ring_box_distance(ring, room) < marks.TICK_CLEAR:
            out.append("%s reaches the %s" % (what, ring.what))
    return out


def _ring_box_distance(ring, box):
    """Distance between a ring's line and a box (0 when the line passes through it)."""
    near = marks.point_box_distance(ring.cx, ring.cy, box)
    far = max(math.hypot(x - ring.cx, y - ring.cy) for x in (box[0], box[2]) for y in (box[1], box[3]))
    if near <= ring.r <= far:
        return 0.0
    return near - ring.r if near > ring.r else ring.r - far


def tick_faults(ink, card):
    """A tick in any check box (the options let every card use ticks) keeps clear of other ink."""
    out = []
    for i, r in enumerate(card):
        if r.kind != CHECK_BOX:
            continue
        x, y, side = r.a[0], r.a[1], r.a[5]
        out += _tick_faults(ink, marks.tick_box(x, y, side), ("card", i),
                            "the tick of the check box at (%d,%d)" % (x, y))
    return out


def option_faults(ink, card):
    out = []
    for i, r in enumerate(card):
        if r.kind != OPTION_FIELD:
            continue
        x, y, w, h = r.a[:4]
        for medium, box, ms, ticks in marks.option_marks(x, y, w, h):
            m = marks.OPTION_MARGIN[medium]
            for text, b in ms:
                if b[0] < box[0] + m or b[2] > box[2] - m or b[1] < box[1] + m or b[3] > box[3] - m:
                    out.append("%r does not fit its box at (%d,%d) %s (%d x %d twips)" % (
                        text, x, y, "on " + medium if medium == "paper" else "on screen", w, h))
            tx, ty = ticks[0][0][0], ticks[0][0][1] - marks.OPTION_TICK / 2
            out += _tick_faults(ink, marks.tick_box(tx, ty, marks.OPTION_TICK), ("card", i),
                                "the tick of the NT/S box at (%d,%d) %s" % (
                                    x, y, "on paper" if medium == "paper" else "on screen"), medium)
    return out


def ring_faults(ink):
    """A ring keeps clear of every letter and rule but the one it rings, which it must not cut."""
    out = []
    for ring in ink.rings:
        reach = ring.r + marks.RING_CLEAR
        box = (ring.cx - ring.r, ring.cy - ring.r, ring.cx + ring.r, ring.cy + ring.r)
        for shape in ink.near(box, marks.RING_CLEAR):
            own = shape.owner == ring.owner or (
                ring.own_label is None and shape.edges is not None and
                math.hypot(shape.centre()[0] - ring.cx, shape.centre()[1] - ring.cy) < ring.r / 2)
            if own:
                if shape.edges is not None:
                    cut = max(math.hypot(p[0] - ring.cx, p[1] - ring.cy) for p, _q in shape.edges) - ring.r
                    if cut > marks.RING_CUT:
                        out.append("the %s cuts its letter by %.0f twips" % (ring.what, cut))
                continue
            d = shape.distance_to_point(ring.cx, ring.cy)
            if d < reach:
                out.append("the %s comes within %.0f twips of %s" % (ring.what, max(0, d - ring.r), shape.what))
    return out


def box_mark_faults(ink):
    """A box the player clicks around printed words keeps clear of the words outside it."""
    out = []
    for edge in ink.shapes:
        if not edge.mark:
            continue
        for shape in ink.near(edge.box, marks.RING_CLEAR):
            if not shape.printed or shape.owner == edge.owner:
                continue
            frame = [e.box for e in ink.shapes if e.owner == edge.owner]
            x0 = min(b[0] for b in frame)
            y0 = min(b[1] for b in frame)
            x1 = max(b[2] for b in frame)
            y1 = max(b[3] for b in frame)
            b = shape.box
            if x0 <= b[0] and b[2] <= x1 and y0 <= b[1] and b[3] <= y1:
                continue    # the words it boxes
            d = _text_distance(shape, edge)
            if d < marks.RING_CLEAR:
                out.append("the %s comes within %.0f twips of %s" % (edge.what, d, shape.what))
    return out


def erased_faults(ink):
    """Printed ink half under an erased area leaves pieces of it showing."""
    out = []
    for shape in ink.base_shapes:
        b = shape.box
        for e in ink.erased:
            meets = b[0] < e[2] and b[2] > e[0] and b[1] < e[3] and b[3] > e[1]
            inside = e[0] <= b[0] and b[2] <= e[2] and e[1] <= b[1] and b[3] <= e[3]
            if meets and not inside:
                out.append("%s is only partly erased by the area at (%d,%d)" % (shape.what, e[0], e[1]))
    for ring in ink.rings:
        if ring.owner[0] != "base":
            continue
        b = (ring.cx - ring.r, ring.cy - ring.r, ring.cx + ring.r, ring.cy + ring.r)
        for e in ink.erased:
            meets = b[0] < e[2] and b[2] > e[0] and b[1] < e[3] and b[3] > e[1]
            inside = e[0] <= b[0] and b[2] <= e[2] and e[1] <= b[1] and b[3] <= e[3]
            if meets and not inside:
                out.append("the printed %s is only partly erased by the area at (%d,%d)" % (ring.what, e[0], e[1]))
    return out


TEXT_ROOM = 1440 / 25.4     # one millimetre: the least paper between printed text and its neighbours


def _same_line(a, b):
    """Two runs of one line of text, set one after the other."""
    if a.run is None or b.run is None or abs(a.run[0] - b.run[0]) > 1:
        return False
    first, second = (a, b) if a.run[1] < b.run[1] else (b, a)
    gap = second.run[1] - first.run[2]
    return -3 <= gap <= TEXT_SLACK * (first.run[2] - first.run[1]) + 5


def text_room_faults(ink):
    """Printed text keeps a millimetre of paper from any other ink (runs of one line excepted)."""
    out = []
    for t in ink.shapes:
        if not t.printed:
            continue
        for shape in ink.near(t.box, TEXT_ROOM):
            if shape is t or shape.owner == t.owner or shape.mark or _same_line(t, shape):
                continue
            if shape.printed and id(shape) < id(t):
                continue    # each pair of texts once
            d = _text_distance(t, shape)
            if d < TEXT_ROOM:
                out.append("printed text %s is %.0f twips from %s, less than 1 mm" % (t.what, d, shape.what))
    return out


def _text_distance(t, shape):
    mine = t.glyphs or [t.box]
    theirs = shape.glyphs or [shape.box]
    if box_distance(t.box, shape.box) >= TEXT_ROOM:
        return box_distance(t.box, shape.box)
    return min(box_distance(a, b) for a in mine for b in theirs)


def panel_faults(ink, panels):
    """Nothing crosses the fold between two panels: a section lies on one panel."""
    out = []

    def inside(x0, x1):
        return any(left - 1 <= x0 and x1 <= right + 1 for left, right in panels)

    for shape in ink.shapes:
        if not inside(shape.box[0], shape.box[2]):
            out.append("%s crosses the edge of a panel" % shape.what)
    for ring in ink.rings:
        if not inside(ring.cx - ring.r, ring.cx + ring.r):
            out.append("the %s crosses the edge of a panel" % ring.what)
    return out


def read_panels(comments):
    """The panels a layout file declares in its comment lines ("|Panels: 100-5400 5600-11000")."""
    for c in comments:
        if c.startswith("|Panels:"):
            out = []
            for part in c[len("|Panels:"):].split():
                left, _, right = part.partition("-")
                out.append((int(left), int(right)))
            return out
    return None
