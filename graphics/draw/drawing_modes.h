// The page settings a drawing step changes for its own duration: the text
// colour while filling, and the mix of outlines with the page.
#pragma once

#include "graphics/draw/colors.h"
#include "graphics/window/window_state.h"

namespace klv {

// The text colour is the fill colour while filling, so that the 0 bits of a
// pattern brush show it; afterwards it is the drawing colour again.
class FillingColors {
public:
    FillingColors(const WindowState* state, gdi::DeviceContext* dc) : state_(state), dc_(dc) {
        gdi::set_text_color(dc_, color_to_rgb(state_->fill_color));
    }
    ~FillingColors() { gdi::set_text_color(dc_, color_to_rgb(state_->draw_color)); }
    FillingColors(const FillingColors&) = delete;
    FillingColors& operator=(const FillingColors&) = delete;

private:
    const WindowState* state_;
    gdi::DeviceContext* dc_;
};

// Lines and outlines are drawn in the window's write mode; the page goes
// back to copying afterwards, so that fills, pixels and text always copy.
class OutlineMode {
public:
    OutlineMode(const WindowState* state, gdi::DeviceContext* dc)
        : dc_(state->write_mode == KLV_DRAW_XOR ? dc : nullptr) {
        if (dc_ != nullptr) gdi::set_rop2(dc_, gdi::R2_XORPEN);
    }
    ~OutlineMode() {
        if (dc_ != nullptr) gdi::set_rop2(dc_, gdi::R2_COPYPEN);
    }
    OutlineMode(const OutlineMode&) = delete;
    OutlineMode& operator=(const OutlineMode&) = delete;

private:
    gdi::DeviceContext* dc_;
};

}  // namespace klv
