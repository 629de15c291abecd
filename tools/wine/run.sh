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
# BUILD_DIR/test-results) as the folder for screenshots of failed tests,
# and TOVAN_DROP_AGENT (a Windows path) as the folder through which it asks
# for files to be dropped on a window (see "Drop agent" below).
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
agent_pid=""

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
  if [[ -n $agent_pid ]]; then
    kill -TERM "$agent_pid" 2>/dev/null
    wait "$agent_pid" 2>/dev/null
  fi
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

# --- Drop helper (a native X program, built here) --------------------------
# Built into the build tree when missing or older than its source; several
# runs may build it at once, each into its own file, renamed into place.
xdnd_drop=$build_dir/wine/xdnd_drop
if [[ ! -x $xdnd_drop || $here/xdnd_drop.c -nt $xdnd_drop ]]; then
  if cc -O2 -o "$xdnd_drop.$$" "$here/xdnd_drop.c" -lX11 >"$run/xdnd_drop.log" 2>&1; then
    mv -f "$xdnd_drop.$$" "$xdnd_drop"
  else
    rm -f "$xdnd_drop.$$"
    # Only tests that drop files need it: they fail with this message.
    { echo "run.sh: could not build $xdnd_drop; file drops will fail:"; cat "$run/xdnd_drop.log"; } >&2
  fi
fi

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

drop_dir=$run/drop
mkdir -p "$drop_dir"

in_run() {
  tovan_in_locale env "$marker" DISPLAY=":$display" \
    TOVAN_RESULTS="$(tovan_windows_path "$results")" \
    TOVAN_DROP_AGENT="$(tovan_windows_path "$drop_dir")" "$@"
}

server_started=yes
in_run wineserver -p

# --- Drop agent -----------------------------------------------------------
# A test drops files on a window through the real X drag and drop path by
# asking this agent: it writes request.tmp in the TOVAN_DROP_AGENT folder
# (UTF-8 lines: "X Y" in screen pixels, then one Windows path a line, on
# drive Z: or C:) and renames it to request.txt. The agent takes the request
# away, runs xdnd_drop on this run's display, and answers with reply.txt
# (written under another name, then renamed): xdnd_drop's exit code on the
# first line (0: the window got the files), its messages after.

# drop_unix_path WINDOWS_PATH: sets unix_path, or fails for a drive that is
# not Z: (the Unix root) or C: (the prefix's drive_c).
# shellcheck disable=SC2317  # called from the agent
drop_unix_path() {
  local p=${1//\\//}
  p=${p#//[?.]/}
  case $p in
    [Zz]:/*) unix_path=${p:2} ;;
    [Zz]:) unix_path=/ ;;
    [Cc]:/* | [Cc]:) unix_path=$WINEPREFIX/drive_c${p:2} ;;
    *) return 1 ;;
  esac
}

# shellcheck disable=SC2317  # called from the agent
serve_drop_request() {
  local request=$1 first="" line x y unix_path status=0 out=""
  local -a paths=()
  {
    IFS= read -r first || true
    while IFS= read -r line || [[ -n $line ]]; do
      line=${line%$'\r'}
      [[ -z $line ]] && continue
      if drop_unix_path "$line"; then
        paths+=("$unix_path")
      else
        status=2 out+="run.sh: cannot map \"$line\" to a Unix path (only drives Z: and C: are known)"$'\n'
      fi
    done
  } <"$request"
  rm -f "$request"
  first=${first#$'\xef\xbb\xbf'}
  first=${first%$'\r'}
  if [[ $first =~ ^[[:space:]]*(-?[0-9]+)[[:space:]]+(-?[0-9]+)[[:space:]]*$ ]]; then
    x=${BASH_REMATCH[1]} y=${BASH_REMATCH[2]}
  else
    status=2 out+="run.sh: the first line of a drop request must be \"X Y\", not \"$first\""$'\n'
  fi
  if [[ ${#paths[@]} -eq 0 && $status -eq 0 ]]; then
    status=2 out+="run.sh: a drop request names no files"$'\n'
  fi
  if [[ $status -eq 0 && ! -x $xdnd_drop ]]; then
    status=127 out+="run.sh: $xdnd_drop was not built:"$'\n'"$(cat "$run/xdnd_drop.log" 2>/dev/null)"
  fi
  if [[ $status -eq 0 ]]; then
    # Marked like Wine's processes, so the teardown ends a drop in progress.
    out=$(env "$marker" DISPLAY=":$display" timeout -k 1 9.5 "$xdnd_drop" "$x" "$y" "${paths[@]}" 2>&1 >/dev/null) ||
      status=$?
  fi
  printf '%s\n%s\n' "$status" "${out%$'\n'}" >"$drop_dir/reply.tmp"
  mv -f "$drop_dir/reply.tmp" "$drop_dir/reply.txt"
}

# Polls every 50 ms without starting a process (a read with a time-out on a
# pipe nobody writes); ends with this script or its run folder.
# shellcheck disable=SC2317  # runs in the background
drop_agent() {
  local tick
  set +e
  mkfifo "$run/drop.tick" || return
  exec {tick}<>"$run/drop.tick"
  while [[ -d $drop_dir ]] && kill -0 "$$" 2>/dev/null; do
    if [[ -f $drop_dir/request.txt ]] && mv -f "$drop_dir/request.txt" "$run/drop.request"; then
      serve_drop_request "$run/drop.request"
    fi
    read -r -t 0.05 -u "$tick"
  done
}
drop_agent </dev/null >/dev/null 2>&1 &
agent_pid=$!

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
