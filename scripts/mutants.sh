#!/usr/bin/env bash
# Deliberate bugs, one at a time: each mutant below is a one-line sed edit of
# one source file. The script copies the worktree to a scratch folder
# (build/mutants/src, refreshed with only the files that changed), builds the
# test program that should notice, runs it, and prints "killed" when the
# program fails and "SURVIVED" when it passes. The tests are first run
# unmutated: a program that fails then makes its mutants' verdicts worthless.
#
#   scripts/mutants.sh            every mutant (about half an hour on 2 cores)
#   scripts/mutants.sh NAME...    only those mutants
#   scripts/mutants.sh --list     the names
#
# Not part of CI: it rebuilds a program per mutant. A mutant that needs the X
# server gets Xvfb with openbox started here unless DISPLAY is set. A mutant
# of the Windows build names its program windows:PROGRAM and, in place of a
# filter, the ctest test to run under Wine (scripts/build-windows.sh builds
# it in build/mutants/windows). Add a line for each fault a change of yours
# guards against.
set -uo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="${KLV_MUTANTS_DIR:-$top/build/mutants}"
src="$work/src" build="$work/build"

names=() files=() edits=() targets=() filters=()
# mutant NAME FILE SED-EDIT TEST-PROGRAM [GTEST-FILTER]
mutant() { names+=("$1"); files+=("$2"); edits+=("$3"); targets+=("$4"); filters+=("${5:-*}"); }

