#!/usr/bin/env bash
# Runs a test executable as an unprivileged user on a headless sway of its own, in a pid namespace so
# that the compositor and whatever the test starts end with it. Needs root (as the desktop tests do).
# Usage: in_sway.sh <test executable> [args...]
set -euo pipefail
if [ "${DN_SWAY_NS:-}" != 1 ]; then
  exec env DN_SWAY_NS=1 unshare --pid --fork --mount-proc "$0" "$@"
fi
here=$(cd "$(dirname "$0")/.." && pwd)
stage=$(mktemp -d -p /var/tmp dn-sway.XXXXXX)
trap 'rm -rf "$stage"' EXIT
cp "$1" "$stage/test"
cp "$here/cmake/lsan.supp" "$stage/"
mkdir -m 700 "$stage/rt"
: >"$stage/sway.conf"
chown -R nobody "$stage"
chmod 755 "$stage"
shift
as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH=/usr/bin:/bin HOME="$stage"
  XDG_RUNTIME_DIR="$stage/rt" TZ="${TZ:-Asia/Tokyo}" LANG=C.UTF-8 LC_ALL=C.UTF-8)
"${as_user[@]}" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
  sway -c "$stage/sway.conf" >"$stage/sway.log" 2>&1 &
for _ in $(seq 100); do [ -S "$stage/rt/wayland-1" ] && break; sleep 0.1; done
[ -S "$stage/rt/wayland-1" ] || { echo "FAIL: sway did not start" >&2; cat "$stage/sway.log" >&2; exit 1; }
status=0
"${as_user[@]}" WAYLAND_DISPLAY=wayland-1 QT_QPA_PLATFORM=offscreen \
  ASAN_OPTIONS="${ASAN_OPTIONS:-}" LSAN_OPTIONS="suppressions=$stage/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" "$stage/test" "$@" || status=$?
exit $status
