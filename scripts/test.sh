#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test:
#   1. all tests under AddressSanitizer + UndefinedBehaviorSanitizer, the
#      display tests on a virtual X server with a window manager;
#   2. the threaded tests again under ThreadSanitizer;
#   3. each fuzz target for KLV_FUZZ_SECONDS (default 60) seconds, from the
#      seeds the first step's tests left (scripts/fuzz.sh).
# Prints "N passed, N failed" at the end; the exit status is 0 only when
# every test passed.
set -uo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"
"$top/scripts/install-deps.sh" || exit 1

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

configure_and_build() {  # folder sanitizer [targets...]
  local dir="$1" sanitize="$2"; shift 2
  cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKLV_SANITIZE="$sanitize" "${launcher[@]}" >/dev/null || return 1
  if (($#)); then
    cmake --build "$dir" -j"$jobs" --target "$@"
  else
    cmake --build "$dir" -j"$jobs"
  fi
}

# A virtual screen with a window manager for the tests that open real windows.
start_display() {
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  openbox >/dev/null 2>&1 &
  wm_pid=$!
  sleep 0.5
}
stop_display() {
  kill "${wm_pid:-}" "${xvfb_pid:-}" 2>/dev/null
  wait 2>/dev/null
}
trap stop_display EXIT

passed=0; failed=0
count_results() {  # log file
  local line
  line=$(grep -E "tests passed, [0-9]+ tests failed out of" "$1" | tail -n 1)
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  local total fail
  fail=$(sed -E 's/.*tests passed, ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.*tests failed out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - fail)); failed=$((failed + fail))
}

status=0
echo "== building with AddressSanitizer and UndefinedBehaviorSanitizer"
if configure_and_build "$top/build/asan" address; then
  start_display
  echo "== running every test (display $DISPLAY)"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$top/build/asan" --output-on-failure -j"$jobs" 2>&1 | tee "$top/build/asan-tests.log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  count_results "$top/build/asan-tests.log"
else
  echo "build failed"; status=1; failed=$((failed + 1))
fi

echo "== building the threaded tests with ThreadSanitizer"
threaded=$(cd "$top/build/asan" 2>/dev/null && ctest -N -L threaded | sed -nE 's/^ *Test *#[0-9]+: (.*)$/\1/p')
if [ -n "$threaded" ] && configure_and_build "$top/build/tsan" thread $threaded; then
  echo "== running the threaded tests under ThreadSanitizer"
  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    ctest --test-dir "$top/build/tsan" --output-on-failure -L threaded -j"$jobs" 2>&1 | tee "$top/build/tsan-tests.log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  count_results "$top/build/tsan-tests.log"
else
  echo "ThreadSanitizer build failed"; status=1; failed=$((failed + 1))
fi

echo "== fuzzing each target for ${KLV_FUZZ_SECONDS:-60} seconds"
"$top/scripts/fuzz.sh" "${KLV_FUZZ_SECONDS:-60}" 2>&1 | tee "$top/build/fuzz-run.log"
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
fuzz_passed=$(grep -c "^fuzz .*: passed" "$top/build/fuzz-run.log")
fuzz_failed=$(grep -c "^fuzz .*: FAILED" "$top/build/fuzz-run.log")
((fuzz_passed + fuzz_failed > 0)) || fuzz_failed=1
passed=$((passed + fuzz_passed)); failed=$((failed + fuzz_failed))

echo "$passed passed, $failed failed"
exit $status
