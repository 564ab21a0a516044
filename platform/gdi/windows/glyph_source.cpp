// Font descriptions to GDI's own fonts: CreateFontA with the description's
// arguments, the cell and character sizes GetTextMetricsA reports, and grey
// glyph bitmaps from GetGlyphOutlineA. The raster engine places and blends
// them as it does FreeType's on Linux.
#include <cmath>
#include <cstdlib>
#include <map>
#include <mutex>
#include <numbers>
#include <tuple>
#include <vector>

#include "platform/gdi/glyph_source.h"

// USER32 and GDI last: their macros must not meet our own names above.
#include <windows.h>

namespace klv::gdi {

namespace {

// GGO_GRAY8_BITMAP gives 65 levels, 0 to 64.
constexpr int gray8_levels = 64;

std::uint8_t coverage_from_level(std::uint8_t level) {
    return std::uint8_t((std::min<int>(level, gray8_levels) * 255 + gray8_levels / 2) / gray8_levels);
}

FIXED fixed_from(double value) {
    const long whole = std::lround(value * 65536.0);
    FIXED f;
    f.value = short(whole >> 16);
    f.fract = WORD(whole & 0xFFFF);
    return f;
}

// Counter-clockwise on the device by `tenths` of a degree: GDI's glyph
// outlines are y-up, like the matrix.
MAT2 rotation_matrix(int tenths) {
    const double radians = tenths * std::numbers::pi / 1800.0;
    const double c = std::cos(radians), s = std::sin(radians);
    return MAT2{fixed_from(c), fixed_from(s), fixed_from(-s), fixed_from(c)};
}

// One GDI font selected into a memory context of its own. GDI objects may
// be used from any thread, one at a time: the mutex takes care of that.
class GdiFace final : public GlyphSource {
public:
    explicit GdiFace(const FontDescription& d) {
        // The turn is ours to apply, as on every side: the font is upright.
        font_ = CreateFontA(d.height, d.width, 0, 0, d.weight, d.italic, d.underline, d.strike_out,
                            DWORD(d.char_set), DWORD(d.out_precision), DWORD(d.clip_precision), DWORD(d.quality),
                            DWORD(d.pitch_and_family), d.face_name.c_str());
        dc_ = CreateCompatibleDC(nullptr);
        if (dc_ && font_) previous_ = SelectObject(dc_, font_);
    }
    ~GdiFace() override {
        if (dc_) {
            if (previous_) SelectObject(dc_, previous_);
            DeleteDC(dc_);
        }
        if (font_) DeleteObject(font_);
    }
    GdiFace(const GdiFace&) = delete;
    GdiFace& operator=(const GdiFace&) = delete;

    bool usable() const { return font_ && dc_ && previous_; }
    void measure(SourcedFace& out);
    Glyph render(unsigned char byte, const StrikeSpec& shape) override;
    GlyphBounds bounds(unsigned char byte, const StrikeSpec& shape) override;

private:
    // The advances of the byte's glyph; the caller holds the mutex.
    void advances(unsigned char byte, const StrikeSpec& shape, const GLYPHMETRICS& gm, std::int64_t& x,
                  std::int64_t& y);

