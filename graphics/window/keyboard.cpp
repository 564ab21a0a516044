#include "graphics/window/keyboard.h"

#include <array>
#include <chrono>
#include <thread>
#include <utility>

#include "graphics/draw/drawing_context.h"

namespace klv {

namespace {

constexpr std::array<std::pair<std::uint32_t, std::uint8_t>, 20> extended_keys = {{
    {ui::VK_CLEAR, 76}, {ui::VK_PRIOR, 73},  {ui::VK_NEXT, 81},   {ui::VK_END, 79},    {ui::VK_HOME, 71},
    {ui::VK_LEFT, 75},  {ui::VK_UP, 72},     {ui::VK_RIGHT, 77},  {ui::VK_DOWN, 80},   {ui::VK_INSERT, 82},
    {ui::VK_DELETE, 83}, {ui::VK_F1, 59},    {ui::VK_F1 + 1, 60}, {ui::VK_F1 + 2, 61}, {ui::VK_F1 + 3, 62},
    {ui::VK_F1 + 4, 63}, {ui::VK_F1 + 5, 64}, {ui::VK_F1 + 6, 65}, {ui::VK_F1 + 7, 66}, {ui::VK_F1 + 8, 67},
}};

}  // namespace

std::optional<std::uint8_t> extended_key_code(std::uint32_t virtual_key) {
    for (const auto& [key, code] : extended_keys)
        if (key == virtual_key) return code;
    return std::nullopt;
}

void on_char(ui::Window* window, std::uint32_t character, int repeat_count) {
    WindowState* state = current_window_state(window);
    if (state != nullptr) {
        state->key_queue.append(std::uint8_t(character & 0xFF));
        state->key_event.signal();
    }
    ui::default_procedure(window, ui::WM_CHAR, std::uintptr_t(std::intptr_t(std::int8_t(character & 0xFF))),
                          std::intptr_t(std::uint16_t(repeat_count)));
}

// Every key that queues bytes wakes a waiting reader, the navigation and
// function keys as well as the arrows: a reader waits only until a byte is
// there.
void on_key_down(ui::Window* window, std::uint32_t virtual_key, bool /*key_down*/, int repeat_count,
                 std::uint32_t key_flags) {
    WindowState* state = current_window_state(window);
    const std::optional<std::uint8_t> code = extended_key_code(virtual_key);
    if (state != nullptr && code) {
        state->key_queue.append(0, *code);
        state->key_event.signal();
    }
    ui::default_procedure(window, ui::WM_KEYDOWN, virtual_key,
                          std::intptr_t((std::uint32_t(key_flags) << 16) | std::uint16_t(repeat_count)));
}

}  // namespace klv

using namespace klv;

// The window's mutex is never held here: the window thread paints meanwhile.
// On the window's own thread (a mouse handler) no key can come while it
// waits: -1 at once when nothing was typed before.
extern "C" int wait_key(void) {
    WindowState* state = current_window_state(nullptr);
    for (;;) {
        if (std::optional<std::uint8_t> byte = state->key_queue.take()) return std::int8_t(*byte);
        if (window_thread_state != nullptr) return -1;
        state->key_event.wait();
    }
}

extern "C" int key_pressed(void) { return current_window_state(nullptr)->key_queue.empty() ? 0 : 1; }

extern "C" void wait_ms(int milliseconds) {
    current_window_state(nullptr);
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
