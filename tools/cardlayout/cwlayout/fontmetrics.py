"""Text measuring with the TrueType fonts the renderer draws with.

Only the standard library is used: the few tables needed for advance widths
(head, hhea, hmtx, cmap format 4) are read directly.  Widths are plain sums of
advance widths without kerning; kerning only ever narrows Latin text, so the
measured width is a safe upper bound of what the renderer draws.

Where ink matters more than advances (a ring around a letter, a tick reaching
towards a caption) the glyph outlines are read as well (loca, glyf): their
points, control points included, enclose the drawn letter.
"""

import os
import struct

FONT_DIRS = (
    "/usr/share/fonts/truetype/liberation",
    "/usr/share/fonts/truetype/liberation2",
    "/usr/share/fonts/liberation",
)

# Face names as the cards name them -> file base names of the metric-compatible faces.
FACE_FILES = {
    ("Arial", False): "LiberationSans-Regular",
    ("Arial", True): "LiberationSans-Bold",
    ("Arial Narrow", False): "LiberationSansNarrow-Regular",
    ("Arial Narrow", True): "LiberationSansNarrow-Bold",
    ("Times New Roman", False): "LiberationSerif-Regular",
    ("Times New Roman", True): "LiberationSerif-Bold",
}

TWIPS_PER_POINT = 20

# Width of one suit symbol of the program's symbol font, in ems.  The symbol
# font is not part of the layouts; this value is deliberately on the wide side.
SUIT_SYMBOL_EM = 0.8
SUIT_TAGS = ("<c>", "<d>", "<h>", "<s>", "<1>", "<2>", "<3>", "<4>", "<5>")


