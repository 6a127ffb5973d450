#!/usr/bin/env python3
"""Build Cardwright's suit-symbol font Pip4 (data/fontsdir/Pip4.ttf).

The four card suits are drawn here from circles, arcs and Bezier curves and
written out as a small TrueType font under their Unicode characters:

    U+2663 club    U+2666 diamond    U+2665 heart    U+2660 spade

Each symbol is the only character of its glyph, so that the text of a PDF the
program prints with it reads "1\u2663", for searching, copying and screen
readers (a PDF names a glyph's text by the first character that maps to it).

The vertical metrics follow those of Arial / Liberation Sans, so that a symbol
printed in the middle of a line of ordinary text neither shifts the baseline
nor changes the line height; the symbols themselves stand on the baseline and
are as tall as a capital letter.

Usage:
    make_pip4_font.py [--output FILE]   build the font (default: data/fontsdir/Pip4.ttf)
    make_pip4_font.py --check [FILE]    reopen a built font and check it; exit status 1 on failure

Needs fontTools (Debian: python3-fonttools). The output is byte-for-byte the
same on every run.
"""

import argparse
import math
import os
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.areaPen import AreaPen
from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.cu2quPen import Cu2QuPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont, newTable

FAMILY = "Pip4"
STYLE = "Regular"
VERSION = "1.000"
COPYRIGHT = "Copyright (c) 2026 Cardwright contributors"

# Metrics in font units.  Vertical metrics are those of Arial / Liberation Sans.
UPM = 2048
ASCENT = 1854
DESCENT = 434          # positive, below the baseline
LINE_GAP = 67
TYPO_ASCENT = 1491
TYPO_DESCENT = -431
TYPO_LINE_GAP = 307
X_HEIGHT = 1062
CAP_HEIGHT = 1466      # height of every suit symbol
SPACE_WIDTH = 569

# Fixed head timestamps (seconds since 1904-01-01) keep the output reproducible.
TIMESTAMP = 3_850_070_400   # 2026-01-01 00:00 UTC

# Every suit symbol gets the same advance width so that symbols line up.
ADVANCE = 1600
SIDE_BEARING = 100
FULL_WIDTH = ADVANCE - 2 * SIDE_BEARING      # widest symbol
CENTRE_X = ADVANCE / 2

DEFAULT_OUTPUT = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                              os.pardir, "data", "fontsdir", "Pip4.ttf")

# character -> glyph name
SUIT_GLYPHS = ["club", "diamond", "heart", "spade"]
UNICODE_SUITS = {"club": "\u2663", "diamond": "\u2666", "heart": "\u2665", "spade": "\u2660"}
CHAR_MAP = {ch: name for name, ch in UNICODE_SUITS.items()}
CHAR_MAP[" "] = "space"
GLYPH_ORDER = [".notdef", "space"] + SUIT_GLYPHS


# --------------------------------------------------------------------------
# Geometry
# --------------------------------------------------------------------------

def polar(centre, radius, angle_deg):
    a = math.radians(angle_deg)
    return (centre[0] + radius * math.cos(a), centre[1] + radius * math.sin(a))


def add(p, q, k=1.0):
    return (p[0] + k * q[0], p[1] + k * q[1])


def unit(angle_deg):
    a = math.radians(angle_deg)
    return (math.cos(a), math.sin(a))


def mirror(p):
    """Reflect a point in the vertical axis of the glyph."""
    return (2 * CENTRE_X - p[0], p[1])


def circle_intersection(c1, c2, r, far_from):
    """Crossing point of two circles of radius r that lies farther from far_from."""
    dx, dy = c2[0] - c1[0], c2[1] - c1[1]
    dist = math.hypot(dx, dy)
    if dist >= 2 * r:
        raise ValueError("circles do not overlap")
    half_chord = math.sqrt(r * r - (dist / 2) ** 2)
    mx, my = (c1[0] + c2[0]) / 2, (c1[1] + c2[1]) / 2
    nx, ny = -dy / dist, dx / dist
    p1 = (mx + half_chord * nx, my + half_chord * ny)
    p2 = (mx - half_chord * nx, my - half_chord * ny)
    d1 = math.hypot(p1[0] - far_from[0], p1[1] - far_from[1])
    d2 = math.hypot(p2[0] - far_from[0], p2[1] - far_from[1])
    return p1 if d1 > d2 else p2


def angle_of(centre, p):
    return math.degrees(math.atan2(p[1] - centre[1], p[0] - centre[0]))


