#include <algorithm>
#include <bit>

#include "platform/gdi/canvas.h"

namespace klv::gdi {

void PixelSet::start(const Canvas& canvas) {
    runs_.clear();
    bits_.clear();
    bit_words_ = std::size_t((canvas.bottom * canvas.stride + 63) / 64);
    run_limit_ = std::max<std::size_t>(bit_words_ * sizeof(std::uint64_t) / sizeof(Run), 64);
}

void PixelSet::to_bits() {
    bits_.assign(bit_words_, 0);
    for (const Run& run : runs_) set_bits(run.begin, run.end);
    runs_.clear();
    runs_.shrink_to_fit();
}

void PixelSet::set_bits(std::int64_t begin, std::int64_t end) {
    for (std::int64_t i = begin; i < end; ++i) bits_[std::size_t(i >> 6)] |= std::uint64_t(1) << (i & 63);
}

void PixelSet::flip(const Canvas& canvas, Pixel color) {
    if (!bits_.empty()) {
        for (std::size_t w = 0; w < bits_.size(); ++w)
            for (std::uint64_t word = bits_[w]; word != 0; word &= word - 1)
                canvas.pixels[std::int64_t(w) * 64 + std::countr_zero(word)] ^= color;
        bits_.clear();
        bits_.shrink_to_fit();
        return;
    }
    std::sort(runs_.begin(), runs_.end(), [](const Run& a, const Run& b) { return a.begin < b.begin; });
    std::int64_t done = 0;  // offsets below this are flipped already
    for (const Run& run : runs_) {
        for (std::int64_t i = std::max(run.begin, done); i < run.end; ++i) canvas.pixels[i] ^= color;
        done = std::max(done, run.end);
    }
    runs_.clear();
}

}  // namespace klv::gdi
