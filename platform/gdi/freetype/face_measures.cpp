// Font descriptions to FreeType faces: fontconfig picks the installed file,
// and the face's own measures give the cell and character sizes by GDI's
// rules.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/gdi/freetype/font_file_cache.h"
#include "platform/gdi/freetype/font_resolver.h"
#include "platform/gdi/glyph_source.h"

namespace klv::gdi {

namespace {

// A face's own measures, in font units.
struct DesignMetrics {
    double units_per_em = 2048;
    double ascent = 1638;   // above the baseline, as Windows measures a cell
    double descent = 410;   // below it
    double average_width = 1024;
    double max_width = 2048;
    double underline_top = -150;  // above the baseline (negative: below)
    double underline_thickness = 100;
    double strike_out_top = 600;
    double strike_out_thickness = 100;
};

// For faces without the OS/2 table's average width: lower-case letters and
// the space, weighted by how often they occur in English text, as that
// table's first versions defined it.
double weighted_average_width(FT_Face face) {
    static constexpr int weights[26] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20,
                                        56, 56, 17, 4,  49, 56, 71, 31, 10, 18, 3, 18, 2};
    auto advance = [&](char32_t c) -> double {
        FT_UInt index = FT_Get_Char_Index(face, c);
        FT_Fixed value = 0;
        if (index == 0 || FT_Get_Advance(face, index, FT_LOAD_NO_SCALE, &value) != 0) return -1;
        return double(value);
    };
    double sum = 166 * advance(U' ');
    if (sum < 0) return 0;
    for (int c = 0; c < 26; ++c) {
        double a = advance(char32_t(U'a' + c));
        if (a < 0) return 0;
        sum += weights[c] * a;
    }
    return sum / 1000.0;
}

DesignMetrics design_metrics(FT_Face face) {
    DesignMetrics m;
    if (face->units_per_EM > 0) m.units_per_em = face->units_per_EM;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
        m.ascent = os2->usWinAscent;
        m.descent = os2->usWinDescent;
    } else if (face->ascender - face->descender > 0) {
        m.ascent = face->ascender;
        m.descent = -face->descender;
    } else {
        m.ascent = m.units_per_em * 0.8;
        m.descent = m.units_per_em * 0.2;
    }
    // GDI's average character width, the one a font's width is scaled to.
    if (os2 && os2->xAvgCharWidth > 0) m.average_width = os2->xAvgCharWidth;
    if (m.average_width <= 0 || !os2 || os2->xAvgCharWidth <= 0) m.average_width = weighted_average_width(face);
    if (m.average_width <= 0) m.average_width = m.units_per_em / 2;
    m.max_width = face->max_advance_width > 0 ? face->max_advance_width : m.units_per_em;
    if (face->underline_thickness > 0) {
        m.underline_thickness = face->underline_thickness;
        m.underline_top = face->underline_position + face->underline_thickness / 2.0;
    }
    if (os2 && os2->yStrikeoutSize > 0) {
        m.strike_out_top = os2->yStrikeoutPosition;
        m.strike_out_thickness = os2->yStrikeoutSize;
    }
    return m;
}

// Bold and italic the file itself does not give are simulated.
void simulated_styles(FT_Face face, const ResolvedFace& resolved, SourcedFace& sourced) {
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    bool file_bold = os2 && os2->usWeightClass > 0 ? os2->usWeightClass >= 600
                                                   : (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
    bool file_italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    sourced.simulated_bold = resolved.bold && !file_bold;
    sourced.simulated_italic = resolved.italic && !file_italic;
}

std::int64_t clamp_size(std::int64_t value) { return std::clamp<std::int64_t>(value, 1, largest_cell); }

// The system font is a raster font 16 pixels high and 7 wide on average;
// its stand-in keeps those proportions unless a width is asked for.
std::int64_t asked_width(const FontDescription& description) {
    std::int64_t width = std::llabs(std::int64_t(description.width));
    if (width != 0) return width;
    std::string name;
    for (char c : description.face_name) name += char(std::tolower(static_cast<unsigned char>(c)));
    if (name != "system") return 0;
    std::int64_t height = std::llabs(std::int64_t(description.height));
    return std::max<std::int64_t>(1, ((height == 0 ? default_cell_height : height) * 7 + 8) / 16);
}

// GDI's sizes: a positive height is the cell (ascent plus descent), a
// negative one the em, 0 the default cell; a width, when given, is the
// average character width, and the glyphs are widened or narrowed to it.
void measure(const FontDescription& description, const DesignMetrics& design, SourcedFace& out) {
    double cell_units = design.ascent + design.descent;
    std::int64_t height = description.height;
    double em = 0;
    if (height < 0) {
        em = double(clamp_size(-height));
    } else {
        em = double(height == 0 ? default_cell_height : clamp_size(height)) * design.units_per_em / cell_units;
    }
    TextMetrics& metrics = out.metrics;
    metrics.ascent = int(std::lround(design.ascent * em / design.units_per_em));
    metrics.descent = height > 0 ? int(clamp_size(height)) - metrics.ascent
                      : height == 0 ? default_cell_height - metrics.ascent
                                    : int(std::lround(design.descent * em / design.units_per_em));
    metrics.height = metrics.ascent + metrics.descent;

    std::int64_t width = asked_width(description);
    double x_em = width == 0 ? em : double(clamp_size(width)) * design.units_per_em / design.average_width;
    metrics.average_char_width =
        width == 0 ? int(std::lround(design.average_width * em / design.units_per_em)) : int(clamp_size(width));
    metrics.max_char_width = int(std::lround(design.max_width * x_em / design.units_per_em));
    auto rule = [&](double top, double thickness) {
        double scale = em / design.units_per_em;
        return TextRule{metrics.ascent - int(std::lround(top * scale)),
                        std::max(1, int(std::lround(thickness * scale)))};
    };
    if (description.underline) out.underline = rule(design.underline_top, design.underline_thickness);
    if (description.strike_out) out.strike_out = rule(design.strike_out_top, design.strike_out_thickness);
    out.shape = StrikeSpec{std::max<std::int64_t>(64, std::llround(x_em * 64)),
                           std::max<std::int64_t>(64, std::llround(em * 64)), out.simulated_bold,
                           out.simulated_italic};
}

}  // namespace

SourcedFace source_face(const FontDescription& description) {
    ResolvedFace resolved = resolve_face({description.face_name, description.weight, description.italic,
                                          description.pitch_and_family});
    std::shared_ptr<SharedFace> face = open_shared_face(resolved.file, resolved.index);
    SourcedFace out;
    out.family = resolved.family;
    DesignMetrics design;
    if (face) {
        std::lock_guard lock(face->mutex());
        design = design_metrics(face->face());
        simulated_styles(face->face(), resolved, out);
    }
    measure(description, design, out);
    out.source = face;
    return out;
}

}  // namespace klv::gdi
