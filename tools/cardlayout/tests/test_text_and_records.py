"""Measuring, suit markup, record items and the page-file format."""

import os
import tempfile
import unittest

from helpers import TOOL  # noqa: F401  (puts the tool on the path)
from cwlayout import fontmetrics as fm
from cwlayout.records import (Record, page_text, read_page, sort_for_writing, split_items,
                              write_page, HEADER_LINES)


class MeasuringTest(unittest.TestCase):
    def test_width_is_sum_of_advances(self):
        # Liberation Sans advances: H 1479, e 1139, l 455, o 1139 units of 2048.
        expected = (1479 + 1139 + 455 + 455 + 1139) / 2048 * 10 * 20
        self.assertAlmostEqual(fm.raw_width("Hello", 10), expected, places=3)

    def test_bold_is_wider_and_size_scales(self):
        self.assertGreater(fm.raw_width("Weak", 8, bold=True), fm.raw_width("Weak", 8))
        self.assertAlmostEqual(fm.raw_width("Weak", 16), 2 * fm.raw_width("Weak", 8), places=6)

    def test_suit_tags_measure_as_symbols_when_drawn(self):
        raw = fm.raw_width("2<h>", 8)
        drawn = fm.drawn_width("2<h>", 8)
        self.assertAlmostEqual(drawn, fm.raw_width("2", 8) + fm.SUIT_SYMBOL_EM * 160, places=6)
        self.assertLess(drawn, raw)

    def test_split_suits_follows_the_markup_rules(self):
        self.assertEqual(fm.split_suits("2<h> 3<S>"), ["2", "<h>", " 3", "<s>"])
        # An unknown tag letter and a "<" not closed two places on stay text.
        self.assertEqual("".join(fm.split_suits("a<b> <x")), "a<b> <x")
        self.assertEqual(fm.split_suits("x<5>"), ["x", "<5>"])
        self.assertEqual(fm.split_suits("<<c>"), ["<", "<c>"])

    def test_line_height_of_arial(self):
        self.assertAlmostEqual(fm.line_height(8), (1854 + 434) / 2048 * 160, places=6)


class RecordItemsTest(unittest.TestCase):
    def test_items_follow_the_write_table(self):
        a = [11, 12, 13, 14, 15, 16]
        self.assertEqual(Record(1, a).items(), [1, 11, 12, 13, 14, 0, "", 0])
        self.assertEqual(Record(18, a).items(), [18, 11, 12, 13, 14, 0, "", 0])
        self.assertEqual(Record(20, a).items(), [20, 11, 12, 13, 0, 0, "", 0])
        self.assertEqual(Record(5, a).items(), [5, 11, 12, 13, 14, 15, "", 0])
        self.assertEqual(Record(23, a).items(), [23, 11, 12, 13, 14, 15, "", 0])
        self.assertEqual(Record(15, a, "x.bmp").items(), [15, 11, 12, 13, 14, 15, "x.bmp", 0])
        # A rectangle's colour stands where a text would, as a number: a saved card has it so.
        self.assertEqual(Record(6, a).items(), [6, 11, 12, 13, 14, 15, 16, 0])
        self.assertEqual(Record(6, a).line(), "6,11,12,13,14,15,16,0")
        for k in (3, 4, 12, 16):
            self.assertEqual(Record(k, a, "ignored").items(), [k, 11, 12, 13, 14, 15, "", 16])
        for k in (2, 7, 8, 9, 17, 22, 24):
            self.assertEqual(Record(k, a, "t").items(), [k, 11, 12, 13, 14, 15, "t", 16])

    def test_line_quotes_strings_and_rejects_a_quote(self):
        self.assertEqual(Record(2, [1, 2, 3, 240, 0, -5], "a, b").line(), '2,1,2,3,240,0,"a, b",-5')
        with self.assertRaises(ValueError):
            Record(2, [0] * 6, 'say "hi"').line()

    def test_sort_keeps_record_order_within_a_kind(self):
        recs = [Record(24, text="a"), Record(2, text="1"), Record(15), Record(2, text="2"),
                Record(3), Record(7)]
        out = sort_for_writing(recs)
        self.assertEqual([r.kind for r in out], [15, 7, 2, 2, 3, 24])
        self.assertEqual([r.text for r in out if r.kind == 2], ["1", "2"])

    def test_split_items(self):
        self.assertEqual(split_items('2,1,2,3,4,5,"a, b",6'), ["2", "1", "2", "3", "4", "5", "a, b", "6"])
        self.assertEqual(split_items('1,"",2'), ["1", "", "2"])
        self.assertEqual(split_items("1,2,"), ["1", "2", ""])
        with self.assertRaises(ValueError):
            split_items('1,"open')
        with self.assertRaises(ValueError):
            split_items('1,"a"b,2')


class PageFileTest(unittest.TestCase):
    def header(self):
        return ["h%d" % i for i in range(HEADER_LINES)]

    def test_round_trip_with_crlf_and_cp1252(self):
        recs = [Record(2, [10, 20, 300, 240, 0, 0], "caf\u00e9 <h>"), Record(6, [1, 2, 3, 4, 1, 255])]
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "x.dat")
            write_page(path, ["|one"], self.header(), recs)
            with open(path, "rb") as f:
                raw = f.read()
            self.assertIn(b"caf\xe9", raw)
            self.assertEqual(raw.count(b"\r\n"), 1 + HEADER_LINES + 2)
            self.assertNotIn(b"\n", raw.replace(b"\r\n", b""))
            page = read_page(path)
        self.assertEqual(page.problems, [])
        self.assertEqual(page.comments, ["|one"])
        self.assertEqual(page.header, self.header())
        self.assertEqual(page.records[0].text, "caf\u00e9 <h>")
        self.assertEqual(page.records[1].a[5], 255)

    def test_page_needs_31_header_lines_and_few_comments(self):
        with self.assertRaises(ValueError):
            page_text([], self.header()[:30], [])
        with self.assertRaises(ValueError):
            page_text(["|c"] * 12, self.header(), [])
        with self.assertRaises(ValueError):
            page_text([], ["|bad"] + self.header()[1:], [])

    def test_reader_reports_what_the_program_would_stumble_on(self):
        body = "\r\n".join(["|c"] + self.header() + ['2,1,2,3,4,5,"x",6', "2,1,2,3", '6,1,2,3,4,1,"red",0'])
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "x.dat")
            with open(path, "wb") as f:
                f.write((body + "\n").encode("cp1252"))
            page = read_page(path)
        joined = " | ".join(page.problems)
        self.assertIn("line end other than CR LF", joined)
        self.assertIn("has 4 items", joined)
        self.assertIn("rectangle colour", joined)
        self.assertEqual(len(page.records), 2)


if __name__ == "__main__":
    unittest.main()
