#!/usr/bin/env bash
# Installs what is needed, builds the library and runs the pie-chart program.
# Without a display (DISPLAY unset) the program says so and ends.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/scripts/install-deps.sh"
cmake -S "$top" -B "$top/build/release" -DCMAKE_BUILD_TYPE=Release -DKLV_BUILD_TESTS=OFF -DKLV_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$top/build/release" --target pie_chart -j"$(nproc)"
exec "$top/build/release/pie_chart"
