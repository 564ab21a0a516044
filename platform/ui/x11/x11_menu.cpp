// The system menu as a popup of our own: X11 gives applications none. The
// system's entries come first, then the ones the program appended;
// separators are lines. Arrow keys, Enter, Escape and the mouse work it.
#include <X11/keysym.h>

#include <algorithm>
#include <vector>

#include "platform/ui/x11/x11_internal.h"

namespace klv::ui {

namespace {

constexpr unsigned long menu_background = 0xF0F0F0;
constexpr unsigned long menu_highlight = 0x3070C0;
constexpr unsigned long menu_text = 0x000000;
constexpr unsigned long menu_disabled = 0x909090;

struct MenuLayout {
    std::vector<MenuEntry> entries;
    std::vector<int> tops;  // top of each entry; one more for the bottom
    int width = 0;
    int item_height = 0;
    int ascent = 0;
};

bool enabled(const MenuEntry& entry) { return !entry.separator && entry.id != SC_RESTORE; }

MenuLayout layout_menu(const std::vector<MenuEntry>& entries, XFontStruct* font) {
    MenuLayout layout;
    layout.entries = entries;
    layout.ascent = font ? font->ascent : 10;
    layout.item_height = (font ? font->ascent + font->descent : 13) + 8;
    int y = 3;
    int widest = 60;
    for (const auto& entry : entries) {
        layout.tops.push_back(y);
        y += entry.separator ? 7 : layout.item_height;
        if (font) widest = std::max(widest, XTextWidth(font, entry.text.c_str(), int(entry.text.size())));
    }
    layout.tops.push_back(y + 3);
    layout.width = widest + 48;
    return layout;
}

int entry_at(const MenuLayout& layout, int x, int y) {
    if (x < 0 || x >= layout.width) return -1;
    for (std::size_t i = 0; i < layout.entries.size(); ++i) {
        if (y >= layout.tops[i] && y < layout.tops[i + 1] && enabled(layout.entries[i])) return int(i);
    }
    return -1;
}

void draw_menu(Display* d, ::Window w, GC gc, const MenuLayout& layout, int selected) {
    const int height = layout.tops.back();
    XSetForeground(d, gc, menu_background);
    XFillRectangle(d, w, gc, 0, 0, unsigned(layout.width), unsigned(height));
    XSetForeground(d, gc, 0x808080);
    XDrawRectangle(d, w, gc, 0, 0, unsigned(layout.width - 1), unsigned(height - 1));
    for (std::size_t i = 0; i < layout.entries.size(); ++i) {
        const auto& entry = layout.entries[i];
        const int top = layout.tops[i];
        if (entry.separator) {
            XSetForeground(d, gc, 0xA0A0A0);
            XDrawLine(d, w, gc, 4, top + 3, layout.width - 5, top + 3);
            continue;
        }
        if (int(i) == selected) {
            XSetForeground(d, gc, menu_highlight);
            XFillRectangle(d, w, gc, 2, top, unsigned(layout.width - 4), unsigned(layout.item_height));
        }
        XSetForeground(d, gc, !enabled(entry) ? menu_disabled : int(i) == selected ? 0xFFFFFF : menu_text);
        XDrawString(d, w, gc, 24, top + 4 + layout.ascent, entry.text.c_str(), int(entry.text.size()));
    }
    XFlush(d);
}

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
    attributes.background_pixel = menu_background;
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
        if (pointer == GrabSuccess && keyboard == GrabSuccess) return;
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
    XFontStruct* font = XLoadQueryFont(d, "fixed");
    const MenuLayout layout = layout_menu(entries, font);
    ::Window popup = make_popup(d, root_x, root_y, layout.width, layout.tops.back());
    GC gc = XCreateGC(d, popup, 0, nullptr);
    if (font) XSetFont(d, gc, font->fid);
    grab_input(d, popup);
    int selected = -1;
    bool pressed_inside = false;
    std::uint32_t chosen = 0;
    bool open = true;
    draw_menu(d, popup, gc, layout, selected);
    while (open) {
        XEvent event;
        XNextEvent(d, &event);
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
        if (open) draw_menu(d, popup, gc, layout, selected);
    }
    XUngrabPointer(d, CurrentTime);
    XUngrabKeyboard(d, CurrentTime);
    XFreeGC(d, gc);
    if (font) XFreeFont(d, font);
    XDestroyWindow(d, popup);
    XFlush(d);
    return chosen;
}

}  // namespace klv::ui
