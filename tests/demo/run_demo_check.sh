#!/usr/bin/env bash
# Runs scripts/run-demo on an existing build, as on a machine without a
# display, for a few seconds; then asks it to end and checks that the
# program, the stand-in and the virtual X server all ended, that the program
# ended cleanly and that the script said where the program shows itself.
# Both ways the script runs the program are checked: always on Qt's offscreen
# platform (RUN_DEMO_OFFSCREEN=1), and under xvfb-run where that is installed.
#   run_demo_check.sh <source dir> <build dir>
set -euo pipefail
source_dir=$1
build_dir=$2
output=$(mktemp)
shot=$(mktemp --suffix=.png)
script_pid=""
cleanup() {
  if [ -n "$script_pid" ]; then kill -TERM "$script_pid" 2> /dev/null || true; fi
  rm -f "$output" "$shot"
}
trap cleanup EXIT

# Running, and not a process that has ended and waits to be reaped.
alive() {
  local state
  state=$(sed -n 's/^[0-9]* (.*) \([A-Z]\).*/\1/p' "/proc/$1/stat" 2> /dev/null) || return 1
  [ -n "$state" ] && [ "$state" != "Z" ] && [ "$state" != "X" ]
}

fail() {
  echo "FAIL ($way): $*"
  cat "$output"
  exit 1
}

# Waits (bounded) until process $1 has ended.
gone() {
  for _ in $(seq 1 100); do
    alive "$1" || return 0
    sleep 0.1
  done
  ! alive "$1"
}

# One run: $1 names the way, the rest are extra environment settings.
check_run() {
  way=$1
  shift
  : > "$output"
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM RUN_DEMO_BUILD_DIR="$build_dir" "$@" \
    "$source_dir/scripts/run-demo" > "$output" 2>&1 &
  script_pid=$!

  # Both programs up (bounded wait), then a few seconds of running.
  for _ in $(seq 1 600); do
    if grep -q "sentrelldemo (pid [0-9]*) started" "$output"; then break; fi
    alive "$script_pid" || fail "run-demo ended early"
    sleep 0.1
  done
  grep -q "sentrelldemo (pid [0-9]*) started" "$output" || fail "the program did not start"
  local demo_pid standin_pid xvfb_pid
  demo_pid=$(sed -n 's/.*sentrelldemo (pid \([0-9]*\)) started.*/\1/p' "$output")
  standin_pid=$(sed -n 's/.*stand-in (pid \([0-9]*\)) listening.*/\1/p' "$output")
  xvfb_pid=$(sed -n 's/.*(Xvfb, pid \([0-9]*\)).*/\1/p' "$output")
  [ -n "$standin_pid" ] || fail "no stand-in pid"
  sleep 3
  alive "$demo_pid" || fail "the program did not keep running"
  alive "$standin_pid" || fail "the stand-in did not keep running"
  if [ "$way" = xvfb-run ]; then
    [ -n "$xvfb_pid" ] || fail "no X server pid"
    alive "$xvfb_pid" || fail "the X server did not keep running"
    [ "$(cat "/proc/$demo_pid/comm")" = sentrelldemo ] || fail "pid $demo_pid is not the program"
    grep -q "started on display :[0-9]*" "$output" || fail "the display was not named"
    # The screenshot command as the script gives it reaches the program's display.
    local key display
    key=$(sed -n 's/.*take a screenshot: XAUTHORITY=\([^ ]*\) import -display :[0-9]* -window root .*/\1/p' "$output")
    display=$(sed -n 's/.*started on display \(:[0-9]*\).*/\1/p' "$output")
    [ -n "$key" ] && [ -n "$display" ] || fail "no screenshot command"
    if command -v import > /dev/null 2>&1; then
      XAUTHORITY="$key" import -display "$display" -window root "$shot" > /dev/null 2>&1 ||
        fail "the screenshot command failed"
      [ -s "$shot" ] || fail "the screenshot is empty"
    fi
  fi

  kill -TERM "$script_pid"
  local status=""
  for _ in $(seq 1 300); do
    if ! alive "$script_pid"; then
      if wait "$script_pid"; then status=0; else status=$?; fi
      break
    fi
    sleep 0.1
  done
  [ -n "$status" ] || fail "run-demo did not end after SIGTERM"
  script_pid=""
  [ "$status" -eq 0 ] || fail "run-demo ended with status $status"
  if ! gone "$demo_pid"; then fail "the program is still running"; fi
  if ! gone "$standin_pid"; then fail "the stand-in is still running"; fi
  if [ -n "$xvfb_pid" ] && ! gone "$xvfb_pid"; then fail "the X server is still running"; fi
  grep -q "stand-in stopped" "$output" || fail "the stand-in was not stopped by the script"
  grep -q "sentrelldemo ended (status 0)" "$output" || fail "the program did not end cleanly"
  grep -q "to end it: Ctrl-C here" "$output" || fail "how to end the program was not said"
  cat "$output"
  echo "PASS ($way)"
}

check_run offscreen RUN_DEMO_OFFSCREEN=1
grep -q "offscreen platform" "$output" || fail "the offscreen platform was not reported"
if command -v xvfb-run > /dev/null 2>&1; then
  # On an X server the program loads libraries that the sanitizer build's
  # checks report although nothing is wrong in the program: libxkbcommon-x11
  # hands strndup texts of a known length that have no terminating zero
  # (strict string checks), and libdbus keeps a buffer to the end (leak
  # check). The offscreen run above keeps both checks on the program itself.
  check_run xvfb-run ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0:detect_leaks=0"
  grep -q "X server of display :[0-9]* stopped" "$output" || fail "the X server was not reported stopped"
else
  # Without xvfb-run the script falls back to the offscreen platform by itself.
  check_run "no xvfb-run"
  grep -q "xvfb-run is not installed" "$output" || fail "the missing xvfb-run was not reported"
fi
echo "PASS"
