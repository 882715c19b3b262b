#!/usr/bin/env bash
# Installs what the builds and tests need on Debian 12, quietly, and only what
# is missing.
set -euo pipefail

packages=(
  cmake g++ make git
  googletest libbenchmark-dev zlib1g-dev   # tests and benchmarks only
  g++-mingw-w64-x86-64-posix               # the Windows build
  wine wine64 xvfb                         # running the Windows tests
  xdotool x11-xkb-utils                    # typing and clicking in the end-to-end run
  time                                     # the command line's memory checks
  nsis                                     # the Windows installer (makensis)
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
