"""The shipped cards as players know them: the sections of the ACBL halves, the leads grids'
standard cards, tens, the EBU holdings, the WBF and EBU wording."""

import os
import shutil
import tempfile
import unittest

from helpers import REPO  # noqa: F401
from cwlayout import checker, registry
from cwlayout.leads import holding_key
from cwlayout.records import read_page, write_page, CIRCLED_ITEM, CIRCLE, TEXT_FIELD, LABEL_BOX
from cwlayout.page import RED, UNDERLINE


def fmt(code):
    return next(f for f in registry.formats() if f.spec.code == code)


def titles(page):
    return [r.text for r in page.base if r.kind == LABEL_BOX]


def printed(page):
    return [r.text for r in page.base if r.kind == TEXT_FIELD]


def holding(page, key):
    """The records of a holding's cards, in order: circled items and rings round printed letters."""
    recs = [r for r in page.tmpl if r.key.startswith(key + ".") and r.kind in (CIRCLED_ITEM, CIRCLE)]
    return sorted(recs, key=lambda r: int(r.key.rsplit(".", 1)[1]))


def letter_of(page, ring):
    """The printed letter a ring of ours goes round."""
    return min((r for r in page.base if r.kind == TEXT_FIELD and r.text == ring.label),
               key=lambda r: abs(r.a[0] - ring.a[0]) + abs(r.a[1] - ring.a[1]))


class AcblHalvesTest(unittest.TestCase):
    def test_both_pages_are_halves_of_the_folded_letter_sheet(self):
        for code in ("acbl", "sayc"):
            spec = fmt(code).spec
            self.assertEqual((spec.width, spec.height), (7920, 12240))
            self.assertEqual((spec.print_width, spec.print_height), (140, 216))

    def test_sections_in_the_card_order_on_their_half(self):
        front, back = fmt("acbl").pages()
        self.assertEqual(titles(front), ["GENERAL APPROACH", "NOTRUMP OPENING BIDS", "MAJOR OPENING",
                                         "MINOR OPENING", "2 LEVEL BIDS", "OTHER CONVENTIONAL CALLS"])
        self.assertEqual(set(titles(back)), {
            "SPECIAL DOUBLES", "SIMPLE OVERCALL", "OPENING PREEMPTS", "DIRECT CUEBID", "SLAM CONVENTIONS",
            "NOTRUMP OVERCALLS", "DEFENSE VS NOTRUMP", "OVER OPP'S T/O DOUBLE",
            "VS OPENING PREEMPTS DOUBLE IS", "JUMP OVERCALL", "LEADS (Circle card led, if not in bold)",
            "DEFENSIVE CARDING"})

    def test_wording_of_the_classic_card(self):
        front, back = fmt("acbl").pages()
        words = printed(front) + printed(back)
        for text in ("Game Forcing Except When Suit Rebid", "Overcalls", "4<d>, 4<h> Transfer",
                     "System on over", "vs SUITS", "vs NT", "Smith Echo", "HCP (usually)"):
            self.assertIn(text, words)
        # Found in no public description of the classic card: not on ours.
        for text in ("Standard American", "PLAYER NO.", "Seat/vul. varies", "Bergen raises", "Reverse",
                     "Very strong", "Steps", "Ogust", "New suit forcing", "XYZ", "Leaping Michaels",
                     "2 level", "Texas", "Low from a doubleton:"):
            self.assertNotIn(text, words)

    def test_colours_of_the_corrected_items(self):
        front, _ = fmt("acbl").pages()
        by_key = front.keys
        other = by_key["two.kind.c_other"]
        caption = min((r for r in front.base if r.text == "Other" and r.a[1] > other.a[1] - 200),
                      key=lambda r: abs(r.a[0] - other.a[0]) + abs(r.a[1] - other.a[1]))
        self.assertEqual(caption.a[4], RED)
        weak = by_key["maj.ovc.weak"]
        caption = min((r for r in front.base if r.text == "Weak"),
                      key=lambda r: abs(r.a[0] - weak.a[0]) + abs(r.a[1] - weak.a[1]))
        self.assertNotEqual(caption.a[4], RED)

    def test_major_length_ticks_and_minor_length_columns(self):
        front, _ = fmt("acbl").pages()
        for k in ("maj.len12.4", "maj.len12.5", "maj.len34.4", "maj.len34.5",
                  "min.c.4", "min.c.3", "min.c.0_2", "min.c.conv"):
            self.assertEqual(front.keys[k].kind, 3, k)
        self.assertIn("0-2", printed(front))


