#!/usr/bin/env bash
# Pictures of the main window with results, in the list and large-icon views
# and both themes, taken from the in-process window test under Xvfb and Wine.
#
#   scripts/list-screenshots.sh OUTPUT_DIR   (after building the windows preset)
set -euo pipefail

out=$(realpath -m "$1")
mkdir -p "$out"
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/windows"

inner=$(mktemp)
cat >"$inner" <<'INNER'
set -euo pipefail
out=$1; build=$2
handover=$(mktemp -d)
for mode in list-light list-dark icons-light icons-dark; do
  rm -f "$handover"/ready "$handover"/done
  QUILLMOR_SHOT_DIR=$(winepath -w "$handover") QUILLMOR_SHOT_MODE=$mode \
    wine "$build/tests/app/app_window_tests.exe" --gtest_filter='ListScreenshot.*' >"$handover/log" 2>&1 &
  test_pid=$!
  for _ in $(seq 600); do [ -e "$handover/ready" ] && break; sleep 0.1; done
  sleep 0.5
  import -window root "$out/window-$mode.png"
  touch "$handover/done"
  wait "$test_pid" || { cat "$handover/log"; exit 1; }
done
rm -rf "$handover"
INNER
"$root/scripts/with-wine.sh" "$build" bash "$inner" "$out" "$build"
rm -f "$inner"
echo "pictures in $out"
