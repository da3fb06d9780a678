#!/usr/bin/env bash
# Builds the Debian package from a build folder, installs it on this machine, checks
# the installed result as a user would meet it, and removes it again.
# Usage: package-check.sh BUILD_DIR. Needs root (or sudo) to install.
set -euo pipefail
build=$(cd "$1" && pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

fail() { echo "package: FAILED: $*"; exit 1; }

(cd "$build" && cpack -G DEB >"$build/cpack.log" 2>&1) || { tail -20 "$build/cpack.log"; fail "cpack"; }
deb=$(ls -t "$build"/lyrabox_*.deb | head -1)
echo "package: built $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB)"
dpkg-deb --field "$deb" Package Version Section Depends | sed 's/^/package:   /'
dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' || fail "no Qt dependency found by shlibdeps"

if dpkg-query -W -f='${Status}' lyrabox 2>/dev/null | grep -q "install ok installed"; then
  fail "a lyrabox package is installed already; remove it first"
fi
work=$(mktemp -d)
cleanup() {
  $sudo apt-get purge -y -qq lyrabox >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y -qq --no-install-recommends "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "install"; }
echo "package: installed"

# The installed programs, from the installed paths.
[ "$(/usr/bin/lyrabox-cli --version)" = "lyrabox-cli 1.1" ] || fail "lyrabox-cli --version"
/usr/bin/lyrabox --version >/dev/null || fail "lyrabox --version"
printf 'name,tel,email\nKim,010-1234-5678,kim@example.com\n' >"$work/contacts.csv"
/usr/bin/lyrabox-cli memo import "$work/contacts.csv" -o "$work/contacts.mmo" || fail "memo import"
[ "$(stat -c %s "$work/contacts.mmo")" -eq 16384 ] || fail "memo file size"
/usr/bin/lyrabox-cli memo export "$work/contacts.mmo" | grep -q '^Kim,010-1234-5678,kim@example.com' || fail "memo export"
python3 - "$work/red.bmp" <<'EOF'
import struct, sys
w, h = 4, 2
row = b"\x00\x00\xff" * w  # BGR red, 12 bytes: already a multiple of 4
pixels = row * h
header = b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
open(sys.argv[1], "wb").write(header + info + pixels)
EOF
/usr/bin/lyrabox-cli convert "$work/red.bmp" "$work/red.png" || fail "convert"
/usr/bin/lyrabox-cli info "$work/red.png" | grep -q 'PNG' || fail "info of the converted picture"
echo "package: lyrabox-cli converts from /usr/bin"

# What the desktop reads: the entry, the file types, the icon, the manual pages.
desktop-file-validate /usr/share/applications/lyrabox.desktop || fail "desktop-file-validate"
for type in mmo:application/x-lyrabox-memo kok:application/x-lyrabox-song; do
  touch "$work/sample.${type%%:*}"
  got=$(xdg-mime query filetype "$work/sample.${type%%:*}")
  [ "$got" = "${type#*:}" ] || fail "xdg-mime says $got for .${type%%:*}, not ${type#*:}"
done
echo "package: desktop entry valid; .mmo and .kok map to their types"
for f in /usr/share/icons/hicolor/scalable/apps/lyrabox.svg /usr/share/icons/hicolor/256x256/apps/lyrabox.png \
         /usr/share/icons/hicolor/scalable/mimetypes/application-x-lyrabox-memo.svg \
         /usr/share/man/man1/lyrabox.1.gz /usr/share/man/man1/lyrabox-cli.1.gz \
         /usr/share/bash-completion/completions/lyrabox-cli; do
  [ -f "$f" ] || fail "missing $f"
done

cleanup
trap - EXIT
if dpkg-query -W -f='${Status}' lyrabox 2>/dev/null | grep -q "ok installed"; then fail "package still installed"; fi
[ ! -e /usr/bin/lyrabox-cli ] || fail "/usr/bin/lyrabox-cli left behind"
echo "package: removed; all checks passed"
