// Saving a window's pages through the public interface and the window menu.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <future>
#include <thread>

#include "graphics/export/dib.h"
#include "graphics/export/save_image_command.h"
#include "graphics/klv.h"
#include "platform/ui/save_dialog_testing.h"
#include "platform/ui/testing.h"
#include "tests/graphics/export/temp_folder.h"
#include "tests/support/environment.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

constexpr std::uint32_t save_image_menu_entry = 4;

// A pixel that names its page and position.
gdi::Pixel marker(int page, int x, int y) { return gdi::Pixel(page << 20 | (x & 0x3FF) << 10 | (y & 0x3FF)); }

class SaveImage : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("KLV_BACKEND")) test::set_environment("KLV_BACKEND", "headless");
    }
    void TearDown() override {
        ui::testing::clear_dialog_answers();
        close_window(-2);
    }

    void open(int width, int height, bool double_buffer = false) {
        ASSERT_GE(open_window(width, height, "save", 0, 0, double_buffer, false), 0);
        WindowState* state = current_state();
        std::lock_guard lock(state->mutex);
        for (int page = 0; page < page_count; ++page) {
            gdi::Bitmap* bitmap = state->page_dc[std::size_t(page)]->bitmap;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) bitmap->row(y)[x] = marker(page, x, y);
        }
    }

    // The saved image's size and whether each pixel is the page's pixel at
    // (left + x, top + y).
    void expect_region(const std::string& file, int page, int left, int top, int width, int height) {
        Image image = read_bmp(file);
        ASSERT_EQ(image.width, width);
        ASSERT_EQ(image.height, height);
        long wrong = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) wrong += image.at(x, y) != marker(page, left + x, top + y);
        EXPECT_EQ(wrong, 0) << "first pixel " << std::hex << image.at(0, 0);
    }

    TempFolder folder;
};

TEST_F(SaveImage, WholeWindowIsA24BitBmpOfTheVisualPage) {
    open(640, 480);
    set_fill_style(1, KLV_LIGHT_RED);
    fill_bar(10, 10, 100, 100);
    std::string file = folder.file("window.bmp");
    ASSERT_EQ(save_image(file.c_str(), 0, 0, INT_MAX, INT_MAX, false), dib_written);
    auto bytes = read_file_bytes(file);
    EXPECT_EQ(bytes.size(), 921654u);
    EXPECT_EQ(u32_at(bytes, 10), 54u);
    EXPECT_EQ(bytes[28], 24);
    Image saved = read_bmp(file);
    EXPECT_EQ(count_differences(saved, page_image(0)), 0);
    EXPECT_NE(saved.at(50, 50), marker(0, 50, 50));  // the bar is in the saved image
}

TEST_F(SaveImage, RegionCornersAreInclusive) {
    open(64, 48);
    std::string file = folder.file("region.bmp");
    ASSERT_EQ(save_image(file.c_str(), 10, 20, 19, 29, false), dib_written);
    expect_region(file, 0, 10, 20, 10, 10);
}

TEST_F(SaveImage, RegionsAreClippedToThePage) {
    open(64, 48);
    std::string file = folder.file("clip.bmp");
    ASSERT_EQ(save_image(file.c_str(), -5, -7, 1000, 2000, false), dib_written);
    expect_region(file, 0, 0, 0, 64, 48);
    ASSERT_EQ(save_image(file.c_str(), 60, 40, INT_MAX, INT_MAX, false), dib_written);
    expect_region(file, 0, 60, 40, 4, 8);
    ASSERT_EQ(save_image(file.c_str(), INT_MIN, INT_MIN, -1, -1, false), dib_written);
    expect_region(file, 0, 0, 0, 1, 1);
}

TEST_F(SaveImage, ReversedCornersSaveTheSameRegion) {
    open(64, 48);
    std::string file = folder.file("reversed.bmp");
    ASSERT_EQ(save_image(file.c_str(), 19, 29, 10, 20, false), dib_written);
    expect_region(file, 0, 10, 20, 10, 10);
    ASSERT_EQ(save_image(file.c_str(), 63, 5, -100, 9, false), dib_written);
    expect_region(file, 0, 0, 5, 64, 5);
}

