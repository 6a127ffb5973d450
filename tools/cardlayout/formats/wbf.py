"""The WBF convention card: a landscape A4 sheet, two sides.

Front: three panels side by side, as the printed card folds: defensive and
competitive bidding; opening leads and signals; the cover with category (and
the Brown Sticker flag), NCBO, event, players and the system summary.
Back: the opening-bids table, one row per opening from 1<c> to 4NT, beside
high-level bidding and supplementary details.
"""

from cwlayout.cardformat import CardFormat, Sample
from cwlayout.formatspec import FormatSpec, FontSpec
from cwlayout.page import Page, Style, red
from cwlayout.table import Col, table

CODE = "wbfb"
W, H = 16440, 11340            # 290 x 200 mm on landscape A4
MARGIN = 100
GUTTER = 180
PANEL_W = (W - 2 * MARGIN - 2 * GUTTER) // 3
PANELS = [(MARGIN + i * (PANEL_W + GUTTER), MARGIN + i * (PANEL_W + GUTTER) + PANEL_W) for i in range(3)]
BOTTOM = H - 100
GREEN_TITLE = 2               # label look: white text on dark green
BAND = GREEN_TITLE + 256


def style():
    return Style(base_size=8, field_size=8, pitch=265, check=130, gap=85, title_size=9,
                 title_box=BAND, title_h=240, pad=60, section_gap=90, code=CODE)


SPEC = FormatSpec(
    code=CODE, base=CODE, ext="05w", title="WBF Convention Card", pages=2, width=W, height=H,
    paper="A4", print_width=297, print_height=210, front_margin=5, back_margin=5,
    view_scale=1.0, names_mode=0, tint=2, base_black=1, orientation=1, picture="wbfb.bmp",
    check_style=2, field_font=FontSpec("Arial", 8), base_font=FontSpec("Arial", 8),
    comment="landscape A4, two sides")


def heading(s, text, rid=None):
    s.row(rid).text(text, bold=True)


def labelled_rows(s, rows, tab=1150):
    for label, key in rows:
        s.row(key).text(label).at(tab).fill("text")


def panel(p, i):
    left, right = PANELS[i]
    return left, right - left


# ---- front ------------------------------------------------------------------------------

def defence_panel(p):
    x, w = panel(p, 0)
    col = p.column(x, w, 100)
    with col.section("DEFENSIVE AND COMPETITIVE BIDDING", "def") as s:
        for title, rid, rows in (
                ("OVERCALLS", "ovc", (("Style:", "style"), ("1 level:", "one"), ("2 level:", "two"),
                                      ("Responses:", "resp"), ("Reopening:", "reopen"))),
                ("1NT OVERCALL", "nt", (("Direct:", "direct"), ("Responses:", "resp"),
                                        ("Reopening:", "reopen"))),
                ("JUMP OVERCALLS (Style; Responses; Unusual NT)", "jo",
                 (("Style:", "style"), ("Responses:", "resp"), ("Unusual NT:", "unt"),
                  ("Reopening:", "reopen"))),
                ("DIRECT AND JUMP CUE BIDS", "cue", (("Style:", "style"), ("Responses:", "resp"),
                                                     ("Reopening:", "reopen"))),
                ("VS. NT", "vsnt", (("vs. strong:", "strong"), ("vs. weak:", "weak"),
                                    ("Reopening:", "reopen"), ("Passed hand:", "ph"))),
                ("VS. PREEMPTS", "vsp", (("Doubles:", "dbl"), ("Cue-bids:", "cue"), ("Jumps:", "jump"),
                                         ("NT bids:", "nt"))),
                ("VS. ARTIFICIAL STRONG OPENINGS (1<c> or 2<c>)", "vsa", (("Defence:", "def"),
                                                                        ("", "more"))),
                ("OVER OPPONENTS' TAKEOUT DOUBLE", "otd", (("Redouble:", "xx"), ("Other:", "other")))):
            heading(s, title, rid)
            labelled_rows(s, (("%s" % label, "%s_%s" % (rid, k)) for label, k in rows))
        heading(s, "OTHER COMPETITIVE CONVENTIONS", "other_head")
        s.area(None, "other", until=BOTTOM)


