#!/usr/bin/env bash
# Peak resident memory and time of "cardwright export" of the sample card (wbfb format, A4) as
# BMP, PNG, JPEG and GIF at 300, 600 and 1200 dots per inch, each run on a fresh copy of the
# sample data. A harness, not a test. Run: bench/export_memory.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR}
program="$build/cardwright"
[[ -x $program ]] || { echo "no program at $program" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is needed (Debian package time)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

printf '%-5s %5s %12s %9s\n' type dpi "peak KB" seconds
for dpi in 300 600 1200; do
    for type in bmp png jpg gif; do
        rm -rf "$work/root" "$work/out"
        mkdir -p "$work/out"
        "$program" formats --root "$work/root" >/dev/null
        if ! /usr/bin/time -o "$work/time" -f "%M %e" "$program" export --root "$work/root" \
            --card testcrd --format wbfb --dpi "$dpi" --out "$work/out/card.$type" \
            >/dev/null 2>"$work/err"; then
            echo "export as $type at $dpi dpi failed:" >&2
            cat "$work/err" >&2
            exit 1
        fi
        read -r kb seconds <"$work/time"
        printf '%-5s %5s %12s %9s\n' "$type" "$dpi" "$kb" "$seconds"
    done
done
