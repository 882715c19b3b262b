#!/usr/bin/env bash
# Pictures of the main window with results, in the dark and the light theme,
# as a list and as large icons, from the end-to-end setup (the test tree as
# drive T: in Wine's virtual desktop). Needs the Windows build.
#
# With --details, also the parts those pictures do not show, from the window
# made in process over simulated drives (app_window_tests' disabled
# WindowShowcase test): both filter layouts in both themes, the custom size
# and date presets, an open drop-down list, a popup menu, the window at
# 144 DPI and the date picker's calendar, as details-*.png.
#
#   scripts/screenshots.sh [--details] [OUT_DIR] [BUILD_DIR]   (defaults docs/screenshots, build/windows)
set -euo pipefail
cd "$(dirname "$0")/.."
details=false
if [ "${1:-}" = --details ]; then
  details=true
  shift
fi
out=$(realpath -m "${1:-docs/screenshots}")
build=$(realpath "${2:-build/windows}")
mkdir -p "$out"
source tests/e2e/e2e-lib.sh
e2e_prepare "$build"
scripts/with-wine.sh "$E2E_DIR" tests/e2e/take-screenshots.sh "$BUILD_DIR" "$out"
"$details" || exit 0

# A prefix of its own whose desktop is large enough for the window at 144 DPI.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && QUILLMOR_WINE_SCREEN=1920x1200 QUILLMOR_SHOWCASE_DIR=. "$OLDPWD/scripts/with-wine.sh" \
  "$build/showcase" wine "$build/tests/app/app_window_tests.exe" --gtest_also_run_disabled_tests \
  --gtest_filter='WindowShowcase.*' </dev/null)
for bmp in "$work"/*.bmp; do
  convert "$bmp" "$out/details-$(basename "${bmp%.bmp}").png"
  echo "screenshots: $out/details-$(basename "${bmp%.bmp}").png"
done
