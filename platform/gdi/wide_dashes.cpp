#include "platform/gdi/wide_dashes.h"

#include <cmath>
#include <vector>

#include "platform/gdi/dash_counter.h"
#include "platform/gdi/wide_pen.h"

namespace klv::gdi {

namespace {

// Collects the pieces of the dash in progress; in a closed figure that
// starts "on", the first dash is held back to be joined to the last.
class DashBuilder {
public:
    DashBuilder(const Canvas& canvas, Pixel color, std::int64_t width, bool caps, bool hold_first)
        : canvas_(canvas), color_(color), width_(width), caps_(caps), holding_(hold_first) {}

    // Pieces of zero length are kept, as GDI keeps them: a dash that starts
    // at a vertex begins with a piece of the segment it leaves, which adds its
    // cap and a bevel, and a dash that is nothing else (an entry still "on"
    // at the last point) is painted as its two caps, a square the width of
    // the pen.
    void extend(DevicePoint from, DevicePoint to, DevicePoint direction) {
        current_.push_back({from, to, direction});
    }
    void finish() {
        if (holding_) {
            held_.swap(current_);
            holding_ = false;
        } else {
            paint(current_);
        }
        current_.clear();
    }
    // Paints what is in progress without ending the dash's bookkeeping:
    // used when the walk jumps over pieces that lie off the canvas.
    void cut() {
        if (!holding_) {
            paint(current_);
            current_.clear();
        }
    }
    void end_figure(bool on) {
        if (on) current_.insert(current_.end(), held_.begin(), held_.end());
        else paint(held_);
        if (on) paint(current_);
    }

private:
    void paint(const std::vector<WideSegment>& dash) const {
        paint_wide_segments(canvas_, color_, width_, caps_, dash, false);
    }
    const Canvas& canvas_;
    Pixel color_;
    std::int64_t width_;
    bool caps_, holding_;
    std::vector<WideSegment> current_, held_;
};

DevicePoint along(DevicePoint p, DevicePoint d, double length, std::int64_t distance) {
    if (d.x == 0 || d.y == 0) {
        std::int64_t sx = d.x > 0 ? 1 : d.x < 0 ? -1 : 0, sy = d.y > 0 ? 1 : d.y < 0 ? -1 : 0;
        return {p.x + sx * distance, p.y + sy * distance};
    }
    return {p.x + std::int64_t(std::trunc(double(d.x) * double(distance) / length)),
            p.y + std::int64_t(std::trunc(double(d.y) * double(distance) / length))};
}

// The distances along p + d*s/length that lie in the canvas widened by
// margin (Liang-Barsky); empty when lo > hi.
void visible_distances(const Canvas& c, DevicePoint p, DevicePoint d, double length, double margin, double& lo,
                       double& hi) {
    lo = 0, hi = length;
    auto cut = [&](double start, double delta, double min, double max) {
        double step = delta / length;
        if (step == 0) {
            if (start < min || start > max) lo = 1, hi = 0;
            return;
        }
        double a = (min - start) / step, b = (max - start) / step;
        if (a > b) std::swap(a, b);
        lo = std::max(lo, a), hi = std::min(hi, b);
    };
    cut(double(p.x), double(d.x), double(c.left) - margin, double(c.right) + margin);
    cut(double(p.y), double(d.y), double(c.top) - margin, double(c.bottom) + margin);
}

}  // namespace

void paint_wide_dashes(const Canvas& canvas, Pixel color, const PenDescription& pen, bool square_caps,
                       const DevicePoint* points, std::size_t count, bool closed) {
    DashCounter counter(pen.dashes);
    DashBuilder dashes(canvas, color, pen.width, square_caps, closed && counter.on());
    const double margin = 2.0 * double(pen.width) + 4;
    std::size_t segments = closed ? count : count - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        DevicePoint p1 = points[i], p2 = points[(i + 1) % count];
        if (p1 == p2) continue;
        DevicePoint d{p2.x - p1.x, p2.y - p1.y};
        double length = std::hypot(double(d.x), double(d.y));
        double lo, hi;
        visible_distances(canvas, p1, d, length, margin, lo, hi);
        std::int64_t used = 0;
        DevicePoint from = p1;
        // Parts of the segment far from the canvas are passed in one step,
        // so the work is bounded by what lies near the canvas.
        if (lo > hi) lo = hi = length;
        if (lo > 2) {
            std::int64_t skip = std::int64_t(std::floor(lo)) - 1;
            counter.advance(std::uint64_t(skip));
            dashes.cut();
            used = skip;
            from = along(p1, d, length, used);
        }
        while (length - double(used) >= double(counter.left()) && double(used) <= hi + 1) {
            std::int64_t end_at = used + std::int64_t(counter.left());
            DevicePoint to = along(p1, d, length, end_at);
            if (counter.on()) {
                dashes.extend(from, to, d);
                dashes.finish();
            }
            from = to;
            used = end_at;
            counter.finish_entry();
        }
        if (counter.on()) dashes.extend(from, p2, d);
        counter.advance(std::uint64_t(std::floor(length - double(used))));
    }
    dashes.end_figure(counter.on());
}

}  // namespace klv::gdi
