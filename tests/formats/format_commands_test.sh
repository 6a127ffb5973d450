#!/usr/bin/env bash
# A card format made from a federation's blank PDF through the command line, a card of it
# made, printed and drawn; bad input refused with nothing written.
#   format_commands_test.sh BUILD_DIR
set -uo pipefail
program="$1/cardwright"
here=$(cd "$(dirname "$0")" && pwd)
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

/usr/bin/python3 "$here/make_blank_cards.py" "$work/cards" || fail "make_blank_cards.py"
root="$work/root"
"$program" formats --root "$root" >/dev/null || fail "the data root was not set up"
listing() { (cd "$root" && find . -printf '%p %s\n' | sort); }

# Refused: exit 1 (bad input) or 2 (usage), one line, the data root as it was.
expect_refusal() { # code expected-text args...
    local want=$1 expected=$2; shift 2
    local before said code
    before=$(listing)
    said=$("$program" "$@" --root "$root" 2>&1 >/dev/null); code=$?
    [ "$code" -eq "$want" ] || fail "'$*' exited $code, not $want: $said"
    [ "$(wc -l <<<"$said")" -eq 1 ] || fail "'$*' said more than one line: $said"
    grep -qF -- "$expected" <<<"$said" || fail "'$*' said: $said"
    [ "$(listing)" = "$before" ] || fail "'$*' changed the data root"
}
expect_refusal 2 "--from is needed" format new --code FED --name "Fed"
expect_refusal 2 "--pages takes" format new --from "$work/cards/form.pdf" --code FED --name Fed --pages x
expect_refusal 1 "locked.pdf" format new --from "$work/cards/locked.pdf" --code FED --name Fed
expect_refusal 1 "is not usable" format new --from "$work/cards/form.pdf" --code "F D" --name Fed
first=$("$program" formats --root "$root" | head -1 | cut -f2)
expect_refusal 1 "in use" format new --from "$work/cards/form.pdf" --code "$first" --name Fed

"$program" format new --root "$root" --from "$work/cards/two-sided.pdf" --code FED \
    --name "Federation card" >/dev/null || fail "format new"
"$program" formats --root "$root" | grep -qP '\tFED\t\.fed\t.*Federation card' ||
    fail "the new format is not listed: $("$program" formats --root "$root")"
"$program" card new --root "$root" --format FED --card mine >/dev/null || fail "card new"
expect_refusal 1 "already" card new --format FED --card mine

# Printed both sides into a PDF, each page the size of the blank card's.
"$program" print --root "$root" --format FED --card mine --side both --pdf "$work/mine.pdf" \
    >/dev/null || fail "print"
[ "$(pdfinfo "$work/mine.pdf" | grep '^Pages:' | awk '{print $2}')" = 2 ] || fail "not 2 pages"
size=$(pdfinfo -f 1 -l 2 "$work/mine.pdf" | grep '^Page .*size:' | awk '{printf "%.0fx%.0f\n", $4, $6}' | sort -u)
[ "$size" = "595x842" ] || fail "printed pages of $size points, not A4 as the blank card"
# The blank card prints as its own vectors, not as a picture of it.
[ "$(pdfimages -list "$work/mine.pdf" | tail -n +3 | wc -l)" = 0 ] ||
    fail "the blank card was printed as a picture: $(pdfimages -list "$work/mine.pdf")"
