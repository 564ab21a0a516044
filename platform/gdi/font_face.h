// A font object's resolved face: the installed face chosen for it, the
// sizes GDI's rules give, and the strikes its glyphs come from.
#pragma once

#include <memory>
#include <string>

#include "platform/gdi/font.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/glyph_source.h"
#include "platform/gdi/glyph_strike.h"

namespace klv::gdi {

class FontFace {
public:
    explicit FontFace(const FontDescription& description);

    const TextMetrics& metrics() const { return metrics_; }
    // The underline and strike-out the description asks for.
    const TextRule& underline() const { return underline_; }
    const TextRule& strike_out() const { return strike_out_; }
    // The installed family the font resolved to.
    const std::string& family() const { return family_; }
    // Glyphs laid out along the unrotated line; null when no font at all is
    // installed (text then fills its cells but shows no glyphs).
    GlyphStrike* strike() const { return strike_.get(); }
    // Glyphs as drawn when the line is turned (by quarter turns or any
    // other angle); null for horizontal text.
    GlyphStrike* turned_strike() const { return turned_strike_.get(); }
    // Whether the escapement is other than whole quarter turns.
    bool turned_freely() const { return escapement_ % 900 != 0; }
    // Bold and italic simulated because the installed face lacks them.
    bool simulated_bold() const { return simulated_bold_; }
    bool simulated_italic() const { return simulated_italic_; }
    // Escapement in whole quarter turns counter-clockwise (0 to 3), when it is one.
    int quarter_turns() const { return quarter_turns_; }
    // Escapement in tenths of a degree, 0 to 3599.
    int escapement() const { return escapement_; }

private:
    std::string family_;
    TextMetrics metrics_;
    TextRule underline_;
    TextRule strike_out_;
    std::shared_ptr<GlyphStrike> strike_;
    std::shared_ptr<GlyphStrike> turned_strike_;
    int quarter_turns_ = 0;
    int escapement_ = 0;
    bool simulated_bold_ = false;
    bool simulated_italic_ = false;
};

// The font text is drawn in when a device context holds none.
Font& fallback_font();

}  // namespace klv::gdi
