#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them, then the peers (plain loops
# and cairo) when ../shared/peers is beside the repository, so that the
# figures can be read as ratios measured in one run. Output: JSON.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/scripts/install-deps.sh"
cmake -S "$top" -B "$top/build/bench" -DCMAKE_BUILD_TYPE=Release -DKLV_BUILD_TESTS=OFF -DKLV_BUILD_BENCH=ON -DKLV_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$top/build/bench" --target klv_bench -j"$(nproc)"
"$top/build/bench/bench/klv_bench" --benchmark_format=json "$@"
peers="$top/../shared/peers/run_peers.sh"
if [ -x "$peers" ]; then PEERS_ONLY="${PEERS_ONLY:-limit cairo}" "$peers"; fi
