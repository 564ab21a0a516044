// Carries out a golden drawing script directly on gdi device contexts, the
// way the library's operations do: four pages sharing one drawing state,
// pens rebuilt on every page, the brush on the active page only, the text
// colour set to the fill colour while filling.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "tests/support/bmp_image.h"
#include "tests/support/golden_script.h"

namespace klv::test {

class GoldenRunner {
public:
    GoldenRunner() = default;
    ~GoldenRunner();
    GoldenRunner(const GoldenRunner&) = delete;
    GoldenRunner& operator=(const GoldenRunner&) = delete;

    // Runs every op; text and textstyle ops are passed over (their boxes are
    // masked). Throws std::runtime_error on an unknown op.
    void run(const std::vector<GoldenOp>& ops);
    // The page the script asked for (save PAGE), else the active page.
    Image picture() const;

    gdi::DeviceContext* page(int i) const { return pages_[std::size_t(i)]; }

private:
    void open_window(int width, int height, bool double_buffer);
    void reset_defaults();
    void set_viewport(int left, int top, int right, int bottom, int clip);
    void set_color(int color);
    void set_bk_color(int color);
    void update_pen();
    void set_fill_style(int pattern, int color);
    void fill_bar(int left, int top, int right, int bottom);
    void draw_line(int x1, int y1, int x2, int y2);
    void draw_rectangle(int left, int top, int right, int bottom);
    void draw_pie_slice(int x, int y, int start, int end, int radius);
    gdi::DeviceContext* active() const { return pages_[std::size_t(active_page_)]; }

    std::array<gdi::DeviceContext*, 4> pages_{};
    int width_ = 0, height_ = 0;
    int active_page_ = 0, visual_page_ = 0, saved_page_ = -1;
    int draw_color_ = 15, bk_color_ = 0, fill_pattern_ = 1, fill_color_ = 15;
    int line_style_ = 0, line_pattern_ = 0, line_thickness_ = 1;
};

// color_to_rgb: 0..15 the palette, anything else its low 24 bits.
gdi::ColorRef color_to_rgb(int color);
// The dash array of user line pattern bits, read from bit 0 upward.
std::vector<std::uint32_t> pattern_to_dashes(int pattern);

}  // namespace klv::test