class Outline:
    """A closed outline of lines, cubic curves and circular arcs.

    Outer contours must run clockwise (TrueType convention); each symbol
    is drawn as a single contour, so overlaps never occur.
    """

    def __init__(self):
        self.contours = []
        self.current = None

    def move_to(self, p):
        self.contours.append([("move", p)])
        self.current = p

    def line_to(self, p):
        self.contours[-1].append(("line", p))
        self.current = p

    def curve_to(self, c1, c2, p):
        self.contours[-1].append(("curve", c1, c2, p))
        self.current = p

    def arc_to(self, centre, radius, start_deg, end_deg):
        """Arc from the current point (which lies at start_deg) to end_deg;
        a decreasing angle runs clockwise."""
        sweep = end_deg - start_deg
        steps = max(1, int(math.ceil(abs(sweep) / 90.0 - 1e-9)))
        step = sweep / steps
        k = 4.0 / 3.0 * math.tan(math.radians(abs(step)) / 4.0) * radius
        sign = 1 if step > 0 else -1
        a0 = start_deg
        for _ in range(steps):
            a1 = a0 + step
            p0 = polar(centre, radius, a0)
            p1 = polar(centre, radius, a1)
            t0 = unit(a0 + 90 * sign)
            t1 = unit(a1 + 90 * sign)
            self.curve_to(add(p0, t0, k), add(p1, t1, -k), p1)
            a0 = a1

    def close(self):
        self.contours[-1].append(("close",))

    def draw(self, pen):
        for contour in self.contours:
            for seg in contour:
                kind = seg[0]
                if kind == "move":
                    pen.moveTo(seg[1])
                elif kind == "line":
                    pen.lineTo(seg[1])
                elif kind == "curve":
                    pen.curveTo(seg[1], seg[2], seg[3])
                elif kind == "close":
                    pen.closePath()


# --------------------------------------------------------------------------
# The symbols.  All coordinates are font units; y = 0 is the baseline.
# --------------------------------------------------------------------------

# Heart and spade share their body: two round lobes and a point joined by
# gently convex sides.  A side meets its lobe SIDE_ANGLE degrees below (heart)
# or above (spade) the lobe's horizontal diameter, and the point opens by
# TIP_ANGLE degrees to either side of the vertical.  The sides stay convex as
# long as SIDE_ANGLE < TIP_ANGLE.
SIDE_ANGLE = 26        # where a side meets its lobe, degrees from the lobe's horizontal
TIP_BULGE = 8          # angle between a side's chord and its tangent at the point
LOBE_HANDLE = 0.40     # Bezier handle lengths, as fractions of the side's chord
TIP_HANDLE = 0.30


def side_controls(tip, joint, joint_dir):
    """Control points of the right-hand side of a heart or spade body: a
    cubic between the point tip and joint, the spot where the side meets the
    lobe; joint_dir is the lobe's tangent at joint, pointing towards tip.
    Returns (control next to tip, control next to joint).  The side leaves
    the point a few degrees outside its chord so that it bulges outwards."""
    dx, dy = joint[0] - tip[0], joint[1] - tip[1]
    chord = math.hypot(dx, dy)
    chord_deg = math.degrees(math.atan2(dy, dx))      # in (-90, 90): the right side
    tip_deg = chord_deg - math.copysign(TIP_BULGE, chord_deg)
    return (add(tip, unit(tip_deg), TIP_HANDLE * chord),
            add(joint, joint_dir, LOBE_HANDLE * chord))


def heart():
    r = 385                             # lobe radius
    d = FULL_WIDTH / 2 - r              # lobe centres' distance from the axis
    cy = CAP_HEIGHT - r                 # lobes touch the cap height
    right_c = (CENTRE_X + d, cy)
    left_c = (CENTRE_X - d, cy)
    tip = (CENTRE_X, 0)
    notch = (CENTRE_X, cy + math.sqrt(r * r - d * d))

    joint_deg = -SIDE_ANGLE
    joint = polar(right_c, r, joint_deg)
    near_tip, near_joint = side_controls(tip, joint, unit(joint_deg - 90))

    o = Outline()
    o.move_to(tip)
    o.curve_to(mirror(near_tip), mirror(near_joint), mirror(joint))
    o.arc_to(left_c, r, 180 - joint_deg, angle_of(left_c, notch))
    o.arc_to(right_c, r, angle_of(right_c, notch), joint_deg)
    o.curve_to(near_joint, near_tip, tip)
    o.close()
    return o


