// A ball bouncing across a room, drawn frame by frame on the hidden page and
// shown whole with swap_pages, at a steady 50 frames a second: each frame
// waits with wait_ms for what is left of its 20 milliseconds. Frame 75 is
// saved as bouncing_ball.bmp. Press a key to end.
#include <stdio.h>

#include <chrono>

#include "graphics/klv.h"

enum { width = 480, height = 320, floor_y = 270, radius = 22, frame_ms = 20, saved_frame = 75 };

static long now_ms(void) {
    using namespace std::chrono;
    return (long)duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

/* The room: a sky fading to the floor, then the floor. */
static void draw_room(void) {
    for (int band = 0; band < 9; ++band) {
        const int blue = 120 + band * 15, green = 40 + band * 20;
        set_fill_style(1, rgb_color(24, green, blue));
        fill_bar(0, band * floor_y / 9, width, (band + 1) * floor_y / 9);
    }
    set_fill_style(9, KLV_OLIVE);
    fill_bar(0, floor_y, width, height);
    set_color(KLV_YELLOW);
    draw_line(0, floor_y, width - 1, floor_y);
}

/* The ball, and its shadow on the floor, smaller the higher the ball. */
static void draw_ball(int x, int y) {
    const int shadow = radius - (floor_y - radius - y) / 20;
    set_color(KLV_BLACK);
    set_fill_style(1, KLV_BLACK);
    fill_ellipse(x, floor_y + 20, shadow, shadow / 3);
    set_color(KLV_LIGHT_RED);
    set_fill_style(1, KLV_LIGHT_RED);
    fill_ellipse(x, y, radius, radius);
    set_color(KLV_WHITE);
    set_fill_style(1, KLV_WHITE);
    fill_ellipse(x - 8, y - 8, 4, 4);
}

int main(void) {
    if (open_window(width, height, "Bouncing ball", 100, 100, true, true) < 0) return 1;
    int x = radius, y = radius, dx = 5, dy = 0;
    const long start = now_ms();
    for (int frame = 1; !key_pressed(); ++frame) {
        draw_room();
        draw_ball(x, y);
        swap_pages(); /* the frame just drawn is shown; the next one goes on the other page */
        if (frame == saved_frame) {
            const int written = save_image("bouncing_ball.bmp", 0, 0, width - 1, height - 1, false);
            printf(written == 0 ? "saved bouncing_ball.bmp\n" : "could not save bouncing_ball.bmp\n");
            fflush(stdout);
        }
        /* Gravity, and bounces that lose a little height off the floor. */
        dy += 1;
        x += dx;
        y += dy;
        if (y > floor_y - radius) {
            y = floor_y - radius;
            dy = -dy * 9 / 10;
            if (dy > -8) dy = -21; /* a new throw once it has almost stopped */
        }
        if (x < radius || x > width - radius) {
            dx = -dx;
            x += 2 * dx;
        }
        const long wait = start + (long)frame * frame_ms - now_ms();
        if (wait > 0) wait_ms((int)wait);
    }
    close_window(-2);
    return 0;
}
