// A message box of our own on its own connection: the caption as its title,
// the text, and an OK button. Enter, Escape, Space, the OK button or the
// close box dismiss it.
#include <X11/Xatom.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "platform/ui/x11/x11_internal.h"
#include "platform/ui/x11/x11_screen.h"

namespace klv::ui {

namespace {

struct BoxLayout {
    std::vector<std::string> lines;
    int width = 0;
    int height = 0;
    int line_height = 0;
    int ascent = 0;
    XRectangle button{};
};

BoxLayout layout_box(const std::string& text, XFontStruct* font) {
    BoxLayout layout;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) layout.lines.push_back(line);
    if (layout.lines.empty()) layout.lines.emplace_back();
    layout.ascent = font ? font->ascent : 10;
    layout.line_height = (font ? font->ascent + font->descent : 13) + 2;
    int widest = 0;
    for (const auto& line : layout.lines) {
        widest = std::max(widest, font ? XTextWidth(font, line.c_str(), int(line.size())) : int(line.size()) * 6);
    }
    layout.width = std::max(widest + 48, 200);
    const int text_height = int(layout.lines.size()) * layout.line_height;
    layout.button = {short(layout.width / 2 - 40), short(24 + text_height + 16), 80, 26};
    layout.height = layout.button.y + layout.button.height + 14;
    return layout;
}

void draw_box(Display* d, ::Window w, GC gc, const BoxLayout& layout) {
    XSetForeground(d, gc, 0xF0F0F0);
    XFillRectangle(d, w, gc, 0, 0, unsigned(layout.width), unsigned(layout.height));
    XSetForeground(d, gc, 0x000000);
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        const auto& line = layout.lines[i];
        XDrawString(d, w, gc, 24, 24 + int(i) * layout.line_height + layout.ascent, line.c_str(), int(line.size()));
    }
    const XRectangle& b = layout.button;
    XSetForeground(d, gc, 0xE1E1E1);
    XFillRectangle(d, w, gc, b.x, b.y, b.width, b.height);
    XSetForeground(d, gc, 0x0078D7);
    XDrawRectangle(d, w, gc, b.x, b.y, b.width - 1, b.height - 1);
    XSetForeground(d, gc, 0x000000);
    XDrawString(d, w, gc, b.x + b.width / 2 - 6, b.y + b.height / 2 + layout.ascent / 2, "OK", 2);
    XFlush(d);
}

::Window make_box(Display* d, const std::string& caption, const BoxLayout& layout) {
    const int screen = DefaultScreen(d);
    const int x = std::max(0, (DisplayWidth(d, screen) - layout.width) / 2);
    const int y = std::max(0, (DisplayHeight(d, screen) - layout.height) / 2);
    ::Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), x, y, unsigned(layout.width), unsigned(layout.height),
                                     0, 0, 0xF0F0F0);
    XSelectInput(d, w, ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask);
    XStoreName(d, w, caption.c_str());
    XSizeHints* size = XAllocSizeHints();
    size->flags = PPosition | PMinSize | PMaxSize;
    size->x = x;
    size->y = y;
    size->min_width = size->max_width = layout.width;
    size->min_height = size->max_height = layout.height;
    XSetWMNormalHints(d, w, size);
    XFree(size);
    X11Atoms atoms(d);
    XChangeProperty(d, w, atoms.net_wm_window_type, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&atoms.net_wm_window_type_dialog), 1);
    Atom protocols[] = {atoms.wm_delete_window};
    XSetWMProtocols(d, w, protocols, 1);
    set_motif_hints(d, w, atoms, motif_dialog);
    set_process_hints(d, w, atoms);
    XMapRaised(d, w);
    return w;
}

bool inside(const XRectangle& r, int x, int y) {
    return x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;
}

void run_box(Display* d, ::Window w, GC gc, const BoxLayout& layout) {
    const Atom delete_window = XInternAtom(d, "WM_DELETE_WINDOW", False);
    bool pressed_on_button = false;
    for (;;) {
        XEvent event;
        XNextEvent(d, &event);
        switch (event.type) {
            case Expose: draw_box(d, w, gc, layout); break;
            case MapNotify: XSetInputFocus(d, w, RevertToParent, CurrentTime); break;
            case KeyPress: {
                const KeySym key = XLookupKeysym(&event.xkey, 0);
                if (key == XK_Return || key == XK_KP_Enter || key == XK_Escape || key == XK_space) return;
                break;
            }
            case ButtonPress: pressed_on_button = inside(layout.button, event.xbutton.x, event.xbutton.y); break;
            case ButtonRelease:
                if (pressed_on_button && inside(layout.button, event.xbutton.x, event.xbutton.y)) return;
                break;
            case ClientMessage:
                if (Atom(event.xclient.data.l[0]) == delete_window) return;
                break;
            default: break;
        }
    }
}

}  // namespace

bool x11_message_box(const std::string& caption, const std::string& text) {
    ignore_x_errors();
    const char* name = std::getenv("DISPLAY");
    Display* d = name && *name ? XOpenDisplay(name) : nullptr;
    if (!d) return false;
    XFontStruct* font = XLoadQueryFont(d, "fixed");
    const BoxLayout layout = layout_box(text, font);
    ::Window w = make_box(d, caption, layout);
    GC gc = XCreateGC(d, w, 0, nullptr);
    if (font) XSetFont(d, gc, font->fid);
    run_box(d, w, gc, layout);
    XFreeGC(d, gc);
    if (font) XFreeFont(d, font);
    XDestroyWindow(d, w);
    XCloseDisplay(d);
    return true;
}

}  // namespace klv::ui
