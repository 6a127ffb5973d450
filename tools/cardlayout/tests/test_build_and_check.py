"""The whole build: determinism, the committed files, and the checker catching faults."""

import filecmp
import hashlib
import os
import shutil
import tempfile
import unittest

from helpers import REPO
from cwlayout import bmp, checker, cwrsys, registry
from cwlayout.formatspec import FormatSpec
from cwlayout.records import read_page, write_page, Record, sort_for_writing

_built = {}


def built_root():
    """One fresh build shared by the tests (they copy it before changing anything)."""
    if "root" not in _built:
        d = tempfile.mkdtemp(prefix="cardlayout-")
        registry.build_all(d)
        _built["root"] = d
    return _built["root"]


def tree_digest(root):
    h = hashlib.sha256()
    for dirpath, dirnames, filenames in sorted(os.walk(root)):
        dirnames.sort()
        for f in sorted(filenames):
            p = os.path.join(dirpath, f)
            h.update(os.path.relpath(p, root).encode())
            with open(p, "rb") as fh:
                h.update(fh.read())
    return h.hexdigest()


class BuildTest(unittest.TestCase):
    def test_build_is_deterministic(self):
        with tempfile.TemporaryDirectory() as d:
            registry.build_all(d)
            self.assertEqual(tree_digest(d), tree_digest(built_root()))

    def test_committed_files_are_the_generators_output(self):
        data = os.path.join(REPO, "data")
        if not os.path.exists(os.path.join(data, "cwr.sys")):
            self.skipTest("no data/ in this tree")
        fresh = built_root()
        stale = []
        for dirpath, _dirs, files in os.walk(fresh):
            for f in files:
                rel = os.path.relpath(os.path.join(dirpath, f), fresh)
                mine = os.path.join(data, rel)
                if not os.path.exists(mine) or not filecmp.cmp(os.path.join(dirpath, f), mine, shallow=False):
                    stale.append(rel)
        self.assertEqual(stale, [], "run python3 tools/cardlayout/build.py and commit the result")

    def test_fresh_build_passes_the_check(self):
        problems, _notes = checker.check_root(built_root())
        self.assertEqual(problems, [])

    def test_every_format_has_its_files(self):
        root = built_root()
        settings = cwrsys.read(os.path.join(root, "cwr.sys"))
        self.assertEqual([f.code for f in settings.formats], ["acbl", "sayc", "wbfb", "club", "ebu"])
        for f in settings.formats:
            pages = 2 if f.num("w09") else 1
            for n in range(1, 2 * pages + 1):
                self.assertTrue(os.path.exists(os.path.join(root, "data", "%s%d.dat" % (f.base, n))))
            self.assertTrue(os.path.exists(os.path.join(root, f.code, "testcrd." + f.ext)))
            self.assertEqual(os.path.exists(os.path.join(root, f.code, "testcrd_." + f.ext)), pages == 2)
        self.assertEqual(os.listdir(os.path.join(root, "datasys")), [".gitkeep"])

    def test_sayc_template_is_prefilled_and_acbl_template_is_blank(self):
        root = built_root()
        for code, filled in (("acbl", False), ("sayc", True)):
            for n in (1, 3):
                page = read_page(os.path.join(root, "data", "%s%d.dat" % (code, n)))
                ticked = [r for r in page.records if r.kind == 3 and r.a[4]]
                texts = [r for r in page.records if r.kind == 2 and r.text]
                circled = [r for r in page.records if r.kind in (4, 24) and r.a[3]]
                self.assertEqual(bool(ticked and texts), filled, (code, n))
                if n == 3:
                    # The leads SAYC plays are the cards printed bold: a new card circles none.
                    self.assertEqual(circled, [], code)


def _quote_first_rectangle_colour(text):
    lines = text.split("\r\n")
    for i, line in enumerate(lines):
        items = line.split(",")
        if items[0] == "6" and len(items) == 8:
            items[6] = '"%s"' % items[6]
            lines[i] = ",".join(items)
            break
    else:
        raise AssertionError("no rectangle in the page")
    return "\r\n".join(lines)


class CheckerCatchesTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="cardlayout-check-")
        self.root = os.path.join(self.dir, "data")
        shutil.copytree(built_root(), self.root)

    def tearDown(self):
        shutil.rmtree(self.dir)

    def problems(self):
        return " | ".join(checker.check_root(self.root)[0])

    def edit(self, rel, fn):
        path = os.path.join(self.root, rel)
        with open(path, "rb") as f:
            text = f.read().decode("cp1252")
        with open(path, "wb") as f:
            f.write(fn(text).encode("cp1252"))

    def rewrite_page(self, rel, change):
        path = os.path.join(self.root, rel)
        page = read_page(path)
        change(page)
        write_page(path, page.comments, page.header, page.records)

    def test_missing_w98_and_bad_values(self):
        self.edit("cwr.sys", lambda t: t.replace("w98 0\r\nw02 sayc", "w02 sayc", 1)
                  .replace("w20 1\r\n", "w20 9\r\n", 1)
                  .replace("w16 1\r\nw17 wbfb.bmp", "w16 x\r\nw17 wbfb.bmp", 1))
        p = self.problems()
        self.assertIn("format record acbl is not closed by w98", p)
        self.assertIn("w20 9 outside", p)
        self.assertIn("w16 'x' is not a plain number", p)

    def test_missing_picture_and_layout_file(self):
        os.remove(os.path.join(self.root, "bmps", "wbfb.bmp"))
        os.remove(os.path.join(self.root, "data", "club2.dat"))
        p = self.problems()
        self.assertIn("picture wbfb.bmp missing", p)
        self.assertIn("layout file club2.dat missing", p)

    def test_rectangle_colour_in_quotes(self):
        # The program reads it, but saves the colour as a number: the page would not come
        # back byte for byte.
        self.edit("data/wbfb4.dat", _quote_first_rectangle_colour)
        self.assertIn("wbfb4.dat: record", self.problems())
        self.assertIn("rectangle colour in quotes", self.problems())

    def test_lf_line_ends_and_short_record(self):
        self.edit("data/acbl2.dat", lambda t: t.replace("\r\n", "\n"))
        self.edit("data/wbfb1.dat", lambda t: t + "2,1,2,3\r\n")
        p = self.problems()
        self.assertIn("acbl2.dat: line ends other than CR LF", p)
        self.assertIn("wbfb1.dat: record", p)
        self.assertIn("has 4 items", p)

    def test_text_running_into_its_neighbour(self):
        def add_overlap(page):
            first = next(r for r in page.records if r.kind == 2 and len(r.text) > 12)
            page.records.append(Record(2, [first.a[0] + 200, first.a[1], 2000, 240, 1, 0], "Overlapping words"))
        self.rewrite_page("data/club2.dat", add_overlap)
        self.assertIn("runs into 'Overlapping words'", self.problems())

    def test_marks_reaching_other_ink(self):
        def caption_under_the_tick(page):
            caption = next(r for r in page.records if r.kind == 2 and r.text == "Attitude")
            caption.a[0] -= 60
        self.rewrite_page("data/acbl4.dat", caption_under_the_tick)

        def crowded_and_cut(page):
            items = [r for r in page.records if r.kind == 24]
            items[1].a[0] = items[0].a[0] + 110
            spot = next(r for r in page.records if r.kind == 4 and r.a[4] < 100)
            page.records.remove(spot)
            page.records.append(Record(24, [spot.a[0] - 40, spot.a[1] - 103, 0, 0, 8, 0], "x"))
        self.rewrite_page("data/club1.dat", crowded_and_cut)

        def narrow_option(page):
            page.records.append(Record(23, [6000, 11500, 300, 200, 0]))
        self.rewrite_page("data/acbl3.dat", narrow_option)

        base = read_page(os.path.join(self.root, "data", "acbl4.dat"))
        caption = next(r for r in base.records if r.kind == 2 and r.text == "Weak")

        def erase_half_a_caption(page):
            # Over its right half: a text whose corner is erased is not printed at all.
            page.records.insert(0, Record(1, [caption.a[0] + caption.a[2] // 2, caption.a[1],
                                              caption.a[2], 240]))
            page.records[:] = sort_for_writing(page.records)
        self.rewrite_page("acbl/testcrd_.acb", erase_half_a_caption)
        p = self.problems()
        self.assertIn("acbl back: the tick of the check box at", p)
        self.assertRegex(p, r"club front: the ring of 'K' at \(\d+,\d+\) comes within \d+ twips of item 'Q'")
        self.assertRegex(p, r"club front: the ring of 'x' at \(\d+,\d+\) cuts its letter")
        self.assertIn("'NT' does not fit its box", p)
        self.assertIn("is only partly erased by the area", p)

    def test_folds_orientation_and_room_of_printed_text(self):
        def across_the_fold(page):
            text = next(r for r in page.records if r.kind == 2 and r.text == "Other leads:")
            text.a[0] = 8000
        self.rewrite_page("data/ebu2.dat", across_the_fold)

        def crowded(page):
            text = next(r for r in page.records if r.kind == 2 and r.text == "VERY LIGHT:")
            page.records.append(Record(2, [text.a[0] + 2000, text.a[1] + 200, 800, 240, 1, 0], "Crowded"))
        self.rewrite_page("data/acbl2.dat", crowded)

        def narrow_head(page):
            head = next(r for r in page.records if r.kind == 7 and r.text == "MIN. LENGTH")
            head.a[2] = 350
        self.rewrite_page("data/wbfb4.dat", narrow_head)
        self.edit("cwr.sys", lambda t: t.replace("w16 1\r\nw17 wbfb.bmp", "w16 2\r\nw17 wbfb.bmp", 1))
        p = self.problems()
        self.assertIn("ebu front: 'Other leads:' crosses the edge of a panel", p)
        self.assertRegex(p, r"acbl front: printed text 'Crowded' is \d+ twips from .*, less than 1 mm")
        self.assertIn("label 'MIN. LENGTH' breaks the word 'LENGTH'", p)
        self.assertIn("wbfb1.dat: a landscape page (16440 x 11340 twips) printed portrait", p)

    def test_sample_text_too_long_for_its_field(self):
        def lengthen(page):
            f = next(r for r in page.records if r.kind == 2 and r.a[3] == 240 and r.text and r.a[2] < 600)
            f.text = "A text much too long for this little blank"
        self.rewrite_page("acbl/testcrd.acb", lengthen)
        self.assertIn("is wider than its field", self.problems())

    def test_header_and_capacity_faults(self):
        def break_header(page):
            page.header[16] = "6.3.18"
            page.header[8] = "5"
            page.records[:0] = [Record(7, [0, 0, 100, 100, 6, 0], "L")] * 27
        self.rewrite_page("data/wbfb3.dat", break_header)
        p = self.problems()
        self.assertIn("wbfb3.dat: version line '6.3.18'", p)
        self.assertIn("wbfb3.dat: font size 5", p)
        self.assertIn("27 records of kind 7, capacity 26", p)

    def test_names_in_header_must_match_the_names_fields(self):
        self.edit("club/testcrd.clb", lambda t: t.replace("Sue Green - Pat White\r\n1027", "Someone else\r\n1027", 1))
        self.assertIn("names fields differ from header lines 3 and 4", self.problems())

    def test_shipped_defaults_file_is_a_fault(self):
        with open(os.path.join(self.root, "datasys", "acbl.dat"), "wb") as f:
            f.write(b"0\r\n")
        self.assertIn("defaults file acbl.dat must not be shipped", self.problems())


