#!/usr/bin/env bash
# The install tree, the Debian package's contents, and the installed program started as an unprivileged
# user whose program folder is read-only: its files go to $XDG_DATA_HOME/dialnestplus/.
# Usage: install.sh <build folder>
set -euo pipefail
build=$1
source "$(dirname "$0")/../e2e/lib.sh"
chmod 755 "$work"
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/dialnestplus share/applications/org.dialnestplus.dialnestplus.desktop share/icons/hicolor/scalable/apps/dialnestplus.svg \
         share/dialnestplus/dialnestplus-help.html; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
for n in 16 22 24 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${n}x$n/apps/dialnestplus.png"
  [ "$(identify -format '%wx%h' "$png")" = "${n}x$n" ] || fail "$png is not $n x $n"
done
report=$(desktop-file-validate "$prefix/share/applications/org.dialnestplus.dialnestplus.desktop" 2>&1) || fail "invalid desktop file: $report"
[ -z "$report" ] || fail "desktop-file-validate is not clean: $report"
grep -q '^Name\[ja\]=' "$prefix/share/applications/org.dialnestplus.dialnestplus.desktop" || fail "no Japanese name"
grep -q '^Categories=Office;' "$prefix/share/applications/org.dialnestplus.dialnestplus.desktop" || fail "categories"
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/dialnestplus.svg" || fail "the scalable icon is no SVG"
echo "install tree complete"

(cd "$build" && cpack -G DEB -B "$work/pkg" >/dev/null) || fail "cpack failed"
deb=$(ls "$work"/pkg/dialnestplus_*.deb)
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/dialnestplus ./usr/share/applications/org.dialnestplus.dialnestplus.desktop \
         ./usr/share/icons/hicolor/256x256/apps/dialnestplus.png ./usr/share/dialnestplus/dialnestplus-help.html; do
  grep -q " $f\$" <<<"$contents" || fail "the package lacks $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6gui6; do
  [[ "$depends" == *"$d"* ]] || fail "Depends lacks $d: $depends"
done
echo "package $(basename "$deb"): $(stat -c %s "$deb") bytes, Depends: $depends"

# The installed program as nobody: the program folder is not theirs to write.
start_xvfb 300
home="$work/home"
mkdir -p "$home" && chown 65534:65534 "$home"
setpriv --reuid=65534 --regid=65534 --clear-groups env -i HOME="$home" DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb \
  PATH=/usr/bin:/bin "$prefix/bin/dialnestplus" >"$work/nobody.log" 2>&1 &
prog=$!
pids+=($prog)
ini="$home/.local/share/dialnestplus/dnstplus.ini"
wait_for 20 grep -q '^Topview=True' "$ini" || fail "no settings in the user's data folder: $(cat "$work/nobody.log")"
expected=$(printf '[Data]\r\nWidth=5595\r\nHeight=4400\r\nDATA1=\x83\x4f\x83\x8b\x81\x5b\x83\x76\x31\r\nDATA2=\x83\x4f\x83\x8b\x81\x5b\x83\x76\x32\r\nDATA3=\x83\x4f\x83\x8b\x81\x5b\x83\x76\x33\r\nDATA4=\x83\x4f\x83\x8b\x81\x5b\x83\x76\x34\r\nDATA5=\x83\x4f\x83\x8b\x81\x5b\x83\x76\x35\r\nClipen=False\r\nTopview=True\r\n' | od -An -tx1)
[ "$(od -An -tx1 "$ini")" = "$expected" ] || fail "the defaults differ: $(od -c "$ini")"
[ ! -e "$prefix/bin/dnstplus.ini" ] || fail "a file was written beside the installed program"
echo "an unprivileged user's files go to ~/.local/share/dialnestplus/"
kill "$prog"

# Installed where the user may write (the README's `cmake --install --prefix ~/.local`): the program's
# folder still gets no data; they go to the user's data folder all the same.
local_prefix="$work/home2/.local"
cmake --install "$build" --prefix "$local_prefix" >/dev/null
env -i HOME="$work/home2" DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb PATH=/usr/bin:/bin \
  "$local_prefix/bin/dialnestplus" >"$work/local.log" 2>&1 &
prog=$!
pids+=($prog)
wait_for 20 grep -q '^Topview=True' "$local_prefix/share/dialnestplus/dnstplus.ini" ||
  fail "no settings in ~/.local/share/dialnestplus: $(cat "$work/local.log"; ls -a "$local_prefix/bin")"
[ -z "$(ls "$local_prefix/bin" | grep -v '^dialnestplus$')" ] || fail "files beside ~/.local/bin/dialnestplus: $(ls "$local_prefix/bin")"
grep -q "data folder: \"$local_prefix/share/dialnestplus/\"" "$work/local.log" || fail "the log names no data folder: $(cat "$work/local.log")"
echo "a program installed under ~/.local keeps its data in ~/.local/share/dialnestplus/"
kill "$prog"
echo "1 passed, 0 failed"
