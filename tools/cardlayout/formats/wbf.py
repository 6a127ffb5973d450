"""The WBF convention card, A4, two sides.

Front: players, NCBO, system category (a colour dot), system summary, opening
leads and signals, defensive and competitive bidding.
Back: the opening-bids table and high-level bidding.
"""

from cwlayout.cardformat import CardFormat, Sample
from cwlayout.formatspec import FormatSpec, FontSpec
from cwlayout.page import Page, Style, CENTRE, MULTI_LEFT, BASE
from cwlayout.records import Record, KIND17, KIND8, LABEL_BOX, TICK_MARK

CODE = "wbfb"
W, H = 11340, 16440            # 200 x 290 mm on A4
MARGIN = 100
GUTTER = 100
COL_W = (W - 2 * MARGIN - GUTTER) // 2
LEFT_X = MARGIN
RIGHT_X = MARGIN + COL_W + GUTTER
BOTTOM = H - 100
GREEN_TITLE = 2               # label look: white text on dark green
HEAD_CELL = 5                 # label look: grey, no visible border


def style():
    return Style(base_size=8, field_size=8, pitch=280, check=130, gap=85, title_size=9,
                 title_box=GREEN_TITLE + 256, title_h=240, pad=60, section_gap=100, code=CODE)


SPEC = FormatSpec(
    code=CODE, base=CODE, ext="05w", title="WBF Convention Card", pages=2, width=W, height=H,
    paper="A4", print_width=210, print_height=297, front_margin=5, back_margin=5,
    view_scale=1.2, names_mode=0, tint=2, base_black=1, orientation=2, picture="wbfb.bmp",
    check_style=2, field_font=FontSpec("Arial", 8), base_font=FontSpec("Arial", 8),
    comment="A4, two sides")


def heading(s, text):
    s.row().text(text, bold=True)


def labelled_rows(s, rows, tab=1350):
    for label, key in rows:
        s.row(key).text(label).at(tab).fill("text")


