"""A card format's settings: its cwr.sys record and the header values of its files."""

from dataclasses import dataclass, field

from .records import APP_VERSION, HEADER_LINES, sort_for_writing, write_page

MM_PER_INCH = 25.4
TWIPS_PER_MM = 1440 / MM_PER_INCH


@dataclass
class FontSpec:
    name: str = "Arial"
    size: float = 8.0
    bold: bool = False
    italic: bool = False


@dataclass
class FormatSpec:
    code: str                 # w02: format code, also the name of the card folder
    base: str                 # w03: base name of the layout files (at most 7 characters)
    ext: str                  # w04: card file extension
    title: str                # w05: display name
    pages: int                # 2 with a back page, 1 without (w09)
    width: int                # natural page width, twips
    height: int               # natural page height, twips
    paper: str                # "Letter" or "A4": what the print defaults are made for
    print_width: int          # w18: default Print Width, mm
    print_height: int         # w19: default Print Height, mm
    front_margin: int         # w12: default Front Page Left Margin, mm
    back_margin: int          # w14
    view_scale: float         # w20
    names_mode: int = 0       # w11
    tint: int = 0             # w13
    base_black: int = 0       # w10
    tab_flags: int = 0        # w15
    orientation: int = 2      # w16: 2 is portrait paper
    picture: str = ""         # w17
    scroll_x: int = 0         # w06
    scroll_right: int = 0     # w07
    y_align: int = 0          # w21
    check_style: int = 1      # 0 solid, 1 tick, 2 cross
    field_font: FontSpec = field(default_factory=FontSpec)
    base_font: FontSpec = field(default_factory=lambda: FontSpec(size=7.5))
    text_colour: int = 0              # RGB of the user's text
    base_print_colour_front: int = 0  # RGB of the printed base text
    base_print_colour_back: int = 0
    comment: str = ""
    # "Both sides on one sheet": the two pages printed side by side on one sheet, the back page
    # on the left, as the folded card is printed.  The shipped print settings (header line 12
    # of the first layout file) choose it.
    both_sides_on_one_sheet: bool = False

    def __post_init__(self):
        if len(self.base) > 7:
            raise ValueError("layout base name longer than 7 characters: " + self.base)

    @property
    def folder(self):
        return self.code

    def layout_name(self, n):
        return "%s%d.dat" % (self.base, n)

    def card_name(self, card, back=False):
        return "%s%s.%s" % (card, "_" if back else "", self.ext)

    def w_values(self):
        """The format's record of the settings file, key by key."""
        scale = ("%.2f" % self.view_scale).rstrip("0").rstrip(".")
        return [
            ("w02", self.code), ("w03", self.base), ("w04", self.ext), ("w05", self.title),
            ("w06", self.scroll_x), ("w07", self.scroll_right), ("w08", 0),
            ("w09", 1 if self.pages == 2 else 0), ("w10", self.base_black),
            ("w11", self.names_mode), ("w12", self.front_margin), ("w13", self.tint),
            ("w14", self.back_margin), ("w15", self.tab_flags), ("w16", self.orientation),
            ("w17", self.picture), ("w18", self.print_width), ("w19", self.print_height),
            ("w20", scale), ("w21", self.y_align), ("w98", 0),
        ]

    def header(self, page_no, names=None):
        """The 31 header lines of layout file page_no (1..4) or of a card page made from it.

        names: (partner's names, partner's number, my names, my number) for a
        card's front page; the layout files hold placeholders there.
        """
        base_layer = page_no in (2, 4)
        back = page_no in (3, 4)
        if base_layer:
            font = self.base_font
            colour = self.base_print_colour_back if back else self.base_print_colour_front
        else:
            font = self.field_font
            colour = self.text_colour
        n = names or ("(names)", "(player number)", "(names)", "(player number)")
        h = ["0"] * HEADER_LINES
        h[0], h[1], h[3], h[4] = n
        h[2] = str(colour)
        h[5] = str(self.check_style)
        h[6] = str(self.print_width)
        h[7] = str(self.print_height)
        h[8] = ("%.2f" % font.size).rstrip("0").rstrip(".")
        h[9] = font.name
        h[10] = "-1" if font.bold else "0"
        h[11] = "-1" if font.italic else "0"
        h[12] = str(self.print_flags() if page_no == 1 else 0)
        h[13] = str(self.back_margin)
        h[14] = str(self.width)
        h[15] = str(self.height)
        h[16] = APP_VERSION
        h[17] = str(self.front_margin)
        h[18] = "0"
        h[19] = str(self.y_align)
        return h

    def print_flags(self):
        """The shipped print settings' flags: none (the program's defaults) unless both sides
        go on one sheet: then settings present, both sides, one sheet."""
        settings_present, both_sides, one_sheet = 16384, 16, 1024
        if self.both_sides_on_one_sheet and self.pages == 2:
            return settings_present | both_sides | one_sheet
        return 0

    def comments(self, page_no, panels=None):
        what = {1: "front page, fill-in template", 2: "front page, printed base layer",
                3: "back page, fill-in template", 4: "back page, printed base layer"}[page_no]
        out = ["|Cardwright card format %s (%s): %s" % (self.code.upper(), self.title, what),
               "|Generated by tools/cardlayout/build.py; edit the description there, not this file.",
               "|Units: twips (1/1440 inch). Page %d x %d twips." % (self.width, self.height)]
        if panels:
            out.append("|Panels: " + " ".join("%d-%d" % p for p in panels))
        return out


def write_layout(spec, page_no, records, path, sort=True, panels=None):
    recs = sort_for_writing(records) if sort else list(records)
    write_page(path, spec.comments(page_no, panels), spec.header(page_no), recs)
