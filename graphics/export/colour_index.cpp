#include "graphics/export/colour_index.h"

#include <array>

namespace klv {

// An open-addressing table of 1024 slots stays at most a quarter full; a
// pixel like its left neighbour (most of a chart) skips the table.
bool index_colours(const gdi::Pixel* pixels, std::size_t count, std::size_t limit, std::vector<gdi::Pixel>* colours,
                   std::uint8_t* indices) {
    colours->clear();
    if (count == 0) return true;
    std::array<gdi::Pixel, 1024> keys{};
    std::array<std::int16_t, 1024> slots;
    slots.fill(-1);
    gdi::Pixel last = pixels[0] + 1;
    std::uint8_t index = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const gdi::Pixel p = pixels[i];
        if (p != last) {
            std::uint32_t h = (p * 0x9E3779B1u) >> 22;
            while (slots[h] >= 0 && keys[h] != p) h = (h + 1) & 1023;
            if (slots[h] < 0) {
                if (colours->size() == limit) return false;
                keys[h] = p;
                slots[h] = std::int16_t(colours->size());
                colours->push_back(p);
            }
            last = p;
            index = std::uint8_t(slots[h]);
        }
        indices[i] = index;
    }
    return true;
}

}  // namespace klv
