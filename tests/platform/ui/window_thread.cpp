#include "tests/platform/ui/window_thread.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform/ui/testing.h"

namespace klv::ui::test {

namespace {

void register_test_classes() {
    static std::once_flag once;
    std::call_once(once, [] {
        register_class({dblclk_class, CS_DBLCLKS | CS_SAVEBITS, &WindowThread::procedure, gdi::BLACK_BRUSH});
        register_class({plain_class, 0, &WindowThread::procedure, gdi::BLACK_BRUSH});
    });
}

void paint(Window* window, gdi::ColorRef color) {
    PaintInfo paint;
    gdi::DeviceContext* dc = begin_paint(window, &paint);
    gdi::Brush* brush = gdi::create_solid_brush(color);
    gdi::fill_rect(dc, paint.paint, brush);
    gdi::delete_object(brush);
    end_paint(window, &paint);
}

}  // namespace

int outer_width(int client_width) { return client_width + 2 * system_metric(SM_CXDLGFRAME); }
int outer_height(int client_height, bool titled) {
    return client_height + 2 * system_metric(SM_CYDLGFRAME) + (titled ? system_metric(SM_CYCAPTION) : 0);
}

WindowThread::WindowThread(WindowOptions options) : options_(std::move(options)) {
    register_test_classes();
    thread_ = std::thread([this] { run(); });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return created_; });
}

WindowThread::~WindowThread() { close_and_join(); }

void WindowThread::close_and_join() {
    if (!thread_.joinable()) return;
    if (window_) send_message(window_, WM_DESTROY, 0, 0);
    thread_.join();
}

void WindowThread::run() {
    const bool titled = !options_.title.empty();
    const std::uint32_t style = titled ? WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX : WS_POPUP | WS_DLGFRAME;
    Window* window = create_window(options_.class_name, options_.title, style, options_.left, options_.top,
                                   outer_width(options_.client_width), outer_height(options_.client_height, titled));
    if (window) {
        set_user_data(window, this);
        show_window(window, SW_SHOWNORMAL);
        update_window(window);
    }
    {
        std::lock_guard lock(mutex_);
        window_ = window;
        created_ = true;
    }
    changed_.notify_all();
    if (!window) return;
    Message message;
    while (get_message(&message)) {
        translate_message(message);
        dispatch_message(message);
    }
}

std::intptr_t WindowThread::procedure(Window* window, std::uint32_t message, std::uintptr_t wparam,
                                      std::intptr_t lparam) {
    auto* self = static_cast<WindowThread*>(user_data(window));
    if (!self) return default_procedure(window, message, wparam, lparam);
    self->log(message, wparam, lparam);
    std::intptr_t result = 0;
    if (self->hook && self->hook(message, wparam, lparam, &result)) return result;
    switch (message) {
        case WM_PAINT: paint(window, self->options_.paint_color); return 0;
        case WM_DESTROY: post_quit_message(0); return 0;
        case WM_CLOSE:
            if (self->options_.close_destroys) break;
            return 1;
        default: break;
    }
    return default_procedure(window, message, wparam, lparam);
}

void WindowThread::log(std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
    {
        std::lock_guard lock(mutex_);
        log_.push_back({message, wparam, lparam, std::this_thread::get_id()});
    }
    changed_.notify_all();
}

std::vector<LoggedMessage> WindowThread::messages() const {
    std::lock_guard lock(mutex_);
    return log_;
}

std::vector<std::uint32_t> WindowThread::message_numbers() const {
    std::vector<std::uint32_t> numbers;
    for (const auto& m : messages()) {
        if (m.message != WM_NCHITTEST && m.message != WM_ERASEBKGND) numbers.push_back(m.message);
    }
    return numbers;
}

void WindowThread::clear_log() {
    std::lock_guard lock(mutex_);
    log_.clear();
}

bool WindowThread::wait_for(std::uint32_t message, int timeout_ms) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] {
        for (const auto& m : log_) {
            if (m.message == message) return true;
        }
        return false;
    });
}

bool WindowThread::settle() const { return testing::wait_until_idle(window_, 5000); }

}  // namespace klv::ui::test
