#!/usr/bin/env bash
# End to end through the StatusNotifier protocol: a private session bus, no XEmbed tray, and a panel of
# the test's own (sni_panel.py) that comes up three seconds after the program.
# Usage: tray_sni.sh <program executable>
set -euo pipefail
exe=$1
source "$(dirname "$0")/lib.sh"
start_xvfb 170

cp "$exe" "$work/dialnestplus"
portable_folder
printf '[Data]\r\nDATA1=g1\r\nClipen=True\r\n' > "$work/dnstplus.ini"
{ printf '[D@TA]\r\ntaro_kato@example.jp\r\n'; for _ in $(seq 43); do printf '[D@TA]\r\n'; done; } > "$work/Teldat1.tel"
run_driver_on_bus "$(dirname "$0")/sni_panel.py"
