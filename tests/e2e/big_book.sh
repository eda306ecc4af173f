#!/usr/bin/env bash
# A phone book of 1,000,000 entries (generated here, never committed): a panel asking for the whole
# menu at once gets an answer the bus can carry, the program stays on the bus, and a letter comes whole
# when asked for. Usage: big_book.sh <program executable>
set -euo pipefail
exe=$1
source "$(dirname "$0")/lib.sh"
cp "$exe" "$work/dialnestplus"
portable_folder
ENTRIES=1000000 dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/../../bench/layout_bench.py" \
  "$work/dialnestplus" "$work" 2> >(grep -v '^dbus-daemon' >&2)
