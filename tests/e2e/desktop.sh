#!/usr/bin/env bash
# End to end on a Wayland desktop (gnome, kwin or sway) nested on its X11 back end inside Xvfb, with the
# program choosing its own Qt plugin. Runs in mount, pid and network namespaces of its own: its own /tmp
# (so the desktops find free X displays below :33) and its own abstract sockets; every process started
# here ends with the namespace when this script ends, and nothing outside is touched.
# Usage: desktop.sh <program executable> gnome|kwin|sway
set -euo pipefail
exe=$(readlink -f "$1")
desktop=$2
here=$(cd "$(dirname "$0")" && pwd)

if [ "${DN_DESKTOP_NS:-}" != 1 ]; then
  exec env DN_DESKTOP_NS=1 unshare --mount --pid --net --fork --mount-proc "$0" "$@"
fi
[ $$ -eq 1 ] || { echo "FAIL: not the first process of a pid namespace" >&2; exit 1; }

mount --make-rprivate /
# The build and these scripts may live under /tmp (a clone there): stage what is needed first.
stage=$(mktemp -d -p /var/tmp dn-e2e.XXXXXX)
chmod 755 "$stage"
trap 'rm -rf "$stage"' EXIT
cp "$exe" "$stage/dialnestplus"
cp "$here"/desktop_check.py "$here"/sni_host.py "$stage/"
exe=$stage/dialnestplus
here=$stage
mount -t tmpfs tmpfs /tmp
# GNOME Shell looks for logind where systemd's seats folder exists; there is none to talk to here.
[ -d /run/systemd ] && mount -t tmpfs tmpfs /run/systemd
mkdir -m 1777 /tmp/.X11-unix
ip link set lo up 2>/dev/null || true

# The desktops run as an unprivileged user, as on a real login.
user=nobody
home=/tmp/home
mkdir -p "$home/rt" "$home/prog"
chmod 700 "$home/rt"
cp "$exe" "$home/prog/dialnestplus"
chown -R "$user" "$home"

Xvfb :5 -screen 0 1280x800x24 -nolisten tcp -noreset >/tmp/xvfb.log 2>&1 &
for _ in $(seq 100); do [ -e /tmp/.X11-unix/X5 ] && break; sleep 0.1; done
[ -e /tmp/.X11-unix/X5 ] || { echo "FAIL: Xvfb did not start" >&2; exit 1; }

uid=$(id -u "$user")
gid=$(id -g "$user")
status=0
setpriv --reuid="$uid" --regid="$gid" --clear-groups \
  env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/rt" DISPLAY=:5 LANG=C.UTF-8 TZ="${TZ:-Asia/Tokyo}" \
  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" DN_SHOTS="${DN_SHOTS:-}" DN_FORCE_PLUGIN="${DN_FORCE_PLUGIN:-}" \
  dbus-run-session -- python3 "$here/desktop_check.py" "$desktop" "$home/prog" || status=$?
exit $status
