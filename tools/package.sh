#!/usr/bin/env bash
# Makes what a Windows user downloads: dist/Tovan-<version>-win64.zip, a
# folder holding the shipped tovan.exe, the manual as one HTML page with its
# pictures inside (使用说明.html, from docs/使用说明.md) and 说明.txt (GBK,
# CR LF, for any Notepad). The version is the project's (CMakeLists.txt).
# The same commit gives the same zip bytes: every entry has the commit's
# time and fixed permissions, in a fixed order, without extra fields; the
# names are stored as UTF-8 and marked so.
#
# Usage: tools/package.sh                       builds the program, then packs it
#        tools/package.sh --no-build BUILD OUT  packs BUILD's program into OUT
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [[ ${1:-} == --no-build ]]; then
  [[ $# -eq 3 ]] || { echo "usage: $0 [--no-build BUILD_DIR OUT_DIR]" >&2; exit 2; }
  build=$(realpath -m "$2")
  out=$(realpath -m "$3")
else
  [[ $# -eq 0 ]] || { echo "usage: $0 [--no-build BUILD_DIR OUT_DIR]" >&2; exit 2; }
  tools/setup.sh
  tools/build.sh win64 >/dev/null
  build=$root/build/win64
  out=$root/dist
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[[ -n $version ]] || { echo "package: no project version in $build/CMakeCache.txt" >&2; exit 1; }
exe=$build/bin/tovan.exe
[[ -f $exe ]] || { echo "package: $exe is missing: build first" >&2; exit 1; }
name=Tovan-$version-win64

# The entries' time: the commit's (the last change of the sources), else a fixed day.
stamp=$(TZ=UTC git -C "$root" log -1 --format=%cd --date=format-local:%Y%m%d%H%M.%S 2>/dev/null || true)
[[ -n $stamp ]] || stamp=202601010000.00

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder=$work/$name
mkdir -p "$folder"

cp "$exe" "$folder/tovan.exe"
# The manual: pictures embedded, so the page is one file that opens anywhere.
(cd "$root/docs" && pandoc 使用说明.md --from markdown-implicit_figures --to html5 --standalone --self-contained \
   --metadata pagetitle="Tovan 使用说明" --metadata lang=zh-CN --css manual.css --quiet \
   --resource-path=. --output "$folder/使用说明.html")
# 说明.txt as Notepad on a Chinese Windows reads it.
sed 's/$/\r/' "$root/docs/说明.txt" | iconv -f UTF-8 -t GBK >"$folder/说明.txt"

entries=("$name/tovan.exe" "$name/使用说明.html" "$name/说明.txt")
chmod 644 "$folder"/*
for entry in "${entries[@]}"; do TZ=UTC touch -t "$stamp" "$work/$entry"; done

mkdir -p "$out"
zip_path=$out/$name.zip
rm -f "$zip_path"
(cd "$work" && TZ=UTC zip -q -X -D -9 -UN=UTF8 "$zip_path" "${entries[@]}")
echo "$zip_path"
