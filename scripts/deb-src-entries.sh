#!/usr/bin/env bash
# Writes the deb-src entries that `apt-get source` needs for the release's
# own archive (its main component, in the release's suite and its -updates
# suite), made from the machine's own deb entries for it: the same address,
# suites, components and keyring, so a machine on a local mirror gets its
# mirror. deb822 stanzas go to FOLDER/klv-deb-src.sources, one-line entries
# to FOLDER/klv-deb-src.list; nothing is written when apt already has such
# deb-src entries of its own (the files named klv-deb-src.* do not count).
# Reads what apt reads (APT_CONFIG and the -o options after FOLDER apply).
#
#   scripts/deb-src-entries.sh FOLDER [apt-get options...]
set -euo pipefail
folder="${1:?usage: deb-src-entries.sh FOLDER [apt-get options...]}"
shift
codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
[ -n "$codename" ] || { echo "deb-src-entries: /etc/os-release names no release" >&2; exit 1; }

# One line per index apt would fetch, whether fetched yet or not: kind,
# entry (FILE:N, N the stanza or the line), suite, component.
entries="$(apt-get "$@" --no-release-info indextargets --format '$(TARGET_OF) $(SOURCESENTRY) $(RELEASE) $(COMPONENT)')"
ours() {  # kind: the entries of that kind for the release's main component, not from our files
  awk -v kind="$1" -v c="$codename" '$1 == kind && ($3 == c || $3 == c "-updates") && $4 == "main" &&
    $2 !~ /\/klv-deb-src\.[a-z]+:[0-9]+$/ { print $2 }' <<<"$entries" | sort -u
}
[ -z "$(ours deb-src)" ] || exit 0
binaries="$(ours deb)"
[ -n "$binaries" ] || { echo "deb-src-entries: apt has no deb entry for $codename's main component" >&2; exit 1; }

mkdir -p "$folder"
rm -f "$folder/klv-deb-src.sources" "$folder/klv-deb-src.list"
header="# The deb-src twins of this machine's deb entries for $codename, written by KLV graphics' scripts/install-deps.sh"
while IFS= read -r entry; do
  file="${entry%:*}" number="${entry##*:}"
  if [[ "$file" == *.sources ]]; then
    # Stanza N, without its comments, as a deb-src stanza.
    [ -f "$folder/klv-deb-src.sources" ] || echo "$header" >"$folder/klv-deb-src.sources"
    grep -v '^#' "$file" | awk -v n="$number" 'BEGIN { RS = "" } NR == n {
      count = split($0, lines, "\n")
      print ""
      for (i = 1; i <= count; ++i) print (lines[i] ~ /^[Tt]ypes:/ ? "Types: deb-src" : lines[i]) }' \
      >>"$folder/klv-deb-src.sources"
  else
    [ -f "$folder/klv-deb-src.list" ] || echo "$header" >"$folder/klv-deb-src.list"
    sed -n "${number}s/^[[:space:]]*deb[[:space:]]/deb-src /p" "$file" >>"$folder/klv-deb-src.list"
  fi
done <<<"$binaries"
