// Looks for slow calls: random scripts of the interface fuzzer's form
// (fuzz/call_script.h), one 640 by 480 window each, whose arguments lean to
// the extremes (the ends of the 32-bit range, page-sized values, pens wider
// than the page). Besides scripts of any call, two kinds are made on
// purpose, each a class of calls once found slow: text at a scale of its
// own (glyphs are kept once rendered, so only a new size shows what
// rendering costs) far larger than the page, and figures centred far off
// the page outlined by pens up to the widest. Prints the slowest calls seen, slowest first. With a
// file name, also writes there a hash of the active page after the call
// with extreme arguments, a line per script, to compare the pixels of two
// builds. Run it in a
// Release build:
//   slow_call_search [SCRIPTS] [SEED] [HASH_FILE]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "fuzz/call_script.h"
#include "graphics/klv.h"

namespace {

struct Slow {
    double ms;
    std::string text;
};

class Collector : public klv::fuzz::CallObserver {
public:
    void call_done(std::string_view name, const std::int32_t* args, int arity, double cpu_ms) override {
        ++calls;
        if (hashing && ++in_script == tested_call) hash = page_hash();
        if (cpu_ms < 1) return;
        std::string text(name);
        text += "(";
        for (int i = 0; i < arity; ++i) text += (i ? ", " : "") + std::to_string(args[i]);
        text += ") after " + context;
        slow.push_back({cpu_ms, text});
    }
    std::vector<Slow> slow;
    std::string context;
    long calls = 0;
    bool hashing = false;
    int in_script = 0, tested_call = 0;
    std::uint64_t hash = 0;

private:
    // The whole active page, whatever the viewport (which is put back).
    static std::uint64_t page_hash() {
        if (get_current_window() < 0) return 0;
        static std::vector<unsigned char> image;
        image.resize(std::size_t(image_bytes(0, 0, get_max_x(), get_max_y())));
        set_viewport(0, 0, get_max_x() + 1, get_max_y() + 1, 0);
        grab_image(0, 0, get_max_x(), get_max_y(), image.data());
        std::uint64_t h = 14695981039346656037u;
        for (unsigned char b : image) h = (h ^ b) * 1099511628211u;
        return h;
    }
};

std::int32_t extreme(std::mt19937& random) {
    static const std::int32_t ends[] = {INT32_MIN, INT32_MAX, INT32_MIN + 1, INT32_MAX - 1, 1 << 30, -(1 << 30),
                                        65535, 65536, 32767, -32768, 0, 1, -1};
    switch (random() % 6) {
        case 0: return ends[random() % std::size(ends)];
        case 1: return std::int32_t(random());
        case 2: return std::int32_t(random() % 2000) - 700;
        case 3: return std::int32_t(random() % 100000) - 50000;
        default: return std::int32_t(random() % 700);
    }
}

void put(std::vector<std::uint8_t>& out, std::int32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(std::uint32_t(v) >> (8 * i)));
}

void put_call(std::vector<std::uint8_t>& out, const char* name, std::vector<std::int32_t> args) {
    const int code = klv::fuzz::call_code(name);
    out.push_back(std::uint8_t(code));
    for (int i = 0; i < klv::fuzz::call_arity(code); ++i) put(out, i < int(args.size()) ? args[std::size_t(i)] : 0);
}

// A text drawn at a scale never used before in this run (a size-0 text
// style, cells of 100 to 1000 pixels and more), anywhere near the page.
// Returns the number of calls put.
int put_huge_text(std::vector<std::uint8_t>& out, std::mt19937& random) {
    static std::int32_t fresh = 0;
    put_call(out, "set_text_style", {std::int32_t(random() % 11), std::int32_t(random() % 2), 0});
    put_call(out, "set_text_scale", {std::int32_t(100 + ++fresh % 20000), std::int32_t(1 + random() % 20),
                                     random() % 2 ? INT32_MAX : std::int32_t(1 + random() % 100000),
                                     std::int32_t(1 + random() % 700)});
    put_call(out, random() % 2 ? "out_text_xy" : "out_text",
             {std::int32_t(random() % 3000) - 1500, std::int32_t(random() % 3000) - 1500});
    const std::uint8_t length = std::uint8_t(1 + random() % 63);
    out.push_back(length);
    for (int i = 0; i < length; ++i) out.push_back(std::uint8_t(33 + random() % 94));
    return 3;
}

