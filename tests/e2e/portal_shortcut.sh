#!/usr/bin/env bash
# End to end: on a Wayland session the quick-find key is bound through the desktop portal, and the
# portal's activation opens the window (portal_shortcut.py plays the portal on a private bus).
# Usage: portal_shortcut.sh <program executable>
set -euo pipefail
exe=$1
source "$(dirname "$0")/lib.sh"
start_xvfb 210
cp "$exe" "$work/dialnestplus"
portable_folder
printf '[Data]\r\nDATA1=g1\r\n' > "$work/dnstplus.ini"
run_driver_on_bus "$(dirname "$0")/portal_shortcut.py"
