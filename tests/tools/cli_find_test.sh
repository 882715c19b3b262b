#!/usr/bin/env bash
# quillmor-cli's hits for a name query over a real directory tree are what
# `find -iname '*QUERY*'` gives for the same tree (ASCII names), and for a
# wildcard query what `find -iname 'QUERY'` gives.
set -euo pipefail
cli=$1
tree=$(mktemp -d)
config=$(mktemp -d)
trap 'rm -rf "$tree" "$config"' EXIT

# A tree with mixed case, spaces, dots, hidden entries and some depth.
words=(report Report REPORT readme notes Data data archive Photo photo src lib Build test)
exts=(.txt .TXT .md .pdf .Docx "" .tar.gz .log)
dirs=("$tree/Annual Report 2024" "$tree/annual_report")
files=("$tree/Annual Report 2024/2024 annual report.pdf" "$tree/annual_report/x")
for i in $(seq 0 400); do
  w=${words[$((i % ${#words[@]}))]}
  e=${exts[$((i * 7 % ${#exts[@]}))]}
  d="$tree/d$((i % 9))/${words[$((i * 3 % ${#words[@]}))]}$((i % 4))"
  [ $((i % 5)) -eq 0 ] && d="$d/deep $((i % 3))/more"
  dirs+=("$d")
  files+=("$d/$w-$i$e")
  [ $((i % 11)) -eq 0 ] && files+=("$d/.hidden $w $i")
done
mkdir -p "${dirs[@]}"
touch "${files[@]}"

fail=0
for query in report README .txt "annual report" "data" "a" "tar.gz" "zzz-nothing" \
             "*.pdf" "REPORT*" "*-1?.txt" "*.t?r.gz" "r*d*-?" "*a*a*" "?" "*zzz*"; do
  pattern="*$query*"
  [[ "$query" == *[*?]* ]] && pattern=$query
  expected=$(cd "$tree" && find . -mindepth 1 -iname "$pattern" | sed -e 's|^\./|E:\\|' -e 's|/|\\|g' | LC_ALL=C sort)
  # Exit status 1 means nothing found, which some queries expect.
  actual=$("$cli" --config "$config" --drive "E:=$tree" -- "$query" | LC_ALL=C sort || [ $? -eq 1 ])
  if [ "$expected" != "$actual" ]; then
    echo "query '$query': quillmor-cli and find disagree"
    diff <(echo "$expected") <(echo "$actual") | head -20
    fail=1
  fi
done
count=$("$cli" --config "$config" --drive "E:=$tree" --count report)
[ "$count" = "$(cd "$tree" && find . -mindepth 1 -iname '*report*' | wc -l)" ] || { echo "--count disagrees"; fail=1; }
exit $fail
