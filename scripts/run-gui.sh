#!/usr/bin/env bash
# Starts Quillmor.exe under Wine with /usr (or QUILLMOR_GUI_DIR) as drive
# U:, in a Wine prefix of its own (build/windows/gui) without the drive Z:
# that maps the whole Linux root, so that it indexes U: and the prefix's C:.
# Needs the Windows build.
#
# With DISPLAY set (a desktop session), the window opens there and the
# program runs until it is ended (Ctrl+C here; closing the window only hides
# it to the notification area). Without a display it runs in a virtual one:
# the script waits for both drives to be ready, types QUERY (default
# python3) into the search box, prints the title and saves a picture of the
# window as build/windows/gui/quillmor.png.
#
#   scripts/run-gui.sh [QUERY]
set -euo pipefail
cd "$(dirname "$0")/.."
source tests/e2e/e2e-lib.sh

if [ "${1:-}" = --inside-wine ]; then
  query=$2
  e2e_use build/windows gui
  quillmor_start
  # Ready once both drives (the prefix's C: and U:) are indexed; the scope
  # box lists those done.
  probe wait-ready 300000 2 | tr -d '\r'
  click_at search
  xdotool type --delay 40 "$query"
  probe wait-search "$query" any 60000 | tr -d '\r' | grep -v watching || true
  read -r x y w h < <(probe rect | tr -d '\r')
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$E2E_DIR/quillmor.png" 2>/dev/null &&
    echo "The window: $E2E_DIR/quillmor.png"
  probe exit >/dev/null
  wait_exit "$QUILLMOR_PID" 60
  exit "$EXIT_CODE"
fi

e2e_prepare build/windows gui u "${QUILLMOR_GUI_DIR:-/usr}"
if [ -n "${DISPLAY:-}" ]; then
  export WINEPREFIX=$E2E_DIR/.wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  cd "$WINEPREFIX/drive_c"
  exec wine "$E2E_PROGRAMS\\Quillmor.exe"
fi
exec scripts/with-wine.sh "$E2E_DIR" "$0" --inside-wine "${1:-python3}"
