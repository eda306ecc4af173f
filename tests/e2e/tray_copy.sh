#!/usr/bin/env bash
# End to end: the real program in Xvfb with trayer as tray host. Right-click the tray icon, pick an entry
# by keyboard and read the X clipboard; add an entry through the editor window and copy it from the tray;
# then quit through the menu.
# Usage: tray_copy.sh <program executable> [screenshot folder]
set -euo pipefail
exe=$1
shots=${2:-}
source "$(dirname "$0")/lib.sh"
start_xvfb 90
start_trayer

# The program folder is the executable's folder: give it a prepared phone book and settings.
cp "$exe" "$work/dialnestplus"
printf '[Data]\r\nDATA1=g1\r\nClipen=True\r\n' > "$work/dnstplus.ini"
# 阿部 太郎<TAB>03-1234-5678 & Co, in code page 932, under あ; then 43 more markers.
line=$'\x88\xa2\x95\x94 \x91\xbe\x98\x59\t03-1234-5678 & Co  '
{ printf '[D@TA]\r\n%s\r\n' "$line"; for _ in $(seq 43); do printf '[D@TA]\r\n'; done; } > "$work/Teldat1.tel"
expected=$(printf '%s' "$line" | iconv -f CP932 -t UTF-8 | od -An -tx1)

start_ns=$(date +%s%N)
start_program
wait_for 20 icon_geometry || fail "no tray icon appeared: $(cat "$work/out.log"; xwininfo -root -tree)"
echo "start-up to tray icon: $(( ($(date +%s%N) - start_ns) / 1000000 )) ms"
geo=$(icon_geometry)
x=$(echo "$geo" | cut -d+ -f2); y=$(echo "$geo" | cut -d+ -f3)
cx=$((x + 10)); cy=$((y + 10))

[ "$(cat "$work/dnstplus.ini" | tr -d '\r' | grep -c '^Topview=True$')" = 1 ] || fail "Topview default not written"

xdotool mousemove "$cx" "$cy" click 3
sleep 1
xdotool key a; sleep 0.4
xdotool key Right; sleep 0.4
xdotool key Right; sleep 0.6
[ -n "$shots" ] && import -window root "$shots/tray-menu.png"
xdotool key Return
sleep 0.5
got=$(xclip -o -selection clipboard | od -An -tx1) || fail "clipboard empty"
[ "$got" = "$expected" ] || fail "clipboard holds [$got], expected [$expected]"
echo "clipboard holds exactly the line"

# The editor: choose か from its menu bar, add an entry, close it; the tray menu shows it at once.
xdotool mousemove "$cx" "$cy" click 3
sleep 1
xdotool key i
wait_for 10 xdotool search --name '新規登録' || fail "the editor did not open"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$(xdotool search --name '新規登録' | head -1)")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 15)) click 1  # activates it (no window manager here)
sleep 0.3
xdotool key alt+b; sleep 0.4
xdotool key k; sleep 0.4
xdotool key Right; sleep 0.4
xdotool key Return; sleep 0.4
xdotool type --delay 20 'Kato 090-0000 (mobile)'
xdotool key alt+z; sleep 0.4
[ -n "$shots" ] && import -window root "$shots/editor.png"
xdotool mousemove $((X + WIDTH - 32)) $((Y + HEIGHT - 16)) click 1  # 閉じる
wait_for 10 sh -c "! xdotool search --name '新規登録'" || fail "the editor did not close"
grep -q $'^Kato 090-0000 (mobile)\r$' "$work/Teldat1.tel" || fail "the entry was not saved: $(od -c "$work/Teldat1.tel" | head)"
xdotool mousemove "$cx" "$cy" click 3
sleep 1
xdotool key k; sleep 0.4
xdotool key Right; sleep 0.4
xdotool key Right; sleep 0.4
xdotool key Return
sleep 0.5
got=$(xclip -o -selection clipboard) || fail "clipboard empty"
[ "$got" = 'Kato 090-0000 (mobile)' ] || fail "clipboard holds [$got] after the editor"
echo "an entry added in the editor is copied from the tray"

xdotool mousemove "$cx" "$cy" click 3
sleep 1
xdotool key q
for _ in $(seq 100); do kill -0 "$prog" 2>/dev/null || break; sleep 0.1; done
kill -0 "$prog" 2>/dev/null && fail "program still running after 終了"
wait "$prog" || fail "program exited with $?: $(cat "$work/out.log")"
icon_geometry && fail "tray icon still there"
echo "1 passed, 0 failed"
