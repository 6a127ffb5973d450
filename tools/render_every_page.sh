#!/bin/bash
# Draws every page of every shipped format (the sample card and a blank card made from the
# format's templates) at zoom 1 and 2, as the partner's card, and as printed, into OUT.
# Two runs of this script (before and after a change to the renderer) are compared with
#   cmp -s or: for f in A/*; do cmp -s "$f" "B/${f##*/}" || echo "$f"; done
set -euo pipefail
program=${1:?usage: render_every_page.sh PROGRAM OUT}
out=${2:?usage: render_every_page.sh PROGRAM OUT}
here=$(cd "$(dirname "$0")/.." && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cp -r "$here/data/." "$root/"
mkdir -p "$out"

# format code, layout base, extension, pages
formats=$(awk '$1=="w02"{c=$2} $1=="w03"{b=$2} $1=="w04"{e=$2} $1=="w09"{p=$2}
               $1=="w98"{print c, b, e, p}' "$root/cwr.sys" | tr -d '\r')
while read -r code base ext pages; do
    cp "$root/data/${base}1.dat" "$root/$code/blank.$ext"
    [ "$pages" != 0 ] && cp "$root/data/${base}3.dat" "$root/$code/blank_.$ext"
    sides=front
    [ "$pages" != 0 ] && sides="front back"
    for card in testcrd blank; do
        for side in $sides; do
            for zoom in 1 2; do
                QT_QPA_PLATFORM=offscreen "$program" render --root "$root" --format "$code" \
                    --card "$card" --side "$side" --zoom "$zoom" \
                    --out "$out/$code-$card-$side-z$zoom.png"
            done
            QT_QPA_PLATFORM=offscreen "$program" render --root "$root" --format "$code" \
                --card "$card" --side "$side" --zoom 1 --partner \
                --out "$out/$code-$card-$side-partner.png"
            QT_QPA_PLATFORM=offscreen "$program" render --root "$root" --format "$code" \
                --card "$card" --side "$side" --out "$root/page.pdf"
            pdftoppm -r 100 -png -singlefile "$root/page.pdf" "$out/$code-$card-$side-paper"
        done
    done
done <<<"$formats"
ls "$out" | wc -l
