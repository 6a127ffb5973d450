"""Previews of the sample card of every format, from the files under a data root."""

import os
import subprocess

from . import cwrsys, svg
from .records import read_page


def page_files(root, fmt, back):
    base = fmt.base
    data = os.path.join(root, "data")
    layout = os.path.join(data, base + ("4.dat" if back else "2.dat"))
    template = os.path.join(data, base + ("3.dat" if back else "1.dat"))
    return layout, template


def preview_page(root, fmt, back, card=None, out_svg=None, partner=False, px_per_twip=0.1):
    layout_path, template_path = page_files(root, fmt, back)
    base = read_page(layout_path)
    card_path = template_path
    if card:
        card_path = os.path.join(root, fmt.code, "%s%s.%s" % (card, "_" if back else "", fmt.ext))
    page = read_page(card_path)
    tmpl = read_page(template_path)
    h = tmpl.header
    width, height = int(h[14]), int(h[15])
    names = None
    if partner and not back:
        names = {0: page.header[0], 1: page.header[1]}
    text = svg.render(base.records, page.records, width, height,
                      basic_size=float(h[8]), base_size=float(base.header[8]),
                      check_style=int(h[5]), tint=fmt.num("w13"), px_per_twip=px_per_twip,
                      names_override=names, is_acbl=fmt.code.upper() == "ACBL")
    if out_svg:
        with open(out_svg, "w", encoding="utf-8") as f:
            f.write(text)
    return text


def preview_root(root, out_dir, card="testcrd"):
    os.makedirs(out_dir, exist_ok=True)
    settings = cwrsys.read(os.path.join(root, "cwr.sys"))
    written = []
    for fmt in settings.formats:
        sides = [False, True] if fmt.num("w09") else [False]
        for back in sides:
            stem = os.path.join(out_dir, "%s-%s" % (fmt.code, "back" if back else "front"))
            preview_page(root, fmt, back, card, stem + ".svg")
            subprocess.run(["convert", stem + ".svg", stem + ".png"], check=True)
            written.append(stem + ".png")
    return written
