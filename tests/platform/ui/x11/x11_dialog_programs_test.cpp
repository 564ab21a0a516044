// The print and save commands with a stand-in for the desktop's dialog
// program, on a real X server: the chart window stays painted while the
// dialog is open, and the dialog is titled and tied to the chart window.
#include <gtest/gtest.h>
// After GoogleTest: Xlib defines None and Bool as macros.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstring>
#include <future>
#include <cstdlib>
#include <thread>

#include "graphics/klv.h"
#include "platform/ui/dialog_program.h"
#include "platform/ui/testing.h"
#include "tests/graphics/export/temp_folder.h"
#include "tests/platform/print/cups_fixture.h"
#include "tests/support/library_window.h"
#include "tests/platform/ui/window_thread.h"
#include "tests/platform/ui/x11/x_display_fixture.h"
#include "tests/platform/ui/x11/x_server.h"
#include "tests/support/eventually.h"
#include "tests/support/stand_in_program.h"
#include "tests/support/test_needs.h"

namespace klv {
namespace {

using namespace std::chrono_literals;

using klv::test::xdotool;

// Waits (at most five seconds) until a visible window of that exact name exists.
bool wait_for_window_named(const std::string& name) {
    return klv::test::eventually([&] { return xdotool("search --onlyvisible --name '^" + name + "$'") == 0; });
}

bool wait_for_file(const std::string& path) {
    return klv::test::eventually([&] { return std::filesystem::exists(path); });
}

class X11DialogPrograms : public klv::test::XDisplayFixture<print::PrinterSuite> {
protected:
    void SetUp() override {
        XDisplayFixture::SetUp();
        if (!ready()) return;
        KLV_NEED_WINDOW_MANAGER(display_);  // windowactivate asks it for the focus
        const char* path = std::getenv("PATH");
        saved_path_ = path ? path : "";
        setenv("PATH", (folder_.path().string() + ":" + saved_path_).c_str(), 1);
    }
    void TearDown() override {
        close_window(-2);
        if (!saved_path_.empty()) setenv("PATH", saved_path_.c_str(), 1);
        XDisplayFixture::TearDown();
    }

    // A window with colours in its top-left corner, where the system menu opens.
    ::Window open_chart_window(const char* title) {
        EXPECT_GE(open_window(320, 240, title, 100, 100, false, false), 0);
        const int colours[] = {1, 2, 4, 14, 5, 3};
        for (int i = 0; i < 6; ++i) {
            set_fill_style(1, colours[i]);
            fill_bar(i * 30, i * 20, i * 30 + 120, i * 20 + 90);
        }
        EXPECT_TRUE(test::wait_idle());
        const std::string id = ui::desktop_window_id(test::current_window_handle());
        EXPECT_EQ(xdotool("windowactivate --sync " + id), 0);
        return ::Window(std::stoul(id));
    }

    // The number of window pixels that differ from the visual page.
    long stale_pixels(::Window id) {
        const test::Image page = test::page_image(0);
        XImage* image = XGetImage(display_, id, 0, 0, unsigned(page.width), unsigned(page.height), AllPlanes, ZPixmap);
        if (!image) return long(page.width) * page.height;
        long differ = 0;
        for (int y = 0; y < page.height; ++y)
            for (int x = 0; x < page.width; ++x) differ += (XGetPixel(image, x, y) & 0xFFFFFF) != page.at(x, y);
        XDestroyImage(image);
        return differ;
    }

    // Waits (at most five seconds) for the window to show the page.
    bool shows_the_page(::Window id) {
        return klv::test::eventually([&] { return stale_pixels(id) == 0; });
    }

    klv::test::TempFolder folder_;
    std::string saved_path_;
};

TEST_F(X11DialogPrograms, TheAreaTheMenuCoveredIsRepaintedWhileThePrintDialogIsOpen) {
    klv::test::StandInProgram chooser(folder_.path(), "zenity", "", 1);  // then Cancel
    const ::Window id = open_chart_window("klv stale area");
    ASSERT_EQ(xdotool("key Menu"), 0);
    ASSERT_NE(klv::test::wait_for_system_menu(display_), 0u);
    ASSERT_EQ(xdotool("key Up Return"), 0);  // the last entry: "Print 7\" wide..."
    ASSERT_TRUE(chooser.wait_until_running());
    EXPECT_TRUE(shows_the_page(id)) << stale_pixels(id) << " pixels stale";
    EXPECT_TRUE(chooser.arguments().starts_with("--title=Print\n")) << chooser.arguments();
    chooser.release();
    EXPECT_TRUE(test::wait_idle());
    EXPECT_TRUE(cups().printed_jobs().empty());
}

TEST_F(X11DialogPrograms, TheSaveDialogIsTitledForWhatItDoes) {
    const std::string saved = folder_.file("chart");
    klv::test::StandInProgram chooser(folder_.path(), "zenity", saved + "\n", 0, false);
    open_chart_window("klv save dialog");
    ui::testing::choose_system_command(test::current_window_handle(), 4);
    ASSERT_TRUE(chooser.wait_until_running());
    ASSERT_TRUE(wait_for_file(saved + ".BMP"));
    EXPECT_TRUE(chooser.arguments().starts_with("--title=Save image as\n--file-selection\n")) << chooser.arguments();
    EXPECT_EQ(test::read_file_bytes(saved + ".BMP").size(), 54u + 320 * 240 * 3);
}

// Debian 12's zenity ignores its own --attach for the file chooser: the
// backend ties the program's window to the window it belongs to.
using X11DialogProgramWindows = klv::test::XDisplayFixture<>;

TEST_F(X11DialogProgramWindows, TheDesktopFileChooserIsADialogOfItsWindow) {
    const std::string zenity = ui::find_program("zenity");
    KLV_NEED(!zenity.empty(), "zenity");
    KLV_NEED_WINDOW_MANAGER(display_);  // windowactivate asks it for the focus
    ui::test::WindowOptions options;
    options.title = "klv chooser owner";
    ui::test::WindowThread owner(options);
    std::promise<std::optional<ui::ProgramAnswer>> answer;
    owner.hook = [&](std::uint32_t message, std::uintptr_t, std::intptr_t, std::intptr_t*) {
        if (message != 0x0400) return false;
        answer.set_value(ui::run_dialog_program(
            owner.window(), {zenity, "--title=klv tied chooser", "--file-selection", "--save"}));
        return true;
    };
    ui::post_message(owner.window(), 0x0400, 0, 0);
    ASSERT_TRUE(wait_for_window_named("klv tied chooser"));
    FILE* search = popen("xdotool search --onlyvisible --name '^klv tied chooser$'", "r");
    char line[64] = {};
    ASSERT_TRUE(fgets(line, sizeof line, search));
    pclose(search);
    ::Window transient_for = 0;
    XGetTransientForHint(display_, ::Window(std::stoul(line)), &transient_for);
    EXPECT_EQ(std::to_string(transient_for), ui::desktop_window_id(owner.window()));
    const std::string chooser(line, std::strcspn(line, "\n"));
    xdotool("windowactivate --sync " + chooser + " key Escape");
    auto future = answer.get_future();
    if (future.wait_for(5s) != std::future_status::ready) {
        xdotool("windowkill " + chooser);  // so that the owner's thread, and the test, end
        FAIL() << "the chooser did not end on Escape";
    }
    auto result = future.get();
    ASSERT_TRUE(result);
    EXPECT_NE(result->exit_code, 0);  // cancelled
}

}  // namespace
}  // namespace klv
