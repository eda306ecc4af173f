#!/usr/bin/env bash
# The organiser under a real window manager (openbox) with the tray at the top left: toggling the input
# window keeps the left edge (no drift from the tray), and a button's tip shows while another program's
# window is the active one.
# Usage: organizer_wm.sh <program executable>
set -euo pipefail
exe=$1
source "$(dirname "$0")/lib.sh"
start_xvfb 230
start_trayer top left
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window' || fail "openbox did not start"

cp "$exe" "$work/dialnestplus"
printf '[Data]\r\nDATA1=g1\r\nClipen=True\r\nTopview=True\r\n' > "$work/dnstplus.ini"
start_program
wait_for 20 icon_geometry || fail "no tray icon appeared: $(cat "$work/out.log")"
geo=$(icon_geometry)
ix=$(( $(echo "$geo" | cut -d+ -f2) + 10 )); iy=$(( $(echo "$geo" | cut -d+ -f3) + 12 ))
# "w h x y" of the organiser, its place on the screen (the last pair: openbox reparents it into a frame).
organizer() { xwininfo -root -tree | grep '("dialnestplus" "Dialnest Plus")' | grep -E '(191|464)x158' | head -1 |
              sed -E 's/.* ([0-9]+)x([0-9]+)[+-][0-9-]+[+-][0-9-]+ +\+(-?[0-9]+)\+(-?[0-9]+)$/\1 \2 \3 \4/'; }

xdotool mousemove "$ix" "$iy" click 1
wait_for 10 organizer || fail "no organiser after a left click: $(cat "$work/out.log")"
read -r w h x0 y0 < <(organizer)
[ "$x0" = 0 ] || fail "the organiser opened at x = $x0, not kept at the left edge"
button() { xdotool mousemove $((x + $1 / 15 + 8)) $((y + 75 / 15 + 8)); sleep 0.15
           xdotool mousemove $((x + $1 / 15 + 9)) $((y + 75 / 15 + 8)); sleep 0.1; xdotool click 1; sleep 0.5; }
for round in 1 2 3; do
  read -r w h x y < <(organizer)
  button 2325  # open the input window
  read -r w h x y < <(organizer)
  [ "$w" = 464 ] && [ "$x" = 0 ] || fail "round $round: the wide window is ${w} wide at x = $x"
  button 6420  # close it again
  read -r w h x y < <(organizer)
  [ "$w" = 191 ] && [ "$x" = "$x0" ] || fail "round $round: closing the input window left it at x = $x (was $x0)"
done
echo "three toggles of the input window: the organiser stays at x = $x0"

# Another program's window takes the focus; the pointer resting on the close button still shows its tip.
xmessage -geometry +400+300 "another program" >/dev/null 2>&1 &
pids+=($!)
wait_for 10 xdotool search --name '^xmessage$' || fail "xmessage did not start"
other=$(xdotool search --name '^xmessage$' | head -1)
xdotool windowactivate --sync "$other" 2>/dev/null || true
sleep 0.5
[ "$(xdotool getactivewindow)" = "$other" ] || fail "the other window did not become active"
xdotool mousemove $((x + 2565 / 15 + 6)) $((y + 75 / 15 + 6)); sleep 0.2
xdotool mousemove $((x + 2565 / 15 + 7)) $((y + 75 / 15 + 7))
tip() { xwininfo -root -tree | grep '("dialnestplus" "Dialnest Plus")' | grep -vE '(191|205|464)x(158|78)|22x22|24x24' |
        grep -q .; }
wait_for 5 tip || fail "no tip over the close button while another window is active"
[ -n "${DN_SHOTS:-}" ] && import -window root -crop 400x200+0+0 "$DN_SHOTS/organizer-openbox-tip.png"
echo "the close button's tip shows while another window is active"
