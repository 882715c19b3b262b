#!/usr/bin/env bash
# Builds both targets and runs the main job: the NTFS index build benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"
cmake --preset linux >/dev/null
cmake --build --preset linux -j"$jobs"
./build/linux/bench/index_bench --benchmark_filter=BM_NtfsBuild --benchmark_counters_tabular=true
