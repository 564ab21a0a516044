// Drawing text: where the cells and glyphs land for each alignment and
// turn, the background modes, clipping and the code page.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/gdi/font.h"
#include "platform/gdi/gdi.h"

namespace klv::gdi {
namespace {

constexpr Pixel black = 0x000000;
constexpr ColorRef red = make_color(255, 0, 0);
constexpr ColorRef white = make_color(255, 255, 255);

// A 32-bit bitmap with a device context drawing on it.
struct Canvas {
    Bitmap bitmap;
    DeviceContext dc;
    std::unique_ptr<Font> font;

    Canvas(int width, int height, const std::string& face = "Arial", int font_height = 20, int escapement = 0)
        : bitmap(width, height, 32) {
        dc.bitmap = &bitmap;
        dc.text_color = white;
        dc.background_color = red;
        FontDescription d;
        d.face_name = face;
        d.height = font_height;
        d.escapement = d.orientation = escapement;
        font.reset(create_font(d));
        dc.font = font.get();
    }
    void draw(int x, int y, const std::string& text) { text_out(&dc, x, y, text.data(), int(text.size())); }
    Pixel at(int x, int y) const { return bitmap.row(y)[x]; }

    // The bounding box of pixels that are not `background`; empty if none.
    Rect box_of_pixels_not(Pixel background) const {
        Rect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int y = 0; y < bitmap.height(); ++y)
            for (int x = 0; x < bitmap.width(); ++x)
                if (at(x, y) != background) box = {std::min(box.left, x), std::min(box.top, y),
                                                   std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
        return box.left == INT_MAX ? Rect{} : box;
    }
    // The bounding box of pixels of exactly `colour`.
    Rect box_of(Pixel colour) const {
        Rect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int y = 0; y < bitmap.height(); ++y)
            for (int x = 0; x < bitmap.width(); ++x)
                if (at(x, y) == colour) box = {std::min(box.left, x), std::min(box.top, y),
                                               std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
        return box.left == INT_MAX ? Rect{} : box;
    }
    int count_not(Pixel background) const {
        int n = 0;
        for (int i = 0; i < bitmap.width() * bitmap.height(); ++i) n += bitmap.pixels()[i] != background;
        return n;
    }
};

const Pixel red_pixel = pixel_from_color(red);

// Widths worked out by hand from Arial's advance widths (2048 units to the
// em; Liberation Sans has the same): a 20-pixel cell is an em of
// 20 * 2048 / 2288 = 17.9 pixels, and each advance is rounded to a pixel.
// "Hg 1": H 1479 -> 13, g 1139 -> 10, space 569 -> 5, 1 1139 -> 10.
constexpr int hg1_width = 38;
// "Wxyz": W 1933 -> 17, x, y and z 1024 -> 9 each.
constexpr int wxyz_width = 44;

TEST(TextOut, OpaqueCellsFillAdvanceByCellHeightFromTheTopLeft) {
    Canvas c(200, 60);
    c.draw(10, 15, "Hg 1");
    EXPECT_EQ(text_extent(&c.dc, "Hg 1", 4).cx, hg1_width);
    const Size size{hg1_width, 20};
    // Cell pixels not covered by a glyph keep the background colour; the
    // cell's corners are blank in this text.
    EXPECT_EQ(c.box_of(red_pixel), (Rect{10, 15, 10 + size.cx, 15 + 20}));
    EXPECT_EQ(c.box_of_pixels_not(black), (Rect{10, 15, 10 + size.cx, 15 + 20}));
    EXPECT_EQ(c.at(10 + size.cx - 1, 15), red_pixel);
}

TEST(TextOut, TransparentModeLeavesTheBackgroundAndDrawsGlyphsInTheTextColour) {
    Canvas c(200, 60);
    c.dc.background_mode = TRANSPARENT;
    c.dc.text_color = make_color(0, 255, 0);
    c.draw(10, 15, "Hg 1");
    EXPECT_EQ(c.box_of(red_pixel), Rect{});
    Rect ink = c.box_of_pixels_not(black);
    const Size size{hg1_width, 20};
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 10 + size.cx);
    EXPECT_GE(ink.top, 15);
    EXPECT_LE(ink.bottom, 15 + 20);
    // The H stands on the baseline and reaches near the top of the cell.
    EXPECT_LE(ink.top, 15 + 5);
    EXPECT_NE(c.box_of(pixel_from_color(make_color(0, 255, 0))), Rect{});  // full coverage is the colour
    std::set<Pixel> greens;
    for (int i = 0; i < 200 * 60; ++i) {
        EXPECT_EQ(c.bitmap.pixels()[i] & 0xFF00FF, 0u);  // only green was blended
        greens.insert(c.bitmap.pixels()[i]);
    }
    // Anti-aliased: where the outlines cross pixels, many levels between
    // black and full green, not two.
    EXPECT_GE(greens.size(), 32u);
}

TEST(TextOut, AlignmentFlagsNameAPointOfTheCell) {
    Canvas c(200, 100);
    const Size size{wxyz_width, 20};
    int ascent = text_metrics(&c.dc).ascent;
    c.dc.text_align = TA_RIGHT | TA_BOTTOM;
    c.draw(150, 60, "Wxyz");
    EXPECT_EQ(c.box_of(red_pixel), (Rect{150 - size.cx, 40, 150, 60}));

    Canvas centred(200, 100);
    centred.dc.text_align = TA_CENTER | TA_BASELINE;
    centred.draw(100, 50, "Wxyz");
    int left = 100 - size.cx / 2;
    EXPECT_EQ(centred.box_of(red_pixel), (Rect{left, 50 - ascent, left + size.cx, 50 - ascent + 20}));
}

TEST(TextOut, ViewportOriginMovesTheReferencePoint) {
    Canvas c(200, 60);
    c.dc.viewport_origin = {30, 7};
    c.draw(10, 15, "Hg");
    EXPECT_EQ(c.box_of_pixels_not(black), (Rect{40, 22, 40 + 13 + 10, 42}));
}

// Horizontal text and the same text turned a quarter turn are the same
// pixels, exactly: the text pixel (u, v) lands at (x + v, y - 1 - u).
TEST(TextOut, UpwardTextIsTheHorizontalTextTurnedExactly) {
    const std::string text = "Up 41.67%";
    Canvas flat(200, 40, "Arial", 21);
    Canvas up(40, 200, "Arial", 21, 900);
    flat.draw(0, 0, text);
    up.draw(0, 150, text);
    Size size = text_extent(&flat.dc, text.data(), int(text.size()));
    EXPECT_EQ(up.box_of_pixels_not(black), (Rect{0, 150 - size.cx, 21, 150}));
    for (int u = 0; u < size.cx; ++u)
        for (int v = 0; v < 21; ++v) ASSERT_EQ(up.at(v, 149 - u), flat.at(u, v)) << u << "," << v;
}

TEST(TextOut, UpwardTextWithRightBottomAlignmentHangsBelowAndLeft) {
    // The default for vertical text: the line ends at the reference point
    // and the bottom of its cells is the reference column.
    Canvas c(160, 120, "Arial", 21, 900);
    c.dc.text_align = TA_RIGHT | TA_BOTTOM;
    c.draw(60, 10, "Upward");
    Size size = text_extent(&c.dc, "Upward", 6);
    EXPECT_EQ(c.box_of_pixels_not(black), (Rect{60 - 21, 10, 60, 10 + size.cx}));
    // Running upward: the capital U is at the bottom end.
    Canvas transparent(160, 120, "Arial", 21, 900);
    transparent.dc.background_mode = TRANSPARENT;
    transparent.dc.text_align = TA_RIGHT | TA_BOTTOM;
    transparent.draw(60, 10, "U.....");
    Rect ink = transparent.box_of_pixels_not(black);
    size = text_extent(&c.dc, "U.....", 6);
    EXPECT_GT(ink.bottom - ink.top, size.cx / 2);
    EXPECT_LE(ink.bottom, 10 + size.cx);
    EXPECT_GT(ink.bottom, 10 + size.cx - 4);
}

TEST(TextOut, DownwardAndUpsideDownTextMirrorTheFlatBox) {
    Canvas down(100, 200, "Arial", 20, 2700);
    down.draw(50, 20, "Down");
    Size size = text_extent(&down.dc, "Down", 4);
    EXPECT_EQ(down.box_of_pixels_not(black), (Rect{30, 20, 50, 20 + size.cx}));
    Canvas flipped(200, 100, "Arial", 20, 1800);
    flipped.draw(150, 60, "Flip");
    size = text_extent(&flipped.dc, "Flip", 4);
    EXPECT_EQ(flipped.box_of_pixels_not(black), (Rect{150 - size.cx, 40, 150, 60}));
}

TEST(TextOut, AnyOtherAngleTurnsTheCellsAndGlyphs) {
    Canvas c(200, 200, "Arial", 20, 450);
    c.dc.background_mode = TRANSPARENT;
    c.draw(40, 160, "Diagonal");
    Rect ink = c.box_of_pixels_not(black);
    Size size = text_extent(&c.dc, "Diagonal", 8);
    // About size.cx / sqrt(2) right and up.
    EXPECT_NEAR(ink.right - 40, size.cx * 0.707 + 14, 12);
    EXPECT_NEAR(160 - ink.top, size.cx * 0.707, 12);
    Canvas opaque(200, 200, "Arial", 20, 450);
    opaque.draw(40, 160, "Diagonal");
    int area = opaque.count_not(black);
    EXPECT_NEAR(area, size.cx * 20, size.cx * 20 / 10);
}

TEST(TextOut, NothingIsWrittenOutsideTheClipOrTheBitmap) {
    const Pixel sentinel = 0x123456;
    for (int turn : {0, 900, 1800, 2700, 300}) {
        Canvas c(120, 90, "Times New Roman", 31, turn);
        std::fill(c.bitmap.pixels(), c.bitmap.pixels() + 120 * 90, sentinel);
        c.dc.clip = Rect{20, 15, 100, 70};
        for (int x = -60; x < 180; x += 13)
            for (int y = -60; y < 150; y += 11) c.draw(x, y, "Clip\xC9g");
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 120; ++x) {
                bool inside = x >= 20 && x < 100 && y >= 15 && y < 70;
                if (inside) {
                    ASSERT_NE(c.at(x, y), sentinel) << turn << ": " << x << "," << y;
                } else {
                    ASSERT_EQ(c.at(x, y), sentinel) << turn << ": " << x << "," << y;
                }
            }
    }
}

