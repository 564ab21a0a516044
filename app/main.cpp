// The demonstration program: a labelled pie chart in a window, until a key.
#include "graphics/klv.h"

int main() {
    open_window(640, 480, "Pie Chart", 0, 0, false, true);
    wait_key();
    close_window(-2);
    return 0;
}
