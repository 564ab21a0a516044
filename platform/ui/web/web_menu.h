// The system menu's popup (menu_popup.h) in the page, above the window's
// canvas, run on the window's thread while the page hands it the keys and
// clicks. Internal to platform/ui/web.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

#include "platform/ui/menu_popup.h"

namespace klv::ui {

// What the page hands the open popup.
struct MenuInput {
    enum class Kind { key, move, press, release } kind = Kind::key;
    MenuChoice::Key key = MenuChoice::Key::other;
    int x = 0, y = 0;  // the popup's own pixels
};

class MenuInbox {
public:
    void put(const MenuInput& input);
    // The next input, waiting up to `timeout_ms`; false when none came.
    bool take(MenuInput* input, int timeout_ms);

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<MenuInput> inputs_;
};

// Runs the popup at (x, y) of window `number`'s client area (screen pixels)
// until the user chooses or cancels: the chosen id, or 0.
std::uint32_t run_web_menu(Window& window, int number, int x, int y, int desktop_scale, MenuInbox& inbox);

}  // namespace klv::ui
