// ExtFloodFill. The area is the pixels reachable from the start through
// left, right, up and down neighbours that are inside the drawable area and
// fillable (FLOODFILLBORDER: not the colour, all 24 bits compared;
// FLOODFILLSURFACE: the colour), judged on the page as it was: brush pixels
// that happen to have the border colour do not limit the fill.
//
// The search is a scanline fill with an explicit stack of runs (no
// recursion). Each run is painted as soon as it is found, and a bit per
// pixel of its row records that it was found: the search reads only pixels
// not yet found, so it sees the page as it was, and never finds a run twice.
// A row's bits are made when its first run is found (beside a pointer for
// each row of the drawable area); memory follows the rows the area reaches
// and the runs waiting on the stack.
#include <algorithm>
#include <bit>
#include <memory>
#include <vector>

#include "platform/gdi/brush_spans.h"
#include "platform/gdi/canvas.h"
#include "platform/gdi/colour_runs.h"
#include "platform/gdi/gdi.h"

namespace klv::gdi {

namespace {

// Which pixels of the drawable area have been found: one bit each, in rows
// of 64-bit words made on first use.
class FoundPixels {
public:
    explicit FoundPixels(const Canvas& canvas)
        : left_(canvas.left),
          top_(canvas.top),
          row_words_(std::size_t((canvas.right - canvas.left + 63) / 64)),
          rows_(std::size_t(canvas.bottom - canvas.top), nullptr) {}

    // Columns [x0, x1) of row y.
    void mark(std::int64_t y, std::int64_t x0, std::int64_t x1) {
        std::uint64_t*& words = rows_[std::size_t(y - top_)];
        if (words == nullptr) words = new_row();
        const std::uint64_t begin = std::uint64_t(x0 - left_), end = std::uint64_t(x1 - left_);
        const std::uint64_t first = begin / 64, last = end / 64;
        const std::uint64_t from_begin = ~0ULL << (begin % 64), before_end = (1ULL << (end % 64)) - 1;
        if (first == last) {
            words[first] |= from_begin & before_end;
            return;
        }
        words[first] |= from_begin;
        std::fill(words + first + 1, words + last, ~0ULL);
        if (before_end != 0) words[last] |= before_end;
    }

    // The first column of [x, end) of row y not found yet, or found; end
    // when there is none.
    std::int64_t next_unfound(std::int64_t y, std::int64_t x, std::int64_t end) const {
        const std::uint64_t* words = row(y);
        return words ? next_bit(words, x, end, ~0ULL) : x;
    }
    std::int64_t next_found(std::int64_t y, std::int64_t x, std::int64_t end) const {
        const std::uint64_t* words = row(y);
        return words ? next_bit(words, x, end, 0) : end;
    }

private:
    // The first column of [x, end) whose bit, flipped by `flip`, is set.
    std::int64_t next_bit(const std::uint64_t* words, std::int64_t x, std::int64_t end, std::uint64_t flip) const {
        for (std::uint64_t at = std::uint64_t(x - left_), stop = std::uint64_t(end - left_); at < stop;) {
            const std::uint64_t bits = (words[at / 64] ^ flip) >> (at % 64);
            if (bits != 0) return std::min(end, left_ + std::int64_t(at + std::uint64_t(std::countr_zero(bits))));
            at += 64 - at % 64;
        }
        return end;
    }
    const std::uint64_t* row(std::int64_t y) const { return rows_[std::size_t(y - top_)]; }

    // Rows are made in blocks of 64, all bits clear.
    std::uint64_t* new_row() {
        constexpr std::size_t block_rows = 64;
        if (rows_made_ % block_rows == 0) blocks_.emplace_back(new std::uint64_t[block_rows * row_words_]());
        return blocks_.back().get() + (rows_made_++ % block_rows) * row_words_;
    }

    std::int64_t left_, top_;
    std::size_t row_words_;
    std::vector<std::uint64_t*> rows_;  // per row of the area; null until its first run
    std::vector<std::unique_ptr<std::uint64_t[]>> blocks_;
    std::size_t rows_made_ = 0;
};

struct Run {
    std::int64_t x0, x1;  // columns [x0, x1), all found
};

// A run of row y already found; the row y + dy is to be searched over it.
struct Pending {
    std::int32_t y, x0, x1, dy;
};

class AreaFill {
public:
    AreaFill(const Canvas& canvas, Pixel color, int kind, const BrushSpans& spans)
        : canvas_(canvas), color_(color & 0xFFFFFF), border_(kind == FLOODFILLBORDER), spans_(spans), found_(canvas) {}

    bool fillable(Pixel p) const { return (((p ^ color_) & 0xFFFFFF) != 0) == border_; }

