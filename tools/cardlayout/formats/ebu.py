"""The English convention card (EBU 20B layout): A4 printed on both sides, folded into A5.

Each side is a landscape A4 page of two A5 panels either side of the fold.  The
outside holds the cover (names, general description, 1NT and two-level openings,
other aspects of the system) on the right and the back cover (leads and carding,
supplementary details) on the left; the inside holds the other opening bids and
the defensive methods on the left, and slam conventions, competitive auctions and
other conventions on the right.  There is no alert legend: English cards do not
colour alertable calls.
"""

from cwlayout.cardformat import CardFormat, Sample
from cwlayout.formatspec import FormatSpec, FontSpec
from cwlayout.leads import lead_rows
from cwlayout.page import Page, Style
from cwlayout.table import Col, table

CODE = "ebu"
FOLD = 8136                   # the middle of the paper: 148.5 mm less the 5 mm margin
W, H = 2 * FOLD, 11340         # 287 x 200 mm on landscape A4
MARGIN = 100
HALF_GUTTER = 150
PANELS = [(MARGIN, FOLD - HALF_GUTTER), (FOLD + HALF_GUTTER, W - MARGIN)]
BOTTOM = H - 100
TITLE = 6 + 256                # label look: grey with a black edge


def style():
    return Style(base_size=8, field_size=8, pitch=255, check=130, gap=85, title_size=8,
                 title_box=TITLE, title_h=220, pad=60, section_gap=80, code=CODE)


SPEC = FormatSpec(
    code=CODE, base=CODE, ext="ebu", title="English Convention Card (EBU 20B)", pages=2,
    width=W, height=H, paper="A4", print_width=297, print_height=210, front_margin=5,
    back_margin=5, view_scale=1.0, names_mode=0, tint=2, base_black=1, orientation=1,
    picture="ebu.bmp", check_style=2, field_font=FontSpec("Arial", 8),
    base_font=FontSpec("Arial", 8), comment="landscape A4, two sides, folded to A5")


def panel(i):
    left, right = PANELS[i]
    return left, right - left


def labelled_rows(s, rows, tab):
    for label, key in rows:
        s.row(key).text(label).at(tab).fill("text")


def titled_table(p, col, title, cols, rows, key, head_h, row_h, label_size=None):
    """A grey title band and a table under it, across the column."""
    st = p.style
    p.label(col.x, col.y, col.width, st.title_h, title)
    bottom = table(p, col.x, col.y + st.title_h, col.width, cols, rows, key, head_h, row_h,
                   label_size=label_size)
    col.y = bottom + st.section_gap


# ---- outside: back cover and cover ---------------------------------------------------------

# The 21 holdings of each list, as the printed card has them; "*" before the card usually led
# (underlined on the card): top of a sequence or of touching honours, top of two or three
# small, fourth best of a longer suit, low from an honour and two small.
LEADS_VS_SUITS = ["*A K", "*A K x", "*K Q 10", "*K Q x", "K *J 10", "K *10 9", "*Q J 10", "*Q J x",
                  "*J 10 x", "*10 x x", "*10 9 x", "*9 8 7 x", "10 x x *x", "H x *x", "H x x *x",
                  "H x x *x x", "H x x *x x x", "*x x", "*x x x", "*x x x x", "*x x x x x"]
LEADS_VS_NT = ["*A K", "*A K x", "*K Q 10", "*K Q x", "K *J 10", "K *10 9", "*Q J 10", "*Q J x",
               "*J 10 x", "*10 x x", "*10 9 x", "*9 8 7 x", "10 x x *x", "H x *x", "H x x *x",
               "H x x *x x", "H x x *x x x", "*x x", "*x x x", "x x x *x", "x x x *x x"]


