#!/usr/bin/env bash
# Installs the build into a temporary prefix through DESTDIR, as a package build does, and
# checks what landed there with the desktop's own tools: the file list, the desktop entry, the
# AppStream data, the manual page (which must name every option of --help), the song type, and
# the installed program itself on every installed example song.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=/opt/fretwick-install-test
DESTDIR="$work/dest" cmake --install "$build" --prefix "$prefix" >"$work/install.log"
root="$work/dest$prefix"
fail=0
problem() { echo "FAIL: $*"; fail=1; }

# Nothing is written outside DESTDIR.
[ -e "$prefix" ] && problem "installed outside DESTDIR into $prefix"

expected="bin/fretwick
share/applications/fretwick.desktop
share/fretwick/BCHORDS.DCT
share/fretwick/help/getting_started.html
share/fretwick/help/index.html
share/man/man1/fretwick.1.gz
share/metainfo/org.fretwick.Fretwick.metainfo.xml
share/mime/packages/fretwick.xml
share/icons/hicolor/scalable/apps/fretwick.svg"
for size in 16 22 24 32 48 64 128 256; do
    expected+=$'\n'"share/icons/hicolor/${size}x${size}/apps/fretwick.png"
done
while read -r file; do
    [ -f "$root/$file" ] || problem "missing $file"
done <<<"$expected"
# Only the program and its data: no libraries, headers or test programs.
(cd "$root" && find . -type f | sed 's|^\./||') | grep -v -E \
    '^(bin/fretwick|share/(applications|metainfo|man/man1|mime/packages|icons/hicolor/[^/]+/apps|doc/fretwick|fretwick(/help|/examples)?)/[^/]+)$' \
    && problem "unexpected files above"
for size in 16 22 24 32 48 64 128 256; do
    file "$root/share/icons/hicolor/${size}x${size}/apps/fretwick.png" |
        grep -q "PNG image data, $size x $size" || problem "icon ${size}x${size} is not that size"
done

desktop-file-validate "$root/share/applications/fretwick.desktop" | grep -v ': hint: ' &&
    problem "desktop-file-validate"
grep -qx 'Exec=fretwick %f' "$root/share/applications/fretwick.desktop" || problem "Exec line"
appstreamcli validate --no-net "$root/share/metainfo/org.fretwick.Fretwick.metainfo.xml" \
    >"$work/appstream.log" 2>&1 || { cat "$work/appstream.log"; problem "appstreamcli validate"; }

# The manual page renders without warnings and names every option --help lists.
MANWIDTH=100 man --warnings -l "$root/share/man/man1/fretwick.1.gz" >"$work/man.txt" 2>"$work/man.err" ||
    problem "man -l"
[ -s "$work/man.err" ] && { cat "$work/man.err"; problem "man page warnings"; }
for option in $("$root/bin/fretwick" --help | grep -o -E -- '--[a-z][a-z-]*' | sort -u); do
    grep -q -- "$option" "$work/man.txt" || problem "the manual page lacks $option"
done
grep -q 'EXIT STATUS' "$work/man.txt" || problem "the manual page lacks its exit status"
grep -q 'FILES' "$work/man.txt" || problem "the manual page lacks its files"

# The song type, as the desktop reads it from the installed MIME package.
mkdir -p "$work/share/mime/packages" "$work/songs"
cp "$root/share/mime/packages/fretwick.xml" "$work/share/mime/packages/"
update-mime-database "$work/share/mime" >/dev/null 2>&1
printf '*Info 1:x\r\n' >"$work/songs/a.FWK"
type=$(env -u XDG_CURRENT_DESKTOP -u DISPLAY XDG_DATA_DIRS="$work/share:/usr/share" \
    XDG_DATA_HOME="$work/none" xdg-mime query filetype "$work/songs/a.FWK")
[ "$type" = application/x-fretwick ] || problem "xdg-mime reads $type for a song"

# The installed program.
version=$("$root/bin/fretwick" --version)
[ "$version" = "Fretwick $(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' \
    "$root/share/metainfo/org.fretwick.Fretwick.metainfo.xml" | head -1)" ] ||
    problem "--version says '$version', the release notes another version"
count=0
for song in "$root"/share/fretwick/examples/*.fwk; do
    count=$((count + 1))
    name=$(basename "$song")
    "$root/bin/fretwick" --check "$song" >"$work/check.txt" ||
        { cat "$work/check.txt"; problem "--check $name"; }
    grep -q '^\* Title: ' "$song" || problem "$name has no title"
    "$root/bin/fretwick" --export-midi "$song" "$work/song.mid" >/dev/null &&
        [ "$(stat -c %s "$work/song.mid")" -gt 200 ] || problem "$name does not play"
done
[ "$count" -ge 8 ] || problem "only $count example songs"

[ "$fail" -eq 0 ] && echo "installed $(wc -l <"$build/install_manifest.txt") files; all checks passed"
exit "$fail"
