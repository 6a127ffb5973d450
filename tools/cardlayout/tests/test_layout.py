"""The page builder: rows, measuring, keys, names fields, centring; and filling in."""

import os
import shutil
import tempfile
import unittest

from helpers import TOOL  # noqa: F401
from cwlayout import fontmetrics as fm, marks, printcheck
from cwlayout.fill import FillError, fill_records, names_values
from cwlayout.page import CIRCLE_GEOMETRY, LayoutError, Page, Style, red, blue, CENTRE, LEFT
from cwlayout.records import CHECK_BOX, CIRCLE, CIRCLED_ITEM, LABEL_BOX, TEXT_FIELD, FRAME_BOX, Record


def new_page(width=6000, **kw):
    return Page(width, 8000, Style(**kw), name="test")


def section(p, x=0, width=6000, tabs=None, title="T"):
    return p.column(x, width, 100).section(title, "s", tabs=tabs)


class RowTest(unittest.TestCase):
    def test_items_follow_each_other_with_the_gap(self):
        p = new_page()
        s = section(p)
        r = s.row("r")
        r.text("Weak").check("Strong")
        text, = [b for b in p.base if b.text == "Weak"]
        box, = [t for t in p.tmpl if t.kind == CHECK_BOX]
        self.assertEqual(text.a[0], s.x0 + p.style.pad)
        self.assertGreaterEqual(box.a[0], text.a[0] + fm.drawn_width("Weak", 7.5) + p.style.gap - 1)
        caption, = [b for b in p.base if b.text == "Strong"]
        # The tick mark reaches to 1.5 box sizes right of the box's left edge.
        self.assertGreater(caption.a[0], box.a[0] + 1.5 * p.style.check)

    def test_gap_grows_behind_long_text(self):
        p = new_page()
        r = section(p).row()
        long_text = "A rather long printed caption that takes most of the row"
        r.text(long_text).field(300, "f")
        field = p.keys["s.f"]
        text = [b for b in p.base if b.text == long_text][0]
        self.assertGreaterEqual(field.a[0] - (text.a[0] + fm.drawn_width(long_text, 7.5)),
                                0.03 * fm.drawn_width(long_text, 7.5))

    def test_row_refuses_to_overflow(self):
        p = new_page(width=2000)
        s = section(p, width=2000)
        with self.assertRaises(LayoutError):
            s.row().text("Two over One game forcing").check("Unless opener rebids suit")

    def test_fill_reaches_the_right_edge(self):
        p = new_page()
        s = section(p)
        s.row().text("Other:").fill("other")
        f = p.keys["s.other"]
        self.assertEqual(f.a[0] + f.a[2], s.x1 - p.style.pad)
        self.assertEqual(f.a[3], 240)

    def test_tab_that_lies_behind_the_cursor_is_an_error(self):
        p = new_page()
        s = section(p, tabs=[0, 300])
        with self.assertRaises(LayoutError):
            s.row().text("Much too long for the first tab").tab(1)

    def test_keys_are_unique(self):
        p = new_page()
        s = section(p)
        s.row("a").check("Weak")
        s.row("b").check("Weak")  # other row, other key
        self.assertIn("s.a.weak", p.keys)
        self.assertIn("s.b.weak", p.keys)
        with self.assertRaises(LayoutError):
            s.row("a").check("Weak")

    def test_colours_of_captions(self):
        p = new_page()
        section(p).row().check(red("Drury")).check(blue("Transfer")).check("Natural")
        colours = {b.text: b.a[4] for b in p.base if b.kind == TEXT_FIELD}
        self.assertEqual(colours, {"Drury": 2, "Transfer": 5, "Natural": 1})

    def test_field_and_text_share_the_baseline(self):
        p = new_page(base_size=7.5, field_size=8)
        r = section(p).row()
        r.text("Range").field(400, "lo")
        text = [b for b in p.base if b.text == "Range"][0]
        field = p.keys["s.lo"]
        self.assertAlmostEqual(text.a[1] + fm.ascent(7.5), field.a[1] + fm.ascent(8), delta=1)

    def test_rings_keep_clear_of_their_neighbours_and_sit_on_their_letters(self):
        # ACBL enlarges the program's rings: every item stays a circled item, far enough
        # from the text before it and from the next card for its ring to clear them.
        p = new_page(code="acbl")
        r = section(p).row()
        r.text("Length").circles(["K", "Q", "x"], "len")
        text = [b for b in p.base if b.text == "Length"][0]
        items = [t for t in p.tmpl if t.kind == CIRCLED_ITEM]
        self.assertEqual([i.text for i in items], ["K", "Q", "x"])
        rings = [marks.ring_of(i.text, "acbl") for i in items]
        self.assertGreater(items[0].a[0] + rings[0][0] - rings[0][2],
                           text.a[0] + fm.drawn_width("Length", 7.5) + marks.RING_CLEAR)
        for (a, ra), (b, rb) in ((pair[0], pair[1]) for pair in zip(zip(items, rings), zip(items[1:], rings[1:]))):
            def edges(item):
                return [((u[0] + item.a[0], u[1] + item.a[1]), (v[0] + item.a[0], v[1] + item.a[1]))
                        for u, v in fm.text_edges(item.text, 8)]
            self.assertGreaterEqual(marks.ring_clearance(a.a[0] + ra[0], a.a[1] + ra[1], ra[2], edges(b)),
                                    marks.RING_CLEAR)
            self.assertGreaterEqual(marks.ring_clearance(b.a[0] + rb[0], b.a[1] + rb[1], rb[2], edges(a)),
                                    marks.RING_CLEAR)
        # Without the enlargement the program's ring cuts a small "x": the letter is printed
        # and a ring of our own is centred on it.
        p = new_page(code="sayc")
        section(p).row().circles(["K", "x"], "h")
        self.assertEqual([t.kind for t in p.tmpl], [CIRCLED_ITEM, CIRCLE])
        x = [b for b in p.base if b.text == "x"][0]
        spot = p.tmpl[1]
        ink = fm.ink_box("x", 8)
        self.assertAlmostEqual(spot.a[0], x.a[0] + 2 + (ink[0] + ink[2]) / 2, delta=1)
        self.assertAlmostEqual(spot.a[1], x.a[1] + (ink[1] + ink[3]) / 2, delta=1)
        self.assertEqual(spot.key, "s.h.1")

    def test_caption_starts_beyond_the_reach_of_a_tick(self):
        p = new_page()
        s = section(p)
        r = s.row()
        r.check("Attitude")
        box, = [t for t in p.tmpl if t.kind == CHECK_BOX]
        caption, = [b for b in p.base if b.text == "Attitude"]
        reach = marks.tick_box(box.a[0], box.a[1], box.a[5])
        self.assertGreaterEqual(caption.a[0] + 2 + fm.ink_box("Attitude", 7.5)[0], reach[2] + marks.TICK_CLEAR)
        # The first row leaves room for the tick's rise below the title's rule.
        title = [b for b in p.base if b.kind == LABEL_BOX][0]
        self.assertGreaterEqual(reach[1], title.a[1] + title.a[3] + marks.TICK_CLEAR)

    def test_unknown_circled_label_is_refused(self):
        p = new_page()
        with self.assertRaises(LayoutError):
            section(p).row().circles(["Z"], "z")

    def test_names_fields_come_first(self):
        p = new_page()
        s = section(p)
        s.row().text("Other").fill("other")
        s.row().text("Names").fill("names", name_role="names")
        s.row().text("No.").field(900, "number", name_role="number")
        p.finish()
        texts = [t for t in p.tmpl if t.kind == TEXT_FIELD]
        self.assertEqual([t.key for t in texts], ["names.names", "names.number", "s.other"])

    def test_finish_refuses_what_lies_off_the_page(self):
        p = new_page()
        p.field(5900, 100, 400)
        with self.assertRaises(LayoutError):
            p.finish()

    def test_section_frame_encloses_its_rows(self):
        p = new_page()
        with p.column(0, 6000, 100).section("TITLE", "s") as s:
            s.row().text("one")
            s.row().text("two")
        frame = [b for b in p.base if b.kind == FRAME_BOX and b.a[4] == 1][0]
        self.assertEqual(frame.a[1], 100)
        self.assertGreaterEqual(frame.a[1] + frame.a[3], 100 + p.style.title_h + 2 * p.style.pitch)

    def test_suit_text_is_centred_as_drawn(self):
        p = new_page()
        r = p.text_centred(1000, 650, 0, "1<h>", size=9, bold=True)
        self.assertEqual(r.a[5] & 7, LEFT)
        drawn = fm.drawn_width("1<h>", 9, bold=True)
        self.assertAlmostEqual(r.a[0] + 2 + drawn / 2, 1000 + 325, delta=2)
        plain = p.text_centred(1000, 650, 0, "1NT", size=9, bold=True)
        self.assertEqual(plain.a[5] & 7, CENTRE)
        self.assertEqual((plain.a[0], plain.a[2]), (1000, 650))


