#!/usr/bin/env python3
"""Draw one page of a card (or of a format's blank template) as SVG and PNG.

    python3 tools/cardlayout/preview.py --format acbl --side back --out /tmp/acbl-back.png
    python3 tools/cardlayout/preview.py --format wbfb --template --scale 0.2 --out /tmp/wbf.png

A look at the layouts while the program's own renderer is not at hand; it draws
the records the way the card renderer does, with the Liberation fonts.
"""

import argparse
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from cwlayout import cwrsys, previewer  # noqa: E402


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--root", default=os.path.normpath(os.path.join(HERE, "..", "..", "data")))
    ap.add_argument("--format", required=True, help="format code as in cwr.sys (w02)")
    ap.add_argument("--side", choices=("front", "back"), default="front")
    ap.add_argument("--card", default="testcrd", help="card name in the format's folder")
    ap.add_argument("--template", action="store_true", help="draw the blank template instead of a card")
    ap.add_argument("--partner", action="store_true", help="draw the partner's card (names from the header)")
    ap.add_argument("--scale", type=float, default=0.1, help="pixels per twip (0.1 is about 144 dpi)")
    ap.add_argument("--out", required=True, help="output .png or .svg")
    args = ap.parse_args(argv)
    settings = cwrsys.read(os.path.join(args.root, "cwr.sys"))
    fmt = next((f for f in settings.formats if f.code.lower() == args.format.lower()), None)
    if fmt is None:
        ap.error("no format %r in cwr.sys" % args.format)
    svg_path = args.out if args.out.endswith(".svg") else os.path.splitext(args.out)[0] + ".svg"
    previewer.preview_page(args.root, fmt, args.side == "back", None if args.template else args.card,
                           svg_path, partner=args.partner, px_per_twip=args.scale)
    if not args.out.endswith(".svg"):
        subprocess.run(["convert", svg_path, args.out], check=True)
    print(args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
