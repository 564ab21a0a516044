#include "graphics/record/colour_reduction.h"

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>

#include "graphics/export/colour_index.h"

namespace klv {

namespace {

constexpr int cell_count = 1 << 15;
constexpr int lloyd_passes = 3;

std::uint32_t cell_of(gdi::Pixel p) { return (p >> 9 & 0x7C00) | (p >> 6 & 0x3E0) | (p >> 3 & 0x1F); }

// An occupied histogram cell: its pixels' mean colour and their number.
struct Cell {
    std::array<double, 3> mean;  // red, green, blue
    double weight;
    std::uint32_t id;
};

double distance(const std::array<double, 3>& a, const std::array<double, 3>& b) {
    const double r = a[0] - b[0], g = a[1] - b[1], bl = a[2] - b[2];
    return r * r + g * g + bl * bl;
}

std::vector<Cell> histogram(const gdi::Pixel* pixels, std::size_t count) {
    std::vector<std::array<std::uint64_t, 4>> sums(cell_count);
    for (std::size_t i = 0; i < count; ++i) {
        auto& s = sums[cell_of(pixels[i])];
        s[0] += pixels[i] >> 16 & 0xFF, s[1] += pixels[i] >> 8 & 0xFF, s[2] += pixels[i] & 0xFF, ++s[3];
    }
    std::vector<Cell> cells;
    for (std::uint32_t id = 0; id < cell_count; ++id) {
        const auto& s = sums[id];
        if (s[3] == 0) continue;
        const double n = double(s[3]);
        cells.push_back({{double(s[0]) / n, double(s[1]) / n, double(s[2]) / n}, n, id});
    }
    return cells;
}

// A box of the median cut: cells[begin, end) with its weighted mean and squared error.
struct Box {
    std::size_t begin, end;
    std::array<double, 3> mean;
    double error;
    int widest;
};

Box make_box(const std::vector<Cell>& cells, std::size_t begin, std::size_t end) {
    Box box{begin, end, {0, 0, 0}, 0, 0};
    double weight = 0;
    std::array<double, 3> low{255, 255, 255}, high{0, 0, 0};
    for (std::size_t i = begin; i < end; ++i) {
        weight += cells[i].weight;
        for (int c = 0; c < 3; ++c) {
            box.mean[std::size_t(c)] += cells[i].mean[std::size_t(c)] * cells[i].weight;
            low[std::size_t(c)] = std::min(low[std::size_t(c)], cells[i].mean[std::size_t(c)]);
            high[std::size_t(c)] = std::max(high[std::size_t(c)], cells[i].mean[std::size_t(c)]);
        }
    }
    for (double& m : box.mean) m /= weight;
    for (std::size_t i = begin; i < end; ++i) box.error += distance(cells[i].mean, box.mean) * cells[i].weight;
    for (int c = 1; c < 3; ++c)
        if (high[std::size_t(c)] - low[std::size_t(c)] > high[std::size_t(box.widest)] - low[std::size_t(box.widest)])
            box.widest = c;
    return box;
}

// Splits the box at the weighted median of its widest channel.
std::pair<Box, Box> split(std::vector<Cell>& cells, const Box& box) {
    const auto channel = std::size_t(box.widest);
    std::sort(cells.begin() + std::ptrdiff_t(box.begin), cells.begin() + std::ptrdiff_t(box.end),
              [channel](const Cell& a, const Cell& b) { return a.mean[channel] < b.mean[channel]; });
    double total = 0;
    for (std::size_t i = box.begin; i < box.end; ++i) total += cells[i].weight;
    std::size_t middle = box.begin + 1;
    for (double below = cells[box.begin].weight; middle < box.end - 1 && below + cells[middle].weight <= total / 2;
         ++middle)
        below += cells[middle].weight;
    return {make_box(cells, box.begin, middle), make_box(cells, middle, box.end)};
}

std::vector<std::array<double, 3>> median_cut(std::vector<Cell>& cells, std::size_t limit) {
    std::vector<Box> boxes{make_box(cells, 0, cells.size())};
    while (boxes.size() < limit) {
        auto worst = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
            return (a.end - a.begin > 1 ? a.error : -1) < (b.end - b.begin > 1 ? b.error : -1);
        });
        if (worst->end - worst->begin < 2) break;
        const auto [low, high] = split(cells, *worst);
        *worst = low;
        boxes.push_back(high);
    }
    std::vector<std::array<double, 3>> palette;
    for (const Box& box : boxes) palette.push_back(box.mean);
    return palette;
}

