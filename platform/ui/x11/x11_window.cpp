// A window on the X server: created with the size and place the library
// asks for, fixed in size, its client area shown from the screen image.
#include <X11/Xatom.h>

#include <cstring>
#include <string>

#include "platform/gdi/codepage_1252.h"
#include "platform/ui/cp1252.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/ui.h"
#include "platform/ui/x11/x11_internal.h"

namespace klv::ui {

namespace {

constexpr long event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | StructureNotifyMask | FocusChangeMask;

}  // namespace

X11Window::X11Window(X11Display& display, Window& window) : display_(display), window_(window) {
    decorated_ = (window.style & WS_CAPTION) == WS_CAPTION;
    create_native();
}

X11Window::~X11Window() {
    if (!id_) return;
    display_.forget(id_);
    shared_image_.reset();
    if (gc_) XFreeGC(display_.display(), gc_);
    XDestroyWindow(display_.display(), id_);
    XFlush(display_.display());
}

void X11Window::create_native() {
    Display* d = display_.display();
    const auto& g = window_.geometry;
    // Decorated: the X window is the client area and the window manager
    // adds the frame. Undecorated: the X window is the whole outer window
    // and we draw the dialog frame ourselves.
    client_origin_ = decorated_ ? gdi::Point{0, 0} : g.client_offset;
    const int width = decorated_ ? g.client_width : g.outer.right - g.outer.left;
    const int height = decorated_ ? g.client_height : g.outer.bottom - g.outer.top;
    const int x = decorated_ ? g.outer.left : g.outer.left;
    const int y = decorated_ ? g.outer.top : g.outer.top;
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(d, DefaultScreen(d));
    attributes.event_mask = event_mask;
    attributes.bit_gravity = NorthWestGravity;
    id_ = XCreateWindow(d, DefaultRootWindow(d), x, y, unsigned(std::max(1, width)), unsigned(std::max(1, height)), 0,
                        CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWEventMask | CWBitGravity,
                        &attributes);
    if (!id_) return;
    gc_ = XCreateGC(d, id_, 0, nullptr);
    set_hints();
    shared_image_ = std::make_unique<SharedImage>(d, g.client_width, g.client_height);
    if (!shared_image_->ok()) shared_image_.reset();
}

void X11Window::set_hints() {
    Display* d = display_.display();
    const auto& atoms = display_.atoms();
    XSizeHints* size = XAllocSizeHints();
    XWindowAttributes attributes;
    XGetWindowAttributes(d, id_, &attributes);
    size->flags = PPosition | USPosition | PSize | PMinSize | PMaxSize | PWinGravity;
    size->x = window_.geometry.outer.left;
    size->y = window_.geometry.outer.top;
    size->width = size->min_width = size->max_width = attributes.width;
    size->height = size->min_height = size->max_height = attributes.height;
    size->win_gravity = NorthWestGravity;
    XSetWMNormalHints(d, id_, size);
    XFree(size);

    show_title(window_.title);
    Atom protocols[] = {atoms.wm_delete_window};
    XSetWMProtocols(d, id_, protocols, 1);
    XClassHint* class_hint = XAllocClassHint();
    std::string name = "klv";
    class_hint->res_name = name.data();
    class_hint->res_class = name.data();
    XSetClassHint(d, id_, class_hint);
    XFree(class_hint);
    set_motif_hints(d, id_, atoms, decorated_ ? motif_titled : motif_undecorated);
}

// The title is Windows-1252. Window managers read _NET_WM_NAME (UTF-8) first;
// WM_NAME gets Latin-1 when every character has one, compound text otherwise
// (the euro sign, curly quotes and the other characters of 0x80-0x9F).
void X11Window::show_title(const std::string& title) {
    Display* d = display_.display();
    std::string utf8 = gdi::utf8_from_cp1252(title);
    XChangeProperty(d, id_, display_.atoms().net_wm_name, display_.atoms().utf8_string, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), int(utf8.size()));
    char* list[] = {utf8.data()};
    XTextProperty name{};
    if (Xutf8TextListToTextProperty(d, list, 1, XStdICCTextStyle, &name) >= Success) {
        XSetWMName(d, id_, &name);
        XFree(name.value);
    }
}

