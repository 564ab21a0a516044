// The print command: its layout, and whole jobs on a private CUPS server.
#include "graphics/export/print_command.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <future>
#include <thread>

#include "graphics/draw/drawing_context.h"
#include "graphics/klv.h"
#include "graphics/window/window_procedure.h"
#include "platform/ui/testing.h"
#include "tests/platform/print/cups_fixture.h"
#include "tests/support/library_window.h"

namespace klv {
namespace {

using klv::testing::PrintedJob;
using klv::testing::RgbImage;

// ---- layout ------------------------------------------------------------------

void expect_image(const PrintLayout& layout, int x, int y, int width, int height) {
    EXPECT_EQ(layout.image_x, x);
    EXPECT_EQ(layout.image_y, y);
    EXPECT_EQ(layout.image_width, width);
    EXPECT_EQ(layout.image_height, height);
}

TEST(PrintLayoutTest, DemonstrationWindowAt600DotsPerInch) {
    PrintLayout seven = print_layout(600, 600, 7.0, 0.75, 0.75, 640, 480, true);
    EXPECT_EQ(seven.title_x, 450);
    EXPECT_EQ(seven.title_y, 450);
    expect_image(seven, 450, 600, 4200, 3150);
    expect_image(print_layout(600, 600, 2.0, 0.75, 0.75, 640, 480, true), 450, 600, 1200, 900);
    expect_image(print_layout(600, 600, 4.5, 0.75, 0.75, 640, 480, true), 450, 600, 2700, 2025);
}

TEST(PrintLayoutTest, HeightsAreTruncatedTowardZero) {
    expect_image(print_layout(300, 300, 4.5, 0.75, 0.75, 640, 480, true), 225, 300, 1350, 1012);
}

TEST(PrintLayoutTest, WithoutATitleTheImageStartsAtTheTopMargin) {
    expect_image(print_layout(600, 600, 7.0, 0.75, 0.75, 640, 480, false), 450, 450, 4200, 3150);
}

TEST(PrintLayoutTest, UnequalResolutionsKeepTheWindowsProportions) {
    // 7 by 5.25 inches either way: 4200 dots across, 1575 (300 dpi) down.
    PrintLayout layout = print_layout(600, 300, 7.0, 0.75, 0.75, 640, 480, true);
    EXPECT_EQ(layout.title_y, 225);
    expect_image(layout, 450, 300, 4200, 1575);
    expect_image(print_layout(300, 600, 7.0, 0.75, 0.75, 640, 480, true), 225, 600, 2100, 3150);
}

TEST(PrintLayoutTest, ImageIsTheRequestedWidthForAnyRegion) {
    for (int width : {1, 2, 3, 7, 99, 333, 640, 1001, 4000}) {
        for (int height : {1, 5, 480}) {
            PrintLayout layout = print_layout(600, 600, 4.5, 0.75, 0.75, width, height, true);
            EXPECT_GE(layout.image_width, 2699) << width;  // 2700 up to rounding of the scale
            EXPECT_LE(layout.image_width, 2700) << width;
            EXPECT_NEAR(layout.image_height, 2700.0 * height / width, 1.0) << width << "x" << height;
        }
    }
}

TEST(PrintLayoutTest, UnreasonableNumbersGiveDefinedResults) {
    expect_image(print_layout(0, 600, 7.0, 0.75, 0.75, 640, 480, true), 0, 0, 0, 0);
    expect_image(print_layout(600, 600, 7.0, 0.75, 0.75, 0, 480, true), 0, 0, 0, 0);
    PrintLayout nan = print_layout(600, 600, std::nan(""), std::nan(""), 0.75, 640, 480, true);
    expect_image(nan, 0, 600, 0, 0);
    PrintLayout huge = print_layout(600, 600, 1e300, -1e300, 0.75, 640, 480, true);
    EXPECT_EQ(huge.image_width, INT_MAX);
    EXPECT_EQ(huge.image_x, INT_MIN);
}

// ---- whole jobs --------------------------------------------------------------

constexpr std::uint32_t red = 0xFF0000, blue = 0x0000FF, white = 0xFFFFFF;

int ink_in(const RgbImage& image, int left, int top, int right, int bottom) {
    int ink = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) ink += image.at(x, y) != white;
    return ink;
}

class PrintCommandTest : public print::PrinterSuite {
protected:
    void TearDown() override {
        close_window(-2);
        print::PrinterSuite::TearDown();
    }

    // Opens a 640 by 480 window whose page is red left of x = 320 and blue from there.
    ui::Window* open_two_colour_window(const char* title, bool double_buffer = false) {
        EXPECT_GE(open_window(640, 480, title, 0, 0, double_buffer, false), 0);
        test::wait_idle();
        paint_page(0, red, blue);
        return test::current_window_handle();
    }
    static void paint_page(int page, std::uint32_t left_colour, std::uint32_t right_colour) {
        WindowState* state = test::current_state();
        std::lock_guard lock(state->mutex);
        gdi::Bitmap* bitmap = state->page_dc[std::size_t(page)]->bitmap;
        for (int y = 0; y < bitmap->height(); ++y)
            for (int x = 0; x < bitmap->width(); ++x) bitmap->row(y)[x] = x < 320 ? left_colour : right_colour;
    }