class FontFile:
    """Advance widths and vertical metrics of one TrueType file."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        self.path = path
        num_tables = struct.unpack(">H", data[4:6])[0]
        tables = {}
        for i in range(num_tables):
            tag, _check, offset, length = struct.unpack(">4sIII", data[12 + 16 * i: 28 + 16 * i])
            tables[tag.decode("latin-1")] = (offset, length)
        self.units_per_em = struct.unpack(">H", data[tables["head"][0] + 18: tables["head"][0] + 20])[0]
        hhea = tables["hhea"][0]
        self.ascent, self.descent = struct.unpack(">hh", data[hhea + 4: hhea + 8])
        num_hmetrics = struct.unpack(">H", data[hhea + 34: hhea + 36])[0]
        hmtx = tables["hmtx"][0]
        self.advances = [struct.unpack(">H", data[hmtx + 4 * i: hmtx + 4 * i + 2])[0]
                         for i in range(num_hmetrics)]
        self.cmap = self._read_cmap(data, tables["cmap"][0])
        self._data = data
        self._tables = tables
        self._points = {}

    @staticmethod
    def _read_cmap(data, base):
        count = struct.unpack(">H", data[base + 2: base + 4])[0]
        for i in range(count):
            platform, encoding, offset = struct.unpack(">HHI", data[base + 4 + 8 * i: base + 12 + 8 * i])
            if platform == 3 and encoding == 1:
                return FontFile._read_format4(data, base + offset)
        raise ValueError("no Unicode BMP cmap")

    @staticmethod
    def _read_format4(data, sub):
        fmt = struct.unpack(">H", data[sub: sub + 2])[0]
        if fmt != 4:
            raise ValueError("unexpected cmap format %d" % fmt)
        segx2 = struct.unpack(">H", data[sub + 6: sub + 8])[0]
        segs = segx2 // 2
        ends_at = sub + 14
        starts_at = ends_at + segx2 + 2
        deltas_at = starts_at + segx2
        ranges_at = deltas_at + segx2
        mapping = {}
        for s in range(segs):
            end = struct.unpack(">H", data[ends_at + 2 * s: ends_at + 2 * s + 2])[0]
            start = struct.unpack(">H", data[starts_at + 2 * s: starts_at + 2 * s + 2])[0]
            delta = struct.unpack(">h", data[deltas_at + 2 * s: deltas_at + 2 * s + 2])[0]
            range_offset = struct.unpack(">H", data[ranges_at + 2 * s: ranges_at + 2 * s + 2])[0]
            if start == 0xFFFF:
                continue
            for code in range(start, end + 1):
                if range_offset == 0:
                    glyph = (code + delta) & 0xFFFF
                else:
                    at = ranges_at + 2 * s + range_offset + 2 * (code - start)
                    glyph = struct.unpack(">H", data[at: at + 2])[0]
                    if glyph:
                        glyph = (glyph + delta) & 0xFFFF
                if glyph:
                    mapping[code] = glyph
        return mapping

    def advance(self, char):
        glyph = self.cmap.get(ord(char), 0)
        if glyph >= len(self.advances):
            glyph = len(self.advances) - 1
        return self.advances[glyph]

    def _glyph_data(self, glyph):
        data, tables = self._data, self._tables
        long_offsets = struct.unpack(">h", data[tables["head"][0] + 50: tables["head"][0] + 52])[0]
        loca = tables["loca"][0]
        if long_offsets:
            start, end = struct.unpack(">II", data[loca + 4 * glyph: loca + 4 * glyph + 8])
        else:
            start, end = (2 * v for v in struct.unpack(">HH", data[loca + 2 * glyph: loca + 2 * glyph + 4]))
        at = tables["glyf"][0] + start
        return data, at, end - start

    def contours(self, char):
        """Outline contours of char in font units (y up from the baseline), control points included.

        The polygon through a contour's points encloses the letter drawn from it."""
        glyph = self.cmap.get(ord(char), 0)
        if glyph not in self._points:
            self._points[glyph] = self._read_contours(glyph)
        return self._points[glyph]

    def _read_contours(self, glyph):
        data, at, length = self._glyph_data(glyph)
        if length <= 0:
            return []
        contours, x0, y0, x1, y1 = struct.unpack(">hhhhh", data[at: at + 10])
        if contours < 0:
            # A composite glyph (accented letters): its box stands for its outline.
            return [[(x0, y0), (x1, y0), (x1, y1), (x0, y1)]]
        ends = struct.unpack(">%dH" % contours, data[at + 10: at + 10 + 2 * contours])
        count = ends[-1] + 1 if ends else 0
        p = at + 10 + 2 * contours
        p += 2 + struct.unpack(">H", data[p: p + 2])[0]   # instructions
        flags = []
        while len(flags) < count:
            flag = data[p]
            p += 1
            flags.append(flag)
            if flag & 8:
                flags.extend([flag] * data[p])
                p += 1

        def coords(short_bit, same_bit):
            nonlocal p
            out, v = [], 0
            for flag in flags[:count]:
                if flag & short_bit:
                    v += data[p] if flag & same_bit else -data[p]
                    p += 1
                elif not flag & same_bit:
                    v += struct.unpack(">h", data[p: p + 2])[0]
                    p += 2
                out.append(v)
            return out

        points = list(zip(coords(2, 16), coords(4, 32)))
        out, start = [], 0
        for end in ends:
            out.append(points[start: end + 1])
            start = end + 1
        return out


_cache = {}


def find_font_file(base):
    for d in FONT_DIRS:
        p = os.path.join(d, base + ".ttf")
        if os.path.exists(p):
            return p
    raise FileNotFoundError("font %s.ttf not found in %s" % (base, ", ".join(FONT_DIRS)))


def font_file(face="Arial", bold=False):
    key = (face, bool(bold))
    if key not in _cache:
        _cache[key] = FontFile(find_font_file(FACE_FILES[key]))
    return _cache[key]


