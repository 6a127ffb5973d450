"""The ACBL convention card (the classic card): the two halves of one face of a landscape US
Letter sheet folded in the middle.

The bidding half (names, general approach, notrump, majors and minors, two-level bids, other
conventional calls) is our front page; the competition half (doubles, overcalls, defence
against notrump, preempts, slam conventions, leads and carding) our back page.  Printed on one
sheet, the back stands on the left and the front on the right, as on the printed card.  The SAYC
card is this card with its templates pre-filled, so the page builders take the title and
picture as parameters.
"""

from cwlayout.formatspec import FormatSpec, FontSpec
from cwlayout.leads import holding_key, lead_rows
from cwlayout.page import LayoutError, Page, Style, red, blue, RED, BLUE, BASE

W, H = 7920, 12240           # one half of the landscape Letter face: 5.5 x 8.5 inches
MARGIN = 100
GUTTER = 100
INNER_W = W - 2 * MARGIN
COL_W = (INNER_W - GUTTER) // 2
LEFT_X = MARGIN
RIGHT_X = MARGIN + COL_W + GUTTER
BOTTOM = H - 100
# The program leaves out of a printed page what ends less than 205 twips above its foot.
PRINT_BOTTOM = H - 330

# How the two pages go on paper: the printed card shows both halves side by side on one
# landscape Letter sheet, the competition half (our back page) on the left.  The ACBL and SAYC
# formats' shipped print settings choose "Both sides on one sheet" here
# (FormatSpec.both_sides_on_one_sheet).
BOTH_SIDES_ON_ONE_SHEET = True


def style(code):
    return Style(base_size=7, field_size=7, pitch=245, check=105, gap=60,
                 title_size=7, title_box=6 + 256, title_h=185, circle_size=8, code=code,
                 pad=60, section_gap=55)


def spec(code="acbl", title="ACBL Convention Card", ext="acb", picture="acbl.bmp", tint=2):
    return FormatSpec(
        code=code, base=code, ext=ext, title=title, pages=2, width=W, height=H,
        paper="Letter", print_width=140, print_height=216, front_margin=0, back_margin=0,
        view_scale=1.6, names_mode=0, tint=tint, base_black=0, orientation=2,
        picture=picture, check_style=1,
        field_font=FontSpec("Arial", 7), base_font=FontSpec("Arial", 7),
        comment="one half of a folded US Letter sheet each side",
        both_sides_on_one_sheet=BOTH_SIDES_ON_ONE_SHEET)




def header(p, title, picture):
    """Title, picture and the names line (the player numbers go beside the names)."""
    p.picture(MARGIN, 80, 420, 260, picture)
    p.text(MARGIN + 500, 60, title, size=12, bold=True)
    p.runs(RIGHT_X + 800, 60, [("Alerts ", BASE, False), ("RED", RED, True),
                                (", announcements ", BASE, False), ("BLUE", BLUE, True)], size=7)
    col = p.column(MARGIN + 500, INNER_W - 500, 460)
    with col.section(None, "names") as s:
        r = s.row()
        r.text("NAMES", bold=True).field(4900, "names", name_role="names") \
            .fill("number", name_role="number")
    return col.y


TWO_BIDS = (("<c>", "c"), ("<d>", "d"), ("<h>", "h"), ("<s>", "s"))


def two_bids(p, col):
    """The four two-level openings side by side, each with its range and kind, a line to
    describe it and one for its responses and rebids; thin rules between them."""
    with col.section("2 LEVEL BIDS", "two") as s:
        inner = s.x1 - s.x0 - 2 * p.style.pad
        cell = inner // 4
        lefts = [i * cell + (0 if i == 0 else 60) for i in range(4)]
        widths = [cell - (60 if i == 0 else 120) for i in range(4)]
        widths[3] = inner - lefts[3]

        def each(rid, build):
            r = s.row(rid)
            for i, (suit, k) in enumerate(TWO_BIDS):
                r.at(lefts[i])
                build(r, suit, k, widths[i])
            return r

        first = each("range", lambda r, suit, k, w: r.text("2" + suit, bold=True)
                     .range(k + "_hcp", width=300).text("HCP"))
        each("kind", lambda r, suit, k, w: r.check("Strong", key=k + "_strong")
             .check(red("Other"), key=k + "_other") if k == "c" else
             r.check("Natural", key=k + "_natural").check(red("Conv."), key=k + "_conv"))
        each("resp", lambda r, suit, k, w: r.text("2<d> Resp:").check("Neg", key=k + "_negative")
             .check("Waiting", key=k + "_waiting") if k == "c" else
             r.check("2NT Force", key=k + "_force"))
        each("resp2", lambda r, suit, k, w: r if k == "c" else
             r.check(red("New Suit NF"), key=k + "_nf"))
        each("desc_head", lambda r, suit, k, w: r.text("Describe:"))
        each("desc", lambda r, suit, k, w: r.field(w, k + "_describe"))
        each("rebid_head", lambda r, suit, k, w: r.text("Resp./Rebids:"))
        last = each("rebids", lambda r, suit, k, w: r.field(w, k + "_rebids"))
        for i in range(1, 4):
            x = s.x0 + p.style.pad + i * cell
            p.vline(x, first.y, last.y + p.style.pitch - 30, colour=0x808080)


