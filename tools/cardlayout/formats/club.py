"""A one-page club system summary card (no back page), A4.

Besides the usual fields it carries things a club adapts: the club's emblem
as a picture of the card, a card-layer heading, rings to put around printed
numbers and boxes to put around printed words.
"""

from cwlayout import marks
from cwlayout.cardformat import CardFormat, Sample
from cwlayout.formatspec import FormatSpec, FontSpec
from cwlayout.page import Page, Style, red

CODE = "club"
W, H = 11340, 16000           # 200 x 282 mm
MARGIN = 100
GUTTER = 110
COL_W = (W - 2 * MARGIN - GUTTER) // 2
LEFT_X = MARGIN
RIGHT_X = MARGIN + COL_W + GUTTER
BOTTOM = H - 100
PLAIN = 5 + 256               # grey, white edge
COMPETITIVE = 4 + 256         # grey, green edge
ALERTS = 1 + 256              # grey, red edge
TITLE = 3 + 2 * 256           # white on red
BLACK_EDGE = 6 + 256


def style():
    return Style(base_size=9, field_size=9, pitch=330, check=150, gap=100,
                 title_size=9, title_box=PLAIN, title_h=250, circle_size=8, pad=70,
                 code=CODE)


SPEC = FormatSpec(
    code=CODE, base=CODE, ext="clb", title="Club System Summary (one page)", pages=1,
    width=W, height=H, paper="A4", print_width=210, print_height=297, front_margin=5,
    back_margin=5, view_scale=1.0, names_mode=0, tint=1, base_black=0, orientation=2,
    picture="club.bmp", check_style=0, field_font=FontSpec("Arial", 9),
    base_font=FontSpec("Arial", 9), comment="A4, one side")


def ring_row(r, before, tokens, after, key):
    """Printed numbers the player can ring, with a ring spot over each."""
    p = r.page
    r.text(before)
    for t in tokens:
        r.text(t, bold=True, gap=170)
        w = p.tw(t, 9, True)
        cx = int(r.x - w / 2)
        p.ring_spot(cx, int(r.baseline - p.asc(9) * 0.38), 125, key="%s.%s" % (key, t))
    r.text(after, gap=170)
    return r


def boxed_words(r, words, key):
    """Printed words the player can box: each has a frame-box spot around it."""
    p = r.page
    for w in words:
        r.text(w, gap=150)
        tw = p.tw(w)
        x = int(r.x - tw - 40)
        top = int(r.baseline - p.asc(9) - 40)
        p.box_spot(x, top, int(tw + 80), int(p.asc(9) + 100), key="%s.%s" % (key, w.lower().replace("-", "_").replace("/", "_")))
    return r


