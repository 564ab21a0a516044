// Recorded through KLV_RECORD without calling record_frames: shows two
// pictures, a tenth of a second each, and ends by returning from main with
// its window still open.
#include "graphics/klv.h"

int main() {
    if (open_window(8, 6, "recorded", 0, 0, true, false) < 0) return 1;
    set_fill_style(1, KLV_LIGHT_GREEN);
    fill_bar(0, 0, 8, 6);
    swap_pages();
    wait_ms(100);
    set_fill_style(1, KLV_LIGHT_BLUE);
    fill_bar(0, 0, 8, 6);
    swap_pages();
    wait_ms(100);
    return 0;
}
