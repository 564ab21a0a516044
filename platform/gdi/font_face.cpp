#include "platform/gdi/font_face.h"

namespace klv::gdi {

namespace {

int normalised_escapement(int tenths) {
    int e = tenths % 3600;
    return e < 0 ? e + 3600 : e;
}

}  // namespace

FontFace::FontFace(const FontDescription& description) {
    escapement_ = normalised_escapement(description.escapement);
    quarter_turns_ = escapement_ % 900 == 0 ? escapement_ / 900 : 0;
    SourcedFace sourced = source_face(description);
    family_ = sourced.family;
    metrics_ = sourced.metrics;
    underline_ = sourced.underline;
    strike_out_ = sourced.strike_out;
    simulated_bold_ = sourced.simulated_bold;
    simulated_italic_ = sourced.simulated_italic;
    if (!sourced.source) return;
    StrikeSpec shape = sourced.shape;
    strike_ = find_strike(sourced.source, shape);
    if (escapement_ == 0) return;
    if (turned_freely())
        shape.rotation = escapement_;
    else
        shape.quarter_turns = quarter_turns_;
    turned_strike_ = find_strike(sourced.source, shape);
}

Font& fallback_font() {
    static Font* font = [] {
        FontDescription description;
        description.face_name = "System";
        description.weight = FW_BOLD;
        description.height = 16;
        return new Font(description);
    }();
    return *font;
}

}  // namespace klv::gdi
