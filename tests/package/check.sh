#!/usr/bin/env bash
# The package a user downloads, checked as they would meet it: packed twice
# from one build (the same bytes both times), holding exactly the program,
# the manual and 说明.txt; the manual one page with every picture inside;
# 说明.txt readable as GBK with CR LF line ends; and the program, unpacked,
# starting from its own folder under Wine, showing its window and carrying
# its version in its file (tests/e2e/program/package_test.cpp).
#
# Usage: tests/package/check.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "$1")
source "$root/tools/wine/common.sh"

fail() {
  echo "package check: $*" >&2
  exit 1
}

work=$build/package-check
rm -rf "$work"
mkdir -p "$work"
first=$("$root/tools/package.sh" --no-build "$build" "$work/first")
second=$("$root/tools/package.sh" --no-build "$build" "$work/second")
cmp -s "$first" "$second" || fail "two packings of one build differ"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=Tovan-$version-win64
[[ $(basename "$first") == "$name.zip" ]] || fail "the package is named $(basename "$first"), not $name.zip"

expected=$(printf '%s\n' "$name/tovan.exe" "$name/使用说明.html" "$name/说明.txt")
listing=$(unzip -Z1 "$first")
[[ $listing == "$expected" ]] || fail "the package holds"$'\n'"$listing"$'\n'"instead of"$'\n'"$expected"

unzip -q "$first" -d "$work/unpacked"
folder=$work/unpacked/$name
cmp -s "$folder/tovan.exe" "$build/bin/tovan.exe" || fail "tovan.exe in the package is not the build's"

html=$folder/使用说明.html
pictures=$(grep -o '](images/[^)]*\.png)' "$root/docs/使用说明.md" | sort -u | wc -l)
((pictures > 0)) || fail "the manual shows no pictures"
for picture in $(grep -o '](images/[^)]*\.png)' "$root/docs/使用说明.md" | sort -u | sed 's/^](//; s/)$//'); do
  [[ -f $root/docs/$picture ]] || fail "the manual shows $picture, which is missing"
done
embedded=$(grep -o 'src="data:image/png;base64,' "$html" | wc -l)
((embedded >= pictures)) || fail "the page holds $embedded pictures of the manual's $pictures"
if grep -q 'src="images/' "$html"; then fail "the page links a picture instead of holding it"; fi

iconv -f GBK -t UTF-8 "$folder/说明.txt" >/dev/null || fail "说明.txt is not GBK text"
if grep -q $'[^\r]$' "$folder/说明.txt"; then fail "说明.txt has a line without CR LF"; fi

TOVAN_PACKAGE_DIR=$(tovan_windows_path "$folder") \
  "$root/tools/wine/run.sh" "$build" -- "$build/bin/tovan_program_tests.exe" --gtest_filter='PackageTest.*' \
  "--gtest_output=xml:$(tovan_windows_path "${TOVAN_TEST_RESULTS:-$build/test-results}")\\package.xml"
