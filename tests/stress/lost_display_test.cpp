// A lost display ends the program: the X server is killed under a program
// waiting for a key, sleeping, drawing, with its save dialog open or just
// closed; each ends within a second with status 1 and one line on stderr
// naming the display. Each case has an X server of its own.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "tests/graphics/export/temp_folder.h"
#include "tests/stress/processes.h"
#include "tests/support/eventually.h"
#include "tests/support/stand_in_program.h"
#include "tests/support/test_needs.h"

namespace klv::test {
namespace {

using namespace std::chrono_literals;

struct LostDisplayCase {
    const char* name;
    std::vector<std::string> arguments;  // the program and its arguments; "FILE": a file of the test's folder
    bool dialog_waits;                   // the stand-in dialog program waits (else it answers at once)
};

// The pie chart's window is on the screen and its main thread asleep in a
// futex: drawn, it waits for its key.
bool chart_waits_for_a_key(pid_t pid, const std::string& display) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/syscall");
    std::string number;
    in >> number;
    return number == "202" && std::system(("DISPLAY=" + display +
                                           " xdotool search --onlyvisible --name '^Pie Chart$' >/dev/null 2>&1")
                                              .c_str()) == 0;
}

// The thread checker's own work at exit takes a few hundred milliseconds,
// over a second on a busy machine: it times the sanitizer, not the program.
#if defined(__SANITIZE_THREAD__)
constexpr std::chrono::milliseconds exit_deadline{3000};
#else
constexpr std::chrono::milliseconds exit_deadline{1000};
#endif

class LostDisplay : public ::testing::TestWithParam<LostDisplayCase> {};

TEST_P(LostDisplay, EndsTheProgramWithinASecondWithOneLine) {
    KLV_NEED(program_installed("Xvfb") && program_installed("xdotool"), "Xvfb and xdotool");
    PrivateXServer server;
    ASSERT_TRUE(server.ok()) << "Xvfb did not start";
    TempFolder folder;
    const std::string picture = folder.file("picture");
    const LostDisplayCase& c = GetParam();
    StandInProgram chooser(folder.path(), "zenity", picture + "\n", 0, c.dialog_waits);
    std::vector<std::string> arguments = c.arguments;
    for (auto& argument : arguments) {
        if (argument == "FILE") argument = c.dialog_waits ? chooser.path() + ".ready" : picture + ".BMP";
    }
    const char* path = std::getenv("PATH");
    const char* asan = std::getenv("ASAN_OPTIONS");
    const char* tsan = std::getenv("TSAN_OPTIONS");
    // The leak scan at exit would take most of the second on a busy machine,
    // and the thread checker waits a second at exit: that times the
    // sanitizer, not the program.
    ChildProcess program(arguments, {"DISPLAY=" + server.name(), "KLV_BACKEND=x11",
                                     "PATH=" + folder.path().string() + ":" + (path ? path : ""),
                                     "ASAN_OPTIONS=" + std::string(asan ? asan : "") + ":detect_leaks=0",
                                     "TSAN_OPTIONS=" + std::string(tsan ? tsan : "") + ":atexit_sleep_ms=0"});
    ASSERT_TRUE(program.started());
    // Ready when it says so; the pie chart once it waits for its key.
    const bool ready = arguments.size() > 1 ? program.wait_for_line("ready", 30s)
                                            : eventually([&] { return chart_waits_for_a_key(program.pid(), server.name()); }, 30s);
    ASSERT_TRUE(ready) << program.error_output();

    server.kill_now();
    const auto killed = std::chrono::steady_clock::now();
    const std::optional<int> status = program.wait_for_exit(exit_deadline);
    ASSERT_TRUE(status) << "still running " << exit_deadline.count() << " ms after the display went away";
    std::cout << "ended " << std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - killed).count()
              << " ms after the display went away\n";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 1) << "wait status " << *status;
    EXPECT_EQ(program.error_output(), "The connection to display " + server.name() + " was lost; the program ends.\n");
}

INSTANTIATE_TEST_SUITE_P(
    Programs, LostDisplay,
    ::testing::Values(LostDisplayCase{"PieChartWaitingForAKey", {KLV_PIE_CHART}, false},
                      LostDisplayCase{"SleepingInWaitMs", {KLV_LOST_DISPLAY_PROGRAM, "wait_ms"}, false},
                      LostDisplayCase{"DrawingInALoop", {KLV_LOST_DISPLAY_PROGRAM, "drawing"}, false},
                      LostDisplayCase{"SaveDialogOpen", {KLV_LOST_DISPLAY_PROGRAM, "dialog_open", "FILE"}, true},
                      LostDisplayCase{"SaveDialogJustClosed", {KLV_LOST_DISPLAY_PROGRAM, "dialog_closed", "FILE"}, false}),
    [](const ::testing::TestParamInfo<LostDisplayCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace klv::test
