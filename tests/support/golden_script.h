// Reader of the golden drawing scripts (tests/goldens/*.klv) and of their
// text-box masks (*.mask). It only parses: carrying a script out is up to
// each test.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace klv::test {

// One line of a script: the op's name, its integer arguments (already
// wrapped to 32 bits) and, for `text` and `out_text`, the rest of the line.
struct GoldenOp {
    std::string name;
    std::vector<int> ints;
    std::string text;
    int line = 0;  // 1-based line number in the script
};

// A box whose pixels are not compared; right and bottom exclusive.
struct MaskBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Parses a script. Throws std::runtime_error naming the line on a token that
// is not an integer, an op the scripts do not have, or an op given the wrong
// number of integers (polyline and fill_polygon: a count N, then N points).
std::vector<GoldenOp> parse_golden_script(std::istream& in);
std::vector<GoldenOp> read_golden_script(const std::string& path);

// Reads NAME.mask; a missing file gives no boxes.
std::vector<MaskBox> read_golden_mask(const std::string& path);

// Decimal or 0x hexadecimal, optionally negative, wrapped to 32-bit signed.
// Throws std::invalid_argument when the token is not such a number.
int parse_golden_int(const std::string& token);

}  // namespace klv::test
