#!/usr/bin/env bash
# The installed library builds programs: with pkg-config and with CMake's
# find_package(klv).
set -euo pipefail
build="$1"; source="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
sanitize=$(sed -nE 's/^KLV_SANITIZE:STRING=(.*)$/\1/p' "$build/CMakeCache.txt")
flags=()
case "$sanitize" in
  address) flags=(-fsanitize=address,undefined) ;;
  thread) flags=(-fsanitize=thread) ;;
esac

cat > "$work/hello.cpp" <<'PROGRAM'
#include <klv.h>
int main() {
    if (open_window(120, 80, "hello", 0, 0, false, false) < 0) return 1;
    set_color(KLV_YELLOW);
    draw_line(0, 0, 119, 79);
    set_fill_style(8, KLV_DARK_RED);
    draw_pie_slice(60, 40, 0, 120, 30);
    const int ok = get_max_x() == 119;
    close_window(-2);
    return ok ? 0 : 2;
}
PROGRAM

export PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig"
c++ -std=c++17 "${flags[@]}" "$work/hello.cpp" $(pkg-config --cflags --libs klv) -o "$work/hello_pc"
KLV_BACKEND=headless "$work/hello_pc"
echo "pkg-config build runs"

mkdir -p "$work/consumer"
cp "$work/hello.cpp" "$work/consumer/"
cat > "$work/consumer/CMakeLists.txt" <<'PROJECT'
cmake_minimum_required(VERSION 3.25)
project(consumer CXX)
find_package(klv REQUIRED)
add_executable(hello hello.cpp)
target_link_libraries(hello PRIVATE klv::klv)
PROJECT
cmake -S "$work/consumer" -B "$work/consumer/build" -DCMAKE_PREFIX_PATH="$work/prefix" \
  -DCMAKE_CXX_FLAGS="${flags[*]}" -DCMAKE_EXE_LINKER_FLAGS="${flags[*]}" >/dev/null
cmake --build "$work/consumer/build" >/dev/null
KLV_BACKEND=headless "$work/consumer/build/hello"
echo "find_package build runs"