def leads_panel(p):
    x, w = panel(p, 1)
    col = p.column(x, w, 100)
    inner = w - 2 * p.style.pad
    with col.section("LEADS AND SIGNALS", "lead") as s:
        half = (inner - 1150) // 2
        s.tabs = [0, 1150, 1150 + half + 60]
        heading(s, "OPENING LEADS STYLE", "style_title")
        s.row("style_head").tab(1).text("Lead", bold=True).tab(2).text("In partner's suit", bold=True)
        for label, k in (("vs. Suits", "suits"), ("vs. NT", "nt"), ("Subsequent", "later"),
                         ("Other:", "other")):
            s.row(k).text(label).tab(1).field(half - 60, "lead").tab(2).fill("partner")
        heading(s, "LEADS", "leads_title")
        s.row("leads_head").text("Lead", bold=True).tab(1).text("vs. Suits", bold=True) \
            .tab(2).text("vs. NT", bold=True)
        for label, k in (("Ace", "a"), ("King", "k"), ("Queen", "q"), ("Jack", "j"), ("10", "t"),
                         ("9", "n"), ("Hi-X", "hx"), ("Lo-X", "lx")):
            s.row(k).text(label).tab(1).field(half - 60, "suits").tab(2).fill("nt")
        heading(s, "SIGNALS IN ORDER OF PRIORITY", "sig_title")
        third = (inner - 700) // 3
        s.tabs = [0, 700, 700 + third, 700 + 2 * third]
        s.row("sig_head").tab(1).text("Partner's lead", bold=True).tab(2).text("Declarer's lead", bold=True) \
            .tab(3).text("Discarding", bold=True)
        for suit, sk in (("Suit", "s"), ("NT", "n")):
            for n in (1, 2, 3):
                r = s.row("%s%d" % (sk, n))
                if n == 1:
                    r.text(suit, bold=True)
                r.at(450).text(str(n)).tab(1).field(third - 80, "partner").tab(2).field(third - 80, "declarer").tab(3).fill("discard")
        s.tabs = [0, 2050]
        s.row("trumps").text("Signals (including Trumps):").tab(1).fill("text")
        s.tabs = [0, 1150]
        heading(s, "DOUBLES", "dbl_title")
        labelled_rows(s, (("Takeout style:", "dbl_style"), ("Responses:", "dbl_resp"),
                          ("Reopening:", "dbl_reopen"), ("Other doubles:", "dbl_other")))
        heading(s, "OTHER CARDING AGREEMENTS", "notes_title")
        s.area(None, "notes", until=BOTTOM)


def cover_panel(p):
    x, w = panel(p, 2)
    p.picture(x, 100, 640, 400, "wbfb.bmp")
    p.text(x + 740, 80, "WBF CONVENTION CARD", size=14, bold=True)
    top = p.column(x, w, 560)
    with top.section(None, "id", tabs=[0, 1650]) as s:
        # The category: a tick beside its colour, as on the printed card.
        r = s.row("cat")
        r.text("CATEGORY:", bold=True).tab(1)
        for colour in ("Green", "Blue", "Red", "Yellow"):
            r.check(colour)
        r = s.row("brown")
        r.text(red("BROWN STICKER:"), bold=True).tab(1) \
            .check("We play Brown Sticker conventions", key="brown_sticker")
        r = s.row("ncbo")
        r.text("NCBO:", bold=True).tab(1).fill("ncbo")
        r = s.row("event")
        r.text("EVENTS:", bold=True).tab(1).fill("event")
        r = s.row("players")
        r.text("PLAYERS:", bold=True).tab(1).fill("names", name_role="names")
        r = s.row("numbers")
        r.text("MEMBER NOS.:", bold=True).tab(1).field(2000, "number", name_role="number")

    col = p.column(x, w, top.y)
    with col.section("SYSTEM SUMMARY", "sum", tabs=[0, 1900]) as s:
        heading(s, "GENERAL APPROACH AND STYLE")
        s.area(3, "style")
        s.row("nt").text("1NT opening:", bold=True).tab(1).fill("nt")
        s.row("two").text("2 over 1 responses:", bold=True).tab(1).fill("two")
        heading(s, "SPECIAL BIDS THAT MAY REQUIRE DEFENCE")
        s.area(3, "special")
        heading(s, "SPECIAL SEQUENCES")
        s.area(2, "sequences")
        heading(s, "IMPORTANT NOTES")
        s.area(None, "notes", until=BOTTOM - 360)
        s.row("psy").text("PSYCHICS:", bold=True).tab(1).fill("psychics")


def front():
    p = Page(W, H, style(), name="wbfb front", panels=PANELS)
    defence_panel(p)
    leads_panel(p)
    cover_panel(p)
    return p


# ---- back --------------------------------------------------------------------------------

