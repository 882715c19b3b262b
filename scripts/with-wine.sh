#!/usr/bin/env bash
# Runs a command inside one prepared Wine session: a virtual X display, a
# private prefix in the Windows build folder, no crash dialogs, and a
# persistent wineserver so that each test program starts in milliseconds and
# ctest is not left waiting on Wine's background processes.
#
#   scripts/with-wine.sh BUILD_DIR command [args...]
#
# QUILLMOR_WINE_SCREEN (default 1024x768) sizes the display and, when the
# prefix is first made, Wine's virtual desktop.
set -euo pipefail
screen=${QUILLMOR_WINE_SCREEN:-1024x768}

build_dir=$(realpath "$1")
shift
mkdir -p "$build_dir"
export WINEPREFIX="$build_dir/.wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# A display of our own (Wine keeps failing if it first starts without one);
# Xvfb picks a free number and writes it to the file.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$display_file")"
rm -f "$display_file"

cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine wineboot -i </dev/null >/dev/null 2>&1 || true
  wineserver -w
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$screen" /f </dev/null >/dev/null 2>&1
  wineserver -w
fi
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1 || true

"$@"
