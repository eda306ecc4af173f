#!/usr/bin/env bash
# The Debian package as a reviewer checks it: lintian clean (no error, warning or unoverridden info at
# the pedantic level), the AppStream metainfo and desktop entry valid, the manual page rendering without
# warnings, the control fields and the file list.
# Usage: package.sh <dialnestplus_*.deb>
set -euo pipefail
deb=$(readlink -f "$1")
source "$(dirname "$0")/../e2e/lib.sh"
fail_with() { echo "$2" >&2; fail "$1"; }

report=$(lintian --pedantic -I -E "$deb" 2>&1 | grep -v 'running with root privileges' || true)
[ -z "$report" ] || fail_with "lintian is not clean" "$report"
echo "lintian --pedantic -I -E: clean"

dpkg-deb -x "$deb" "$work/root"
files=$(cd "$work/root" && find . -type f | sort)
expected="./usr/bin/dialnestplus
./usr/share/applications/org.dialnestplus.dialnestplus.desktop
./usr/share/dialnestplus/dialnestplus-help.html
./usr/share/doc/dialnestplus/changelog.gz
./usr/share/doc/dialnestplus/copyright
./usr/share/icons/hicolor/128x128/apps/dialnestplus.png
./usr/share/icons/hicolor/16x16/apps/dialnestplus.png
./usr/share/icons/hicolor/22x22/apps/dialnestplus.png
./usr/share/icons/hicolor/24x24/apps/dialnestplus.png
./usr/share/icons/hicolor/256x256/apps/dialnestplus.png
./usr/share/icons/hicolor/32x32/apps/dialnestplus.png
./usr/share/icons/hicolor/48x48/apps/dialnestplus.png
./usr/share/icons/hicolor/64x64/apps/dialnestplus.png
./usr/share/icons/hicolor/scalable/apps/dialnestplus.svg
./usr/share/lintian/overrides/dialnestplus
./usr/share/man/man1/dialnestplus.1.gz
./usr/share/metainfo/org.dialnestplus.dialnestplus.metainfo.xml"
[ "$files" = "$expected" ] || fail_with "the file list differs" "$(diff <(echo "$expected") <(echo "$files"))"

report=$(appstreamcli validate --pedantic --no-net "$work/root/usr/share/metainfo/org.dialnestplus.dialnestplus.metainfo.xml" 2>&1) ||
  fail_with "the metainfo is not valid" "$report"
[[ "$report" == *"Validation was successful"* && "$report" != *"pedantic:"* ]] || fail_with "metainfo findings" "$report"
report=$(desktop-file-validate "$work/root/usr/share/applications/org.dialnestplus.dialnestplus.desktop" 2>&1) ||
  fail_with "invalid desktop file" "$report"
[ -z "$report" ] || fail_with "desktop-file-validate is not clean" "$report"
report=$(zcat "$work/root/usr/share/man/man1/dialnestplus.1.gz" | LC_ALL=C.UTF-8 groff -ww -man -Tutf8 2>&1 >/dev/null)
[ -z "$report" ] || fail_with "the manual page has warnings" "$report"
man -l "$work/root/usr/share/man/man1/dialnestplus.1.gz" 2>/dev/null | grep -q -- '--organizer' || fail "man -l shows no options"
echo "metainfo, desktop entry and manual page: valid, no warnings"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Description | head -1)" = "tray phone books, postal code search and organiser" ] || fail "summary: $(field Description)"
[[ "$(field Description)" != *";"* ]] || fail "a list separator in the description"
for d in libqt6widgets6 libqt6gui6; do [[ "$(field Depends)" == *"$d"* ]] || fail "Depends lacks $d"; done
[[ "$(field Depends)" != *fonts-* ]] || fail "fonts are hard dependencies: $(field Depends)"
[[ "$(field Recommends)" == *fonts-ipafont-gothic* ]] || fail "Recommends: $(field Recommends)"
[[ "$(field Suggests)" == *"fcitx5-frontend-qt6 | ibus"* ]] || fail "Suggests: $(field Suggests)"
# The program is built hardened: full RELRO (bind now) and fortified calls.
readelf -d "$work/root/usr/bin/dialnestplus" | grep -q 'FLAGS.*BIND_NOW' || fail "not linked with -z now"
readelf -S "$work/root/usr/bin/dialnestplus" | grep -q '\.comment' && fail "the program keeps its .comment section"
out=$(env -i PATH=/usr/bin:/bin LANG=C.UTF-8 "$work/root/usr/bin/dialnestplus" --version)
[ "$out" = "Dialnest Plus 1.50" ] || fail "--version says $out"
env -i PATH=/usr/bin:/bin LANG=C.UTF-8 "$work/root/usr/bin/dialnestplus" --help | grep -q -- '--organizer' || fail "--help"
echo "package $(basename "$deb"): $(stat -c %s "$deb") bytes, installed $(field Installed-Size) KiB"
echo "Depends: $(field Depends)"
echo "Recommends: $(field Recommends); Suggests: $(field Suggests)"
echo "1 passed, 0 failed"
