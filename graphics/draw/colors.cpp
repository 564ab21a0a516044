#include "graphics/draw/colors.h"

#include <algorithm>

#include "graphics/draw/drawing_context.h"
#include "graphics/draw/line_styles.h"

namespace klv {

std::array<std::atomic<gdi::ColorRef>, 16> palette{};

const std::array<gdi::ColorRef, 16> default_palette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF8080, 0x80FF80, 0xFFFF80, 0x8080FF, 0xFF80FF, 0x00FFFF, 0xFFFFFF,
};

}  // namespace klv

using namespace klv;

extern "C" int rgb_color(int red, int green, int blue) {
    const auto part = [](int value) { return gdi::ColorRef(std::clamp(value, 0, 255)); };
    return rgb_color_value(part(blue) << 16 | part(green) << 8 | part(red));
}

extern "C" void set_color(int color) {
    WindowState* state = current_window_state(nullptr);
    state->draw_color = color;
    const gdi::ColorRef rgb = color_to_rgb(color);
    {
        PageLock lock(state);
        if (lock.locked())
            for (gdi::DeviceContext* dc : state->page_dc) gdi::set_text_color(dc, rgb);
    }
    update_pen();
}

extern "C" void set_bk_color(int color) {
    WindowState* state = current_window_state(nullptr);
    state->bk_color = color;
    const gdi::ColorRef rgb = color_to_rgb(color);
    PageLock lock(state);
    if (!lock.locked()) return;
    for (gdi::DeviceContext* dc : state->page_dc) gdi::set_background_color(dc, rgb);
}
