// The system menu as a popup of our own: X11 gives applications none. The
// system's entries come first, then the ones the program appended;
// separators are lines. Arrow keys, Enter, Escape and the mouse work it. Its
// text is the dialogs' (dialog_look.h), grown with the desktop's scale.
#include <X11/keysym.h>

#include <algorithm>
#include <vector>

#include "platform/ui/dialog_look.h"
#include "platform/ui/window_scale.h"
#include "platform/ui/x11/x11_internal.h"

namespace klv::ui {

namespace {

namespace colours = dialog_colours;

struct MenuLayout {
    std::vector<MenuEntry> entries;
    std::vector<int> tops;  // top of each entry; one more for the bottom
    int width = 0;
    int item_height = 0;
};

bool enabled(const MenuEntry& entry) { return !entry.separator && entry.id != SC_RESTORE; }

MenuLayout layout_menu(const std::vector<MenuEntry>& entries, const DialogLook& look) {
    MenuLayout layout;
    layout.entries = entries;
    layout.item_height = look.line_height() + look.px(8);
    int y = look.px(3);
    int widest = look.px(60);
    for (const auto& entry : entries) {
        layout.tops.push_back(y);
        y += entry.separator ? look.px(7) : layout.item_height;
        widest = std::max(widest, look.text_width(entry.text));
    }
    layout.tops.push_back(y + look.px(3));
    layout.width = widest + look.px(48);
    return layout;
}

int entry_at(const MenuLayout& layout, int x, int y) {
    if (x < 0 || x >= layout.width) return -1;
    for (std::size_t i = 0; i < layout.entries.size(); ++i) {
        if (y >= layout.tops[i] && y < layout.tops[i + 1] && enabled(layout.entries[i])) return int(i);
    }
    return -1;
}

// The menu's picture, drawn by the text engine into `dc`'s bitmap.
void paint_menu(gdi::DeviceContext* dc, const MenuLayout& layout, const DialogLook& look, int selected) {
    const int height = layout.tops.back();
    look.fill(dc, {0, 0, layout.width, height}, colours::face);
    look.outline(dc, {0, 0, layout.width, height}, colours::border);
    for (std::size_t i = 0; i < layout.entries.size(); ++i) {
        const auto& entry = layout.entries[i];
        const int top = layout.tops[i];
        if (entry.separator) {
            look.fill(dc, {look.px(4), top + look.px(3), layout.width - look.px(4), top + look.px(3) + look.scale()},
                      colours::light_border);
            continue;
        }
        if (int(i) == selected) {
            look.fill(dc, {look.px(2), top, layout.width - look.px(2), top + layout.item_height}, colours::highlight);
        }
        look.text(dc, look.px(24), top + (layout.item_height - look.line_height()) / 2, entry.text,
                  enabled(entry) ? colours::text : colours::grey_text);
    }
}

// A picture of the menu and the X window it is shown in.
class MenuCanvas {
public:
    MenuCanvas(Display* display, ::Window window, const MenuLayout& layout)
        : display_(display), window_(window), gc_(XCreateGC(display, window, 0, nullptr)),
          dc_(gdi::create_compatible_dc(nullptr)),
          bitmap_(gdi::create_compatible_bitmap(dc_, layout.width, layout.tops.back())) {
        if (bitmap_) gdi::select_object(dc_, bitmap_);
    }
    ~MenuCanvas() {
        gdi::delete_dc(dc_);
        if (bitmap_) gdi::delete_object(bitmap_);
        XFreeGC(display_, gc_);
    }
    MenuCanvas(const MenuCanvas&) = delete;
    MenuCanvas& operator=(const MenuCanvas&) = delete;

