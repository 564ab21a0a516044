#!/usr/bin/env bash
# The page tests: node's own test runner drives headless Chromium on the
# web build (tests/web/*.test.mjs), one test file at a time.
#   tests/web/run.sh [WEB_BUILD_DIR] [node --test arguments...]
# Prints TAP; its "# pass N" and "# fail N" lines give the counts.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export KLV_WEB_DIR="$(cd "${1:-$here/../../build/web}" && pwd)"
shift || true
if [ ! -d "$here/node_modules/puppeteer-core" ]; then
  (cd "$here" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund >/dev/null)
fi
cd "$here"
exec node --test --test-concurrency=1 --test-reporter=tap "$@" ./*.test.mjs
