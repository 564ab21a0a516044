#!/usr/bin/env bash
# Printing from the Windows build under Wine: with a private CUPS server
# (scripts/private-cups.sh) and Wine's own CUPS support, the 7-inch print
# command gives one job named "Windows KLV" of one page: the title above the
# image, the image 7 inches wide at the left margin, as on Linux.
set -uo pipefail
build="$1"; source="$2"
work="$(mktemp -d)"
folder=""
trap '[ -n "$folder" ] && "$source/scripts/private-cups.sh" stop "$folder"; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
missing() { [ "${CI:-}" = true ] && { echo "FAIL: no $1 (CI=true)"; exit 1; }; echo "no $1: skipped"; exit 77; }
[ "$(id -u)" = 0 ] || missing "root (cupsd runs its filters as user lp)"
[ -x /usr/sbin/cupsd ] || missing cupsd
[ -n "${DISPLAY:-}" ] || missing DISPLAY
command -v pdftoppm >/dev/null || missing pdftoppm

started="$("$source/scripts/private-cups.sh" start)" || { echo "FAIL: no private CUPS server"; exit 1; }
folder="$(sed -n 's/^folder: //p' <<<"$started")"
export CUPS_SERVER="$folder/cups.sock" CUPS_SERVERROOT="$folder/client" KLV_BACKEND=win32

# Wine reads the printers CUPS has once a session, in its first process: a
# session that began before this server was up never lists "klv". The test
# runs alone, so the earlier tests' session only has to end (its helper
# processes linger a moment) for a new one to start here.
timeout 30 wineserver -w || { wineserver -k; wineserver -w; }
wine "$build/tests/print_two_colours.exe" klv 2>"$work/stderr" || fail "print_two_colours ended with status $?"
deadline=$((SECONDS + 30))
until [ -e "$folder/out/job-1.data" ] || ((SECONDS > deadline)); do sleep 0.1; done
jobs=$(find "$folder/out" -name 'job-*.data' | wc -l)
if [ "$jobs" != 1 ]; then
  echo "FAIL: $jobs jobs reached the printer"
  cat "$work/stderr"; tail -5 "$folder/log/error_log"; lpstat -W all -o; ls -la "$folder/out"
  exit 1
fi
[ "$(cat "$folder/out/job-1.title")" = "Windows KLV" ] || fail "job name '$(cat "$folder/out/job-1.title")'"
pages="$(pdfinfo "$folder/out/job-1.data" 2>/dev/null | sed -n 's/^Pages: *//p')"
[ "$pages" = 1 ] || fail "$pages pages"

# At 72 dpi one pixel is a point; the 7-inch image starts at (72, 108) and
# ends at x = 576 (a letter page with its printable area from (18, 36)).
pdftoppm -r 72 -singlefile -png "$folder/out/job-1.data" "$work/page" || { echo "FAIL: the job does not render"; exit 1; }
colour() { convert "$work/page.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }
check() {  # x y expected-colour what
  local got; got="$(colour "$1" "$2")"
  [ "$got" = "$3" ] || fail "$4 at ($1, $2) is $got, not $3"
}
red=255,0,0 blue=0,0,255 white=255,255,255
check 74 110 $red "the image's left edge"
check 322 110 $red "the left half"
check 326 110 $blue "the right half"
check 574 484 $blue "the image's bottom-right corner"
check 70 208 $white "the margin left of the image"
check 578 208 $white "the page right of the image"
check 300 488 $white "the page below the image"
ink="$(convert "$work/page.png" -crop 88x14+72+90 -threshold 50% -negate -format "%[fx:int(mean*w*h)]" info:)"
((ink > 20)) || fail "no title above the image ($ink dark pixels)"
clear="$(convert "$work/page.png" -crop 612x89+0+0 -threshold 50% -negate -format "%[fx:int(mean*w*h)]" info:)"
((clear == 0)) || fail "$clear dark pixels above the title"

if ((failures)); then cp "$work/page.png" "$build/print-wine-page.png"; echo "page kept in $build/print-wine-page.png"; exit 1; fi
echo "ok: one job, 'Windows KLV', one page, the title and the 7-inch image"
