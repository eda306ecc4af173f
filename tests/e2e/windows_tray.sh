#!/usr/bin/env bash
# End to end on Windows: the real Windows program (its portable folder) under Wine on Xvfb with trayer.
# Wine docks the program's notification-area icon into the X tray; a right click opens the designed
# popup menu; choosing an entry puts the exact line on the clipboard (Wine hands it to X, read back with
# xclip); a left click opens the organiser by the tray; 終了 ends the program. Given the Linux program
# too, the same session is run with it and the data files of both must be byte for byte the same.
# Usage: windows_tray.sh <portable folder> [linux program, or -] [screenshot folder]
set -euo pipefail
portable=$1
linux=${2:-}
[ "$linux" = - ] && linux=""
shots=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
start_xvfb 140
start_trayer bottom right

# Each run gets a prefix of its own, whose wineserver (and so every Wine process) is ended at the end.
: "${DN_WINE_TEMPLATE:?}"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" TZ=Asia/Tokyo
cp -a "$DN_WINE_TEMPLATE" "$WINEPREFIX"
end_wine() { /usr/lib/wine/wineserver -k 2>/dev/null || true; }
trap 'end_wine; cleanup' EXIT

# The data the program finds beside itself: settings with copying on, and one entry under あ.
prepare() { # folder
  printf '[Data]\r\nDATA1=g1\r\nClipen=True\r\n' > "$1/dnstplus.ini"
  # 阿部 太郎<TAB>03-1234-5678 & Co, in code page 932, under あ; then 43 more markers.
  local line=$'\x88\xa2\x95\x94 \x91\xbe\x98\x59\t03-1234-5678 & Co  '
  { printf '[D@TA]\r\n%s\r\n' "$line"; for _ in $(seq 43); do printf '[D@TA]\r\n'; done; } > "$1/Teldat1.tel"
}
expected=$(printf '%s' $'\x88\xa2\x95\x94 \x91\xbe\x98\x59\t03-1234-5678 & Co  ' | iconv -f CP932 -t UTF-8 | od -An -tx1)

# The icon docked in the tray: the one child window of the panel's socket that is not the panel's own.
docked_icon() {
  xwininfo -tree -id "$(xdotool search --name '^panel$' | head -1)" | grep -E "\(\"$1\" " | head -1 |
    grep -o '+[0-9-]*+[0-9-]*$'
}
# The program's mapped window named "Dialnest Plus" wider than a tray icon (its hidden main window and,
# on X11, its tray icon have the name too).
organiser() {
  local id info
  for id in $(xwininfo -root -tree | grep -F '"Dialnest Plus": ("'"$1"'"' | awk '{print $1}'); do
    info=$(xwininfo -id "$id" 2>/dev/null) || continue
    grep -q 'Map State: IsViewable' <<<"$info" && [ "$(awk '/Width:/ {print $2}' <<<"$info")" -gt 40 ] &&
      { echo "$id"; return 0; }
  done
  return 1
}

find_window() { xdotool search --name '^クイック検索$' | head -1 | grep .; }
gone() { # seconds command...: waits until the command fails
  local limit=$1; shift
  for _ in $(seq $((limit * 5))); do "$@" >/dev/null 2>&1 || return 0; sleep 0.2; done
  return 1
}
# Esc closes quick-find; without a window manager the window has the keyboard once clicked (its query
# line, at the top).
close_find() { # class
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$(find_window)")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + 12)) click 1
  sleep 0.5
  xdotool key Escape
  gone 10 find_window || fail "$1: Esc did not close quick-find"
}

