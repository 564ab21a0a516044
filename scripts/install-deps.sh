#!/usr/bin/env bash
# Installs what building, running and testing KLV graphics needs on Debian 12.
# Safe to run again: packages already present are left as they are.
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config ccache
  libx11-dev libxext-dev libxtst-dev libfreetype-dev libfontconfig-dev libcairo2-dev libcups2-dev libpng-dev
  libjpeg-dev
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
  # Wine to run its tests; zlib for it, and dpkg-dev to unpack the libpng
  # and libjpeg-turbo sources that scripts/build-windows.sh fetches (the
  # deb-src line below)
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev googletest wine wine64
  libz-mingw-w64-dev dpkg-dev
)

# The Windows build compiles Debian's own libpng and libjpeg-turbo sources:
# apt-get source needs the archive's source lists. They name the archive the
# machine's own package lines name for its release.
release_archive() {
  local codename
  codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
  awk -v release="$codename" '
    /^Types:/ { types = $0 } /^URIs:/ { uri = $2 } /^Suites:/ { suites = " " $0 " " }
    /^$/ { if (types ~ / deb( |$)/ && suites ~ " " release " " && uri != "") { print uri; exit } types = uri = suites = "" }
    END { if (types ~ / deb( |$)/ && suites ~ " " release " " && uri != "") print uri }
  ' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -1
  awk -v release="$codename" '$1 == "deb" { for (i = 2; i < NF; i++) if ($i !~ /^\[/ && $(i + 1) == release) { print $i; exit } }' \
    /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null | head -1
}
deb_src=/etc/apt/sources.list.d/klv-deb-src.sources
if [ ! -f "$deb_src" ] && ! grep -rqs "^Types:.*deb-src\|^deb-src " /etc/apt/sources.list /etc/apt/sources.list.d/; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: no deb-src line for Debian's archive; run as root to add $deb_src" >&2
    exit 1
  fi
  archive="$(release_archive | head -1)"
  if [ -z "$archive" ]; then
    echo "install-deps: no package line for this release in /etc/apt to take the archive's address from" >&2
    exit 1
  fi
  codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
  printf '%s\n' "Types: deb-src" "URIs: $archive" "Suites: $codename $codename-updates" "Components: main" \
    "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" >"$deb_src"
  apt-get update -qq
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
