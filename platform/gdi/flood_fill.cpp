// ExtFloodFill. The area is found first, on the page as it was: the pixels
// reachable from the start through left, right, up and down neighbours that
// are inside the drawable area and fillable (FLOODFILLBORDER: not the colour,
// all 24 bits compared; FLOODFILLSURFACE: the colour). Then it is painted
// once with the brush, so brush pixels that happen to have the border
// colour do not limit the fill.
//
// The search is a scanline fill with an explicit stack of runs (no
// recursion): each run found is marked on the page with a value that is not
// fillable, so that it is never found twice, and kept in a list for the
// paint. Memory is proportional to the runs, not to the page.
#include <algorithm>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "platform/gdi/brush_spans.h"
#include "platform/gdi/canvas.h"
#include "platform/gdi/gdi.h"

namespace klv::gdi {

namespace {

struct Run {
    std::int32_t y, x0, x1;  // columns [x0, x1) of row y, all found
};

// A run of row y already found; the row y + dy is to be searched over it.
struct Pending {
    std::int32_t y, x0, x1, dy;
};

class AreaSearch {
public:
    AreaSearch(const Canvas& canvas, Pixel color, int kind)
        : canvas_(canvas),
          color_(color & 0xFFFFFF),
          border_(kind == FLOODFILLBORDER),
          mark_(border_ ? color_ : color_ ^ 1) {}

    bool fillable(Pixel p) const { return (((p ^ color_) & 0xFFFFFF) != 0) == border_; }

    // Finds the area from (x, y), which must be fillable; the pixels of
    // each run are saved first when keep_pixels is set.
    void run(std::int64_t x, std::int64_t y, bool keep_pixels);

    const std::vector<Run>& runs() const { return runs_; }
    const std::vector<Pixel>& saved() const { return saved_; }

private:
    Run take_run(std::int64_t x, std::int64_t y);
    void search_row(const Pending& from);
    std::int64_t fillable_end(const Pixel* row, std::int64_t x) const;

    const Canvas& canvas_;
    Pixel color_;
    bool border_;
    Pixel mark_;
    bool keep_pixels_ = false;
    std::vector<Run> runs_;
    std::vector<Pending> stack_;
    std::vector<Pixel> saved_;
};

// The first column from x on that is not fillable (or the right edge):
// sixteen pixels at a time with SSE2 while they all are.
std::int64_t AreaSearch::fillable_end(const Pixel* row, std::int64_t x) const {
    const std::int64_t right = canvas_.right;
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i color = _mm_set1_epi32(int(color_)), low24 = _mm_set1_epi32(0xFFFFFF);
    const __m128i zero = _mm_setzero_si128();
    const int all_fillable = border_ ? 0 : 0xFFFF;  // lanes equal to the colour
    auto equal = [&](std::int64_t at) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + at));
        return _mm_cmpeq_epi32(_mm_and_si128(_mm_xor_si128(pixels, color), low24), zero);
    };
    while (x + 16 <= right) {
        const __m128i a = equal(x), b = equal(x + 4), c = equal(x + 8), d = equal(x + 12);
        const __m128i some = _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d));
        const __m128i every = _mm_and_si128(_mm_and_si128(a, b), _mm_and_si128(c, d));
        if (_mm_movemask_epi8(border_ ? some : every) != all_fillable) break;
        x += 16;
    }
#endif
    while (x < right && fillable(row[x])) ++x;
    return x;
}

// The whole fillable run through (x, y), marked and listed.
Run AreaSearch::take_run(std::int64_t x, std::int64_t y) {
    Pixel* row = canvas_.row(y);
    std::int64_t left = x;
    while (left > canvas_.left && fillable(row[left - 1])) --left;
    const std::int64_t right = fillable_end(row, x);
    if (keep_pixels_) saved_.insert(saved_.end(), row + left, row + right);
    paint_run(row + left, right - left, mark_);
    const Run run{std::int32_t(y), std::int32_t(left), std::int32_t(right)};
    runs_.push_back(run);
    return run;
}

// Searches row from.y + from.dy under [from.x0, from.x1): every run found
// there continues the search away from `from`, and its parts that reach
// beyond `from` search back toward it.
void AreaSearch::search_row(const Pending& from) {
    const std::int64_t y = std::int64_t(from.y) + from.dy;
    if (y < canvas_.top || y >= canvas_.bottom) return;
    const Pixel* row = canvas_.row(y);
    std::int64_t x = from.x0;
    while (x < from.x1) {
        if (!fillable(row[x])) {
            ++x;
            continue;
        }
        const Run run = take_run(x, y);
        stack_.push_back({run.y, run.x0, run.x1, from.dy});
        if (run.x0 < from.x0) stack_.push_back({run.y, run.x0, from.x0, -from.dy});
        if (run.x1 > from.x1) stack_.push_back({run.y, from.x1, run.x1, -from.dy});
        x = run.x1 + 1;
    }
}

void AreaSearch::run(std::int64_t x, std::int64_t y, bool keep_pixels) {
    keep_pixels_ = keep_pixels;
    const Run first = take_run(x, y);
    stack_.push_back({first.y, first.x0, first.x1, 1});
    stack_.push_back({first.y, first.x0, first.x1, -1});
    while (!stack_.empty()) {
        const Pending next = stack_.back();
        stack_.pop_back();
        search_row(next);
    }
}

}  // namespace

bool ext_flood_fill(DeviceContext* dc, int x, int y, ColorRef color, int kind) {
    if (!dc || (kind != FLOODFILLBORDER && kind != FLOODFILLSURFACE)) return false;
    const Canvas canvas = canvas_of(dc);
    const DevicePoint start = to_device(dc, x, y);
    if (!canvas.contains(start.x, start.y)) return false;
    AreaSearch search(canvas, pixel_from_color(color), kind);
    if (!search.fillable(canvas.row(start.y)[start.x])) return false;
    // A brush that leaves pixels as they were, or mixes with them, needs
    // the pixels the marks replaced.
    const Brush* brush = dc->brush;
    BrushSpans spans(brush ? *brush : *static_cast<const Brush*>(stock_object(NULL_BRUSH)), *dc);
    const bool keep_pixels = !spans.covers_every_pixel();
    search.run(start.x, start.y, keep_pixels);
    std::size_t next_saved = 0;
    for (const Run& run : search.runs()) {
        Pixel* row = canvas.row(run.y);
        if (keep_pixels) {
            std::copy_n(search.saved().begin() + std::ptrdiff_t(next_saved), run.x1 - run.x0, row + run.x0);
            next_saved += std::size_t(run.x1 - run.x0);
        }
        spans.paint(row, run.y, run.x0, run.x1);
    }
    return true;
}

}  // namespace klv::gdi
