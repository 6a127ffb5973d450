"""The ACBL convention card: bidding side (front) and competition/defence side (back).

The SAYC card is this card with its templates pre-filled, so the page
builders take the title and picture as parameters.
"""

from cwlayout.formatspec import FormatSpec, FontSpec
from cwlayout.leads import holding_key, lead_rows
from cwlayout.page import Page, Style, red, blue, RED, BLUE, BASE

W, H = 11520, 15120          # 8 x 10.5 inches
MARGIN = 100
GUTTER = 120
COL_W = (W - 2 * MARGIN - GUTTER) // 2
LEFT_X = MARGIN
RIGHT_X = MARGIN + COL_W + GUTTER
BOTTOM = H - 100


def style(code):
    return Style(base_size=8, field_size=8, pitch=300, check=130, gap=85,
                 title_size=8, title_box=6 + 256, title_h=215, circle_size=8, code=code)


def spec(code="acbl", title="ACBL Convention Card", ext="acb", picture="acbl.bmp", tint=2):
    return FormatSpec(
        code=code, base=code, ext=ext, title=title, pages=2, width=W, height=H,
        paper="Letter", print_width=216, print_height=279, front_margin=6, back_margin=6,
        view_scale=1.2, names_mode=0, tint=tint, base_black=0, orientation=2,
        picture=picture, check_style=1,
        field_font=FontSpec("Arial", 8), base_font=FontSpec("Arial", 8),
        comment="US Letter, two sides")


def header(p, title, picture, subtitle):
    """Title block with the names and the player number; ends at y 760."""
    p.picture(MARGIN, 90, 704, 440, picture)
    p.text(MARGIN + 820, 60, title, size=14, bold=True)
    if subtitle:
        p.text(MARGIN + 820, SUBTITLE_Y, subtitle, size=8)
    # Legend of the colours: alerts red, announcements blue.
    p.runs(MARGIN, 570, [("Alertable calls are printed in ", BASE, False), ("RED", RED, True),
                         (", announced calls in ", BASE, False), ("BLUE", BLUE, True),
                         (".", BASE, False)], size=7)
    col = p.column(RIGHT_X, COL_W, 90)
    with col.section(None, "names") as s:
        r = s.row()
        r.text("NAMES", bold=True).fill("names", name_role="names")
        r = s.row()
        r.text("PLAYER NO.", bold=True).field(1500, "number", name_role="number")
        r.text("Event / date").fill("event")


SUBTITLE_Y = 345     # where the subtitle, or the note of a pre-filled card, stands


def two_bid(s, suit, k, kinds, responses):
    """A two-level opening: its strength and kind, its usual responses, a line to describe it
    and one for its responses and rebids."""
    r = s.row(k)
    r.text("2" + suit, bold=True).tab(1).range(k).text("HCP")
    for caption, key in kinds:
        r.check(caption, key=key)
    r = s.row(k + "_asks").tab(1)
    for caption, key in responses:
        r.check(caption, key=key)
    s.row(k + "_desc").tab(1).text("Describe:").fill("describe")
    s.row(k + "_resp").tab(1).text("Responses / rebids:").fill("text")