TEST_F(SaveImage, ViewportOriginDoesNotMoveTheRegion) {
    open(64, 48);
    set_viewport(30, 20, 60, 40, 1);
    std::string file = folder.file("viewport.bmp");
    ASSERT_EQ(save_image(file.c_str(), 0, 0, 9, 9, false), dib_written);
    expect_region(file, 0, 0, 0, 10, 10);
    ASSERT_EQ(save_image(file.c_str(), 0, 0, INT_MAX, INT_MAX, false), dib_written);
    expect_region(file, 0, 0, 0, 64, 48);
}

TEST_F(SaveImage, VisualOrActivePage) {
    open(32, 16, true);  // drawing goes to page 1, page 0 is shown
    std::string file = folder.file("page.bmp");
    ASSERT_EQ(save_image(file.c_str(), 0, 0, INT_MAX, INT_MAX, false), dib_written);
    expect_region(file, 0, 0, 0, 32, 16);
    ASSERT_EQ(save_image(file.c_str(), 0, 0, INT_MAX, INT_MAX, true), dib_written);
    expect_region(file, 1, 0, 0, 32, 16);
}

TEST_F(SaveImage, FailuresAreReported) {
    open(16, 16);
    EXPECT_EQ(save_image(folder.file("missing/x.bmp").c_str(), 0, 0, 15, 15, false), dib_cannot_write);
    EXPECT_EQ(save_image(folder.file("missing/x.png").c_str(), 0, 0, 15, 15, false), dib_cannot_write);
    EXPECT_EQ(save_image(nullptr, 0, 0, 15, 15, false), dib_cannot_write);
    EXPECT_TRUE(folder.names().empty());
}

TEST_F(SaveImage, PagesHeldElsewhereAreNotRead) {
    open(16, 16);
    std::promise<void> locked, release;
    std::thread holder([&] {
        std::lock_guard lock(current_state()->mutex);
        locked.set_value();
        release.get_future().wait();
    });
    locked.get_future().wait();
    // The full wait of five seconds, then no longer than a loaded machine adds.
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(save_image(folder.file("late.bmp").c_str(), 0, 0, 15, 15, false), dib_missing);
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(4900));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(8000));
    release.set_value();
    holder.join();
    EXPECT_TRUE(folder.names().empty());
}

TEST_F(SaveImage, MenuCommandAsksForANameAndSavesTheVisualPage) {
    open(40, 30, true);
    ui::testing::set_save_dialog_answer(folder.file("chart"));
    ui::Window* window = current_window_handle();
    ui::testing::choose_system_command(window, save_image_menu_entry);
    ASSERT_TRUE(ui::testing::wait_until_idle(window));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"chart.BMP"});
    expect_region(folder.file("chart.BMP"), 0, 0, 0, 40, 30);
}

TEST_F(SaveImage, CancelledDialogWritesNothing) {
    open(40, 30);
    ui::testing::set_save_dialog_answer(std::nullopt);
    save_image_command(nullptr, 0, 0, INT_MAX, INT_MAX, false, current_window_handle());
    EXPECT_EQ(ui::testing::save_dialogs_shown(), 1);
    EXPECT_TRUE(folder.names().empty());
}

TEST_F(SaveImage, TypedNamesFollowTheExtensionRule) {
    open(8, 8);
    const std::pair<std::string, std::string> cases[] = {
        {"chart", "chart.BMP"}, {"graph.bmp", "graph.bmp"}, {"chart.txt", "chart.txt"},
        {"chart.jpeg", "chart.jpeg.BMP"}, {std::string(250, 'n'), std::string(250, 'n')}};
    for (const auto& [typed, saved] : cases) {
        ui::testing::set_save_dialog_answer(folder.file(typed));
        save_image_command(nullptr, 0, 0, INT_MAX, INT_MAX, false, nullptr);
        EXPECT_NO_THROW(read_bmp(folder.file(saved))) << typed;
    }
    EXPECT_EQ(folder.names().size(), 5u);
}

