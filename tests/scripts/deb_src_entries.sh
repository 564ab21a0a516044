#!/usr/bin/env bash
# scripts/deb-src-entries.sh makes the deb-src twins of the machine's own
# entries for the release's archive, whatever their address, in both source
# formats, and nothing when apt has such deb-src entries already; and no
# address of an archive this machine uses is written anywhere in the project.
set -euo pipefail
build="$1"; source="$2"
command -v apt-get >/dev/null || { echo "no apt-get: not a Debian machine"; exit 77; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
fail() { echo "FAILED: $*" >&2; exit 1; }

# A machine on local mirrors: a one-line list and a deb822 file with
# comments, a stanza of another release's suite and a third party's.
mkdir -p "$work/parts"
cat >"$work/sources.list" <<LIST
# the mirror
deb [signed-by=/srv/keys/mirror.gpg] http://mirror.invalid/debian $codename main contrib
deb http://mirror.invalid/debian-security $codename-security main
LIST
cat >"$work/parts/local.sources" <<SOURCES
# written by hand

Types: deb
URIs: http://other.invalid/debian
# the updates
Suites: $codename-updates
Components: main
Signed-By: /srv/keys/other.gpg

Types: deb
URIs: http://third-party.invalid/apt
Suites: nodistro
Components: main
SOURCES
apt_options=(-o "Dir::Etc::sourcelist=$work/sources.list" -o "Dir::Etc::sourceparts=$work/parts")
"$source/scripts/deb-src-entries.sh" "$work/out" "${apt_options[@]}"
expected_list="deb-src [signed-by=/srv/keys/mirror.gpg] http://mirror.invalid/debian $codename main contrib"
[ "$(grep -v '^#' "$work/out/klv-deb-src.list")" = "$expected_list" ] || fail "the one-line twin: $(cat "$work/out/klv-deb-src.list")"
expected_sources="$(printf '%s\n' "" "Types: deb-src" "URIs: http://other.invalid/debian" "Suites: $codename-updates" \
  "Components: main" "Signed-By: /srv/keys/other.gpg")"
[ "$(grep -v '^#' "$work/out/klv-deb-src.sources")" = "$expected_sources" ] ||
  fail "the deb822 twin: $(cat "$work/out/klv-deb-src.sources")"
# apt reads them back as deb-src entries of the mirrors.
cp "$work/out"/klv-deb-src.* "$work/parts/"
read_back="$(apt-get "${apt_options[@]}" --no-release-info indextargets --format '$(TARGET_OF) $(REPO_URI) $(RELEASE)' |
  grep '^deb-src' | sort -u)"
[ "$read_back" = "$(printf '%s\n' "deb-src http://mirror.invalid/debian/ $codename" \
  "deb-src http://other.invalid/debian/ $codename-updates")" ] || fail "apt reads back: $read_back"
echo "twins of both formats made and read back"

# Our own files do not count; a deb-src entry of the machine's does.
rm -rf "$work/out"
"$source/scripts/deb-src-entries.sh" "$work/out" "${apt_options[@]}"
[ -f "$work/out/klv-deb-src.list" ] || fail "the files of ours were taken for the machine's"
rm "$work/parts"/klv-deb-src.*
echo "deb-src [signed-by=/srv/keys/mirror.gpg] http://mirror.invalid/debian $codename main" >>"$work/sources.list"
rm -rf "$work/out"
"$source/scripts/deb-src-entries.sh" "$work/out" "${apt_options[@]}"
[ -z "$(ls "$work/out" 2>/dev/null)" ] || fail "written although apt has deb-src entries: $(ls "$work/out")"
echo "nothing written where apt has deb-src entries"

# The addresses come from the machine: none of its archives' is in the project.
sites="$(apt-get --no-release-info indextargets --format '$(SITE)' | sed -E 's|^[a-z+]+://||; s|/.*||' | sort -u)"
[ -n "$sites" ] || fail "apt names no archive on this machine"
for site in $sites; do
  found="$(grep -rIlF --exclude-dir=.git --exclude-dir=build -e "$site" "$source" || true)"
  [ -z "$found" ] || fail "$site is written in: $found"
done
echo "no archive address of this machine in the project"