def front(code="acbl", title="CONVENTION CARD", picture="acbl.bmp",
          subtitle="Bidding side: openings and responses"):
    p = Page(W, H, style(code), name=code + " front")
    header(p, title, picture, subtitle)

    left = p.column(LEFT_X, COL_W, 800)
    with left.section("GENERAL APPROACH", "gen") as s:
        s.row("two").check("2/1 game forcing", key="gf") \
            .check("except when responder rebids his own suit", key="except_rebid")
        s.row("std").check("Standard American").check("Other:").fill("text")
        s.row("light").text("Very light:").check(red("Openings")).check(red("3rd hand")) \
            .check(red("Preempts"))
        s.row("forcing").text("Forcing opening:").check(red("1<c>")).check("2<c>") \
            .check(red("Natural 2 bids"), key="natural_2").check("Other").fill("text")

    with left.section("NOTRUMP OPENING BIDS", "nt", tabs=[0, 650]) as s:
        r = s.row("one")
        r.text(blue("1NT"), bold=True).range("range").text("HCP") \
            .check("5-card major common").check("Seat/vul. varies")
        r = s.row("alt")
        r.text("Alternative range").range("alt").text("when").fill("alt_when")
        r = s.row("c")
        r.text("2<c>", bold=True).tab(1).check("Stayman").check(red("Puppet Stayman")) \
            .check("Other").fill("text")
        r = s.row("d")
        r.text("2<d>", bold=True).tab(1).check(blue("Transfer to <h>")).check(red("Forcing Stayman")) \
            .check("Other").fill("text")
        r = s.row("h")
        r.text("2<h>", bold=True).tab(1).check(blue("Transfer to <s>")).check("Other").fill("text")
        r = s.row("s")
        r.text("2<s>", bold=True).tab(1).check(red("To 3<c>")).check(red("Minor suit Stayman")) \
            .check("Other").fill("text")
        r = s.row("nt")
        r.text("2NT", bold=True).tab(1).check("Invitational").check(red("Transfer to <c>")) \
            .check("Other").fill("text")
        r = s.row("three")
        r.text("3<c>", bold=True).tab(1).field(1850, "c3").text("3<d>", bold=True).fill("d3")
        r = s.row("three_major")
        r.text("3<h>", bold=True).tab(1).field(1850, "h3").text("3<s>", bold=True).fill("s3")
        r = s.row("conv")
        r.check(red("Smolen")).check(blue("Texas")).check(red("Lebensohl")).text("denies").fill("denies")
        r = s.row("sys")
        r.text("Systems on over:").check("Double", key="x").check("2<c>", key="c").text("Other:").fill("text")
        r = s.row("neg")
        r.text("Negative double through").field(600, "thru").text("Other interference:").fill("interference")
        r = s.row("two")
        r.text(blue("2NT"), bold=True).range("range2").text("HCP") \
            .check(red("Puppet Stayman"), key="puppet2").check(blue("Transfers"), key="transfers2")
        r = s.row("two_other")
        r.text("2NT other:").fill("other2")
        r = s.row("three_nt")
        r.text("3NT", bold=True).range("range3").text("HCP").check(red("Solid minor")) \
            .check("Other").fill("other3")

    with left.section("MAJOR OPENING  (1<h> / 1<s>)", "maj") as s:
        r = s.row("len")
        r.text("Expected minimum length:  1st/2nd seat").circles(["4", "5"], "len12", spacing=230) \
            .text("3rd/4th seat", gap=240).circles(["4", "5"], "len34", spacing=230)
        r = s.row("nt")
        r.text("1NT response:").check(blue("Forcing")).check(blue("Semi-forcing")).check("Non-forcing")
        r = s.row("dbl")
        r.text("Double raise:").check("Force").check("Invitational").check(red("Weak"))
        r = s.row("ovc")
        r.text("After overcall, double raise:").check("Force").check("Invitational").check(red("Weak"))
        r = s.row("conv")
        r.check(red("Jacoby 2NT")).check(red("Splinters")).check(red("Bergen raises")) \
            .text("3NT:").fill("three_nt")
        r = s.row("drury")
        r.text("Drury:").check(red("2<c>")).check(red("2<d>")).check(red("Reverse")) \
            .text("Other:").fill("text")
        s.row("more").text("Other:").fill("more")

    with left.section("NOTES ON OPENINGS AND RESPONSES", "notes") as s:
        s.area(None, "text", until=BOTTOM)

    right = p.column(RIGHT_X, COL_W, 800)
    with right.section("MINOR OPENING  (1<c> / 1<d>)", "min") as s:
        r = s.row("c")
        r.text("Expected min. length").text("1<c>", bold=True) \
            .circles(["5", "4", "3", "2", "1", "0"], "len_c", spacing=215).check(red("Conventional"), key="conv_c")
        r = s.row("d")
        r.text("Expected min. length").text("1<d>", bold=True) \
            .circles(["5", "4", "3", "2", "1", "0"], "len_d", spacing=215).check(red("Conventional"), key="conv_d")
        r = s.row("four")
        r.text("With 4-4 in the minors open").check("1<c>").check("1<d>") \
            .check(red("Frequently bypass 4+ <d>"), key="bypass")
        r = s.row("single")
        r.text("Single raise:").check("Non-forcing").check(red("Inverted"))
        r = s.row("dbl")
        r.text("Double raise:").check("Force").check("Invitational").check(red("Weak"))
        r = s.row("ovc")
        r.text("After overcall, double raise:").check("Force").check("Invitational").check(red("Weak"))
        r = s.row("fr")
        r.text("Forcing raise:").check(red("Jump shift in the other minor"), key="js").text("Other:").fill("text")
        r = s.row("nt1")
        r.text("1NT response to 1<c>").range("nt1").text("HCP").check(red("Transfer responses"))
        r = s.row("nt2")
        r.text("2NT:").check(red("Forcing")).check("Invitational").range("nt2").text("HCP")
        r = s.row("nt3")
        r.text("3NT").range("nt3").text("HCP").text("Other:").fill("text")

    with right.section("TWO-LEVEL OPENINGS", "two", tabs=[0, 450]) as s:
        two_bid(s, "<c>", "c", (("Strong", None), ("Very strong", None), (red("Natural"), None)),
                (("2<d> negative", "negative"), ("2<d> waiting", "waiting"), (red("Steps"), None)))
        for suit, k in (("<d>", "d"), ("<h>", "h"), ("<s>", "s")):
            two_bid(s, suit, k, (("Weak", None), ("Intermediate", None), ("Strong", None),
                                 (red("Conv."), "conv")),
                    (("2NT feature ask", "feature"), (red("Ogust"), None),
                     ("New suit forcing", "forcing"), (red("New suit NF"), "nf")))

    with right.section("OTHER CONVENTIONAL CALLS", "conv") as s:
        r = s.row("js")
        r.text("Jump shifts:").check("Strong").check(red("Weak")).check(red("Invitational")) \
            .check(red("Fit-showing"))
        r = s.row("wjs")
        r.text("Weak jump shifts:").check(red("In competition"), key="in_comp") \
            .check(red("Not in competition"), key="not_in_comp")
        r = s.row("nmf")
        r.text("New minor forcing:").check("Two-way", key="nmf_two_way")
        r.check(red("One-way")).check(red("XYZ"))
        r = s.row("fsf")
        r.text("Fourth suit forcing:").check("One round").check("To game")
        s.area(None, "notes", label="Other conventions and agreements:", until=BOTTOM)
    return p


