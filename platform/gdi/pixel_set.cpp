#include <algorithm>

#include "platform/gdi/canvas.h"

namespace klv::gdi {

void PixelSet::flip(const Canvas& canvas, Pixel color) {
    std::sort(runs_.begin(), runs_.end(), [](const Run& a, const Run& b) { return a.begin < b.begin; });
    std::int64_t done = 0;  // offsets below this are flipped already
    for (const Run& run : runs_) {
        for (std::int64_t i = std::max(run.begin, done); i < run.end; ++i) canvas.pixels[i] ^= color;
        done = std::max(done, run.end);
    }
    runs_.clear();
}

}  // namespace klv::gdi
