// Objects and device contexts: stock objects, selection, deferred freeing,
// the state of a new context and refused bitmaps.
#include <gtest/gtest.h>

#include <climits>

#include "platform/gdi/font.h"
#include "test_page.h"

namespace klv::test {
namespace {

using namespace klv::gdi;

TEST(DeviceContext, NewContextHoldsTheStockDefaults) {
    DeviceContext* dc = create_compatible_dc(nullptr);
    EXPECT_EQ(current_object(dc, ObjectKind::pen), stock_object(BLACK_PEN));
    EXPECT_EQ(current_object(dc, ObjectKind::brush), stock_object(WHITE_BRUSH));
    EXPECT_EQ(current_object(dc, ObjectKind::font), stock_object(SYSTEM_FONT));
    Object* bitmap = current_object(dc, ObjectKind::bitmap);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_TRUE(bitmap->is_stock());
    EXPECT_EQ(static_cast<Bitmap*>(bitmap)->bits_per_pixel(), 1);
    EXPECT_EQ(dc->text_color, 0x000000u);
    EXPECT_EQ(dc->background_color, 0xFFFFFFu);
    EXPECT_EQ(dc->background_mode, OPAQUE);
    EXPECT_EQ(text_align(dc), TA_TOP | TA_LEFT);
    EXPECT_FALSE(dc->clip.has_value());
    EXPECT_EQ(dc->viewport_origin, (Point{0, 0}));
    auto* font = static_cast<Font*>(stock_object(SYSTEM_FONT));
    EXPECT_EQ(font->description().weight, 700);
    EXPECT_EQ(font->description().height, 16);
    EXPECT_EQ(stock_object(SYSTEM_FONT), font);  // made once
    EXPECT_EQ(stock_object(3), nullptr);
    delete_dc(dc);
}

TEST(DeviceContext, SelectReturnsTheReplacedObjectAndRefusesUnsuitableOnes) {
    DeviceContext* dc = create_compatible_dc(nullptr);
    Pen* pen = create_pen(int(PS_SOLID), 1, 0x123456);
    EXPECT_EQ(select_object(dc, pen), stock_object(BLACK_PEN));
    EXPECT_EQ(select_object(dc, stock_object(WHITE_PEN)), pen);
    Region* region = create_rect_region(0, 0, 4, 4);
    EXPECT_EQ(select_object(dc, region), nullptr);
    EXPECT_EQ(select_object(dc, nullptr), nullptr);
    EXPECT_EQ(set_text_color(dc, 0x0000FF), 0u);
    EXPECT_EQ(set_background_mode(dc, TRANSPARENT), OPAQUE);
    delete_object(pen);
    delete_object(region);
    delete_dc(dc);
}

TEST(ObjectLifetime, DeletingASelectedObjectWaitsForTheLastContext) {
    // Run under AddressSanitizer this catches both an early free and a leak.
    DeviceContext* first = create_compatible_dc(nullptr);
    DeviceContext* second = create_compatible_dc(nullptr);
    Brush* brush = create_solid_brush(0x00FF00);
    select_object(first, brush);
    select_object(second, brush);
    EXPECT_TRUE(delete_object(brush));
    EXPECT_EQ(static_cast<Brush*>(current_object(first, ObjectKind::brush))->color(), 0x00FF00u);
    select_object(first, stock_object(BLACK_BRUSH));
    EXPECT_EQ(static_cast<Brush*>(current_object(second, ObjectKind::brush))->color(), 0x00FF00u);
    delete_dc(second);  // frees the brush
    EXPECT_TRUE(delete_object(stock_object(WHITE_BRUSH)));  // stock objects stay
    EXPECT_EQ(static_cast<Brush*>(stock_object(WHITE_BRUSH))->color(), 0xFFFFFFu);
    EXPECT_FALSE(delete_object(nullptr));
    delete_dc(first);
}

TEST(Bitmaps, RefusedSizesGiveNull) {
    EXPECT_EQ(create_compatible_bitmap(nullptr, 0, 10), nullptr);
    EXPECT_EQ(create_compatible_bitmap(nullptr, 10, -1), nullptr);
    EXPECT_EQ(create_compatible_bitmap(nullptr, INT_MAX, INT_MAX), nullptr);
    EXPECT_EQ(create_compatible_bitmap(nullptr, 1 << 20, 1 << 20), nullptr);
    EXPECT_EQ(create_bitmap(8, 8, 2, 1, nullptr), nullptr);
    EXPECT_EQ(create_bitmap(8, 8, 1, 24, nullptr), nullptr);
    Bitmap* ok = create_compatible_bitmap(nullptr, 3, 2);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->row(1)[2], 0u);  // black
    delete_object(ok);
}

TEST(Blits, BitBltCopiesAndStretchBltRepeatsSourcePixels) {
    TestPage source(4, 2), target(16, 8);
    source.use_brush(create_solid_brush(0xFFFFFF));
    fill_rect(source.dc(), {1, 0, 2, 2}, static_cast<Brush*>(current_object(source.dc(), ObjectKind::brush)));
    bit_blt(target.dc(), 10, 5, 4, 2, source.dc(), 0, 0);
    EXPECT_EQ(target.rows(5, 7, 10, 14), ".#..\n.#..\n");
    target.clear();
    stretch_blt(target.dc(), 0, 0, 8, 4, source.dc(), 0, 0, 4, 2);
    EXPECT_EQ(target.rows(0, 4, 0, 8), "..##....\n..##....\n..##....\n..##....\n");
    bit_blt(target.dc(), -100, -100, INT_MAX, INT_MAX, source.dc(), INT_MIN, INT_MIN);  // nothing overlaps
    stretch_blt(target.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX, source.dc(), 0, 0, INT_MAX, INT_MAX);
}

TEST(Viewport, LogicalAndDeviceConversions) {
    DeviceContext* dc = create_compatible_dc(nullptr);
    Point old;
    set_viewport_origin(dc, 10, -4, &old);
    EXPECT_EQ(old, (Point{0, 0}));
    Point p[2] = {{1, 2}, {-10, 4}};
    logical_to_device(dc, p, 2);
    EXPECT_EQ(p[0], (Point{11, -2}));
    EXPECT_EQ(p[1], (Point{0, 0}));
    device_to_logical(dc, p, 2);
    EXPECT_EQ(p[0], (Point{1, 2}));
    EXPECT_EQ(device_caps(dc, LOGPIXELSX), 96);
    delete_dc(dc);
}

}  // namespace
}  // namespace klv::test