# Lead holdings; the card usually led (printed bold) is marked by "*" before it.
LEADS_VS_SUITS = [
    "*x x", "*x x x", "x x x *x", "x x x *x x", "H x *x", "H x x *x",
    "*A K x", "*A K x x", "*K Q x", "*K Q T x", "K *J T x", "K *T 9 x",
    "*Q J x", "*Q J T x", "Q *T 9 x", "*J T x", "*J T 9 x", "*T 9 x", "*T 9 8 x",
]
LEADS_VS_NT = [
    "*x x", "*x x x", "x x x *x", "x x x *x x", "H x *x", "H x x *x", "H x x *x x",
    "*A K J x", "A *Q J x", "A *J T 9", "A *T 9 x", "*K Q J x", "*K Q T 9",
    "K *J T x", "K *T 9 x", "*Q J T x", "Q *T 9 x", "*J T 9 x", "*T 9 8 x",
]


def back(code="acbl", title="CONVENTION CARD", picture="acbl.bmp"):
    p = Page(W, H, style(code), name=code + " back")
    p.picture(MARGIN, 90, 480, 300, picture)
    p.text(MARGIN + 560, 100, title + "  \u2013  competition, leads and carding", size=11, bold=True)
    p.runs(RIGHT_X + 1700, 150, [("Alerts in ", BASE, False), ("RED", RED, True),
                                 (", announcements in ", BASE, False), ("BLUE", BLUE, True)], size=7)

    left = p.column(LEFT_X, COL_W, 470)
    with left.section("SPECIAL DOUBLES", "dbl") as s:
        r = s.row("neg")
        r.text("Negative through").field(520, "neg_thru") \
            .text(red("Responsive through")).field(520, "resp_thru")
        r = s.row("pen")
        r.text("After overcall:").check(red("Penalty")).text("Other:").fill("text")
        r = s.row("sup")
        r.check(red("Maximal")).check(red("Support double through")).field(520, "support_thru") \
            .check(red("Redouble"), key="support_redouble")
        r = s.row("more")
        r.check(red("Card-showing")).check(red("Min. off-shape takeout")).text("Other:").fill("text")

    with left.section("NOTRUMP OVERCALLS", "nto", tabs=[0, 1060]) as s:
        s.row("direct").text("Direct").tab(1).range("direct").text("HCP").check("Systems on")
        s.row("conv").tab(1).check(red("Conventional")).fill("text")
        s.row("bal").text("Balancing").tab(1).range("bal").text("HCP").check("Systems on")
        s.row("jump").text("Jump to 2NT:").tab(1).check(red("Minors")).check(red("2 lowest")) \
            .text("Other:").fill("text")

    with left.section("SIMPLE OVERCALL", "ovc", tabs=[0, 1000]) as s:
        s.row("one").text("1 level").tab(1).range("one").text("HCP") \
            .check("Often 4 cards").check("Very light style", key="light")
        s.row("two").text("2 level").tab(1).range("two").text("HCP")
        s.row("resp").text("Responses:").tab(1).text("New suit:").check("Forcing") \
            .check(red("NF constructive")).check("NF")
        s.row("raise").tab(1).text("Jump raise:").check("Force").check("Invitational") \
            .check(red("Weak")).text("Cuebid:").fill("cuebid")

    with left.section("JUMP OVERCALLS", "jo") as s:
        s.row().check(red("Strong")).check(red("Intermediate")).check("Weak").text("Other:").fill("text")

    with left.section("DIRECT CUEBID", "cue", tabs=[0, 1000]) as s:
        s.row("minor").text("Over minor:").tab(1).check("Natural").check("Strong takeout", key="strong") \
            .check(red("Michaels")).fill("text")
        s.row("major").text("Over major:").tab(1).check("Natural").check("Strong takeout", key="strong") \
            .check(red("Michaels")).fill("text")

    with left.section("OVER OPPONENTS' TAKEOUT DOUBLE", "otd") as s:
        s.row("ns").text("New suit forcing:").check("1 level").check("2 level")
        s.row("js").text("Jump shift:").check("Forcing").check(red("Invitational"), key="inv") \
            .check(red("Weak"))
        s.row("xx").check("Redouble implies no fit", key="xx_no_fit")
        s.row("nt").text("2NT over majors:").check(red("Limit+")).check(red("Limit")).check(red("Weak"))
        s.row("other").text("Other:").fill("text")

    with left.section("DEFENSE VS NOTRUMP", "dvn", tabs=[0, 700, 2850]) as s:
        r = s.row("head")
        r.tab(1).text("vs strong").range("strong", width=300).tab(2).text("vs weak").range("weak", width=300)
        for bid, k in (("Double", "x"), ("2<c>", "c"), ("2<d>", "d"), ("2<h>", "h"),
                       ("2<s>", "s"), ("2NT", "nt"), ("Other", "other")):
            r = s.row(k)
            r.text(bid, bold=True).tab(1).field(2050, "strong").tab(2).fill("weak")
        s.row("bal").check("Same in balancing seat", key="same_bal").check("Systems on after our double",
                                                                            key="sys_on")

    with left.section("OPENING PREEMPTS", "op", tabs=[0, 1000]) as s:
        s.row("style").text("Style:").tab(1).check("Sound").check("Light").check(red("Very light"))
        s.row("three").text("3-bids:").tab(1).fill("three")
        s.row("four").text("4-bids:").tab(1).check(red("Namyats")).fill("four")

    with left.section("OTHER COMPETITIVE AGREEMENTS", "comp") as s:
        s.area(None, "notes", until=BOTTOM - 300)

    right = p.column(RIGHT_X, COL_W, 470)
    with right.section("SLAM CONVENTIONS", "slam", tabs=[0, 1000]) as s:
        s.row("g").check("Gerber").text("when:").fill("gerber_when")
        s.row("bw").text("4NT:").tab(1).check("Blackwood").check("RKC 0314").check("RKC 1430") \
            .text("Other:").fill("text")
        s.row("intf").text("Interference:").tab(1).check("DOPI").check("DEPO").check("ROPI") \
            .text("Level:").fill("level")
        s.row("more").text("Other:").fill("text")

    with right.section("VS OPENING PREEMPTS, DOUBLE IS", "vp") as s:
        s.row("x").check("Takeout through").field(520, "takeout_thru") \
            .check(red("Conventional takeout"), key="conv").check(red("Penalty"))
        s.row("more").check(red("Lebensohl 2NT response"), key="lebensohl").check(red("Leaping Michaels")) \
            .text("Other:").fill("text")

    with right.section("VS STRONG ARTIFICIAL OPENINGS", "vs") as s:
        s.row("strong").text("1<c> / 2<c>:").fill("text")

    with right.section("LEADS  (circle the card led)", "ld") as s:
        r = s.row("legend")
        r.text("Bold: the card usually led.  Circle the card you lead when it differs.")
        r = s.row("suits_head")
        r.text("VS SUITS", bold=True)
        lead_rows(s, LEADS_VS_SUITS, "suits")
        r = s.row("nt_head")
        r.text("VS NOTRUMP", bold=True)
        lead_rows(s, LEADS_VS_NT, "nt")
        s.row("dbl").text("Low from a doubleton:").check("vs suits", key="suits").check("vs NT", key="nt")
        s.row("len_s").text("Length leads vs suits:").check("4th best").check("3rd/5th") \
            .check(red("Attitude")).check("Other", key="other")
        s.row("len_nt").text("Length leads vs NT:").check("4th best").check("3rd/5th") \
            .check(red("Attitude")).check("Other", key="other")
        s.row("pard").text("In partner's suit:").fill("text")

    with right.section("DEFENSIVE CARDING", "dc", tabs=[0, 1150, 1700, 2950]) as s:
        r = s.row("head")
        r.text("Mark NT, S (suits) or both:", size=7)
        r = s.row("std")
        r.text("Standard:").tab(1).text("count").tab(2).option("count").tab(3) \
            .text("attitude").option("attitude", gap=285)
        r = s.row("ud")
        r.text("Upside-down:").tab(1).text("count").tab(2).option("count").tab(3) \
            .text("attitude").option("attitude", gap=285)
        r = s.row("more")
        r.text(red("Smith echo")).tab(2).option("smith").tab(3).text("Trump suit pref.").option("trump", gap=40)
        s.row("prio").text("Primary signal to partner's lead:", bold=True)
        for k, label in (("prio_s", "vs suits"), ("prio_nt", "vs NT")):
            s.row(k).at(300).text(label).tab(1).check("Attitude").check("Count").check("Suit pref.", key="suit_pref")
        s.row("disc").text("First discard:", bold=True)
        for k, label in (("disc_s", "vs suits"), ("disc_nt", "vs NT")):
            s.row(k).at(300).text(label).tab(1).check("Standard").check("Upside-down") \
                .check(red("Lavinthal")).check(red("Odd/even"))
        s.row("except").text("Except:").fill("text")
        s.row("special").text(red("Special carding:")).fill("text")

    with right.section("OTHER AGREEMENTS", "oth") as s:
        s.area(None, "notes", until=BOTTOM)

    p.print_only_text(MARGIN, H - 250, "Printed with Cardwright", size=7)
    p.footer_date(MARGIN + p.tw("Printed with Cardwright", 7) + 20, H - 250)
    return p


