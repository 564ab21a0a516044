// The built-in file chooser end to end on a real X server: no zenity or
// kdialog on PATH, the window menu's "Save image as..." command, and keys
// typed by xdotool.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "graphics/klv.h"
#include "platform/ui/dialog_program.h"
#include "platform/ui/testing.h"
#include "tests/graphics/export/temp_folder.h"
#include "tests/support/library_window.h"
#include "tests/support/test_needs.h"

namespace klv {
namespace {

using namespace std::chrono_literals;

class BuiltInChooser : public ::testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        KLV_NEED(display && *display, "DISPLAY");
        xdotool_ = ui::find_program("xdotool");
        KLV_NEED(!xdotool_.empty(), "xdotool");
        const char* path = std::getenv("PATH");
        saved_path_ = path ? path : "";
        setenv("PATH", folder_.file("no-programs").c_str(), 1);  // no desktop chooser
        saved_folder_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_.path());
        ASSERT_GE(open_window(320, 240, "klv built-in chooser", 50, 50, false, false), 0);
        set_fill_style(1, 4);
        fill_bar(10, 10, 200, 150);
        ASSERT_TRUE(test::wait_idle());
        window_ = test::current_window_handle();
    }
    void TearDown() override {
        if (!window_) return;
        close_window(-2);
        std::filesystem::current_path(saved_folder_);
        setenv("PATH", saved_path_.c_str(), 1);
    }

    int xdotool(const std::string& arguments) const {
        return std::system((xdotool_ + " " + arguments + " >/dev/null 2>&1").c_str());
    }
    bool visible(const std::string& title) const {
        return xdotool("search --onlyvisible --name '^" + title + "$'") == 0;
    }
    // Waits (five seconds at most) until the dialog is shown, or gone.
    bool wait_until(const std::string& title, bool shown) const {
        const auto end = std::chrono::steady_clock::now() + 5s;
        while (visible(title) != shown) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(20ms);
        }
        return true;
    }
    bool open_chooser() const {
        ui::testing::choose_system_command(window_, 4);  // "Save image as..."
        return wait_until("Save image as", true);
    }
    static bool wait_for_size(const std::string& path, std::uintmax_t size) {
        const auto end = std::chrono::steady_clock::now() + 5s;
        std::error_code error;
        while (std::filesystem::file_size(path, error) != size) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(10ms);
        }
        return true;
    }

    static constexpr std::uintmax_t bmp_size = 54 + 320 * 240 * 3;
    klv::test::TempFolder folder_;
    std::string xdotool_;
    std::string saved_path_;
    std::filesystem::path saved_folder_;
    ui::Window* window_ = nullptr;
};

TEST_F(BuiltInChooser, SavesATypedNameRefusesAnEmptyOneAsksBeforeReplacingAndCancels) {
    // Enter on an empty name is refused: the name typed next is what is saved.
    ASSERT_TRUE(open_chooser());
    ASSERT_EQ(xdotool("key --delay 30 Return type --delay 30 chart"), 0);
    ASSERT_EQ(xdotool("key Return"), 0);
    ASSERT_TRUE(wait_for_size(folder_.file("chart.BMP"), bmp_size));
    ASSERT_TRUE(wait_until("Save image as", false));

    // An existing file: No keeps it and the chooser open; Yes replaces it.
    std::ofstream(folder_.file("chart.BMP")) << "old";
    ASSERT_TRUE(open_chooser());
    ASSERT_EQ(xdotool("type --delay 30 chart.BMP"), 0);
    ASSERT_EQ(xdotool("key Return"), 0);
    ASSERT_TRUE(wait_until("Confirm Save As", true));
    ASSERT_EQ(xdotool("key Return"), 0);  // No is the default
    ASSERT_TRUE(wait_until("Confirm Save As", false));
    EXPECT_EQ(std::filesystem::file_size(folder_.file("chart.BMP")), 3u);
    EXPECT_TRUE(wait_until("Save image as", true));
    ASSERT_EQ(xdotool("key Return"), 0);
    ASSERT_TRUE(wait_until("Confirm Save As", true));
    ASSERT_EQ(xdotool("key y"), 0);
    EXPECT_TRUE(wait_for_size(folder_.file("chart.BMP"), bmp_size));
    ASSERT_TRUE(wait_until("Save image as", false));

    // Escape cancels: nothing is written.
    ASSERT_TRUE(open_chooser());
    ASSERT_EQ(xdotool("type --delay 30 other"), 0);
    ASSERT_EQ(xdotool("key Escape"), 0);
    ASSERT_TRUE(wait_until("Save image as", false));
    EXPECT_TRUE(test::wait_idle());
    EXPECT_FALSE(std::filesystem::exists(folder_.file("other.BMP")));
}

}  // namespace
}  // namespace klv
