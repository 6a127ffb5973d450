#!/usr/bin/env python3
"""Build the shipped card formats under data/.

    python3 tools/cardlayout/build.py            regenerate everything (deterministic)
    python3 tools/cardlayout/build.py --check    validate what is under data/ (and that it is the
                                                 generator's current output); exit 1 on a fault
    python3 tools/cardlayout/build.py --preview DIR   also draw every page of testcrd into DIR (SVG, PNG)

Written: data/cwr.sys, data/data/<base>1..4.dat, data/<code>/testcrd*.<ext>,
data/<code>/special.txt where a format has one, data/bmps/*.bmp and the
.gitkeep files of data/datasys and data/suppnote.
"""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from cwlayout import registry  # noqa: E402


def stale_files(root):
    """Files under root that differ from what the generator writes now."""
    import filecmp
    import tempfile
    out = []
    with tempfile.TemporaryDirectory() as fresh:
        registry.build_all(fresh)
        for dirpath, _dirs, files in os.walk(fresh):
            for f in files:
                rel = os.path.relpath(os.path.join(dirpath, f), fresh)
                if not os.path.exists(os.path.join(root, rel)):
                    out.append("%s: missing; run tools/cardlayout/build.py" % rel)
                elif not filecmp.cmp(os.path.join(dirpath, f), os.path.join(root, rel), shallow=False):
                    out.append("%s: differs from the generator's output; run tools/cardlayout/build.py" % rel)
    return out


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--root", default=os.path.normpath(os.path.join(HERE, "..", "..", "data")),
                    help="data root to write or check (default: the repository's data/)")
    ap.add_argument("--check", action="store_true", help="validate the data root instead of writing it")
    ap.add_argument("--preview", metavar="DIR", help="write previews of every page of testcrd to DIR")
    ap.add_argument("--keys", metavar="CODE", help="list the keys of a format's fields (for fill-ins)")
    args = ap.parse_args(argv)
    if args.keys:
        for f in registry.formats():
            if f.spec.code == args.keys:
                for n, page in enumerate(f.pages()):
                    for r in page.tmpl:
                        if r.key:
                            print(n, r.kind, r.key, repr(r.text) if r.text else "")
        return 0
    if args.check:
        from cwlayout import checker
        problems, notes = checker.check_root(args.root)
        problems += stale_files(args.root)
        for n in notes:
            print(n)
        for p in problems:
            print("FAULT:", p)
        print("%d fault(s)" % len(problems))
        return 1 if problems else 0
    written = registry.build_all(args.root)
    print("wrote %d files under %s" % (len(written), args.root))
    if args.preview:
        from cwlayout import previewer
        for path in previewer.preview_root(args.root, args.preview):
            print("preview", path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
