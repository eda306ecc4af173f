#!/usr/bin/env bash
# The organiser's picture buttons through the accessibility bus, as a screen reader reads them.
# Usage: a11y.sh <program executable>
set -euo pipefail
exe=$1
source "$(dirname "$0")/lib.sh"
start_xvfb 290
start_trayer
cp "$exe" "$work/dialnestplus"
portable_folder
# The session bus starts the accessibility bus on demand (at-spi2-core).
dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/a11y_names.py" "$work/dialnestplus" "$work" ||
  fail "program output: $(cat "$work/out.log")"