def front(code="acbl", title="CONVENTION CARD", picture="acbl.bmp"):
    p = Page(W, H, style(code), name=code + " front")
    top = header(p, title, picture)

    full = p.column(MARGIN, INNER_W, top)
    with full.section("GENERAL APPROACH", "gen") as s:
        s.row("approach").fill("text")
        s.row("two").text("Two Over One:").check("Game Forcing", key="gf") \
            .check("Game Forcing Except When Suit Rebid", key="except_rebid")
        s.row("light").text("VERY LIGHT:").check(red("Openings")).check(red("3rd Hand"), key="3rd_hand") \
            .check(red("Overcalls")).check(red("Preempts"))
        s.row("forcing").text("FORCING OPENING:").check(red("1<c>")).check("2<c>") \
            .check(red("Natural 2 Bids"), key="natural_2").check("Other").fill("text")

    # Notrump in three columns, as on the card: 1NT and its two-level responses; the
    # three-level responses and conventions; 2NT and 3NT.
    with full.section("NOTRUMP OPENING BIDS", "nt") as s:
        mid, right = 2900, 5300
        r = s.row("one")
        r.text(blue("1NT"), bold=True).range("range").at(mid).text("3<c>", bold=True).field(1650, "c3") \
            .at(right).text(blue("2NT"), bold=True).range("range2", width=300)
        r = s.row("maj5")
        r.check("5-Card Major Common", key="5_card_major_common").at(mid).text("3<d>", bold=True) \
            .field(1650, "d3").at(right).check(red("Puppet Stayman"), key="puppet2")
        r = s.row("sys")
        r.text("System on over").field(1450, "text").at(mid).text("3<h>", bold=True).field(1650, "h3") \
            .at(right).check(blue("Transfer Responses"), key="transfers2")
        r = s.row("c")
        r.text("2<c>", bold=True).check("Stayman").check(red("Puppet Stayman"), key="puppet_stayman") \
            .at(mid).text("3<s>", bold=True).field(1650, "s3").at(right).text("Other:").fill("other2")
        r = s.row("d")
        r.text("2<d>", bold=True).check(blue("Transfer to <h>"), key="transfer_to_h") \
            .check(red("Forcing Stayman"), key="forcing_stayman") \
            .at(mid).check(red("Smolen")).at(right).text("3NT", bold=True).range("range3", width=300)
        r = s.row("h")
        r.text("2<h>", bold=True).check(blue("Transfer to <s>"), key="transfer_to_s") \
            .at(mid).check(blue("4<d>, 4<h> Transfer"), key="texas") \
            .at(right).text("Conv./Resp.:").fill("other3")
        r = s.row("s")
        r.text("2<s>", bold=True).field(2150, "text").at(mid).check(red("Lebensohl"), key="lebensohl") \
            .text("(").field(500, "denies").text("denies)")
        r = s.row("nt")
        r.text("2NT", bold=True).field(2150, "text").at(mid).text("Neg. Double thru").field(700, "thru")
        s.row("other").text("Other:").fill("text")

    y = full.y
    left = p.column(LEFT_X, COL_W, y)
    with left.section("MAJOR OPENING", "maj", tabs=[0, 1450, 1850]) as s:
        s.row("len_head").text("Expected Min. Length").tab(1).text("4").tab(2).text("5")
        s.row("len12").at(150).text("1st/2nd").tab(1).check(None, key="4").tab(2).check(None, key="5")
        s.row("len34").at(150).text("3rd/4th").tab(1).check(None, key="4").tab(2).check(None, key="5")
        s.row("resp_head").text("RESPONSES", bold=True)
        s.row("dbl").text("Double Raise:").check("Force").check("Inv.", key="invitational") \
            .check(red("Weak"), key="weak")
        s.row("ovc").text("After Overcall:").check("Force").check("Inv.", key="invitational") \
            .check("Weak", key="weak")
        s.row("conv").text("Conv. Raise:").check(red("2NT"), key="jacoby_2nt").check(red("3NT"), key="raise_3nt") \
            .check(red("Splinter"), key="splinters")
        s.row("conv_other").text("Other:").fill("text")
        s.row("nt").text("1NT:").check(blue("Forcing"), key="forcing") \
            .check(blue("Semi-forcing"), key="semi_forcing")
        s.row("nt2").text("2NT:").check("Forcing").check("Inv.", key="invitational").range("nt2", width=250)
        s.row("nt3").text("3NT:").range("three_nt", width=250).fill("text")
        s.row("drury").text("Drury:").check(red("2<c>"), key="2c").check(red("2<d>"), key="2d")
        s.row("more").text("Other:").fill("more")

    right = p.column(RIGHT_X, COL_W, y)
    with right.section("MINOR OPENING", "min", tabs=[0, 1450, 1850, 2250, 2750]) as s:
        s.row("len_head").text("Expected Min. Length").tab(1).text("4").tab(2).text("3") \
            .tab(3).text("0-2").tab(4).text(red("Conv."))
        for suit, k in (("1<c>", "c"), ("1<d>", "d")):
            r = s.row(k).at(150).text(suit, bold=True)
            for i, key in enumerate(("4", "3", "0_2", "conv")):
                r.tab(i + 1).check(None, key=key)
        s.row("resp_head").text("RESPONSES", bold=True)
        s.row("dbl").text("Double Raise:").check("Force").check("Inv.", key="invitational") \
            .check(red("Weak"), key="weak")
        s.row("ovc").text("After Overcall:").check("Force").check("Inv.", key="invitational") \
            .check("Weak", key="weak")
        s.row("fr").text("Forcing Raise:").check(red("J/S in other minor"), key="js") \
            .check(red("Single raise"), key="single")
        s.row("fr_other").text("Other:").fill("text")
        s.row("bypass").check(red("Frequently bypass 4+ <d>"), key="bypass")
        s.row("nt1").text("1NT/1<c>").range("nt1", width=250).text("HCP")
        s.row("nt2").text("2NT:").check(red("Forcing"), key="forcing").check("Inv.", key="invitational") \
            .range("nt2", width=250)
        s.row("nt3").text("3NT:").range("nt3", width=250)
        s.row("more").text("Other:").fill("text")

    col = p.column(MARGIN, INNER_W, max(left.y, right.y))
    two_bids(p, col)
    y = col.y

    col = p.column(MARGIN, INNER_W, y)
    with col.section("OTHER CONVENTIONAL CALLS", "conv") as s:
        s.row("nmf").text(red("New Minor Forcing:")).check(red("2-Way"), key="nmf_two_way") \
            .check(red("1-Way"), key="one_way").at(4000).text("Weak Jump Shifts:") \
            .check(red("In Comp."), key="in_comp").check(red("Not in Comp."), key="not_in_comp")
        s.row("fsf").text("4th Suit Forcing:").check("1 Round", key="one_round").check("Game", key="to_game")
        s.area(None, "notes", until=PRINT_BOTTOM)
    return p