STEM_FOOT_ANGLE = 12    # the stem's flanks meet the baseline at this angle
STEM_HANDLE = 0.55


def stem_controls(neck, foot):
    """Control points of the right flank of a stem, a concave curve from
    neck (where it leaves a lobe) straight down and flaring out to foot on
    the baseline.  Returns (control next to neck, control next to foot)."""
    return (add(neck, (0, -1), STEM_HANDLE * neck[1]),
            add(foot, unit(180 - STEM_FOOT_ANGLE), STEM_HANDLE * (foot[0] - CENTRE_X)))


def lower_arc_angle(centre, r, x):
    """Angle of the point on the lower half of a circle with the given x."""
    return -math.degrees(math.acos((x - centre[0]) / r))


def spade():
    r = 355                             # lobe radius
    d = 1340 / 2 - r                    # body 1340 units wide
    lobe_bottom = 290                   # lowest point of the lobes
    cy = lobe_bottom + r
    right_c = (CENTRE_X + d, cy)
    left_c = (CENTRE_X - d, cy)
    tip = (CENTRE_X, CAP_HEIGHT)

    joint_deg = SIDE_ANGLE
    joint = polar(right_c, r, joint_deg)
    near_tip, near_joint = side_controls(tip, joint, unit(joint_deg + 90))

    neck_half = 55                      # half width of the stem where it leaves the lobes
    foot_half = 250                     # half width of the stem's foot
    neck_deg = lower_arc_angle(right_c, r, CENTRE_X + neck_half)
    neck = polar(right_c, r, neck_deg)
    foot = (CENTRE_X + foot_half, 0)
    stem_neck, stem_foot = stem_controls(neck, foot)

    o = Outline()
    o.move_to(tip)
    o.curve_to(near_tip, near_joint, joint)
    o.arc_to(right_c, r, joint_deg, neck_deg)
    o.curve_to(stem_neck, stem_foot, foot)
    o.line_to(mirror(foot))
    o.curve_to(mirror(stem_foot), mirror(stem_neck), mirror(neck))
    o.arc_to(left_c, r, -180 - neck_deg, -180 - joint_deg)     # mirrored angles
    o.curve_to(mirror(near_joint), mirror(near_tip), tip)
    o.close()
    return o


def clockwise_sweep(start_deg, end_deg):
    """end_deg adjusted so that an arc from start_deg to it runs clockwise."""
    while end_deg > start_deg:
        end_deg -= 360
    return end_deg


def club():
    rc = 330                            # leaf radius
    top_c = (CENTRE_X, CAP_HEIGHT - rc)
    s = FULL_WIDTH / 2 - rc             # side leaves' centres: distance from the axis
    side_y = 330 + rc                   # side leaves reach down to 330
    right_c = (CENTRE_X + s, side_y)
    left_c = (CENTRE_X - s, side_y)
    middle = (CENTRE_X, (top_c[1] + 2 * side_y) / 3)

    # where the top leaf and the right leaf cut each other, on the outside
    cut = circle_intersection(top_c, right_c, rc, middle)

    neck_half = 60
    foot_half = 260
    neck_deg = lower_arc_angle(right_c, rc, CENTRE_X + neck_half)
    neck = polar(right_c, rc, neck_deg)
    foot = (CENTRE_X + foot_half, 0)
    stem_neck, stem_foot = stem_controls(neck, foot)

    o = Outline()
    o.move_to(mirror(foot))
    o.curve_to(mirror(stem_foot), mirror(stem_neck), mirror(neck))
    # clockwise round the left leaf, the top leaf and the right leaf
    start = -180 - neck_deg             # mirrored angle
    o.arc_to(left_c, rc, start, clockwise_sweep(start, angle_of(left_c, mirror(cut))))
    start = angle_of(top_c, mirror(cut))
    o.arc_to(top_c, rc, start, clockwise_sweep(start, angle_of(top_c, cut)))
    start = angle_of(right_c, cut)
    o.arc_to(right_c, rc, start, clockwise_sweep(start, neck_deg))
    o.curve_to(stem_neck, stem_foot, foot)
    o.close()
    return o


def diamond():
    width = 0.80 * CAP_HEIGHT
    o = Outline()
    o.move_to((CENTRE_X, 0))
    o.line_to((CENTRE_X - width / 2, CAP_HEIGHT / 2))
    o.line_to((CENTRE_X, CAP_HEIGHT))
    o.line_to((CENTRE_X + width / 2, CAP_HEIGHT / 2))
    o.close()
    return o


