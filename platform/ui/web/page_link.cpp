#include "platform/ui/web/page_link.h"

#include <algorithm>
#include <atomic>
#include <map>

#include "platform/gdi/objects.h"

namespace klv::ui {

namespace {

std::map<int, PageLink*>& links() {
    static auto* all = new std::map<int, PageLink*>;
    return *all;
}

}  // namespace

std::mutex& page_links_mutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}

PageLink* find_page_link(int number) {
    auto found = links().find(number);
    return found == links().end() ? nullptr : found->second;
}

int new_page_link_number(bool dialog) {
    // Dialogs count down from -1, so that windows keep the numbers a
    // program gives them.
    static std::atomic<int> windows{0}, dialogs{-1};
    return dialog ? dialogs-- : windows++;
}

PageLink::PageLink(int number, InputHandler on_input) : number_(number), on_input_(std::move(on_input)) {
    std::lock_guard lock(page_links_mutex());
    links()[number_] = this;
}

PageLink::~PageLink() {
    std::lock_guard lock(page_links_mutex());
    links().erase(number_);
}

void PageLink::present(const gdi::Bitmap& image, const gdi::Rect& rect) {
    std::lock_guard lock(mutex_);
    if (image.width() != width_ || image.height() != height_) {
        width_ = image.width(), height_ = image.height();
        rgba_.assign(std::size_t(width_) * std::size_t(height_) * 4, 255);
        changed_ = {0, 0, width_, height_};
    }
    const int left = std::max(rect.left, 0), top = std::max(rect.top, 0);
    const int right = std::min(rect.right, width_), bottom = std::min(rect.bottom, height_);
    if (left >= right || top >= bottom) return;
    const gdi::Pixel* pixels = image.pixels();
    for (int y = top; y < bottom; ++y) {
        const gdi::Pixel* from = pixels + std::size_t(y) * std::size_t(width_);
        std::uint8_t* to = rgba_.data() + (std::size_t(y) * std::size_t(width_) + std::size_t(left)) * 4;
        for (int x = left; x < right; ++x, to += 4) {
            const std::uint32_t p = from[x];
            to[0] = std::uint8_t(p >> 16), to[1] = std::uint8_t(p >> 8), to[2] = std::uint8_t(p), to[3] = 255;
        }
    }
    if (changed_.left >= changed_.right || changed_.top >= changed_.bottom) {
        changed_ = {left, top, right, bottom};
    } else {
        changed_ = {std::min(changed_.left, left), std::min(changed_.top, top), std::max(changed_.right, right),
                    std::max(changed_.bottom, bottom)};
    }
}

bool PageLink::take_frame(Frame* frame) {
    mutex_.lock();
    if (changed_.left >= changed_.right || changed_.top >= changed_.bottom) {
        mutex_.unlock();
        return false;
    }
    *frame = {rgba_.data(), width_, height_, changed_.left, changed_.top, changed_.right, changed_.bottom};
    changed_ = {0, 0, 0, 0};
    return true;
}

void PageLink::release_frame() { mutex_.unlock(); }

}  // namespace klv::ui