    void show(const MenuLayout& layout, const DialogLook& look, int selected) {
        if (!bitmap_) return;
        paint_menu(dc_, layout, look, selected);
        const int screen = DefaultScreen(display_);
        XImage* image = XCreateImage(display_, DefaultVisual(display_, screen), unsigned(DefaultDepth(display_, screen)),
                                     ZPixmap, 0, reinterpret_cast<char*>(bitmap_->pixels()), unsigned(bitmap_->width()),
                                     unsigned(bitmap_->height()), 32, bitmap_->width() * 4);
        if (!image) return;
        XPutImage(display_, window_, gc_, image, 0, 0, 0, 0, unsigned(bitmap_->width()), unsigned(bitmap_->height()));
        image->data = nullptr;  // the bitmap keeps its pixels
        XDestroyImage(image);
        XFlush(display_);
    }

private:
    Display* display_;
    ::Window window_;
    GC gc_;
    gdi::DeviceContext* dc_;
    gdi::Bitmap* bitmap_;
};

int step(const MenuLayout& layout, int selected, int direction) {
    const int count = int(layout.entries.size());
    for (int n = 1; n <= count; ++n) {
        const int i = ((selected < 0 ? (direction > 0 ? -1 : 0) : selected) + direction * n + count * 2) % count;
        if (enabled(layout.entries[std::size_t(i)])) return i;
    }
    return selected;
}

::Window make_popup(Display* d, int x, int y, int width, int height) {
    const int screen = DefaultScreen(d);
    x = std::clamp(x, 0, std::max(0, DisplayWidth(d, screen) - width));
    y = std::clamp(y, 0, std::max(0, DisplayHeight(d, screen) - height));
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.save_under = True;
    attributes.background_pixel = 0xF0F0F0;
    attributes.event_mask = ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    ::Window w = XCreateWindow(d, DefaultRootWindow(d), x, y, unsigned(width), unsigned(height), 0, CopyFromParent,
                               InputOutput, CopyFromParent, CWOverrideRedirect | CWSaveUnder | CWBackPixel | CWEventMask,
                               &attributes);
    XStoreName(d, w, "System menu");  // for tools that look for it
    XMapRaised(d, w);
    XSync(d, False);
    return w;
}

void grab_input(Display* d, ::Window w) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const int pointer = XGrabPointer(d, w, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                                         GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
        const int keyboard = XGrabKeyboard(d, w, False, GrabModeAsync, GrabModeAsync, CurrentTime);
        if ((pointer == GrabSuccess && keyboard == GrabSuccess) || x_connection_lost(d)) return;
        XUngrabPointer(d, CurrentTime);
        XUngrabKeyboard(d, CurrentTime);
        struct timespec pause{0, 10'000'000};
        nanosleep(&pause, nullptr);
    }
}

}  // namespace

std::uint32_t run_system_menu(X11Display& display, Window& window, int root_x, int root_y) {
    Display* d = display.display();
    std::vector<MenuEntry> entries;
    {
        std::lock_guard lock(window.mutex);
        entries = window.system_menu;
    }
    if (entries.empty()) return 0;
    const int from_environment = scale_from_environment();
    const DialogLook look(from_environment != 0 ? from_environment : display.desktop_scale());
    const MenuLayout layout = layout_menu(entries, look);
    ::Window popup = make_popup(d, root_x, root_y, layout.width, layout.tops.back());
    MenuCanvas canvas(d, popup, layout);
    grab_input(d, popup);
    int selected = -1;
    bool pressed_inside = false;
    std::uint32_t chosen = 0;
    bool open = true;
    canvas.show(layout, look, selected);
    XEvent event;
    while (open && next_x_event(d, &event)) {
        if (event.xany.window != popup) {
            display.handle(event);  // our windows still repaint
            continue;
        }
        switch (event.type) {
            case Expose: break;
            case MotionNotify: selected = entry_at(layout, event.xmotion.x, event.xmotion.y); break;
            case ButtonPress:
                pressed_inside = entry_at(layout, event.xbutton.x, event.xbutton.y) >= 0;
                if (event.xbutton.x < 0 || event.xbutton.y < 0 || event.xbutton.x >= layout.width ||
                    event.xbutton.y >= layout.tops.back()) {
                    open = false;
                }
                break;
            case ButtonRelease: {
                const int at = entry_at(layout, event.xbutton.x, event.xbutton.y);
                if (at >= 0 && pressed_inside) {
                    chosen = layout.entries[std::size_t(at)].id;
                    open = false;
                }
                break;
            }
            case KeyPress: {
                const KeySym key = XLookupKeysym(&event.xkey, 0);
                if (key == XK_Escape || key == XK_F10 || key == XK_Menu) open = false;
                if (key == XK_Down || key == XK_KP_Down) selected = step(layout, selected, 1);
                if (key == XK_Up || key == XK_KP_Up) selected = step(layout, selected, -1);
                if ((key == XK_Return || key == XK_KP_Enter || key == XK_space) && selected >= 0) {
                    chosen = layout.entries[std::size_t(selected)].id;
                    open = false;
                }
                break;
            }
            default: break;
        }
        if (open) canvas.show(layout, look, selected);
    }
    XUngrabPointer(d, CurrentTime);
    XUngrabKeyboard(d, CurrentTime);
    XDestroyWindow(d, popup);
    XFlush(d);
    return chosen;
}

}  // namespace klv::ui
