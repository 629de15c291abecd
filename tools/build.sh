#!/usr/bin/env bash
# Configures and builds one preset (native, win64, bench): tools/build.sh PRESET
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:?preset}
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
