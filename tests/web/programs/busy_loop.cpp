// Never sleeps: draws a moving bar as fast as it can until a key, then ends
// with 3. The page must still paint and take the key.
#include "graphics/klv.h"

int main() {
    open_window(200, 100, "Busy", 0, 0, false, true);
    for (int step = 0; !key_pressed(); ++step) {
        set_fill_style(1, (step / 1000) % 15 + 1);
        fill_bar(0, 0, 200, 100);
    }
    wait_key();
    return 3;
}