    // Finds and paints the area from (x, y), which must be fillable.
    void run(std::int64_t x, std::int64_t y);

private:
    Run take_run(std::int64_t x, std::int64_t y);
    void search_row(const Pending& from);
    void prefetch_next_row(std::int64_t y, std::int64_t x0, std::int64_t x1) const;
    template <bool paint>
    std::int64_t run_end(Pixel* row, std::int64_t x, std::int64_t end, bool fillable_run) const;

    const Canvas& canvas_;
    Pixel color_;
    bool border_;
    const BrushSpans& spans_;
    FoundPixels found_;
    std::vector<Pending> stack_;
};

// The first column of [x, end) whose pixel is fillable when `fillable_run`
// is false, not fillable when it is true; end when there is none. With
// `paint`, the pixels passed over take the solid brush's colour: the run is
// found and painted in one pass over the row.
template <bool paint>
std::int64_t AreaFill::run_end(Pixel* row, std::int64_t x, std::int64_t end, bool fillable_run) const {
    const bool equal_run = fillable_run != border_;  // the run's pixels have the colour
    if constexpr (paint) return colour_run_end_painting(row, x, end, color_, equal_run, spans_.solid_color());
    return colour_run_end(row, x, end, color_, equal_run);
}

// The whole fillable run through (x, y), found and painted. A found run
// always ends at a pixel that is not fillable or at the edge, so the pixels
// next to one not yet found are never found ones: both ends are judged on
// the page alone.
Run AreaFill::take_run(std::int64_t x, std::int64_t y) {
    Pixel* row = canvas_.row(y);
    std::int64_t left = x;
    while (left > canvas_.left && fillable(row[left - 1])) --left;
    std::int64_t right;
    if (spans_.is_solid()) {
        right = run_end<true>(row, x, canvas_.right, true);
        spans_.paint(row, y, left, x);
    } else {
        right = run_end<false>(row, x, canvas_.right, true);
        spans_.paint(row, y, left, right);
    }
    found_.mark(y, left, right);
    return {left, right};
}

// The row after this one, in the direction the search goes, is likely the
// next one read: its lines are asked for while this one is read.
void AreaFill::prefetch_next_row(std::int64_t y, std::int64_t x0, std::int64_t x1) const {
#if defined(__GNUC__)
    if (y < canvas_.top || y >= canvas_.bottom) return;
    const char* begin = reinterpret_cast<const char*>(canvas_.row(y) + x0);
    const char* end = reinterpret_cast<const char*>(canvas_.row(y) + x1);
    for (const char* line = begin; line < end; line += 64) __builtin_prefetch(line);
#else
    (void)y, (void)x0, (void)x1;
#endif
}

// Searches row from.y + from.dy under [from.x0, from.x1): every run found
// there continues the search away from `from`, and its parts that reach
// beyond `from` search back toward it.
void AreaFill::search_row(const Pending& from) {
    const std::int64_t y = std::int64_t(from.y) + from.dy;
    if (y < canvas_.top || y >= canvas_.bottom) return;
    Pixel* row = canvas_.row(y);
    prefetch_next_row(y + from.dy, from.x0, from.x1);
    std::int64_t x = from.x0;
    while (x < from.x1) {
        x = found_.next_unfound(y, x, from.x1);
        const std::int64_t found_next = found_.next_found(y, x, from.x1);
        x = run_end<false>(row, x, found_next, false);
        if (x == found_next) continue;
        const Run run = take_run(x, y);
        const auto y32 = std::int32_t(y), x0 = std::int32_t(run.x0), x1 = std::int32_t(run.x1);
        stack_.push_back({y32, x0, x1, from.dy});
        if (x0 < from.x0) stack_.push_back({y32, x0, from.x0, -from.dy});
        if (x1 > from.x1) stack_.push_back({y32, from.x1, x1, -from.dy});
        x = run.x1 + 1;
    }
}

void AreaFill::run(std::int64_t x, std::int64_t y) {
    const Run first = take_run(x, y);
    const auto y32 = std::int32_t(y), x0 = std::int32_t(first.x0), x1 = std::int32_t(first.x1);
    stack_.push_back({y32, x0, x1, 1});
    stack_.push_back({y32, x0, x1, -1});
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
    const Brush* brush = dc->brush;
    const BrushSpans spans(brush ? *brush : *static_cast<const Brush*>(stock_object(NULL_BRUSH)), *dc);
    AreaFill fill(canvas, pixel_from_color(color), kind, spans);
    if (!fill.fillable(canvas.row(start.y)[start.x])) return false;
    if (!spans.paints_nothing()) fill.run(start.x, start.y);
    return true;
}

}  // namespace klv::gdi
