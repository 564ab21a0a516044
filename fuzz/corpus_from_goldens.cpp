// Turns golden drawing scripts into inputs of the interface fuzzer: each
// script's ops become the same calls in the fuzzer's byte form, one file
// per script, named after it.
//   corpus_from_goldens OUT_FOLDER SCRIPT.klv...
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "fuzz/call_script.h"
#include "tests/support/golden_script.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put_int(Bytes& out, int v) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(std::uint32_t(v) >> (8 * i)));
}

void put_call(Bytes& out, const char* name, const std::vector<int>& args) {
    const int code = klv::fuzz::call_code(name);
    if (code < 0) throw std::runtime_error(std::string("no call ") + name);
    out.push_back(std::uint8_t(code));
    for (int i = 0; i < klv::fuzz::call_arity(code); ++i) put_int(out, i < int(args.size()) ? args[i] : 0);
}

void put_text(Bytes& out, const std::string& text) {
    const std::size_t length = std::min<std::size_t>(text.size(), 63);
    out.push_back(std::uint8_t(length));
    out.insert(out.end(), text.begin(), text.begin() + std::ptrdiff_t(length));
}

// Golden op names and the call each one is.
const std::map<std::string, const char*>& plain_ops() {
    static const std::map<std::string, const char*> ops = {
        {"activepage", "set_active_page"}, {"visualpage", "set_visual_page"}, {"swap", "swap_pages"},
        {"grab", "grab_image"}, {"paste", "paste_image"}, {"palette", "set_palette_entry"},
        {"justify", "set_text_justify"}, {"textscale", "set_text_scale"}, {"color", "set_color"},
        {"bkcolor", "set_bk_color"}, {"fillstyle", "set_fill_style"}, {"viewport", "set_viewport"},
        {"line", "draw_line"}, {"rect", "draw_rectangle"}, {"bar", "fill_bar"}, {"pie", "draw_pie_slice"},
        {"linestyle", "set_line_style"}, {"textstyle", "set_text_style"}, {"pixel", "put_pixel"},
        {"moveto", "move_to"}, {"moveby", "move_by"}, {"lineto", "line_to"}, {"lineby", "line_by"},
        {"circle", "draw_circle"}, {"arc", "draw_arc"}, {"ellipse", "draw_ellipse"},
        {"fill_ellipse", "fill_ellipse"}, {"sector", "draw_sector"}, {"flood_fill", "flood_fill"},
        {"bar3d", "draw_bar_3d"}, {"clear_page", "clear_page"}, {"clear_viewport", "clear_viewport"},
        {"writemode", "set_write_mode"},
    };
    return ops;
}

Bytes convert(const std::vector<klv::test::GoldenOp>& ops) {
    Bytes out;
    for (const klv::test::GoldenOp& op : ops) {
        const std::vector<int>& a = op.ints;
        if (op.name == "window") {
            put_call(out, "open_window", {a[0], a[1], 0, 0, 2 | (a.size() > 2 && a[2] ? 4 : 0)});
        } else if (op.name == "text" || op.name == "out_text") {
            put_call(out, op.name == "text" ? "out_text_xy" : "out_text", a);
            put_text(out, op.text);
        } else if (op.name == "fillpattern") {
            put_call(out, "set_fill_pattern", {a[0]});
            for (int i = 1; i <= 8; ++i) out.push_back(std::uint8_t(a[std::size_t(i)]));
        } else if (op.name == "polyline" || op.name == "fill_polygon") {
            put_call(out, op.name == "polyline" ? "draw_polyline" : "fill_polygon", {a[0]});
            for (std::size_t i = 1; i < a.size(); ++i) put_int(out, a[i]);
        } else if (plain_ops().count(op.name)) {
            put_call(out, plain_ops().at(op.name), a);
        }  // "save" names the page compared: no call
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: corpus_from_goldens OUT_FOLDER SCRIPT.klv...\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (int i = 2; i < argc; ++i) {
        const Bytes bytes = convert(klv::test::read_golden_script(argv[i]));
        std::ofstream out(folder / std::filesystem::path(argv[i]).stem(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    return 0;
}
