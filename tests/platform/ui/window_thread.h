// A window on a thread of its own running a message loop, with a log of
// every message its procedure receives: what the window runtime does with
// the service, in a form the tests can watch.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/ui/ui.h"

namespace klv::ui::test {

struct LoggedMessage {
    std::uint32_t message = 0;
    std::uintptr_t wparam = 0;
    std::intptr_t lparam = 0;
    std::thread::id thread;
};

constexpr const char* dblclk_class = "KlvTestDblClk";
constexpr const char* plain_class = "KlvTestPlain";

struct WindowOptions {
    std::string class_name = dblclk_class;
    std::string title = "Test";
    int left = 10;
    int top = 20;
    int client_width = 64;
    int client_height = 48;
    gdi::ColorRef paint_color = 0x0000FF;  // red, painted over every invalid rectangle
    bool close_destroys = false;           // WM_CLOSE to the default procedure
};

class WindowThread {
public:
    explicit WindowThread(WindowOptions options = {});
    ~WindowThread();  // WM_DESTROY by send_message, then the thread is joined

    Window* window() const { return window_; }
    std::vector<LoggedMessage> messages() const;
    std::vector<std::uint32_t> message_numbers() const;  // all but WM_NCHITTEST, WM_ERASEBKGND
    void clear_log();
    bool wait_for(std::uint32_t message, int timeout_ms = 5000) const;
    // Waits until the window's thread is idle; false on time-out.
    bool settle() const;
    std::thread::id thread_id() const { return thread_.get_id(); }
    void close_and_join();
    // Runs on the window thread for each message before the default handling;
    // a true result means handled (returns `result`).
    std::function<bool(std::uint32_t, std::uintptr_t, std::intptr_t, std::intptr_t*)> hook;

    static std::intptr_t procedure(Window* window, std::uint32_t message, std::uintptr_t wparam,
                                   std::intptr_t lparam);

private:
    void run();
    void log(std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam);

    WindowOptions options_;
    Window* window_ = nullptr;
    bool created_ = false;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<LoggedMessage> log_;
    std::thread thread_;
};

// The outer size a client size needs with the dialog frame and, when titled, the caption.
int outer_width(int client_width);
int outer_height(int client_height, bool titled);

}  // namespace klv::ui::test