// Glyphs that cannot reach the clip are passed over unrendered: one that
// straddles its edge must still draw its part inside, as without the clip.
TEST(TextOut, GlyphsAcrossTheClipsEdgeDrawAsWithoutTheClip) {
    for (int turn : {0, 900, 1800, 2700, 300}) {
        Canvas clipped(120, 90, "Times New Roman", 31, turn), whole(120, 90, "Times New Roman", 31, turn);
        clipped.dc.background_mode = whole.dc.background_mode = TRANSPARENT;
        clipped.dc.clip = Rect{30, 25, 90, 65};
        for (int x = -40; x < 160; x += 23)
            for (int y = -40; y < 130; y += 19) {
                std::fill(clipped.bitmap.pixels(), clipped.bitmap.pixels() + 120 * 90, black);
                std::fill(whole.bitmap.pixels(), whole.bitmap.pixels() + 120 * 90, black);
                clipped.draw(x, y, "Wg\xC9|j");
                whole.draw(x, y, "Wg\xC9|j");
                for (int py = 25; py < 65; ++py)
                    for (int px = 30; px < 90; ++px)
                        ASSERT_EQ(clipped.at(px, py), whole.at(px, py)) << turn << " at " << x << "," << y;
            }
    }
}

TEST(TextOut, ExtremeCoordinatesAndLengthsAreHarmless) {
    Canvas c(50, 50);
    for (int origin : {INT_MIN, INT_MAX}) {
        c.dc.viewport_origin = {origin, origin};
        for (int x : {origin, 0})
            for (int y : {origin, 0}) c.draw(x, y, "Far away");
    }
    EXPECT_EQ(c.count_not(black), 0);
    c.dc.viewport_origin = {0, 0};
    std::string long_text(200000, 'W');
    c.dc.text_align = TA_RIGHT | TA_BASELINE;
    c.draw(INT_MIN, 25, long_text);
    c.draw(INT_MAX, 25, long_text);
    EXPECT_EQ(c.count_not(black), 0);
}

