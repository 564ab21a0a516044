#include "tests/support/golden_script.h"

#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace klv::test {

namespace {

int digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

std::string strip_comment(const std::string& line) {
    auto hash = line.find('#');
    return hash == std::string::npos ? line : line.substr(0, hash);
}

bool is_blank_or_comment(const std::string& line) {
    auto first = line.find_first_not_of(" \t\r");
    return first == std::string::npos || line[first] == '#';
}

// How many integers each op takes; -1: a count N and then N points. `text`
// and `out_text` also take the rest of the line.
const std::map<std::string, int, std::less<>>& op_arities() {
    static const std::map<std::string, int, std::less<>> arities = {
        {"window", 2},       {"color", 1},      {"bkcolor", 1},        {"fillstyle", 2},   {"viewport", 5},
        {"line", 4},         {"rect", 4},       {"bar", 4},            {"pie", 5},         {"linestyle", 3},
        {"textstyle", 3},    {"text", 2},       {"save", 1},           {"pixel", 3},       {"moveto", 2},
        {"moveby", 2},       {"lineto", 2},     {"lineby", 2},         {"circle", 3},      {"arc", 5},
        {"ellipse", 6},      {"fill_ellipse", 4}, {"sector", 6},       {"polyline", -1},   {"fill_polygon", -1},
        {"flood_fill", 3},   {"bar3d", 6},      {"clear_page", 0},     {"clear_viewport", 0}, {"writemode", 1},
        {"activepage", 1},   {"visualpage", 1}, {"swap", 0},           {"grab", 5},        {"paste", 4},
        {"fillpattern", 9},  {"palette", 2},    {"justify", 2},        {"out_text", 0},    {"textscale", 4},
    };
    return arities;
}

bool takes_text(const std::string& name) { return name == "text" || name == "out_text"; }

void check_arity(const GoldenOp& op) {
    const auto found = op_arities().find(op.name);
    if (found == op_arities().end()) throw std::invalid_argument("unknown op '" + op.name + "'");
    const std::size_t n = op.ints.size();
    bool fits = std::size_t(found->second) == n;
    if (op.name == "window") fits = n == 2 || n == 3;  // an optional double-buffer flag
    if (found->second < 0) fits = n >= 1 && op.ints[0] >= 0 && n == 1 + 2 * std::size_t(op.ints[0]);
    if (!fits) throw std::invalid_argument("'" + op.name + "' with " + std::to_string(n) + " numbers");
}

// `text X Y TEXT` and `out_text TEXT`: TEXT is what follows the separator
// after the last number.
void parse_text_op(std::istringstream& words, GoldenOp& op) {
    for (int i = 0; i < op_arities().find(op.name)->second; ++i) {
        std::string number;
        words >> number;
        op.ints.push_back(parse_golden_int(number));
    }
    std::string rest;
    std::getline(words, rest);
    if (!rest.empty()) rest.erase(0, 1);
    if (!rest.empty() && rest.back() == '\r') rest.pop_back();
    op.text = rest;
}

}  // namespace

int parse_golden_int(const std::string& token) {
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '-' || token[i] == '+')) negative = token[i++] == '-';
    unsigned base = 10;
    if (token.size() > i + 1 && token[i] == '0' && (token[i + 1] == 'x' || token[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == token.size()) throw std::invalid_argument("not a number: '" + token + "'");
    std::uint64_t value = 0;  // wraps modulo 2^64, and so modulo 2^32
    for (; i < token.size(); ++i) {
        unsigned d = unsigned(digit_value(token[i]));
        if (d >= base) throw std::invalid_argument("not a number: '" + token + "'");
        value = value * base + d;
    }
    if (negative) value = ~value + 1;
    return int(std::int32_t(std::uint32_t(value)));
}

std::vector<GoldenOp> parse_golden_script(std::istream& in) {
    std::vector<GoldenOp> ops;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (is_blank_or_comment(line)) continue;
        GoldenOp op;
        op.line = number;
        std::istringstream words(line);
        words >> op.name;
        try {
            if (takes_text(op.name)) {
                parse_text_op(words, op);
            } else {
                std::istringstream args(strip_comment(line));
                std::string token;
                args >> token;  // the name again
                while (args >> token) op.ints.push_back(parse_golden_int(token));
            }
            check_arity(op);
        } catch (const std::invalid_argument& e) {
            throw std::runtime_error("line " + std::to_string(number) + ": " + e.what());
        }
        ops.push_back(std::move(op));
    }
    return ops;
}

std::vector<GoldenOp> read_golden_script(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path);
    try {
        return parse_golden_script(in);
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
}

std::vector<MaskBox> read_golden_mask(const std::string& path) {
    std::vector<MaskBox> boxes;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (is_blank_or_comment(line)) continue;
        std::istringstream words(strip_comment(line));
        std::string l, t, r, b;
        if (!(words >> l >> t >> r >> b)) throw std::runtime_error(path + ": bad mask line '" + line + "'");
        boxes.push_back({parse_golden_int(l), parse_golden_int(t), parse_golden_int(r), parse_golden_int(b)});
    }
    return boxes;
}

}  // namespace klv::test
