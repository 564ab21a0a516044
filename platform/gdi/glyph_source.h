// Where glyphs come from: the fonts installed on the system the library runs
// on. On Linux FreeType renders them and fontconfig finds them
// (platform/gdi/freetype/); on Windows GDI itself gives the real fonts
// (platform/gdi/windows/). Either way the raster engine places and blends
// the coverage the same way, so nothing above this interface knows which
// side it runs on.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gdi/font.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/glyph_strike.h"

namespace klv::gdi {

// Cells are at most this many pixels high or wide; larger requests are
// drawn at this size.
constexpr int largest_cell = 1000;
// The cell height of a font created with height 0.
constexpr int default_cell_height = 16;

// A line drawn along the text (underline or strike-out): its top, in
// pixels below the top of the cell, and its thickness; none when 0 thick.
struct TextRule {
    int top = 0;
    int thickness = 0;
};

// One installed face, able to render its glyphs at any strike's shape.
class GlyphSource {
public:
    virtual ~GlyphSource() = default;
    // The glyph of a Windows-1252 byte at the shape's sizes, bold and italic,
    // upright or turned freely by `shape.rotation`. Quarter turns are the
    // strike's business: the source renders those upright. Thread-safe.
    virtual Glyph render(unsigned char byte, const StrikeSpec& shape) = 0;
    // The advances render gives for the same byte and shape, and a box that
    // holds every pixel of its coverage, for far less than rendering costs.
    // Thread-safe.
    virtual GlyphBounds bounds(unsigned char byte, const StrikeSpec& shape) = 0;
};

// What a font description comes to on this system: the face chosen for it,
// measured as GDI measures a font, and the upright strike's shape.
struct SourcedFace {
    std::shared_ptr<GlyphSource> source;  // null when no font is installed at all
    std::string family;                   // the installed family chosen
    TextMetrics metrics;
    TextRule underline;
    TextRule strike_out;
    StrikeSpec shape;
    bool simulated_bold = false;  // drawn bolder or slanted because the
    bool simulated_italic = false;  // installed face lacks that style
};

// Thread-safe.
SourcedFace source_face(const FontDescription& description);

}  // namespace klv::gdi
