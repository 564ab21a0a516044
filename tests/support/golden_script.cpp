#include "tests/support/golden_script.h"

#include <cstdint>
#include <fstream>
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

// `text X Y TEXT`: TEXT is what follows the separator after Y.
void parse_text_op(std::istringstream& words, GoldenOp& op) {
    std::string x, y;
    words >> x >> y;
    op.ints = {parse_golden_int(x), parse_golden_int(y)};
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
            if (op.name == "text") {
                parse_text_op(words, op);
            } else {
                std::istringstream args(strip_comment(line));
                std::string token;
                args >> token;  // the name again
                while (args >> token) op.ints.push_back(parse_golden_int(token));
            }
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
