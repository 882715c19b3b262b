#!/usr/bin/env bash
# The end-to-end run of Quillmor.exe under Wine (after the Windows build):
# a Wine prefix of its own with the test tree as drive T: and no Z:, the
# program started, typed into, clicked, closed, started twice and hidden, and
# its GDI and USER objects counted over 200 searches. See tests/e2e/.
#
#   scripts/run-e2e.sh [BUILD_DIR]     (default build/windows)
set -euo pipefail
cd "$(dirname "$0")/.."
source tests/e2e/e2e-lib.sh
e2e_prepare "${1:-build/windows}"
scripts/with-wine.sh "$E2E_DIR" tests/e2e/run-e2e.sh "$BUILD_DIR"
