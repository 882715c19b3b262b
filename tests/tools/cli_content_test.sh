#!/usr/bin/env bash
# quillmor-cli's hits for a content query over a real directory tree are the
# files `grep -rlF` finds among the same .txt files (ASCII text, lower-case
# extensions), and --stats counts what was read.
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tree=$work/tree
# The settings files of the document search go to the configuration
# directory under $HOME: keep them out of the real one.
export HOME=$work/home XDG_DATA_HOME=$work/home/data
mkdir -p "$tree" "$HOME/Documents"

words=(alpha beta gamma delta invoice report needle haystack)
for i in $(seq 0 120); do
  d="$tree/d$((i % 7))/sub$((i % 3))"
  mkdir -p "$d"
  line=""
  for j in $(seq 0 $((i % 13))); do line="$line ${words[$(((i * j + j) % ${#words[@]}))]}"; done
  printf '%s\n' "$line" > "$d/file$i.txt"
  printf '%s\n' "$line" > "$d/file$i.md"
done
mkdir -p "$tree/dir.txt"                                # a directory is never read
printf 'needle\n' > "$tree/dir.txt/inside.log"
printf 'a needle in a big file\n%.0s' $(seq 1 3000) > "$tree/big.txt"

fail=0
for term in needle "invoice report" Needle haystack zzz-nothing; do
  expected=$(cd "$tree" && grep -rlF --include='*.txt' -e "$term" . | sed -e 's|^\./|E:\\|' -e 's|/|\\|g' | LC_ALL=C sort || true)
  # Exit status 1 means nothing found, which zzz-nothing expects.
  actual=$("$cli" --drive "E:=$tree" -- "s:$term" | LC_ALL=C sort || [ $? -eq 1 ])
  if [ "$expected" != "$actual" ]; then
    echo "content query '$term': quillmor-cli and grep disagree"
    diff <(echo "$expected") <(echo "$actual") | head -20
    fail=1
  fi
done

stats=$("$cli" --drive "E:=$tree" --stats -- "s:needle|txt,md" 2>&1 >/dev/null)
files=$(find "$tree" -type f \( -name '*.txt' -o -name '*.md' \) | wc -l)
bytes=$(find "$tree" -type f \( -name '*.txt' -o -name '*.md' \) -printf '%s\n' | awk '{s += $1} END {print s}')
case "$stats" in
  *" candidates=$files bytes_read=$bytes"*) ;;
  *) echo "--stats: expected candidates=$files bytes_read=$bytes in: $stats"; fail=1 ;;
esac
exit $fail
