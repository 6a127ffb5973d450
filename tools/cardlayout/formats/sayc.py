"""SAYC: the ACBL card pre-filled with the Standard American Yellow Card agreements.

The pages are the ACBL pages; the templates carry the SAYC texts, ticks and
circled lead cards, so a new SAYC card starts filled in.
"""

from cwlayout.cardformat import CardFormat, Sample
from cwlayout.records import Record, KIND8
from formats import acbl

CODE = "sayc"

TEMPLATE_FRONT = {
    "gen.approach.text": "Standard American Yellow Card",
    "gen.forcing.2c": True,
    "nt.one.range_lo": "15", "nt.one.range_hi": "17", "nt.maj5.5_card_major_common": True,
    "nt.c.stayman": True, "nt.d.transfer_to_h": True, "nt.h.transfer_to_s": True,
    "nt.s.text": "Relay to 3<c>", "nt.nt.text": "Invitational",
    "nt.one.c3": "Invitational, 6-card suit", "nt.maj5.d3": "Invitational, 6-card suit",
    "nt.sys.h3": "Slam interest, 6-card suit", "nt.c.s3": "Slam interest, 6-card suit",
    "nt.one.range2_lo": "20", "nt.one.range2_hi": "21", "nt.sys.transfers2": True,
    "nt.c.other2": "3<c> Stayman",
    "nt.d.range3_lo": "25", "nt.d.range3_hi": "27", "nt.h.other3": "4<c> Gerber",
    "maj.len12.5": True, "maj.len34.5": True,
    "maj.dbl.invitational": True, "maj.conv.jacoby_2nt": True,
    "maj.nt3.three_nt_lo": "15", "maj.nt3.three_nt_hi": "17", "maj.nt3.text": "2-card support",
    "min.c.3": True, "min.d.3": True,
    "min.dbl.invitational": True,
    "min.nt1.nt1_lo": "6", "min.nt1.nt1_hi": "10",
    "min.nt2.forcing": True, "min.nt2.nt2_lo": "13", "min.nt2.nt2_hi": "15",
    "min.nt3.nt3_lo": "16", "min.nt3.nt3_hi": "17",
    "two.range.c_hcp_lo": "22", "two.kind.c_strong": True, "two.resp.c_waiting": True,
    "two.desc.c_describe": "Strong and artificial",
    "two.range.d_hcp_lo": "5", "two.range.d_hcp_hi": "11", "two.kind.d_natural": True,
    "two.resp.d_force": True, "two.desc.d_describe": "Weak, 6-card suit",
    "two.rebids.d_rebids": "2NT asks for a feature",
    "two.range.h_hcp_lo": "5", "two.range.h_hcp_hi": "11", "two.kind.h_natural": True,
    "two.resp.h_force": True, "two.desc.h_describe": "Weak, 6-card suit",
    "two.rebids.h_rebids": "2NT asks for a feature",
    "two.range.s_hcp_lo": "5", "two.range.s_hcp_hi": "11", "two.kind.s_natural": True,
    "two.resp.s_force": True, "two.desc.s_describe": "Weak, 6-card suit",
    "two.rebids.s_rebids": "2NT asks for a feature",
    "conv.nmf.in_comp": True, "conv.fsf.one_round": True,
    "conv.notes": "5-5 or 6-6: open the higher suit.  1<d> with 4-4 in the minors, 1<c> with 3-3.  "
                  "Strong jump shifts (weak jump shifts in competition).",
}

TEMPLATE_BACK = {
    "dbl.neg.neg_thru": "2<s>",
    "nto.direct.direct_lo": "15", "nto.direct.direct_hi": "18", "nto.direct.systems_on": True,
    "nto.jump.2_lowest": True,
    "ovc.one.one_lo": "8", "ovc.one.one_hi": "16",
    "jo.weak": True,
    "cue.minor.michaels": True, "cue.major.michaels": True,
    "otd.xx.xx_no_fit": True, "otd.nt.limitplus": True,
    "otd.other.text": "Redouble shows 10+ HCP; 2NT Jordan",
    "slam.g.gerber": True, "slam.g.gerber_when": "Over 1NT and 2NT openings",
    "slam.bw.blackwood": True, "slam.intf.dopi": True, "slam.intf.ropi": True,
    "ld.len_s.4th_best": True, "ld.len_nt.4th_best": True,
    "ld.pard.text": "Top of a doubleton, low from three or more",
    "dc.std.suits": True, "dc.std.nt": True,
    "dc.prio_att.suits": True, "dc.prio_att.nt": True,
    "dc.disc_std.suits": True, "dc.disc_std.nt": True,
}


def template_back():
    # The leads SAYC plays are the cards printed bold: nothing to circle.
    return dict(TEMPLATE_BACK)


def pages():
    front = acbl.front(CODE, "SAYC CONVENTION CARD", "sayc.bmp")
    # The note about the pre-filling belongs to the card, not to the printed form:
    # a partnership may delete it.
    front.tmpl.append(Record(KIND8, [acbl.RIGHT_X + 800, 250, 1900, 240, 5, 0],
                             "Pre-filled with SAYC"))
    back = acbl.back(CODE, "SAYC CONVENTION CARD", "sayc.bmp")
    return [front, back]


SAMPLE = Sample(
    "Ann Baker - Bob Carter", "N112233", "Bob Carter - Ann Baker", "R445566",
    [{"nt.s.lebensohl": True, "nt.s.denies": "3NT", "gen.light.3rd_hand": True},
     {"slam.bw.blackwood": False, "slam.bw.rkc_1430": True,
      "dbl.other.text": "RKC 1430; lebensohl over 1NT"}])

SPECIAL = [
    "SAYC - the Standard American Yellow Card",
    "",
    "A new SAYC card starts filled in with the SAYC agreements:",
    "5-card majors, 1NT 15-17, 2<c> strong and artificial, weak two-bids",
    "in <d> <h> and <s>, Stayman, Jacoby transfers, Jacoby 2NT, Blackwood",
    "and Gerber, negative doubles through 2<s>, Michaels cuebids.",
    "",
    "Untick, circle or overwrite whatever your partnership plays differently.",
    "The note \"Pre-filled with SAYC\" at the top of the card is part of the card:",
    "remove it with the layout editing commands if you wish.",
]

FORMAT = CardFormat(
    acbl.spec(CODE, "SAYC (Standard American Yellow Card)", ext="syc", picture="sayc.bmp", tint=4),
    pages, SAMPLE, template_values=[TEMPLATE_FRONT, template_back()], special=SPECIAL)