def front():
    p = Page(W, H, style(), name="wbfb front")
    p.picture(MARGIN, 90, 800, 500, "wbfb.bmp")
    p.text(MARGIN + 900, 70, "WBF CONVENTION CARD", size=15, bold=True)
    top = p.column(MARGIN + 900, W - 2 * MARGIN - 900, 420)
    with top.section(None, "id", tabs=[0, 1350, 5300, 6100]) as s:
        r = s.row("cat")
        r.text("CATEGORY:", bold=True).tab(1)
        dot_x = r.x + 110
        p.colour_dot(dot_x, int(r.baseline - 55), 95, key="id.category")
        r.skip(260).text("green, blue, red or yellow: click the dot", size=7)
        r.tab(2).text("NCBO:", bold=True).tab(3).fill("ncbo")
        r = s.row("players")
        r.text("PLAYERS:", bold=True).tab(1).fill("names", name_role="names")
        r = s.row("numbers")
        r.text("MEMBER NOS.:", bold=True).tab(1).field(2900, "number", name_role="number") \
            .tab(2).text("EVENT:", bold=True).tab(3).fill("event")

    y = top.y
    p.label(MARGIN, y, W - 2 * MARGIN, 240, "SYSTEM SUMMARY", look=GREEN_TITLE + 256, size=9)
    y += 240
    left = p.column(LEFT_X, COL_W, y)
    right = p.column(RIGHT_X, COL_W, y)
    with left.section(None, "sum") as s:
        heading(s, "GENERAL APPROACH AND STYLE")
        s.area(5, "style")
    with right.section(None, "bids") as s:
        heading(s, "SPECIAL BIDS THAT MAY REQUIRE DEFENCE")
        s.area(5, "special")
    full = p.column(MARGIN, W - 2 * MARGIN, max(left.y, right.y) - 90)
    with full.section(None, "notes", tabs=[0, 2300]) as s:
        s.row("imp").text("IMPORTANT NOTES:", bold=True).tab(1).fill("text")
        s.row("imp2").tab(1).fill("text")
        s.row("psy").text("PSYCHICS:", bold=True).tab(1).fill("text")

    y = full.y
    left = p.column(LEFT_X, COL_W, y)
    right = p.column(RIGHT_X, COL_W, y)
    with left.section("OPENING LEADS AND SIGNALS", "lead", tabs=[0, 1290, 3390]) as s:
        heading(s, "OPENING LEAD STYLE")
        r = s.row("style_head")
        r.tab(1).text("Lead", bold=True).tab(2).text("In partner's suit", bold=True)
        for label, k in (("vs. Suits", "suits"), ("vs. NT", "nt")):
            s.row(k).text(label).tab(1).field(2010, "lead").tab(2).fill("partner")
        s.space(60)
        heading(s, "LEADS")
        r = s.row("leads_head")
        r.text("Lead", bold=True).tab(1).text("vs. Suits", bold=True).tab(2).text("vs. NT", bold=True)
        for label, k in (("Ace", "a"), ("King", "k"), ("Queen", "q"), ("Jack", "j"), ("10", "t"),
                         ("9", "n"), ("Hi-X", "hx"), ("Lo-X", "lx")):
            s.row(k).text(label).tab(1).field(2010, "suits").tab(2).fill("nt")
        s.space(60)
        heading(s, "SIGNALS IN ORDER OF PRIORITY")
        r = s.row("sig_head")
        r.tab(1).text("vs. Suits", bold=True).tab(2).text("vs. NT", bold=True)
        for label, k in (("Partner's lead", "pl"), ("Declarer's lead", "dl"), ("Discarding", "di")):
            for n in (1, 2, 3):
                r = s.row("%s%d" % (k, n))
                if n == 1:
                    r.text(label)
                r.at(1130).text(str(n)).tab(1).field(2010, "suits").tab(2).fill("nt")
        s.space(60)
        heading(s, "DOUBLES")
        labelled_rows(s, (("Takeout style:", "dbl_style"), ("Responses:", "dbl_resp"),
                          ("Penalty / other:", "dbl_pen")), tab=1150)
        heading(s, "OTHER CARDING AGREEMENTS")
        s.area(None, "notes", until=BOTTOM)

    with right.section("DEFENSIVE AND COMPETITIVE BIDDING", "def") as s:
        for title, rows in (
                ("OVERCALLS", (("Style:", "ovc_style"), ("Responses:", "ovc_resp"),
                               ("Reopening:", "ovc_reopen"))),
                ("1NT OVERCALL", (("Direct:", "nt_direct"), ("Reopening:", "nt_reopen"))),
                ("JUMP OVERCALLS", (("Style:", "jo_style"), ("Responses:", "jo_resp"))),
                ("DIRECT AND JUMP CUE BIDS", (("Style:", "cue_style"), ("Responses:", "cue_resp"))),
                ("VS. NT", (("vs. strong:", "vsnt_strong"), ("vs. weak:", "vsnt_weak"))),
                ("VS. PREEMPTS", (("Doubles:", "vsp_dbl"), ("Other bids:", "vsp_other"))),
                ("VS. ARTIFICIAL STRONG OPENINGS (1<c> or 2<c>)", (("Defence:", "vsa"),
                                                                  ("", "vsa2"))),
                ("OVER OPPONENTS' TAKEOUT DOUBLE", (("Redouble:", "otd_xx"), ("Other:", "otd")))):
            heading(s, title)
            labelled_rows(s, rows, tab=1150)
        heading(s, "OTHER COMPETITIVE CONVENTIONS")
        s.area(None, "other", until=BOTTOM)
    return p


OPENINGS = ["1<c>", "1<d>", "1<h>", "1<s>", "1NT", "2<c>", "2<d>", "2<h>", "2<s>", "2NT",
            "3<c>", "3<d>", "3<h>", "3<s>", "3NT", "4<c> 4<d>", "4<h> 4<s>", "4NT +"]
COLUMNS = [("OPENING", 720), ("ART.", 420), ("MIN. LENGTH", 620), ("DESCRIPTION", 2710),
           ("RESPONSES", 3380), ("SUBSEQUENT ACTION, COMPETITIVE AND PASSED HAND BIDDING", 0)]
HEAD_H = 400
ROW_H = 620


def opening_key(label):
    return label.replace("<", "").replace(">", "").replace(" ", "").replace("+", "up").lower()


