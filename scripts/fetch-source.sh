# Sourced by the cross builds (build-windows.sh, build-web.sh):
# fetch_source PACKAGE FOLDER unpacks Debian's source of PACKAGE in FOLDER,
# unless it is there already; `dir` is the build folder (its _deps/fetch
# holds the download meanwhile). apt-get source needs deb-src entries,
# which scripts/install-deps.sh adds.
fetch_source() {
  local package="$1" folder="$2" fetch="$dir/_deps/fetch"
  [ -f "$folder/.fetched" ] && return 0
  mkdir -p "$dir/_deps" && rm -rf "$folder" "$fetch" && mkdir "$fetch"
  if ! (cd "$fetch" && apt-get source -qq --download-only "$package" >/dev/null 2>&1); then
    echo "$(basename "$0"): cannot fetch $package's source (apt-get source $package): add a deb-src line" \
      "for Debian's main archive (scripts/install-deps.sh does) and run apt-get update" >&2
    exit 1
  fi
  dpkg-source -q --no-copy -x "$fetch/${package}_"*.dsc "$folder" >/dev/null 2>&1
  rm -rf "$fetch"
  touch "$folder/.fetched"
}
