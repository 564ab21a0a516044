// The system menu's popup (menu_popup.h) in an X window of its own: X11
// gives applications none. Arrow keys, Enter, Escape and the mouse work it.
#include <X11/keysym.h>

#include <algorithm>
#include <vector>

#include "platform/ui/menu_popup.h"
#include "platform/ui/window_scale.h"
#include "platform/ui/x11/x11_internal.h"

namespace klv::ui {

namespace {

// A picture of the menu and the X window it is shown in.
class MenuCanvas {
public:
    MenuCanvas(Display* display, ::Window window, const MenuLayout& layout)
        : display_(display), window_(window), gc_(XCreateGC(display, window, 0, nullptr)),
          dc_(gdi::create_compatible_dc(nullptr)),
          bitmap_(gdi::create_compatible_bitmap(dc_, layout.width, layout.height())) {
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

MenuChoice::Key menu_key(KeySym key) {
    if (key == XK_Escape || key == XK_F10 || key == XK_Menu) return MenuChoice::Key::escape;
    if (key == XK_Down || key == XK_KP_Down) return MenuChoice::Key::down;
    if (key == XK_Up || key == XK_KP_Up) return MenuChoice::Key::up;
    if (key == XK_Return || key == XK_KP_Enter || key == XK_space) return MenuChoice::Key::enter;
    return MenuChoice::Key::other;
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
    ::Window popup = make_popup(d, root_x, root_y, layout.width, layout.height());
    MenuCanvas canvas(d, popup, layout);
    grab_input(d, popup);
    MenuChoice choice(layout);
    canvas.show(layout, look, choice.selected());
    XEvent event;
    while (choice.open() && next_x_event(d, &event)) {
        if (event.xany.window != popup) {
            display.handle(event);  // our windows still repaint
            continue;
        }
        switch (event.type) {
            case MotionNotify: choice.move(event.xmotion.x, event.xmotion.y); break;
            case ButtonPress: choice.press(event.xbutton.x, event.xbutton.y); break;
            case ButtonRelease: choice.release(event.xbutton.x, event.xbutton.y); break;
            case KeyPress: choice.key(menu_key(XLookupKeysym(&event.xkey, 0))); break;
            default: break;
        }
        if (choice.open()) canvas.show(layout, look, choice.selected());
    }
    XUngrabPointer(d, CurrentTime);
    XUngrabKeyboard(d, CurrentTime);
    XDestroyWindow(d, popup);
    XFlush(d);
    return choice.chosen();
}

}  // namespace klv::ui
