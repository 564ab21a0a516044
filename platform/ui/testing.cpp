#include "platform/ui/testing.h"

#include <chrono>

#include "platform/ui/headless/headless_display.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/registry.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/window_record.h"

namespace klv::ui::testing {

std::vector<Window*> live_windows() { return all_windows(); }

bool is_live(Window* window) { return find_window(window) != nullptr; }

gdi::Rect outer_rect(Window* window) {
    auto w = find_window(window);
    if (!w) return {};
    std::lock_guard lock(w->mutex);
    return w->geometry.outer;
}

gdi::Size client_size(Window* window) {
    auto w = find_window(window);
    if (!w) return {};
    std::lock_guard lock(w->mutex);
    return {w->geometry.client_width, w->geometry.client_height};
}

std::string title(Window* window) {
    auto w = find_window(window);
    if (!w) return {};
    std::lock_guard lock(w->mutex);
    return w->title;
}

std::size_t sends_waiting(Window* window) {
    auto w = find_window(window);
    return w ? w->owner->sends_waiting() : 0;
}

bool is_visible(Window* window) {
    auto w = find_window(window);
    if (!w) return false;
    std::lock_guard lock(w->mutex);
    return w->visible;
}

gdi::Pixel screen_pixel(Window* window, int x, int y) {
    auto w = find_window(window);
    if (!w) return 0;
    std::lock_guard lock(w->mutex);
    const auto& g = w->geometry;
    if (x < 0 || y < 0 || x >= g.screen_client_width() || y >= g.screen_client_height()) return 0;
    return w->presented[std::size_t(y) * std::size_t(g.screen_client_width()) + std::size_t(x)];
}

gdi::Size screen_size(Window* window) {
    auto w = find_window(window);
    if (!w) return {};
    std::lock_guard lock(w->mutex);
    return {w->geometry.screen_client_width(), w->geometry.screen_client_height()};
}

std::vector<gdi::Pixel> screen_pixels(Window* window) {
    auto w = find_window(window);
    if (!w) return {};
    std::lock_guard lock(w->mutex);
    return w->presented;
}

std::vector<std::optional<gdi::Rect>> take_invalidations(Window* window) {
    auto w = find_window(window);
    if (!w) return {};
    std::lock_guard lock(w->mutex);
    std::vector<std::optional<gdi::Rect>> taken(w->invalidation_log.begin(), w->invalidation_log.end());
    w->invalidation_log.clear();
    return taken;
}

bool wait_until_idle(Window* window, int timeout_ms) {
    auto w = find_window(window);
    return w && w->owner->wait_idle(timeout_ms);
}

void request_close(Window* window) { post_message(window, WM_CLOSE, 0, 0); }

std::vector<MenuItem> system_menu(Window* window) {
    auto w = find_window(window);
    if (!w) return {};
    std::lock_guard lock(w->mutex);
    std::vector<MenuItem> items;
    for (const auto& entry : w->system_menu) items.push_back({entry.id, entry.text, entry.separator});
    return items;
}

void choose_system_command(Window* window, std::uint32_t id) { post_message(window, WM_SYSCOMMAND, id, 0); }

namespace {

void push_input(Window* window, const InputEvent& event) {
    if (auto w = find_window(window)) w->owner->push_input(event);
}

InputEvent key_event(Window* window, std::uint32_t message, std::uint32_t vk, std::intptr_t lparam, int character) {
    InputEvent event;
    event.kind = InputEvent::Kind::key;
    event.window = window;
    event.message = message;
    event.wparam = vk;
    event.lparam = lparam;
    event.character = character;
    return event;
}

std::uint32_t now_ms() {
    using namespace std::chrono;
    return std::uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// The virtual key of the key that types a byte, as far as a US layout goes.
std::uint32_t key_for_character(std::uint8_t byte) {
    if (byte >= 'a' && byte <= 'z') return byte - 'a' + 'A';
    if ((byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9')) return byte;
    switch (byte) {
        case 8: return VK_BACK;
        case 9: return VK_TAB;
        case 13: return VK_RETURN;
        case 27: return VK_ESCAPE;
        case ' ': return VK_SPACE;
        default: return VK_PROCESSKEY;
    }
}

}  // namespace

void press_key(Window* window, std::uint32_t virtual_key, int repeat_count) {
    const auto lparam = key_lparam(virtual_key, repeat_count, false, false, false);
    push_input(window, key_event(window, WM_KEYDOWN, virtual_key, lparam, character_for_virtual_key(virtual_key)));
}

void type_character(Window* window, std::uint8_t byte, int repeat_count) {
    const std::uint32_t vk = key_for_character(byte);
    const auto lparam = key_lparam(vk, repeat_count, false, false, false);
    push_input(window, key_event(window, WM_KEYDOWN, vk, lparam, byte));
}

void press_alt_key(Window* window, std::uint32_t virtual_key) {
    const auto lparam = key_lparam(virtual_key, 1, true, false, false);
    push_input(window, key_event(window, WM_SYSKEYDOWN, virtual_key, lparam, -1));
}

void mouse_move(Window* window, int x, int y, std::uint32_t key_flags) {
    InputEvent event;
    event.kind = InputEvent::Kind::mouse_move;
    event.window = window;
    event.x = x;
    event.y = y;
    event.key_flags = key_flags;
    event.time_ms = now_ms();
    push_input(window, event);
}

void mouse_button(Window* window, int button, bool down, int x, int y, std::uint32_t key_flags,
                  std::optional<std::uint32_t> time_ms) {
    InputEvent event;
    event.kind = InputEvent::Kind::mouse_button;
    event.window = window;
    event.button = button;
    event.down = down;
    event.x = x;
    event.y = y;
    event.key_flags = key_flags;
    event.time_ms = time_ms.value_or(now_ms());
    push_input(window, event);
}

std::vector<std::pair<std::string, std::string>> message_boxes_shown() { return recorded_message_boxes(); }

}  // namespace klv::ui::testing
