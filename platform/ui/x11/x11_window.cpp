// A window on the X server: created with the size and place the library
// asks for, fixed in size, its client area shown from the screen image.
#include <X11/Xatom.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/gdi/codepage_1252.h"
#include "platform/ui/cp1252.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/ui.h"
#include "platform/ui/scaled_copy.h"
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

// Decorated: the X window is the client area and the window manager adds
// the frame. Undecorated: the X window is the whole outer window and we draw
// the dialog frame ourselves. Geometry is written on this thread only.
gdi::Size X11Window::native_size() const {
    const auto& g = window_.geometry;
    if (decorated_) return {g.screen_client_width(), g.screen_client_height()};
    return {g.outer.right - g.outer.left, g.outer.bottom - g.outer.top};
}

void X11Window::create_native() {
    Display* d = display_.display();
    const auto& g = window_.geometry;
    client_origin_ = decorated_ ? gdi::Point{0, 0} : g.client_offset;
    const gdi::Size size = native_size();
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(d, DefaultScreen(d));
    attributes.event_mask = event_mask;
    attributes.bit_gravity = NorthWestGravity;
    id_ = XCreateWindow(d, DefaultRootWindow(d), g.outer.left, g.outer.top, unsigned(std::max(1, size.cx)),
                        unsigned(std::max(1, size.cy)), 0, CopyFromParent, InputOutput, CopyFromParent,
                        CWBackPixel | CWEventMask | CWBitGravity, &attributes);
    if (!id_) return;
    gc_ = XCreateGC(d, id_, 0, nullptr);
    set_hints();
    make_shared_image();
}

void X11Window::make_shared_image() {
    const auto& g = window_.geometry;
    shared_image_ = std::make_unique<SharedImage>(display_.display(), g.screen_client_width(), g.screen_client_height());
    if (!shared_image_->ok()) shared_image_.reset();
    scaled_.clear();
}

// Fixed in size: the smallest and largest sizes are the size.
void X11Window::set_size_hints(gdi::Size native) {
    XSizeHints* size = XAllocSizeHints();
    size->flags = PPosition | USPosition | PSize | PMinSize | PMaxSize | PWinGravity;
    size->x = window_.geometry.outer.left;
    size->y = window_.geometry.outer.top;
    size->width = size->min_width = size->max_width = std::max(1, native.cx);
    size->height = size->min_height = size->max_height = std::max(1, native.cy);
    size->win_gravity = NorthWestGravity;
    XSetWMNormalHints(display_.display(), id_, size);
    XFree(size);
}

void X11Window::rescale() {
    const gdi::Size size = native_size();
    set_size_hints(size);
    XResizeWindow(display_.display(), id_, unsigned(std::max(1, size.cx)), unsigned(std::max(1, size.cy)));
    make_shared_image();
    XFlush(display_.display());
}

void X11Window::set_hints() {
    Display* d = display_.display();
    const auto& atoms = display_.atoms();
    set_size_hints(native_size());

    show_title(window_.title);
    Atom protocols[] = {atoms.wm_delete_window};
    XSetWMProtocols(d, id_, protocols, 1);
    XClassHint* class_hint = XAllocClassHint();
    std::string name = "klv";
    class_hint->res_name = name.data();
    class_hint->res_class = name.data();
    XSetClassHint(d, id_, class_hint);
    XFree(class_hint);
    set_process_hints(d, id_, atoms);
    if (!(window_.style & DS_MODALFRAME)) {
        set_motif_hints(d, id_, atoms, decorated_ ? motif_titled : motif_undecorated);
        return;
    }
    // One of our dialogs: above the window it belongs to, without minimise.
    set_motif_hints(d, id_, atoms, motif_dialog);
    XChangeProperty(d, id_, atoms.net_wm_window_type, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&atoms.net_wm_window_type_dialog), 1);
    if (window_.parent && window_.parent->native && window_.parent->native->desktop_id())
        XSetTransientForHint(d, id_, ::Window(window_.parent->native->desktop_id()));
}

void set_process_hints(Display* d, ::Window id, const X11Atoms& atoms) {
    const long pid = long(getpid());
    XChangeProperty(d, id, atoms.net_wm_pid, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0) return;
    char* names[] = {host};
    XTextProperty machine{};
    if (!XStringListToTextProperty(names, 1, &machine)) return;
    XSetWMClientMachine(d, id, &machine);
    XFree(machine.value);
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
    const int scale = window_.geometry.scale;
    if (shared_image_) {
        shared_image_->put(id_, gc_, image, rect, scale, client_origin_.x, client_origin_.y);
        return;
    }
    if (scale == 1) {
        put_scaled(image, rect, 1);
        return;
    }
    // Without shared memory the scaled client area is kept here and sent.
    const auto& g = window_.geometry;
    const std::size_t pixels = std::size_t(g.screen_client_width()) * std::size_t(g.screen_client_height());
    if (scaled_.size() != pixels) scaled_.assign(pixels, 0);
    copy_scaled(image, rect, scale, scaled_.data(), g.screen_client_width());
    put_scaled(image, rect, scale);
}

// XPutImage of the rectangle, at the scale, from the bitmap itself (scale
// 1) or from the scaled copy.
void X11Window::put_scaled(const gdi::Bitmap& image, const gdi::Rect& rect, int scale) {
    Display* d = display_.display();
    const int screen = DefaultScreen(d);
    const int width = scale == 1 ? image.width() : window_.geometry.screen_client_width();
    const int height = scale == 1 ? image.height() : window_.geometry.screen_client_height();
    const gdi::Pixel* pixels = scale == 1 ? image.pixels() : scaled_.data();
    XImage* ximage = XCreateImage(d, DefaultVisual(d, screen), unsigned(DefaultDepth(d, screen)), ZPixmap, 0,
                                  reinterpret_cast<char*>(const_cast<gdi::Pixel*>(pixels)), unsigned(width),
                                  unsigned(height), 32, width * 4);
    if (!ximage) return;
    XPutImage(d, id_, gc_, ximage, rect.left * scale, rect.top * scale, client_origin_.x + rect.left * scale,
              client_origin_.y + rect.top * scale, unsigned((rect.right - rect.left) * scale),
              unsigned((rect.bottom - rect.top) * scale));
    ximage->data = nullptr;  // the pixels stay where they are
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