def back_cover(p):
    x, w = panel(0)
    col = p.column(x, w, 100)
    with col.section("LEADS", "ld") as s:
        s.row("legend").text("The standard card is underlined: mark the card led if different.")
        s.row("suits_head").text("Against suit contracts", bold=True)
        lead_rows(s, LEADS_VS_SUITS, "suits", standard="underline")
        s.row("nt_head").text("Against notrump contracts", bold=True)
        lead_rows(s, LEADS_VS_NT, "nt", standard="underline")
        s.row("hatch").check("Hatch this box if using non-standard leads", key="non_standard")
        s.row("other").text("Other leads:").fill("text")
    cols = [Col("CARDING", 1700, "label"), Col("PRIMARY METHOD v SUIT CONTRACTS", 0, "multi", "suits"),
            Col("PRIMARY METHOD v NT CONTRACTS", 3000, "multi", "nt")]
    rows = [("On partner's lead", "partner"), ("On declarer's lead", "declarer"), ("When discarding", "discard")]
    bottom = table(p, col.x, col.y, col.width, cols, rows, "card", 280, 420, label_size=8)
    col.y = bottom + p.style.section_gap
    with col.section(None, "exc") as s:
        s.row("head").text("Other carding agreements, including secondary methods and exceptions "
                           "to above:", bold=True)
        s.row("a").fill("text")
        s.row("b").fill("more")
    with col.section("SUPPLEMENTARY DETAILS", "supp") as s:
        s.area(None, "text", until=BOTTOM - 300)
    p.print_only_text(x, H - 250, "Printed with Cardwright", size=7)


def cover(p):
    x, w = panel(1)
    p.picture(x, 100, 640, 400, "ebu.bmp")
    p.text(x + 740, 70, "CONVENTION CARD", size=14, bold=True)
    p.text(x + 740, 355, "English Bridge Union, form 20B", size=8)
    top = p.column(x, w, 600)
    with top.section(None, "id", tabs=[0, 1300, 5000, 5900]) as s:
        s.row("names").text("NAMES:", bold=True).tab(1).fill("names", name_role="names")
        s.row("numbers").text("EBU NOS.:", bold=True).tab(1).field(2600, "number", name_role="number") \
            .tab(2).text("EVENT:", bold=True).tab(3).fill("event")
    col = p.column(x, w, top.y)
    with col.section("GENERAL DESCRIPTION OF BIDDING METHODS", "gen") as s:
        s.area(2, "text")
    with col.section("1NT OPENINGS AND RESPONSES", "nt", tabs=[0, 1300, 4000, 4700]) as s:
        s.row("range").text("Strength:").tab(1).field(2400, "strength").tab(2).text("Shape:") \
            .tab(3).fill("shape")
        s.row("resp").text("Responses:", bold=True)
        for a, ka, b, kb in (("2<c>", "c", "2<d>", "d"), ("2<h>", "h", "2<s>", "s"),
                             ("2NT", "nt", "Others", "other")):
            s.row(ka + kb).text(a, bold=True).tab(1).field(2400, ka).tab(2).text(b, bold=True).tab(3).fill(kb)
        labelled_rows(s, (("After a double:", "double"), ("After other interference:", "interference")),
                      tab=2100)
    cols = [Col("OPENING", 800, "label"), Col("MEANING", 2700, "multi", "meaning"),
            Col("RESPONSES", 0, "multi", "resp"), Col("NOTES", 1800, "multi", "notes")]
    rows = [("2<c>", "c"), ("2<d>", "d"), ("2<h>", "h"), ("2<s>", "s"), ("2NT", "nt")]
    titled_table(p, col, "TWO-LEVEL OPENINGS AND RESPONSES", cols, rows, "two", 260, 470, label_size=9)
    with col.section("OTHER ASPECTS OF THE SYSTEM WHICH OPPONENTS SHOULD NOTE", "aspects") as s:
        s.area(None, "text", until=BOTTOM)


def outside():
    p = Page(W, H, style(), name="ebu front", panels=PANELS)
    back_cover(p)
    cover(p)
    return p


# ---- inside ---------------------------------------------------------------------------------

