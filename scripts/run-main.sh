#!/usr/bin/env bash
# Builds both targets and runs the main job: quillmor-cli indexing /usr (as
# drive U:) and searching it, printing the hits and the timing line. The
# Windows build also makes the installer, Quillmor-<version>-setup.exe, next
# to Quillmor.exe in build/windows/app. Asked
# with --gui (or QUILLMOR_GUI=1), it then starts Quillmor.exe under Wine on
# the same drive (scripts/run-gui.sh).
#
#   scripts/run-main.sh [--gui] [QUERY]     (default query: python3)
set -euo pipefail
cd "$(dirname "$0")/.."
gui=${QUILLMOR_GUI:-0}
if [ "${1:-}" = --gui ]; then
  gui=1
  shift
fi
query=${1:-python3}
scripts/install-deps.sh

jobs=$(nproc)
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"
for setup in build/windows/app/Quillmor-*-setup.exe; do
  if [ -f "$setup" ]; then echo "Installer: $setup"; fi
done
cmake --preset linux >/dev/null
cmake --build --preset linux -j"$jobs"
./build/linux/tools/quillmor-cli --drive U:=/usr --stats "$query"
if [ "$gui" = 1 ]; then
  scripts/run-gui.sh "$query"
fi
