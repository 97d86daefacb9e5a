#!/usr/bin/env bash
# Runs scripts/run-demo on an existing build, as on a machine without a
# display, for a few seconds; then asks it to end and checks that the
# program and the stand-in both ended and that the script reported the
# missing display.
#   run_demo_check.sh <source dir> <build dir>
set -euo pipefail
source_dir=$1
build_dir=$2
output=$(mktemp)
trap 'rm -f "$output"' EXIT

env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM RUN_DEMO_BUILD_DIR="$build_dir" \
  "$source_dir/scripts/run-demo" > "$output" 2>&1 &
script_pid=$!

# Running, and not a process that has ended and waits to be reaped.
alive() {
  local state
  state=$(sed -n 's/^[0-9]* (.*) \([A-Z]\).*/\1/p' "/proc/$1/stat" 2> /dev/null) || return 1
  [ -n "$state" ] && [ "$state" != "Z" ] && [ "$state" != "X" ]
}

fail() {
  echo "FAIL: $*"
  cat "$output"
  kill -TERM "$script_pid" 2> /dev/null || true
  exit 1
}

# Both programs up (bounded wait), then a few seconds of running.
for _ in $(seq 1 600); do
  if grep -q "sentrelldemo (pid [0-9]*) started" "$output"; then break; fi
  alive "$script_pid" || fail "run-demo ended early"
  sleep 0.1
done
grep -q "sentrelldemo (pid [0-9]*) started" "$output" || fail "the program did not start"
demo_pid=$(sed -n 's/.*sentrelldemo (pid \([0-9]*\)) started.*/\1/p' "$output")
standin_pid=$(sed -n 's/.*stand-in (pid \([0-9]*\)) listening.*/\1/p' "$output")
[ -n "$standin_pid" ] || fail "no stand-in pid"
sleep 3
alive "$demo_pid" || fail "the program did not keep running"
alive "$standin_pid" || fail "the stand-in did not keep running"

kill -TERM "$script_pid"
status=""
for _ in $(seq 1 300); do
  if ! alive "$script_pid"; then
    if wait "$script_pid"; then status=0; else status=$?; fi
    break
  fi
  sleep 0.1
done
[ -n "$status" ] || fail "run-demo did not end after SIGTERM"
[ "$status" -eq 0 ] || fail "run-demo ended with status $status"
if alive "$demo_pid"; then fail "the program is still running"; fi
if alive "$standin_pid"; then fail "the stand-in is still running"; fi
grep -q "no display" "$output" || fail "the missing display was not reported"
grep -q "stand-in stopped" "$output" || fail "the stand-in was not stopped by the script"
grep -q "sentrelldemo ended (status 0)" "$output" || fail "the program did not end cleanly"
cat "$output"
echo "PASS"
