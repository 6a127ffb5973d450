#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a Linux desktop reads of it: the
# desktop entry, the AppStream metainfo and the MIME types validate, the icons are where the
# icon theme looks, the shipped data is read-only, and the installed program seeds a data root
# from an empty folder without the source tree.
#   install_tree_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
prefix=$work/usr
cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share
fail() { echo "FAIL: $*" >&2; exit 1; }

desktop-file-validate "$share/applications/org.cardwright.Cardwright.desktop"
appstreamcli validate --no-net --pedantic --explain "$share/metainfo/org.cardwright.Cardwright.metainfo.xml" |
    grep -v '^P: .*cid-contains-uppercase-letter' | grep -q 'Validation was successful' ||
    fail "metainfo does not validate"
# The MIME database builds from our types, and every shipped format's card extension has one.
mkdir -p "$work/mime/packages"
cp "$share/mime/packages/org.cardwright.Cardwright.xml" "$work/mime/packages/"
XDG_DATA_DIRS=$work update-mime-database "$work/mime" 2>&1 | (! grep .) || fail "MIME types do not validate"
for ext in $(tr -d '\r' <"$share/cardwright/cwr.sys" | awk '$1 == "w04" { print $2 }'); do
    grep -q ":\*\.$ext$" "$work/mime/globs2" || fail "no MIME type for .$ext cards"
done
for mime in $(grep -o 'application/x-cardwright-[a-z]*' "$share/mime/packages/org.cardwright.Cardwright.xml" | sort -u); do
    grep -q "$mime" "$share/applications/org.cardwright.Cardwright.desktop" ||
        fail "the desktop entry does not open $mime"
done
[ -f "$share/icons/hicolor/scalable/apps/cardwright.svg" ] || fail "no scalable icon"
for size in 16 22 24 32 48 64 128 256; do
    icon=$share/icons/hicolor/${size}x${size}/apps/cardwright.png
    [ -f "$icon" ] || fail "no ${size}px icon"
    [ "$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print(*struct.unpack(">II", d[16:24]))' "$icon")" = "$size $size" ] ||
        fail "the ${size}px icon has another size"
done
[ -f "$share/bash-completion/completions/cardwright" ] || fail "no bash completion"
[ -f "$share/doc/cardwright/copyright" ] || fail "no copyright file"

[ -f "$share/man/man1/cardwright.1.gz" ] || fail "no man page"
man=$work/cardwright.1
zcat "$share/man/man1/cardwright.1.gz" >"$man"
# Bash completion, as bash runs it.
complete_words() {
    PATH="$prefix/bin:$PATH" QT_QPA_PLATFORM=offscreen bash -c '
        source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        _cardwright; echo "${COMPREPLY[*]}"' _ "$share/bash-completion/completions/cardwright" "$@"
}
[ ! -e "$share/cardwright/help" ] || fail "the help pages are built in, not installed"

# The installed program, started from an empty folder with the source tree out of reach,
# seeds a new data root from the installed data and lists its formats; the installed data
# stays as it was.
before=$(cd "$share/cardwright" && find . -type f -exec md5sum {} + | sort)
chmod -R a-w "$share/cardwright"
mkdir "$work/empty"
out=$(cd "$work/empty" && env -i HOME="$work/home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen \
    "$prefix/bin/cardwright" formats --root "$work/root")
grep -q "ACBL" <<<"$out" || fail "the installed program lists no ACBL format: $out"
grep -qw "acbl" <<<"$(complete_words cardwright print --root "$work/root" --format "")" ||
    fail "completion lacks the format codes"
grep -qw "testcrd" <<<"$(complete_words cardwright print --root "$work/root" --card "")" ||
    fail "completion lacks the card names"
[ -f "$work/root/cwr.sys" ] || fail "no data root seeded"
[ -w "$work/root/cwr.sys" ] || fail "the seeded root is not writable"
after=$(cd "$share/cardwright" && find . -type f -exec md5sum {} + | sort)
[ "$before" = "$after" ] || fail "the installed data changed"
echo "install tree ok"

# The manual names every command the program's help lists, and every option of each; bash
# completion offers them.
commands=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/cardwright" --help |
    awk '/without a display:$/ { l = 1; next } /^Options:/ { l = 0 }
         l && /^  [a-z]/ { sub(/^  /, ""); split($0, name, /   +/); print name[1] }')
if [ -z "$commands" ]; then
    echo "the program's help lists no commands to check the manual against"
    exit 77
fi
# A command may be two words ("format new"): completion offers the second after the first.
while read -r command; do
    grep -q "^\.SS $command\$" "$man" || fail "the man page lacks the command $command"
    # shellcheck disable=SC2086 # the command's words are separate arguments
    for option in $(QT_QPA_PLATFORM=offscreen "$prefix/bin/cardwright" help $command | grep -o '^  --[a-z-]*'); do
        grep -q -- "$(sed 's/-/\\\\-/g' <<<"$option")" "$man" || fail "the man page lacks $command $option"
    done
    read -r first second <<<"$command"
    grep -qw "$first" <<<"$(complete_words cardwright "")" || fail "completion lacks $first"
    [ -z "$second" ] || grep -qw "$second" <<<"$(complete_words cardwright "$first" "")" ||
        fail "completion lacks $command"
    # shellcheck disable=SC2086
    grep -qw -- "--root" <<<"$(complete_words cardwright $command --)" ||
        fail "completion lacks the options of $command"
done <<<"$commands"
grep -qw -- "--card" <<<"$(complete_words cardwright print --)" || fail "completion lacks print --card"
echo "manual and completion ok"
