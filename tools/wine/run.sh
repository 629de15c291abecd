#!/usr/bin/env bash
# Runs one Windows program under Wine, in a fresh copy of the build tree's
# template prefix and on its own Xvfb display, and returns its exit code.
#
# Usage: tools/wine/run.sh BUILD_DIR [--screenshot PNG] [--keep-open SECONDS] -- EXE [ARGS...]
#
#   --keep-open SECONDS  start EXE in the background, let it run that long,
#                        then end it (exit code 0 if it was still running,
#                        else its own exit code)
#   --screenshot PNG     with --keep-open: save the whole display to PNG just
#                        before ending the program
#
# The program sees TOVAN_RESULTS (a Windows path; default
# BUILD_DIR/test-results) as the folder for screenshots of failed tests.
# Runs may overlap: each has its own prefix, wineserver, display and
# temporary folder, and ends only the processes it started.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=SCRIPTDIR/common.sh
source "$here/common.sh"

usage() {
  echo "usage: $0 BUILD_DIR [--screenshot PNG] [--keep-open SECONDS] -- EXE [ARGS...]" >&2
  exit 2
}

[[ $# -ge 1 ]] || usage
build_dir=$(tovan_abs_path "$1")
shift
screenshot=""
keep_open=""
while [[ $# -gt 0 ]]; do
  case $1 in
    --screenshot) [[ $# -ge 2 ]] || usage; screenshot=$(tovan_abs_path "$2"); shift 2 ;;
    --keep-open) [[ $# -ge 2 && $2 =~ ^[0-9]+([.][0-9]+)?$ ]] || usage; keep_open=$2; shift 2 ;;
    --) shift; break ;;
    *) usage ;;
  esac
done
[[ $# -ge 1 ]] || usage
if [[ -n $screenshot && -z $keep_open ]]; then
  echo "run.sh: --screenshot needs --keep-open (the display is empty once the program has ended)" >&2
  exit 2
fi
exe=$(tovan_abs_path "$1")
shift
if [[ ! -f $exe ]]; then
  echo "run.sh: no such program: $exe" >&2
  exit 2
fi

results=$(tovan_abs_path "${TOVAN_RESULTS:-$build_dir/test-results}")
mkdir -p "$results"

"$here/prefix.sh" "$build_dir"

run=$(mktemp -d "${TMPDIR:-/tmp}/tovan-wine.XXXXXX")
xvfb_pid=""
server_started=""

# Every process of this run that Wine starts carries this variable; the
# teardown ends exactly those.
marker="TOVAN_WINE_RUN=$run"

# shellcheck disable=SC2317  # called from the EXIT trap
kill_marked_processes() {
  local pids
  pids=$(grep -lzx -- "$marker" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3) || true
  if [[ -n $pids ]]; then
    # shellcheck disable=SC2086
    kill -KILL $pids 2>/dev/null || true
  fi
}

# shellcheck disable=SC2317  # the EXIT trap
cleanup() {
  set +e
  trap - INT TERM HUP
  if [[ -n $server_started ]]; then
    timeout 20 wineserver -k >/dev/null 2>&1
  fi
  kill_marked_processes
  if [[ -n $xvfb_pid ]]; then
    kill -TERM "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$run"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# --- Display --------------------------------------------------------------
# Xvfb picks a free display number itself and writes it to the pipe.
mkfifo "$run/displayfd"
exec 7<>"$run/displayfd"
Xvfb -displayfd 7 -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$run/xvfb.log" 2>&1 &
xvfb_pid=$!
xvfb_started=$(cut -d' ' -f22 "/proc/$xvfb_pid/stat" 2>/dev/null || echo gone)

# If this script is killed outright (a CI time-out), a detached watcher ends
# what the run started once the script is gone.
# shellcheck disable=SC2016  # the watcher's script expands its own arguments
setsid -f bash -c '
  main=$1 run=$2 marker=$3 xvfb=$4 xvfb_started=$5
  tail --pid="$main" -f /dev/null
  [[ -d $run ]] || exit 0
  pids=$(grep -lzx -- "$marker" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3)
  [[ -n $pids ]] && kill -KILL $pids
  if [[ $(cut -d" " -f22 "/proc/$xvfb/stat" 2>/dev/null) == "$xvfb_started" ]]; then
    kill -TERM "$xvfb"
  fi
  rm -rf "$run"
' tovan-wine-watcher "$$" "$run" "$marker" "$xvfb_pid" "$xvfb_started" </dev/null >/dev/null 2>&1 7<&-

# --- Prefix (copied while Xvfb starts) -------------------------------------
flock -s -w 600 "$build_dir/wine/template.lock" cp -a "$build_dir/wine/template" "$run/prefix"
tovan_wine_env "$build_dir" "$run/prefix" "$run"

display=""
for _ in $(seq 150); do
  if read -r -t 0.1 -u 7 display; then
    break
  fi
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    break
  fi
done
exec 7<&-
if [[ ! $display =~ ^[0-9]+$ ]]; then
  echo "run.sh: Xvfb did not start:" >&2
  cat "$run/xvfb.log" >&2
  exit 1
fi
# The display must answer before Wine connects to it: a Wine session that
# cannot open its display has no desktop, and every window test would fail.
for _ in $(seq 100); do
  xdpyinfo -display ":$display" >/dev/null 2>&1 && break
  sleep 0.1
done
if ! xdpyinfo -display ":$display" >/dev/null 2>&1; then
  echo "run.sh: display :$display does not answer:" >&2
  cat "$run/xvfb.log" >&2
  exit 1
fi

in_run() {
  tovan_in_locale env "$marker" DISPLAY=":$display" \
    TOVAN_RESULTS="$(tovan_windows_path "$results")" "$@"
}

server_started=yes
in_run wineserver -p

# The program and the timer run in the background and are waited for, so
# that INT and TERM reach the traps at once instead of after the program.
rc=0
in_run wine "$exe" "$@" </dev/null &
program=$!
if [[ -z $keep_open ]]; then
  wait "$program" || rc=$?
else
  timeout "$keep_open" tail -s 0.1 --pid="$program" -f /dev/null &
  if wait "$!"; then
    # Ended on its own before the time was up.
    wait "$program" || rc=$?
    echo "run.sh: the program ended (exit code $rc) before $keep_open s" >&2
  fi
  if [[ -n $screenshot ]]; then
    mkdir -p "$(dirname "$screenshot")"
    if ! import -window root -display ":$display" "$screenshot"; then
      echo "run.sh: could not take the screenshot $screenshot" >&2
      [[ $rc -ne 0 ]] || rc=1
    fi
  fi
  if kill -0 "$program" 2>/dev/null; then
    timeout 20 wineserver -k >/dev/null 2>&1 || true
    wait "$program" 2>/dev/null || true
  fi
fi
if [[ $rc -ne 0 ]]; then
  # What a failed run needs to be explained: the display and its server's words.
  echo "run.sh: exit code $rc on display :$display (Xvfb pid $xvfb_pid, $(kill -0 "$xvfb_pid" 2>/dev/null && echo running || echo gone))" >&2
  tail -n 20 "$run/xvfb.log" >&2
fi
exit "$rc"
