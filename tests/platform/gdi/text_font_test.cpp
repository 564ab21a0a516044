// Fonts: face names to installed families, cell and character sizes, and
// what stays bounded when fonts come and go.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/gdi/codepage_1252.h"
#include "platform/gdi/font.h"
#include "platform/gdi/font_face.h"
#include "platform/gdi/freetype/font_resolver.h"
#include "platform/gdi/gdi.h"
#include "tests/support/test_needs.h"

namespace klv::gdi {
namespace {

FontDescription describe(const std::string& face, int height, int width = 0, int weight = FW_NORMAL,
                         int pitch_and_family = 0) {
    FontDescription d;
    d.face_name = face;
    d.height = height;
    d.width = width;
    d.weight = weight;
    d.pitch_and_family = pitch_and_family;
    return d;
}

bool installed(const std::string& family) { return resolve_face({family}).family == family; }

std::string file_name(const ResolvedFace& face) { return face.file.substr(face.file.rfind('/') + 1); }

struct Expected {
    std::string face;
    int weight;
    int pitch_and_family;
    std::vector<std::string> families;  // the first installed one is expected
    bool bold;
};

TEST(FontResolution, WindowsNamesFindTheirInstalledLookAlikes) {
    const Expected cases[] = {
        {"Arial", 400, 0x22, {"Liberation Sans"}, false},
        {"MS Sans Serif", 400, 0x02, {"Liberation Sans"}, false},
        {"Times New Roman", 400, 0x12, {"Liberation Serif"}, false},
        {"Courier New", 400, 0x02, {"Liberation Mono"}, false},
        {"Courier New Bold", 700, 0x02, {"Liberation Mono"}, true},
        {"Console", 700, 0x01, {"DejaVu Sans Mono", "Liberation Mono"}, true},
        {"Small Fonts", 400, 0x32, {"Liberation Sans", "DejaVu Sans"}, false},
        {"System", 700, 0, {"Liberation Sans", "DejaVu Sans"}, true},
    };
    for (const Expected& c : cases) {
        SCOPED_TRACE(c.face);
        std::string expected;
        for (const auto& f : c.families)
            if (expected.empty() && installed(f)) expected = f;
        KLV_NEED(!expected.empty(), "the font " << c.families[0]);
        ResolvedFace face = resolve_face({c.face, c.weight, false, c.pitch_and_family});
        EXPECT_EQ(face.family, expected);
        // A bold request is met by the family's bold file where it has one.
        EXPECT_EQ(file_name(face).find("Bold") != std::string::npos, c.bold) << face.file;
        EXPECT_FALSE(Font(describe(c.face, 20, 0, c.weight, c.pitch_and_family)).face().simulated_bold());
    }
}

TEST(FontResolution, ScriptIsCursiveOrAnItalicSerif) {
    ResolvedFace face = resolve_face({"Script", 400, false, 0x42});
    const std::string cursive[] = {"URW Chancery L", "Z003", "TeX Gyre Chorus"};
    bool is_cursive = std::find(std::begin(cursive), std::end(cursive), face.family) != std::end(cursive);
    if (!is_cursive) {
        KLV_NEED(installed("Liberation Serif"), "a cursive face or Liberation Serif");
        EXPECT_EQ(face.family, "Liberation Serif");
        EXPECT_NE(file_name(face).find("Italic"), std::string::npos) << face.file;
    }
}

TEST(FontResolution, UnknownNamesFallBackByPitchAndFamily) {
    ResolvedFace any = resolve_face({"No Such Face 1234", 400, false, 0});
    ASSERT_FALSE(any.file.empty());
    ResolvedFace empty_name = resolve_face({"", 400, false, 0});
    EXPECT_FALSE(empty_name.file.empty());
    ResolvedFace fixed = resolve_face({"No Such Face 1234", 400, false, 0x01});
    KLV_NEED(installed("DejaVu Sans Mono") || installed("Liberation Mono"), "a fixed-pitch font");
    EXPECT_NE(fixed.family.find("Mono"), std::string::npos) << fixed.family;
}

TEST(FontResolution, StylesTheFileLacksAreSimulated) {
    KLV_NEED(installed("DejaVu Sans Light"), "the font DejaVu Sans Light");
    // DejaVu Sans Light has neither a bold nor an italic file.
    FontDescription d = describe("DejaVu Sans Light", 20, 0, FW_BOLD);
    d.italic = true;
    Font font(d);
    EXPECT_EQ(font.face().family(), "DejaVu Sans Light");
    EXPECT_TRUE(font.face().simulated_bold());
    EXPECT_TRUE(font.face().simulated_italic());
    EXPECT_FALSE(Font(describe("Arial", 20, 0, FW_BOLD)).face().simulated_bold());
}

TEST(FontSize, PositiveHeightIsTheCellHeight) {
    for (const char* name : {"Arial", "Times New Roman", "Courier New", "Console", "Small Fonts", "Script"}) {
        for (int height : {5, 8, 16, 19, 21, 24, 32, 53, 128}) {
            SCOPED_TRACE(std::string(name) + " " + std::to_string(height));
            Font font(describe(name, height));
            const TextMetrics& m = font.face().metrics();
            EXPECT_EQ(m.height, height);
            EXPECT_EQ(m.ascent + m.descent, height);
            EXPECT_GT(m.ascent, m.descent);
        }
    }
}

TEST(FontSize, NegativeHeightIsTheEmAndZeroTheDefaultCell) {
    KLV_NEED(installed("Liberation Sans"), "the font Liberation Sans");
    // Liberation Sans's cell is (1854 + 434) / 2048 of its em.
    Font em20(describe("Arial", -20));
    EXPECT_EQ(em20.face().metrics().ascent, 18);  // 1854 * 20 / 2048 = 18.1
    EXPECT_EQ(em20.face().metrics().height, 18 + 4);
    Font automatic(describe("Arial", 0));
    EXPECT_EQ(automatic.face().metrics().height, default_cell_height);
}

TEST(FontSize, WidthIsTheAverageCharacterWidth) {
    Font natural(describe("MS Sans Serif", 21));
    Font wide(describe("MS Sans Serif", 21, 12));
    Font wider(describe("MS Sans Serif", 21, 24));
    EXPECT_EQ(wide.face().metrics().average_char_width, 12);
    EXPECT_EQ(wide.face().metrics().height, 21);
    // The glyphs really are widened: a run of lower-case letters grows in
    // proportion to the average width asked for.
    const char* letters = "abcdefghijklmnopqrstuvwxyz etaoin shrdlu";
    DeviceContext dc;
    dc.font = &wide;
    double at12 = text_extent(&dc, letters, 40).cx;
    dc.font = &wider;
    double at24 = text_extent(&dc, letters, 40).cx;
    dc.font = &natural;
    double at_natural = text_extent(&dc, letters, 40).cx;
    // Each advance is a whole number of pixels, so short runs stray a little.
    EXPECT_NEAR(at24 / at12, 2.0, 0.08);
    EXPECT_NEAR(at12 / at_natural, 12.0 / natural.face().metrics().average_char_width, 0.1);
    KLV_NEED(installed("Liberation Sans"), "the font Liberation Sans");
    // The face's own average width: 1187 / 2048 of the em, 21 * 2048 / 2288 px.
    EXPECT_EQ(natural.face().metrics().average_char_width, 11);
}

TEST(FontSize, AbsurdSizesAreBoundedNotFatal) {
    for (int h : {INT_MIN, -1, 1, INT_MAX}) {
        for (int w : {INT_MIN, -7, 0, INT_MAX}) {
            Font font(describe("Arial", h, w));
            const TextMetrics& m = font.face().metrics();
            EXPECT_GE(m.height, 1);
            EXPECT_LE(m.height, 2 * largest_cell);
            EXPECT_LE(m.average_char_width, largest_cell);
        }
    }
    Font negative_width(describe("Arial", 20, -10));
    EXPECT_EQ(negative_width.face().metrics().average_char_width, 10);
}

TEST(FontSize, EscapementIsNormalisedToQuarterTurns) {
    FontDescription d = describe("Arial", 20);
    for (auto [escapement, turns] : std::vector<std::pair<int, int>>{{0, 0}, {900, 1}, {1800, 2}, {2700, 3},
                                                                     {3600, 0}, {-900, 3}, {4500, 1}}) {
        d.escapement = escapement;
        Font font(d);
        EXPECT_EQ(font.face().quarter_turns(), turns) << escapement;
        EXPECT_FALSE(font.face().turned_freely());
        EXPECT_EQ(font.face().turned_strike() != nullptr, turns != 0);
    }
    d.escapement = 450;
    EXPECT_TRUE(Font(d).face().turned_freely());
}

// Text beside the page is laid out from the glyphs' bounds alone: they
// must give the rendered glyph's advances and hold all of its coverage,
// upright, turned by quarter turns or freely, bold and italic simulated, up
// to the largest cell.
TEST(GlyphBounds, HoldTheRenderedGlyphAndGiveItsAdvances) {
    struct Case {
        FontDescription description;
        std::string bytes;
    };
    std::string every_byte;
    for (int b = 1; b < 256; ++b) every_byte.push_back(char(b));
    FontDescription bold_italic = describe("Times New Roman", 19, 0, FW_BOLD);
    bold_italic.italic = true;
    FontDescription upward = describe("Arial", 23);
    upward.escapement = 900;
    FontDescription slanted = describe("Courier New", 17);
    slanted.escapement = 450;
    FontDescription huge_upward = describe("Arial", INT_MAX, INT_MAX);
    huge_upward.escapement = 900;
    const Case cases[] = {{describe("Arial", 13), every_byte},
                          {bold_italic, every_byte},
                          {upward, every_byte},
                          {slanted, every_byte},
                          {describe("Arial", INT_MAX, 1), "W|g."},
                          {huge_upward, "Wg\xC5 "}};
    for (const Case& c : cases) {
        Font font(c.description);
        for (GlyphStrike* strike : {font.face().strike(), font.face().turned_strike()}) {
            if (strike == nullptr) continue;
            for (char byte : c.bytes) {
                const auto b = static_cast<unsigned char>(byte);
                const GlyphBounds& bounds = strike->bounds(b);
                const Glyph& glyph = strike->glyph(b);
                SCOPED_TRACE(c.description.face_name + " " + std::to_string(c.description.height) + " byte " +
                             std::to_string(b) + " shape " + std::to_string(strike->shape().rotation));
                EXPECT_EQ(bounds.advance_x, glyph.advance_x);
                EXPECT_EQ(bounds.advance_y, glyph.advance_y);
                if (glyph.coverage.empty()) continue;
                EXPECT_LE(bounds.left, glyph.left);
                EXPECT_GE(bounds.left + bounds.width, glyph.left + glyph.width);
                EXPECT_GE(bounds.top, glyph.top);
                EXPECT_LE(bounds.top - bounds.rows, glyph.top - glyph.rows);
                // Close enough that a glyph beside the page is seen to be.
                EXPECT_LE(bounds.width, glyph.width + 6);
                EXPECT_LE(bounds.rows, glyph.rows + 6);
            }
        }
    }
}

TEST(FontLifetime, TenThousandFontsComeAndGoWithoutPilingUp) {
    for (int i = 0; i < 10000; ++i) {
        std::unique_ptr<Font> font(create_font(describe(i % 2 ? "Arial" : "Courier New", 5 + i % 700, i % 13)));
        DeviceContext dc;
        dc.font = font.get();
        EXPECT_GT(text_extent(&dc, "Ab", 2).cx, 0);
    }
    EXPECT_LE(kept_strike_count(), 300u);
}

TEST(FontLifetime, FontsAreUsableFromManyThreadsAtOnce) {
    Font font(describe("Times New Roman", 23, 16));
    std::vector<int> widths(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            DeviceContext dc;
            dc.font = &font;
            for (int i = 0; i < 50; ++i) widths[t] = text_extent(&dc, "Thread-safe \xE9\x80", 14).cx;
        });
    for (auto& thread : threads) thread.join();
    for (int w : widths) EXPECT_EQ(w, widths[0]);
}

TEST(TextMeasure, ExtentIsTheSumOfAdvancesByTheCellHeight) {
    Font font(describe("Courier New", 20));
    DeviceContext dc;
    dc.font = &font;
    Size one = text_extent(&dc, "M", 1);
    Size five = text_extent(&dc, "Mi.W ", 5);
    EXPECT_EQ(five.cx, 5 * one.cx);  // fixed pitch
    EXPECT_EQ(five.cy, 20);
    EXPECT_EQ(text_extent(&dc, "M", 0).cx, 0);
    EXPECT_EQ(text_extent(&dc, nullptr, 3).cx, 0);
    EXPECT_EQ(text_metrics(&dc).height, 20);
    EXPECT_GE(text_metrics(&dc).max_char_width, one.cx - 1);
    // The extent does not turn with the text.
    FontDescription up = describe("Courier New", 20);
    up.escapement = 900;
    Font upward(up);
    dc.font = &upward;
    EXPECT_EQ(text_extent(&dc, "Mi.W ", 5).cx, five.cx);
}

TEST(TextMeasure, AContextWithoutAFontUsesTheSystemFont) {
    DeviceContext dc;
    EXPECT_EQ(text_metrics(&dc).height, 16);
    EXPECT_EQ(text_metrics(&dc).average_char_width, 7);  // the raster system font's
    EXPECT_EQ(text_metrics(nullptr).height, 16);
    EXPECT_GT(text_extent(&dc, "System", 6).cx, 0);
}

TEST(Codepage1252, BytesMapToTheirCharacters) {
    EXPECT_EQ(unicode_from_cp1252('A'), U'A');
    EXPECT_EQ(unicode_from_cp1252(0xE9), U'\u00E9');
    EXPECT_EQ(unicode_from_cp1252(0x80), U'\u20AC');
    EXPECT_EQ(unicode_from_cp1252(0x92), U'\u2019');
    EXPECT_EQ(unicode_from_cp1252(0x9F), U'\u0178');
    EXPECT_EQ(unicode_from_cp1252(0xA0), U'\u00A0');
    for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(unicode_from_cp1252(undefined), undefined);
}

}  // namespace
}  // namespace klv::gdi
