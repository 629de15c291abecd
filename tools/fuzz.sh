#!/usr/bin/env bash
# Builds the libFuzzer harnesses of every file reader (clang, with address
# and undefined-behaviour sanitizers) and runs each for SECONDS (default 60),
# keeping their corpora in build/fuzz/corpus. A crash leaves its input in
# build/fuzz/crashes and fails the run.
#
# Usage: tools/fuzz.sh [SECONDS] [RESULTS_DIR]
#   RESULTS_DIR  also write the outcome per harness as a test-result XML there
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
results=${2:-}
tools/setup.sh || exit 1
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1  # as tools/build.sh
cmake --preset fuzz >/dev/null || exit 1
harnesses=(archive check_states dropped_file recording_file settings_file slot_files)
cmake --build --preset fuzz --target "${harnesses[@]/#/tovan_fuzz_}" >/dev/null || { echo "fuzz: the build failed"; exit 1; }

status=0
cases=""
mkdir -p build/fuzz/crashes
# One harness per core at a time; each keeps its own log and exit status.
cores=$(nproc)
running=0
for harness in "${harnesses[@]}"; do
  corpus=build/fuzz/corpus/$harness
  mkdir -p "$corpus"
  (build/fuzz/bin/tovan_fuzz_"$harness" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
     -artifact_prefix=build/fuzz/crashes/"$harness"- -print_final_stats=1 "$corpus" tests/fuzz/seeds \
     >build/fuzz/"$harness".log 2>&1
   echo $? >build/fuzz/"$harness".status) &
  running=$((running + 1))
  if ((running >= cores)); then
    wait -n
    running=$((running - 1))
  fi
done
wait
for harness in "${harnesses[@]}"; do
  log=build/fuzz/$harness.log
  if [[ $(cat build/fuzz/"$harness".status) == 0 ]]; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
    echo "fuzz: $harness: ${runs:-?} inputs in ${seconds} s, no failure"
    cases+="<testcase name=\"$harness\" classname=\"fuzz\"/>"
  else
    echo "fuzz: $harness FAILED (see $log and build/fuzz/crashes)"
    tail -n 30 "$log"
    cases+="<testcase name=\"$harness\" classname=\"fuzz\"><failure message=\"crash\"/></testcase>"
    status=1
  fi
done
if [[ -n $results ]]; then
  mkdir -p "$results"
  echo "<testsuites><testsuite name=\"fuzz\">$cases</testsuite></testsuites>" >"$results/fuzz.xml"
fi
exit $status