# The page prints the blank card's ink: its black band across the top.
pdftoppm -r 20 -f 1 -l 1 -png "$work/mine.pdf" "$work/printed"
/usr/bin/python3 - "$work"/printed*.png <<'PY' || fail "the printed page lacks the card's ink"
import sys
from PIL import Image
page = Image.open(sys.argv[1]).convert("L")
assert page.getpixel((page.width // 2, page.height * 30 // 842)) < 60
PY

# Drawn as the screen shows it.
"$program" render --root "$root" --format FED --card mine --out "$work/front.png" --zoom 2 \
    >/dev/null || fail "render"
/usr/bin/python3 - "$work/front.png" <<'PY' || fail "the drawn page lacks the card's ink"
import sys
from PIL import Image
page = Image.open(sys.argv[1]).convert("L")
dark = sum(1 for x in range(0, page.width, 4) if page.getpixel((x, page.height * 30 // 842)) < 60)
assert dark > page.width // 8, dark
PY
# A federation's fillable form: a form filled in by another program becomes a card, and the
# card is written back into the form, whose values any PDF reader finds.
"$program" format new --root "$root" --from "$work/cards/form.pdf" --code NZ --name "NZB" \
    >/dev/null || fail "format new from a form"
/usr/bin/python3 - "$work/cards/form.pdf" "$work/theirs.pdf" <<'PY' || fail "pypdf could not fill the form"
import sys
from pypdf import PdfReader, PdfWriter
writer = PdfWriter()
writer.clone_document_from_reader(PdfReader(sys.argv[1]))
writer.update_page_form_field_values(writer.pages[0], {"names": "Kiri & Tama", "leads": "3rd/5th"})
# pypdf leaves the choice list's selected index as it was; a PDF reader sets it with the value.
from pypdf.generic import ArrayObject, NameObject, NumberObject
for annotation in writer.pages[0]["/Annots"]:
    widget = annotation.get_object()
    if widget.get("/T") == "leads":
        widget[NameObject("/I")] = ArrayObject([NumberObject(1)])
writer.write(sys.argv[2])
PY
"$program" card new --root "$root" --format NZ --card kiri --from-pdf "$work/theirs.pdf" \
    >/dev/null || fail "card new --from-pdf"
expect_refusal 1 "none of its fields" card new --format NZ --card other --from-pdf "$work/cards/plain-a5.pdf"
expect_refusal 1 "no form" card new --format "$first" --card other --from-pdf "$work/theirs.pdf"
expect_refusal 2 "must end in .pdf" export --format NZ --card kiri --out "$work/kiri.png" --filled-form
"$program" export --root "$root" --format NZ --card kiri --out "$work/kiri.pdf" --filled-form \
    >/dev/null || fail "export --filled-form"
/usr/bin/python3 - "$work/kiri.pdf" <<'PY' || fail "the filled form does not hold the card's values"
import sys
from pypdf import PdfReader
fields = {name: field.get("/V") for name, field in PdfReader(sys.argv[1]).get_fields().items()}
assert fields["names"] == "Kiri & Tama", fields
assert fields["leads"] == "3rd/5th", fields
PY

# Shared with a second data root as one file: a card made and printed there.
other="$work/other"
"$program" formats --root "$other" >/dev/null || fail "the second data root was not set up"
expect_refusal 2 "--out are needed" format export --format FED
expect_refusal 1 "no card format NONE" format export --format NONE --out "$work/none.cwformat"
[ ! -e "$work/none.cwformat" ] || fail "a refused export left a file"
said=$("$program" format export --root "$root" --format FED --out "$work/fed.cwformat") ||
    fail "format export"
[ "$said" = "Exported card format FED to $work/fed.cwformat" ] || fail "export said: $said"
ls "$work" | grep -q '\.part$' && fail "export left its scratch file"
said=$("$program" format import --root "$other" --file "$work/fed.cwformat") || fail "format import"
[ "$said" = "Imported card format FED (Federation card)" ] || fail "import said: $said"
"$program" formats --root "$other" | grep -qP '\tFED\t\.fed\t1\tFederation card' ||
    fail "the imported format is not listed"
for file in fed1.dat fed2.dat fed3.dat fed4.dat fed.pdf; do
    cmp -s "$root/data/$file" "$other/data/$file" || fail "data/$file differs after the import"
done
[ -z "$(ls "$other/FED")" ] || fail "the user's cards travelled with the format"
"$program" card new --root "$other" --format FED --card theirs >/dev/null || fail "card new there"
"$program" print --root "$other" --format FED --card theirs --side both --pdf "$work/theirs.pdf" \
    >/dev/null 2>&1 || fail "print there"
[ "$(pdfinfo "$work/theirs.pdf" | grep '^Pages:' | awk '{print $2}')" = 2 ] || fail "not 2 pages"
# The same format again, and a file that is no format file, are refused with nothing written.
root="$other"
expect_refusal 1 "code FED is in use" format import --file "$work/fed.cwformat"
expect_refusal 1 "not a card format file" format import --file "$work/mine.pdf"
expect_refusal 2 "--file is needed" format import
echo OK
