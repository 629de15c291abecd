#!/usr/bin/env bash
# Installs what is missing, builds the Windows program and starts it under
# Wine: on the current display, or, with no display, on a private virtual
# display for a few seconds, saving a screenshot (build/win64/tovan.png).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh win64 >/dev/null
build=$PWD/build/win64
if [ -n "${DISPLAY:-}" ]; then
  source tools/wine/common.sh
  tools/wine/prefix.sh "$build"
  prefix=$build/wine/user-prefix
  [ -d "$prefix" ] || cp -a "$build/wine/template" "$prefix"
  tovan_wine_env "$build" "$prefix" "$build/wine/user-private"
  exec env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 wine "$build/bin/tovan.exe"
else
  tools/wine/run.sh "$build" --keep-open 6 --screenshot "$build/tovan.png" -- "$build/bin/tovan.exe"
  echo "run: screenshot saved to $build/tovan.png"
fi