def back():
    p = Page(W, H, style(), name="wbfb back")
    p.picture(MARGIN, 90, 640, 400, "wbfb.bmp")
    p.text(MARGIN + 740, 90, "WBF CONVENTION CARD", size=13, bold=True)
    p.text(MARGIN + 740, 400, "OPENING BIDS", size=9, bold=True)
    # Legend of the artificial column: a printed tick.
    lx = W - MARGIN - 3000
    p.printed_tick(lx, 470)
    p.base.append(Record(KIND8, [lx + 260, 390, 2700, 240, BASE, 7 * 256],
                         "in ART. = the opening is artificial"))
    p.print_only_text(W - MARGIN - 2000, 120, "Printed with Cardwright", size=7)

    x0 = MARGIN
    width = W - 2 * MARGIN
    widths = [w for _, w in COLUMNS]
    widths[-1] = width - sum(widths[:-1])
    xs = [x0]
    for w in widths[:-1]:
        xs.append(xs[-1] + w)
    y0 = 620
    # Column heads: grey cells with the titles, wrapped when they are long.
    for (title, _), x, w in zip(COLUMNS, xs, widths):
        p.base.append(Record(LABEL_BOX, [x, y0, w, HEAD_H, HEAD_CELL, CENTRE + 16 + 7 * 256], title))
    grey = 0x808080
    y = y0 + HEAD_H
    for i, label in enumerate(OPENINGS):
        k = opening_key(label)
        top = y + i * ROW_H
        p.text_centred(xs[0], widths[0], top + ROW_H // 2 - 120, label, size=9, bold=True, kind=KIND17)
        p.tick_spot(xs[1] + widths[1] // 2 - 90, top + ROW_H // 2 + 10, key="open.%s.art" % k)
        p.field(xs[2] + 30, top + ROW_H // 2 - 120, widths[2] - 60, key="open.%s.min" % k, align=CENTRE)
        for col, name in ((3, "desc"), (4, "resp"), (5, "later")):
            p.field(xs[col] + 30, top + 25, widths[col] - 60, ROW_H - 50, key="open.%s.%s" % (k, name),
                    align=MULTI_LEFT)
        if i:
            p.hline(x0, x0 + width, top, colour=grey)
    bottom = y + len(OPENINGS) * ROW_H
    for x in xs[1:]:
        p.vline(x, y0, bottom, width=1)
    p.hline(x0, x0 + width, y, width=2)
    p.rect(x0, y0, width, bottom - y0, pen=1)

    y = bottom + 120
    left = p.column(LEFT_X, COL_W, y)
    right = p.column(RIGHT_X, COL_W, y)
    with left.section("HIGH LEVEL BIDDING", "high") as s:
        s.area(None, "text", until=BOTTOM)
    with right.section("SUPPLEMENTARY DETAILS", "supp") as s:
        s.area(None, "text", until=BOTTOM)
    return p


SAMPLE_FRONT = {
    "id.category": 1,
    "id.cat.ncbo": "Swedish Bridge Federation",
    "id.numbers.event": "European Open Pairs",
    "sum.style": "Natural, five-card majors, strong notrump 15-17, 2<c> strong and artificial. "
                 "Two-over-one game forcing except when responder rebids his suit.",
    "bids.special": "2<d> weak with a 6-card suit.  2<h>/2<s> weak, 6-10.  2NT 20-21 or "
                    "a weak two in a minor (see back).  Inverted minor raises.",
    "notes.imp.text": "1<d> promises 4 cards unless 4=4=3=2 or 4=4=2=3; 1<c> can be 2 cards.",
    "notes.psy.text": "Rare",
    "lead.suits.lead": "Top of sequence, 4th best", "lead.suits.partner": "Low from honour, top of 2",
    "lead.nt.lead": "Top of sequence, 4th best", "lead.nt.partner": "Low from honour, top of 2",
    "lead.a.suits": "AK(x), asks attitude", "lead.a.nt": "AKJ(x), asks unblock",
    "lead.k.suits": "KQ(x)", "lead.k.nt": "KQ10, AKx asks attitude",
    "lead.q.suits": "QJ(x), AKQ", "lead.q.nt": "QJ(x), KQ9",
    "lead.j.suits": "J10(x), KJ10", "lead.j.nt": "J10(x), interior sequence",
    "lead.t.suits": "109(x), K109", "lead.t.nt": "109(x), K109",
    "lead.n.suits": "98(x)", "lead.n.nt": "98(x), shortness",
    "lead.hx.suits": "From xx or xxx", "lead.hx.nt": "Denies an honour",
    "lead.lx.suits": "4th best", "lead.lx.nt": "4th best",
    "lead.pl1.suits": "Attitude (low = encourage)", "lead.pl1.nt": "Attitude (low = encourage)",
    "lead.pl2.suits": "Count", "lead.pl2.nt": "Count",
    "lead.pl3.suits": "Suit preference", "lead.pl3.nt": "Suit preference",
    "lead.dl1.suits": "Count (low = even)", "lead.dl1.nt": "Count (low = even)",
    "lead.dl2.suits": "Suit preference", "lead.dl2.nt": "Smith echo",
    "lead.di1.suits": "Lavinthal", "lead.di1.nt": "Lavinthal",
    "lead.di2.suits": "Count", "lead.di2.nt": "Count",
    "lead.dbl_style.text": "Takeout of a suit bid below 4<h>; light in balancing seat",
    "lead.dbl_resp.text": "2NT lebensohl over weak twos; cuebid GF",
    "lead.dbl_pen.text": "Lightner doubles of slams",
    "def.ovc_style.text": "1-level 8-16, often 4 cards in 4th seat",
    "def.ovc_resp.text": "New suit NF; cuebid limit raise or better; jump raise weak",
    "def.ovc_reopen.text": "Can be light, 7+",
    "def.nt_direct.text": "15-18, systems on", "def.nt_reopen.text": "11-14, systems on",
    "def.jo_style.text": "Weak, 6-card suit", "def.jo_resp.text": "2NT asks for a feature",
    "def.cue_style.text": "Michaels: majors over a minor, other major + minor",
    "def.cue_resp.text": "2NT asks for the minor",
    "def.vsnt_strong.text": "X = single-suited; 2<c> majors; 2<d>/2<h>/2<s> natural",
    "def.vsnt_weak.text": "X = penalty; 2<c> majors",
    "def.vsp_dbl.text": "Takeout through 4<h>", "def.vsp_other.text": "4NT = minors; cuebid asks stop",
    "def.vsa.text": "X = majors, 1NT = minors", "def.vsa2.text": "Suit bids natural",
    "def.otd_xx.text": "10+ HCP, usually no fit",
    "def.otd.text": "Jump shifts weak; 2NT = limit raise or better",
    "def.other": "Unusual 2NT = the two lowest unbid suits.  Leaping Michaels over weak twos.",
}

SAMPLE_BACK = {
    "open.1c.min": "2", "open.1c.desc": "11-21, natural or 4=4=3=2",
    "open.1c.resp": "Inverted raises; 1NT 6-10",
    "open.1c.later": "1NT rebid 12-14",
    "open.1d.min": "4", "open.1d.desc": "11-21, 4+ <d> unless 4=4=3=2",
    "open.1d.resp": "Inverted raises; 1NT 6-10",
    "open.1d.later": "Two-way checkback",
    "open.1h.min": "5", "open.1h.desc": "11-21", "open.1h.resp": "Jacoby 2NT, splinters, 2/1 GF",
    "open.1h.later": "Drury by passed hand",
    "open.1s.min": "5", "open.1s.desc": "11-21", "open.1s.resp": "Jacoby 2NT, splinters, 2/1 GF",
    "open.1s.later": "Drury by passed hand",
    "open.1nt.min": "2", "open.1nt.desc": "15-17, may hold a 5-card major",
    "open.1nt.resp": "Stayman, Jacoby and Texas transfers, Smolen", "open.1nt.later": "Lebensohl",
    "open.2c.art": True, "open.2c.desc": "22+ or game forcing", "open.2c.resp": "2<d> waiting",
    "open.2d.min": "6", "open.2d.desc": "Weak, 5-10", "open.2d.resp": "2NT Ogust",
    "open.2h.min": "6", "open.2h.desc": "Weak, 5-10", "open.2h.resp": "2NT Ogust",
    "open.2s.min": "6", "open.2s.desc": "Weak, 5-10", "open.2s.resp": "2NT Ogust",
    "open.2nt.art": True, "open.2nt.desc": "20-21 balanced, or weak two in a minor",
    "open.2nt.resp": "3<c> asks", "open.3c.min": "7", "open.3c.desc": "Preemptive",
    "open.3d.min": "7", "open.3d.desc": "Preemptive", "open.3h.min": "7", "open.3h.desc": "Preemptive",
    "open.3s.min": "7", "open.3s.desc": "Preemptive", "open.3nt.art": True,
    "open.3nt.desc": "Solid minor, little outside", "open.3nt.resp": "4<c> pass or correct",
    "open.4c4d.min": "8", "open.4c4d.desc": "Natural, preemptive",
    "open.4h4s.min": "7", "open.4h4s.desc": "Natural", "open.4ntup.art": True,
    "open.4ntup.desc": "4NT asks for specific aces",
    "high.text": "Roman Key Card Blackwood 1430.  Exclusion Blackwood by a jump to the five level.  "
                 "DOPI over interference, ROPI over a double.  Cuebids: first or second round controls.",
    "supp.text": "Lebensohl after the opponents interfere over our 1NT.  Support doubles through 2<h>.",
}

FORMAT = CardFormat(SPEC, lambda: [front(), back()],
                    Sample("Lena Berg - Tomas Holm", "37-4411", "Tomas Holm - Lena Berg", "37-2090",
                           [SAMPLE_FRONT, SAMPLE_BACK]))
