# shellcheck shell=bash disable=SC2034  # the variables are for the scripts that source this
# Shared by the end-to-end run and the screenshot script: the Wine prefix of
# their own, the prepared tree as drive T:, and small helpers to start
# Quillmor.exe and ask the probe about it. Sourced, not run.
#
# Outside Wine:  e2e_prepare BUILD_DIR   (then scripts/with-wine.sh "$E2E_DIR" ...)
# Inside Wine:   e2e_use BUILD_DIR; quillmor_start [ARGS]; probe COMMAND...
# Both take an optional session name after BUILD_DIR (another prefix).

# Everything lives in BUILD_DIR/SESSION (default e2e): the prefix (.wine),
# the profile folders Wine links into it (home) and the test tree.
e2e_paths() {
  BUILD_DIR=$(realpath "$1")
  E2E_DIR=$BUILD_DIR/${2:-e2e}
  E2E_TREE=$E2E_DIR/tree
  E2E_HOME=$E2E_DIR/home
  # Where the programs are copied to: with Z: gone, C: is the only way Wine
  # reaches them.
  E2E_PROGRAMS='C:\quillmor'
  # Wine's display and desktop: room for the 1100 x 700 window and its tray.
  export QUILLMOR_WINE_SCREEN=1280x800
  # English texts, whatever the machine's locale; the profile folders
  # (Documents, Desktop, ...) of a new prefix point into our home.
  export LANG=C.UTF-8 HOME=$E2E_HOME
  unset LC_ALL LC_MESSAGES LANGUAGE
}

# e2e_prepare BUILD_DIR [SESSION LETTER DIRECTORY]
# Makes the prefix (once), maps the drive LETTER onto DIRECTORY (by default
# T: onto the test tree, built again when its script changed), removes Z:
# (the whole Linux root, which Quillmor would index) and copies the programs
# in.
e2e_prepare() {
  e2e_paths "$1" "${2:-e2e}"
  local letter=${3:-t} target=${4:-}
  local here
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  mkdir -p "$E2E_HOME"
  if [ ! -f "$E2E_DIR/.wine/system.reg" ]; then
    echo "e2e: making the Wine prefix in $E2E_DIR (once)"
    "$here/../../scripts/with-wine.sh" "$E2E_DIR" true
  fi
  if [ -z "$target" ]; then
    target=$E2E_TREE
    local stamp
    stamp=$(sha1sum "$here/make-tree.sh" | cut -c1-40)
    if [ "$(cat "$E2E_DIR/tree.stamp" 2>/dev/null)" != "$stamp" ]; then
      echo "e2e: building the test tree"
      "$here/make-tree.sh" "$E2E_TREE"
      echo "$stamp" >"$E2E_DIR/tree.stamp"
    fi
  fi
  local devices=$E2E_DIR/.wine/dosdevices
  rm -f "$devices/z:"
  ln -sfn "$(realpath "$target")" "$devices/$letter:"
  local programs=$E2E_DIR/.wine/drive_c/quillmor
  mkdir -p "$programs"
  cp "$BUILD_DIR/app/Quillmor.exe" "$BUILD_DIR/tools/quillmor-cli.exe" "$BUILD_DIR/tests/e2e/quillmor-probe.exe" \
    "$BUILD_DIR/tests/e2e/quillmor-droptarget.exe" "$programs/"
  rm -f "$programs"/Quillmor-*-setup.exe
  cp "$BUILD_DIR"/app/Quillmor-*-setup.exe "$programs/" 2>/dev/null || true
}

# Inside the Wine session: the paths, and the programs' working folder.
e2e_use() {
  e2e_paths "$1" "${2:-e2e}"
  E2E_CONFIG=$E2E_HOME/Quillmor/config  # Documents\Quillmor\config
  E2E_LOG=$E2E_DIR/log
  mkdir -p "$E2E_LOG"
  cd "$E2E_DIR/.wine/drive_c" || return
}

probe() { wine "$E2E_PROGRAMS\\quillmor-probe.exe" "$@" </dev/null; }

# The number of results quillmor-cli finds for a query over the same drives
# as the program (every drive of the prefix, C: and T:).
cli_count() {
  wine "$E2E_PROGRAMS\\quillmor-cli.exe" --config 'C:\quillmor\cli-config' --count "$1" </dev/null | tr -d '\r'
}

# A fresh configuration: no window.ini, no caches, no logs from a run before.
reset_config() { rm -rf "$E2E_HOME/Quillmor"; }

# Starts Quillmor.exe in the background; QUILLMOR_PID is its process.
quillmor_start() {
  wine "$E2E_PROGRAMS\\Quillmor.exe" "$@" </dev/null >"$E2E_LOG/quillmor.out" 2>&1 &
  QUILLMOR_PID=$!
}

# Waits up to $2 seconds for process $1 (a child of this shell) to end and
# sets EXIT_CODE to its exit code, or to 124 when it did not end.
wait_exit() {
  local pid=$1 deadline=$((SECONDS + $2))
  EXIT_CODE=124
  while kill -0 "$pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || return 0
    sleep 0.1
  done
  EXIT_CODE=0
  wait "$pid" || EXIT_CODE=$?
}

# Clicks at the point the probe names ("search", "header").
click_at() {
  local point
  point=$(probe point "$1" | tr -d '\r')
  # shellcheck disable=SC2086
  xdotool mousemove $point click 1
}
