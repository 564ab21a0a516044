// Two windows drawn in turn, each its own picture; a key in either closes
// window 0, a second key ends the program with 0.
#include "graphics/klv.h"

int main() {
    const int first = open_window(160, 120, "First", 0, 0, false, false);
    const int second = open_window(160, 120, "Second", 200, 0, false, false);
    set_current_window(first);
    set_fill_style(1, KLV_LIGHT_RED);
    fill_bar(10, 10, 150, 110);
    set_current_window(second);
    set_fill_style(1, KLV_LIGHT_GREEN);
    fill_bar(20, 20, 140, 100);
    wait_key();
    close_window(first);
    set_current_window(second);
    set_window_title("Second, alone");
    wait_key();
    close_window(-2);
    return 0;
}