OPENINGS = ["1<c>", "1<d>", "1<h>", "1<s>", "1NT", "2<c>", "2<d>", "2<h>", "2<s>", "2NT",
            "3<c>", "3<d>", "3<h>", "3<s>", "3NT", "4<c>", "4<d>", "4<h>", "4<s>", "4NT"]
COLUMNS = [Col("OPENING", 720, "label"), Col("TICK IF ARTIFICIAL", 900, "tick", "art"),
           Col("MIN. LENGTH", 660, "field", "min"), Col("NEG. DBL THRU", 760, "field", "neg"),
           Col("DESCRIPTION", 2600, "multi", "desc"), Col("RESPONSES", 2320, "multi", "resp"),
           Col("SUBSEQUENT ACTION, COMPETITIVE AND PASSED HAND BIDDING", 0, "multi", "later")]
BACK_PANELS = [(PANELS[0][0], PANELS[1][1]), PANELS[2]]
HEAD_H = 400


def opening_key(label):
    return label.replace("<", "").replace(">", "").replace(" ", "").lower()


def back():
    p = Page(W, H, style(), name="wbfb back", panels=BACK_PANELS)
    x0, x1 = BACK_PANELS[0]
    p.text(x0, 90, "OPENING BIDS", size=11, bold=True)
    top = 420
    row_h = (BOTTOM - top - HEAD_H) // len(OPENINGS)
    table(p, x0, top, x1 - x0, COLUMNS, [(o, opening_key(o)) for o in OPENINGS], "open",
          HEAD_H, row_h, head_size=7, label_size=9)

    x, w = BACK_PANELS[1][0], BACK_PANELS[1][1] - BACK_PANELS[1][0]
    p.picture(x, 100, 480, 300, "wbfb.bmp")
    p.text(x + 580, 130, "WBF CONVENTION CARD", size=11, bold=True)
    col = p.column(x, w, 500)
    with col.section("HIGH LEVEL BIDDING", "high") as s:
        s.area(None, "text", until=(500 + BOTTOM) // 2)
    with col.section("SUPPLEMENTARY DETAILS", "supp") as s:
        s.area(None, "text", until=BOTTOM - 300)
    p.print_only_text(x, H - 250, "Printed with Cardwright", size=7)
    return p


# ---- the sample card ---------------------------------------------------------------------

SAMPLE_FRONT = {
    "id.cat.green": True,
    "id.ncbo.ncbo": "Swedish Bridge Federation",
    "id.event.event": "European Open Pairs",
    "sum.style": "Natural, five-card majors, strong notrump, 2<c> strong and artificial. "
                 "Two-over-one game forcing except when responder rebids his suit.",
    "sum.nt.nt": "15-17, may hold a 5-card major",
    "sum.two.two": "GF unless responder rebids his suit",
    "sum.special": "2<d> weak with a 6-card suit.  2<h>/2<s> weak, 6-10.  2NT 20-21 or "
                   "a weak two in a minor (see back).  Inverted minor raises.",
    "sum.sequences": "1<d> promises 4 cards unless 4=4=3=2 or 4=4=2=3; 1<c> can be 2 cards.",
    "sum.notes": "Lebensohl after the opponents interfere over our 1NT.",
    "sum.psy.psychics": "Rare",
    "lead.suits.lead": "Top of sequence, 4th best", "lead.suits.partner": "Low from honour, top of 2",
    "lead.nt.lead": "Top of sequence, 4th best", "lead.nt.partner": "Low from honour, top of 2",
    "lead.later.lead": "Suit pref. on return", "lead.later.partner": "Original count",
    "lead.a.suits": "AK(x), asks attitude", "lead.a.nt": "AKJ(x), asks unblock",
    "lead.k.suits": "KQ(x)", "lead.k.nt": "KQ10, AKx asks attitude",
    "lead.q.suits": "QJ(x), AKQ", "lead.q.nt": "QJ(x), KQ9",
    "lead.j.suits": "J10(x), KJ10", "lead.j.nt": "J10(x), interior sequence",
    "lead.t.suits": "109(x), K109", "lead.t.nt": "109(x), K109",
    "lead.n.suits": "98(x)", "lead.n.nt": "98(x), shortness",
    "lead.hx.suits": "From xx or xxx", "lead.hx.nt": "Denies an honour",
    "lead.lx.suits": "4th best", "lead.lx.nt": "4th best",
    "lead.s1.partner": "Attitude, low likes", "lead.s1.declarer": "Count (low = even)",
    "lead.s1.discard": "Lavinthal",
    "lead.s2.partner": "Count", "lead.s2.declarer": "Suit preference", "lead.s2.discard": "Count",
    "lead.s3.partner": "Suit preference",
    "lead.n1.partner": "Attitude, low likes", "lead.n1.declarer": "Count (low = even)",
    "lead.n1.discard": "Lavinthal",
    "lead.n2.partner": "Count", "lead.n2.declarer": "Smith echo", "lead.n2.discard": "Count",
    "lead.n3.partner": "Suit preference",
    "lead.dbl_style.text": "Takeout of a suit bid below 4<h>; light in balancing seat",
    "lead.dbl_resp.text": "2NT lebensohl over weak twos; cuebid GF",
    "lead.dbl_reopen.text": "Takeout, can be light",
    "lead.dbl_other.text": "Lightner doubles of slams",
    "def.ovc_style.text": "Sound at the 2 level, may be 4 cards",
    "def.ovc_one.text": "8-16", "def.ovc_two.text": "10-16, good suit",
    "def.ovc_resp.text": "New suit NF; cuebid limit raise+",
    "def.ovc_reopen.text": "Can be light, 7+",
    "def.nt_direct.text": "15-18", "def.nt_resp.text": "Systems on as over our 1NT",
    "def.nt_reopen.text": "11-14, systems on",
    "def.jo_style.text": "Weak, 6-card suit", "def.jo_resp.text": "2NT asks for a feature",
    "def.jo_unt.text": "2NT = the two lowest unbid suits",
    "def.jo_reopen.text": "Intermediate, 12-16",
    "def.cue_style.text": "Michaels: majors over a minor, other major + minor",
    "def.cue_resp.text": "2NT asks for the minor", "def.cue_reopen.text": "Michaels",
    "def.vsnt_strong.text": "X = single-suited; 2<c> majors; 2<d>/2<h>/2<s> natural",
    "def.vsnt_weak.text": "X = penalty; 2<c> majors",
    "def.vsnt_reopen.text": "As direct", "def.vsnt_ph.text": "X = penalty",
    "def.vsp_dbl.text": "Takeout through 4<h>", "def.vsp_cue.text": "Asks for a stopper",
    "def.vsp_jump.text": "Natural, strong", "def.vsp_nt.text": "4NT = minors",
    "def.vsa_def.text": "X = majors, 1NT = minors", "def.vsa_more.text": "Suit bids natural",
    "def.otd_xx.text": "10+ HCP, usually no fit",
    "def.otd_other.text": "Jump shifts weak; 2NT = limit raise or better",
    "def.other": "Leaping Michaels over weak twos.",
}

SAMPLE_BACK = {
    "open.1c.min": "2", "open.1c.neg": "3<s>", "open.1c.desc": "11-21, natural or 4=4=3=2",
    "open.1c.resp": "Inverted raises; 1NT 6-10",
    "open.1c.later": "1NT rebid 12-14",
    "open.1d.min": "4", "open.1d.neg": "3<s>", "open.1d.desc": "11-21, 4+ <d> unless 4=4=3=2",
    "open.1d.resp": "Inverted raises; 1NT 6-10",
    "open.1d.later": "Two-way checkback",
    "open.1h.min": "5", "open.1h.neg": "3<s>", "open.1h.desc": "11-21",
    "open.1h.resp": "Jacoby 2NT, splinters, 2/1 GF",
    "open.1h.later": "Drury by passed hand",
    "open.1s.min": "5", "open.1s.neg": "3<s>", "open.1s.desc": "11-21",
    "open.1s.resp": "Jacoby 2NT, splinters, 2/1 GF",
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
    "open.4c.min": "8", "open.4c.desc": "Natural, preemptive",
    "open.4d.min": "8", "open.4d.desc": "Natural, preemptive",
    "open.4h.min": "7", "open.4h.desc": "Natural",
    "open.4s.min": "7", "open.4s.desc": "Natural", "open.4nt.art": True,
    "open.4nt.desc": "Asks for specific aces",
    "high.text": "Roman Key Card Blackwood 1430.  Exclusion Blackwood by a jump to the five level.  "
                 "DOPI over interference, ROPI over a double.  Cuebids: first or second round controls.",
    "supp.text": "Lebensohl after the opponents interfere over our 1NT.  Support doubles through 2<h>.",
}

FORMAT = CardFormat(SPEC, lambda: [front(), back()],
                    Sample("Lena Berg - Tomas Holm", "37-4411", "Tomas Holm - Lena Berg", "37-2090",
                           [SAMPLE_FRONT, SAMPLE_BACK]))
