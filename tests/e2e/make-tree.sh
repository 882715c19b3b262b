#!/usr/bin/env bash
# Builds the folder tree the end-to-end run indexes as a drive of its own:
# about 14,000 files in 600 folders with the names people keep (reports,
# notes, photos, budgets, code), sizes from empty to 3 GB (sparse) and dates
# across five years, plus a few names in other scripts. The same tree every
# time: nothing depends on the clock or on chance.
#
#   tests/e2e/make-tree.sh DIR
set -euo pipefail

root=$1
rm -rf "$root"
mkdir -p "$root"
cd "$root"

clients=(Acme Borealis Cobalt Delta Evergreen Fjord Granite Harbor)
years=(2020 2021 2022 2023 2024)
months=(01 02 03 04 05 06 07 08 09 10 11 12)

# Projects: one folder per client, year and month, each with the same kinds
# of files, so that a query like "report" finds a few thousand. Few
# processes: one mkdir, and a touch and a truncate per month.
dirs=()
for c in "${clients[@]}"; do for y in "${years[@]}"; do for m in "${months[@]}"; do
  dirs+=("Projects/$c/$y/$m")
done; done; done
mkdir -p "${dirs[@]}"
for y in "${years[@]}"; do
  for m in "${months[@]}"; do
    files=() notes=() reports=() photos=()
    for c in "${clients[@]}"; do
      d="Projects/$c/$y/$m"
      files+=("$d/Report summary $c.pdf" "$d/budget_$y$m.xlsx" "$d/draft-report-v1.md" "$d/draft-report-v2.md"
        "$d/minutes $y-$m.txt" "$d/invoice_${c}_$y$m.pdf" "$d/photo_$y${m}_02.jpg" "$d/slides-$c.pptx"
        "$d/contract.pdf")
      notes+=("$d/notes-$m.txt")
      reports+=("$d/report-$y-$m.docx")
      photos+=("$d/photo_$y${m}_01.jpg")
    done
    # Sizes a list shows in every unit, the larger ones sparse.
    truncate -s 1023 "${notes[@]}"
    truncate -s $((40 * 1024 + 10#$m)) "${reports[@]}"
    truncate -s $((3 * 1024 * 1024)) "${photos[@]}"
    touch -d "$y-$m-15 10:30" "${files[@]}" "${notes[@]}" "${reports[@]}" "${photos[@]}"
  done
done

# A source tree: deep folders of code files.
names=()
for p in core engine ui net storage; do
  for s in a b c d e f g h; do
    d="Code/quill-$p/src/$s"
    mkdir -p "$d"
    for i in $(seq -w 1 20); do names+=("$d/${p}_${s}_$i.cpp" "$d/${p}_${s}_$i.h"); done
  done
done
touch -d "2024-02-06 09:00" "${names[@]}"

# Media with large files.
mkdir -p "Media/Videos" "Media/Music/Albums"
for i in $(seq -w 1 30); do
  truncate -s $((1024 * 1024 * 1024 + 10#$i)) "Media/Videos/holiday-$i.mp4"
  touch "Media/Music/Albums/track $i.flac"
done
truncate -s $((3 * 1024 * 1024 * 1024)) "Media/Videos/archive-2019.mkv"
touch -d "2023-07-01 20:00" Media/Videos/* Media/Music/Albums/*

# Names in other scripts, and names that differ only in case.
mkdir -p "International/中文资料" "International/Résumés"
touch "International/中文资料/报告-2024.txt" "International/中文资料/会议记录.docx" \
  "International/Résumés/résumé.pdf" "International/Résumés/Ünïcödé notes.txt" \
  "International/README.TXT" "International/readme-copy.txt"

# Plenty of small files in one folder, as a mail export or a cache has.
mkdir -p "Archive/mail-export"
(cd "Archive/mail-export" && seq -f "message-%05g.eml" 1 6000 | xargs touch -d "2022-11-11 11:11")