class SettingsFileTest(unittest.TestCase):
    def test_parse_stops_at_w99_and_keeps_comment_lines(self):
        text = "|a\r\n|b\r\nfree\r\ns01 2\r\ns02 0\r\ns03 0\r\nw01 x\r\nw02 one\r\nw03 one\r\nw98 0\r\n" \
               "w99 end\r\nw02 late\r\nw98 0\r\n"
        s = cwrsys.parse(text)
        self.assertEqual(s.comments, ["|a", "|b"])
        self.assertEqual(s.free_line, "free")
        self.assertEqual([f.code for f in s.formats], ["one"])
        self.assertEqual(s.after_end, ["w02 late", "w98 0"])

    def test_leading_number(self):
        for text, value in ((" 12abc", 12), ("abc", 0), ("1.50", 1.5), ("-3", -3), ("", 0)):
            self.assertEqual(cwrsys.leading_number(text), value, text)

    def test_w_values_of_a_spec(self):
        spec = FormatSpec(code="abc", base="abc", ext="ab", title="T", pages=1, width=100, height=100,
                          paper="A4", print_width=210, print_height=297, front_margin=5,
                          back_margin=6, view_scale=1.0)
        v = dict(spec.w_values())
        self.assertEqual([k for k, _ in spec.w_values()][0], "w02")
        self.assertEqual((v["w09"], v["w20"], v["w12"], v["w14"]), (0, "1", 5, 6))
        h = spec.header(1)
        self.assertEqual(len(h), 31)
        self.assertEqual((h[13], h[16], h[17]), ("6", "6.3.19", "5"))
        with self.assertRaises(ValueError):
            FormatSpec(code="x", base="toolongname", ext="x", title="x", pages=1, width=1, height=1,
                       paper="A4", print_width=1, print_height=1, front_margin=0, back_margin=0,
                       view_scale=1)


class BitmapTest(unittest.TestCase):
    def test_rows_padded_bottom_up_and_bgr(self):
        rows = [[(255, 0, 0)] * 3, [(0, 0, 255)] * 3]   # top red, bottom blue
        with tempfile.TemporaryDirectory() as d:
            p = os.path.join(d, "x.bmp")
            bmp.write_bmp(p, rows)
            with open(p, "rb") as f:
                data = f.read()
            self.assertEqual(bmp.read_bmp_size(p), (3, 2, 24))
        self.assertEqual(len(data), 54 + 2 * 12)
        self.assertEqual(data[54:57], bytes((255, 0, 0)))       # first stored row: bottom, blue as BGR
        self.assertEqual(data[66:69], bytes((0, 0, 255)))       # second stored row: top, red as BGR

    def test_emblems_have_the_picture_size(self):
        for name, rows in bmp.emblems().items():
            self.assertEqual((len(rows[0]), len(rows)), (64, 40), name)


if __name__ == "__main__":
    unittest.main()