TEST(TextOut, EmptyTextDrawsNothing) {
    Canvas c(50, 50);
    c.draw(5, 5, "");
    text_out(&c.dc, 5, 5, "abc", 0);
    text_out(&c.dc, 5, 5, "abc", -3);
    text_out(&c.dc, 5, 5, nullptr, 3);
    text_out(nullptr, 5, 5, "abc", 3);
    EXPECT_EQ(c.count_not(black), 0);
}

TEST(TextOut, MonochromeBitmapsAreLeftAlone) {
    Bitmap mono(8, 8, 1);
    DeviceContext dc;
    dc.bitmap = &mono;
    text_out(&dc, 0, 0, "x", 1);
    for (auto byte : mono.mono_bits()) EXPECT_EQ(byte, 0);
}

TEST(TextOut, Codepage1252BytesDrawTheirOwnGlyphs) {
    auto drawn = [](const std::string& text) {
        auto c = std::make_unique<Canvas>(60, 40, "Arial", 30);
        c->dc.background_mode = TRANSPARENT;
        c->draw(5, 2, text);
        return c;
    };
    auto e = drawn("e"), e_acute = drawn("\xE9"), euro = drawn("\x80"), undefined = drawn("\x81");
    // The accent stands above the e.
    EXPECT_LT(e_acute->box_of_pixels_not(black).top + 3, e->box_of_pixels_not(black).top);
    EXPECT_EQ(e_acute->box_of_pixels_not(black).bottom, e->box_of_pixels_not(black).bottom);
    EXPECT_GT(euro->count_not(black), 30);
    // An undefined byte shows the missing-glyph box, which is not the euro.
    int differing = 0;
    for (int i = 0; i < 60 * 40; ++i) differing += euro->bitmap.pixels()[i] != undefined->bitmap.pixels()[i];
    EXPECT_GT(differing, 20);
}

