#!/usr/bin/env bash
# Builds your own program for a web page: DIR/NAME.html and its files,
# where NAME is the source's name without .cpp. The library is built for
# the web first (scripts/build-web.sh) and installed into DIR/_install when
# it is not there yet.
#   scripts/web-program.sh SOURCE.cpp [DIR]   (default build/web)
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
[ $# -ge 1 ] && [ -f "$1" ] || { echo "usage: scripts/web-program.sh SOURCE.cpp [DIR]" >&2; exit 2; }
source="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
name="$(basename "$source" .cpp)"
[[ "$name" =~ ^[A-Za-z_][A-Za-z0-9_]*$ ]] || { echo "web-program: $name is not a name a program can have" >&2; exit 2; }
dir="${2:-$top/build/web}"
mkdir -p "$dir" && dir="$(cd "$dir" && pwd)"
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
if [ ! -f "$dir/_install/lib/cmake/klv/klvConfig.cmake" ] || [ ! -f "$dir/libklv.a" ]; then
  "$top/scripts/build-web.sh" "$dir" --target klv
  cmake --install "$dir" --prefix "$dir/_install" >/dev/null
fi
project="$dir/_programs/$name"
mkdir -p "$project"
cat >"$project/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project($name CXX)
set(CMAKE_CXX_STANDARD 20)
find_package(klv REQUIRED)
add_executable($name "$source")
target_link_libraries($name PRIVATE klv::klv)
set_target_properties($name PROPERTIES RUNTIME_OUTPUT_DIRECTORY "$dir")
klv_web_program($name)
CMAKE
emcmake cmake -S "$project" -B "$project/build" -DCMAKE_BUILD_TYPE=Release -Dklv_DIR="$dir/_install/lib/cmake/klv" >/dev/null
cmake --build "$project/build"
echo "$dir/$name.html"
