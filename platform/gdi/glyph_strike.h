// Rendered glyphs of one face at one size and style: a strike.
//
// Text bytes are Windows-1252 characters, so a strike has 256 glyph slots,
// filled on first use and kept while any font uses the strike. Reading a
// filled slot takes no lock, so drawing a short label on a strike that has
// drawn it before costs only the blending.
#pragma once

#include <array>
#include <atomic>
#include <compare>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>


namespace klv::gdi {

// A grey coverage bitmap (0 none to 255 full) and where it stands.
struct Glyph {
    int left = 0;  // left edge from the pen position, pixels
    int top = 0;   // top edge above the baseline, pixels
    int width = 0;
    int rows = 0;
    // How far the pen moves, in 1/64 pixel (x along the unrotated line, y up).
    // Horizontal strikes move whole pixels.
    std::int64_t advance_x = 0;
    std::int64_t advance_y = 0;
    // Rows top first, `width` bytes each; in a strike turned by quarter
    // turns, the upright width x rows coverage turned as the device shows it.
    std::vector<std::uint8_t> coverage;
};

// What laying out a glyph takes without rendering it: how far the pen
// moves (as Glyph's advances) and a box, in Glyph's terms, that holds every
// pixel of its coverage. Text whose glyphs cannot reach the page is laid out
// from these alone, at a cost that does not grow with the glyphs' size.
struct GlyphBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    std::int64_t advance_x = 0;
    std::int64_t advance_y = 0;
};

// The coverage of `glyph` turned by whole quarter turns counter-clockwise
// (on a y-down device); advances and offsets are not carried over.
Glyph turned_glyph(const Glyph& glyph, int quarter_turns);

// What a strike renders: sizes in 1/64 pixel per em, across and along the
// line (they differ when a font is widened or narrowed), synthetic bold and
// italic, and a turn counter-clockwise: either whole quarter turns, which
// turn the upright coverage exactly, or any other angle in tenths of a
// degree, which the glyph source renders turned.
struct StrikeSpec {
    std::int64_t x_size = 0;
    std::int64_t y_size = 0;
    bool embolden = false;
    bool oblique = false;
    int quarter_turns = 0;
    int rotation = 0;
    auto operator<=>(const StrikeSpec&) const = default;
};

class GlyphSource;

class GlyphStrike {
public:
    GlyphStrike(std::shared_ptr<GlyphSource> source, StrikeSpec shape);
    GlyphStrike(const GlyphStrike&) = delete;
    GlyphStrike& operator=(const GlyphStrike&) = delete;

    // The glyph of a Windows-1252 byte; thread-safe.
    const Glyph& glyph(unsigned char byte);
    // Its advances (those of glyph(byte)) and a box holding its coverage,
    // without rendering it; thread-safe.
    const GlyphBounds& bounds(unsigned char byte);
    const StrikeSpec& shape() const { return spec_; }

private:
    std::unique_ptr<Glyph> render(unsigned char byte);

    std::shared_ptr<GlyphSource> source_;
    StrikeSpec spec_;
    std::array<std::atomic<const Glyph*>, 256> slots_{};
    std::array<std::atomic<const GlyphBounds*>, 256> bounds_slots_{};
    std::mutex mutex_;  // guards owned_, owned_bounds_ and the filling of slots
    std::vector<std::unique_ptr<Glyph>> owned_;
    std::vector<std::unique_ptr<GlyphBounds>> owned_bounds_;
};

// The strike for a glyph source and shape, shared process-wide. Strikes no
// font uses any more are let go once many have piled up.
std::shared_ptr<GlyphStrike> find_strike(const std::shared_ptr<GlyphSource>& source, const StrikeSpec& shape);

// How many strikes are kept (in use or cached).
std::size_t kept_strike_count();

}  // namespace klv::gdi
