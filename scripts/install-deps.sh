#!/usr/bin/env bash
# Installs what building, running and testing KLV graphics needs on Debian 12.
# Safe to run again: packages already present are left as they are.
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config ccache
  libx11-dev libxext-dev libxtst-dev libfreetype-dev libfontconfig-dev libcairo2-dev libcups2-dev libpng-dev
  libjpeg-dev libgif-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # fuzzing (scripts/fuzz.sh): clang with libFuzzer and the sanitizers' runtime
  clang libclang-rt-14-dev
  # fonts the numbered fonts resolve to
  fonts-liberation2 fonts-dejavu-core fonts-dejavu-extra
  # running on a desktop: the file chooser of the save command
  zenity
  # tests: a virtual X server with a window manager, input, screenshots,
  # image and PDF readers, a private print server
  xvfb xauth openbox xdotool wmctrl x11-utils x11-xserver-utils imagemagick poppler-utils
  cups cups-client cups-bsd cups-ipp-utils
  # the Windows build: mingw-w64 with posix threads, GoogleTest's sources,
  # Wine to run its tests; zlib for it, and dpkg-dev to unpack the libpng,
  # libjpeg-turbo and giflib sources that scripts/build-windows.sh fetches (the
  # deb-src line below)
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev googletest wine wine64
  libz-mingw-w64-dev dpkg-dev
  # the web build: emscripten (it compiles Debian's zlib, libpng, FreeType
  # and libjpeg-turbo sources, fetched as above), Chromium for the page
  # tests, node and npm for their runner and puppeteer-core
  emscripten chromium
)

# The Windows build compiles Debian's own libpng, libjpeg-turbo and giflib sources:
# apt-get source needs deb-src entries for the release's archive.
# scripts/deb-src-entries.sh makes them from the machine's own deb entries (address, suites, keyring);
# they are kept in files of ours, rewritten when they no longer match.
parts=/etc/apt/sources.list.d
twins="$(mktemp -d)"
trap 'rm -rf "$twins"' EXIT
if ! "$(dirname "${BASH_SOURCE[0]}")/deb-src-entries.sh" "$twins"; then
  echo "install-deps: no deb-src entries made; the Windows build cannot fetch libpng's, libjpeg-turbo's or giflib's source" >&2
elif [ -n "$(ls "$twins")" ]; then
  stale=0
  for kind in sources list; do
    if [ -f "$twins/klv-deb-src.$kind" ] || [ -f "$parts/klv-deb-src.$kind" ]; then
      cmp -s "$twins/klv-deb-src.$kind" "$parts/klv-deb-src.$kind" 2>/dev/null || stale=1
    fi
  done
  if ((stale)) && [ "$(id -u)" -ne 0 ]; then
    if ls "$parts"/klv-deb-src.* >/dev/null 2>&1; then
      echo "install-deps: $parts/klv-deb-src.* no longer match the machine's sources; run as root to rewrite them" >&2
    else
      echo "install-deps: no deb-src entries for the release's archive; run as root to add $parts/klv-deb-src.*" >&2
      exit 1
    fi
  elif ((stale)); then
    rm -f "$parts"/klv-deb-src.sources "$parts"/klv-deb-src.list
    cp "$twins"/klv-deb-src.* "$parts"/
    apt-get update -qq
  fi
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: these packages are missing; run as root to install them: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The page tests' runner: node and npm (the machine's own, else Debian's),
# then puppeteer-core from the npm registry, driving Debian's Chromium (no
# browser download).
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: node and npm are missing; run as root to install them" >&2
    exit 1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends nodejs npm
fi
web_tests="$(cd "$(dirname "${BASH_SOURCE[0]}")/../tests/web" && pwd)"
if [ ! -d "$web_tests/node_modules/puppeteer-core" ]; then
  (cd "$web_tests" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund >/dev/null)
fi
