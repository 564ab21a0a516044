#!/usr/bin/env bash
# Cross-builds KLV graphics for 64-bit Windows with Debian's mingw-w64 (posix
# threads): libklv.a, pie_chart.exe, the examples and the test programs, in
# build/windows (or the folder given). Each .exe runs without DLLs beside it.
#   scripts/build-windows.sh [BUILD_DIR] [cmake --build arguments...]
# Then `cmake --install BUILD_DIR --prefix DIR` installs the header, the
# library and the CMake package; the tests run under Wine:
# `ctest --test-dir BUILD_DIR` (scripts/test.sh does that on a virtual screen).
# libpng, libjpeg-turbo and giflib are compiled from Debian's own sources, fetched
# once into the build folder with `apt-get source` (install-deps.sh adds the
# deb-src line).
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="${1:-$top/build/windows}"
shift || true
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

source "$top/scripts/fetch-source.sh"
png="$dir/_deps/libpng" jpeg="$dir/_deps/libjpeg-turbo" gif="$dir/_deps/giflib"
fetch_source libpng1.6 "$png"
fetch_source libjpeg-turbo "$jpeg"
fetch_source giflib "$gif"
cmake -S "$top" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKLV_WARNINGS_AS_ERRORS=ON -DKLV_PNG_SOURCE_DIR="$png" -DKLV_JPEG_SOURCE_DIR="$jpeg" -DKLV_GIF_SOURCE_DIR="$gif" "${launcher[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" "$@"