TEST_F(SaveImage, AppendedExtensionAsksBeforeReplacing) {
    open(8, 8);
    std::ofstream(folder.file("chart.BMP")) << "keep me";
    ui::testing::set_save_dialog_answer(folder.file("chart"));
    ui::testing::set_overwrite_answer(false);
    save_image_command(nullptr, 0, 0, INT_MAX, INT_MAX, false, nullptr);
    auto bytes = read_file_bytes(folder.file("chart.BMP"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "keep me");
    ui::testing::set_overwrite_answer(true);
    save_image_command(nullptr, 0, 0, INT_MAX, INT_MAX, false, nullptr);
    EXPECT_EQ(read_file_bytes(folder.file("chart.BMP")).size(), 54u + 8u * 24u);
    EXPECT_EQ(ui::testing::overwrite_questions_asked(), 2);
}

// A name ending in ".png", in any case, gives a PNG file, whether typed in
// the dialog or passed. ImageMagick reads it back: a palette image of the
// fewest bits a pixel that hold its colours (1, 2, 4 or 8) for 256 colours
// or fewer, RGB for more; each count just past a depth's end gets the next.
TEST_F(SaveImage, PngNamesGivePngFilesOtherProgramsRead) {
    if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick is not installed";
    open(40, 30);
    struct Saved {
        std::string name;
        gdi::Size size;  // every pixel a colour of its own
        int depth;       // bits a pixel (of a palette index, or of each RGB part)
        int colour_type; // 3 palette, 2 RGB
    };
    std::vector<Saved> files{{"chart.PNG", {16, 16}, 8, 3}, {"page.png", {40, 30}, 8, 2}};
    ui::testing::set_save_dialog_answer(folder.file("chart.PNG"));
    save_image_command(nullptr, 0, 0, 15, 15, false, nullptr);
    ASSERT_EQ(save_image(folder.file("page.png").c_str(), 0, 0, INT_MAX, INT_MAX, false), dib_written);
    const Saved few[] = {{"", {2, 1}, 1, 3},  {"", {3, 1}, 2, 3},  {"", {4, 1}, 2, 3},  {"", {5, 1}, 4, 3},
                         {"", {16, 1}, 4, 3}, {"", {17, 1}, 8, 3}, {"", {17, 16}, 8, 2}};
    for (Saved saved : few) {
        saved.name = std::to_string(saved.size.cx) + "x" + std::to_string(saved.size.cy) + ".png";
        ASSERT_EQ(save_image(folder.file(saved.name).c_str(), 0, 0, saved.size.cx - 1, saved.size.cy - 1, false),
                  dib_written);
        files.push_back(saved);
    }
    for (const auto& [name, size, depth, colour_type] : files) {
        SCOPED_TRACE(name);
        const std::string file = folder.file(name), rgb = folder.file(name + ".rgb");
        const auto png = read_file_bytes(file);
        ASSERT_GT(png.size(), 26u);
        EXPECT_EQ(png[1], 'P');
        EXPECT_EQ(png[24], depth);  // in the header chunk, after the width and height
        EXPECT_EQ(png[25], colour_type);
        const std::string command = "convert 'PNG:" + file + "' -depth 8 'rgb:" + rgb + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const auto bytes = read_file_bytes(rgb);
        ASSERT_EQ(bytes.size(), std::size_t(size.cx * size.cy * 3));
        long wrong = 0;
        for (int i = 0; i < size.cx * size.cy; ++i) {
            const std::uint8_t* p = &bytes[std::size_t(i) * 3];
            wrong += gdi::Pixel(p[0] << 16 | p[1] << 8 | p[2]) != marker(0, i % size.cx, i / size.cx);
        }
        EXPECT_EQ(wrong, 0);
    }
}

// One drawing without text, saved as BMP and as PNG: the file digests are
// the same in the Linux and the Windows build (same engine, same writers,
// same libpng and zlib). A change in what is drawn or how files are written
// changes them on both sides at once.
TEST_F(SaveImage, TheSameDrawingSavesTheSameBytesOnEverySystem) {
    ASSERT_GE(open_window(160, 120, "bytes", 0, 0, false, false), 0);
    for (int colour = 0; colour < 16; ++colour) {
        set_fill_style(1 + colour % 11, colour);
        draw_pie_slice(80, 60, colour * 22, colour * 22 + 22, 55);
    }
    set_line_style(1, 0, 3);
    draw_circle(80, 60, 58);
    std::uint64_t digests[2] = {};
    const char* names[2] = {"same.bmp", "same.png"};
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(save_image(folder.file(names[i]).c_str(), 0, 0, INT_MAX, INT_MAX, false), dib_written);
        digests[i] = 0xCBF29CE484222325u;  // FNV-1a
        for (std::uint8_t byte : read_file_bytes(folder.file(names[i]))) digests[i] = (digests[i] ^ byte) * 0x100000001B3u;
    }
    EXPECT_EQ(digests[0], 0x4100B70634CEF84Du) << std::hex << digests[0];
    EXPECT_EQ(digests[1], 0xD6F0A8752BC2A595u) << std::hex << digests[1];
}

}  // namespace
}  // namespace klv::test