# Lead holdings.  "*" before the card usually led: printed bold.  "!" before a card: printed
# red, the low card of a doubleton that a player rings when he leads low from a doubleton.
LEADS_VS_SUITS = [
    "*x !x", "*x x x", "x x x *x", "x x x *x x", "H x *x", "H x x *x",
    "A *K x", "A *K x x", "*K Q x", "*K Q 10 x", "K *J 10 x", "K *10 9 x",
    "*Q J x", "*Q J 10 x", "Q *10 9 x", "*J 10 x", "*J 10 9 x", "*10 9 x", "*10 9 8 x",
]
LEADS_VS_NT = [
    "*x !x", "*x x x", "x x x *x", "x x x *x x", "H x *x", "H x x *x", "H x x *x x",
    "A *K J x", "A *Q J x", "A *J 10 9", "A *10 9 x", "*K Q J x", "K *Q 10 9",
    "K *J 10 x", "K *10 9 x", "*Q J 10 x", "Q *10 9 x", "*J 10 9 x", "*10 9 x x", "*10 9 8 x",
]


SUITS_COL, NT_COL = 1950, 2650     # the carding columns' heads


def carding_row(s, rid, label):
    """A carding item with a box under each column's head: vs SUITS and vs NT."""
    r = s.row(rid)
    r.text(label).at(SUITS_COL + 240).check(None, key="suits").at(NT_COL + 130).check(None, key="nt")
    return r