class FillTest(unittest.TestCase):
    def page(self):
        p = new_page()
        s = section(p)
        s.row("a").check("Weak").field(900, "hcp")
        s.row("b").circles(["x", "x", "x"], "xxx").circles(["K", "Q", "x"], "kqx")
        s.row("c").text("Names").fill("names", name_role="names")
        s.row("d").field(900, "number", name_role="number")
        p.option(100, 3000, 300, 200, key="opt")
        p.finish()
        return p

    def test_values_land_on_their_records_and_template_is_untouched(self):
        p = self.page()
        recs = fill_records(p, {"s.a.weak": True, "s.a.hcp": "10-12", "s.b.xxx": 1,
                                "s.b.kqx": "K", "opt": 3})
        by_key = {r.key: r for r in recs}
        self.assertEqual(by_key["s.a.weak"].a[4], 1)
        self.assertEqual(by_key["s.a.hcp"].text, "10-12")
        self.assertEqual([by_key["s.b.xxx.%d" % i].a[3] for i in range(3)], [0, 1, 0])
        self.assertEqual([by_key["s.b.kqx.%d" % i].a[3] for i in range(3)], [1, 0, 0])
        self.assertEqual(by_key["opt"].a[4], 3)
        self.assertEqual(p.keys["s.a.weak"].a[4], 0)
        self.assertEqual(p.keys["s.a.hcp"].text, "")

    def test_errors(self):
        p = self.page()
        for values in ({"nothing.here": 1}, {"s.b.xxx": "x"}, {"s.b.kqx": 5},
                       {"s.a.hcp": 'say "hi"'}, {"s.a.hcp": "a\r\nb"}, {"opt": 4}):
            with self.subTest(values=values), self.assertRaises(FillError):
                fill_records(p, values)

    def test_names_mode_0_arrangement(self):
        p = self.page()
        v = names_values(p, "A - B", "123")
        recs = fill_records(p, v)
        texts = [r for r in recs if r.kind == TEXT_FIELD]
        self.assertEqual([texts[0].text, texts[1].text], ["A - B", "123"])