// A figure centred far off the page, of any radius up to beyond a page,
// outlined by a pen of any style up to the widest. Returns the number of
// calls put.
int put_far_figure(std::vector<std::uint8_t>& out, std::mt19937& random) {
    static const char* const figures[] = {"draw_pie_slice", "draw_arc", "draw_circle", "draw_ellipse", "draw_sector"};
    const std::int32_t widths[] = {INT32_MAX, INT32_MAX - 1, 1 << 30, std::int32_t(random() % 100000)};
    put_call(out, "set_line_style", {std::int32_t(random() % 5), extreme(random), widths[random() % 4]});
    auto far = [&] { return random() % 2 ? extreme(random) : std::int32_t(random() % 200000) - 100000; };
    const char* figure = figures[random() % 5];
    const std::int32_t radius = std::int32_t(random() % 40000);
    if (figure == figures[2]) {
        put_call(out, figure, {far(), far(), radius});
    } else {
        put_call(out, figure, {far(), far(), extreme(random), extreme(random), radius, std::int32_t(random() % 40000)});
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const int scripts = argc > 1 ? std::atoi(argv[1]) : 2000;
    std::mt19937 random(argc > 2 ? unsigned(std::atoi(argv[2])) : 1u);
    const std::string folder = std::filesystem::temp_directory_path() / "klv-slow-call-search";
    std::filesystem::create_directories(folder);
    Collector collector;
    std::FILE* hashes = argc > 3 ? std::fopen(argv[3], "w") : nullptr;
    collector.hashing = hashes != nullptr;
    for (int n = 0; n < scripts; ++n) {
        std::vector<std::uint8_t> bytes;
        put_call(bytes, "open_window", {640, 480, 0, 0, 2});
        if (const unsigned kind = random() % 4; kind < 2) {
            // The tested call is the last.
            collector.tested_call = 1 + (kind == 0 ? put_huge_text : put_far_figure)(bytes, random);
            collector.in_script = 0;
            collector.hash = 0;
            collector.context = std::string(kind == 0 ? "huge text" : "far figure") + ", script " + std::to_string(n);
            klv::fuzz::run_call_script(bytes.data(), bytes.size(), folder, &collector);
            if (hashes) std::fprintf(hashes, "%d %016llx\n", n, static_cast<unsigned long long>(collector.hash));
            continue;
        }
        // A state, then one call of any kind with extreme arguments.
        const std::int32_t style = std::int32_t(random() % 5), pattern = extreme(random);
        const std::int32_t thickness = random() % 2 ? extreme(random) : std::int32_t(random() % 3000);
        put_call(bytes, "set_line_style", {style, pattern, thickness});
        if (random() % 3 == 0) put_call(bytes, "set_write_mode", {1});
        if (random() % 3 == 0) put_call(bytes, "set_viewport", {extreme(random), extreme(random), extreme(random), extreme(random), std::int32_t(random() % 2)});
        if (random() % 3 == 0) put_call(bytes, "set_text_style", {std::int32_t(random() % 11), std::int32_t(random() % 2), std::int32_t(random() % 11)});
        if (random() % 4 == 0) put_call(bytes, "set_text_scale", {extreme(random), extreme(random), extreme(random), extreme(random)});
        const std::size_t setup = bytes.size();
        int setup_calls = 0;
        for (std::size_t at = 0; at < setup; at += 1 + 4 * std::size_t(klv::fuzz::call_arity(bytes[at]))) ++setup_calls;
        collector.tested_call = setup_calls + 1;
        collector.in_script = 0;
        const int code = int(random() % unsigned(klv::fuzz::call_count()));
        bytes.push_back(std::uint8_t(code));
        for (int i = 0; i < klv::fuzz::call_arity(code); ++i) put(bytes, extreme(random));
        // Points for polylines and polygons, bytes for texts.
        for (int i = 0; i < 140; ++i) put(bytes, random() % 4 ? extreme(random) : std::int32_t(random() % 64));
        bytes.resize(std::min(bytes.size(), setup + 1 + 4 * std::size_t(klv::fuzz::call_arity(code)) + 4 * 140));
        collector.context = "set_line_style(" + std::to_string(style) + ", " + std::to_string(pattern) + ", " +
                            std::to_string(thickness) + ") script " + std::to_string(n);
        collector.hash = 0;
        klv::fuzz::run_call_script(bytes.data(), bytes.size(), folder, &collector);
        if (hashes) std::fprintf(hashes, "%d %016llx\n", n, static_cast<unsigned long long>(collector.hash));
    }
    if (hashes) std::fclose(hashes);
    std::printf("%ld calls\n", collector.calls);
    std::sort(collector.slow.begin(), collector.slow.end(), [](const Slow& a, const Slow& b) { return a.ms > b.ms; });
    for (std::size_t i = 0; i < std::min<std::size_t>(collector.slow.size(), 40); ++i)
        std::printf("%8.1f ms  %s\n", collector.slow[i].ms, collector.slow[i].text.c_str());
    return 0;
}
