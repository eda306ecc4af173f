#!/usr/bin/env bash
# End to end: the program starts before any tray exists (a panel that comes up later); its icon must
# appear once the tray does. Usage: tray_late.sh <program executable>
set -euo pipefail
exe=$1
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
wait_for() { # seconds command...
  local limit=$1; shift
  local end=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.1
  done
}

for n in $(seq 240 300); do [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] || break; done
export DISPLAY=:$n QT_QPA_PLATFORM=xcb
Xvfb "$DISPLAY" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
wait_for 10 xdpyinfo || fail "Xvfb did not start"

cp "$exe" "$work/dialnestplus"
"$work/dialnestplus" > "$work/out.log" 2>&1 &
prog=$!
pids+=($prog)
sleep 3
kill -0 "$prog" 2>/dev/null || fail "the program ended without a tray: $(cat "$work/out.log")"

trayer --edge top --align left --widthtype pixel --width 100 --height 24 > "$work/trayer.log" 2>&1 &
pids+=($!)
icon() { xwininfo -root -tree | grep -q '("dialnestplus" "Dialnest Plus")'; }
wait_for 15 icon || fail "no icon after the tray came up: $(cat "$work/out.log" "$work/trayer.log")"
echo "icon appeared after the tray came up"
echo "1 passed, 0 failed"