def openings_and_defence(p):
    x, w = panel(0)
    col = p.column(x, w, 100)
    cols = [Col("", 800, "label"), Col("HCP", 700, "field", "hcp"),
            Col("SEE NOTE *", 900, "tick", "varies"), Col("MIN. LENGTH", 760, "field", "min"),
            Col("CONVENTIONAL MEANING", 0, "multi", "meaning"),
            Col("SPECIAL RESPONSES", 2100, "multi", "resp")]
    rows = [("1<c>", "c"), ("1<d>", "d"), ("1<h>", "h"), ("1<s>", "s"), ("3 bids", "three"),
            ("4 bids", "four")]
    titled_table(p, col, "OTHER OPENING BIDS", cols, rows, "open", 420, 420, label_size=9)
    # The footnote of the "see note" column, close under the table.
    p.text(x, col.y - p.style.section_gap + 70,
           "* Tick if the opening differs by seat or vulnerability, and give the details.", size=7)
    col.y += 250
    cols = [Col("", 1500, "label"), Col("MEANING", 0, "multi", "meaning"),
            Col("SPECIAL RESPONSES", 2000, "multi", "resp"), Col("NOTES", 1600, "multi", "notes")]
    rows = [("Simple overcall", "simple"), ("Jump overcall", "jump"), ("Cue bid", "cue"),
            ("1NT direct", "nt_direct"), ("1NT protective", "nt_prot"), ("2NT direct", "nt2_direct"),
            ("2NT protective", "nt2_prot")]
    titled_table(p, col, "DEFENSIVE METHODS AFTER OPPONENTS OPEN", cols, rows, "def", 260, 430,
                 label_size=8)
    cols = [Col("OPPONENTS' OPENING", 1700, "label"), Col("DEFENSIVE METHOD", 0, "multi", "method"),
            Col("SPECIAL RESPONSES", 1900, "multi", "resp"), Col("NOTES", 1500, "multi", "notes")]
    rows = [("Strong 1<c>", "strong_c"), ("Short 1<c> / 1<d>", "short"), ("Weak 1NT", "weak_nt"),
            ("Strong 1NT", "strong_nt"), ("Weak twos", "weak_two"), ("Weak threes", "weak_three"),
            ("4-bids", "four"), ("Multi 2<d>", "multi")]
    titled_table(p, col, "DEFENCE AGAINST", cols, rows, "vs", 260, 380, label_size=8)


def slam_and_competition(p):
    x, w = panel(1)
    col = p.column(x, w, 100)
    cols = [Col("NAME", 1800, "multi", "name"), Col("MEANING OF RESPONSES", 0, "multi", "meaning"),
            Col("ACTION OVER INTERFERENCE", 2400, "multi", "interference")]
    rows = [("", "one"), ("", "two"), ("", "three")]
    titled_table(p, col, "SLAM CONVENTIONS", cols, rows, "slam", 260, 470)
    with col.section("AGREEMENTS AFTER OPENING OF ONE OF A SUIT AND OVERCALL BY OPPONENTS", "comp",
                     tabs=[0, 3600]) as s:
        s.row("neg").text("Level to which negative doubles apply:").tab(1).fill("text")
        s.row("special").text("Special meaning of bids:").tab(1).fill("text")
        s.row("except").text("Exceptions / other agreements:").tab(1).fill("text")
    with col.section("AGREEMENTS AFTER OPPONENTS DOUBLE FOR TAKEOUT", "comp",
                     tabs=[0, 1700, 3900, 5600]) as s:
        for (a, ka), (b, kb) in ((("Redouble", "xx"), ("New suit", "new")),
                                 (("Jump in new suit", "jump"), ("Jump raise", "raise")),
                                 (("2NT", "nt"), ("Other", "other"))):
            s.row("otd_" + ka).text(a).tab(1).field(2100, ka).tab(2).text(b).tab(3).fill(kb)
    with col.section("OTHER AGREEMENTS CONCERNING DOUBLES AND REDOUBLES", "comp") as s:
        s.area(2, "doubles")
    with col.section("OTHER CONVENTIONS", "conv") as s:
        s.area(None, "text", until=BOTTOM)


def inside():
    p = Page(W, H, style(), name="ebu back", panels=PANELS)
    openings_and_defence(p)
    slam_and_competition(p)
    return p


# ---- the sample card: Acol with a weak notrump ------------------------------------------------