// The palette colour nearest to a colour: the colours sorted by red are
// searched outward from the colour's red, each way until the red difference
// alone is farther than the best found.
class Nearest {
public:
    explicit Nearest(const std::vector<std::array<double, 3>>& palette) : palette_(palette), order_(palette.size()) {
        std::iota(order_.begin(), order_.end(), std::uint8_t(0));
        std::sort(order_.begin(), order_.end(),
                  [&](std::uint8_t a, std::uint8_t b) { return palette[a][0] < palette[b][0]; });
    }
    std::uint8_t operator()(const std::array<double, 3>& colour) const {
        const auto start = std::lower_bound(order_.begin(), order_.end(), colour[0],
                                            [&](std::uint8_t i, double red) { return palette_[i][0] < red; });
        std::uint8_t best = order_.front();
        double best_distance = std::numeric_limits<double>::max();
        const auto look = [&](std::uint8_t i) {
            const double red = palette_[i][0] - colour[0];
            if (red * red >= best_distance) return false;
            const double d = distance(palette_[i], colour);
            if (d < best_distance) best_distance = d, best = i;
            return true;
        };
        for (auto up = start; up != order_.end() && look(*up); ++up) {
        }
        for (auto down = start; down != order_.begin() && look(*(down - 1)); --down) {
        }
        return best;
    }

private:
    const std::vector<std::array<double, 3>>& palette_;
    std::vector<std::uint8_t> order_;
};

// One Lloyd pass: each cell to its nearest colour, each colour to the mean
// of its cells (a colour no cell chose stays).
void lloyd_pass(const std::vector<Cell>& cells, std::vector<std::array<double, 3>>& palette) {
    std::vector<std::array<double, 4>> sums(palette.size(), {0, 0, 0, 0});
    const Nearest nearest(palette);
    for (const Cell& cell : cells) {
        auto& s = sums[nearest(cell.mean)];
        for (std::size_t c = 0; c < 3; ++c) s[c] += cell.mean[c] * cell.weight;
        s[3] += cell.weight;
    }
    for (std::size_t i = 0; i < palette.size(); ++i)
        if (sums[i][3] > 0)
            for (std::size_t c = 0; c < 3; ++c) palette[i][c] = sums[i][c] / sums[i][3];
}

gdi::Pixel to_pixel(const std::array<double, 3>& colour) {
    const auto level = [](double v) { return gdi::Pixel(std::clamp(v + 0.5, 0.0, 255.0)); };
    return level(colour[0]) << 16 | level(colour[1]) << 8 | level(colour[2]);
}

void quantise(const gdi::Pixel* pixels, std::size_t count, std::size_t limit, PalettedPixels* result) {
    std::vector<Cell> cells = histogram(pixels, count);
    std::vector<std::array<double, 3>> palette = median_cut(cells, limit);
    for (int pass = 0; pass < lloyd_passes; ++pass) lloyd_pass(cells, palette);
    std::vector<std::uint8_t> chosen(cell_count, 0);
    const Nearest nearest(palette);
    for (const Cell& cell : cells) chosen[cell.id] = nearest(cell.mean);
    result->colours.clear();
    for (const auto& colour : palette) result->colours.push_back(to_pixel(colour));
    for (std::size_t i = 0; i < count; ++i) result->indices[i] = chosen[cell_of(pixels[i])];
}

}  // namespace

bool reduce_colours(const gdi::Pixel* pixels, std::size_t count, std::size_t limit, PalettedPixels* result) {
    result->indices.resize(count);
    if (index_colours(pixels, count, limit, &result->colours, result->indices.data())) return true;
    quantise(pixels, count, limit, result);
    return false;
}

}  // namespace klv