# ---------------------------------------------------------------------------
# The sample card: a two-over-one partnership.

from cwlayout.cardformat import CardFormat, Sample  # noqa: E402
from cwlayout.records import Record, CLEARED_AREA, TEXT_FIELD, RECTANGLE, LINE  # noqa: E402

SAMPLE_FRONT = {
    "gen.two.gf": True, "gen.two.except_rebid": True,
    "gen.light.3rd_hand": True, "gen.forcing.2c": True,
    "nt.one.range_lo": "15", "nt.one.range_hi": "17", "nt.one.5_card_major_common": True,
    "nt.c.stayman": True, "nt.d.transfer_to_h": True, "nt.h.transfer_to_s": True,
    "nt.s.to_3c": True, "nt.nt.invitational": True,
    "nt.three.c3": "Invitational, 6-card suit", "nt.three.d3": "Invitational, 6-card suit",
    "nt.three_major.h3": "Short <h>, 5-4 minors, GF", "nt.three_major.s3": "Short <s>, 5-4 minors, GF",
    "nt.conv.smolen": True, "nt.conv.texas": True, "nt.conv.lebensohl": True,
    "nt.conv.denies": "a stopper (fast 3NT)",
    "nt.sys.x": True, "nt.sys.text": "Stolen-bid doubles",
    "nt.neg.thru": "3<s>", "nt.neg.interference": "Lebensohl",
    "nt.two.range2_lo": "20", "nt.two.range2_hi": "21", "nt.two.puppet2": True, "nt.two.transfers2": True,
    "nt.three_nt.range3_lo": "25", "nt.three_nt.range3_hi": "27",
    "maj.len.len12": "5", "maj.len.len34": "5",
    "maj.nt.forcing": True, "maj.dbl.invitational": True, "maj.ovc.weak": True,
    "maj.conv.jacoby_2nt": True, "maj.conv.splinters": True, "maj.conv.three_nt": "15-17, 4-3-3-3",
    "maj.drury.2c": True,
    "min.c.len_c": "2", "min.d.len_d": "4", "min.four.1d": True,
    "min.single.inverted": True, "min.dbl.weak": True, "min.ovc.weak": True,
    "min.fr.text": "Inverted single raise",
    "min.nt1.nt1_lo": "6", "min.nt1.nt1_hi": "10",
    "min.nt2.invitational": True, "min.nt2.nt2_lo": "11", "min.nt2.nt2_hi": "12",
    "min.nt3.nt3_lo": "13", "min.nt3.nt3_hi": "15",
    "two.c.c_lo": "22", "two.c.strong": True, "two.c_asks.waiting": True,
    "two.c_desc.describe": "Any game force; 2NT rebid 22-24",
    "two.c_resp.text": "2<h> after 2<d> = second negative",
    "two.d.d_lo": "5", "two.d.d_hi": "10", "two.d.weak": True, "two.d_asks.ogust": True,
    "two.d_asks.forcing": True, "two.d_desc.describe": "6 cards, at most one top honour outside",
    "two.h.h_lo": "5", "two.h.h_hi": "10", "two.h.weak": True, "two.h_asks.ogust": True,
    "two.h_asks.forcing": True, "two.h_desc.describe": "6 cards; 5 cards not vulnerable in 3rd seat",
    "two.h_resp.text": "Raise to 3<h> preemptive",
    "two.s.s_lo": "5", "two.s.s_hi": "10", "two.s.weak": True, "two.s_asks.ogust": True,
    "two.s_asks.forcing": True, "two.s_desc.describe": "6 cards; 5 cards not vulnerable in 3rd seat",
    "two.s_resp.text": "Raise to 3<s> preemptive",
    "conv.js.weak": True, "conv.wjs.not_in_comp": True,
    "conv.nmf.nmf_two_way": True, "conv.fsf.to_game": True,
    "notes.text": "1<c>-1<d>; 1<h>: 1<s> now shows 4 spades and is forcing.  "
                  "Jacoby 2NT: opener shows shortness at the three level, else 3NT minimum.",
    "conv.notes": "Inverted minors are off after an overcall.  Two-way checkback after "
                  "1m-1M-1NT.  Soloway jump shifts: strong only with a good suit or support "
                  "(see notes [3]).",
}

