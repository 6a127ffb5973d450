"""Where the program's marks reach, and how close other ink may come to them.

The renderer draws ticks, rings and NT/S marks in fixed shapes around a field's
position, partly outside the field itself: a tick reaches half a box above and
right of its box, a ring is placed from a table by its label.  The page
builder leaves room for these shapes and the checker measures them on the
written files, both with the functions here.  All values are card twips.
"""

import math

from . import fontmetrics as fm

PIXEL = 15          # twips per pixel of a 96 dpi screen at zoom 1, the coarsest view
TICK_CLEAR = 30     # from the centre line of a tick's stroke to other ink: half the
                    # two-pixel pen and one pixel of paper between
RING_CLEAR = 25     # from a ring's centre line to a neighbour's ink
RING_CUT = 3        # how far its own letter may reach past a ring's centre line
RING_OWN = 20       # from a ring we place ourselves to the letter it rings: half of the
                    # two-pixel pen of such rings and a little air
# Paper kept around an NT or S mark inside its box: on screen two pixels, as pixels round.
OPTION_MARGIN = {"screen": 2 * PIXEL, "paper": 10}

# The renderer's rings of circled items: label -> (dx, dy, r) from the item's corner.
CIRCLE_GEOMETRY = {}
for _labels, _geo in (
        (("Q",), (59, 112, 82)),
        (("10", "kn", "(x)", "(X)"), (82, 112, 90)),
        (("(x x)",), (150, 112, 130)),
        (("A", "K", "X", "H", "V", "G", "\u00c1"), (45, 97, 82)),
        (("T",), (44, 97, 82)),
        (("x",), (30, 115, 67)),
        (("J", "9", "8", "7", "D", "R", "E", "B", "1", "2", "3", "4", "5", "6",
          "2,", "3,", "4,", "5,", "6,", "0"), (37, 97, 82))):
    for _l in _labels:
        CIRCLE_GEOMETRY[_l] = _geo

# The font circled items are drawn in.
CIRCLE_FACE = "Arial"


def ring_of(label, code):
    """(dx, dy, r) of the ring the program draws around a circled item of a format."""
    dx, dy, r = CIRCLE_GEOMETRY[label]
    code = (code or "").upper()
    if code in ("ACBL", "ACBLFF"):
        r += 15
        dy -= 15
    elif code == "INDIAA":
        dy -= 30
        dx -= 30 if label == "10" else 15
        r -= 15
    elif code in ("ITALYA", "CANADA", "NZ", "GERMAN1", "WBFBELA", "ICELAND"):
        dy -= 15
    return dx, dy, r


def ring_cut(label, size, code, bold=False):
    """How far the letter of a circled item reaches past its ring (negative: it stays inside)."""
    dx, dy, r = ring_of(label, code)
    pts = fm.text_outline(label, size, CIRCLE_FACE, bold)
    if not pts:
        return -r
    return max(math.hypot(x - dx, y - dy) for x, y in pts) - r


# Where the renderer's underline lies below the baseline, twips per point of the font: its
# position and thickness taken generously, as pixels round them up at any zoom.
UNDERLINE_BELOW = (1.2, 3.8)


def underline_box(text, size, face="Arial", bold=False):
    """(x0, y0, x1, y1) of the underline of a text drawn from (0, 0)."""
    base = fm.ascent(size, face)
    return (0, base + UNDERLINE_BELOW[0] * size, fm.raw_width(text, size, face, bold),
            base + UNDERLINE_BELOW[1] * size)


def ring_around(text, size, face="Arial", bold=False, underline=False):
    """(dx, dy, r) of a ring centred on the ink of a text drawn from (0, 0), clear of all of it
    (and of its underline)."""
    left, top, right, bottom = fm.ink_box(text, size, face, bold)
    pts = list(fm.text_outline(text, size, face, bold))
    if underline:
        x0, y0, x1, y1 = underline_box(text, size, face, bold)
        left, right, bottom = min(left, x0), max(right, x1), max(bottom, y1)
        pts += [(x0, y0), (x1, y0), (x0, y1), (x1, y1)]
    cx, cy = (left + right) / 2, (top + bottom) / 2
    far = max(math.hypot(x - cx, y - cy) for x, y in pts)
    return cx, cy, far + RING_OWN


