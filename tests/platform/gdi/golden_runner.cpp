#include "golden_runner.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace klv::test {

using namespace klv::gdi;

namespace {

constexpr std::array<ColorRef, 16> kPalette = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                               0x008080, 0xC0C0C0, 0x808080, 0xFF8080, 0x80FF80, 0xFFFF80,
                                               0x8080FF, 0xFF80FF, 0x00FFFF, 0xFFFFFF};

constexpr std::array<std::array<std::uint8_t, 8>, 12> kPatternBits = {{
    {}, {}, {}, {},
    {0x1F, 0x3E, 0x7C, 0xF8, 0xF1, 0xE3, 0xC7, 0x8F},
    {0xF8, 0x7C, 0x3E, 0x1F, 0x8F, 0xC7, 0xE3, 0xF1},
    {}, {}, {},
    {0x33, 0xCC, 0x33, 0xCC, 0x33, 0xCC, 0x33, 0xCC},
    {0x7F, 0xFF, 0xF7, 0xFF, 0x7F, 0xFF, 0xF7, 0xFF},
    {0x77, 0xFF, 0xDD, 0xFF, 0x77, 0xFF, 0xDD, 0xFF},
}};

int wrap_add(int a, int b) { return int(std::uint32_t(a) + std::uint32_t(b)); }
int wrap_sub(int a, int b) { return int(std::uint32_t(a) - std::uint32_t(b)); }

// trunc to a 32-bit integer; out-of-range values saturate.
int trunc_to_int(double v) {
    if (!(v > double(std::numeric_limits<int>::min()) - 1.0)) return std::numeric_limits<int>::min();
    if (!(v < double(std::numeric_limits<int>::max()) + 1.0)) return std::numeric_limits<int>::max();
    return int(v);
}

std::size_t count_trailing(unsigned& p, bool set) {
    std::size_t n = 0;
    while (p != 0 && ((p & 1) != 0) == set) {
        p >>= 1;
        ++n;
    }
    return n;
}

}  // namespace

ColorRef color_to_rgb(int color) {
    if (color >= 0 && color <= 15) return kPalette[std::size_t(color)];
    return ColorRef(color) & 0xFFFFFF;
}

std::vector<std::uint32_t> pattern_to_dashes(int pattern) {
    unsigned p = unsigned(pattern) & 0xFFFF;
    if (p == 0) return {0, 16};
    std::vector<std::uint32_t> dashes;
    std::size_t lead = count_trailing(p, false), consumed = lead;
    for (;;) {
        std::size_t k = count_trailing(p, true);
        dashes.push_back(std::uint32_t(k - 1));
        consumed += k;
        if (p == 0) break;
        std::size_t m = count_trailing(p, false);
        dashes.push_back(std::uint32_t(m + 1));
        consumed += m;
    }
    if (consumed != 16) dashes.push_back(std::uint32_t(17 - consumed));
    if (lead > 0) {
        if (dashes.size() % 2 == 0)
            dashes.back() += std::uint32_t(lead);
        else
            dashes.push_back(std::uint32_t(lead));
    } else if (dashes.size() % 2 == 1) {
        dashes.push_back(0);
    }
    return dashes;
}

GoldenRunner::~GoldenRunner() {
    for (DeviceContext* dc : pages_) {
        if (!dc) continue;
        Object* bitmap = current_object(dc, ObjectKind::bitmap);
        Object* pen = current_object(dc, ObjectKind::pen);
        Object* brush = current_object(dc, ObjectKind::brush);
        delete_dc(dc);
        delete_object(bitmap);
        delete_object(pen);
        delete_object(brush);
    }
}

void GoldenRunner::run(const std::vector<GoldenOp>& ops) {
    for (const GoldenOp& op : ops) {
        const auto& v = op.ints;
        auto need = [&](std::size_t n) {
            if (v.size() < n) throw std::runtime_error("line " + std::to_string(op.line) + ": too few arguments");
        };
        if (op.name == "window") {
            need(2);
            open_window(v[0], v[1], v.size() > 2 && v[2] != 0);
        } else if (op.name == "text" || op.name == "textstyle") {
            continue;
        } else if (!pages_[0]) {
            throw std::runtime_error("line " + std::to_string(op.line) + ": no window yet");
        } else if (op.name == "color") {
            need(1), set_color(v[0]);
        } else if (op.name == "bkcolor") {
            need(1), set_bk_color(v[0]);
        } else if (op.name == "fillstyle") {
            need(2), set_fill_style(v[0], v[1]);
        } else if (op.name == "viewport") {
            need(5), set_viewport(v[0], v[1], v[2], v[3], v[4]);
        } else if (op.name == "line") {
            need(4), draw_line(v[0], v[1], v[2], v[3]);
        } else if (op.name == "rect") {
            need(4), draw_rectangle(v[0], v[1], v[2], v[3]);
        } else if (op.name == "bar") {
            need(4), fill_bar(v[0], v[1], v[2], v[3]);
        } else if (op.name == "pie") {
            need(5), draw_pie_slice(v[0], v[1], v[2], v[3], v[4]);
        } else if (op.name == "linestyle") {
            need(3);
            line_style_ = v[0], line_pattern_ = v[1], line_thickness_ = v[2];
            update_pen();
        } else if (op.name == "save") {
            need(1), saved_page_ = v[0] & 3;
        } else {
            throw std::runtime_error("line " + std::to_string(op.line) + ": unknown op " + op.name);
        }
    }
}

Image GoldenRunner::picture() const {
    const Bitmap* bitmap = pages_[std::size_t(saved_page_ >= 0 ? saved_page_ : active_page_)]->bitmap;
    Image image{bitmap->width(), bitmap->height(), {}};
    image.pixels.assign(bitmap->pixels(), bitmap->pixels() + std::size_t(bitmap->width()) * std::size_t(bitmap->height()));
    return image;
}

