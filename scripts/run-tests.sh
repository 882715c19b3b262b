#!/usr/bin/env bash
# Builds and runs every test: native (optimised), native with AddressSanitizer
# and UndefinedBehaviorSanitizer, native with ThreadSanitizer, the Windows
# cross build under Wine, and the end-to-end run of Quillmor.exe under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
echo "== dependencies ready at ${SECONDS}s"

jobs=$(nproc)
for preset in linux linux-asan linux-tsan; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
  ctest --preset "$preset" -j"$jobs"
  echo "== $preset done at ${SECONDS}s"
done

echo "== windows"
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"
scripts/with-wine.sh build/windows ctest --preset windows -j"$jobs"
echo "== windows done at ${SECONDS}s"

echo "== end to end"
scripts/run-e2e.sh build/windows
echo "All tests passed in ${SECONDS}s."
