#include "platform/ui/web/web_menu.h"

#include <chrono>
#include <string>
#include <vector>

#include "platform/gdi/codepage_1252.h"
#include "platform/gdi/objects.h"
#include "platform/ui/window_scale.h"
#include "platform/ui/web/web_calls.h"

namespace klv::ui {

void MenuInbox::put(const MenuInput& input) {
    {
        std::lock_guard lock(mutex_);
        inputs_.push_back(input);
    }
    arrived_.notify_one();
}

bool MenuInbox::take(MenuInput* input, int timeout_ms) {
    std::unique_lock lock(mutex_);
    if (!arrived_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [this] { return !inputs_.empty(); }))
        return false;
    *input = inputs_.front();
    inputs_.pop_front();
    return true;
}

namespace {

// The entries' texts, a line each ("-" for a separator), for the page's
// list that readers of the page (and tests) see.
std::string entry_lines(const MenuLayout& layout) {
    std::string lines;
    for (const MenuEntry& entry : layout.entries) {
        lines.append(entry.separator ? std::string("-") : gdi::utf8_from_cp1252(entry.text));
        lines.push_back('\n');
    }
    return lines;
}

void show(int number, int x, int y, const MenuLayout& layout, const DialogLook& look, int selected) {
    gdi::DeviceContext* dc = gdi::create_compatible_dc(nullptr);
    gdi::Bitmap* bitmap = gdi::create_compatible_bitmap(dc, layout.width, layout.height());
    if (bitmap) {
        gdi::select_object(dc, bitmap);
        paint_menu(dc, layout, look, selected);
        std::vector<std::uint8_t> rgba(std::size_t(layout.width) * std::size_t(layout.height()) * 4);
        const gdi::Pixel* pixels = bitmap->pixels();
        for (std::size_t i = 0; i < rgba.size() / 4; ++i) {
            rgba[i * 4] = std::uint8_t(pixels[i] >> 16), rgba[i * 4 + 1] = std::uint8_t(pixels[i] >> 8);
            rgba[i * 4 + 2] = std::uint8_t(pixels[i]), rgba[i * 4 + 3] = 255;
        }
        klv_web_menu_show(number, x, y, layout.width, layout.height(), rgba.data(), entry_lines(layout).c_str(),
                          selected);
    }
    gdi::delete_dc(dc);
    if (bitmap) gdi::delete_object(bitmap);
}

}  // namespace

std::uint32_t run_web_menu(Window& window, int number, int x, int y, int desktop_scale, MenuInbox& inbox) {
    std::vector<MenuEntry> entries;
    {
        std::lock_guard lock(window.mutex);
        entries = window.system_menu;
    }
    if (entries.empty()) return 0;
    const int from_environment = scale_from_environment();
    const DialogLook look(from_environment != 0 ? from_environment : desktop_scale);
    const MenuLayout layout = layout_menu(entries, look);
    MenuChoice choice(layout);
    show(number, x, y, layout, look, choice.selected());
    MenuInput input;
    while (choice.open()) {
        if (!inbox.take(&input, 1000)) continue;
        switch (input.kind) {
            case MenuInput::Kind::key: choice.key(input.key); break;
            case MenuInput::Kind::move: choice.move(input.x, input.y); break;
            case MenuInput::Kind::press: choice.press(input.x, input.y); break;
            case MenuInput::Kind::release: choice.release(input.x, input.y); break;
        }
        if (choice.open()) show(number, x, y, layout, look, choice.selected());
    }
    klv_web_menu_hide(number);
    return choice.chosen();
}

}  // namespace klv::ui
