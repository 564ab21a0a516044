#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test:
#   1. all tests under AddressSanitizer + UndefinedBehaviorSanitizer, the
#      display tests on a virtual X server with a window manager;
#   2. the threaded tests again under ThreadSanitizer;
#   3. the Release configuration of everything (tests, benchmarks,
#      examples), built only: a user's build must not fail on a warning
#      that only -O3 gives;
#   4. each fuzz target for KLV_FUZZ_SECONDS (default 60) seconds, from the
#      seeds the first step's tests left (scripts/fuzz.sh);
#   5. the Windows build (scripts/build-windows.sh) and its tests under Wine,
#      on the same virtual screen. A machine without Wine fails here; a
#      developer may skip this part with KLV_SKIP_WINDOWS=1 (CI never does);
#   6. the web build (scripts/build-web.sh): the raster and drawing tests in
#      wasm under node, and the page tests in headless Chromium
#      (tests/web/run.sh); KLV_SKIP_WEB=1 skips it likewise.
# Prints "N passed, N failed, N skipped" at the end, counting test cases
# (and each shell test as one); the exit status is 0 only when nothing
# failed. A test skips when the machine lacks something it needs (a display,
# a print server, a font); with CI=true it fails instead.
#
#   scripts/test.sh --stress N   builds with AddressSanitizer, then runs the
#                                threaded and display tests N times with a
#                                CPU hog on every core beside them.
set -uo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"
stress=0
if [ "${1:-}" = --stress ]; then
  stress="${2:-}"
  [[ "$stress" =~ ^[1-9][0-9]*$ ]] || { echo "usage: scripts/test.sh [--stress N]" >&2; exit 2; }
fi
"$top/scripts/install-deps.sh" || exit 1

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

configure_and_build() {  # folder sanitizer [targets...]
  local dir="$1" sanitize="$2"; shift 2
  cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKLV_SANITIZE="$sanitize" -DKLV_WARNINGS_AS_ERRORS=ON "${launcher[@]}" >/dev/null || return 1
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
  # On a busy machine either may take seconds to come up: wait up to 30 s
  # each, and say so when one does not (the tests that need it then fail).
  for _ in $(seq 300); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  xdpyinfo >/dev/null 2>&1 || echo "test.sh: the virtual screen $DISPLAY did not come up"
  openbox >/dev/null 2>&1 &
  wm_pid=$!
  # Up once it has named itself on the root window (the tests that need a
  # window manager look for the same property).
  for _ in $(seq 300); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return
    sleep 0.1
  done
  echo "test.sh: openbox did not come up on $DISPLAY"
}
stop_display() {
  kill "${hog_pids[@]}" "${wm_pid:-}" "${xvfb_pid:-}" 2>/dev/null
  wait 2>/dev/null
}
hog_pids=()
trap stop_display EXIT

