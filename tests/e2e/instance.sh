#!/usr/bin/env bash
# One copy per user and data folder: a second start hands over and ends, leaving one icon and one
# process; --find reaches the first copy; --help and --version answer without a display; a copy that
# was killed leaves no lock in the way of the next start.
# Usage: instance.sh <program executable>
set -euo pipefail
exe=$1
source "$(dirname "$0")/lib.sh"
cp "$exe" "$work/dialnestplus"
portable_folder

# Without any display, in both languages, before anything starts.
for lang in C.UTF-8 ja_JP.UTF-8; do
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY LANG=$lang LC_ALL= LC_MESSAGES= "$work/dialnestplus" --help) ||
    fail "--help ended with $? under LANG=$lang"
  case $lang in
    C.UTF-8) [[ "$out" == "Usage: dialnestplus"* ]] || fail "English help: $out" ;;
    *) [[ "$out" == "使い方: dialnestplus"* ]] || fail "Japanese help: $out" ;;
  esac
  grep -q -- '--find' <<<"$out" || fail "the help names no --find"
done
[ "$(env -u DISPLAY "$work/dialnestplus" --version)" = "Dialnest Plus 1.50" ] || fail "--version"
rc=0; env -u DISPLAY LANG=C.UTF-8 "$work/dialnestplus" --bogus 2>"$work/bad.log" || rc=$?
[ "$rc" = 2 ] && grep -q -- '--bogus' "$work/bad.log" || fail "an unknown option: rc $rc, $(cat "$work/bad.log")"
[ ! -e "$work/xdg-data" ] && [ ! -s "$work/dnstplus.ini" ] || fail "--help or --version wrote data"
echo "--help (English and Japanese) and --version print and end without a display; an unknown option ends with 2"

start_xvfb 420
start_trayer
export QT_LOGGING_RULES="dialnest.session.info=true"
start_program
wait_for 20 icon_geometry || fail "no tray icon appeared: $(cat "$work/out.log")"
ours() { # the processes of this folder's program
  for p in /proc/[0-9]*; do [ "$(readlink "$p/exe" 2>/dev/null)" = "$work/dialnestplus" ] && echo "${p#/proc/}"; done || true
}
icons() { xwininfo -root -tree | grep -c '("dialnestplus" "Dialnest Plus")' || true; }
windows_before=$(icons)

t0=$(date +%s%N)
"$work/dialnestplus" >"$work/second.log" 2>&1 || fail "the second start ended with $?: $(cat "$work/second.log")"
echo "a second start handed over and ended after $(( ($(date +%s%N) - t0) / 1000000 )) ms"
sleep 1
[ "$(ours)" = "$prog" ] || fail "processes of the program: $(ours | tr '\n' ' ')"
[ "$(icons)" = "$windows_before" ] || fail "windows of the program: $(icons), before: $windows_before"
grep -q 'request from a second start: "start"' "$work/out.log" || fail "the first copy heard nothing: $(cat "$work/out.log")"

t0=$(date +%s%N)
"$work/dialnestplus" --find >"$work/third.log" 2>&1 || fail "--find ended with $?"
echo "a second start with --find ended after $(( ($(date +%s%N) - t0) / 1000000 )) ms"
wait_for 10 xdotool search --name '^クイック検索$' || fail "--find opened no window"
[ "$(xdotool search --all --pid "$prog" --name '^クイック検索$' | wc -l)" = 1 ] || fail "the window is not the first copy's"
[ "$(ours)" = "$prog" ] || fail "a second copy stays: $(ours | tr '\n' ' ')"
echo "one process and one icon; --find opens the first copy's window"

# A copy killed outright leaves its lock file: the next start takes it over and stays.
kill -9 "$prog"
wait_for 5 sh -c "! kill -0 $prog" || fail "the program did not end"
start_program
wait_for 20 icon_geometry || fail "no tray icon after a killed copy: $(cat "$work/out.log")"
sleep 1
kill -0 "$prog" || fail "the start after a killed copy did not stay: $(cat "$work/out.log")"
echo "after a killed copy, the next start runs"
echo "1 passed, 0 failed"