    PrintedJob next_job(std::size_t before) {
        std::vector<PrintedJob> jobs = cups().wait_for_jobs(before + 1);
        EXPECT_EQ(jobs.size(), before + 1);
        return jobs.empty() ? PrintedJob{} : jobs.back();
    }
    std::size_t jobs_after_a_moment() { return cups().jobs_once_idle().size(); }
};

// At 72 dpi one rendered pixel is a point; the printable area starts at (18, 36).
// An image w inches wide at (450, 600) dots of 600 dpi covers (72, 108) to
// (72 + 72 w, 108 + 54 w): red in its left half, blue in its right half
// (a narrow image's colours a unit or two off, shrunk by the renderer).
void expect_printed_page(const RgbImage& page, double inches = 7.0, int image_top = 108) {
    ASSERT_EQ(page.width, 612);
    const auto near = [&](int x, int y, std::uint32_t colour) {
        const std::uint32_t p = page.at(x, y);
        for (int shift : {0, 8, 16})
            if (std::abs(int(p >> shift & 0xFF) - int(colour >> shift & 0xFF)) > 4) return false;
        return true;
    };
    const int right = 72 + int(72 * inches), bottom = image_top + int(54 * inches), middle = (72 + right) / 2;
    EXPECT_TRUE(near(74, image_top + 2, red));
    EXPECT_TRUE(near(middle - 2, image_top + 2, red));
    EXPECT_TRUE(near(middle + 2, image_top + 2, blue));
    EXPECT_TRUE(near(right - 2, bottom - 4, blue));
    EXPECT_EQ(page.at(70, image_top + 20), white);
    EXPECT_EQ(page.at(right + 2, image_top + 20), white);
    EXPECT_EQ(page.at(middle, bottom + 2), white);
}

// Each entry of the menu prints at its own width, under the window's title.
TEST_F(PrintCommandTest, EachMenuEntryPrintsTitleAndVisualPageAtItsWidth) {
    ui::Window* window = open_two_colour_window("Pie Chart");
    print::testing::set_print_dialog_answer("klv600");
    for (auto [command, inches] : {std::pair{print_2_inch_command, 2.0}, {print_4_5_inch_command, 4.5},
                                   {print_7_inch_command, 7.0}}) {
        SCOPED_TRACE(inches);
        std::size_t before = cups().printed_jobs().size();
        ui::testing::choose_system_command(window, command);
        PrintedJob job = next_job(before);
        EXPECT_EQ(job.name, "Windows KLV");
        EXPECT_EQ(job.page_count(), 1);
        RgbImage page = job.render(72);
        expect_printed_page(page, inches);
        EXPECT_GT(ink_in(page, 72, 90, 160, 104), 20);  // the title at (450, 450) dots
        EXPECT_EQ(ink_in(page, 0, 0, 612, 89), 0);
    }
}

TEST_F(PrintCommandTest, ViewportOriginDoesNotShiftThePrintedImage) {
    ui::Window* window = open_two_colour_window("Pie Chart");
    set_viewport(100, 50, 640, 480, 0);
    print::testing::set_print_dialog_answer("klv600");
    std::size_t before = cups().printed_jobs().size();
    print_command(nullptr, 7.0, 0.75, 0.75, 0, 0, INT_MAX, INT_MAX, false, window);
    expect_printed_page(next_job(before).render(72));
}

TEST_F(PrintCommandTest, UntitledWindowPrintsNoTitleAndTheImageAtTheMargin) {
    ui::Window* window = open_two_colour_window("");
    print::testing::set_print_dialog_answer("klv600");
    std::size_t before = cups().printed_jobs().size();
    print_command(nullptr, 7.0, 0.75, 0.75, 0, 0, INT_MAX, INT_MAX, false, window);
    RgbImage page = next_job(before).render(72);
    expect_printed_page(page, 7.0, 90);  // 450 dots down
    EXPECT_EQ(ink_in(page, 0, 0, 612, 89), 0);
}

TEST_F(PrintCommandTest, UnequalResolutionsGiveTheSamePhysicalPage) {
    ui::Window* window = open_two_colour_window("Pie Chart");
    print::testing::set_print_dialog_answer("klvwide");
    std::size_t before = cups().printed_jobs().size();
    print_command(nullptr, 7.0, 0.75, 0.75, 0, 0, INT_MAX, INT_MAX, false, window);
    expect_printed_page(next_job(before).render(72));
}

TEST_F(PrintCommandTest, MenuCommandsPrintTheVisualPageNotTheActiveOne) {
    ui::Window* window = open_two_colour_window("Pie Chart", true);  // draws on page 1, shows page 0
    paint_page(1, blue, blue);
    print::testing::set_print_dialog_answer("klv600");
    std::size_t before = cups().printed_jobs().size();
    ui::testing::choose_system_command(window, print_7_inch_command);
    expect_printed_page(next_job(before).render(72));
}

TEST_F(PrintCommandTest, PrinterTakingNoImagesGetsTheTitleOnly) {
    ui::Window* window = open_two_colour_window("Pie Chart");
    print::testing::set_print_dialog_answer("klvtext");
    std::size_t before = cups().printed_jobs().size();
    print_command(nullptr, 7.0, 0.75, 0.75, 0, 0, INT_MAX, INT_MAX, false, window);
    RgbImage page = next_job(before).render(72);
    EXPECT_GT(ink_in(page, 72, 90, 160, 104), 20);
    EXPECT_EQ(ink_in(page, 0, 106, 612, 792), 0);
}

TEST_F(PrintCommandTest, CancelPrintsNothingAndTheNextDialogOpensOnTheLastChoice) {
    ui::Window* window = open_two_colour_window("Pie Chart");
    std::vector<std::string> opened_on;
    std::optional<std::string> answer = "klvwide";
    print::testing::set_print_chooser([&](const std::vector<std::string>&, const std::string& initial) {
        opened_on.push_back(initial);
        return answer;
    });
    std::size_t before = cups().printed_jobs().size();
    print_command(nullptr, 2.0, 0.75, 0.75, 0, 0, INT_MAX, INT_MAX, false, window);
    next_job(before);
    answer = std::nullopt;
    print_command(nullptr, 2.0, 0.75, 0.75, 0, 0, INT_MAX, INT_MAX, false, window);
    print_command(nullptr, 2.0, 0.75, 0.75, 0, 0, INT_MAX, INT_MAX, false, window);
    EXPECT_EQ(jobs_after_a_moment(), before + 1);
    EXPECT_EQ(opened_on, (std::vector<std::string>{"klv600", "klvwide", "klvwide"}));
}

TEST_F(PrintCommandTest, PagesHeldElsewhereTooLongPrintNothingAndStayHeld) {
    ui::Window* window = open_two_colour_window("Pie Chart");
    print::testing::set_print_dialog_answer("klv600");
    std::size_t before = cups().printed_jobs().size();
    WindowState* state = test::current_state();
    PageMutex& pages = state->mutex;
    testing::set_page_lock_wait(std::chrono::milliseconds(300));
    pages.lock();
    auto printing = std::async(std::launch::async,
                               [&] { print_command(nullptr, 2.0, 0.75, 0.75, 0, 0, 10, 10, false, window); });
    const bool gave_up = printing.wait_for(std::chrono::seconds(3)) == std::future_status::ready;
    EXPECT_TRUE(gave_up) << "the command waited for the pages for ever";
    EXPECT_FALSE(pages.try_lock());  // still ours: the command released nothing
    pages.unlock();
    printing.wait();
    testing::set_page_lock_wait(std::chrono::milliseconds(page_lock_timeout_ms));
    EXPECT_EQ(jobs_after_a_moment(), before);
}

TEST_F(PrintCommandTest, TwoWindowsPrintingAtOnceEachGetTheirJob) {
    ui::Window* first = open_two_colour_window("first");
    ui::Window* second = open_two_colour_window("second");
    print::testing::set_print_dialog_answer("klv600");
    std::size_t before = cups().printed_jobs().size();
    ui::testing::choose_system_command(first, print_2_inch_command);
    ui::testing::choose_system_command(second, print_2_inch_command);
    std::vector<PrintedJob> jobs = cups().wait_for_jobs(before + 2);
    ASSERT_EQ(jobs.size(), before + 2);
    std::lock_guard lock(print::print_dialog_mutex());
    EXPECT_EQ(print::print_dialog_record().device_names, "klv600");
    EXPECT_EQ(print::print_dialog_record().size, 66u);
}

using PrintCommandWithoutPrinterTest = print::NoPrinterSuite;

TEST_F(PrintCommandWithoutPrinterTest, NothingHappensAndNothingIsAsked) {
    ASSERT_GE(open_window(64, 48, "Pie Chart", 0, 0, false, false), 0);
    bool asked = false;
    print::testing::set_print_chooser([&](const std::vector<std::string>&, const std::string&) {
        asked = true;
        return std::optional<std::string>("anything");
    });
    print_command(nullptr, 7.0, 0.75, 0.75, 0, 0, INT_MAX, INT_MAX, false, test::current_window_handle());
    EXPECT_FALSE(asked);
    std::lock_guard lock(print::print_dialog_mutex());
    EXPECT_TRUE(print::print_dialog_record().device_names.empty());
    close_window(-2);
}

}  // namespace
}  // namespace klv
