// FreeType renders a shared face's glyphs: grey coverage at the strike's
// sizes, with synthetic bold and italic and free turns applied by FreeType.
#include <ft2build.h>
#include FT_FREETYPE_H
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

}  // namespace

Glyph SharedFace::render(unsigned char byte, const StrikeSpec& shape) {
    Glyph glyph;
    std::lock_guard lock(mutex_);
    if (FT_Set_Char_Size(face_, FT_F26Dot6(shape.x_size), FT_F26Dot6(shape.y_size), 72, 72) != 0) return glyph;
    set_rotation(face_, shape.rotation);
    FT_UInt index = FT_Get_Char_Index(face_, unicode_from_cp1252(byte));
    FT_Int32 flags = FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;
    bool loaded = FT_Load_Glyph(face_, index, flags) == 0 || FT_Load_Glyph(face_, 0, flags) == 0;
    if (!loaded) return glyph;
    FT_GlyphSlot slot = face_->glyph;
    if (shape.oblique) FT_GlyphSlot_Oblique(slot);
    if (shape.embolden) FT_GlyphSlot_Embolden(slot);
    if (shape.rotation == 0) {
        glyph.advance_x = (std::int64_t(slot->advance.x) + 32) & ~std::int64_t(63);
    } else {
        glyph.advance_x = slot->advance.x;
        glyph.advance_y = slot->advance.y;
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0) copy_bitmap(slot, glyph);
    return glyph;
}

}  // namespace klv::gdi
