#!/usr/bin/env bash
# End to end: the program starts before any tray exists (a panel that comes up later); its icon must
# appear once the tray does. Usage: tray_late.sh <program executable>
set -euo pipefail
exe=$1
source "$(dirname "$0")/lib.sh"
start_xvfb 240

cp "$exe" "$work/dialnestplus"
start_program
sleep 3
kill -0 "$prog" 2>/dev/null || fail "the program ended without a tray: $(cat "$work/out.log")"

start_trayer
wait_for 15 icon_geometry || fail "no icon after the tray came up: $(cat "$work/out.log" "$work/trayer.log")"
echo "icon appeared after the tray came up"
echo "1 passed, 0 failed"
