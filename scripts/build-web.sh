#!/usr/bin/env bash
# Builds KLV graphics for web pages with Debian's emscripten: libklv.a for
# wasm32, pie_chart, every example and the web test programs, each as
# NAME.js + NAME.wasm + its worker beside our page NAME.html, the folder
# klv-web/ they share (the packed fonts, the page's script and style), and
# index.html, the gallery of the examples; the raster tests run under node.
#   scripts/build-web.sh [DIR] [cmake --build arguments...]   (default build/web)
# zlib, libpng, FreeType, libjpeg-turbo and giflib are compiled from Debian's own
# sources, fetched once into DIR with `apt-get source`. Serve DIR with
# scripts/serve-web.sh.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="${1:-$top/build/web}"
shift || true
mkdir -p "$dir"
dir="$(cd "$dir" && pwd)"
# emcc runs node with Debian's own JavaScript modules (acorn); a node not
# from Debian does not look for them there.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

source "$top/scripts/fetch-source.sh"
deps="$dir/_deps"
fetch_source zlib "$deps/zlib"
fetch_source libpng1.6 "$deps/libpng"
fetch_source freetype "$deps/freetype"
fetch_source libjpeg-turbo "$deps/libjpeg-turbo"
fetch_source giflib "$deps/giflib"

# The fonts: what fontconfig answers here for every face the library asks
# for, packed as one file the pages share.
fonts="$dir/fonts" packed="$dir/fonts-packed"
if [ ! -f "$fonts/faces.txt" ] || [ "$top/scripts/web/face_table.cpp" -nt "$fonts/faces.txt" ]; then
  mkdir -p "$dir/tools"
  g++ -std=c++20 -O1 -I"$top" "$top/scripts/web/face_table.cpp" "$top/platform/gdi/freetype/font_resolver.cpp" \
    "$top/platform/gdi/freetype/fontconfig/font_matcher.cpp" $(pkg-config --cflags --libs fontconfig) \
    -o "$dir/tools/face_table"
  rm -rf "$fonts" && "$dir/tools/face_table" "$fonts" >/dev/null
  mkdir -p "$packed"
  (cd "$dir" && python3 /usr/share/emscripten/tools/file_packager.py "$packed/klv-fonts.data" \
    --preload "fonts@/klv-fonts" --js-output="$packed/klv-fonts.js" --no-node >/dev/null 2>&1)
fi

emcmake cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DKLV_WARNINGS_AS_ERRORS=ON \
  -DKLV_ZLIB_SOURCE_DIR="$deps/zlib" -DKLV_PNG_SOURCE_DIR="$deps/libpng" \
  -DKLV_FREETYPE_SOURCE_DIR="$deps/freetype" -DKLV_JPEG_SOURCE_DIR="$deps/libjpeg-turbo" -DKLV_GIF_SOURCE_DIR="$deps/giflib" \
  -DKLV_WEB_FONTS_DATA="$packed" -DKLV_WEB_FONT_DIR="$fonts" \
  "-DCMAKE_CROSSCOMPILING_EMULATOR=node;--no-experimental-fetch" "${launcher[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" "$@"
