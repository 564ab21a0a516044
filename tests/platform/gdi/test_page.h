// A small memory page for raster tests: a device context with a black
// 32-bit bitmap, and ways to read back what was painted.
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/gdi/gdi.h"

namespace klv::test {

class TestPage {
public:
    TestPage(int width, int height) {
        dc_ = gdi::create_compatible_dc(nullptr);
        bitmap_ = gdi::create_compatible_bitmap(dc_, width, height);
        gdi::select_object(dc_, bitmap_);
    }
    ~TestPage() {
        gdi::Object* pen = gdi::current_object(dc_, gdi::ObjectKind::pen);
        gdi::Object* brush = gdi::current_object(dc_, gdi::ObjectKind::brush);
        gdi::delete_dc(dc_);
        gdi::delete_object(bitmap_);
        gdi::delete_object(pen);
        gdi::delete_object(brush);
    }
    TestPage(const TestPage&) = delete;
    TestPage& operator=(const TestPage&) = delete;

    gdi::DeviceContext* dc() const { return dc_; }
    gdi::Pixel at(int x, int y) const { return bitmap_->row(y)[x]; }
    int width() const { return bitmap_->width(); }
    int height() const { return bitmap_->height(); }

    // Replaces the pen (the old one is deleted).
    void use_pen(gdi::Pen* pen) { gdi::delete_object(gdi::select_object(dc_, pen)); }
    void use_brush(gdi::Brush* brush) { gdi::delete_object(gdi::select_object(dc_, brush)); }
    void solid_pen(gdi::ColorRef color, bool geometric = false, int width = 1) {
        if (geometric)
            use_pen(gdi::create_geometric_pen(gdi::PS_GEOMETRIC | gdi::PS_SOLID | gdi::PS_ENDCAP_SQUARE | gdi::PS_JOIN_BEVEL,
                                              width, color, 0, nullptr));
        else
            use_pen(gdi::create_pen(int(gdi::PS_SOLID), 1, color));
    }
    void dashed_pen(std::vector<std::uint32_t> dashes, int width = 1) {
        use_pen(gdi::create_geometric_pen(gdi::PS_GEOMETRIC | gdi::PS_USERSTYLE | gdi::PS_ENDCAP_SQUARE | gdi::PS_JOIN_BEVEL,
                                          width, 0xFFFFFF, int(dashes.size()), dashes.data()));
    }

    // Every pixel that is not black.
    std::set<std::pair<int, int>> painted() const {
        std::set<std::pair<int, int>> points;
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                if (at(x, y) != 0) points.insert({x, y});
        return points;
    }
    // Rows top..bottom-1 as text: '.' black, '#' white, 'o' anything else.
    std::string rows(int top, int bottom, int left = 0, int right = -1) const {
        if (right < 0) right = width();
        std::string text;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) text += at(x, y) == 0 ? '.' : at(x, y) == 0xFFFFFF ? '#' : 'o';
            text += '\n';
        }
        return text;
    }
    // One row as text, columns left..right-1.
    std::string row(int y, int left = 0, int right = -1) const { return rows(y, y + 1, left, right); }

    void clear() {
        std::fill(bitmap_->pixels(), bitmap_->pixels() + std::size_t(width()) * std::size_t(height()), 0);
    }

private:
    gdi::DeviceContext* dc_ = nullptr;
    gdi::Bitmap* bitmap_ = nullptr;
};

using PointSet = std::set<std::pair<int, int>>;

inline void draw_line(gdi::DeviceContext* dc, int x1, int y1, int x2, int y2) {
    gdi::move_to(dc, x1, y1, nullptr);
    gdi::line_to(dc, x2, y2);
}

}  // namespace klv::test
