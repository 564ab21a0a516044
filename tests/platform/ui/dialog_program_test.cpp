// Dialog programs run from a window procedure, as the save and print
// commands run them: played by a stand-in program on a folder of the test's.
#include "platform/ui/dialog_program.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>

#include "platform/ui/testing.h"
#include "tests/graphics/export/temp_folder.h"
#include "tests/platform/ui/window_thread.h"
#include "tests/support/stand_in_program.h"

namespace klv::ui {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t WM_RUN_DIALOG = 0x0400;
constexpr std::uint32_t WM_QUIT_NOW = 0x0401;

// A window whose procedure runs the program on WM_RUN_DIALOG and keeps the answer.
struct DialogWindow {
    explicit DialogWindow(const klv::test::StandInProgram& program) {
        window.hook = [this, &program](std::uint32_t message, std::uintptr_t, std::intptr_t, std::intptr_t*) {
            if (message == WM_QUIT_NOW) post_quit_message(0);
            if (message != WM_RUN_DIALOG) return false;
            answer.set_value(run_dialog_program(window.window(), {program.path(), "--question"}));
            return true;
        };
        post_message(window.window(), WM_RUN_DIALOG, 0, 0);
    }
    test::WindowThread window;
    std::promise<std::optional<ProgramAnswer>> answer;
};

// The time from an invalidation to the paint that follows it.
Clock::duration repaint_time(test::WindowThread& w) {
    if (!w.settle()) return std::chrono::hours(1);  // the last paint has ended
    w.clear_log();
    const auto start = Clock::now();
    invalidate_rect(w.window(), nullptr, false);
    if (!w.wait_for(WM_PAINT, 5000)) return std::chrono::hours(1);
    return Clock::now() - start;
}

TEST(DialogProgram, TheWaitingWindowRepaintsAnswersCloseAndSendsButTakesNoInput) {
    klv::test::TempFolder folder;
    klv::test::StandInProgram program(folder.path(), "zenity", "/tmp/chart\n", 0);
    DialogWindow dialog(program);
    ASSERT_TRUE(program.wait_until_running());

    Clock::duration slowest{};
    for (int i = 0; i < 5; ++i) slowest = std::max(slowest, repaint_time(dialog.window));
    // One paint interval (8 ms) and the scheduling of a busy machine.
    EXPECT_LT(slowest, 100ms);

    testing::request_close(dialog.window.window());
    EXPECT_TRUE(dialog.window.wait_for(WM_CLOSE, 5000));
    EXPECT_EQ(send_message(dialog.window.window(), WM_NULL, 0, 0), 0);  // returns while the program runs
    testing::type_character(dialog.window.window(), 'x');

    program.release();
    auto answer = dialog.answer.get_future().get();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->output, "/tmp/chart\n");
    EXPECT_EQ(answer->exit_code, 0);
    ASSERT_TRUE(dialog.window.settle());
    for (const auto& m : dialog.window.messages()) EXPECT_NE(m.message, WM_CHAR);  // the owner was disabled
    testing::type_character(dialog.window.window(), 'y');  // and is enabled again
    EXPECT_TRUE(dialog.window.wait_for(WM_CHAR, 5000));
}

TEST(DialogProgram, AThreadAskedToQuitEndsTheProgramAndGetsNoAnswer) {
    klv::test::TempFolder folder;
    klv::test::StandInProgram program(folder.path(), "zenity", "never", 0);
    DialogWindow dialog(program);
    ASSERT_TRUE(program.wait_until_running());
    const auto start = Clock::now();
    post_message(dialog.window.window(), WM_QUIT_NOW, 0, 0);
    auto answer = dialog.answer.get_future().get();
    EXPECT_FALSE(answer);
    EXPECT_LT(Clock::now() - start, 5s);  // the program was ended, not waited for
}

TEST(DialogProgram, AProgramThatCannotStartGivesNoAnswer) {
    klv::test::TempFolder folder;
    EXPECT_EQ(find_program(folder.file("absent")), "");
    EXPECT_FALSE(run_dialog_program(nullptr, {folder.file("absent")}));
    EXPECT_FALSE(run_dialog_program(nullptr, {}));
}

}  // namespace
}  // namespace klv::ui