SAMPLE_BACK = {
    "dbl.neg.neg_thru": "3<s>", "dbl.neg.resp_thru": "3<s>",
    "dbl.sup.support_double_through": True, "dbl.sup.support_thru": "2<h>",
    "dbl.sup.support_redouble": True,
    "nto.direct.direct_lo": "15", "nto.direct.direct_hi": "18", "nto.direct.systems_on": True,
    "nto.bal.bal_lo": "11", "nto.bal.bal_hi": "14",
    "nto.jump.2_lowest": True,
    "ovc.one.one_lo": "7", "ovc.one.one_hi": "17", "ovc.two.two_lo": "10", "ovc.two.two_hi": "17",
    "ovc.resp.nf_constructive": True, "ovc.raise.weak": True, "ovc.raise.cuebid": "Limit+",
    "jo.weak": True,
    "cue.minor.michaels": True, "cue.major.michaels": True,
    "otd.ns.1_level": True, "otd.js.weak": True, "otd.xx.xx_no_fit": True, "otd.nt.limitplus": True,
    "dvn.head.strong_lo": "15", "dvn.head.weak_hi": "14",
    "dvn.x.strong": "One long suit (DONT)", "dvn.x.weak": "Penalty",
    "dvn.c.strong": "<c> and a higher suit", "dvn.c.weak": "Both majors (Landy)",
    "dvn.d.strong": "<d> and a major", "dvn.d.weak": "<d>, natural",
    "dvn.h.strong": "<h> and <s>", "dvn.h.weak": "<h>, natural",
    "dvn.s.strong": "<s>, natural", "dvn.s.weak": "<s>, natural",
    "dvn.nt.strong": "Both minors", "dvn.nt.weak": "Both minors",
    "dvn.bal.sys_on": True,
    "op.style.light": True, "op.three.three": "Disciplined 1st/2nd seat, anything 3rd",
    "op.four.four": "Natural",
    "slam.bw.rkc_1430": True, "slam.intf.dopi": True, "slam.intf.level": "Up to 5<s>",
    "slam.g.gerber": True, "slam.g.gerber_when": "Only directly over 1NT and 2NT",
    "vp.x.takeout_through": True, "vp.x.takeout_thru": "4<h>", "vp.more.lebensohl": True,
    "vs.strong.text": "Mathe: X = majors, 1NT = minors",
    "ld.len_s.4th_best": True, "ld.len_nt.4th_best": True,
    "ld.pard.text": "Low from 3 to an honour, top of a doubleton",
    "dc.ud.count": 3, "dc.ud.attitude": 3, "dc.more.smith": 1, "dc.more.trump": 2,
    "dc.prio_s.attitude": True, "dc.prio_nt.attitude": True,
    "dc.disc_s.upside_down": True, "dc.disc_nt.upside_down": True,
    "dc.except.text": "Count at trick one when partner leads a king vs notrump",
    "dc.special.text": "Suit preference at trick one when dummy has a singleton",
    "comp.notes": "After their 1NT overcall: double = penalty, 2-level bids natural and "
                  "non-forcing, cuebid = Stayman.",
    "oth.notes": "Support doubles and redoubles through 2<h>.  McCabe after our weak two is "
                 "doubled.  After a negative double, opener's cuebid of their suit is a good raise.",
}