def ring_clearance(cx, cy, r, edges):
    """How far outside a ring of centre (cx, cy) and radius r the outline edges stay."""
    return min((point_segment_distance(cx, cy, a, b) for a, b in edges), default=math.inf) - r


# ---- ticks ---------------------------------------------------------------------------

def tick_strokes(x, y, side):
    """The two strokes of the tick the program draws in a box of this side at (x, y)."""
    h = side / 2
    return [((x, y + h), (x + h, y + side)), ((x + h, y + side), (x + 3 * h, y - h))]


def tick_box(x, y, side):
    """(x0, y0, x1, y1): the box of side at (x, y) with all a tick in it reaches."""
    return x, y - side / 2, x + 1.5 * side, y + side


# ---- NT / S option fields ------------------------------------------------------------

OPTION_SIZE = {"screen": (9.75, True), "paper": (9.0, False)}
OPTION_FACE = "Times New Roman"
OPTION_TICK = 127


def option_marks(x, y, w, h):
    """What an option field draws, on screen and on paper.

    Yields (medium, box, marks, ticks): the outlined box (x0, y0, x1, y1), the ink
    boxes of "NT" and "S", and the strokes of the tick of the third choice.
    """
    p = PIXEL
    for medium, (a, b, c, d, e) in (("screen", (2 * p, 0, 0, 0, 0)),
                                    ("paper", (p, -p, 2 * p, 4 * p, 7 * p))):
        size, bold = OPTION_SIZE[medium]
        box = (x, y + b, x + w + e, y + b + h)
        marks = []
        for text, at in (("NT", x + a), ("S", x + a + c + 2 * p)):
            ink = fm.ink_box(text, size, OPTION_FACE, bold)
            marks.append((text, (at + ink[0], y + b + p + ink[1], at + ink[2], y + b + p + ink[3])))
        yield medium, box, marks, tick_strokes(x + d, y + b + p, OPTION_TICK)


def option_width_needed():
    """The least width of an option field whose marks keep their margin on screen and on paper."""
    need = 0
    for medium, box, ms, _ticks in option_marks(0, 0, 0, 1000):
        for _text, ink in ms:
            need = max(need, ink[2] + OPTION_MARGIN[medium] - (box[2] - box[0]))
    return int(math.ceil(need))


# ---- distances ---------------------------------------------------------------------------

def point_box_distance(px, py, box):
    x0, y0, x1, y1 = box
    dx = max(x0 - px, 0, px - x1)
    dy = max(y0 - py, 0, py - y1)
    return math.hypot(dx, dy)


def point_segment_distance(px, py, a, b):
    (ax, ay), (bx, by) = a, b
    vx, vy = bx - ax, by - ay
    length2 = vx * vx + vy * vy
    t = 0 if length2 == 0 else max(0, min(1, ((px - ax) * vx + (py - ay) * vy) / length2))
    return math.hypot(px - ax - t * vx, py - ay - t * vy)


def _segments_cross(a, b, c, d):
    def orient(p, q, r):
        return (q[0] - p[0]) * (r[1] - p[1]) - (q[1] - p[1]) * (r[0] - p[0])
    d1, d2 = orient(c, d, a), orient(c, d, b)
    d3, d4 = orient(a, b, c), orient(a, b, d)
    return d1 * d2 < 0 and d3 * d4 < 0


def segment_box_distance(a, b, box):
    """Least distance between the segment a-b and the box (0 when they meet)."""
    x0, y0, x1, y1 = box
    if x0 <= a[0] <= x1 and y0 <= a[1] <= y1:
        return 0.0
    corners = [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]
    for i in range(4):
        if _segments_cross(a, b, corners[i], corners[(i + 1) % 4]):
            return 0.0
    return min([point_box_distance(a[0], a[1], box), point_box_distance(b[0], b[1], box)] +
               [point_segment_distance(cx, cy, a, b) for cx, cy in corners])


def segment_segment_distance(a, b, c, d):
    if _segments_cross(a, b, c, d):
        return 0.0
    return min(point_segment_distance(a[0], a[1], c, d), point_segment_distance(b[0], b[1], c, d),
               point_segment_distance(c[0], c[1], a, b), point_segment_distance(d[0], d[1], a, b))


def segment_points_distance(a, b, points):
    return min((point_segment_distance(px, py, a, b) for px, py in points), default=math.inf)
