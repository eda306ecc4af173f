#!/usr/bin/env bash
# Start-up time (exec to tray icon mapped in an XEmbed tray) and resident memory of the program with a
# 5,000-entry phone book, under Xvfb + trayer. Usage: startup_memory.sh <program executable> [runs]
set -euo pipefail
exe=$1
runs=${2:-5}
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT

for n in $(seq 170 220); do [ -e /tmp/.X$n-lock ] || break; done
export DISPLAY=:$n QT_QPA_PLATFORM=xcb
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
until xdpyinfo >/dev/null 2>&1; do sleep 0.1; done
trayer --edge top --align left --widthtype pixel --width 100 --height 24 >/dev/null 2>&1 & pids+=($!)
until xdotool search --name '^panel$' >/dev/null 2>&1; do sleep 0.1; done

cp "$exe" "$work/dialnestplus"
printf '[Data]\r\nDATA1=g\r\nClipen=True\r\n' > "$work/dnstplus.ini"
# 5,000 entries spread over the 44 letters, each a name and a number in code page 932.
awk 'BEGIN { n = 0; for (k = 1; k <= 44; k++) { printf "[D@TA]\r\n"; per = (k <= 28) ? 114 : 113;
       for (i = 0; i < per && n < 5000; i++) { printf "\x8e\x52\x93\x63 \x91\xbe\x98\x59%05d\t03-%04d-%04d\r\n", n, n % 10000, (n * 7) % 10000; n++ } } }' \
  > "$work/Teldat1.tel"
[ "${EMPTY_BOOK:-}" = 1 ] && rm "$work/Teldat1.tel"
[ -f "$work/Teldat1.tel" ] && echo "phone book: $(grep -vc '^\[D@TA\]' "$work/Teldat1.tel") entries" || echo "phone book: none"

for r in $(seq "$runs"); do
  start=$(date +%s%N)
  "$work/dialnestplus" >/dev/null 2>&1 & prog=$!
  until xwininfo -root -tree 2>/dev/null | grep -q '("dialnestplus" "Dialnest Plus")  *[0-9]*x[0-9]*+[0-9]*+[0-9]*  +[0-9]*+[0-9]*'; do sleep 0.005; done
  ms=$(( ($(date +%s%N) - start) / 1000000 ))
  sleep 1
  rss=$(awk '/VmRSS/ {print $2}' /proc/$prog/status)
  echo "run $r: start-up to tray icon $ms ms, resident $((rss / 1024)) MiB ($rss kB)"
  kill $prog; wait $prog 2>/dev/null || true
done
