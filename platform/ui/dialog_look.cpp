#include "platform/ui/dialog_look.h"

#include <algorithm>

#include "platform/gdi/font.h"

namespace klv::ui {

namespace {

constexpr int desktop_text_pixels = 12;

// Selects `object` into the context for as long as it lives.
class Selected {
public:
    Selected(gdi::DeviceContext* dc, gdi::Object* object) : dc_(dc), old_(gdi::select_object(dc, object)) {}
    ~Selected() {
        if (old_) gdi::select_object(dc_, old_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    gdi::DeviceContext* dc_;
    gdi::Object* old_;
};

}  // namespace

DialogLook::DialogLook(int scale) : scale_(std::clamp(scale, 1, 8)) {
    gdi::FontDescription description;
    description.height = -desktop_text_pixels * scale_;  // the character height, as the desktop gives its sizes
    description.face_name = "Arial";
    font_ = gdi::create_font(description);
    measure_ = gdi::create_compatible_dc(nullptr);
    gdi::select_object(measure_, font_);
    line_height_ = gdi::text_metrics(measure_).height;
}

DialogLook::~DialogLook() {
    gdi::delete_dc(measure_);
    gdi::delete_object(font_);
}

int DialogLook::text_width(const std::string& text) const {
    return gdi::text_extent(measure_, text.data(), int(text.size())).cx;
}

std::string DialogLook::fitted_tail(const std::string& text, int width) const {
    if (text_width(text) <= width) return text;
    for (std::size_t start = 1; start < text.size(); ++start) {
        std::string cut = "..." + text.substr(start);
        if (text_width(cut) <= width) return cut;
    }
    return "...";
}

void DialogLook::fill(gdi::DeviceContext* dc, const gdi::Rect& rect, gdi::ColorRef colour) const {
    gdi::Brush* brush = gdi::create_solid_brush(colour);
    gdi::fill_rect(dc, rect, brush);
    gdi::delete_object(brush);
}

void DialogLook::outline(gdi::DeviceContext* dc, const gdi::Rect& r, gdi::ColorRef colour) const {
    const int w = scale_;
    fill(dc, {r.left, r.top, r.right, r.top + w}, colour);
    fill(dc, {r.left, r.bottom - w, r.right, r.bottom}, colour);
    fill(dc, {r.left, r.top, r.left + w, r.bottom}, colour);
    fill(dc, {r.right - w, r.top, r.right, r.bottom}, colour);
}

void DialogLook::text(gdi::DeviceContext* dc, int x, int y, const std::string& text, gdi::ColorRef colour) const {
    Selected font(dc, font_);
    const gdi::ColorRef old_colour = gdi::set_text_color(dc, colour);
    const int old_mode = gdi::set_background_mode(dc, gdi::TRANSPARENT);
    const std::uint32_t old_align = gdi::set_text_align(dc, gdi::TA_LEFT | gdi::TA_TOP);
    gdi::text_out(dc, x, y, text.data(), int(text.size()));
    gdi::set_text_align(dc, old_align);
    gdi::set_background_mode(dc, old_mode);
    gdi::set_text_color(dc, old_colour);
}

void DialogLook::button(gdi::DeviceContext* dc, const gdi::Rect& r, const std::string& label, bool focused) const {
    fill(dc, r, dialog_colours::button);
    outline(dc, r, focused ? dialog_colours::focus : dialog_colours::light_border);
    if (focused) outline(dc, {r.left + scale_, r.top + scale_, r.right - scale_, r.bottom - scale_}, dialog_colours::focus);
    const int x = r.left + (r.right - r.left - text_width(label)) / 2;
    const int y = r.top + (r.bottom - r.top - line_height_) / 2;
    text(dc, x, y, label, dialog_colours::text);
}

}  // namespace klv::ui
