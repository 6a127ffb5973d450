"""Tables of a card: grey head cells, ruled rows, and a blank, a tick or a box in each cell."""

from dataclasses import dataclass

from . import fontmetrics as fm
from .page import CENTRE, MULTI_LEFT, LEFT, LayoutError, style_word
from .records import Record, LABEL_BOX, KIND17

HEAD_CELL = 5           # label look: grey, no visible border
GREY = 0x808080
INSET = 30              # from a cell's rules to the blank written in it


@dataclass
class Col:
    """A column: its head, its width (0: what is left), and what its cells hold.

    kind: "label" the row's printed name; "field" a one-line blank, centred;
    "text" a one-line blank from the left; "multi" a blank of several lines;
    "tick" a place for a tick; "check" a check box; "none" nothing.
    """
    title: str
    width: int
    kind: str
    key: str = ""


def table(p, x, y, width, cols, rows, key, head_h, row_h, head_size=7, label_size=None,
          label_bold=True):
    """Draws the table at (x, y) and puts its blanks in the template; returns its bottom.

    rows: (printed name, row key) pairs; a cell's key is key.row.column.
    """
    widths = [c.width for c in cols]
    rest = width - sum(widths)
    if rest < 0 or (0 in widths and rest <= 0):
        raise LayoutError("%s: table %r is wider than its %d twips" % (p.name, key, width))
    widths = [w or rest for w in widths]
    xs = [x]
    for w in widths[:-1]:
        xs.append(xs[-1] + w)
    if head_h:
        for c, cx, w in zip(cols, xs, widths):
            p.base.append(Record(LABEL_BOX, [cx, y, w, head_h, HEAD_CELL,
                                             style_word(CENTRE, True, False, head_size)], c.title))
    top = y + head_h
    label_size = label_size or p.style.base_size
    for i, (name, rk) in enumerate(rows):
        ry = top + i * row_h
        for c, cx, w in zip(cols, xs, widths):
            k = "%s.%s.%s" % (key, rk, c.key or c.kind)
            if c.kind == "label":
                h = fm.line_height(label_size)
                p.text_centred(cx, w, ry + (row_h - h) / 2, name, size=label_size, bold=label_bold,
                               kind=KIND17)
            elif c.kind in ("field", "text"):
                fy = ry + (row_h - fm.line_height(p.style.field_size)) / 2
                p.field(cx + INSET, fy, w - 2 * INSET, key=k, align=CENTRE if c.kind == "field" else LEFT)
            elif c.kind == "multi":
                p.field(cx + INSET, ry + 25, w - 2 * INSET, row_h - 50, key=k, align=MULTI_LEFT)
            elif c.kind == "tick":
                p.tick_spot(round(cx + w / 2 - 90), round(ry + row_h / 2 + 10), key=k)
            elif c.kind == "check":
                side = p.style.check
                p.check(round(cx + (w - side) / 2), round(ry + (row_h - side) / 2), key=k)
        if i:
            p.hline(x, x + width, ry, colour=GREY)
    bottom = top + len(rows) * row_h
    for cx in xs[1:]:
        p.vline(cx, y, bottom)
    if head_h:
        p.hline(x, x + width, top, width=2)
    p.rect(x, y, width, bottom - y, pen=1)
    return bottom
