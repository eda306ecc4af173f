#!/usr/bin/env bash
# Start-up time (exec to tray icon mapped in an XEmbed tray) and resident memory of the program with a
# phone book of ENTRIES entries (5,000 unless set), under Xvfb + trayer.
# Usage: [ENTRIES=n] startup_memory.sh <program executable> [runs]
set -euo pipefail
exe=$1
runs=${2:-5}
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT

# Every wait is bounded: a tray host or program that dies must end the run, not hang it.
wait_for() { # seconds what command...
  local limit=$1 what=$2; shift 2
  local end=$(( $(date +%s) + limit ))
  until "$@" >/dev/null 2>&1; do
    if [ "$(date +%s)" -ge $end ]; then echo "startup_memory: gave up waiting for $what" >&2; exit 1; fi
    sleep 0.005
  done
}

for n in $(seq 170 220); do [ -e /tmp/.X$n-lock ] || break; done
export DISPLAY=:$n QT_QPA_PLATFORM=xcb
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 & pids+=($!)
wait_for 10 Xvfb xdpyinfo
trayer --edge top --align left --widthtype pixel --width 100 --height 24 >/dev/null 2>&1 & pids+=($!)
wait_for 30 trayer xdotool search --name '^panel$'

cp "$exe" "$work/dialnestplus"
printf '[Data]\r\nDATA1=g\r\nClipen=True\r\n' > "$work/dnstplus.ini"
# The entries spread over the 44 letters, each a name and a number in code page 932.
awk -v total="${ENTRIES:-5000}" 'BEGIN { n = 0; for (k = 1; k <= 44; k++) { printf "[D@TA]\r\n";
       per = int(total / 44) + (k <= total % 44 ? 1 : 0);
       for (i = 0; i < per && n < total; i++) { printf "\x8e\x52\x93\x63 \x91\xbe\x98\x59%05d\t03-%04d-%04d\r\n", n, n % 10000, (n * 7) % 10000; n++ } } }' \
  > "$work/Teldat1.tel"
[ "${EMPTY_BOOK:-}" = 1 ] && rm "$work/Teldat1.tel"
[ -f "$work/Teldat1.tel" ] && echo "phone book: $(grep -vc '^\[D@TA\]' "$work/Teldat1.tel") entries" || echo "phone book: none"

icon_mapped() {
  xwininfo -root -tree 2>/dev/null | grep -q '("dialnestplus" "Dialnest Plus")  *[0-9]*x[0-9]*+[0-9]*+[0-9]*  +[0-9]*+[0-9]*'
}

for r in $(seq "$runs"); do
  start=$(date +%s%N)
  "$work/dialnestplus" >/dev/null 2>&1 & prog=$!
  wait_for 30 "the tray icon" icon_mapped
  kill -0 "${pids[1]}" 2>/dev/null || { echo "startup_memory: the tray host died" >&2; exit 1; }
  ms=$(( ($(date +%s%N) - start) / 1000000 ))
  sleep 1
  rss=$(awk '/VmRSS/ {print $2}' /proc/$prog/status 2>/dev/null || true)
  [ -n "$rss" ] || { echo "startup_memory: the program ended by itself" >&2; exit 1; }
  echo "run $r: start-up to tray icon $ms ms, resident $((rss / 1024)) MiB ($rss kB)"
  kill $prog; wait $prog 2>/dev/null || true
done
