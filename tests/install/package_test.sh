#!/usr/bin/env bash
# Builds the Debian package and checks its control fields (dependencies computed from the
# binary), its file list, and that lintian finds no error in it.
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
(cd "$build" && cpack -G DEB -B "$work" >/dev/null)
deb=$(ls "$work"/cardwright_*.deb)
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = cardwright ] || fail "package name"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture"
for lib in libqt6widgets6 libqt6printsupport6 libgif7 libcurl4 libc6; do
    grep -q "$lib" <<<"$(field Depends)" || fail "Depends lacks $lib: $(field Depends)"
done
files=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for path in ./usr/bin/cardwright ./usr/share/cardwright/cwr.sys \
    ./usr/share/applications/org.cardwright.Cardwright.desktop \
    ./usr/share/metainfo/org.cardwright.Cardwright.metainfo.xml \
    ./usr/share/mime/packages/org.cardwright.Cardwright.xml \
    ./usr/share/icons/hicolor/scalable/apps/cardwright.svg \
    ./usr/share/man/man1/cardwright.1.gz ./usr/share/doc/cardwright/copyright \
    ./usr/share/bash-completion/completions/cardwright; do
    grep -qx "$path" <<<"$files" || fail "the package lacks $path"
done
if command -v lintian >/dev/null; then
    errors=$(lintian --no-tag-display-limit "$deb" 2>&1 | grep '^E:' || true)
    [ -z "$errors" ] || fail "lintian: $errors"
fi
echo "package ok"
