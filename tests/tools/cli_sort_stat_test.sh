#!/usr/bin/env bash
# quillmor-cli --sort size|modified --long over a real tree: every size and
# time agrees with stat(1), and the order is the program's (directories first
# by size and by time, then ascending keys; --desc exactly reverses).
set -euo pipefail
cli=$1
tree=$(mktemp -d)
config=$(mktemp -d)
trap 'rm -rf "$tree" "$config"' EXIT

mkdir -p "$tree/docs/old" "$tree/empty dir" "$tree/Photos"
sizes=(0 1 5 5 17 4096 70000 123 9 5000)
dates=("2021-01-02 03:04" "2022-06-07 08:09" "2019-12-31 23:59" "2024-02-29 12:00" "2020-05-05 05:05"
       "2023-03-03 03:03" "2018-08-08 08:08" "2022-06-07 08:09" "2025-10-10 10:10" "2017-07-07 07:07")
for i in "${!sizes[@]}"; do
  case $((i % 3)) in 0) d="$tree/docs" ;; 1) d="$tree/docs/old" ;; *) d="$tree/Photos" ;; esac
  f="$d/file-$i.bin"
  head -c "${sizes[$i]}" /dev/zero > "$f"
  touch -d "${dates[$i]}" "$f"
done

fail=0
local_time() { date -d "@$1" '+%Y-%m-%d %H:%M'; }
native() { local p=${1#E:\\}; echo "$tree/${p//\\//}"; }

check() {  # $1 = column, $2 = awk field of the key (1 size, 2 modified)
  local out
  out=$("$cli" --config "$config" --drive "E:=$tree" --sort "$1" --long "")
  local previous="" seen_file=0
  # Tabs to "|": read would merge the empty size field of a directory into
  # the next one, tab being blank for it.
  while IFS='|' read -r size modified created path; do
    local f; f=$(native "$path")
    if [ -d "$f" ]; then
      [ -z "$size" ] || { echo "$1: directory $path has a size"; fail=1; }
      [ $seen_file -eq 0 ] || { echo "$1: directory $path after a file"; fail=1; }
      continue
    fi
    seen_file=1
    [ "$size" = "$(stat -c %s "$f")" ] || { echo "$1: size of $path is $size"; fail=1; }
    [ "$modified" = "$(local_time "$(stat -c %Y "$f")")" ] || { echo "$1: modified of $path is $modified"; fail=1; }
    local born; born=$(stat -c %W "$f"); [ "$born" = "0" ] || [ "$born" = "-" ] && born=$(stat -c %Z "$f")
    [ "$created" = "$(local_time "$born")" ] || { echo "$1: created of $path is $created"; fail=1; }
    local key; key=$([ "$2" = 1 ] && echo "$size" || echo "$modified")
    if [ -n "$previous" ]; then
      if [ "$2" = 1 ]; then [ "$key" -ge "$previous" ] || { echo "$1: $path out of order"; fail=1; }
      else [[ ! "$key" < "$previous" ]] || { echo "$1: $path out of order"; fail=1; }; fi
    fi
    previous=$key
  done <<< "$(echo "$out" | tr '\t' '|')"
  [ "$(echo "$out" | wc -l)" = "$(find "$tree" -mindepth 1 | wc -l)" ] || { echo "$1: row count"; fail=1; }
  # A second click reverses the order exactly.
  local reversed
  reversed=$("$cli" --config "$config" --drive "E:=$tree" --sort "$1" --desc --long "")
  [ "$reversed" = "$(echo "$out" | tac)" ] || { echo "$1: --desc is not the reverse"; fail=1; }
}
check size 1
check modified 2
exit $fail
