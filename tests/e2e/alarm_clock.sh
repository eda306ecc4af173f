#!/usr/bin/env bash
# End to end: the real program's alarm under libfaketime, its wall clock moved under it while Qt's
# timers run in real time (as after a resume): a clock set forward past the alarm time, a process stopped
# over the alarm minute, and a jump to the same day number of another month all bring the alarm window up
# (late, with the time it was due, or on time); a clock set back over it does not.
# Usage: alarm_clock.sh <program executable>
set -euo pipefail
exe=$1
source "$(dirname "$0")/lib.sh"
lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -1)
[ -n "$lib" ] || fail "libfaketime is not installed (Debian's faketime)"
start_xvfb 300
start_trayer

cp "$exe" "$work/dialnestplus"
mkdir -p "$work/Schedule"
# One alarm at 09:00 on the 9th: December 2026 and January 2027.
month_with_alarm() { for d in $(seq 31); do if [ "$d" = 9 ]; then printf '[D@TA]0109:00\r\nmeeting\r\n'; else printf '[D@TA]00\r\n'; fi; done; }
alarm_window() { xwininfo -root -tree | grep '"Dialnest Plus": ("dialnestplus"' | grep -q 205x78; }
log_has() { grep -Eq "$1" "$work/out.log"; }

# Starts the program with its clock at $1 ("2026-12-09 08:58:00"), then waits for its icon.
start_at() {
  echo "@$1" >"$work/clock"
  # A sanitizer build wants its runtime first; the preloaded clock comes before it here.
  local asan=${ASAN_OPTIONS:-}
  export LD_PRELOAD=$lib FAKETIME_TIMESTAMP_FILE=$work/clock FAKETIME_NO_CACHE=1 DONT_FAKE_MONOTONIC=1
  export ASAN_OPTIONS=${asan:+$asan:}verify_asan_link_order=0
  start_program
  unset LD_PRELOAD FAKETIME_TIMESTAMP_FILE FAKETIME_NO_CACHE DONT_FAKE_MONOTONIC
  export ASAN_OPTIONS=$asan
  wait_for 20 icon_geometry || fail "no tray icon: $(cat "$work/out.log")"
  sleep 1  # the first clock check has seen the start time
}
stop_program() { kill "$prog"; wait "$prog" 2>/dev/null || true; }
set_clock() { echo "@$1" >"$work/clock"; }

# 1. Set forward from 08:58 to 09:20: the alarm goes off late, at once, saying it was due at 09:00.
month_with_alarm >"$work/Schedule/Sch2612.dat"
start_at "2026-12-09 08:58:00"
alarm_window && fail "the alarm window is up at 08:58"
set_clock "2026-12-09 09:20:00"
wait_for 15 alarm_window || fail "no alarm window after the clock was set forward past 09:00: $(cat "$work/out.log")"
log_has "alarm for 09:00 went off at 09:(19:5|20)" || fail "not late with the time it was due: $(cat "$work/out.log")"
echo "clock set forward past the alarm: the window came up late ($(grep -o 'alarm for .*' "$work/out.log"))"
stop_program

# 2. Stopped 15 s before the alarm minute, continued 75 s into it.
: >"$work/out.log"
start_at "2026-12-09 08:59:45"
kill -STOP "$prog"
set_clock "2026-12-09 09:01:15"
sleep 1
kill -CONT "$prog"
wait_for 15 alarm_window || fail "no alarm window after the process was stopped over the alarm minute"
log_has "alarm for 09:00 went off at 09:01" || fail "not late: $(cat "$work/out.log")"
echo "stopped over the alarm minute: the window came up once continued"
stop_program

# 3. Set back from 09:10 to 08:50 over 09:00: nothing (the program started after the time, too).
: >"$work/out.log"
start_at "2026-12-09 09:10:00"
set_clock "2026-12-09 08:50:00"
sleep 12
alarm_window && fail "the alarm window came up for a time passed before start-up or crossed backwards"
log_has "alarm for" && fail "an alarm went off: $(cat "$work/out.log")"
echo "started after the time, then set back over it: no alarm"
stop_program

# 4. From December 9th to January 9th, 15 s before the alarm: the new month's file is read.
: >"$work/out.log"
rm "$work/Schedule/Sch2612.dat"
month_with_alarm >"$work/Schedule/Sch2701.dat"
start_at "2026-12-09 08:58:00"
set_clock "2027-01-09 08:59:45"
sleep 2
alarm_window && fail "the alarm window came up before 09:00"
wait_for 30 alarm_window || fail "no alarm window after the jump to the same day of another month"
log_has "alarm for 09:00 went off at 09:00" || fail "not on time: $(cat "$work/out.log")"
echo "jump to the same day number of another month: the window came up at 09:00"
stop_program
echo "4 passed, 0 failed"
