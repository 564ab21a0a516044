#include "platform/gdi/glyph_strike.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <cmath>
#include <cstring>
#include <map>
#include <numbers>

#include "platform/gdi/codepage_1252.h"
#include "platform/gdi/text_geometry.h"

namespace klv::gdi {

namespace {

constexpr std::size_t strikes_kept = 256;

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

Glyph turned_glyph(const Glyph& glyph, int quarter_turns) {
    LinePlacement turn = place_line(quarter_turns, 0, 0, 0, 0);
    WideRect box = turn.device_box(0, 0, glyph.width, glyph.rows);
    Glyph out;
    out.width = int(box.right - box.left);
    out.rows = int(box.bottom - box.top);
    out.coverage.resize(glyph.coverage.size());
    std::size_t at = 0;
    for (std::int64_t y = box.top; y < box.bottom; ++y)
        for (std::int64_t x = box.left; x < box.right; ++x) {
            std::int64_t u = 0, v = 0;
            turn.text_pixel(x, y, u, v);
            out.coverage[at++] = glyph.coverage[std::size_t(v * glyph.width + u)];
        }
    return out;
}

GlyphStrike::GlyphStrike(std::shared_ptr<SharedFace> face, StrikeSpec shape)
    : face_(std::move(face)), spec_(shape) {}

const Glyph& GlyphStrike::glyph(unsigned char byte) {
    if (const Glyph* ready = slots_[byte].load(std::memory_order_acquire)) return *ready;
    std::lock_guard lock(mutex_);
    if (const Glyph* ready = slots_[byte].load(std::memory_order_acquire)) return *ready;
    owned_.push_back(render(byte));
    slots_[byte].store(owned_.back().get(), std::memory_order_release);
    return *owned_.back();
}

std::unique_ptr<Glyph> GlyphStrike::render(unsigned char byte) {
    auto glyph = std::make_unique<Glyph>();
    std::lock_guard lock(face_->mutex());
    FT_Face face = face_->face();
    if (FT_Set_Char_Size(face, FT_F26Dot6(spec_.x_size), FT_F26Dot6(spec_.y_size), 72, 72) != 0) return glyph;
    set_rotation(face, spec_.rotation);
    FT_UInt index = FT_Get_Char_Index(face, unicode_from_cp1252(byte));
    FT_Int32 flags = FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;
    bool loaded = FT_Load_Glyph(face, index, flags) == 0 || FT_Load_Glyph(face, 0, flags) == 0;
    if (!loaded) return glyph;
    FT_GlyphSlot slot = face->glyph;
    if (spec_.oblique) FT_GlyphSlot_Oblique(slot);
    if (spec_.embolden) FT_GlyphSlot_Embolden(slot);
    if (spec_.rotation == 0) {
        glyph->advance_x = (std::int64_t(slot->advance.x) + 32) & ~std::int64_t(63);
    } else {
        glyph->advance_x = slot->advance.x;
        glyph->advance_y = slot->advance.y;
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0) copy_bitmap(slot, *glyph);
    if (spec_.quarter_turns != 0 && !glyph->coverage.empty())
        glyph->coverage = turned_glyph(*glyph, spec_.quarter_turns).coverage;
    return glyph;
}

namespace {

using StrikeKey = std::pair<const SharedFace*, StrikeSpec>;

struct StrikeTable {
    std::mutex mutex;
    std::map<StrikeKey, std::shared_ptr<GlyphStrike>> strikes;
};

StrikeTable& strike_table() {
    static auto* table = new StrikeTable;
    return *table;
}

}  // namespace

std::size_t kept_strike_count() {
    StrikeTable& table = strike_table();
    std::lock_guard lock(table.mutex);
    return table.strikes.size();
}

std::shared_ptr<GlyphStrike> find_strike(const std::shared_ptr<SharedFace>& face, const StrikeSpec& shape) {
    StrikeTable& table = strike_table();
    std::lock_guard lock(table.mutex);
    auto* strikes = &table.strikes;
    StrikeKey key{face.get(), shape};
    if (auto found = strikes->find(key); found != strikes->end()) return found->second;
    if (strikes->size() >= strikes_kept)
        std::erase_if(*strikes, [](const auto& entry) { return entry.second.use_count() == 1; });
    auto strike = std::make_shared<GlyphStrike>(face, shape);
    strikes->emplace(key, strike);
    return strike;
}

}  // namespace klv::gdi

