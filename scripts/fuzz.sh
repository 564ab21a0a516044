#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/*_fuzzer.cpp) with clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer in build/fuzz, and runs
# each for SECONDS (default 60), starting from the seed pictures the tests
# left in build/asan/fuzz-seeds (or $KLV_FUZZ_SEEDS) and from the corpus
# kept in tests/fuzz/corpus/NAME, with the dictionary fuzz/NAME.dict where
# there is one. With KLV_FUZZ_KEEP=1 the run's corpus is
# then merged (the fewest inputs that keep the edges it covers) back into
# tests/fuzz/corpus/NAME, to be checked in. A run fails on a crash,
# a leak, a read outside a buffer, a single allocation over 600 MB (more than
# the largest picture allowed, 2^27 pixels of 4 bytes, needs) or an input
# that runs for over 2 seconds; then every input of the corpus is timed once
# in the ordinary sanitizer build (build/asan/fuzz/NAME), which fails over
# 100 ms. Prints "fuzz NAME: passed" or "fuzz NAME: FAILED" for each target.
#
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -uo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"; shift || true
build="$top/build/fuzz"
seeds="${KLV_FUZZ_SEEDS:-$top/build/asan/fuzz-seeds}"
replay_build="${KLV_REPLAY_BUILD:-$top/build/asan}"

# Which seed folders each target starts from; a target not named here
# starts from all of them.
seed_folders() {
  case "$1" in
    bmp_reader_fuzzer) echo bmp ;;
    jpeg_reader_fuzzer) echo jpeg ;;
    interface_fuzzer) ;;  # scripts of calls: its kept corpus only
    *) (cd "$seeds" 2>/dev/null && ls -d */ 2>/dev/null | tr -d /) ;;
  esac
}

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKLV_BUILD_FUZZERS=ON -DKLV_WARNINGS_AS_ERRORS=ON \
  -DKLV_BUILD_TESTS=OFF -DKLV_BUILD_EXAMPLES=OFF "${launcher[@]}" >/dev/null || exit 1
targets=("$@")
if ((${#targets[@]} == 0)); then
  for source in "$top"/fuzz/*_fuzzer.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}" >"$build/build.log" 2>&1 || {
  grep -E "error" "$build/build.log" | head -20; echo "fuzz: build failed (build/fuzz/build.log)"; exit 1; }

status=0
for name in "${targets[@]}"; do
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  for folder in $(seed_folders "$name"); do cp -n "$seeds/$folder"/* "$corpus"/ 2>/dev/null; done
  kept="$top/tests/fuzz/corpus/$name"
  [ -d "$kept" ] && cp -n "$kept"/* "$corpus"/ 2>/dev/null
  ok=1
  dictionary=()
  [ -f "$top/fuzz/$name.dict" ] && dictionary=(-dict="$top/fuzz/$name.dict")
  ASAN_OPTIONS=detect_leaks=1 "$build/fuzz/$name" "$corpus" "${dictionary[@]}" -max_total_time="$seconds" -timeout=2 \
    -rss_limit_mb=2048 -malloc_limit_mb=600 -print_final_stats=1 -artifact_prefix="$build/$name-" \
    >"$build/$name.log" 2>&1 || ok=0
  grep -E "^stat::number_of_executed_units|^Done|ERROR|SUMMARY" "$build/$name.log" | head -5
  if ((ok)) && [ "${KLV_FUZZ_KEEP:-0}" = 1 ]; then
    rm -rf "$build/merged-$name" && mkdir -p "$build/merged-$name" "$kept"
    "$build/fuzz/$name" -merge=1 -use_counters=0 "$build/merged-$name" "$kept" "$corpus" >"$build/$name-merge.log" 2>&1 &&
      rm -f "$kept"/* && cp "$build/merged-$name"/* "$kept"/ && echo "kept $(ls "$kept" | wc -l) inputs in tests/fuzz/corpus/$name"
  fi
  if [ -x "$replay_build/fuzz/$name" ]; then
    # The library's own messages for refused calls ("Error: ...") would bury
    # the replay's summary; everything else it prints is kept.
    "$replay_build/fuzz/$name" --limit-ms=100 "$corpus" 2>&1 | grep -v "^Error: "
    [ "${PIPESTATUS[0]}" -eq 0 ] || ok=0
  fi
  if ((ok)); then echo "fuzz $name: passed"; else echo "fuzz $name: FAILED (build/fuzz/$name.log)"; status=1; fi
done
exit $status
