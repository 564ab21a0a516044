// Text output: TextOutA, GetTextExtentPoint32A and GetTextMetricsA.
#include <cstdint>

#include "platform/gdi/font_face.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/text_blend.h"
#include "platform/gdi/text_rotated.h"

namespace klv::gdi {

namespace {

FontFace& face_of(const DeviceContext* dc) {
    return dc && dc->font ? dc->font->face() : fallback_font().face();
}

// The length of the line in whole pixels: the sum of the advances.
std::int64_t line_length(GlyphStrike* strike, const unsigned char* text, int count) {
    if (!strike) return 0;
    std::int64_t length = 0;
    for (int i = 0; i < count; ++i) length += strike->bounds(text[i]).advance_x >> 6;
    return length;
}

// The glyph with its pen at text point (pen, 0) and its baseline at v =
// ascent. A glyph of a strike turned by quarter turns keeps the upright
// glyph's offsets and sizes, its coverage turned as the line shows it.
void blend_glyph(Bitmap& bitmap, const Rect& drawable, const LinePlacement& line, std::int64_t pen, int ascent,
                 const Glyph& glyph, Pixel colour) {
    if (glyph.coverage.empty()) return;
    std::int64_t left = pen + glyph.left, top = ascent - glyph.top;
    WideRect box = line.device_box(left, top, left + glyph.width, top + glyph.rows);
    blend_coverage(bitmap, drawable, box, glyph.coverage.data(), colour);
}

}  // namespace

// The reference point is logical; the alignment flags say which point of
// the line stands on it. In the opaque background mode the cells (the whole
// advance by the cell height) are filled first.
void text_out(DeviceContext* dc, int x, int y, const char* text, int length) {
    if (!dc || !text || length <= 0 || !dc->bitmap || dc->bitmap->bits_per_pixel() != 32) return;
    Rect drawable = dc->drawable_area();
    if (drawable.left >= drawable.right || drawable.top >= drawable.bottom) return;
    FontFace& face = face_of(dc);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const TextMetrics& m = face.metrics();
    std::int64_t length_px = line_length(face.strike(), bytes, length);
    std::int64_t px = std::int64_t(x) + dc->viewport_origin.x;
    std::int64_t py = std::int64_t(y) + dc->viewport_origin.y;
    if (face.turned_freely() && face.strike()) {
        draw_turned_line(*dc, drawable, face, bytes, length, length_px, px, py);
        return;
    }
    std::int64_t u = 0, v = 0;
    alignment_point(dc->text_align, length_px, m.ascent, m.height, u, v);
    LinePlacement line = place_line(face.quarter_turns(), px, py, u, v);
    Bitmap& bitmap = *dc->bitmap;
    if (dc->background_mode == OPAQUE)
        fill_pixels(bitmap, intersect(line.device_box(0, 0, length_px, m.height), drawable),
                    pixel_from_color(dc->background_color));
    GlyphStrike* strike = face.strike();
    if (!strike) return;
    GlyphStrike* turned = face.turned_strike();
    Pixel colour = pixel_from_color(dc->text_color);
    // Only glyphs that can reach the drawable area are rendered: the rest
    // cost their advance, however large they are.
    std::int64_t pen = 0;
    for (int i = 0; i < length; ++i) {
        const GlyphBounds& bounds = strike->bounds(bytes[i]);
        std::int64_t left = pen + bounds.left, top = m.ascent - bounds.top;
        if (!intersect(line.device_box(left, top, left + bounds.width, top + bounds.rows), drawable).is_empty())
            blend_glyph(bitmap, drawable, line, pen, m.ascent, (turned ? turned : strike)->glyph(bytes[i]), colour);
        pen += bounds.advance_x >> 6;
    }
    for (const TextRule* rule : {&face.underline(), &face.strike_out()})
        if (rule->thickness > 0)
            fill_pixels(bitmap, intersect(line.device_box(0, rule->top, length_px, rule->top + rule->thickness), drawable),
                        colour);
}

// Along the line and across it, whatever the escapement. Lines longer than
// an int can hold report the largest int.
Size text_extent(DeviceContext* dc, const char* text, int length) {
    FontFace& face = face_of(dc);
    std::int64_t along = text && length > 0
                             ? line_length(face.strike(), reinterpret_cast<const unsigned char*>(text), length)
                             : 0;
    if (along > INT32_MAX) along = INT32_MAX;
    return {int(along), face.metrics().height};
}

TextMetrics text_metrics(DeviceContext* dc) { return face_of(dc).metrics(); }

}  // namespace klv::gdi
