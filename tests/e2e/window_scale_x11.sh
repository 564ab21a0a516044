#!/usr/bin/env bash
# Window scaling end to end, on virtual X servers of this script's own (the
# screen size and the resources belong to the server, so a shared display is
# left alone): with KLV_SCALE=2 the pie chart on the screen is the reference
# image doubled, each pixel a 2 by 2 block, outside the text boxes (the chart
# is centred on get_max_x() / 2, so that is still 639); with Xft.dpi: 192 on
# the server and no KLV_SCALE the window starts at scale 2; on a 1024 by 768
# screen a 640 by 480 window asked for at scale 2 falls back to 1.
set -uo pipefail
build="$1"; source="$2"
program="$build/pie_chart"
golden="$source/tests/goldens/demo-pie-chart"
work="$(mktemp -d)"
pid=""; server=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; [ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# Without what it needs: skipped (status 77), or failed on the CI machine.
missing() { [ "${CI:-}" = true ] && { echo "FAIL: no $1 (CI=true)"; exit 1; }; echo "no $1: skipped"; exit 77; }
command -v Xvfb >/dev/null || missing Xvfb
export KLV_BACKEND=x11
unset KLV_SCALE

start_server() {  # WIDTHxHEIGHT
  local n
  for n in $(seq 150 190); do [ -e "/tmp/.X$n-lock" ] || break; done
  # -noreset: the resources stay when the last client leaves.
  Xvfb ":$n" -screen 0 "$1x24" -nolisten tcp -noreset >/dev/null 2>&1 &
  server=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.05; done  # pacing, under a deadline
  fail "Xvfb $1 did not start"; return 1
}
stop_server() { kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; server=""; }

# Starts the chart with the given environment; sets window to its X window.
start_chart() {
  env "$@" "$program" 2>"$work/stderr" &
  pid=$!
  local deadline=$((SECONDS + 15)) id
  while ((SECONDS < deadline)); do
    id=$(xdotool search --onlyvisible --name '^Pie Chart$' 2>/dev/null | head -n 1)
    [ -n "$id" ] && { window=$id; return 0; }
    sleep 0.05  # pacing, under a deadline
  done
  fail "no window appeared ($*)"; return 1
}
stop_chart() { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; pid=""; }
window_size() { xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# 1. KLV_SCALE=2: the reference doubled.
if start_server 1600x1200; then
  if start_chart KLV_SCALE=2; then
    mask=()
    while read -r l t r b; do
      [[ "$l" =~ ^# || -z "$l" ]] && continue
      b="${b%$'\r'}"
      mask+=(-draw "rectangle $((2 * l)),$((2 * t)) $((2 * r - 1)),$((2 * b - 1))")
    done <"$golden.mask"
    convert "$golden.bmp" -scale 200% -fill black "${mask[@]}" "$work/golden-masked.png"
    # Screenshots until the chart is complete on the screen, ten seconds at most.
    deadline=$((SECONDS + 10))
    while :; do
      import -window "$window" "$work/screen.png"
      convert "$work/screen.png" -fill black "${mask[@]}" "$work/screen-masked.png"
      differ=$(compare -metric AE "$work/screen-masked.png" "$work/golden-masked.png" null: 2>&1)
      [ "$differ" = "0" ] || ((SECONDS >= deadline)) || continue
      break
    done
    [ "$(window_size)" = "1280x960" ] || fail "at scale 2 the window is $(window_size), not 1280x960"
    [ "$differ" = "0" ] || fail "$differ pixels of the doubled chart differ from the doubled reference"
    mkdir -p "$build/screenshots" && cp "$work/screen.png" "$build/screenshots/pie-chart-scale-2.png"
    stop_chart
  fi
  # 2. The desktop's resolution, when KLV_SCALE is not set.
  echo "Xft.dpi: 192" | xrdb -nocpp -merge
  if start_chart; then
    [ "$(window_size)" = "1280x960" ] || fail "with Xft.dpi 192 the window is $(window_size), not 1280x960"
    stop_chart
  fi
  if start_chart KLV_SCALE=1; then
    [ "$(window_size)" = "640x480" ] || fail "KLV_SCALE=1 over Xft.dpi 192: $(window_size), not 640x480"
    stop_chart
  fi
  stop_server
fi

# 3. A screen too small for scale 2.
if start_server 1024x768; then
  if start_chart KLV_SCALE=2; then
    [ "$(window_size)" = "640x480" ] || fail "on 1024x768 at scale 2 the window is $(window_size), not 640x480"
    stop_chart
  fi
  stop_server
fi

[ "$failures" -eq 0 ] && echo "window scale end to end: all checks passed"
exit $((failures > 0))
