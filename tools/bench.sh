#!/usr/bin/env bash
# Builds and runs the benchmarks: Google Benchmark programs of the optimised
# native build, and the timed scenarios of the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh bench >/dev/null
for program in build/bench/bin/tovan_*_bench; do
  [ -x "$program" ] && "$program"
done
tools/build.sh win64 >/dev/null
echo "Wait accuracy under Wine (error = actual - asked, ms; ticks/s = timer events handled meanwhile):"
tools/wine/run.sh build/win64 -- build/win64/bin/tovan_wait_accuracy.exe
echo "A slot of a million rows opened and saved, a check click, a 50 MB import, all under Wine:"
tools/wine/run.sh build/win64 -- build/win64/bin/tovan_slot_timing.exe
echo "The paste engine's own delay and an automatic run's per-row overhead, under Wine:"
tools/wine/run.sh build/win64 -- build/win64/bin/tovan_paste_timing.exe
echo "Start-up of the shipped (packed) program against the plain executable, under Wine:"
tools/wine/run.sh build/win64 -- build/win64/bin/tovan_startup_timing.exe
echo "The recorder's hook procedures while recording fast typing, and replay timing, under Wine:"
tools/wine/run.sh build/win64 -- build/win64/bin/tovan_recorder_timing.exe
