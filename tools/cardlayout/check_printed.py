#!/usr/bin/env python3
"""Prints every shipped format's blank pages with the program and checks the clearance of
rings and grid rules at 600 dpi (cwlayout/printcheck.py); exit code 1 on a fault.

    python3 tools/cardlayout/check_printed.py --program build/cardwright [--format acbl]
"""

import argparse
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from cwlayout import printcheck  # noqa: E402


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--program", required=True, help="the cardwright program")
    ap.add_argument("--root", default=os.path.join(HERE, "..", "..", "data"), help="the data root")
    ap.add_argument("--format", action="append", help="only this format (may be repeated)")
    ap.add_argument("--keep", help="copy the printed PDF files into this folder")
    args = ap.parse_args()
    if not shutil.which("pdftoppm"):
        print("pdftoppm (poppler-utils) is needed")
        return 2
    faults = printcheck.check_printed(os.path.abspath(args.program), os.path.abspath(args.root),
                                      args.format, args.keep)
    for f in faults:
        print("FAULT: " + f)
    print("%d fault(s)" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
