#include "platform/ui/headless/headless_display.h"

#include <mutex>

#include "platform/ui/backend.h"
#include "platform/ui/window_record.h"

namespace klv::ui {

namespace {

std::mutex boxes_mutex;
std::vector<std::pair<std::string, std::string>>& boxes() {
    static auto* shown = new std::vector<std::pair<std::string, std::string>>;
    return *shown;
}

class HeadlessWindow final : public NativeWindow {
public:
    void show(bool) override {}
    void present(const gdi::Bitmap&, const gdi::Rect&) override {}  // the core keeps the presented image
    bool start_move() override { return true; }
    void keyboard_move() override {}
    void minimize() override {}
    void restore() override {}
    void open_system_menu() override {}
};

class HeadlessDisplay final : public ThreadDisplay {
public:
    int wait_descriptor() const override { return -1; }
    bool pump(ThreadQueue&) override { return false; }
    std::unique_ptr<NativeWindow> create(Window&) override { return std::make_unique<HeadlessWindow>(); }
    bool is_headless() const override { return true; }
};

}  // namespace

std::unique_ptr<ThreadDisplay> open_headless_display() { return std::make_unique<HeadlessDisplay>(); }

void record_message_box(const std::string& caption, const std::string& text) {
    std::lock_guard lock(boxes_mutex);
    boxes().emplace_back(caption, text);
}

std::vector<std::pair<std::string, std::string>> recorded_message_boxes() {
    std::lock_guard lock(boxes_mutex);
    return boxes();
}

}  // namespace klv::ui