# Leads where the partnership leads another card than the one printed bold (index into
# the holding): middle-up-down from three small, second highest from four small, and
# journalist leads against notrump.
SAMPLE_LEADS_SUITS = {"x x x": 1, "x x x x": 1}
SAMPLE_LEADS_NT = {"x x x": 1, "A K J x": 1, "K Q T 9": 1, "A J T 9": 2}


def lead_values(leads, rid):
    """Fill values that circle one card in each holding."""
    out = {}
    for holding, i in leads.items():
        out["ld.%s.%s" % (rid, holding_key(holding))] = i
    return out


def sample_extra(pages):
    """What the partnership changed on the layout: the printed lead legend erased
    and their own note written in its place, a frame around the other agreements
    they want to stress and a line under their Gerber agreement."""
    back_page = pages[1]
    legend = next(r for r in back_page.base if r.text.startswith("Bold: the card usually led"))
    x0 = RIGHT_X + back_page.style.pad - 20
    width = COL_W - 2 * back_page.style.pad + 40
    erase = Record(CLEARED_AREA, [x0, legend.a[1] - 25, width, 290])
    own = Record(TEXT_FIELD, [x0 + 40, legend.a[1], width - 80, 240, 5, 0],
                 "Journalist leads vs notrump, see notes [7]")
    # The frame goes round the area of their other agreements, outside its own box: a tick
    # reaches half a box above its box, so a rule between rows of boxes would be crossed.
    notes = back_page.keys["oth.notes"]
    frame = Record(RECTANGLE, [RIGHT_X + 25, notes.a[1] - 55, COL_W - 50, notes.a[3] + 110, 1, 0x0000FF])
    g = back_page.keys["slam.g.gerber_when"]
    rule = Record(LINE, [g.a[0], g.a[0] + 2600, g.a[1] + 215, g.a[1] + 215, 2, 0x0000FF])
    return [[], [erase, own, frame, rule]]


def _with_leads(values):
    v = dict(values)
    v.update(lead_values(SAMPLE_LEADS_SUITS, "suits"))
    v.update(lead_values(SAMPLE_LEADS_NT, "nt"))
    return v


FORMAT = CardFormat(
    spec(), lambda: [front(), back()],
    Sample("John Smith - Mary Lee", "K123456", "Mary Lee - John Smith", "M654321",
           [SAMPLE_FRONT, _with_leads(SAMPLE_BACK)], sample_extra))
