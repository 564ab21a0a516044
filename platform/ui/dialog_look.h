// How our own dialogs and menus look: the sans face the numbered fonts use
// (Liberation Sans for Arial), at the desktop's size (9 points at 96 dots an
// inch: 12 pixels) times the desktop's scale, anti-aliased by the text
// engine, in the colours of a plain light desktop theme. Sizes given to the
// look are in units of the unscaled dialog; px() turns them into pixels.
// Internal to platform/ui.
#pragma once

#include <string>

#include "platform/gdi/gdi.h"

namespace klv::ui {

namespace dialog_colours {
constexpr gdi::ColorRef face = gdi::make_color(0xF0, 0xF0, 0xF0);
constexpr gdi::ColorRef window = gdi::make_color(0xFF, 0xFF, 0xFF);
constexpr gdi::ColorRef text = gdi::make_color(0x00, 0x00, 0x00);
constexpr gdi::ColorRef grey_text = gdi::make_color(0x6D, 0x6D, 0x6D);
constexpr gdi::ColorRef error_text = gdi::make_color(0xC4, 0x2B, 0x1C);
constexpr gdi::ColorRef border = gdi::make_color(0x7A, 0x7A, 0x7A);
constexpr gdi::ColorRef light_border = gdi::make_color(0xAD, 0xAD, 0xAD);
constexpr gdi::ColorRef button = gdi::make_color(0xE1, 0xE1, 0xE1);
constexpr gdi::ColorRef focus = gdi::make_color(0x00, 0x78, 0xD7);
constexpr gdi::ColorRef selection = gdi::make_color(0xCC, 0xE8, 0xFF);
constexpr gdi::ColorRef highlight = gdi::make_color(0x91, 0xC9, 0xF7);
}  // namespace dialog_colours

class DialogLook {
public:
    explicit DialogLook(int scale);
    ~DialogLook();
    DialogLook(const DialogLook&) = delete;
    DialogLook& operator=(const DialogLook&) = delete;

    int scale() const { return scale_; }
    int px(int units) const { return units * scale_; }
    int line_height() const { return line_height_; }
    int text_width(const std::string& text) const;
    // The longest end of `text` that fits `width` pixels, after "..." when cut.
    std::string fitted_tail(const std::string& text, int width) const;

    void fill(gdi::DeviceContext* dc, const gdi::Rect& rect, gdi::ColorRef colour) const;
    // A one-pixel (times the scale) line just inside the rectangle.
    void outline(gdi::DeviceContext* dc, const gdi::Rect& rect, gdi::ColorRef colour) const;
    // One line of Windows-1252 text with its cell's top-left corner at (x, y).
    void text(gdi::DeviceContext* dc, int x, int y, const std::string& text, gdi::ColorRef colour) const;
    // A push button with its label centred; the focused one has a blue frame.
    void button(gdi::DeviceContext* dc, const gdi::Rect& rect, const std::string& label, bool focused) const;

private:
    int scale_;
    gdi::Font* font_;
    gdi::DeviceContext* measure_;  // for text widths
    int line_height_ = 0;
};

}  // namespace klv::ui