if __name__ == "__main__":
    unittest.main()


class PrintedClearanceTest(unittest.TestCase):
    """The 600 dpi check of printed pages, on pictures made here."""

    def picture(self, w, h, ink):
        path = os.path.join(tempfile.mkdtemp(), "page.pgm")
        pixels = bytearray([255] * (w * h))
        for x, y in ink:
            pixels[y * w + x] = 0
        with open(path, "wb") as f:
            f.write(b"P5\n%d %d\n255\n" % (w, h) + bytes(pixels))
        pic = printcheck.Picture(path)
        shutil.rmtree(os.path.dirname(path))
        return pic

    def test_ink_near_a_ring_is_found_and_the_ringed_letter_is_not(self):
        mm = printcheck.px_per_mm()
        ring = (100, 100, 40, (95, 95, 105, 105), "K")   # in pixels: to_px is the identity

        def gap_of(distance_mm):
            x = int(100 + 40 + printcheck.PEN_MM * mm + distance_mm * mm)
            pic = self.picture(300, 300, [(x, 100), (100, 100)])
            return printcheck.check_rings(pic, lambda x, y: (x, y), 1.0, [ring], "page")

        self.assertEqual(gap_of(0.6), [])
        faults = gap_of(0.15)
        self.assertEqual(len(faults), 1)
        self.assertRegex(faults[0], r"ring of 'K' .* only 0\.1\d mm")

    def test_page_registered_by_its_long_rules_not_by_filled_boxes_or_text(self):
        # Twips: a frame from (100, 200) to (1540, 2360) and a dark filled band at its top; on
        # paper at 600 dpi (5/12 of a pixel a twip) 30 pixels right and 20 down.
        frame = Record(5, [100, 200, 1440, 2160, 1])
        band = Record(7, [100, 200, 1440, 240, 1, 0], "TITLE")

        def px(x, y):
            return 30 + x * 5 // 12, 20 + y * 5 // 12
        (x0, y0), (x1, y1) = px(100, 200), px(1540, 2360)
        ink = [(x, y0) for x in range(x0, x1 + 1)] + [(x, y1) for x in range(x0, x1 + 1)] + \
            [(x0, y) for y in range(y0, y1 + 1)] + [(x1, y) for y in range(y0, y1 + 1)] + \
            [(x, y) for x in range(x0, x1 + 1) for y in range(y0, y0 + 100)] + \
            [(x, y1 + 30) for x in range(x0, x1) if x % 7]
        pic = self.picture(800, 1100, ink)
        to_px, sx, sy = printcheck.registration([frame, band], 1640, 2560, pic)
        self.assertAlmostEqual(sx, 5 / 12)
        x, y = to_px(1540, 2360)
        self.assertAlmostEqual(x, x1 + 0.5, delta=1)
        self.assertAlmostEqual(y, y1 + 0.5, delta=1)