def notdef():
    o = Outline()
    x0, x1, y0, y1, t = 100, 900, 0, CAP_HEIGHT, 80
    o.move_to((x0, y0))
    o.line_to((x0, y1))
    o.line_to((x1, y1))
    o.line_to((x1, y0))
    o.close()
    o.move_to((x0 + t, y0 + t))
    o.line_to((x1 - t, y0 + t))
    o.line_to((x1 - t, y1 - t))
    o.line_to((x0 + t, y1 - t))
    o.close()
    return o


# --------------------------------------------------------------------------
# Font assembly
# --------------------------------------------------------------------------

def to_glyph(outline):
    tt_pen = TTGlyphPen(None)
    outline.draw(Cu2QuPen(tt_pen, max_err=1.0, reverse_direction=False))
    return tt_pen.glyph()


def empty_glyph():
    return TTGlyphPen(None).glyph()


def build_font():
    outlines = {
        ".notdef": notdef(),
        "club": club(),
        "diamond": diamond(),
        "heart": heart(),
        "spade": spade(),
    }
    glyphs = {name: to_glyph(o) for name, o in outlines.items()}
    glyphs["space"] = empty_glyph()

    fb = FontBuilder(UPM, isTTF=True)
    fb.setupGlyphOrder(GLYPH_ORDER)
    fb.setupCharacterMap({ord(ch): name for ch, name in CHAR_MAP.items()})
    fb.setupGlyf(glyphs)

    metrics = {}
    glyf = fb.font["glyf"]
    for name in GLYPH_ORDER:
        g = glyf[name]
        advance = {".notdef": 1000, "space": SPACE_WIDTH}.get(name, ADVANCE)
        lsb = g.xMin if g.numberOfContours else 0
        metrics[name] = (advance, lsb)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ASCENT, descent=-DESCENT, lineGap=LINE_GAP)

    fb.setupHead(unitsPerEm=UPM, created=TIMESTAMP, modified=TIMESTAMP,
                 fontRevision=float(VERSION))
    fb.setupNameTable({
        "copyright": COPYRIGHT,
        "familyName": FAMILY,
        "styleName": STYLE,
        "uniqueFontIdentifier": "Cardwright: %s %s: Version %s" % (FAMILY, STYLE, VERSION),
        "fullName": FAMILY,
        "version": "Version " + VERSION,
        "psName": FAMILY + "-" + STYLE,
        "description": "Card-suit symbols for Cardwright: A club, B diamond, C heart, D spade",
    })
    fb.setupOS2(
        version=4,
        achVendID="CWRT",
        usWeightClass=400,
        usWidthClass=5,
        fsType=0,                       # installable embedding
        fsSelection=0x40,               # REGULAR
        sTypoAscender=TYPO_ASCENT,
        sTypoDescender=TYPO_DESCENT,
        sTypoLineGap=TYPO_LINE_GAP,
        usWinAscent=ASCENT,
        usWinDescent=DESCENT,
        sxHeight=X_HEIGHT,
        sCapHeight=CAP_HEIGHT,
        usDefaultChar=0,
        usBreakChar=32,
        usMaxContext=0,
        ulUnicodeRange1=1,              # Basic Latin
        ulCodePageRange1=1,             # Latin 1
        yStrikeoutSize=102,
        yStrikeoutPosition=530,
    )
    fb.setupPost(underlinePosition=-217, underlineThickness=150)
    # no hinting instructions: smooth, symmetric grey-scale rendering at every size
    gasp = newTable("gasp")
    gasp.version = 1
    gasp.gaspRange = {0xFFFF: 0x000F}
    fb.font["gasp"] = gasp
    fb.font.recalcTimestamp = False
    return fb.font


# --------------------------------------------------------------------------
# Checking
# --------------------------------------------------------------------------

def check_font(path):
    """Return a list of problems found in the font at path (empty when fine)."""
    try:
        font = TTFont(path)
        return inspect_font(font)
    except Exception as exc:    # fontTools reads lazily: damage shows up anywhere
        return ["cannot read %s: %s: %s" % (path, type(exc).__name__, exc)]


