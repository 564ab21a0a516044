#include "platform/ui/menu_popup.h"

#include <algorithm>

namespace klv::ui {

namespace {

namespace colours = dialog_colours;

bool enabled(const MenuEntry& entry) { return !entry.separator && entry.id != SC_RESTORE; }

}  // namespace

MenuLayout layout_menu(const std::vector<MenuEntry>& entries, const DialogLook& look) {
    MenuLayout layout;
    layout.entries = entries;
    layout.item_height = look.line_height() + look.px(8);
    int y = look.px(3);
    int widest = look.px(60);
    for (const auto& entry : entries) {
        layout.tops.push_back(y);
        y += entry.separator ? look.px(7) : layout.item_height;
        widest = std::max(widest, look.text_width(entry.text));
    }
    layout.tops.push_back(y + look.px(3));
    layout.width = widest + look.px(48);
    return layout;
}

void paint_menu(gdi::DeviceContext* dc, const MenuLayout& layout, const DialogLook& look, int selected) {
    const int height = layout.height();
    look.fill(dc, {0, 0, layout.width, height}, colours::face);
    look.outline(dc, {0, 0, layout.width, height}, colours::border);
    for (std::size_t i = 0; i < layout.entries.size(); ++i) {
        const auto& entry = layout.entries[i];
        const int top = layout.tops[i];
        if (entry.separator) {
            look.fill(dc, {look.px(4), top + look.px(3), layout.width - look.px(4), top + look.px(3) + look.scale()},
                      colours::light_border);
            continue;
        }
        if (int(i) == selected) {
            look.fill(dc, {look.px(2), top, layout.width - look.px(2), top + layout.item_height}, colours::highlight);
        }
        look.text(dc, look.px(24), top + (layout.item_height - look.line_height()) / 2, entry.text,
                  enabled(entry) ? colours::text : colours::grey_text);
    }
}

int MenuChoice::entry_at(int x, int y) const {
    if (x < 0 || x >= layout_.width) return -1;
    for (std::size_t i = 0; i < layout_.entries.size(); ++i) {
        if (y >= layout_.tops[i] && y < layout_.tops[i + 1] && enabled(layout_.entries[i])) return int(i);
    }
    return -1;
}

int MenuChoice::step(int direction) const {
    const int count = int(layout_.entries.size());
    for (int n = 1; n <= count; ++n) {
        const int i = ((selected_ < 0 ? (direction > 0 ? -1 : 0) : selected_) + direction * n + count * 2) % count;
        if (enabled(layout_.entries[std::size_t(i)])) return i;
    }
    return selected_;
}

void MenuChoice::choose(int index) {
    chosen_ = layout_.entries[std::size_t(index)].id;
    open_ = false;
}

void MenuChoice::move(int x, int y) { selected_ = entry_at(x, y); }

void MenuChoice::press(int x, int y) {
    pressed_inside_ = entry_at(x, y) >= 0;
    if (x < 0 || y < 0 || x >= layout_.width || y >= layout_.height()) open_ = false;
}

void MenuChoice::release(int x, int y) {
    const int at = entry_at(x, y);
    if (at >= 0 && pressed_inside_) choose(at);
}

void MenuChoice::key(Key key) {
    switch (key) {
        case Key::escape: open_ = false; break;
        case Key::down: selected_ = step(1); break;
        case Key::up: selected_ = step(-1); break;
        case Key::enter:
            if (selected_ >= 0) choose(selected_);
            break;
        case Key::other: break;
    }
}

}  // namespace klv::ui
