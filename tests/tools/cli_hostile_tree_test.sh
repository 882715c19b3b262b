#!/usr/bin/env bash
# quillmor-cli over hostile trees ends, with the right hits: directory links
# that fan out, a FIFO beside a real hit, a document of overlapping entries
# and one whose central directory lies, each beside a real document. With
# "check-memory" it also stays under 400 MB (not under a sanitizer, whose
# shadow memory would count).
set -euo pipefail
cli=$1
writer=$2
check_memory=${3:-}
if [ -n "$check_memory" ] && [ ! -x /usr/bin/time ]; then
  echo "note: no /usr/bin/time, memory not checked"
  check_memory=
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_DATA_HOME=$work/home/data
mkdir -p "$HOME/Documents"
tree=$work/tree
mkdir -p "$tree/links/A" "$tree/links/B" "$tree/fifo" "$tree/docs"

ln -s ../B "$tree/links/A/x"
ln -s ../B "$tree/links/A/y"
ln -s ../A "$tree/links/B/x"
ln -s ../A "$tree/links/B/y"
mkfifo "$tree/fifo/pipe.txt"
printf 'a needle here\n' > "$tree/fifo/hit.txt"
"$writer" "$tree/docs"

fail=0
# run NAME EXPECTED ARGS...: the sorted output must be EXPECTED.
run() {
  local name=$1 expected=$2
  shift 2
  local out rc=0
  if [ -n "$check_memory" ]; then
    out=$(timeout 120 /usr/bin/time -f 'maxrss_kb=%M' -o "$work/time" "$cli" "$@" | LC_ALL=C sort) || rc=$?
  else
    out=$(timeout 120 "$cli" "$@" | LC_ALL=C sort) || rc=$?
  fi
  if [ $rc -ne 0 ]; then
    echo "$name: quillmor-cli failed or hung (status $rc)"
    fail=1
    return
  fi
  if [ "$out" != "$expected" ]; then
    echo "$name: unexpected hits"
    diff <(echo "$expected") <(echo "$out") | head -20
    fail=1
  fi
  if [ -n "$check_memory" ]; then
    local kb
    kb=$(sed -n 's/^maxrss_kb=//p' "$work/time")
    if [ "$kb" -ge $((400 * 1024)) ]; then
      echo "$name: $kb KB resident, 400 MB allowed"
      fail=1
    fi
  fi
}

run "link fan-out" "$(printf '%s\n' 'L:\A\x' 'L:\A\x\x' 'L:\B\x')" --drive "L:=$tree/links" -- x
run "content search" "$(printf '%s\n' 'E:\docs\real.docx' 'E:\fifo\hit.txt')" \
  --drive "E:=$tree" -- "s:needle|txt,docx"
exit $fail
