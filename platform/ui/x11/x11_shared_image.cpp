#include "platform/ui/x11/x11_shared_image.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>

#include "platform/ui/scaled_copy.h"

namespace klv::ui {

SharedImage::SharedImage(Display* display, int width, int height) : display_(display) {
    if (!XShmQueryExtension(display) || width <= 0 || height <= 0) return;
    const int screen = DefaultScreen(display);
    if (DefaultDepth(display, screen) != 24) return;
    XImage* image = XShmCreateImage(display, DefaultVisual(display, screen), 24, ZPixmap, nullptr, &segment_,
                                    unsigned(width), unsigned(height));
    if (!image) return;
    if (image->bits_per_pixel != 32) {
        XDestroyImage(image);
        return;
    }
    segment_.shmid = shmget(IPC_PRIVATE, std::size_t(image->bytes_per_line) * std::size_t(height), IPC_CREAT | 0600);
    if (segment_.shmid < 0) {
        XDestroyImage(image);
        return;
    }
    segment_.shmaddr = image->data = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
    segment_.readOnly = False;
    take_last_x_error();
    const bool attached = segment_.shmaddr != reinterpret_cast<char*>(-1) && XShmAttach(display, &segment_);
    if (attached) XSync(display, False);
    shmctl(segment_.shmid, IPC_RMID, nullptr);  // freed once both sides detach
    if (!attached || take_last_x_error() != 0) {
        if (segment_.shmaddr != reinterpret_cast<char*>(-1)) shmdt(segment_.shmaddr);
        image->data = nullptr;
        XDestroyImage(image);
        return;
    }
    image_ = image;
}

SharedImage::~SharedImage() {
    if (!image_) return;
    XShmDetach(display_, &segment_);
    XSync(display_, False);
    shmdt(segment_.shmaddr);
    image_->data = nullptr;
    XDestroyImage(image_);
}

void SharedImage::put(::Window window, GC gc, const gdi::Bitmap& source, const gdi::Rect& rect, int scale, int x,
                      int y) {
    copy_scaled(source, rect, scale, reinterpret_cast<gdi::Pixel*>(image_->data),
                image_->bytes_per_line / std::ptrdiff_t(sizeof(gdi::Pixel)));
    const int left = rect.left * scale;
    const int top = rect.top * scale;
    XShmPutImage(display_, window, gc, image_, left, top, x + left, y + top, unsigned((rect.right - rect.left) * scale),
                 unsigned((rect.bottom - rect.top) * scale), False);
    // The server reads the memory after the request: wait for it before the
    // next paint writes there again.
    XSync(display_, False);
}

}  // namespace klv::ui
