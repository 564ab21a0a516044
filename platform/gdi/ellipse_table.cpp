#include "platform/gdi/ellipse_table.h"

namespace klv::gdi {

void build_quadrant_table(std::int64_t w, std::int64_t h, std::vector<TableEntry>& table) {
    table.clear();
    using Wide = __int128;  // a^2 b^2 reaches 2^64 at the largest boxes
    const Wide a = w - 1, b = h - 1, p = b % 2;
    std::int64_t x = w - 1, y = h / 2;
    Wide gx = 4 * b * b * (1 - a);
    Wide gy = 4 * a * a * (1 + p);
    Wide e = gx + gy + a * a * p;
    const std::int64_t half_w = w / 2, half_h = h / 2;
    while (x >= half_w) {
        table.push_back({x - half_w, y - half_h});
        Wide s = 2 * e;
        if (s >= gx) {
            --x;
            gx += 8 * b * b;
            e += gx;
        }
        if (s <= gy) {
            ++y;
            gy += 8 * a * a;
            e += gy;
        }
    }
}

}  // namespace klv::gdi
