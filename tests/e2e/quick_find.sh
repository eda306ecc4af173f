#!/usr/bin/env bash
# End to end: the quick-find window of the real program in Xvfb with trayer. The global shortcut
# (Ctrl+Alt+F, grabbed from the X server) opens it; typing romaji and Enter puts the exact line on the X
# clipboard; `dialnestplus --find` from a second process opens the window of the first; the tray menu's
# item opens it too.
# Usage: quick_find.sh <program executable> [screenshot folder]
set -euo pipefail
exe=$1
shots=${2:-}
source "$(dirname "$0")/lib.sh"
start_xvfb 140
start_trayer

cp "$exe" "$work/dialnestplus"
printf '[Data]\r\nDATA1=家族\r\nDATA2=仕事\r\nDATA3=取引先\r\nClipen=False\r\n' | iconv -f UTF-8 -t CP932 > "$work/dnstplus.ini"
# Group 1: 田中 一郎<TAB>03-1234-5678 under た (the 16th letter); group 2: 高橋 under た as well.
tanaka=$(printf '田中 一郎\t03-1234-5678' | iconv -f UTF-8 -t CP932)
takahashi=$(printf 'タカハシ 高橋\t090-1111-2222' | iconv -f UTF-8 -t CP932)
book() { # letter-16 line
  for k in $(seq 44); do
    printf '[D@TA]\r\n'
    if [ "$k" = 16 ]; then printf "%s\r\n" "$1"; fi
  done
}
book "$tanaka" > "$work/Teldat1.tel"
book "$takahashi" > "$work/Teldat2.tel"
mkdir "$work/Teldat3.tel"  # a group file that is a folder: named in the window, the rest searched
expected=$(printf '田中 一郎\t03-1234-5678' | od -An -tx1)

export QT_LOGGING_RULES="dialnest.find=true"
start_program
wait_for 20 icon_geometry || fail "no tray icon appeared: $(cat "$work/out.log")"
find_window() { xdotool search --name '^クイック検索$'; }

# The shortcut: measured from the key to the window being mapped.
t0=$(date +%s%N)
xdotool key ctrl+alt+f
wait_for 10 find_window || fail "Ctrl+Alt+F opened no window: $(cat "$work/out.log")"
echo "shortcut to window (xdotool to xdotool): $(( ($(date +%s%N) - t0) / 1000000 )) ms"
wait_for 5 grep -q 'window drawn' "$work/out.log" || fail "the window never drew"
echo "in the program: $(grep -m1 'window drawn' "$work/out.log" | sed 's/.*window drawn/window drawn/')"
sleep 0.5
xdotool type --delay 40 tanaka
sleep 0.5
[ -n "$shots" ] && import -window root "$shots/quick-find.png"
xdotool key Return
wait_for 5 sh -c "! xdotool search --name '^クイック検索$'" || fail "Enter did not close the window"
got=$(xclip -o -selection clipboard | od -An -tx1) || fail "clipboard empty"
[ "$got" = "$expected" ] || fail "clipboard holds [$got], expected [$expected]"
echo "typing tanaka and Enter copies the exact line"
echo "in the program: $(grep -m1 'entries read in' "$work/out.log" | sed 's/.*dialnest.find: //')"

# A second start with --find hands over to the first and ends at once.
t0=$(date +%s%N)
"$work/dialnestplus" --find >"$work/second.log" 2>&1 || fail "dialnestplus --find failed: $(cat "$work/second.log")"
echo "dialnestplus --find returned after $(( ($(date +%s%N) - t0) / 1000000 )) ms"
wait_for 10 find_window || fail "--find opened no window in the running program"
[ "$(find_window | wc -l)" = 1 ] || fail "more than one quick-find window"
kill -0 "$prog" || fail "the first instance ended"
xdotool type --delay 40 takahashi
sleep 0.3
xdotool key Escape
wait_for 5 sh -c "! xdotool search --name '^クイック検索$'" || fail "Esc did not close the window"
got=$(xclip -o -selection clipboard | od -An -tx1)
[ "$got" = "$expected" ] || fail "Esc changed the clipboard"
echo "--find opens the running program's window; Esc closes it and copies nothing"

# The tray menu's first item.
geo=$(icon_geometry)
x=$(echo "$geo" | cut -d+ -f2); y=$(echo "$geo" | cut -d+ -f3)
xdotool mousemove $((x + 10)) $((y + 10)) click 3
sleep 1
xdotool key f
wait_for 10 find_window || fail "the tray menu item opened no window"
echo "the tray menu item opens the window"
xdotool key Escape