void GoldenRunner::open_window(int width, int height, bool double_buffer) {
    width_ = width, height_ = height;
    for (auto& dc : pages_) {
        dc = create_compatible_dc(nullptr);
        select_object(dc, create_compatible_bitmap(dc, width, height));
    }
    reset_defaults();
    active_page_ = double_buffer ? 1 : 0;
    visual_page_ = 0;
    set_color(0);
    set_fill_style(1, 0);
    fill_bar(0, 0, width - 1, height - 1);
    set_color(15);
    set_fill_style(1, 15);
}

void GoldenRunner::reset_defaults() {
    set_viewport(0, 0, width_, height_, 0);
    set_bk_color(0);
    draw_color_ = 15, fill_pattern_ = 1, fill_color_ = 15;
    for (DeviceContext* dc : pages_) {
        delete_object(select_object(dc, stock_object(WHITE_PEN)));
        delete_object(select_object(dc, stock_object(WHITE_BRUSH)));
        set_text_color(dc, color_to_rgb(15));
    }
    line_style_ = 0, line_thickness_ = 1;
}

void GoldenRunner::set_viewport(int left, int top, int right, int bottom, int clip) {
    Region* region = clip ? create_rect_region(left, top, right, bottom) : nullptr;
    for (DeviceContext* dc : pages_) {
        select_clip_region(dc, region);
        set_viewport_origin(dc, left, top, nullptr);
        move_to(dc, 0, 0, nullptr);
    }
    if (region) delete_object(region);
}

void GoldenRunner::set_color(int color) {
    draw_color_ = color;
    for (DeviceContext* dc : pages_) set_text_color(dc, color_to_rgb(color));
    update_pen();
}

void GoldenRunner::set_bk_color(int color) {
    bk_color_ = color;
    for (DeviceContext* dc : pages_) set_background_color(dc, color_to_rgb(color));
}

void GoldenRunner::update_pen() {
    static const std::array<std::vector<std::uint32_t>, 4> kStyles = {{{16, 0}, {3, 4}, {3, 4, 7, 4}, {7, 4}}};
    std::vector<std::uint32_t> dashes =
        line_style_ >= 0 && line_style_ <= 3 ? kStyles[std::size_t(line_style_)] : pattern_to_dashes(line_pattern_);
    for (DeviceContext* dc : pages_) {
        Pen* pen = create_geometric_pen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_SQUARE | PS_JOIN_BEVEL, line_thickness_,
                                        color_to_rgb(draw_color_), int(dashes.size()), dashes.data());
        delete_object(select_object(dc, pen));
    }
}

void GoldenRunner::set_fill_style(int pattern, int color) {
    ColorRef rgb = color_to_rgb(color);
    if (pattern < 0 || pattern > 11) return;
    Brush* brush = nullptr;
    switch (pattern) {
        case 0: brush = create_solid_brush(color_to_rgb(bk_color_)); break;
        case 1: brush = create_solid_brush(rgb); break;
        case 2: brush = create_hatch_brush(HS_HORIZONTAL, rgb); break;
        case 3: brush = create_hatch_brush(HS_BDIAGONAL, rgb); break;
        case 6: brush = create_hatch_brush(HS_FDIAGONAL, rgb); break;
        case 7: brush = create_hatch_brush(HS_CROSS, rgb); break;
        case 8: brush = create_hatch_brush(HS_DIAGCROSS, rgb); break;
        default: {
            std::uint8_t bits[16];
            for (int i = 0; i < 8; ++i) bits[2 * i] = kPatternBits[std::size_t(pattern)][std::size_t(i)], bits[2 * i + 1] = 0xFF;
            Bitmap* bitmap = create_bitmap(8, 8, 1, 1, bits);
            brush = create_pattern_brush(bitmap);
            delete_object(bitmap);
        }
    }
    fill_pattern_ = pattern;
    fill_color_ = int(rgb);
    delete_object(select_object(active(), brush));
}

void GoldenRunner::fill_bar(int left, int top, int right, int bottom) {
    auto* brush = static_cast<Brush*>(current_object(active(), ObjectKind::brush));
    set_text_color(active(), color_to_rgb(fill_color_));
    fill_rect(active(), {left, top, right, bottom}, brush);
    set_text_color(active(), color_to_rgb(draw_color_));
}

void GoldenRunner::draw_line(int x1, int y1, int x2, int y2) {
    Point old;
    move_to(active(), x1, y1, &old);
    line_to(active(), x2, y2);
    move_to(active(), old.x, old.y, nullptr);
}

void GoldenRunner::draw_rectangle(int left, int top, int right, int bottom) {
    Point corners[5] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
    polyline(active(), corners, 5);
}

void GoldenRunner::draw_pie_slice(int x, int y, int start, int end, int radius) {
    constexpr double k = 0.017453292519943295;
    int xs = wrap_add(x, trunc_to_int(radius * std::cos(start * k)));
    int ys = wrap_sub(y, trunc_to_int(radius * std::sin(start * k)));
    int xe = wrap_add(x, trunc_to_int(radius * std::cos(end * k)));
    int ye = wrap_sub(y, trunc_to_int(radius * std::sin(end * k)));
    set_text_color(active(), color_to_rgb(fill_color_));
    pie(active(), wrap_sub(x, radius), wrap_sub(y, radius), wrap_add(x, radius), wrap_add(y, radius), xs, ys, xe, ye);
    set_text_color(active(), color_to_rgb(draw_color_));
}

}  // namespace klv::test
