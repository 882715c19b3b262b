#!/usr/bin/env bash
# Pictures of the main window with results, in the dark and the light theme,
# as a list and as large icons, from the end-to-end setup (the test tree as
# drive T: in Wine's virtual desktop). Needs the Windows build.
#
#   scripts/screenshots.sh [OUT_DIR] [BUILD_DIR]   (defaults docs/screenshots, build/windows)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/screenshots}")
mkdir -p "$out"
source tests/e2e/e2e-lib.sh
e2e_prepare "${2:-build/windows}"
scripts/with-wine.sh "$E2E_DIR" tests/e2e/take-screenshots.sh "$BUILD_DIR" "$out"
