#!/usr/bin/env bash
# Serves the web build on 127.0.0.1 with the two headers its pages need
# (Cross-Origin-Opener-Policy: same-origin, Cross-Origin-Embedder-Policy:
# require-corp), and prints the address.
#   scripts/serve-web.sh [DIR] [PORT]   (default build/web, 8080)
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="${1:-$top/build/web}"
[ -d "$dir" ] || { echo "serve-web: no folder $dir (build it with scripts/build-web.sh)" >&2; exit 1; }
exec node "$top/scripts/web/serve.mjs" "$dir" "${2:-8080}"