# Keyboard and the page lock.
mutant nav-keys-wake-no-reader graphics/window/keyboard.cpp '/key_queue.append(0, \*code)/{n;s/state->key_event.signal();/if (virtual_key == ui::VK_UP || virtual_key >= ui::VK_F1) state->key_event.signal();/}' test_window 'Keyboard*'
mutant home-key-code graphics/window/keyboard.cpp 's/{ui::VK_HOME, 71}/{ui::VK_HOME, 72}/' test_window 'Keyboard*'
mutant page-lock-wait-20s graphics/draw/drawing_context.h 's/page_lock_timeout_ms = 5000/page_lock_timeout_ms = 20000/' test_export 'SaveImage.PagesHeldElsewhereAreNotRead'
mutant drawing-waits-forever graphics/draw/drawing_context.cpp 's/return state->mutex.try_lock_for(page_lock_wait());/state->mutex.lock(); return true;/' test_window 'HeldPages*'
mutant save-waits-forever graphics/export/page_region_save.cpp 's/std::unique_lock lock(state.mutex, page_lock_wait());/std::unique_lock lock(state.mutex);/' test_export 'SaveImage*'
mutant print-waits-forever graphics/export/print_command.cpp 's/std::unique_lock lock(state->mutex, page_lock_wait());/std::unique_lock lock(state->mutex);/' test_export 'PrintCommand*'
mutant clean-up-waits-forever graphics/window/window_procedure.cpp 's/if (!program_ending \&\& state->mutex.try_lock_for(page_lock_wait())) {/if (!program_ending \&\& (state->mutex.lock(), true)) {/' test_window 'HeldPages*'
mutant null-mouse-position-written graphics/window/mouse_events.cpp 's/    if (x != nullptr) \*x = taken_x;/    *x = taken_x;/' test_draw 'HarmlessInput*'
mutant mouse-queue-sign-lost graphics/window/mouse_events.cpp 's/taken_x = ui::lparam_x(positions.front());/taken_x = int(positions.front() \& 0xFFFF);/' test_window 'Mouse*'
mutant mouse-handler-sign-lost graphics/window/mouse_events.cpp 's/handler(ui::lparam_x(lparam), ui::lparam_y(lparam));/handler(ui::lparam_x(lparam), int(std::uint32_t(lparam) >> 16));/' test_window 'Mouse*'
mutant handler-reads-table graphics/window/window_table.cpp 's/    if (WindowState\* own = handler_window_state()) return own;/    if (false) return nullptr;/' test_window 'Mouse.HandlersAct*'
mutant shown-area-clamped-below-only graphics/draw/drawing_context.h 's/return int(std::clamp<std::int64_t>(v, 0, side));/return int(std::max<std::int64_t>(v, 0));/' test_draw 'Primitives.Show*'
mutant close-box-ignored graphics/window/window_procedure.cpp 's/if (state != nullptr \&\& state->close_exits) end_program();/if (false) end_program();/' test_window 'Procedure*'
mutant no-window-ends-with-0 graphics/draw/drawing_context.cpp 's/    end_program(1);/    end_program();/' test_window 'NoCurrentWindow*'
# The X11 backend.
mutant menu-down-key platform/ui/x11/x11_menu.cpp 's/if (key == XK_Down || key == XK_KP_Down)/if (false)/' test_x11 'X11Dialogs*'
mutant menu-mouse-choice platform/ui/menu_popup.cpp 's/if (at >= 0 \&\& pressed_inside_) choose(at);/if (false) choose(at);/' test_x11 'X11Dialogs*'
mutant server-resets-between-windows platform/ui/x11/x11_display.cpp 's/if (kept->count(name) != 0) return;/return;/' test_stress 'ManyWindows.OpenedAndClosed*'
mutant first-connection-not-retried platform/ui/x11/x11_display.cpp 's/if (display != nullptr || connected_once.load() ||/if (true ||/' test_stress 'ServerReset*'
mutant menu-escape-chooses platform/ui/menu_popup.cpp 's/case Key::escape: open_ = false; break;/case Key::escape: if (selected_ >= 0) choose(selected_); else open_ = false; break;/' test_x11 'X11Dialogs*'
mutant dialog-font-unscaled platform/ui/dialog_look.cpp 's/description.height = -desktop_text_pixels \* scale_;/description.height = -desktop_text_pixels;/' test_x11 'X11Dialogs.*DesktopScale'
mutant menu-takes-window-scale platform/ui/x11/x11_menu.cpp 's/const int from_environment = scale_from_environment();/const int from_environment = window.geometry.scale;/' test_x11 'X11Dialogs.*DesktopScale'
mutant box-desktop-scale-ignored platform/ui/dialog_window.cpp 's/DialogLook look(desktop_scale());/DialogLook look(1);/' test_x11 'X11Dialogs.*DesktopScale'
# The raster engine.
mutant glyph-one-bit platform/gdi/freetype/glyph_rendering.cpp '/std::size_t(glyph.width));/a\    for (auto\& c : glyph.coverage) c = c >= 128 ? 255 : 0;' test_gdi 'TextOut.*'
mutant glyph-bounds-one-pixel-short platform/gdi/freetype/glyph_rendering.cpp 's/right = ((std::int64_t(box.xMax) + 63) >> 6) + 2;/right = (std::int64_t(box.xMax) >> 6) - 1;/' test_gdi 'GlyphBounds*'
mutant text-culled-upside-down platform/gdi/text_output.cpp 's/top = m.ascent - bounds.top;/top = bounds.top - m.ascent;/' test_gdi
mutant sloped-line-end-point platform/gdi/thin_line.cpp 's/include_end ? major + 1 : major)/(include_end || major > 0) ? major + 1 : major)/' test_gdi
mutant reversed-fill-rect-edge platform/gdi/fill_rect.cpp 's/first = end + 1;/first = end;/' test_gdi
mutant reversed-horizontal-line platform/gdi/thin_line.cpp 's/canvas.pen_span(a.y, b.x + 1, a.x + 1, color);/canvas.pen_span(a.y, b.x, a.x, color);/' test_gdi
mutant upward-vertical-line platform/gdi/thin_line.cpp 's/std::int64_t y0 = a.y < b.y ? a.y : b.y + 1;/std::int64_t y0 = a.y < b.y ? a.y : b.y;/' test_gdi
mutant thin-step-drops-diagonal-end platform/gdi/thin_line.cpp 's/if (include_end \&\& dx != 0 \&\& dy != 0 \&\& canvas.contains(b.x, b.y))/if (false)/' test_gdi
# Outlines answered point by point, and listed only near the page.
mutant split-walk-starts-late platform/gdi/quadrant_path.cpp 's/walk_to_split(std::max<std::int64_t>(0, diagonal_row - 4));/walk_to_split(std::max<std::int64_t>(0, diagonal_row + 8));/' test_gdi 'QuadrantPath*'
mutant far-stretch-one-end platform/gdi/pie.cpp 's/if (hi - 1 > lo) vertices.push_back(in_quarter(quarter, hi - 1));/if (false) vertices.push_back(in_quarter(quarter, hi - 1));/' test_gdi 'LargeOutline*'
mutant large-inside-row-narrow platform/gdi/ellipse.cpp 's/const std::int64_t x = row == 0 ? 0 : last_column - e.x;/const std::int64_t x = row == 0 ? 0 : last_column - e.x + 1;/' test_gdi 'LargeOutline*'
mutant outline-area-without-pen platform/gdi/pie.cpp 's/const std::int64_t margin = pen_reach(dc);/const std::int64_t margin = 1;/' test_gdi 'LargeOutline*'
# Export and pictures.
mutant dib-16-colours-as-2 graphics/export/dib_header.cpp 's/case 4: return 16;/case 4: return 2;/' test_export
mutant bmp-reader-row-padding graphics/picture/bmp_reader.cpp 's/+ 31) \/ 32 \* 4; }/+ 7) \/ 8; }/' test_picture
mutant rle-run-past-the-row graphics/picture/bmp_rle.cpp 's/count <= row_end_ - x_; }/count <= row_end_ - x_ + 1; }/' test_picture 'RleBmp*'
mutant rle-row-padding-refused graphics/picture/bmp_rle.cpp 's/row_end_((std::int64_t(layout.width) \* layout.bits + 31) \/ 32 \* 32 \/ layout.bits),/row_end_(layout.width),/' test_picture 'RleBmp*'
mutant rle4-nibbles-swapped graphics/picture/bmp_rle.cpp 's/i % 2 ? value \& 15 : value >> 4/i % 2 ? value >> 4 : value \& 15/' test_picture 'RleBmp*'
mutant rle-literal-padding-unread graphics/picture/bmp_rle.cpp 's/return bytes % 2 == 0 || codes_.next(\&byte);/return true;/' test_picture 'RleBmp*'
mutant rle-unended-file-whole graphics/picture/bmp_rle.cpp 's/return y_ >= layout_.height ? KLV_OK : KLV_ERROR_DAMAGED_PICTURE;/return KLV_OK;/' test_picture 'RleBmp*'
mutant rle-delta-up-halved graphics/picture/bmp_rle.cpp 's/        y_ += up;/        y_ += up \/ 2;/' test_picture 'RleBmp*'
mutant rle-runs-a-row-low graphics/picture/load_image.cpp 's/top = std::int64_t(y) + run.y;/top = std::int64_t(y) + run.y + 1;/' test_picture 'RleBmp*'
mutant png-16-alpha-rounded-twice graphics/picture/png_reader.cpp 's/const std::uint32_t sixteen = (colour \* alpha + 32767) \/ 65535;/const std::uint32_t sixteen = ((colour * 255 + 32767) \/ 65535 * ((alpha * 255 + 32767) \/ 65535) + 127) \/ 255 * 257;/' test_picture 'ExactColours*'
mutant alpha-truncated graphics/picture/picture.cpp 's/return (c \* a + 127) \/ 255;/return (c * a) \/ 255;/' test_picture 'ExactColours*'
mutant jpeg-scan-limit-lifted graphics/picture/jpeg_reader.cpp 's/input_scan_number > largest_scan_count/input_scan_number > 10 * largest_scan_count/' test_picture 'Jpeg*'
mutant jpeg-adobe-cmyk-not-inverted graphics/picture/jpeg_reader.cpp 's/shape->inverted = info.saw_Adobe_marker;/shape->inverted = false;/' test_picture 'Jpeg*'
mutant jpeg-cmyk-truncated graphics/picture/jpeg_reader.cpp 's/((ink ^ flip) \* k + 127) \/ 255/((ink ^ flip) * k) \/ 255/' test_picture 'Jpeg*'
mutant jpeg-quarter-turn-wrong-way graphics/picture/orientation.cpp 's/case 6: return {h - 1 - y, h};/case 6: return {(w - 1) * h + y, -h};/' test_picture 'Jpeg*'
mutant jpeg-exif-big-endian-unread graphics/picture/orientation.cpp "s/const bool big = bytes.size() >= 2 \&\& bytes\[0\] == 'M' \&\& bytes\[1\] == 'M';/const bool big = false;/" test_picture 'Jpeg*'
mutant jpeg-unended-scans-whole graphics/picture/jpeg_reader.cpp 's/if (d.source.ended \&\& jpeg_has_multiple_scans(\&d.info))/if (false \&\& jpeg_has_multiple_scans(\&d.info))/' test_picture 'Jpeg*'
mutant jpeg-lost-pixels-ignored graphics/picture/jpeg_reader.cpp 's/if (level < 0 \&\& loses_pixels(info->err->msg_code)) on_error(info);/if (level < -1 \&\& loses_pixels(info->err->msg_code)) on_error(info);/' test_picture 'Jpeg*'
mutant jpeg-pixels-unbounded graphics/picture/jpeg_reader.cpp 's/if (more_pixels_than_the_file_holds(info, bytes.size()))/if (false \&\& more_pixels_than_the_file_holds(info, bytes.size()))/' test_picture 'Jpeg*'
mutant jpeg-arithmetic-read graphics/picture/jpeg_reader.cpp 's/if (info.arith_code) return KLV_ERROR_UNSUPPORTED_PICTURE;/if (info.arith_code \&\& false) return KLV_ERROR_UNSUPPORTED_PICTURE;/' test_picture 'Jpeg*'
mutant png-5-colours-in-2-bits graphics/export/png_file.cpp 's/n <= 4 ? 2/n <= 5 ? 2/' test_export 'SaveImage.Png*'
mutant png-17-colours-in-4-bits graphics/export/png_file.cpp 's/n <= 16 ? 4/n <= 17 ? 4/' test_export 'SaveImage.Png*'
# Recording.
mutant record-over-50-a-second graphics/record/frame_timeline.h 's/shortest_frame = 2;/shortest_frame = 1;/' test_record 'Recording.PicturesFaster*'
mutant record-waiting-picture-lost graphics/record/recording.cpp 's/                show_again_();/                (void)show_again_;/' test_record 'Recording.PicturesFaster*'
mutant record-swap-not-a-picture graphics/draw/pages.cpp '/make_active(state, shown);/{n;s/state->picture_changed = true;/;/}' test_record 'Recording.EachSwap*'
mutant record-repaint-a-frame graphics/record/recording.cpp 's/if (has_held_ \&\& frame.pixels == held_.pixels) {/if (false) {/' test_record 'Recording.WhatAutomatic*'
mutant record-changed-area-narrow graphics/record/gif_writer.cpp 's/area = {std::min(area.left, left),/area = {std::min(area.left, left + 1),/' test_record 'Recording.WhatAutomatic*'
mutant record-last-frame-short graphics/record/frame_timeline.h 's/return length > 0 ? length : 1;/return length > 0 ? 1 : 1;/' test_record 'Recording.EachSwap*'
mutant record-close-unfinished graphics/window/window_procedure.cpp 's/                finish_window_recording(state);/                ;/' test_record 'Recording.ClosingTheWindow*'
mutant record-crowded-box-split graphics/record/colour_reduction.cpp 's/return (a.end - a.begin > 1 ? a.error : -1) < (b.end - b.begin > 1 ? b.error : -1);/return a.end - a.begin < b.end - b.begin;/' test_record 'ColourReduction*'
mutant record-no-lloyd-passes graphics/record/colour_reduction.cpp 's/constexpr int lloyd_passes = 3;/constexpr int lloyd_passes = 0;/' test_record 'ColourReduction*:Recording.APageOfMany*'
mutant record-transparent-index-clash graphics/record/gif_writer.cpp 's/const int transparent = int(image_.colours.size());/const int transparent = 0;/' test_record 'Recording.*'
mutant record-256-changed-colours-reduced graphics/record/gif_writer.cpp 's/if (reduce_colours(changed_.data(), changed_.size(), 256, \&image_)) return NO_TRANSPARENT_COLOR;/(void)0;/' test_record 'Recording.AFrameOf256*'
mutant record-environment-ignored graphics/window/window_lifecycle.cpp 's/    record_from_environment();/    ;/' test_record 'RecordingProgram*'
mutant record-exit-unfinished graphics/record/window_recording.cpp 's/std::atexit(finish_all_recordings);/(void)finish_all_recordings;/' test_record 'RecordingProgram*'
# Colours.
mutant rgb-color-unmarked graphics/draw/colors.h 's/ | (rgb < 16 ? rgb_color_mark : 0)//' test_draw 'DrawingState.Rgb*'
mutant fill-colour-read-as-number graphics/draw/fill_styles.cpp 's/state->fill_color = rgb_color_value(rgb);/state->fill_color = std::int32_t(rgb);/' test_draw 'DrawingState.Rgb*'
mutant get-pixel-answer-unmarked graphics/draw/pixels.cpp 's/    return rgb_color_value(rgb);/    return int(rgb);/' test_draw 'DrawingState.Rgb*'
mutant palette-entry-answer-unmarked graphics/draw/palette.cpp 's/? index : rgb_color_value(rgb);/? index : int(rgb);/' test_draw 'DrawingState.Rgb*'
# Mouse and print layout.
mutant double-click-any-button platform/ui/double_click.cpp 's/armed_ \&\& button == button_ \&\&/armed_ \&\&/' test_ui
mutant double-click-wide platform/ui/double_click.cpp 's/<= double_click_width \/ 2/<= double_click_width/' test_ui
mutant scaled-click-unscaled platform/ui/input.cpp 's/return make_lparam(x \/ window.geometry.scale, y \/ window.geometry.scale);/return make_lparam(x, y);/' test_x11 'X11Test.Scaled*'
mutant print-title-gap-ignored graphics/export/print_command.cpp 's/if (titled) top_margin += title_gap_inches;/if (titled) top_margin += 0 * title_gap_inches;/' test_export 'PrintLayoutTest*:PrintCommand*'
mutant print-square-dots graphics/export/print_command.cpp 's/double scale_y = double(dpi_y) \* scale_x \/ dpi_x;/double scale_y = scale_x;/' test_export 'PrintLayoutTest*:PrintCommand*'
mutant print-menu-4-5-inches-as-4 graphics/window/window_procedure.cpp 's/print_command(nullptr, 4.5,/print_command(nullptr, 4.0,/' test_export 'PrintCommand*'
mutant print-menu-2-inches-as-2-5 graphics/window/window_procedure.cpp 's/print_command(nullptr, 2.0,/print_command(nullptr, 2.5,/' test_export 'PrintCommand*'
# The Windows build, under Wine.
mutant wine-print-half-width platform/print/windows/printer_context.cpp 's/StretchDIBits(job_->dc, x, y, width, height/StretchDIBits(job_->dc, x, y, width \/ 2, height/' windows:print_two_colours e2e_print_wine
mutant wine-chooser-unowned platform/ui/win32/native_desktop.cpp 's/dialog.hwndOwner = owner_handle(request.owner);/dialog.hwndOwner = nullptr;/' windows:test_win32 test_win32
mutant wine-question-unowned platform/ui/win32/native_desktop.cpp 's/return MessageBoxA(owner_handle(owner), text.c_str(), "Save/return MessageBoxA(((void)owner, nullptr), text.c_str(), "Save/' windows:test_win32 test_win32