def split_suits(text):
    """Split text into plain runs and suit tags, the way the text drawer does."""
    parts = []
    rest = text
    while True:
        p = rest.find("<")
        if p < 0 or len(rest) < p + 3:
            break
        if rest[p + 2] != ">":
            parts.append(rest[: p + 1])
            rest = rest[p + 1:]
            continue
        tag = rest[p: p + 3].lower()
        if tag in SUIT_TAGS:
            parts.append(rest[:p])
            parts.append(tag)
        else:
            parts.append(rest[: p + 3])
        rest = rest[p + 3:]
    parts.append(rest)
    return [x for x in parts if x]


def raw_width(text, size, face="Arial", bold=False):
    """Width in twips of text measured character by character, markup included."""
    f = font_file(face, bold)
    units = sum(f.advance(c) for c in text)
    return units * size * TWIPS_PER_POINT / f.units_per_em


def drawn_width(text, size, face="Arial", bold=False):
    """Width in twips that text takes once suit tags are drawn as symbols."""
    total = 0.0
    for part in split_suits(text):
        if part in SUIT_TAGS:
            total += SUIT_SYMBOL_EM * size * TWIPS_PER_POINT
        else:
            total += raw_width(part, size, face, bold)
    return total


def ascent(size, face="Arial"):
    f = font_file(face, False)
    return f.ascent * size * TWIPS_PER_POINT / f.units_per_em


def line_height(size, face="Arial"):
    """Height of a text cell (ascent plus descent) in twips."""
    f = font_file(face, False)
    return (f.ascent - f.descent) * size * TWIPS_PER_POINT / f.units_per_em


def text_contours(text, size, face="Arial", bold=False):
    """Contours of text as drawn from a pen at x = 0 with the cell's top at y = 0.

    Twips, y downwards.  A suit symbol stands as the box of a capital letter of its width.
    """
    return [c for glyph in glyph_contours(text, size, face, bold) for c in glyph]


def glyph_contours(text, size, face="Arial", bold=False):
    """text_contours letter by letter: one list of contours per drawn letter."""
    f = font_file(face, bold)
    k = size * TWIPS_PER_POINT / f.units_per_em
    top = f.ascent
    out = []
    pen = 0.0
    for part in split_suits(text):
        if part in SUIT_TAGS:
            w = SUIT_SYMBOL_EM * f.units_per_em
            cap = 0.72 * f.units_per_em
            out.append([[((pen + dx) * k, (top - dy) * k)
                         for dx, dy in ((0.05 * w, 0), (0.95 * w, 0), (0.95 * w, cap), (0.05 * w, cap))]])
            pen += w
            continue
        for ch in part:
            contours = [[((pen + x) * k, (top - y) * k) for x, y in contour] for contour in f.contours(ch)]
            if contours:
                out.append(contours)
            pen += f.advance(ch)
    return out


def glyph_boxes(text, size, face="Arial", bold=False):
    """The ink box (left, top, right, bottom) of every drawn letter of text, placed as in
    text_contours."""
    out = []
    for glyph in glyph_contours(text, size, face, bold):
        pts = [pt for c in glyph for pt in c]
        out.append((min(p[0] for p in pts), min(p[1] for p in pts), max(p[0] for p in pts), max(p[1] for p in pts)))
    return out


def text_outline(text, size, face="Arial", bold=False):
    """All outline points of text_contours."""
    return [pt for contour in text_contours(text, size, face, bold) for pt in contour]


def text_edges(text, size, face="Arial", bold=False):
    """The edges of the outline polygons of text_contours, as pairs of points."""
    edges = []
    for contour in text_contours(text, size, face, bold):
        edges.extend(zip(contour, contour[1:] + contour[:1]))
    return edges


def ink_box(text, size, face="Arial", bold=False):
    """(left, top, right, bottom) of the ink of text drawn from a pen at (0, 0), cell top at 0.

    None when nothing is drawn."""
    pts = text_outline(text, size, face, bold)
    if not pts:
        return None
    xs = [x for x, _ in pts]
    ys = [y for _, y in pts]
    return min(xs), min(ys), max(xs), max(ys)