def back(code="acbl", title="CONVENTION CARD", picture="acbl.bmp"):
    p = Page(W, H, style(code), name=code + " back")
    p.picture(MARGIN, 80, 360, 225, picture)
    p.text(MARGIN + 440, 90, title + "  \u2013  competition, leads and carding", size=9, bold=True)

    left = p.column(LEFT_X, COL_W, 390)
    with left.section("SPECIAL DOUBLES", "dbl") as s:
        s.row("pen").text("After Overcall:").check(red("Penalty"))
        s.row("neg").text("Negative thru").field(450, "neg_thru") \
            .text(red("Responsive:")).text("thru").field(450, "resp_thru")
        s.row("max").check(red("Maximal"))
        s.row("sup").text("Support:").check(red("Dbl."), key="support_double_through").text("thru") \
            .field(450, "support_thru").check(red("Rdbl."), key="support_redouble")
        s.row("more").check(red("Card-showing")).check(red("Min. Offshape T/O"), key="min_offshape")
        s.row("other").text("Other:").fill("text")

    with left.section("SIMPLE OVERCALL", "ovc") as s:
        s.row("one").text("1 level").range("one", width=250).text("HCP (usually)")
        s.row("style").check("Often 4 cards").check(red("Very light style"), key="light")
        s.row("resp").text("Responses  New Suit:").check("Forcing").check(red("NFConst"), key="nf_constructive") \
            .check("NF")
        s.row("raise").text("Jump Raise:").check("Forcing", key="force").check("Inv.", key="invitational") \
            .check(red("Weak"), key="weak")
        s.row("other").text("Other:").fill("text")

    with left.section("OPENING PREEMPTS", "op") as s:
        s.row("style").check("Sound").check("Light").check(red("Very Light"), key="very_light")
        s.row("three").text("3/4-bids:").fill("three")
        s.row("four").text("Conv./Resp.:").check(red("Namyats")).fill("four")

    with left.section("DIRECT CUEBID", "cue", tabs=[0, 700]) as s:
        s.row("minor").text("Minor").tab(1).check("Natural").check("Strong T/O", key="strong") \
            .check(red("Michaels"))
        s.row("major").text("Major").tab(1).check("Natural").check("Strong T/O", key="strong") \
            .check(red("Michaels"))
        s.row("other").text("Other:").fill("text")

    with left.section("SLAM CONVENTIONS", "slam", tabs=[0, 700]) as s:
        s.row("g").check(red("Gerber"), key="gerber").fill("gerber_when")
        s.row("bw").text("4NT:").tab(1).check("Blackwood").check(red("RKC 0314"), key="rkc_0314") \
            .check(red("RKC 1430"), key="rkc_1430")
        s.row("intf").text("vs Interf.:").tab(1).check(red("DOPI"), key="dopi").check(red("DEPO"), key="depo") \
            .check(red("ROPI"), key="ropi").text("Level:").fill("level")
        s.row("more").text("Other:").fill("text")

    right = p.column(RIGHT_X, COL_W, 390)
    with right.section("NOTRUMP OVERCALLS", "nto", tabs=[0, 700]) as s:
        s.row("direct").text("Direct:").tab(1).range("direct", width=250).check("Systems on")
        s.row("conv").tab(1).check(red("Conv."), key="conventional").fill("text")
        s.row("bal").text("Balancing:").tab(1).range("bal", width=250)
        s.row("jump").text("Jump to 2NT:").check(red("Minors")).check(red("2 Lowest"), key="2_lowest") \
            .check(red("Conv."), key="conv")

    with right.section("DEFENSE VS NOTRUMP", "dvn", tabs=[0, 520, 2150]) as s:
        r = s.row("head")
        r.tab(1).text("vs:").field(1000, "strong").tab(2).text("vs:").fill("weak")
        for bid, k in (("Dbl.", "x"), ("2<c>", "c"), ("2<d>", "d"), ("2<h>", "h"),
                       ("2<s>", "s"), ("2NT", "nt"), ("Other", "other")):
            r = s.row(k)
            r.text(bid, bold=True).tab(1).field(1560, "strong").tab(2).fill("weak")

    with right.section("OVER OPP'S T/O DOUBLE", "otd") as s:
        s.row("ns").text("New Suit Forcing:").check("1-level", key="1_level").check("2-level", key="2_level")
        s.row("js").text("Jump Shift:").check("Forcing").check(red("Inv."), key="inv").check(red("Weak"))
        s.row("xx").check("Redouble implies no fit", key="xx_no_fit")
        s.row("nt").text("2NT Over:").check(red("Limit+"), key="limitplus").check(red("Limit")) \
            .check(red("Weak"))
        s.row("other").text("Other:").fill("text")

    with right.section("VS OPENING PREEMPTS DOUBLE IS", "vp") as s:
        s.row("x").check("Takeout thru", key="takeout_through").field(450, "takeout_thru") \
            .check(red("Penalty"))
        s.row("conv").check(red("Conv. Takeout:"), key="conv").fill("text")
        s.row("more").check(red("Lebensohl 2NT Response"), key="lebensohl")
        s.row("other").text("Other:").fill("text")

    with right.section("JUMP OVERCALL", "jo") as s:
        s.row().check(red("Strong")).check(red("Intermediate")).check("Weak")
        s.row("other").text("Other:").fill("text")

    y = max(left.y, right.y)
    lw = 4420
    leads = p.column(MARGIN, lw, y)
    with leads.section("LEADS (Circle card led, if not in bold)", "ld") as s:
        s.row("suits_head").text("vs SUITS", bold=True)
        lead_rows(s, LEADS_VS_SUITS, "suits", per_row=5)
        s.row("nt_head").text("vs NT", bold=True)
        lead_rows(s, LEADS_VS_NT, "nt", per_row=5)
        s.row("len_head").text("Length Leads:", bold=True)
        for k, label in (("len_s", "vs Suits"), ("len_nt", "vs NT")):
            s.row(k).at(120).text(label).at(800).check("4th Best", key="4th_best") \
                .check("3rd/5th Best", key="3rd_5th").check(red("Attitude"))
        s.row("pard").text("In partner's suit:").fill("text")

    carding = p.column(MARGIN + lw + 60, INNER_W - lw - 60, y)
    with carding.section("DEFENSIVE CARDING", "dc", tabs=[0, SUITS_COL, NT_COL]) as s:
        s.row("head").tab(1).text("vs SUITS", size=7).tab(2).text("vs NT", size=7)
        carding_row(s, "std", "Standard")
        carding_row(s, "ud_count", red("Upside-Down: Count"))
        carding_row(s, "ud_att", red("Upside-Down: Attitude"))
        carding_row(s, "smith", red("Smith Echo"))
        carding_row(s, "trump", "Trump Suit Preference")
        s.row("prio").text("Primary signal to partner's leads:", bold=True)
        carding_row(s, "prio_att", "   Attitude")
        carding_row(s, "prio_count", "   Count")
        carding_row(s, "prio_sp", "   Suit Preference")
        s.row("disc").text("First Discard:", bold=True)
        carding_row(s, "disc_std", "   Standard")
        carding_row(s, "disc_ud", red("   Upside-Down"))
        carding_row(s, "disc_lav", red("   Lavinthal"))
        carding_row(s, "disc_oe", red("   Odd/Even"))
        s.row("except").text("Except:").fill("text")

    # Under the leads, clear of the page's foot, which the program leaves unprinted.
    foot = leads.y + 20
    if foot + 240 > PRINT_BOTTOM:
        raise LayoutError("%s: no room for the printing note under the leads" % p.name)
    p.print_only_text(MARGIN, foot, "Printed with Cardwright", size=7)
    p.footer_date(MARGIN + p.tw("Printed with Cardwright", 7) + 20, foot)
    return p