void X11Window::set_title(const std::string& title) {
    show_title(title);
    XFlush(display_.display());
}

void set_motif_hints(Display* d, ::Window id, const X11Atoms& atoms, const long (&hints)[5]) {
    XChangeProperty(d, id, atoms.motif_wm_hints, atoms.motif_wm_hints, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(hints), 5);
}

void X11Window::show(bool visible) {
    Display* d = display_.display();
    if (visible) {
        XMapRaised(d, id_);
    } else {
        XUnmapWindow(d, id_);
    }
    XFlush(d);
}

void X11Window::present(const gdi::Bitmap& image, const gdi::Rect& rect) {
    Display* d = display_.display();
    if (shared_image_) {
        shared_image_->put(id_, gc_, image, rect, client_origin_.x, client_origin_.y);
        return;
    }
    const int screen = DefaultScreen(d);
    XImage* ximage = XCreateImage(d, DefaultVisual(d, screen), unsigned(DefaultDepth(d, screen)), ZPixmap, 0,
                                  reinterpret_cast<char*>(const_cast<gdi::Pixel*>(image.pixels())),
                                  unsigned(image.width()), unsigned(image.height()), 32, image.width() * 4);
    if (!ximage) return;
    XPutImage(d, id_, gc_, ximage, rect.left, rect.top, client_origin_.x + rect.left, client_origin_.y + rect.top,
              unsigned(rect.right - rect.left), unsigned(rect.bottom - rect.top));
    ximage->data = nullptr;  // the bitmap keeps its pixels
    XDestroyImage(ximage);
    XFlush(d);
}

void X11Window::draw_frame() {
    if (decorated_) return;
    Display* d = display_.display();
    const auto& g = window_.geometry;
    const unsigned width = unsigned(g.outer.right - g.outer.left);
    const unsigned height = unsigned(g.outer.bottom - g.outer.top);
    const int fx = client_origin_.x;
    const int fy = client_origin_.y;
    XSetForeground(d, gc_, 0xC0C0C0);
    XFillRectangle(d, id_, gc_, 0, 0, width, unsigned(fy));
    XFillRectangle(d, id_, gc_, 0, int(height) - fy, width, unsigned(fy));
    XFillRectangle(d, id_, gc_, 0, 0, unsigned(fx), height);
    XFillRectangle(d, id_, gc_, int(width) - fx, 0, unsigned(fx), height);
    XSetForeground(d, gc_, 0x404040);
    XDrawRectangle(d, id_, gc_, 0, 0, width - 1, height - 1);
    XSetForeground(d, gc_, 0xFFFFFF);
    XDrawLine(d, id_, gc_, 1, 1, int(width) - 2, 1);
    XDrawLine(d, id_, gc_, 1, 1, 1, int(height) - 2);
}

void X11Window::move_resize(long action) {
    Display* d = display_.display();
    XUngrabPointer(d, CurrentTime);
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = id_;
    message.xclient.message_type = display_.atoms().net_wm_moveresize;
    message.xclient.format = 32;
    message.xclient.data.l[0] = last_root_x_;
    message.xclient.data.l[1] = last_root_y_;
    message.xclient.data.l[2] = action;
    message.xclient.data.l[3] = Button1;
    message.xclient.data.l[4] = 1;  // a normal application asks
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &message);
    XFlush(d);
}

bool X11Window::start_move() {
    move_resize(8);  // _NET_WM_MOVERESIZE_MOVE
    return false;
}

void X11Window::keyboard_move() { move_resize(10); }  // _NET_WM_MOVERESIZE_MOVE_KEYBOARD

void X11Window::minimize() {
    Display* d = display_.display();
    XIconifyWindow(d, id_, DefaultScreen(d));
    XFlush(d);
}

void X11Window::restore() { show(true); }

}  // namespace klv::ui
