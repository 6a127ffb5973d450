"""A grid of lead holdings: every card can be circled; the card usually led is marked.

A holding is written card by card: "*" before the card usually led prints it bold (or
underlined, where the format marks its standard card so), "!" before a card prints it red
(the low card of a doubleton the player rings to show that he leads it).
"""

from .marks import RING_CLEAR
from .page import LayoutError


def holding_cards(h):
    """The cards of a holding, the index of the card usually led and the indexes of red cards."""
    cards = h.split()
    std = next((i for i, c in enumerate(cards) if c.startswith("*")), None)
    red = tuple(i for i, c in enumerate(cards) if c.startswith("!"))
    return [c.lstrip("*!") for c in cards], std, red


def holding_key(h):
    return h.replace("*", "").replace("!", "").replace(" ", "").lower()


def lead_rows(s, holdings, rid, per_row=7, standard="bold"):
    """Holdings set in a grid of cells, grey rules between them; every card can be circled.

    The card usually led, where a holding marks it, is printed bold (standard="bold") or
    underlined (standard="underline").  Each column is as wide as its widest holding needs for
    the rings to keep clear of the neighbouring cards and of the rules; what is left over is
    shared out.
    """
    p = s.page
    inner = s.x1 - s.x0 - 2 * p.style.pad
    grey = 0xA0A0A0
    rows = [holdings[i:i + per_row] for i in range(0, len(holdings), per_row)]

    def marking(h):
        cards, std, red = holding_cards(h)
        marked = () if std is None else (std,)
        if standard == "underline":
            return cards, dict(underline=marked, red=red)
        return cards, dict(bold=marked, red=red)

    extent = {}
    radius = 0
    for h in holdings:
        cards, how = marking(h)
        extent[h] = p.circles_extent(cards, **how)
        radius = max([radius] + [m.r for m in p.marks_for(cards, **how)])
    # Rows far enough apart that no ring reaches the ring below it (a click would reach both).
    height = max(p.style.pitch, 2 * radius + 20)
    widths = [max(sum(extent[r[c]]) for r in rows if c < len(r)) + 2 * RING_CLEAR
              for c in range(per_row)]
    spare = inner - sum(widths)
    if spare < 0:
        raise LayoutError("%s: lead holdings need %d twips more than the row has" % (p.name, -spare))
    widths = [w + spare // per_row for w in widths]
    lefts = [sum(widths[:c]) for c in range(per_row)]
    for n, holding_row in enumerate(rows):
        row = s.row(rid + str(n), height=height)
        for c, h in enumerate(holding_row):
            cards, how = marking(h)
            row.at(lefts[c] + RING_CLEAR + extent[h][0])
            row.circles(cards, "%s.%s.%s" % (s.sid, rid, holding_key(h)), **how)
            if c:
                x = s.x0 + p.style.pad + lefts[c]
                # Short rules, to keep a millimetre from a heading above or below the grid.
                p.vline(x, row.y + 10, row.y + p.style.pitch - 70, colour=grey)
