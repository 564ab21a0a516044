#include "platform/gdi/glyph_strike.h"

#include <map>

#include "platform/gdi/glyph_source.h"
#include "platform/gdi/text_geometry.h"

namespace klv::gdi {

namespace {

constexpr std::size_t strikes_kept = 256;

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

GlyphStrike::GlyphStrike(std::shared_ptr<GlyphSource> source, StrikeSpec shape)
    : source_(std::move(source)), spec_(shape) {}

const Glyph& GlyphStrike::glyph(unsigned char byte) {
    if (const Glyph* ready = slots_[byte].load(std::memory_order_acquire)) return *ready;
    std::lock_guard lock(mutex_);
    if (const Glyph* ready = slots_[byte].load(std::memory_order_acquire)) return *ready;
    owned_.push_back(render(byte));
    slots_[byte].store(owned_.back().get(), std::memory_order_release);
    return *owned_.back();
}

const GlyphBounds& GlyphStrike::bounds(unsigned char byte) {
    if (const GlyphBounds* ready = bounds_slots_[byte].load(std::memory_order_acquire)) return *ready;
    std::lock_guard lock(mutex_);
    if (const GlyphBounds* ready = bounds_slots_[byte].load(std::memory_order_acquire)) return *ready;
    StrikeSpec upright = spec_;
    upright.quarter_turns = 0;
    owned_bounds_.push_back(std::make_unique<GlyphBounds>(source_->bounds(byte, upright)));
    bounds_slots_[byte].store(owned_bounds_.back().get(), std::memory_order_release);
    return *owned_bounds_.back();
}

std::unique_ptr<Glyph> GlyphStrike::render(unsigned char byte) {
    StrikeSpec upright = spec_;
    upright.quarter_turns = 0;
    auto glyph = std::make_unique<Glyph>(source_->render(byte, upright));
    if (spec_.quarter_turns != 0 && !glyph->coverage.empty())
        glyph->coverage = turned_glyph(*glyph, spec_.quarter_turns).coverage;
    return glyph;
}

namespace {

using StrikeKey = std::pair<const GlyphSource*, StrikeSpec>;

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

std::shared_ptr<GlyphStrike> find_strike(const std::shared_ptr<GlyphSource>& source, const StrikeSpec& shape) {
    StrikeTable& table = strike_table();
    std::lock_guard lock(table.mutex);
    auto* strikes = &table.strikes;
    StrikeKey key{source.get(), shape};
    if (auto found = strikes->find(key); found != strikes->end()) return found->second;
    if (strikes->size() >= strikes_kept)
        std::erase_if(*strikes, [](const auto& entry) { return entry.second.use_count() == 1; });
    auto strike = std::make_shared<GlyphStrike>(source, shape);
    strikes->emplace(key, strike);
    return strike;
}

}  // namespace klv::gdi