# One session: copy the entry from the tray menu, open and close the organiser, open quick-find by its
# key and from a second start (`--find`), quit through the menu. Wine docks the icon as a window of its
# explorer.exe; Qt on X11 as one of the program's.
session() { # class icon-class pid second-start...
  local class=$1 iconClass=$2 pid=$3 geo x y
  shift 3
  wait_for 60 docked_icon "$iconClass" || fail "no tray icon docked for $class: $(xwininfo -root -tree | head -40)"
  geo=$(docked_icon "$iconClass")
  x=$(($(echo "$geo" | cut -d+ -f2) + 8)); y=$(($(echo "$geo" | cut -d+ -f3) + 8))
  printf 'before' | xclip -selection clipboard
  xdotool mousemove "$x" "$y" click 3
  sleep 2
  xdotool key a; sleep 0.7
  xdotool key Right; sleep 0.7
  xdotool key Right; sleep 0.8
  [ -n "$shots" ] && import -window root "$shots/$class-tray-menu.png"
  xdotool key Return
  sleep 1
  local got
  got=$(xclip -o -selection clipboard | od -An -tx1) || fail "clipboard empty"
  [ "$got" = "$expected" ] || fail "$class: clipboard holds [$got], expected [$expected]"
  echo "$class: the tray menu copied exactly the line"

  xdotool mousemove "$x" "$y" click 1
  wait_for 20 organiser "$class" || fail "$class: no organiser after a left click"
  sleep 1
  [ -n "$shots" ] && import -window root "$shots/$class-organiser.png"
  local X Y WIDTH HEIGHT ox oy ow oh
  eval "$(xdotool getwindowgeometry --shell "$(organiser "$class")")"
  ox=$X oy=$Y ow=$WIDTH oh=$HEIGHT
  # By the tray: its lower right corner at the pointer (kept on the screen).
  [ $((ox + ow)) -ge $((x - 40)) ] && [ $((oy + oh)) -ge $((y - 60)) ] ||
    fail "$class: organiser at ${ox},${oy} ${ow}x${oh}, pointer at $x,$y"
  echo "$class: a left click opened the organiser by the tray (${ow}x${oh}+${ox}+${oy})"
  # Its close button, the right end of the caption row: pointed at first (the picture buttons track the
  # pointer), then clicked.
  xdotool mousemove $((ox + ow - 12)) $((oy + 12)); sleep 0.3
  xdotool mousemove $((ox + ow - 11)) $((oy + 12)); sleep 0.3
  xdotool click 1
  local gone=0
  for _ in $(seq 100); do organiser "$class" >/dev/null || { gone=1; break; }; sleep 0.2; done
  [ "$gone" = 1 ] || fail "$class: the organiser did not close"

  # The quick-find key opens its window; Esc closes it. (Not the Windows program's: Wine hands a hot key
  # on only while one of its own windows has the keyboard, which no desktop gives it here; its hot key is
  # tested by platform_win_test.)
  if [ "$iconClass" != explorer.exe ]; then
    xdotool key ctrl+alt+f
    wait_for 20 find_window || fail "$class: Ctrl+Alt+F opened no quick-find window"
    close_find "$class"
    echo "$class: the quick-find key opened its window"
  fi
  # A second start with --find hands over to the running program and ends.
  "$@" --find >"$work/$class-second.log" 2>&1 || fail "$class: --find failed: $(cat "$work/$class-second.log")"
  wait_for 20 find_window || fail "$class: --find opened no window in the running program"
  close_find "$class"
  echo "$class: a second start with --find opened quick-find in the running program"

  xdotool mousemove "$x" "$y" click 3
  sleep 2
  xdotool key q
  for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "$class: still running after 終了"
  wait "$pid" || fail "$class: exited with $?: $(cat "$work/$class.log")"
  docked_icon "$iconClass" >/dev/null && fail "$class: tray icon still there"
  echo "$class: 終了 ended the program and removed its icon"
}

# Each program its own window system, whatever the caller's environment says.
unset QT_QPA_PLATFORM
mkdir -p "$work/win"
cp -a "$portable/." "$work/win/"
prepare "$work/win"
/usr/lib/wine/wine64 "$work/win/dialnestplus.exe" > "$work/dialnestplus.exe.log" 2>&1 &
pid=$!
pids+=("$pid")
session dialnestplus.exe explorer.exe "$pid" /usr/lib/wine/wine64 "$work/win/dialnestplus.exe"
end_wine

if [ -n "$linux" ]; then
  mkdir -p "$work/linux"
  cp "$linux" "$work/linux/dialnestplus"
  prepare "$work/linux"
  export QT_QPA_PLATFORM=xcb
  "$work/linux/dialnestplus" > "$work/dialnestplus.log" 2>&1 &
  pid=$!
  pids+=("$pid")
  session dialnestplus dialnestplus "$pid" "$work/linux/dialnestplus"
  # ToDo.dat: the organiser was only looked at, so neither program writes it.
  [ ! -e "$work/win/ToDo.dat" ] && [ ! -e "$work/linux/ToDo.dat" ] || fail "an organiser only looked at wrote ToDo.dat"
  for f in dnstplus.ini Teldat1.tel; do
    cmp "$work/win/$f" "$work/linux/$f" || fail "$f differs: $(od -c "$work/win/$f" | head -5) / $(od -c "$work/linux/$f" | head -5)"
  done
  diff -r "$work/win/Schedule" "$work/linux/Schedule" || fail "the schedule folders differ"
  echo "the data files of both programs are the same, byte for byte"
fi
echo "1 passed, 0 failed"
