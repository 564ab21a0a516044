// Programs started one after another on a bare X server: with no window
// manager, each one's end leaves the server without clients and it resets,
// refusing the connections that arrive meanwhile. Every program still opens
// its window and ends with status 0.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tests/stress/processes.h"
#include "tests/support/test_needs.h"

namespace klv::test {
namespace {

using namespace std::chrono_literals;

// Each program waits, already started, for the one before to end, and opens
// its window the moment that one has: when the server is left without
// clients.
TEST(ServerReset, ProgramsStartedAsThePreviousOneEndsEachOpenTheirWindow) {
    KLV_NEED(program_installed("Xvfb"), "Xvfb");
    PrivateXServer server;
    ASSERT_TRUE(server.ok()) << "Xvfb did not start";
    const char* asan = std::getenv("ASAN_OPTIONS");
    const char* tsan = std::getenv("TSAN_OPTIONS");
    // The leak scan and the thread checker's second at exit would only slow each run down.
    const std::vector<std::string> environment{"DISPLAY=" + server.name(), "KLV_BACKEND=x11",
                                               "ASAN_OPTIONS=" + std::string(asan ? asan : "") + ":detect_leaks=0",
                                               "TSAN_OPTIONS=" + std::string(tsan ? tsan : "") + ":atexit_sleep_ms=0"};
    auto previous = std::make_unique<ChildProcess>(std::vector<std::string>{KLV_LOST_DISPLAY_PROGRAM, "ends"}, environment);
    ASSERT_TRUE(previous->wait_for_line("drawn", 20s)) << previous->error_output();
    for (int run = 1; run <= 20; ++run) {
        SCOPED_TRACE("program " + std::to_string(run));
        auto next = std::make_unique<ChildProcess>(
            std::vector<std::string>{KLV_LOST_DISPLAY_PROGRAM, "ends", std::to_string(previous->pid())}, environment);
        ASSERT_TRUE(next->wait_for_line("ready", 20s)) << next->error_output();
        kill(previous->pid(), SIGUSR1);
        const std::optional<int> status = previous->wait_for_exit(20s);
        ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << previous->error_output();
        // A refused connection shows a message box, which waits for a click.
        ASSERT_TRUE(next->wait_for_line("drawn", 10s)) << "no window: " << next->error_output();
        previous = std::move(next);
    }
    kill(previous->pid(), SIGUSR1);
    EXPECT_TRUE(previous->wait_for_exit(20s));
}

}  // namespace
}  // namespace klv::test
