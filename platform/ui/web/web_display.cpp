// One "connection" per window thread: the windows it made, whose menu
// requests from the page it answers on its own thread.
#include <algorithm>
#include <vector>

#include "platform/ui/backend.h"
#include "platform/ui/native_desktop.h"
#include "platform/ui/web/web_window.h"

namespace klv::ui {

namespace {

class WebDisplay final : public ThreadDisplay {
public:
    int wait_descriptor() const override { return -1; }
    bool pump(ThreadQueue&) override {
        for (WebWindow* window : windows_) window->answer_menu_request();
        return false;
    }
    std::unique_ptr<NativeWindow> create(Window& window) override {
        auto made = std::make_unique<WebWindow>(window, [this](WebWindow* gone) { forget(gone); });
        windows_.push_back(made.get());
        return made;
    }
    bool is_headless() const override { return false; }
    int desktop_scale() const override { return native_desktop_scale(); }

private:
    void forget(WebWindow* window) { windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end()); }
    std::vector<WebWindow*> windows_;
};

}  // namespace

std::unique_ptr<ThreadDisplay> open_web_display() { return std::make_unique<WebDisplay>(); }

}  // namespace klv::ui
