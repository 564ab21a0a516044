// Every golden script carried out through the public interface on the
// headless backend, compared with the image the original system drew.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <stdexcept>

#include "graphics/klv.h"
#include "tests/support/golden_script.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

namespace fs = std::filesystem;

struct Replay {
    int saved_page = -1;  // -1: the active page
};

using Args = std::vector<int>;
struct Action {
    std::size_t arg_count;
    std::function<void(const Args&, const std::string&, Replay&)> run;
};

const std::map<std::string, Action>& actions() {
    static const std::map<std::string, Action> table = {
        {"color", {1, [](const Args& a, auto&, auto&) { set_color(a[0]); }}},
        {"bkcolor", {1, [](const Args& a, auto&, auto&) { set_bk_color(a[0]); }}},
        {"fillstyle", {2, [](const Args& a, auto&, auto&) { set_fill_style(a[0], a[1]); }}},
        {"viewport", {5, [](const Args& a, auto&, auto&) { set_viewport(a[0], a[1], a[2], a[3], a[4]); }}},
        {"line", {4, [](const Args& a, auto&, auto&) { draw_line(a[0], a[1], a[2], a[3]); }}},
        {"rect", {4, [](const Args& a, auto&, auto&) { draw_rectangle(a[0], a[1], a[2], a[3]); }}},
        {"bar", {4, [](const Args& a, auto&, auto&) { fill_bar(a[0], a[1], a[2], a[3]); }}},
        {"pie", {5, [](const Args& a, auto&, auto&) { draw_pie_slice(a[0], a[1], a[2], a[3], a[4]); }}},
        {"linestyle", {3, [](const Args& a, auto&, auto&) { set_line_style(a[0], a[1], a[2]); }}},
        {"textstyle", {3, [](const Args& a, auto&, auto&) { set_text_style(a[0], a[1], a[2]); }}},
        {"text", {2, [](const Args& a, const std::string& t, auto&) { out_text_xy(a[0], a[1], t.c_str()); }}},
        {"save", {1, [](const Args& a, auto&, Replay& r) { r.saved_page = a[0]; }}},
    };
    return table;
}

void carry_out(const GoldenOp& op, Replay& replay) {
    const std::string where = "line " + std::to_string(op.line) + ": " + op.name;
    if (op.name == "window") {
        if (op.ints.size() < 2 || op.ints.size() > 3) throw std::runtime_error(where + " takes 2 or 3 numbers");
        const bool double_buffer = op.ints.size() == 3 && op.ints[2] != 0;
        if (open_window(op.ints[0], op.ints[1], "golden", 0, 0, double_buffer, false) < 0)
            throw std::runtime_error(where + ": no window");
        return;
    }
    const auto found = actions().find(op.name);
    if (found == actions().end()) throw std::runtime_error(where + " is not an op");
    if (op.ints.size() != found->second.arg_count) throw std::runtime_error(where + ": wrong argument count");
    found->second.run(op.ints, op.text, replay);
}

// The number of pixels that differ from the golden outside its text boxes;
// a picture of the differences is left in the build folder.
long replay_and_compare(const fs::path& script) {
    Replay replay;
    for (const GoldenOp& op : read_golden_script(script.string())) carry_out(op, replay);
    const int page = replay.saved_page >= 0 ? replay.saved_page : current_state()->active_page;
    const Image actual = page_image(page);
    close_window(-1);
    fs::path base = script;
    base.replace_extension();
    const Image expected = read_bmp(base.string() + ".bmp");
    const auto mask = read_golden_mask(base.string() + ".mask");
    const long differences = count_differences(actual, expected, mask);
    if (differences != 0) {
        const fs::path out = fs::path(KLV_BINARY_DIR) / "golden-diffs";
        fs::create_directories(out);
        write_bmp((out / (base.filename().string() + "-diff.bmp")).string(), difference_image(actual, expected, mask));
        write_bmp((out / (base.filename().string() + "-actual.bmp")).string(), actual);
    }
    return differences;
}

std::vector<fs::path> scripts_in(const fs::path& folder) {
    std::vector<fs::path> scripts;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".klv") scripts.push_back(entry.path());
    std::sort(scripts.begin(), scripts.end());
    return scripts;
}

// Where our fonts are wider than the reference's text boxes. Courier New is
// Liberation Mono here, metric-compatible: "Courier" at average width 12 is
// 84 pixels wide, while the reference drew it with a narrower proportional
// face that fits a 75-pixel box.
const std::map<std::string, long> text_wider_than_its_box = {{"text-fonts-sizes.klv", 40}};

TEST(Goldens, EveryScriptMatchesItsImageOutsideTextBoxes) {
    const auto scripts = scripts_in(KLV_GOLDEN_DIR);
    ASSERT_GE(scripts.size(), 30u);
    for (const fs::path& script : scripts) {
        const auto allowance = text_wider_than_its_box.find(script.filename().string());
        const long allowed = allowance == text_wider_than_its_box.end() ? 0 : allowance->second;
        EXPECT_LE(replay_and_compare(script), allowed) << script.filename() << " differs (see golden-diffs/)";
    }
}

// Dashed wide pens: reported, not required.
TEST(Goldens, AdvisoryDashedPensAreReported) {
    for (const fs::path& script : scripts_in(fs::path(KLV_GOLDEN_DIR) / "advisory")) {
        const long differences = replay_and_compare(script);
        std::cout << "[ advisory ] " << script.filename().string() << ": " << differences << " pixels differ\n";
    }
}

}  // namespace
}  // namespace klv::test