if [ "${1:-}" = --list ]; then printf '%s\n' "${names[@]}"; exit 0; fi
chosen=("$@")
wanted() {
  ((${#chosen[@]} == 0)) && return 0
  local n; for n in "${chosen[@]}"; do [ "$n" = "$1" ] && return 0; done; return 1
}

# The scratch copy: the worktree's files as they are now (tracked or not
# ignored): those changed since the last run copied (dated now, so rebuilt),
# those gone removed.
mkdir -p "$src"
(cd "$top" && git ls-files -co --exclude-standard | sort) >"$work/files"
(cd "$src" && find . -type f | sed 's|^\./||' | sort | comm -13 "$work/files" - | xargs -r rm -f)
while read -r f; do
  cmp -s "$top/$f" "$src/$f" || { mkdir -p "$src/$(dirname "$f")" && cp "$top/$f" "$src/$f"; }
done <"$work/files"
launcher=(); command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKLV_WARNINGS_AS_ERRORS=ON "${launcher[@]}" >/dev/null || exit 1

start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n; for n in $(seq 140 170); do [ -e "/tmp/.X$n-lock" ] || break; done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!; export DISPLAY=":$n"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done  # a deadline, not an order
  openbox >/dev/null 2>&1 &
  wm_pid=$!
  for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.05; done
}
trap '[ -n "${wine_used:-}" ] && wineserver -k; kill ${wm_pid:-} ${xvfb_pid:-} 2>/dev/null' EXIT

run_windows() {  # program test: 0 when the test passes under Wine
  start_display
  "$src/scripts/build-windows.sh" "$work/windows" --target "$1" >"$work/build.log" 2>&1 || return 2
  export WINEPREFIX="$work/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wine_used=1
  "$top/scripts/wine-prefix.sh"
  timeout 300 ctest --test-dir "$work/windows" -R "^$2\$" --no-tests=error --output-on-failure >"$work/run.log" 2>&1
}

run() {  # target filter: 0 when every selected test passes
  [ "${1#windows:}" = "$1" ] || { run_windows "${1#windows:}" "$2"; return; }
  local backend=headless
  if [ "$1" = test_x11 ]; then backend=x11; start_display; fi
  # The stress tests start bare X servers of their own (no window manager:
  # each one resets when its last client leaves).
  if [ "$1" = test_stress ]; then backend=x11; fi
  cmake --build "$build" -j2 --target "$1" >"$work/build.log" 2>&1 || return 2
  KLV_BACKEND=$backend timeout 300 "$build/tests/$1" --gtest_filter="$2" >"$work/run.log" 2>&1
}

declare -A baseline
killed=0 survived=0 broken=0
printf '%-28s %-12s %s\n' mutant program verdict
for i in "${!names[@]}"; do
  wanted "${names[$i]}" || continue
  file="$src/${files[$i]}" key="${targets[$i]} ${filters[$i]}"
  if [ -z "${baseline[$key]:-}" ]; then
    run "${targets[$i]}" "${filters[$i]}"; baseline[$key]=$?
    ((baseline[$key] == 0)) || { echo "unmutated $key fails (status ${baseline[$key]}; $work/run.log)" >&2; exit 1; }
  fi
  cp -p "$file" "$work/original"
  sed -i "${edits[$i]}" "$file"
  if cmp -s "$file" "$work/original"; then
    verdict="NOT APPLIED (the line moved?)"; broken=$((broken + 1))
  else
    run "${targets[$i]}" "${filters[$i]}"
    case $? in
      0) verdict=SURVIVED; survived=$((survived + 1)) ;;
      2) verdict="DOES NOT BUILD"; broken=$((broken + 1)) ;;
      *) verdict=killed; killed=$((killed + 1)) ;;
    esac
  fi
  cp -p "$work/original" "$file"
  touch "$file"  # rebuilt unmutated next time
  printf '%-28s %-12s %s\n' "${names[$i]}" "${targets[$i]}" "$verdict"
done
echo "$killed killed, $survived survived, $broken broken"
((survived == 0 && broken == 0))