SAMPLE_OUTSIDE = {
    "id.numbers.event": "County league",
    "gen.text": "Acol: four-card majors, weak notrump (12-14), 2<c> strong and artificial, weak "
                "twos in <d>, <h> and <s>.  Limit raises; a new suit at the two level shows 10+.",
    "nt.range.strength": "12-14", "nt.range.shape": "Balanced, no 5-card major",
    "nt.cd.c": "Stayman, may be weak", "nt.cd.d": "Transfer to <h>",
    "nt.hs.h": "Transfer to <s>", "nt.hs.s": "Range ask or clubs",
    "nt.ntother.nt": "Natural, invitational", "nt.ntother.other": "3-level: slam tries",
    "nt.double.text": "Redouble = to play; 2-level bids escapes",
    "nt.interference.text": "Double = takeout over 2-level suits",
    "two.c.meaning": "23+ balanced or game forcing", "two.c.resp": "2<d> negative or waiting",
    "two.c.notes": "2NT rebid 23-24",
    "two.d.meaning": "Weak, 6 cards, 6-10", "two.d.resp": "2NT asks for a feature",
    "two.h.meaning": "Weak, 6 cards, 6-10", "two.h.resp": "2NT asks for a feature",
    "two.s.meaning": "Weak, 6 cards, 6-10", "two.s.resp": "2NT asks for a feature",
    "two.nt.meaning": "20-22 balanced", "two.nt.resp": "3<c> Stayman, transfers",
    "aspects.text": "We open 1<c> with 4-4 in the minors and 1<h> with 4-4 in the majors.  "
                    "Reverses are forcing for one round.",
    # Where they lead another card than the underlined one: MUD from three small, second
    # highest from four small, king from ace-king.
    "ld.suits.xxx": 1, "ld.suits.xxxx": 1, "ld.suits.ak": 1, "ld.suits.akx": 1,
    "ld.nt.xxx": 1, "ld.hatch.non_standard": True,
    "ld.other.text": "MUD from three small; K from A K",
    "card.partner.suits": "Attitude, high encourages", "card.partner.nt": "Attitude, high encourages",
    "card.declarer.suits": "Count, high-low even", "card.declarer.nt": "Count, high-low even",
    "card.discard.suits": "Attitude", "card.discard.nt": "Attitude",
    "exc.a.text": "Suit preference when dummy has a singleton",
    "supp.text": "Fourth suit forcing to game.  Blackwood for aces; 5NT asks for kings.",
}

SAMPLE_INSIDE = {
    "open.c.hcp": "12-19", "open.c.min": "3", "open.c.meaning": "3 cards only with 3-3 in the minors",
    "open.d.hcp": "12-19", "open.d.min": "4",
    "open.h.hcp": "12-19", "open.h.min": "4",
    "open.s.hcp": "12-19", "open.s.min": "4",
    "open.three.varies": True, "open.three.min": "7",
    "open.three.meaning": "Preemptive, lighter in 3rd seat",
    "open.four.min": "8", "open.four.meaning": "Natural, preemptive",
    "def.simple.meaning": "8-16, good suit", "def.simple.resp": "Cue bid = good raise",
    "def.jump.meaning": "Weak, 6 cards",
    "def.cue.meaning": "Michaels", "def.cue.resp": "2NT asks for the minor",
    "def.nt_direct.meaning": "15-18", "def.nt_direct.resp": "As over our 1NT",
    "def.nt_prot.meaning": "11-14",
    "def.nt2_direct.meaning": "Two lowest unbid suits",
    "def.nt2_prot.meaning": "19-21 balanced",
    "vs.strong_c.method": "X = majors, 1NT = minors", "vs.strong_c.resp": "Cheapest bid asks",
    "vs.short.method": "As over a natural opening",
    "vs.weak_nt.method": "X = penalty; 2<c> = majors", "vs.weak_nt.resp": "Redouble = to play",
    "vs.strong_nt.method": "2<c> = majors",
    "vs.weak_two.method": "X = takeout; 2NT = 16-18", "vs.weak_three.method": "X = takeout",
    "vs.four.method": "X = takeout of 4<h>, penalty of 4<s>",
    "vs.multi.method": "X = 13-15 balanced or strong", "vs.multi.notes": "2NT = 16-18",
    "slam.one.name": "Blackwood 4NT", "slam.one.meaning": "Aces; 5NT asks for kings",
    "slam.one.interference": "DOPI",
    "slam.two.name": "Gerber 4<c>", "slam.two.meaning": "Aces, only directly over 1NT and 2NT",
    "comp.neg.text": "Up to and including 3<s>",
    "comp.special.text": "Unassuming cue bid = good raise of partner's overcall",
    "comp.otd_xx.xx": "10+ HCP", "comp.otd_xx.new": "Forcing one round",
    "comp.otd_jump.jump": "Weak", "comp.otd_jump.raise": "Preemptive",
    "comp.otd_nt.nt": "Limit raise or better",
    "comp.doubles": "Doubles of 3NT ask for a dummy's first bid suit.  Lightner doubles of slams.",
    "conv.text": "Fourth suit forcing.  Checkback Stayman after a 1NT rebid.",
}

FORMAT = CardFormat(SPEC, lambda: [outside(), inside()],
                    Sample("Jane Hill - Robert Shaw", "EBU 123456", "Robert Shaw - Jane Hill", "EBU 654321",
                           [SAMPLE_OUTSIDE, SAMPLE_INSIDE]))