# ---------------------------------------------------------------------------
# The sample card: a two-over-one partnership.

from cwlayout.cardformat import CardFormat, Sample  # noqa: E402
from cwlayout.records import Record, LINE  # noqa: E402

SAMPLE_FRONT = {
    "gen.approach.text": "Two over one, 5-card majors, strong notrump",
    "gen.two.gf": True, "gen.two.except_rebid": True,
    "gen.light.3rd_hand": True, "gen.forcing.2c": True,
    "nt.one.range_lo": "15", "nt.one.range_hi": "17", "nt.maj5.5_card_major_common": True,
    "nt.sys.text": "Double (stolen bid)",
    "nt.c.stayman": True, "nt.d.transfer_to_h": True, "nt.h.transfer_to_s": True,
    "nt.s.text": "Range ask or clubs", "nt.nt.text": "Transfer to <d>",
    "nt.one.c3": "Invitational, 6-card suit", "nt.maj5.d3": "Invitational, 6-card suit",
    "nt.sys.h3": "Short <h>, 5-4 minors, GF", "nt.c.s3": "Short <s>, 5-4 minors, GF",
    "nt.d.smolen": True, "nt.h.texas": True, "nt.s.lebensohl": True, "nt.s.denies": "3NT",
    "nt.nt.thru": "3<s>",
    "nt.one.range2_lo": "20", "nt.one.range2_hi": "21", "nt.maj5.puppet2": True,
    "nt.sys.transfers2": True,
    "nt.d.range3_lo": "25", "nt.d.range3_hi": "27", "nt.h.other3": "4<c> Stayman",
    "maj.len12.5": True, "maj.len34.5": True,
    "maj.dbl.invitational": True, "maj.ovc.weak": True,
    "maj.conv.jacoby_2nt": True, "maj.conv.splinters": True,
    "maj.nt.forcing": True,
    "maj.nt3.three_nt_lo": "15", "maj.nt3.three_nt_hi": "17", "maj.nt3.text": "4-3-3-3",
    "maj.drury.2c": True, "maj.more.more": "1<s>-2<h> shows 5+ hearts",
    "min.c.3": True, "min.d.4": True,
    "min.dbl.weak": True, "min.ovc.weak": True, "min.fr.single": True,
    "min.fr_other.text": "Inverted raises off in competition",
    "min.nt1.nt1_lo": "6", "min.nt1.nt1_hi": "10",
    "min.nt2.invitational": True, "min.nt2.nt2_lo": "11", "min.nt2.nt2_hi": "12",
    "min.nt3.nt3_lo": "13", "min.nt3.nt3_hi": "15",
    "two.range.c_hcp_lo": "22", "two.kind.c_strong": True, "two.resp.c_waiting": True,
    "two.desc.c_describe": "Any game force",
    "two.rebids.c_rebids": "2<h> = second negative",
    "two.range.d_hcp_lo": "5", "two.range.d_hcp_hi": "10", "two.kind.d_natural": True,
    "two.resp.d_force": True, "two.desc.d_describe": "6 cards, good suit",
    "two.rebids.d_rebids": "Ogust",
    "two.range.h_hcp_lo": "5", "two.range.h_hcp_hi": "10", "two.kind.h_natural": True,
    "two.resp.h_force": True, "two.desc.h_describe": "6 cards; 5 in 3rd seat",
    "two.rebids.h_rebids": "Ogust; 3<h> preemptive",
    "two.range.s_hcp_lo": "5", "two.range.s_hcp_hi": "10", "two.kind.s_natural": True,
    "two.resp.s_force": True, "two.desc.s_describe": "6 cards; 5 in 3rd seat",
    "two.rebids.s_rebids": "Ogust; 3<s> preemptive",
    "conv.nmf.nmf_two_way": True, "conv.nmf.not_in_comp": True, "conv.fsf.to_game": True,
    "conv.notes": "1<c>-1<d>; 1<h>: 1<s> now shows 4 spades and is forcing.  Jacoby 2NT: opener "
                  "shows shortness at the three level, else 3NT minimum.  Two-way checkback "
                  "after 1m-1M-1NT.",
}

