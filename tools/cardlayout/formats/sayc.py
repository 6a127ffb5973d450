"""SAYC: the ACBL card pre-filled with the Standard American Yellow Card agreements.

The pages are the ACBL pages; the templates carry the SAYC texts, ticks and
circled lead cards, so a new SAYC card starts filled in.
"""

from cwlayout.cardformat import CardFormat, Sample
from cwlayout.records import Record, KIND8
from formats import acbl

CODE = "sayc"

TEMPLATE_FRONT = {
    "gen.std.standard_american": True, "gen.forcing.2c": True,
    "nt.one.range_lo": "15", "nt.one.range_hi": "17", "nt.one.5_card_major_common": True,
    "nt.c.stayman": True, "nt.d.transfer_to_h": True, "nt.h.transfer_to_s": True,
    "nt.s.to_3c": True, "nt.nt.invitational": True,
    "nt.two.range2_lo": "20", "nt.two.range2_hi": "21", "nt.two.transfers2": True,
    "nt.two_other.other2": "3<c> Stayman",
    "nt.three_nt.range3_lo": "25", "nt.three_nt.range3_hi": "27",
    "maj.len.len12": "5", "maj.len.len34": "5",
    "maj.nt.non_forcing": True, "maj.dbl.invitational": True, "maj.conv.jacoby_2nt": True,
    "min.c.len_c": "3", "min.d.len_d": "3", "min.four.1d": True,
    "min.single.non_forcing": True, "min.dbl.invitational": True,
    "min.nt1.nt1_lo": "6", "min.nt1.nt1_hi": "10",
    "min.nt2.forcing": True, "min.nt2.nt2_lo": "13", "min.nt2.nt2_hi": "15",
    "min.nt3.nt3_lo": "16", "min.nt3.nt3_hi": "17",
    "two.c.c_lo": "22", "two.c.strong": True, "two.c_asks.waiting": True,
    "two.d.d_lo": "5", "two.d.d_hi": "11", "two.d.weak": True, "two.d_asks.feature": True,
    "two.d_asks.forcing": True,
    "two.h.h_lo": "5", "two.h.h_hi": "11", "two.h.weak": True, "two.h_asks.feature": True,
    "two.h_asks.forcing": True,
    "two.s.s_lo": "5", "two.s.s_hi": "11", "two.s.weak": True, "two.s_asks.feature": True,
    "two.s_asks.forcing": True,
    "conv.js.strong": True, "conv.fsf.one_round": True,
}

TEMPLATE_BACK = {
    "dbl.neg.neg_thru": "2<s>",
    "nto.direct.direct_lo": "15", "nto.direct.direct_hi": "18", "nto.direct.systems_on": True,
    "nto.jump.2_lowest": True,
    "ovc.one.one_lo": "8", "ovc.one.one_hi": "16", "ovc.two.two_lo": "10", "ovc.two.two_hi": "16",
    "jo.weak": True,
    "cue.minor.michaels": True, "cue.major.michaels": True,
    "otd.xx.xx_no_fit": True, "otd.other.text": "Redouble shows 10+ HCP",
    "slam.g.gerber": True, "slam.g.gerber_when": "Over 1NT and 2NT openings",
    "slam.bw.blackwood": True, "slam.intf.dopi": True,
    "ld.len_s.4th_best": True, "ld.len_nt.4th_best": True,
    "ld.pard.text": "Top of a doubleton, low from three or more",
    "dc.std.count": 3, "dc.std.attitude": 3, "dc.prio_s.attitude": True, "dc.prio_nt.attitude": True,
    "dc.disc_s.standard": True, "dc.disc_nt.standard": True,
}


def template_back():
    # The leads SAYC plays are the cards printed bold: nothing to circle.
    return dict(TEMPLATE_BACK)


def pages():
    front = acbl.front(CODE, "SAYC CONVENTION CARD", "sayc.bmp", subtitle=None)
    # The note about the pre-filling belongs to the card, not to the printed form:
    # a partnership may delete it.
    front.tmpl.append(Record(KIND8, [acbl.MARGIN + 820, acbl.SUBTITLE_Y, 4700, 240, 5, 0],
                             "Standard American Yellow Card, pre-filled"))
    back = acbl.back(CODE, "SAYC CONVENTION CARD", "sayc.bmp")
    return [front, back]


SAMPLE = Sample(
    "Ann Baker - Bob Carter", "N112233", "Bob Carter - Ann Baker", "R445566",
    [{"nt.conv.lebensohl": True, "nt.sys.x": True, "gen.light.3rd_hand": True},
     {"slam.bw.blackwood": False, "slam.bw.rkc_1430": True,
      "oth.notes": "Club game agreements: we play SAYC as written, with Roman Key Card "
                   "Blackwood 1430 and lebensohl after interference over our 1NT."}])

SPECIAL = [
    "SAYC - the Standard American Yellow Card",
    "",
    "A new SAYC card starts filled in with the SAYC agreements:",
    "5-card majors, 1NT 15-17, 2<c> strong and artificial, weak two-bids",
    "in <d> <h> and <s>, Stayman, Jacoby transfers, Jacoby 2NT, Blackwood",
    "and Gerber, negative doubles through 2<s>, Michaels cuebids.",
    "",
    "Untick, circle or overwrite whatever your partnership plays differently.",
    "The note \"pre-filled\" at the top of the card is part of the card:",
    "remove it with the layout editing commands if you wish.",
]

FORMAT = CardFormat(
    acbl.spec(CODE, "SAYC (Standard American Yellow Card)", ext="syc", picture="sayc.bmp", tint=4),
    pages, SAMPLE, template_values=[TEMPLATE_FRONT, template_back()], special=SPECIAL)
