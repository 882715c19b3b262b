#!/usr/bin/env bash
# Pictures of the main window in both themes, both filter layouts and at 144
# DPI, made in process over simulated drives under Xvfb and Wine's virtual
# desktop (a large one, so that a window at 144 DPI fits).
#
#   scripts/window-screenshots.sh BUILD_DIR OUT_DIR
set -euo pipefail

build_dir=$(realpath "$1")
out_dir=$(realpath -m "$2")
mkdir -p "$out_dir"
export WINEPREFIX="$build_dir/.wine-shots" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$display_file")"
rm -f "$display_file"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine wineboot -i </dev/null >/dev/null 2>&1 || true
  wineserver -w
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1920x1200 /f </dev/null >/dev/null 2>&1
  wineserver -w
fi
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1 || true

work=$(mktemp -d)
(cd "$work" && QUILLMOR_SHOWCASE_DIR=. wine "$build_dir/tests/app/app_window_tests.exe" \
  --gtest_also_run_disabled_tests --gtest_filter='WindowShowcase.*' </dev/null)
for bmp in "$work"/*.bmp; do
  /usr/bin/convert "$bmp" "$out_dir/$(basename "${bmp%.bmp}").png"
done
rm -rf "$work"
ls "$out_dir"
