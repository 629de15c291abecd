#!/usr/bin/env bash
# Configures and builds one preset (native, win64, bench): tools/build.sh PRESET
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:?preset}
# The compiler cache (outside the checkout) hits from any clone's folder:
# paths under it are hashed relative to it, and the folder itself is not.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