def page():
    p = Page(W, H, style(), name="club front")
    # The club's emblem is a picture of the card, so a club can replace it.
    p.card_picture(MARGIN, 100, 960, 600, "club.bmp")
    p.label(MARGIN + 1060, 100, W - 2 * MARGIN - 1060, 380, "CLUB SYSTEM SUMMARY", look=TITLE, size=14)
    # Legend: a printed box, and a ring around an "i" for information.
    lx = MARGIN + 1060
    p.printed_box(lx, 515)
    p.text(lx + 220, 515, "Tick what you play, ring the numbers and box the words that apply.", size=8)

    top = p.column(MARGIN, W - 2 * MARGIN, 760)
    with top.section(None, "id", tabs=[0, 1700, 6000, 7050]) as s:
        r = s.row("players")
        r.text("PARTNERSHIP:", bold=True).tab(1).fill("names", name_role="names")
        r = s.row("numbers")
        r.text("MEMBER NOS.:", bold=True).tab(1).field(3500, "number", name_role="number") \
            .tab(2).text("CLUB:", bold=True).tab(3).fill("club")

    y = top.y
    left = p.column(LEFT_X, COL_W, y)
    right = p.column(RIGHT_X, COL_W, y)
    with left.section("BASIC SYSTEM", "sys") as s:
        s.row("a").check("Standard American").check("2/1 game forcing", key="two_over_one")
        s.row("b").check("Acol").check("Precision").check("Other:").fill("text")
        ring_row(s.row("maj"), "Major openings promise", ["4", "5"], "cards", "sys.maj")
        ring_row(s.row("min"), "1<d> opening promises", ["3", "4"], "cards", "sys.min")
        s.row("hcp").text("Opening strength:").field(500, "hcp_lo").text("to").field(500, "hcp_hi") \
            .text("HCP")
    with left.section("NOTRUMP OPENINGS", "nt") as s:
        s.row("one").text("1NT").range("one").text("HCP")
        s.row("resp").check("Stayman").check("Transfers").check(red("Puppet")).check("Other:").fill("text")
        s.row("two").text("2NT").range("two").text("HCP")
    with left.section("TWO-LEVEL OPENINGS", "two", tabs=[0, 500]) as s:
        for bid, k in (("2<c>", "c"), ("2<d>", "d"), ("2<h>", "h"), ("2<s>", "s")):
            s.row(k).text(bid, bold=True).tab(1).fill("text")
    with left.section("SLAM", "slam") as s:
        s.row("a").check("Blackwood").check("RKC 0314").check("RKC 1430")
        s.row("b").check("Gerber").check("Cuebids").text("Other:").fill("text")

    with right.section("COMPETITION", "comp", look=COMPETITIVE, tabs=[0, 1700]) as s:
        s.row("ovc").text("Overcalls:").tab(1).fill("text")
        s.row("tx").text("Takeout doubles:").tab(1).fill("text")
        s.row("neg").text(red("Negative doubles through")).field(700, "thru")
        s.row("a").check("Weak jump overcalls", key="wjo").check(red("Michaels"))
        s.row("b").check(red("Unusual 2NT"), key="u2nt").text("Vs 1NT:").fill("vs_nt")
    with right.section("CARDING AND LEADS", "card", look=COMPETITIVE) as s:
        boxed_words(s.row("sig").text("Signals:"), ["Standard", "Upside-down", "Odd/even"], "card.sig")
        boxed_words(s.row("disc").text("Discards:"), ["Standard", "Upside-down", "Odd/even"], "card.disc")
        r = s.row("lead").text("Usual leads:")
        for h in ("K Q x", "x x x", "x x x x", "H x x"):
            r.circles(h.split(), h.replace(" ", "").lower(), gap=150)
        s.row("more").text("Other:").fill("text")
    with right.section("ALERTS AND SPECIAL BIDS", "alert", look=ALERTS) as s:
        s.area(4, "text")
    with left.section("RESPONSES", "resp", tabs=[0, 1900]) as s:
        s.row("raise").text("Major suit raises:").tab(1).check("Limit").check(red("Jacoby 2NT"), key="j2nt")
        s.row("splinter").tab(1).check(red("Splinters")).check(red("Drury"))
        s.row("nt").text("1NT response:").tab(1).check("6-10").check(red("Forcing"))
        s.row("js").text("Jump shifts:").tab(1).check("Strong").check(red("Weak"))
    with right.section("OTHER CONVENTIONS", "conv") as s:
        s.row("a").check("New minor forcing", key="nmf").check("Fourth suit forcing", key="fsf")
        s.row("b").check(red("Lebensohl")).check(red("Support doubles"), key="support")
        s.row("c").text("Other:").fill("text")

    y = max(left.y, right.y)
    # The notes heading belongs to the card, so a club can retitle it.
    p.card_label(MARGIN, y, W - 2 * MARGIN, 250, "CLUB NOTES", BLACK_EDGE, size=9)
    notes = p.column(MARGIN, W - 2 * MARGIN, y + 250)
    with notes.section(None, "notes") as s:
        s.area(None, "text", until=BOTTOM)
    # A ring around the information mark, centred on it between the title and the
    # partnership's box; drawn last because it leaves the fill style solid.
    dx, dy, r = marks.ring_around("i", 9, bold=True)
    ix = W - MARGIN - 260
    top = round((480 + 760) / 2 - dy)
    p.text(ix, top, "i", size=9, bold=True)
    p.ring(round(ix + 2 + dx), round(top + dy), round(r))
    return p


SAMPLE = Sample(
    "Sue Green - Pat White", "1027", "Pat White - Sue Green", "1044",
    [{"id.numbers.club": "Riverside Bridge Club",
      "sys.a.two_over_one": True, "sys.maj.5": 1, "sys.min.4": 1,
      "sys.hcp.hcp_lo": "11", "sys.hcp.hcp_hi": "21",
      "nt.one.one_lo": "15", "nt.one.one_hi": "17", "nt.resp.stayman": True, "nt.resp.transfers": True,
      "nt.two.two_lo": "20", "nt.two.two_hi": "21",
      "two.c.text": "Strong, artificial; 2<d> waiting", "two.d.text": "Weak, 6 cards, 5-10",
      "two.h.text": "Weak, 6 cards, 5-10", "two.s.text": "Weak, 6 cards, 5-10",
      "slam.a.rkc_1430": True, "resp.raise.limit": True, "resp.raise.j2nt": True,
      "resp.splinter.splinters": True, "resp.nt.forcing": True, "resp.js.weak": True,
      "conv.a.nmf": True, "conv.a.fsf": True, "conv.b.support": True,
      "comp.ovc.text": "8-16, good suit at the two level", "comp.tx.text": "Light, shape",
      "comp.neg.thru": "3<s>", "comp.a.wjo": True, "comp.a.michaels": True, "comp.b.u2nt": True,
      "comp.b.vs_nt": "DONT",
      "card.sig.upside_down": 1, "card.disc.odd_even": 1,
      "card.lead.kqx": 0, "card.lead.xxx": 1, "card.lead.xxxx": 3, "card.lead.hxx": 2,
      "card.more.text": "Top of a doubleton in partner's suit",
      "alert.text": "1<d> can be 3 cards with exactly 4=4=3=2.  Inverted minor raises.",
      "notes.text": "Club night agreements, updated after the autumn teams.  "
                    "We use the club's standard defence to their strong 1<c>."}])

FORMAT = CardFormat(SPEC, lambda: [page()], SAMPLE)