SAMPLE_BACK = {
    "dbl.neg.neg_thru": "3<s>", "dbl.neg.resp_thru": "3<s>",
    "dbl.sup.support_double_through": True, "dbl.sup.support_thru": "2<h>",
    "dbl.sup.support_redouble": True,
    "dbl.other.text": "Lightner doubles of slams",
    "nto.direct.direct_lo": "15", "nto.direct.direct_hi": "18", "nto.direct.systems_on": True,
    "nto.bal.bal_lo": "11", "nto.bal.bal_hi": "14",
    "nto.jump.2_lowest": True,
    "ovc.one.one_lo": "7", "ovc.one.one_hi": "17",
    "ovc.resp.nf_constructive": True, "ovc.raise.weak": True, "ovc.other.text": "Cuebid = limit raise+",
    "jo.weak": True,
    "cue.minor.michaels": True, "cue.major.michaels": True,
    "otd.ns.1_level": True, "otd.js.weak": True, "otd.xx.xx_no_fit": True, "otd.nt.limitplus": True,
    "dvn.head.strong": "15+", "dvn.head.weak": "14 or less",
    "dvn.x.strong": "One long suit (DONT)", "dvn.x.weak": "Penalty",
    "dvn.c.strong": "<c> and a higher suit", "dvn.c.weak": "Both majors (Landy)",
    "dvn.d.strong": "<d> and a major", "dvn.d.weak": "<d>, natural",
    "dvn.h.strong": "<h> and <s>", "dvn.h.weak": "<h>, natural",
    "dvn.s.strong": "<s>, natural", "dvn.s.weak": "<s>, natural",
    "dvn.nt.strong": "Both minors", "dvn.nt.weak": "Both minors",
    "dvn.other.strong": "Same in balancing seat",
    "op.style.light": True, "op.three.three": "Disciplined 1st/2nd seat",
    "op.four.four": "4NT asks for aces",
    "slam.bw.rkc_1430": True, "slam.intf.dopi": True, "slam.intf.level": "Up to 5<s>",
    "slam.g.gerber": True, "slam.g.gerber_when": "Directly over 1NT and 2NT",
    "slam.more.text": "Exclusion by a jump to the five level",
    "vp.x.takeout_through": True, "vp.x.takeout_thru": "4<h>", "vp.more.lebensohl": True,
    "ld.len_s.4th_best": True, "ld.len_nt.4th_best": True,
    "ld.pard.text": "Low from 3 to an honour, top of a doubleton",
    "dc.ud_count.suits": True, "dc.ud_count.nt": True, "dc.ud_att.suits": True,
    "dc.ud_att.nt": True, "dc.smith.nt": True, "dc.trump.suits": True,
    "dc.prio_att.suits": True, "dc.prio_att.nt": True,
    "dc.disc_ud.suits": True, "dc.disc_ud.nt": True,
    "dc.except.text": "Count when partner leads a king vs NT",
}

