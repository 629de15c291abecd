#!/usr/bin/env bash
# Makes the manual's pictures (docs/images/*.png) with the real program
# under Wine: the program, the field program beside it and the picture
# maker run from a folder of their own; each picture is cut out of a
# screenshot of the whole virtual display. Run it for every release, so
# that no picture shows an older window.
#
# Usage: tools/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh win64 >/dev/null
build=$PWD/build/win64
source tools/wine/common.sh

stage=$build/screenshots
rm -rf "$stage"
mkdir -p "$stage/bin" "$stage/shots"
cp -p "$build/bin/tovan.exe" "$build/bin/tovan_target.exe" "$build/bin/tovan_screenshots.exe" "$stage/bin/"
tools/wine/run.sh "$build" -- "$stage/bin/tovan_screenshots.exe" "$(tovan_windows_path "$stage/shots")"

mkdir -p docs/images
while read -r name x y width height; do
  # No time stamps in the files: a picture that did not change stays the same bytes.
  picture=$stage/shots/$name.png
  convert "$stage/shots/$name.bmp" -crop "${width}x${height}+${x}+${y}" +repage "$picture"
  # Around windows side by side lies the bare (black) display: a page-like
  # grey reads better in the manual.
  if [[ $(convert "$picture" -format '%[fx:p{0,0}.r+p{0,0}.g+p{0,0}.b==0]' info:) == 1 ]]; then
    convert "$picture" -fill '#eeeeee' -draw 'color 0,0 floodfill' "$picture"
  fi
  convert "$picture" -strip -define png:exclude-chunks=date,time "docs/images/$name.png"
  echo "screenshots: docs/images/$name.png (${width}x${height})"
done <"$stage/shots/crops.txt"
