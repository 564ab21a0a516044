// A window in the page: a canvas in a frame of ours, drawn from the frames
// the window presents; the page's input for it turned into the desktop's
// input events. Internal to platform/ui/web.
#pragma once

#include <atomic>
#include <functional>
#include <set>
#include <string>

#include "platform/ui/backend.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/web/page_link.h"
#include "platform/ui/web/web_menu.h"

namespace klv::ui {

class WebWindow final : public NativeWindow {
public:
    // `gone` is called as the window goes (its display forgets it).
    WebWindow(Window& window, std::function<void(WebWindow*)> gone);
    ~WebWindow() override;

    void show(bool visible) override;
    void present(const gdi::Bitmap& image, const gdi::Rect& rect) override { link_.present(image, rect); }
    bool start_move() override { return false; }  // a frame in the page stays where the program put it
    void keyboard_move() override {}
    void minimize() override {}
    void restore() override {}
    void open_system_menu() override;
    void set_title(const std::string& title) override;
    void rescale() override;

    // On the window's thread: opens the system menu the page asked for.
    void answer_menu_request();

private:
    void on_input(const PageInput& input);  // on the page's thread
    void on_key(const PageInput& input, bool down);
    void on_pointer(const PageInput& input);
    bool is_menu_key(const PageInput& input) const;
    void request_menu(int x, int y);
    void to_menu(const PageInput& input);

    Window& window_;
    std::set<std::string> keys_down_;
    std::atomic<bool> menu_requested_{false};
    std::atomic<bool> menu_open_{false};  // from the request on: the page's input goes to the popup
    std::atomic<int> menu_x_{0}, menu_y_{0};
    MenuInbox menu_inbox_;
    std::function<void(WebWindow*)> gone_;
    PageLink link_;  // last: gone first, before the page can reach a member half destroyed
};

}  // namespace klv::ui