# Leads where the partnership leads another card than the one printed bold (index into
# the holding): low from a doubleton (the red x), middle-up-down from three small, second
# highest from four small, and journalist leads against notrump.
SAMPLE_LEADS_SUITS = {"x x": 1, "x x x": 1, "x x x x": 1}
SAMPLE_LEADS_NT = {"x x x": 1, "A K J x": 0, "K Q 10 9": 0, "A J 10 9": 2}


def lead_values(leads, rid):
    """Fill values that circle one card in each holding."""
    out = {}
    for holding, i in leads.items():
        out["ld.%s.%s" % (rid, holding_key(holding))] = i
    return out


def sample_extra(pages):
    """What the partnership added to the layout: a blue line under their Gerber agreement."""
    back_page = pages[1]
    g = back_page.keys["slam.g.gerber_when"]
    rule = Record(LINE, [g.a[0], g.a[0] + g.a[2], g.a[1] + 185, g.a[1] + 185, 2, 0xFF0000])
    return [[], [rule]]


def _with_leads(values):
    v = dict(values)
    v.update(lead_values(SAMPLE_LEADS_SUITS, "suits"))
    v.update(lead_values(SAMPLE_LEADS_NT, "nt"))
    return v


FORMAT = CardFormat(
    spec(), lambda: [front(), back()],
    Sample("John Smith - Mary Lee", "K123456", "Mary Lee - John Smith", "M654321",
           [SAMPLE_FRONT, _with_leads(SAMPLE_BACK)], sample_extra))
