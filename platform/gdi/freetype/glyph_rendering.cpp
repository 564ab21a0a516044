// FreeType renders a shared face's glyphs: grey coverage at the strike's
// sizes, with synthetic bold and italic and free turns applied by FreeType.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H

#include <cmath>
#include <cstring>
#include <numbers>

#include "platform/gdi/codepage_1252.h"
#include "platform/gdi/freetype/font_file_cache.h"

namespace klv::gdi {

namespace {

void set_rotation(FT_Face face, int tenths) {
    if (tenths == 0) {
        FT_Set_Transform(face, nullptr, nullptr);
        return;
    }
    double radians = tenths * std::numbers::pi / 1800.0;
    FT_Fixed c = FT_Fixed(std::lround(std::cos(radians) * 65536.0));
    FT_Fixed s = FT_Fixed(std::lround(std::sin(radians) * 65536.0));
    FT_Matrix matrix{c, -s, s, c};
    FT_Set_Transform(face, &matrix, nullptr);
}

// Copies the rendered slot; FreeType's pitch may be negative or padded.
void copy_bitmap(const FT_GlyphSlot slot, Glyph& glyph) {
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || !bitmap.buffer) return;
    glyph.width = int(bitmap.width);
    glyph.rows = int(bitmap.rows);
    glyph.coverage.resize(std::size_t(glyph.width) * std::size_t(glyph.rows));
    for (int y = 0; y < glyph.rows; ++y)
        std::memcpy(glyph.coverage.data() + std::size_t(y) * std::size_t(glyph.width),
                    bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch, std::size_t(glyph.width));
}

// The byte's glyph loaded into the face's slot at the shape's sizes, turn
// and styles, with its advances; null when the face has none to give. The
// caller holds the face's mutex.
FT_GlyphSlot load_slot(FT_Face face, unsigned char byte, const StrikeSpec& shape, std::int64_t& advance_x,
                       std::int64_t& advance_y) {
    if (FT_Set_Char_Size(face, FT_F26Dot6(shape.x_size), FT_F26Dot6(shape.y_size), 72, 72) != 0) return nullptr;
    set_rotation(face, shape.rotation);
    FT_UInt index = FT_Get_Char_Index(face, unicode_from_cp1252(byte));
    FT_Int32 flags = FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;
    bool loaded = FT_Load_Glyph(face, index, flags) == 0 || FT_Load_Glyph(face, 0, flags) == 0;
    if (!loaded) return nullptr;
    FT_GlyphSlot slot = face->glyph;
    if (shape.oblique) FT_GlyphSlot_Oblique(slot);
    if (shape.embolden) FT_GlyphSlot_Embolden(slot);
    if (shape.rotation == 0) {
        advance_x = (std::int64_t(slot->advance.x) + 32) & ~std::int64_t(63);
    } else {
        advance_x = slot->advance.x;
        advance_y = slot->advance.y;
    }
    return slot;
}

// FreeType's bitmap of an outline is its control box rounded out to whole
// pixels, moved or widened by a pixel where that would be empty: two more
// pixels all round hold it.
GlyphBounds outline_bounds(const FT_Outline& outline) {
    GlyphBounds bounds;
    if (outline.n_points == 0) return bounds;
    FT_BBox box;
    FT_Outline_Get_CBox(&outline, &box);
    const std::int64_t left = (std::int64_t(box.xMin) >> 6) - 2, right = ((std::int64_t(box.xMax) + 63) >> 6) + 2;
    const std::int64_t bottom = (std::int64_t(box.yMin) >> 6) - 2, top = ((std::int64_t(box.yMax) + 63) >> 6) + 2;
    bounds.left = int(left);
    bounds.top = int(top);
    bounds.width = int(right - left);
    bounds.rows = int(top - bottom);
    return bounds;
}

}  // namespace

Glyph SharedFace::render(unsigned char byte, const StrikeSpec& shape) {
    Glyph glyph;
    std::lock_guard lock(mutex_);
    FT_GlyphSlot slot = load_slot(face_, byte, shape, glyph.advance_x, glyph.advance_y);
    if (slot && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0) copy_bitmap(slot, glyph);
    return glyph;
}

GlyphBounds SharedFace::bounds(unsigned char byte, const StrikeSpec& shape) {
    GlyphBounds bounds;
    std::lock_guard lock(mutex_);
    std::int64_t advance_x = 0, advance_y = 0;
    FT_GlyphSlot slot = load_slot(face_, byte, shape, advance_x, advance_y);
    if (!slot) return bounds;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        bounds = outline_bounds(slot->outline);
    } else if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0) {
        Glyph glyph;
        copy_bitmap(slot, glyph);
        bounds = {glyph.left, glyph.top, glyph.width, glyph.rows};
    }
    bounds.advance_x = advance_x;
    bounds.advance_y = advance_y;
    return bounds;
}

}  // namespace klv::gdi
