"""The format pictures: small emblems drawn from simple shapes, written as 24-bit BMP files."""

import struct


def write_bmp(path, rows):
    """rows: list of rows from the top, each a list of (r, g, b)."""
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # BMP rows go from the bottom up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def read_bmp_size(path):
    with open(path, "rb") as f:
        head = f.read(54)
    if head[:2] != b"BM":
        raise ValueError("not a BMP file")
    width, height = struct.unpack("<ii", head[18:26])
    bits = struct.unpack("<H", head[28:30])[0]
    return width, abs(height), bits


# Shapes in unit coordinates: x to the right, y downwards, the shape fitting -1..1.
def heart(x, y):
    y = -y * 1.1 + 0.1
    x *= 1.15
    return (x * x + y * y - 1) ** 3 - x * x * y ** 3 <= 0


def diamond(x, y):
    return abs(x) / 0.72 + abs(y) <= 1


def spade(x, y):
    if heart(x, -(y + 0.18) * 1.05) and y < 0.62:
        return True
    return 0.3 < y <= 1 and abs(x) <= 0.07 + (y - 0.3) * 0.55


def club(x, y):
    for cx, cy in ((0, -0.52), (-0.5, 0.12), (0.5, 0.12)):
        if (x - cx) ** 2 + (y - cy) ** 2 <= 0.21:
            return True
    if abs(x) < 0.2 and abs(y - 0.05) < 0.25:
        return True
    return 0.2 < y <= 1 and abs(x) <= 0.08 + (y - 0.2) * 0.5


def globe(x, y):
    d = x * x + y * y
    if 0.78 <= d <= 1.0:
        return True
    if d < 0.8:
        if abs(y) < 0.06 or abs(x) < 0.06:
            return True
        e = (x / 0.5) ** 2 + y * y
        if 0.8 <= e <= 1.0:
            return True
        if abs(y - 0.5) < 0.05 or abs(y + 0.5) < 0.05:
            return True
    return False


SHAPES = {"c": club, "d": diamond, "h": heart, "s": spade, "g": globe}


class Picture:
    def __init__(self, width, height, background):
        self.w, self.h = width, height
        self.rows = [[background] * width for _ in range(height)]

    def border(self, colour, width=1):
        for y in range(self.h):
            for x in range(self.w):
                if x < width or y < width or x >= self.w - width or y >= self.h - width:
                    self.rows[y][x] = colour

    def stripe(self, y0, y1, colour):
        for y in range(y0, y1):
            self.rows[y] = [colour] * self.w

    def column(self, x0, x1, colour):
        for row in self.rows:
            row[x0:x1] = [colour] * (x1 - x0)

    def shape(self, name, cx, cy, size, colour, samples=4):
        """Draw a shape centred at (cx, cy) with half-size size pixels, antialiased."""
        fn = SHAPES[name]
        x0, x1 = int(cx - size - 1), int(cx + size + 2)
        y0, y1 = int(cy - size - 1), int(cy + size + 2)
        for py in range(max(0, y0), min(self.h, y1)):
            for px in range(max(0, x0), min(self.w, x1)):
                hits = 0
                for sy in range(samples):
                    for sx in range(samples):
                        ux = (px + (sx + 0.5) / samples - cx) / size
                        uy = (py + (sy + 0.5) / samples - cy) / size
                        if fn(ux, uy):
                            hits += 1
                if hits:
                    t = hits / (samples * samples)
                    old = self.rows[py][px]
                    self.rows[py][px] = tuple(round(o + (c - o) * t) for o, c in zip(old, colour))


WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
RED = (214, 24, 32)


def four_suits(pic, y, size, dark, light_red=RED):
    step = pic.w / 4
    for i, (s, col) in enumerate((("s", dark), ("h", light_red), ("d", light_red), ("c", dark))):
        pic.shape(s, step * i + step / 2, y, size, col)


def emblems():
    """All format pictures: file name -> pixel rows."""
    out = {}
    # ACBL: four suits on a white band across a navy card.
    p = Picture(64, 40, (16, 40, 112))
    p.stripe(9, 31, WHITE)
    four_suits(p, 20, 8.5, (16, 40, 112))
    p.border((200, 160, 40))
    out["acbl.bmp"] = p.rows
    # SAYC: the yellow card.
    p = Picture(64, 40, (255, 212, 0))
    four_suits(p, 20, 9.5, BLACK)
    p.border(BLACK)
    out["sayc.bmp"] = p.rows
    # WBF: a globe between a spade and a heart on green.
    p = Picture(64, 40, (0, 112, 64))
    p.shape("g", 32, 20, 15, WHITE)
    p.shape("s", 9, 20, 7.5, WHITE)
    p.shape("h", 55, 20, 7.5, (255, 220, 220))
    p.border(WHITE)
    out["wbfb.bmp"] = p.rows
    # Club card: a large club on dark red.
    p = Picture(64, 40, (128, 16, 24))
    p.shape("c", 32, 20, 16, WHITE)
    p.shape("d", 10, 20, 6, (255, 200, 80))
    p.shape("d", 54, 20, 6, (255, 200, 80))
    p.border(WHITE)
    out["club.bmp"] = p.rows
    # English card: the cross of St George with a suit in each quarter.
    p = Picture(64, 40, WHITE)
    p.stripe(16, 24, RED)
    p.column(28, 36, RED)
    navy = (16, 40, 112)
    for name, cx, cy, col in (("s", 14, 8, navy), ("h", 50, 8, RED), ("d", 14, 32, RED), ("c", 50, 32, navy)):
        p.shape(name, cx, cy, 6, col)
    p.border(navy)
    out["ebu.bmp"] = p.rows
    return out
