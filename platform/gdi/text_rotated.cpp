#include "platform/gdi/text_rotated.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/gdi/text_blend.h"

namespace klv::gdi {

namespace {

// Text (u, v) to device: origin + (u*c + v*s, -u*s + v*c).
struct Turn {
    double c = 1, s = 0, origin_x = 0, origin_y = 0;
    double x(double u, double v) const { return origin_x + u * c + v * s; }
    double y(double u, double v) const { return origin_y - u * s + v * c; }
};

// Narrows [lo, hi) to the dx where 0 <= a*dx + b < limit.
void narrow(double a, double b, double limit, double& lo, double& hi) {
    constexpr double tiny = 1e-12;
    if (std::abs(a) < tiny) {
        if (b < 0 || b >= limit) hi = lo;
        return;
    }
    double p = -b / a, q = (limit - b) / a;
    lo = std::max(lo, std::min(p, q));
    hi = std::min(hi, std::max(p, q));
}

// Fills the turned text rectangle [0, length) x [top, top + height): each
// device pixel whose centre lies inside it.
void fill_turned_rect(Bitmap& bitmap, const Rect& drawable, Turn t, double length, double top, double height,
                      Pixel pixel) {
    t.origin_x += top * t.s;  // start the rectangle's own v at its top
    t.origin_y += top * t.c;
    double ys[4] = {t.y(0, 0), t.y(length, 0), t.y(0, height), t.y(length, height)};
    double first_row = std::max<double>(drawable.top, std::floor(*std::min_element(ys, ys + 4)));
    double end_row = std::min<double>(drawable.bottom, std::ceil(*std::max_element(ys, ys + 4)));
    for (auto row = std::int64_t(first_row); row < std::int64_t(end_row); ++row) {
        double dy = double(row) + 0.5 - t.origin_y;
        double lo = -1e300, hi = 1e300;
        narrow(t.c, -t.s * dy, length, lo, hi);  // u = c*dx - s*dy
        narrow(t.s, t.c * dy, height, lo, hi);   // v = s*dx + c*dy
        if (lo >= hi) continue;
        double first = std::max<double>(drawable.left, std::ceil(lo + t.origin_x - 0.5));
        double last = std::min<double>(drawable.right, std::ceil(hi + t.origin_x - 0.5));
        if (first < last) fill_pixels(bitmap, {std::int64_t(first), row, std::int64_t(last), row + 1}, pixel);
    }
}

}  // namespace

void draw_turned_line(DeviceContext& dc, const Rect& drawable, FontFace& face, const unsigned char* text,
                      int count, std::int64_t length_px, std::int64_t x, std::int64_t y) {
    const TextMetrics& m = face.metrics();
    std::int64_t u = 0, v = 0;
    alignment_point(dc.text_align, length_px, m.ascent, m.height, u, v);
    double radians = face.escapement() * std::numbers::pi / 1800.0;
    Turn t{std::cos(radians), std::sin(radians), 0, 0};
    t.origin_x = double(x) - (double(u) * t.c + double(v) * t.s);
    t.origin_y = double(y) - (-double(u) * t.s + double(v) * t.c);
    Bitmap& bitmap = *dc.bitmap;
    if (dc.background_mode == OPAQUE)
        fill_turned_rect(bitmap, drawable, t, double(length_px), 0, m.height, pixel_from_color(dc.background_color));
    Pixel colour = pixel_from_color(dc.text_color);
    std::int64_t pen = 0;
    // Only glyphs that can reach the drawable area are rendered.
    GlyphStrike& turned_strike = *face.turned_strike();
    for (int i = 0; i < count; ++i) {
        auto gx = std::int64_t(std::llround(t.x(double(pen), m.ascent)));
        auto gy = std::int64_t(std::llround(t.y(double(pen), m.ascent)));
        const GlyphBounds& bounds = turned_strike.bounds(text[i]);
        const WideRect reach{gx + bounds.left, gy - bounds.top, gx + bounds.left + bounds.width,
                             gy - bounds.top + bounds.rows};
        if (!intersect(reach, drawable).is_empty()) {
            const Glyph& turned = turned_strike.glyph(text[i]);
            blend_glyph_at(bitmap, drawable, gx + turned.left, gy - turned.top, turned, colour);
        }
        pen += face.strike()->bounds(text[i]).advance_x >> 6;
    }
    for (const TextRule* rule : {&face.underline(), &face.strike_out()})
        if (rule->thickness > 0) fill_turned_rect(bitmap, drawable, t, double(length_px), rule->top, rule->thickness, colour);
}

}  // namespace klv::gdi
