// Draws with no window open: the library's message box says so, and the
// program ends with 1 once it is dismissed. Before that, main runs as any
// program's does.
#include <cstdio>

#include "graphics/klv.h"

int main() {
    std::printf("main runs\n");
    std::fflush(stdout);
    draw_line(0, 0, 10, 10);
    return 0;
}
