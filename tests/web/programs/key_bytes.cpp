// Prints each byte wait_key gives ("key N") until 'q', then ends with 0.
#include <cstdio>

#include "graphics/klv.h"

int main() {
    open_window(200, 150, "Keys", 0, 0, false, true);
    set_color(KLV_YELLOW);
    out_text_xy(10, 10, "Type; q ends");
    for (;;) {
        const int key = wait_key();
        std::printf("key %d\n", key);
        std::fflush(stdout);
        if (key == 'q') break;
    }
    close_window(-2);
    return 0;
}
