#!/usr/bin/env bash
# Inside the end-to-end Wine session (scripts/screenshots.sh): one start of
# Quillmor.exe per theme and view mode, chosen through window.ini, with a
# query typed in; the window is captured once its pixels stop changing.
#
#   tests/e2e/take-screenshots.sh BUILD_DIR OUT_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/e2e/e2e-lib.sh
source "$here/e2e-lib.sh"
e2e_use "$1"
out=$2
QUERY=report
VOLUMES=2

fail() {
  echo "screenshots: $*"
  exit 1
}

# Captures the window until two captures in a row are the same (the list has
# painted its rows, sizes, dates and icons), for at most 20 s.
capture_settled() {
  local file=$1 geometry previous="" now
  read -r x y w h < <(probe rect | tr -d '\r')
  geometry="${w}x${h}+${x}+${y}"
  for _ in $(seq 50); do
    sleep 0.4
    import -window root -crop "$geometry" +repage "$file"
    now=$(md5sum <"$file")
    [ "$now" = "$previous" ] && return 0
    previous=$now
  done
}

expected=$(cli_count "$QUERY")
for theme in dark light; do
  for view in list large-icons; do
    mode=0
    [ "$view" = large-icons ] && mode=2
    reset_config
    mkdir -p "$E2E_CONFIG"
    printf 'themeMode=%s\nviewMode=%d\n' "$theme" "$mode" >"$E2E_CONFIG/window.ini"
    quillmor_start
    pid=$QUILLMOR_PID
    probe wait-ready 120000 $VOLUMES >/dev/null || fail "the window never became ready"
    click_at search
    xdotool type --delay 40 "$QUERY"
    probe wait-search "$QUERY" "$expected" 60000 >/dev/null || fail "no results for '$QUERY'"
    xdotool mousemove 0 0  # no hover highlight or tooltip in the picture
    capture_settled "$out/main-$theme-$view.png"
    echo "screenshots: $out/main-$theme-$view.png"
    probe exit >/dev/null
    wait_exit "$pid" 60
    [ "$EXIT_CODE" = 0 ] || fail "Quillmor.exe did not end cleanly ($EXIT_CODE)"
  done
done
