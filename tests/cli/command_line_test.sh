#!/usr/bin/env bash
# The command-line tools as a shell script uses them: usage errors, help, jobs running at once,
# and a print stopped by SIGTERM.
#   command_line_test.sh BUILD_DIR
set -uo pipefail
program="$1/cardwright"
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

root="$work/root"
"$program" formats --root "$root" >/dev/null || fail "the data root was not set up"

# A mistyped option or command: exit 2, one line naming it, nothing written.
expect_usage_error() { # expected-text args...
    local expected=$1; shift
    local said code
    said=$("$program" "$@" 2>&1 >/dev/null); code=$?
    [ "$code" -eq 2 ] || fail "'$*' exited $code, not 2"
    [ "$(wc -l <<<"$said")" -eq 1 ] || fail "'$*' said more than one line: $said"
    grep -qF -- "$expected" <<<"$said" || fail "'$*' said: $said"
}
mkdir "$work/out"
expect_usage_error "unknown option '--fromat'" print --root "$root" --card testcrd --fromat wbfb --pdf "$work/out/x.pdf"
expect_usage_error "unknown option '--dip'" export --root "$root" --card testcrd --dip 300 --out "$work/out/x.png"
expect_usage_error "unknown option '--partner'" print --root "$root" --card testcrd --partner --pdf "$work/out/x.pdf"
expect_usage_error "unknown command 'bogus'" bogus
expect_usage_error "--dpi takes a whole number" export --root "$root" --card testcrd --dpi 0 --out "$work/out/x.png"
[ -z "$(ls -A "$work/out")" ] || fail "a refused command wrote $(ls "$work/out")"

"$program" --version | grep -qE '^Cardwright [0-9]+\.[0-9]+' || fail "--version"
"$program" help print | grep -q -- '--one-sheet' || fail "help print lacks --one-sheet"
[ "$("$program" print --help)" = "$("$program" help print)" ] || fail "print --help differs from help print"

# A failure: exit 1 and one line.
said=$("$program" print --root "$root" --card nosuch --pdf "$work/out/x.pdf" 2>&1); code=$?
[ "$code" -eq 1 ] && [ "$(wc -l <<<"$said")" -eq 1 ] || fail "a missing card: exit $code, said: $said"

# A folder that takes no new files is named before anything is drawn.
mkdir "$work/locked" && chmod 555 "$work/locked"
if ! touch "$work/locked/probe" 2>/dev/null; then
    said=$("$program" print --root "$root" --card testcrd --pdf "$work/locked/x.pdf" 2>&1); code=$?
    [ "$code" -eq 1 ] && grep -q "does not take new files" <<<"$said" &&
        [ "$(wc -l <<<"$said")" -eq 1 ] || fail "a locked folder: exit $code, said: $said"
fi
rm -f "$work/locked/probe"

# Three exports at once, each into its own folder: each gets its own pictures only.
for job in a b c; do mkdir "$work/$job"; done
"$program" export --root "$root" --card testcrd --out "$work/a/alpha.gif" >/dev/null & one=$!
"$program" export --root "$root" --card testcrd --format wbfb --out "$work/b/bravo.jpg" >/dev/null & two=$!
"$program" export --root "$root" --card testcrd --format sayc --dpi 150 --out "$work/c/charlie.png" >/dev/null & three=$!
for pid in $one $two $three; do wait "$pid" || fail "an export running beside others failed"; done
[ "$(ls "$work/a" | tr '\n' ' ')" = "alpha.gif alpha_.gif " ] || fail "a: $(ls "$work/a")"
[ "$(ls "$work/b" | tr '\n' ' ')" = "bravo.jpg bravo_.jpg " ] || fail "b: $(ls "$work/b")"
[ "$(ls "$work/c" | tr '\n' ' ')" = "charlie.png charlie_.png " ] || fail "c: $(ls "$work/c")"

# A long print stopped by SIGTERM leaves neither its output nor its scratch file.
for i in $(seq 1 150); do
    cp "$root/acbl/testcrd.acb" "$root/acbl/card$i.acb"
    cp "$root/acbl/testcrd_.acb" "$root/acbl/card${i}_.acb"
done
mkdir "$work/stopped"
"$program" print --root "$root" --card '*' --format acbl --pdf "$work/stopped/all.pdf" >/dev/null 2>&1 & job=$!
for _ in $(seq 1 600); do
    ls -A "$work/stopped" | grep -q '\.part$' && break
    sleep 0.05
done
ls -A "$work/stopped" | grep -q '\.part$' || fail "the print made no scratch file to stop in"
kill -TERM "$job"
wait "$job"; code=$?
[ "$code" -ne 0 ] || fail "the stopped print exited 0"
[ -z "$(ls -A "$work/stopped")" ] || fail "a stopped print left $(ls -A "$work/stopped")"
echo "command line ok"