class LeadGridsTest(unittest.TestCase):
    def test_tens_print_as_10(self):
        for f in registry.formats():
            for page in f.pages():
                for r in page.tmpl + page.base:
                    self.assertNotEqual(r.text.strip(), "T", "%s: %r" % (page.name, r.key))

    def test_acbl_standard_cards_in_bold(self):
        _, back = fmt("acbl").pages()

        def bold_card(key):
            cards = holding(back, key)
            bold = [i for i, r in enumerate(cards) if r.kind == CIRCLED_ITEM and r.a[2] == 1]
            self.assertEqual(len(bold), 1, key)
            return cards[bold[0]].text

        self.assertEqual(bold_card("ld.suits.akx"), "K")
        self.assertEqual(bold_card("ld.nt.akjx"), "K")
        self.assertEqual(bold_card("ld.nt.kq109"), "Q")
        self.assertIn("ld.nt.109xx.0", back.keys)
        # Low from a doubleton: the doubleton's second x printed red, with a ring of ours.
        low = holding(back, "ld.suits.xx")[1]
        self.assertEqual(low.kind, CIRCLE)
        self.assertEqual(letter_of(back, low).a[4], RED)

    def test_ebu_lists_of_21_with_the_standard_card_underlined(self):
        page = fmt("ebu").pages()[0]
        for rid in ("suits", "nt"):
            keys = {k.rsplit(".", 1)[0] for k in page.keys if k.startswith("ld.%s." % rid)}
            self.assertEqual(len(keys), 21, rid)
            for key in keys:
                underlined = [r for r in holding(page, key)
                              if r.kind == CIRCLE and letter_of(page, r).a[5] & UNDERLINE]
                self.assertEqual(len(underlined), 1, key)
        self.assertIn("ld.hatch.non_standard", page.keys)
        self.assertEqual(holding_key("K *Q 10 9"), "kq109")


class WordingTest(unittest.TestCase):
    def test_wbf_card(self):
        front, back = fmt("wbfb").pages()
        words = printed(front) + printed(back) + titles(front) + titles(back)
        for text in ("JUMP OVERCALLS (Style; Responses; Unusual NT)", "SIGNALS IN ORDER OF PRIORITY",
                     "Signals (including Trumps):", "LEADS AND SIGNALS", "OPENING LEADS STYLE",
                     "EVENTS:", "TICK IF ARTIFICIAL", "Green", "Blue", "Red", "Yellow"):
            self.assertIn(text, words)
        self.assertFalse([w for w in words if "click" in w.lower()])

    def test_ebu_card(self):
        outside, inside = fmt("ebu").pages()
        words = printed(outside) + printed(inside) + titles(outside) + titles(inside)
        for text in ("AGREEMENTS AFTER OPENING OF ONE OF A SUIT AND OVERCALL BY OPPONENTS",
                     "AGREEMENTS AFTER OPPONENTS DOUBLE FOR TAKEOUT",
                     "OTHER AGREEMENTS CONCERNING DOUBLES AND REDOUBLES", "SEE NOTE *",
                     "PRIMARY METHOD v SUIT CONTRACTS", "PRIMARY METHOD v NT CONTRACTS"):
            self.assertIn(text, words)
        self.assertIn("vs.strong_c.resp", inside.keys)


class TypedTextColourTest(unittest.TestCase):
    def test_fields_to_write_in_take_the_typed_text_colour(self):
        for f in registry.formats():
            for page in f.pages():
                for r in page.tmpl:
                    if r.kind == TEXT_FIELD:
                        self.assertEqual(r.a[4], 1, "%s %s" % (page.name, r.key))


class CheckerFindsTensTest(unittest.TestCase):
    def test_a_ten_written_T(self):
        work = tempfile.mkdtemp()
        try:
            root = os.path.join(work, "data")
            registry.build_all(root)
            path = os.path.join(root, "data", "acbl3.dat")
            page = read_page(path)
            item = next(r for r in page.records if r.kind == CIRCLED_ITEM and r.text == "10")
            item.text = "T"
            write_page(path, page.comments, page.header, page.records)
            self.assertIn("a ten printed as 'T'", " | ".join(checker.check_root(root)[0]))
        finally:
            shutil.rmtree(work)


if __name__ == "__main__":
    unittest.main()
