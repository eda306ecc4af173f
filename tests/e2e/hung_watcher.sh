#!/usr/bin/env bash
# End to end: a StatusNotifierWatcher that never answers must not freeze the program (hung_watcher.py).
# Usage: hung_watcher.sh <program executable>
set -euo pipefail
exe=$1
source "$(dirname "$0")/lib.sh"
start_xvfb 200
cp "$exe" "$work/dialnestplus"
portable_folder
printf '[Data]\r\nDATA1=g1\r\nClipen=True\r\n' > "$work/dnstplus.ini"
run_driver_on_bus "$(dirname "$0")/hung_watcher.py"