passed=0; failed=0; skipped=0
# Adds up one ctest run: each GoogleTest program by the test cases of its
# report in the folder given (GTEST_OUTPUT), anything else (a shell test, a
# program that ended before writing its report) as one test by ctest's verdict.
count_results() {  # ctest log [folder of GoogleTest reports]
  local log="$1" reports="${2:-}" name verdict report run skip fail entries=0
  while read -r name verdict; do
    entries=$((entries + 1))
    report="$reports/$name.xml"
    if [ -n "$reports" ] && [ -f "$report" ]; then
      run=$(grep -o '<testcase [^>]*status="run"' "$report" | wc -l)
      skip=$(grep -o 'result="skipped"' "$report" | wc -l)
      fail=$(sed -nE 's/^<testsuites tests="[0-9]+" failures="([0-9]+)".*/\1/p' "$report")
      fail=${fail:-1}
      passed=$((passed + run - skip - fail)); failed=$((failed + fail)); skipped=$((skipped + skip))
      # Every case passed, yet the program failed (a sanitizer at exit).
      [ "$verdict" = Passed ] || [ "$fail" -gt 0 ] || failed=$((failed + 1))
    elif [ "$verdict" = Passed ]; then passed=$((passed + 1))
    elif [ "$verdict" = Skipped ]; then skipped=$((skipped + 1))
    else failed=$((failed + 1))
    fi
  done < <(sed -nE 's/^ *[0-9]+\/[0-9]+ +Test +#[0-9]+: ([^ ]+) \.+ *(\*\*\*)?([A-Za-z]+).*/\1 \3/p' "$log")
  ((entries > 0)) || failed=$((failed + 1))
}
# Runs ctest with a fresh folder of reports and adds up the results.
run_tests() {  # build folder, name of the log, ctest arguments...
  local dir="$1" log="$top/build/$2.log"; shift 2
  rm -rf "$dir/test-reports"
  GTEST_OUTPUT="xml:$dir/test-reports/" ctest --test-dir "$dir" --output-on-failure "$@" 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  count_results "$log" "$dir/test-reports"
}
summary() { echo "$passed passed, $failed failed, $skipped skipped"; }
# A part whose tools are not installed: skipped where a developer asked so
# with SWITCH=1 (never on CI), else a failure.
part_missing() {  # what is missing, the part's name, SWITCH
  local missing="$1" part="$2" switch="$3"
  if [ "${!switch:-0}" = 1 ] && [ "${CI:-}" != true ]; then
    echo "$missing is not installed: the $part part is skipped ($switch=1)"
    skipped=$((skipped + 1))
  else
    echo "$missing is not installed (scripts/install-deps.sh installs them; $switch=1 skips this part)"
    status=1; failed=$((failed + 1))
  fi
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
status=0

if ((stress > 0)); then
  echo "== building with AddressSanitizer and UndefinedBehaviorSanitizer"
  configure_and_build "$top/build/asan" address || { echo "build failed"; exit 1; }
  start_display
  for _ in $(seq "$jobs"); do
    (while :; do :; done) &
    hog_pids+=($!)
  done
  for run in $(seq "$stress"); do
    echo "== stress run $run of $stress: threaded and display tests beside $jobs busy loops"
    run_tests "$top/build/asan" "stress-tests" -L "threaded|display" -j"$jobs"
  done
  summary
  exit $status
fi

echo "== building with AddressSanitizer and UndefinedBehaviorSanitizer"
if configure_and_build "$top/build/asan" address; then
  start_display
  echo "== running every test (display $DISPLAY)"
  run_tests "$top/build/asan" asan-tests -j"$jobs"
else
  echo "build failed"; status=1; failed=$((failed + 1))
fi

echo "== building the threaded tests with ThreadSanitizer"
threaded=$(cd "$top/build/asan" 2>/dev/null && ctest -N -L threaded | sed -nE 's/^ *Test *#[0-9]+: (.*)$/\1/p')
if [ -n "$threaded" ] && configure_and_build "$top/build/tsan" thread $threaded; then
  echo "== running the threaded tests under ThreadSanitizer"
  run_tests "$top/build/tsan" tsan-tests -L threaded -j"$jobs"
else
  echo "ThreadSanitizer build failed"; status=1; failed=$((failed + 1))
fi

# A user's configuration: Release (-O3, whose warnings differ), every
# program of the project, warnings as errors; built only, not run.
echo "== building the Release configuration of everything (library, programs, examples, tests, benchmarks)"
if cmake -S "$top" -B "$top/build/release-all" -DCMAKE_BUILD_TYPE=Release -DKLV_BUILD_BENCH=ON \
     -DKLV_WARNINGS_AS_ERRORS=ON "${launcher[@]}" >/dev/null &&
   cmake --build "$top/build/release-all" -j"$jobs" >"$top/build/release-build.log" 2>&1; then
  echo "Release build: passed"; passed=$((passed + 1))
else
  grep -E -A3 "error" "$top/build/release-build.log" | head -30
  echo "Release build failed (build/release-build.log)"; status=1; failed=$((failed + 1))
fi

echo "== fuzzing each target for ${KLV_FUZZ_SECONDS:-60} seconds"
"$top/scripts/fuzz.sh" "${KLV_FUZZ_SECONDS:-60}" 2>&1 | tee "$top/build/fuzz-run.log"
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
fuzz_passed=$(grep -c "^fuzz .*: passed" "$top/build/fuzz-run.log")
fuzz_failed=$(grep -c "^fuzz .*: FAILED" "$top/build/fuzz-run.log")
((fuzz_passed + fuzz_failed > 0)) || fuzz_failed=1
passed=$((passed + fuzz_passed)); failed=$((failed + fuzz_failed))

echo "== cross-building for Windows and running its tests under Wine"
if ! command -v wine >/dev/null || ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  part_missing "Wine or mingw-w64" Windows KLV_SKIP_WINDOWS
elif "$top/scripts/build-windows.sh" "$top/build/windows" >"$top/build/windows-build.log" 2>&1; then
  [ -n "${xvfb_pid:-}" ] || start_display
  export WINEPREFIX="$top/build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  "$top/scripts/wine-prefix.sh"
  run_tests "$top/build/windows" windows-tests -j"$jobs"
  wineserver -k 2>/dev/null
else
  grep -E "error|Error" "$top/build/windows-build.log" | head -30
  echo "Windows build failed (build/windows-build.log)"; status=1; failed=$((failed + 1))
fi

echo "== building for web pages and running their tests (wasm under node, pages in headless Chromium)"
if ! command -v emcc >/dev/null || ! command -v chromium >/dev/null; then
  part_missing "emscripten or chromium" web KLV_SKIP_WEB
elif "$top/scripts/build-web.sh" "$top/build/web" >"$top/build/web-build.log" 2>&1; then
  run_tests "$top/build/web" web-node-tests -j"$jobs"
  "$top/tests/web/run.sh" "$top/build/web" 2>&1 | tee "$top/build/web-page-tests.log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  page_passed=$(sed -nE 's/^# pass ([0-9]+)$/\1/p' "$top/build/web-page-tests.log")
  page_failed=$(sed -nE 's/^# fail ([0-9]+)$/\1/p' "$top/build/web-page-tests.log")
  [ -n "$page_passed" ] || page_failed=1
  passed=$((passed + ${page_passed:-0})); failed=$((failed + ${page_failed:-0}))
else
  grep -E "error|Error" "$top/build/web-build.log" | head -30
  echo "Web build failed (build/web-build.log)"; status=1; failed=$((failed + 1))
fi

summary
exit $status
