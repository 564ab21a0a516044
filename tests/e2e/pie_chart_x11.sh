#!/usr/bin/env bash
# The pie-chart program end to end on a real X server (DISPLAY, with a window
# manager): the chart on the screen matches the reference image outside the
# text boxes; a key ends it with status 0 within a second; so does the close
# box while it waits; a key typed while the chart is drawn ends it once the
# chart is complete; without a display it says so and ends with status 1.
# In a Windows build folder the program is pie_chart.exe, run under Wine.
set -uo pipefail
build="$1"; source="$2"
program=("$build/pie_chart")
windows=0
if [ -e "$build/pie_chart.exe" ]; then program=(wine "$build/pie_chart.exe"); windows=1; fi
# Wine starts a program in about half a second more.
slack=$((windows ? 2 : 0))
golden="$source/tests/goldens/demo-pie-chart"
work="$(mktemp -d)"
pid=""
# Keys go to the focused window through XTEST, never with --window: xdotool
# checks the window again between press and release, and a window that
# closed on the press would leave the key held down on the server.
release_keys() { xdotool keyup a Up 2>/dev/null; }
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; release_keys; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Without what it needs: skipped (status 77), or failed on the CI machine.
missing() { [ "${CI:-}" = true ] && { echo "FAIL: no $1 (CI=true)"; exit 1; }; echo "no $1: skipped"; exit 77; }
[ -n "${DISPLAY:-}" ] || missing DISPLAY
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" || missing "window manager"
[ "$windows" = 1 ] && export KLV_BACKEND=win32 || export KLV_BACKEND=x11

chart_windows() { xdotool search --onlyvisible --name '^Pie Chart$' 2>/dev/null; }

# The window of the program just started. The previous program's window is
# first waited out, since the server may give the new one the same id.
start_chart() {
  local deadline=$((SECONDS + 10)) id
  while [ -n "$(chart_windows)" ] && ((SECONDS < deadline)); do sleep 0.05; done  # pacing, under a deadline
  "${program[@]}" 2>"$work/stderr" &
  pid=$!
  deadline=$((SECONDS + 15))
  while ((SECONDS < deadline)); do
    for id in $(chart_windows); do
      xdotool getwindowname "$id" >/dev/null 2>&1 && { window=$id; return 0; }
    done
    sleep 0.05  # pacing, under a deadline
  done
  fail "no window appeared"
  return 1
}

# Waits for the program to end; sets status to its exit status, or "running".
ended_within() {  # seconds
  local deadline=$(($(date +%s%N) + $1 * 1000000000))
  while kill -0 "$pid" 2>/dev/null; do
    if (($(date +%s%N) > deadline)); then status=running; return; fi
    sleep 0.05  # pacing, under a deadline
  done
  wait "$pid"; status=$?
  pid=""
}

# 1. The picture.
if start_chart; then
  mask=()
  while read -r l t r b; do
    [[ "$l" =~ ^# || -z "$l" ]] && continue
    b="${b%$'\r'}"
    mask+=(-draw "rectangle $l,$t $((r - 1)),$((b - 1))")
  done <"$golden.mask"
  convert "$golden.bmp" -fill black "${mask[@]}" "$work/golden-masked.png"
  # Screenshots until the chart is complete on the screen, ten seconds at most.
  deadline=$((SECONDS + 10))
  while :; do
    import -window "$window" "$work/screen.png"
    convert "$work/screen.png" -fill black "${mask[@]}" "$work/screen-masked.png"
    differ=$(compare -metric AE "$work/screen-masked.png" "$work/golden-masked.png" "$work/diff.png" 2>&1 >/dev/null)
    [ "$differ" = "0" ] || ((SECONDS >= deadline)) || continue
    break
  done
  size=$(identify -format '%wx%h' "$work/screen.png")
  [ "$size" = "640x480" ] || fail "the window's drawing area is $size, not 640x480"
  [ "$differ" = "0" ] || fail "$differ pixels of the chart differ from the reference outside the text boxes"
  mkdir -p "$build/screenshots" && cp "$work/screen.png" "$build/screenshots/pie-chart.png"

  # 2. A key ends it.
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  xdotool key a
  ended_within $((1 + slack))
  [ "$status" = "0" ] || fail "a key press: status $status"
fi

# 3. The close box ends it while it waits.
if start_chart; then
  # Asked until the window manager knows the window, five seconds at most.
  deadline=$((SECONDS + 5))
  until wmctrl -c 'Pie Chart' 2>/dev/null || ((SECONDS >= deadline)); do sleep 0.05; done
  ended_within $((2 + slack))
  [ "$status" = "0" ] || fail "the close box: status $status"
fi

# 4. A key typed at once (while the chart is drawn) ends it once the chart is complete.
if start_chart; then
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  xdotool key Up
  ended_within $((3 + slack))
  [ "$status" = "0" ] || fail "a key typed while drawing: status $status"
fi

# 5. No display (Windows always has its desktop).
if [ "$windows" = 0 ]; then
  env -u DISPLAY -u KLV_BACKEND timeout 10 "${program[@]}" >"$work/out" 2>"$work/err"
  status=$?
  [ "$status" = "1" ] || fail "without a display: status $status"
  grep -qi "display" "$work/err" || fail "without a display nothing was said on stderr: $(cat "$work/err")"
fi

[ "$failures" -eq 0 ] && echo "pie chart end to end: all checks passed"
exit $((failures > 0))
