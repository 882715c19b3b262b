#!/usr/bin/env bash
# quillmor-cli over files an attacker or an accident leaves behind:
# - names that are not UTF-8 are three distinct paths, printed as their own
#   bytes, and a content query reads each file through its own name;
# - a configuration folder whose attribute cache is 2 GiB of junk and whose
#   language files are links to /dev/zero or FIFOs: start-up neither hangs
#   nor reads them, and the search answers as without them.
# Each run must end (the timeout only catches a hang) in under 400 MB.
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_DATA_HOME=$work/home/data
mkdir -p "$HOME/Documents"
fail=0

# Runs the command line with a time limit and, where /usr/bin/time exists,
# checks its peak memory. Prints the command line's standard output.
limit_kb=$((400 * 1024))
run() {
  local status=0
  if [ -x /usr/bin/time ]; then
    timeout 120 /usr/bin/time -f '%M' -o "$work/peak" "$cli" "$@" >"$work/out" 2>"$work/err" || status=$?
  else
    timeout 120 "$cli" "$@" >"$work/out" 2>"$work/err" || status=$?
  fi
  if [ "$status" -ne 0 ]; then
    echo "quillmor-cli $* ended with status $status (124: it hung):" >&2
    cat "$work/err" >&2
    return 1
  fi
  if [ -s "$work/peak" ] && [ "$(tail -n1 "$work/peak")" -gt "$limit_kb" ]; then
    echo "quillmor-cli $* used $(tail -n1 "$work/peak") KB, over $limit_kb KB" >&2
    return 1
  fi
  cat "$work/out"
}

tree=$work/tree
mkdir -p "$tree"
printf 'the secret is here\n' > "$tree/r$(printf '\xff')port.txt"
printf 'nothing to see\n' > "$tree/r$(printf '\xfe')port.txt"
printf 'nothing to see\n' > "$tree/r$(printf '\xef\xbf\xbd')port.txt"  # U+FFFD itself, valid UTF-8

expected=$(printf 'E:\\r\xffport.txt\nE:\\r\xfeport.txt\nE:\\r\xef\xbf\xbdport.txt\n' | LC_ALL=C sort)
actual=$(run --drive "E:=$tree" port | LC_ALL=C sort) || fail=1
if [ "$expected" != "$actual" ]; then
  echo "names that are not UTF-8: expected three distinct paths as their own bytes, got:"
  printf '%s\n' "$actual" | od -c | head -20
  fail=1
fi
expected=$(printf 'E:\\r\xffport.txt')
actual=$(run --drive "E:=$tree" s:secret) || fail=1
if [ "$expected" != "$actual" ]; then
  echo "s:secret: expected only the file that holds it, got:"
  printf '%s\n' "$actual" | od -c | head -20
  fail=1
fi

config=$work/config
mkdir -p "$config/lang"
printf 'JUNK, NOT A CACHE' > "$config/attrcache.v1.bin"
truncate -s 2G "$config/attrcache.v1.bin"  # sparse: costs no disk
ln -s /dev/zero "$config/lang/en-us.ini"
ln -s /dev/zero "$config/lang/pt-br.ini"
mkfifo "$config/lang/custom.ini" "$config/filters.ini"
actual=$(run --config "$config" --drive "E:=$tree" --lang en-us --count port) || fail=1
if [ "$actual" != "3" ]; then
  echo "hostile configuration folder: expected 3 hits, got '$actual'"
  fail=1
fi
if [ "$(stat -c %s "$config/attrcache.v1.bin")" != "$((2 << 30))" ]; then
  echo "the junk cache file was rewritten"
  fail=1
fi
exit $fail
