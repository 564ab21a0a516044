// The system menu as a popup of our own, for desktops that give
// applications none (X11, a web page): its layout, its picture drawn by the
// text engine, and what the user's keys and clicks do to it. The system's
// entries come first, then the ones the program appended; separators are
// lines. Its text is the dialogs' (dialog_look.h), grown with the desktop's
// scale. Each desktop shows the picture and feeds the input.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/ui/dialog_look.h"
#include "platform/ui/window_record.h"

namespace klv::ui {

struct MenuLayout {
    std::vector<MenuEntry> entries;
    std::vector<int> tops;  // top of each entry; one more for the bottom
    int width = 0;
    int item_height = 0;
    int height() const { return tops.back(); }
};

MenuLayout layout_menu(const std::vector<MenuEntry>& entries, const DialogLook& look);
// The menu's picture, drawn into `dc`'s bitmap (layout.width by height).
void paint_menu(gdi::DeviceContext* dc, const MenuLayout& layout, const DialogLook& look, int selected);

// The open popup: positions are the popup's own pixels.
class MenuChoice {
public:
    explicit MenuChoice(const MenuLayout& layout) : layout_(layout) {}
    enum class Key { escape, down, up, enter, other };
    void move(int x, int y);
    void press(int x, int y);  // outside the popup: closes it
    void release(int x, int y);
    void key(Key key);
    bool open() const { return open_; }
    int selected() const { return selected_; }
    std::uint32_t chosen() const { return chosen_; }  // 0: none

private:
    int entry_at(int x, int y) const;
    int step(int direction) const;
    void choose(int index);
    const MenuLayout& layout_;
    int selected_ = -1;
    bool pressed_inside_ = false;
    bool open_ = true;
    std::uint32_t chosen_ = 0;
};

}  // namespace klv::ui
