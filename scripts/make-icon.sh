#!/usr/bin/env bash
# Draws the application icon (app/resources/quillmor.ico: 16, 32, 48 and
# 256 px) with ImageMagick. Run it only to change the icon; the .ico is
# committed.
set -euo pipefail
C=/usr/bin/convert   # the real ImageMagick, whatever comes first on PATH
out=$(realpath "$(dirname "$0")/../app/resources/quillmor.ico")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
$C -size 1024x1024 xc:none -fill black -draw "roundrectangle 32,32 992,992 220,220" -alpha extract mask.png
$C -size 1024x1024 gradient:'#3cc98d-#127a57' mask.png -alpha off -compose copy_opacity -composite bg.png
# The large sizes: a magnifier over the lines of a listing.
$C bg.png -fill none -stroke white -strokewidth 96 -draw "circle 450,450 450,210" \
  -strokewidth 120 -draw "line 640,640 800,800" -fill white -stroke none \
  -draw "roundrectangle 300,395 600,440 20,20" -draw "roundrectangle 300,475 530,520 20,20" large.png
# The small sizes: the magnifier alone, with heavier strokes.
$C bg.png -fill none -stroke white -strokewidth 150 -draw "circle 440,440 440,200" \
  -strokewidth 170 -draw "line 650,650 820,820" small.png
$C small.png -filter Lanczos -resize 16x16 i16.png
for s in 32 48 256; do $C large.png -filter Lanczos -resize ${s}x${s} i$s.png; done
$C i16.png i32.png i48.png i256.png "$out"
