#!/usr/bin/env bash
# The Windows packages as a user takes them: the portable zip holds the program and what it needs; the
# installer, run silently under Wine, installs per user under %LOCALAPPDATA%\Programs\Dialnest Plus with a
# Start menu entry and an entry in the apps list; the installed program starts (its icon docks in the
# tray) and keeps its data beside itself; the uninstaller removes the program and leaves the data.
# Usage: windows_packages.sh <package folder> <version>   (DN_WINE_TEMPLATE: the template Wine prefix)
set -euo pipefail
packages=$1
version=$2
source "$(dirname "$0")/../e2e/lib.sh"
zip=$packages/DialnestPlus-$version-win64.zip
setup=$packages/DialnestPlus-$version-setup.exe
[ -f "$zip" ] && [ -f "$setup" ] || fail "no packages in $packages"
template=${DN_WINE_TEMPLATE:-$(dirname "$0")/../../build/windows/wine-template}

expected="dialnestplus-help.html
dialnestplus.exe
imageformats/qico.dll
libgcc_s_seh-1.dll
libstdc++-6.dll
libwinpthread-1.dll
platforms/qwindows.dll
Qt6Core.dll
Qt6Gui.dll
Qt6Network.dll
Qt6Widgets.dll
styles/qwindowsvistastyle.dll
translations/qtbase_ja.qm"
got=$(unzip -Z1 "$zip" | grep -v '/$' | sed "s|^DialnestPlus-$version-win64/||" | sort -f)
[ "$got" = "$(sort -f <<<"$expected")" ] || fail "the zip holds: $got"
echo "zip: $(du -k "$zip" | cut -f1) KiB, the program and its $(($(wc -l <<<"$got") - 1)) files"

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cp -a "$template" "$WINEPREFIX"
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; cleanup' EXIT
start_xvfb 180
start_trayer bottom right
/usr/lib/wine/wine64 "$setup" /S
/usr/lib/wine/wineserver -w
dir=$(find "$WINEPREFIX/drive_c/users" -maxdepth 5 -path '*/AppData/Local/Programs/Dialnest Plus' | head -1)
[ -n "$dir" ] || fail "nothing installed under AppData\\Local\\Programs"
installed=$(cd "$dir" && find . -type f | sed 's|^\./||' | grep -v '^uninstall.exe$' | sort -f)
[ "$installed" = "$(sort -f <<<"$expected")" ] || fail "installed: $installed"
[ -f "$dir/uninstall.exe" ] || fail "no uninstaller"
ls "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Dialnest\ Plus.lnk >/dev/null ||
  fail "no Start menu entry"
grep -q 'Uninstall\\\\DialnestPlus' "$WINEPREFIX/user.reg" || fail "not in the apps list"
grep -q '"DisplayName"="Dialnest Plus"' "$WINEPREFIX/user.reg" || fail "no display name in the apps list"
grep -q 'CurrentVersion\\\\Run\]' "$WINEPREFIX/user.reg" && grep -A3 'CurrentVersion\\\\Run\]' "$WINEPREFIX/user.reg" |
  grep -q DialnestPlus && fail "starts at sign-in though not chosen"
echo "installer: $(du -k "$setup" | cut -f1) KiB; installed per user with a Start menu entry and an apps list entry"

# The installed program starts: its icon docks, and its folder (the user's own) takes its data.
/usr/lib/wine/wine64 "$dir/dialnestplus.exe" >"$work/out.log" 2>&1 &
prog=$!
pids+=("$prog")
docked() { xwininfo -tree -id "$(xdotool search --name '^panel$' | head -1)" | grep -q '("explorer.exe" '; }
wait_for 60 docked || fail "the installed program shows no tray icon"
wait_for 20 test -f "$dir/dnstplus.ini" || fail "no settings file beside the installed program"
echo "the installed program starts, its icon in the tray, its data beside it"
/usr/lib/wine/wineserver -k
wait "$prog" 2>/dev/null || true
printf '[D@TA]\r\nmine\r\n' >"$dir/Teldat1.tel"

# Uninstalled in place (_?= keeps the uninstaller from copying itself away and returning at once).
/usr/lib/wine/wine64 "$dir/uninstall.exe" /S "_?=$(sed 's|^.*/drive_c|C:|; s|/|\\|g' <<<"$dir")"
/usr/lib/wine/wineserver -w
for f in dialnestplus.exe Qt6Core.dll platforms/qwindows.dll translations/qtbase_ja.qm; do
  [ ! -e "$dir/$f" ] || fail "$f is still there after the uninstall"
done
[ -f "$dir/dnstplus.ini" ] && [ "$(cat "$dir/Teldat1.tel")" = $'[D@TA]\r\nmine\r' ] ||
  fail "the uninstaller took the user's data: $(ls -la "$dir")"
grep -q 'Uninstall\\\\DialnestPlus' "$WINEPREFIX/user.reg" && fail "still in the apps list"
echo "the uninstaller removed the program and kept the data files"
echo "1 passed, 0 failed"
