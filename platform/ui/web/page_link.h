// What joins a window thread's window to its place in the page: the frame
// the page shows (the client area's pixels as RGBA, the part changed since
// the page last drew), found by the window's number from the page's own
// thread, which draws frames and hands over the DOM's input. Internal to
// platform/ui/web.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/gdi/gdi.h"

namespace klv::ui {

// What the page hands over: a key, a pointer event, a close request.
struct PageInput {
    enum class Kind {
        key_down, key_up, pointer_move, pointer_down, pointer_up, close,
        menu,                               // open the system menu (at x, y)
        menu_move, menu_down, menu_up       // on the menu's popup (its own pixels)
    } kind = Kind::close;
    std::string_view key, code;  // key events: KeyboardEvent.key and .code
    bool shift = false, control = false, alt = false, repeat = false;
    int x = 0, y = 0;  // pointer events: screen pixels from the client area's top-left corner
    int button = 0;    // 0 left, 1 right, 2 middle
    int buttons = 0;   // the DOM's buttons held (1 left, 2 right, 4 middle)
    std::uint32_t time_ms = 0;
};

class PageLink {
public:
    using InputHandler = std::function<void(const PageInput&)>;
    PageLink(int number, InputHandler on_input);
    ~PageLink();
    PageLink(const PageLink&) = delete;
    PageLink& operator=(const PageLink&) = delete;

    int number() const { return number_; }
    // From the window's thread: the rectangle of the image becomes part of
    // the next frame.
    void present(const gdi::Bitmap& image, const gdi::Rect& rect);

    // From the page's thread (page_entry.cpp), under the links' lock.
    struct Frame {
        std::uint8_t* rgba;
        int width, height;
        int left, top, right, bottom;  // the changed part
    };
    bool take_frame(Frame* frame);  // holds the frame until release_frame
    void release_frame();
    void deliver(const PageInput& input) { on_input_(input); }

private:
    int number_;
    InputHandler on_input_;
    std::mutex mutex_;
    std::vector<std::uint8_t> rgba_;
    int width_ = 0, height_ = 0;
    gdi::Rect changed_{0, 0, 0, 0};
};

// The numbers of the page's windows, from 0 in the order they open; the
// numbers of dialogs apart.
int new_page_link_number(bool dialog);

// The links' lock and lookup, for page_entry.cpp.
std::mutex& page_links_mutex();
PageLink* find_page_link(int number);

}  // namespace klv::ui
