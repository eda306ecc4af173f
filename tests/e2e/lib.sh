# Shared by the end-to-end scripts: a work folder, an X server, a tray, and waiting for things.
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

wait_for() { # seconds command...
  local limit=$1; shift
  local end=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.1
  done
}

# Starts Xvfb on the first free display from $1 and exports DISPLAY. Another run may take the same
# display at the same moment: our server must be the one that holds the display's lock, else the next
# display is tried. -noreset: a server that resets when its last client leaves (xdpyinfo here) turns
# away the clients that connect meanwhile.
start_xvfb() {
  local n xvfb
  for n in $(seq "$1" $(($1 + 60))); do
    [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] && continue
    Xvfb ":$n" -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=:$n
    if wait_for 10 xdpyinfo && [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$xvfb" ] &&
      kill -0 "$xvfb" 2>/dev/null; then
      pids+=("$xvfb")
      return 0
    fi
    kill "$xvfb" 2>/dev/null || true
  done
  fail "Xvfb did not start"
}

# An XEmbed tray, 100 x 24 pixels, along the top left edge unless told otherwise: start_trayer [edge align].
start_trayer() {
  trayer --edge "${1:-top}" --align "${2:-left}" --widthtype pixel --width 100 --height 24 >"$work/trayer.log" 2>&1 &
  pids+=($!)
  wait_for 30 xdotool search --name '^panel$' || fail "trayer did not start: $(cat "$work/trayer.log")"
}

# Makes the work folder the program's data folder: a folder with a settings file or a phone book is a
# portable one (an empty settings file is enough; the program writes its defaults into it). Whatever
# else the program would write goes under the work folder, never into the host's home.
portable_folder() {
  export XDG_DATA_HOME="$work/xdg-data"
  [ -n "$(ls "$work" | grep -i -x -e dnstplus.ini -e 'teldat[1-5].tel')" ] || : >"$work/dnstplus.ini"
}

# The program in the work folder, which is its data folder.
start_program() {
  export QT_QPA_PLATFORM=xcb
  portable_folder
  "$work/dialnestplus" > "$work/out.log" 2>&1 &
  prog=$!
  pids+=($prog)
}

icon_geometry() { xwininfo -root -tree | grep '("dialnestplus" "Dialnest Plus")' | grep -o '+[0-9-]*+[0-9-]*$'; }

# Runs a Python driver (`driver.py <program> <work folder>`) on a private session bus, with a runtime
# folder of the work folder's own; when it fails, the program's output says why.
run_driver_on_bus() { # driver.py
  mkdir -p -m 700 "$work/run"
  XDG_RUNTIME_DIR="$work/run" dbus-run-session -- /usr/bin/python3 "$1" "$work/dialnestplus" "$work" ||
    fail "program output: $(cat "$work/out.log" 2>/dev/null)"
}