// Rows of the canvas in `colour` from x to x + length.
std::vector<int> full_rows(const Canvas& c, int x, int length, Pixel colour) {
    std::vector<int> rows;
    for (int y = 0; y < c.bitmap.height(); ++y) {
        bool full = true;
        for (int i = x; i < x + length && full; ++i) full = c.at(i, y) == colour;
        if (full) rows.push_back(y);
    }
    return rows;
}

TEST(TextOut, UnderlineRunsBelowTheBaselineAndStrikeOutAcrossTheLetters) {
    for (bool underline : {true, false}) {
        Canvas c(200, 60);
        FontDescription d;
        d.face_name = "Arial";
        d.height = 30;
        d.underline = underline;
        d.strike_out = !underline;
        c.font.reset(create_font(d));
        c.dc.font = c.font.get();
        c.dc.background_mode = TRANSPARENT;
        c.draw(10, 10, "ruled");
        int cx = text_extent(&c.dc, "ruled", 5).cx;
        int baseline = 10 + text_metrics(&c.dc).ascent;
        std::vector<int> rows = full_rows(c, 10, cx, pixel_from_color(white));
        ASSERT_FALSE(rows.empty()) << underline;
        for (int y : rows) {
            if (underline) {
                EXPECT_GE(y, baseline);
                EXPECT_LT(y, 10 + 30);
            } else {
                EXPECT_LT(y, baseline - 3);
                EXPECT_GT(y, 10 + 5);
            }
        }
    }
}

TEST(TextOut, AMissingFaceStillDrawsText) {
    Canvas c(200, 60, "Quite Certainly Not Installed", 20);
    c.dc.background_mode = TRANSPARENT;
    c.draw(5, 5, "Fallback");
    EXPECT_GT(c.count_not(black), 50);
}

TEST(TextOut, WithoutASelectedFontTheSystemFontDraws) {
    Canvas c(200, 40);
    c.dc.font = nullptr;
    c.draw(0, 0, "System");
    EXPECT_EQ(c.box_of_pixels_not(black).bottom, 16);
}

}  // namespace
}  // namespace klv::gdi
