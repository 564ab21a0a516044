// The raster engine's view of a device context: the 32-bit pixels it may
// touch and device coordinates in 64 bits, so that any 32-bit logical
// coordinate plus any viewport origin is exact.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <vector>

#include "platform/gdi/device_context.h"

namespace klv::gdi {

struct DevicePoint {
    std::int64_t x = 0;
    std::int64_t y = 0;
    friend bool operator==(const DevicePoint&, const DevicePoint&) = default;
};

// Paints n pixels with one colour, as fast as memset: glibc's wmemset
// fills 32-bit units with the machine's widest stores where wchar_t is 32
// bits (Linux); on Windows, where it is 16, the compiler's own fill loop.
inline void paint_run(Pixel* p, std::int64_t n, Pixel color) {
    if (n <= 16) {
        for (std::int64_t i = 0; i < n; ++i) p[i] = color;
        return;
    }
    if constexpr (sizeof(wchar_t) == sizeof(Pixel)) {
        std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(color), std::size_t(n));
    } else {
        std::fill_n(p, std::size_t(n), color);
    }
}

class PixelSet;

// How a pen puts its pixels: painted, flipped (XOR with the pen colour, for
// an outline that never touches a pixel twice), or collected into a pixel
// set that flips each pixel of the whole outline once.
enum class PenMode { paint, flip, collect };

struct Canvas {
    Pixel* pixels = nullptr;
    std::int64_t stride = 0;  // pixels per row
    // Drawable pixels: the bitmap cut by the clip; right and bottom exclusive.
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    PenMode pen_mode = PenMode::paint;
    PixelSet* pixel_set = nullptr;  // for PenMode::collect
    // Set by a wide pen once one of its polygons painted every drawable
    // pixel: the rest of its outline could only paint them again.
    bool* all_painted = nullptr;

    bool empty() const { return left >= right || top >= bottom; }
    Pixel* row(std::int64_t y) const { return pixels + y * stride; }
    bool contains(std::int64_t x, std::int64_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    // Paints columns [x0, x1) of row y, cut to the drawable area.
    void fill_span(std::int64_t y, std::int64_t x0, std::int64_t x1, Pixel color) const {
        if (y < top || y >= bottom) return;
        x0 = std::max(x0, left);
        x1 = std::min(x1, right);
        if (x0 < x1) paint_run(row(y) + x0, x1 - x0, color);
    }
    // A pen's run: columns [x0, x1) of row y, already cut to the drawable area.
    inline void pen_run(std::int64_t y, std::int64_t x0, std::int64_t x1, Pixel color) const;
    // A pen's run, cut here.
    void pen_span(std::int64_t y, std::int64_t x0, std::int64_t x1, Pixel color) const {
        if (y < top || y >= bottom) return;
        x0 = std::max(x0, left);
        x1 = std::min(x1, right);
        if (x0 < x1) pen_run(y, x0, x1, color);
    }
};

// The pixels of one outline as runs of pixel offsets from the canvas's first
// pixel (a run never crosses a row). flip() inverts each pixel of their union
// once, however often the outline covered it. Once the runs would take more
// memory than one bit per pixel of the bitmap, they become such bits: the
// memory is bounded by the page, whatever the outline.
class PixelSet {
public:
    void add(std::int64_t begin, std::int64_t end) {
        if (!bits_.empty()) {
            set_bits(begin, end);
            return;
        }
        runs_.push_back({begin, end});
        if (runs_.size() > run_limit_) to_bits();
    }
    // Makes the set ready for a canvas (before the first add).
    void start(const Canvas& canvas);
    void flip(const Canvas& canvas, Pixel color);

private:
    struct Run {
        std::int64_t begin, end;
    };
    void to_bits();
    void set_bits(std::int64_t begin, std::int64_t end);

    std::vector<Run> runs_;
    std::vector<std::uint64_t> bits_;
    std::size_t run_limit_ = 0;
    std::size_t bit_words_ = 0;
};

inline void Canvas::pen_run(std::int64_t y, std::int64_t x0, std::int64_t x1, Pixel color) const {
    Pixel* p = row(y) + x0;
    switch (pen_mode) {
        case PenMode::paint: paint_run(p, x1 - x0, color); return;
        case PenMode::flip:
            for (std::int64_t i = 0; i < x1 - x0; ++i) p[i] ^= color;
            return;
        case PenMode::collect: pixel_set->add(p - pixels, p - pixels + (x1 - x0)); return;
    }
}

// Calls body(visit) with visit(Pixel*) putting one pixel as the canvas's pen
// mode says: one dispatch for a whole walk.
template <typename Body>
void with_pen_pixels(const Canvas& canvas, Pixel color, Body&& body) {
    switch (canvas.pen_mode) {
        case PenMode::paint: body([color](Pixel* p) { *p = color; }); return;
        case PenMode::flip: body([color](Pixel* p) { *p ^= color; }); return;
        case PenMode::collect:
            body([&canvas](Pixel* p) { canvas.pixel_set->add(p - canvas.pixels, p - canvas.pixels + 1); });
            return;
    }
}

// The drawable pixels of a 32-bit bitmap selected into dc; an empty canvas
// for a monochrome bitmap or a clip that leaves nothing.
inline Canvas canvas_of(const DeviceContext* dc) {
    Canvas c;
    if (!dc || !dc->bitmap || dc->bitmap->bits_per_pixel() != 32) return c;
    Rect area = dc->drawable_area();
    c.pixels = dc->bitmap->pixels();
    c.stride = dc->bitmap->width();
    c.left = area.left;
    c.top = area.top;
    c.right = area.right;
    c.bottom = area.bottom;
    return c;
}

inline DevicePoint to_device(const DeviceContext* dc, std::int64_t x, std::int64_t y) {
    return {x + dc->viewport_origin.x, y + dc->viewport_origin.y};
}

}  // namespace klv::gdi