def inspect_font(font):
    problems = []
    for tag in ("head", "hhea", "maxp", "OS/2", "name", "cmap", "post", "glyf", "loca", "hmtx"):
        if tag not in font:
            problems.append("table %s missing" % tag)
    if problems:
        return problems

    upm = font["head"].unitsPerEm
    if upm not in (1000, 2048):
        problems.append("unitsPerEm is %d" % upm)

    hhea = font["hhea"]
    line = hhea.ascent - hhea.descent + hhea.lineGap
    if not (0.7 * upm <= hhea.ascent <= upm and 0.1 * upm <= -hhea.descent <= 0.3 * upm
            and line <= 1.25 * upm):
        problems.append("line metrics unlike a text font: ascent %d, descent %d, line gap %d"
                        % (hhea.ascent, hhea.descent, hhea.lineGap))

    name = font["name"]
    family = name.getDebugName(1)
    if family != FAMILY:
        problems.append("family name is %r, not %r" % (family, FAMILY))
    if name.getDebugName(2) != STYLE:
        problems.append("style name is %r" % name.getDebugName(2))

    cmap_table = font["cmap"].getcmap(3, 1)
    if cmap_table is None or cmap_table.format != 4:
        problems.append("no Windows Unicode cmap of format 4")
        return problems
    cmap = cmap_table.cmap

    glyph_set = font.getGlyphSet()
    glyf = font["glyf"]
    hmtx = font["hmtx"]
    ascent = hhea.ascent

    suits = {}
    for ch in UNICODE_SUITS.values():
        gname = cmap.get(ord(ch))
        if gname is None:
            problems.append("character %r not mapped" % ch)
            continue
        suits[ch] = gname
        g = glyf[gname]
        if g.numberOfContours <= 0:
            problems.append("glyph for %r is empty" % ch)
            continue
        bounds = BoundsPen(glyph_set)
        glyph_set[gname].draw(bounds)
        x_min, y_min, x_max, y_max = bounds.bounds
        advance = hmtx[gname][0]
        if x_min < 0 or x_max > advance or advance > upm:
            problems.append("glyph for %r is wider than its advance or the em: x %s..%s, advance %d"
                            % (ch, x_min, x_max, advance))
        if y_min < 0 or y_max > min(ascent, upm):
            problems.append("glyph for %r leaves the em box: y %s..%s" % (ch, y_min, y_max))
        if y_min > 0.02 * upm:
            problems.append("glyph for %r does not stand on the baseline (y from %s)" % (ch, y_min))
        if not 0.6 * upm <= y_max - y_min <= 0.8 * upm:
            problems.append("glyph for %r is %s units high" % (ch, y_max - y_min))
        area = AreaPen(glyph_set)
        glyph_set[gname].draw(area)
        # clockwise outer contours give a negative area in fontTools' convention
        fill = -area.value / ((x_max - x_min) * (y_max - y_min))
        if not 0.3 <= fill <= 0.9:
            problems.append("glyph for %r fills %.2f of its box (wrong direction or broken outline)"
                            % (ch, fill))
    if len(set(suits.values())) != len(suits):
        problems.append("the four suits do not map to four different glyphs: %s" % suits)

    # each Unicode suit character is the only character of its glyph, so that a PDF's
    # text says the suit
    for suit, ch in UNICODE_SUITS.items():
        gname = cmap.get(ord(ch))
        others = [c for c, g in cmap.items() if g == gname and c != ord(ch)]
        if gname is None:
            problems.append("U+%04X is not in the font" % ord(ch))
        elif others:
            problems.append("U+%04X is not the only character of its glyph (also %s)"
                            % (ord(ch), ", ".join(chr(c) for c in others)))
    return problems


# --------------------------------------------------------------------------

def main(argv=None):
    parser = argparse.ArgumentParser(description="Build or check the Pip4 suit-symbol font.")
    parser.add_argument("--output", default=DEFAULT_OUTPUT, help="font file to write")
    parser.add_argument("--check", nargs="?", const=os.path.normpath(DEFAULT_OUTPUT), metavar="FILE",
                        help="check an existing font instead of building it")
    args = parser.parse_args(argv)

    if args.check:
        problems = check_font(args.check)
        for p in problems:
            print("Pip4 check: " + p, file=sys.stderr)
        if problems:
            return 1
        print("Pip4 check: %s is fine" % args.check)
        return 0

    font = build_font()
    out = os.path.normpath(args.output)
    os.makedirs(os.path.dirname(out) or ".", exist_ok=True)
    font.save(out)
    print("wrote " + out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
