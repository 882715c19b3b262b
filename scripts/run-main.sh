#!/usr/bin/env bash
# Builds both targets and runs the main job: quillmor-cli indexing /usr (as
# drive U:) and searching it, printing the hits and the timing line.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"
cmake --preset linux >/dev/null
cmake --build --preset linux -j"$jobs"
./build/linux/tools/quillmor-cli --drive U:=/usr --stats "${1:-python3}"
