#!/usr/bin/env bash
# Cross-builds KLV graphics for 64-bit Windows with Debian's mingw-w64 (posix
# threads): libklv.a, pie_chart.exe, the examples and the test programs, in
# build/windows (or the folder given). Each .exe runs without DLLs beside it.
#   scripts/build-windows.sh [BUILD_DIR] [cmake --build arguments...]
# Then `cmake --install BUILD_DIR --prefix DIR` installs the header, the
# library and the CMake package; the tests run under Wine:
# `ctest --test-dir BUILD_DIR` (scripts/test.sh does that on a virtual screen).
# libpng is compiled from Debian's own source, fetched once into the build
# folder with `apt-get source` (install-deps.sh adds the deb-src line).
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="${1:-$top/build/windows}"
shift || true
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
png="$dir/_deps/libpng"
if [ ! -f "$png/png.c" ]; then
  mkdir -p "$dir/_deps" && rm -rf "$png" "$dir/_deps/fetch"
  mkdir "$dir/_deps/fetch"
  if ! (cd "$dir/_deps/fetch" && apt-get source -qq --download-only libpng1.6 >/dev/null 2>&1); then
    echo "build-windows: cannot fetch libpng's source (apt-get source libpng1.6): add a deb-src line" \
      "for Debian's main archive (scripts/install-deps.sh does) and run apt-get update" >&2
    exit 1
  fi
  dpkg-source -q -x "$dir"/_deps/fetch/libpng1.6_*.dsc "$png" >/dev/null 2>&1
  rm -rf "$dir/_deps/fetch"
fi
cmake -S "$top" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKLV_WARNINGS_AS_ERRORS=ON -DKLV_PNG_SOURCE_DIR="$png" "${launcher[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" "$@"
