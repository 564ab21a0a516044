#!/usr/bin/env bash
# Cross-builds KLV graphics for 64-bit Windows with Debian's mingw-w64 (posix
# threads): libklv.a, pie_chart.exe, the examples and the test programs, in
# build/windows (or the folder given). Each .exe runs without DLLs beside it.
#   scripts/build-windows.sh [BUILD_DIR] [cmake --build arguments...]
# Then `cmake --install BUILD_DIR --prefix DIR` installs the header, the
# library and the CMake package; the tests run under Wine:
# `ctest --test-dir BUILD_DIR` (scripts/test.sh does that on a virtual screen).
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="${1:-$top/build/windows}"
shift || true
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$top" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" "$@"