    std::mutex mutex_;
    HFONT font_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

void GdiFace::measure(SourcedFace& out) {
    std::lock_guard lock(mutex_);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    out.metrics.ascent = int(tm.tmAscent);
    out.metrics.descent = int(tm.tmDescent);
    out.metrics.height = int(tm.tmHeight);
    out.metrics.average_char_width = int(tm.tmAveCharWidth);
    out.metrics.max_char_width = int(tm.tmMaxCharWidth);
    char family[LF_FACESIZE] = {};
    GetTextFaceA(dc_, LF_FACESIZE, family);
    out.family = family;
    // GDI draws the underline and strike-out below and through the ascent
    // as the face's outline metrics place them.
    OUTLINETEXTMETRICA otm{};
    otm.otmSize = sizeof otm;
    if (GetOutlineTextMetricsA(dc_, sizeof otm, &otm) != 0) {
        if (tm.tmUnderlined)
            out.underline = {out.metrics.ascent - int(otm.otmsUnderscorePosition),
                             std::max(1, int(otm.otmsUnderscoreSize))};
        if (tm.tmStruckOut)
            out.strike_out = {out.metrics.ascent - int(otm.otmsStrikeoutPosition),
                              std::max(1, int(otm.otmsStrikeoutSize))};
    } else {
        if (tm.tmUnderlined) out.underline = {out.metrics.ascent + 1, 1};
        if (tm.tmStruckOut) out.strike_out = {out.metrics.ascent * 2 / 3, 1};
    }
    // Sizes and styles are the font's own; the shape only tells strikes apart.
    out.shape = StrikeSpec{std::int64_t(tm.tmAveCharWidth) * 64, std::int64_t(tm.tmHeight) * 64, false, false};
}

void GdiFace::advances(unsigned char byte, const StrikeSpec& shape, const GLYPHMETRICS& gm, std::int64_t& x,
                       std::int64_t& y) {
    if (shape.rotation == 0) {
        ABC abc{};
        x = GetCharABCWidthsA(dc_, byte, byte, &abc) ? std::int64_t(abc.abcA + int(abc.abcB) + abc.abcC) * 64
                                                      : std::int64_t(gm.gmCellIncX) * 64;
    } else {
        x = std::int64_t(gm.gmCellIncX) * 64;
        y = std::int64_t(gm.gmCellIncY) * 64;
    }
}

// The black box GDI reports for the glyph, two pixels more all round: the
// grey bitmap's box may round otherwise than the metrics' one.
GlyphBounds GdiFace::bounds(unsigned char byte, const StrikeSpec& shape) {
    GlyphBounds bounds;
    std::lock_guard lock(mutex_);
    const MAT2 matrix = rotation_matrix(shape.rotation);
    GLYPHMETRICS gm{};
    if (GetGlyphOutlineA(dc_, byte, GGO_METRICS, &gm, 0, nullptr, &matrix) == GDI_ERROR) return bounds;
    advances(byte, shape, gm, bounds.advance_x, bounds.advance_y);
    bounds.left = gm.gmptGlyphOrigin.x - 2;
    bounds.top = gm.gmptGlyphOrigin.y + 2;
    bounds.width = int(gm.gmBlackBoxX) + 4;
    bounds.rows = int(gm.gmBlackBoxY) + 4;
    return bounds;
}

Glyph GdiFace::render(unsigned char byte, const StrikeSpec& shape) {
    Glyph glyph;
    std::lock_guard lock(mutex_);
    const MAT2 matrix = rotation_matrix(shape.rotation);
    GLYPHMETRICS gm{};
    const DWORD size = GetGlyphOutlineA(dc_, byte, GGO_GRAY8_BITMAP, &gm, 0, nullptr, &matrix);
    if (size == GDI_ERROR) return glyph;
    advances(byte, shape, gm, glyph.advance_x, glyph.advance_y);
    glyph.left = gm.gmptGlyphOrigin.x;
    glyph.top = gm.gmptGlyphOrigin.y;
    if (size == 0) return glyph;  // a blank, such as the space
    std::vector<std::uint8_t> levels(size);
    if (GetGlyphOutlineA(dc_, byte, GGO_GRAY8_BITMAP, &gm, size, levels.data(), &matrix) == GDI_ERROR) return glyph;
    glyph.width = int(gm.gmBlackBoxX);
    glyph.rows = int(gm.gmBlackBoxY);
    const std::size_t pitch = (std::size_t(glyph.width) + 3) & ~std::size_t(3);  // rows are DWORD-aligned
    if (pitch * std::size_t(glyph.rows) > levels.size()) {
        glyph.width = glyph.rows = 0;
        return glyph;
    }
    glyph.coverage.resize(std::size_t(glyph.width) * std::size_t(glyph.rows));
    for (int y = 0; y < glyph.rows; ++y)
        for (int x = 0; x < glyph.width; ++x)
            glyph.coverage[std::size_t(y) * std::size_t(glyph.width) + std::size_t(x)] =
                coverage_from_level(levels[std::size_t(y) * pitch + std::size_t(x)]);
    return glyph;
}

using FaceKey = std::tuple<int, int, int, bool, bool, bool, int, int, int, int, int, std::string>;

FaceKey key_of(const FontDescription& d) {
    return {d.height, d.width, d.weight, d.italic, d.underline, d.strike_out, d.char_set, d.out_precision,
            d.clip_precision, d.quality, d.pitch_and_family, d.face_name};
}

// Fonts with the same description share one GDI font while any uses it.
struct FaceTable {
    std::mutex mutex;
    std::map<FaceKey, std::weak_ptr<GdiFace>> faces;
};

FaceTable& face_table() {
    static auto* table = new FaceTable;
    return *table;
}

std::shared_ptr<GdiFace> shared_face(const FontDescription& description) {
    FaceTable& table = face_table();
    std::lock_guard lock(table.mutex);
    std::erase_if(table.faces, [](const auto& entry) { return entry.second.expired(); });
    const FaceKey key = key_of(description);
    if (auto found = table.faces.find(key); found != table.faces.end()) {
        if (auto face = found->second.lock()) return face;
    }
    auto face = std::make_shared<GdiFace>(description);
    if (!face->usable()) return nullptr;
    table.faces[key] = face;
    return face;
}

// Cells beyond the largest are drawn at the largest size, as on Linux: GDI
// itself gives nonsense for them.
int within_largest_cell(int size) {
    if (size > largest_cell) return largest_cell;
    if (size < -largest_cell) return -largest_cell;
    return size;
}

}  // namespace

SourcedFace source_face(const FontDescription& asked) {
    FontDescription description = asked;
    description.height = within_largest_cell(asked.height);
    description.width = std::abs(within_largest_cell(asked.width));
    SourcedFace out;
    std::shared_ptr<GdiFace> face = shared_face(description);
    if (!face) {
        out.metrics.height = default_cell_height;
        out.metrics.ascent = default_cell_height * 13 / 16;
        out.metrics.descent = out.metrics.height - out.metrics.ascent;
        return out;
    }
    face->measure(out);
    out.source = face;
    return out;
}

}  // namespace klv::gdi
