#include "fuzz/call_script.h"

#include <time.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/klv.h"
#include "graphics/window/window_state.h"
#include "platform/ui/testing.h"

namespace klv::fuzz {

namespace {

constexpr int kMaxWindows = 4;
constexpr int kMaxWidth = 160, kMaxHeight = 120;
constexpr int kMaxPoints = 64;
constexpr std::int64_t kMaxImageBytes = std::int64_t(8) << 20;

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool done() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::int32_t int32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= std::uint32_t(byte()) << (8 * i);
        return std::int32_t(v);
    }

private:
    const std::uint8_t* data_;
    std::size_t size_, at_ = 0;
};

struct Script {
    Script(Reader reader, const std::string& scratch) : in(reader), folder(scratch) {}
    Reader in;
    const std::string& folder;
    int windows_opened = 0;
    std::array<std::vector<unsigned char>, 8> images;
    std::vector<int> points;
    std::string text;
    bool null_text = false;

    // A length byte then the bytes; 255 is a null text.
    const char* read_text() {
        const std::uint8_t length = in.byte();
        null_text = length == 255;
        text.clear();
        for (int i = 0; i < length % 64 && !null_text; ++i) text.push_back(char(in.byte()));
        // A text ends at its first zero byte, as a C string does.
        return null_text ? nullptr : text.c_str();
    }
    // count, then up to 64 points; a count above 64 is taken modulo 65 so
    // that the buffer always holds the points it announces.
    int read_points(std::int32_t count) {
        if (count > kMaxPoints) count %= kMaxPoints + 1;
        points.assign(2 * std::size_t(std::max(count, 0)), 0);
        for (int& v : points) v = in.int32();
        return count;
    }
    std::string file(std::int32_t which) const {
        static const char* const names[] = {"a.bmp", "b.png", "c.BMP", "d.PNG", "missing/e.bmp", "f", "a.bmp", "b.png"};
        return folder + "/" + names[std::uint32_t(which) % 8];
    }
};

int window_side(std::int32_t v, int most) { return v > 0 ? 1 + (v - 1) % most : v; }

void make_image(Script& s, std::int32_t width, std::int32_t height, std::int32_t slot) {
    std::vector<unsigned char>& image = s.images[std::uint32_t(slot) % 8];
    const bool refused = width < 1 || height < 1 || std::int64_t(width) * height > (0x7FFFFFFF - 8) / 4;
    const std::int64_t bytes = refused ? 8 : 8 + 4 * std::int64_t(width) * height;
    if (!refused && bytes > kMaxImageBytes) return;
    image.assign(refused ? 8 : std::size_t(bytes), 0);
    std::memcpy(image.data(), &width, 4);
    std::memcpy(image.data() + 4, &height, 4);
    for (std::size_t i = 8; i < image.size(); ++i) image[i] = static_cast<unsigned char>(i * 37 + width);
}

void grab(Script& s, const std::int32_t* a) {
    std::vector<unsigned char>& image = s.images[std::uint32_t(a[4]) % 8];
    const int bytes = image_bytes(a[0], a[1], a[2], a[3]);
    if (bytes > kMaxImageBytes) return;
    if (bytes <= 0) {
        grab_image(a[0], a[1], a[2], a[3], nullptr);
        return;
    }
    image.assign(std::size_t(bytes), 0);
    grab_image(a[0], a[1], a[2], a[3], image.data());
}

void paste(Script& s, const std::int32_t* a) {
    const std::vector<unsigned char>& image = s.images[std::uint32_t(a[2]) % 8];
    paste_image(a[0], a[1], image.empty() ? nullptr : image.data(), a[3]);
}

void mouse_handler(int, int) {}

struct Call {
    const char* name;
    int arity;
    bool needs_window;
    void (*run)(Script&, const std::int32_t*);
};

#define KLV_CALL(name, arity, needs_window, ...) \
    Call { name, arity, needs_window, [](Script & s, const std::int32_t* a) { (void)s, (void)a; __VA_ARGS__; } }

const std::array kCalls = {
    KLV_CALL("open_window", 5, false, {
        if (s.windows_opened == kMaxWindows) return;
        static const char* const titles[] = {nullptr, "", "fuzz", "\xe9t\xe9"};
        if (open_window(window_side(a[0], kMaxWidth), window_side(a[1], kMaxHeight), titles[a[4] & 3], a[2], a[3],
                        (a[4] & 4) != 0, false) >= 0)
            ++s.windows_opened;
    }),
    KLV_CALL("close_window", 1, false, close_window(a[0])),
    KLV_CALL("set_current_window", 1, false, set_current_window(a[0])),
    KLV_CALL("get_current_window", 0, false, get_current_window()),
    KLV_CALL("set_window_title", 0, true, set_window_title(s.read_text())),
    KLV_CALL("set_window_scale", 1, true, set_window_scale(a[0])),
    KLV_CALL("get_window_scale", 0, true, get_window_scale()),
    KLV_CALL("wait_key", 0, true, if (key_pressed()) wait_key()),
    KLV_CALL("key_pressed", 0, true, key_pressed()),
    KLV_CALL("wait_ms", 1, true, wait_ms(a[0] % 3)),
    KLV_CALL("set_color", 1, true, set_color(a[0])),
    KLV_CALL("set_bk_color", 1, true, set_bk_color(a[0])),
    KLV_CALL("set_fill_style", 2, true, set_fill_style(a[0], a[1])),
    KLV_CALL("set_line_style", 3, true, set_line_style(a[0], a[1], a[2])),
    KLV_CALL("set_viewport", 5, true, set_viewport(a[0], a[1], a[2], a[3], a[4])),
    KLV_CALL("get_max_x", 0, true, get_max_x()),
    KLV_CALL("get_max_y", 0, true, get_max_y()),
    KLV_CALL("get_color", 0, false, get_color()),
    KLV_CALL("get_bk_color", 0, false, get_bk_color()),
    KLV_CALL("set_fill_pattern", 1, true, {
        unsigned char rows[8];
        for (unsigned char& row : rows) row = s.in.byte();
        set_fill_pattern((a[0] & 0x40000000) != 0 ? nullptr : rows, a[0]);
    }),
    KLV_CALL("set_palette_entry", 2, false, set_palette_entry(a[0], a[1])),
    KLV_CALL("get_palette_entry", 1, false, get_palette_entry(a[0])),
    KLV_CALL("set_active_page", 1, true, set_active_page(a[0])),
    KLV_CALL("set_visual_page", 1, true, set_visual_page(a[0])),
    KLV_CALL("get_active_page", 0, false, get_active_page()),
    KLV_CALL("get_visual_page", 0, false, get_visual_page()),
    KLV_CALL("swap_pages", 0, true, swap_pages()),
    KLV_CALL("set_auto_refresh", 1, true, set_auto_refresh(a[0])),
    KLV_CALL("redraw_window", 0, true, redraw_window()),
    KLV_CALL("draw_line", 4, true, draw_line(a[0], a[1], a[2], a[3])),
    KLV_CALL("draw_rectangle", 4, true, draw_rectangle(a[0], a[1], a[2], a[3])),
    KLV_CALL("fill_bar", 4, true, fill_bar(a[0], a[1], a[2], a[3])),
    KLV_CALL("draw_pie_slice", 5, true, draw_pie_slice(a[0], a[1], a[2], a[3], a[4])),
    KLV_CALL("draw_circle", 3, true, draw_circle(a[0], a[1], a[2])),
    KLV_CALL("draw_arc", 5, true, draw_arc(a[0], a[1], a[2], a[3], a[4])),
    KLV_CALL("draw_ellipse", 6, true, draw_ellipse(a[0], a[1], a[2], a[3], a[4], a[5])),
    KLV_CALL("fill_ellipse", 4, true, fill_ellipse(a[0], a[1], a[2], a[3])),
    KLV_CALL("draw_sector", 6, true, draw_sector(a[0], a[1], a[2], a[3], a[4], a[5])),
    KLV_CALL("draw_polyline", 1, true, {
        const int count = s.read_points(a[0]);
        draw_polyline(count, count == 0 ? nullptr : s.points.data());
    }),
    KLV_CALL("fill_polygon", 1, true, {
        const int count = s.read_points(a[0]);
        fill_polygon(count, count == 0 ? nullptr : s.points.data());
    }),
    KLV_CALL("flood_fill", 3, true, flood_fill(a[0], a[1], a[2])),
    KLV_CALL("draw_bar_3d", 6, true, draw_bar_3d(a[0], a[1], a[2], a[3], a[4], a[5])),
    KLV_CALL("put_pixel", 3, true, put_pixel(a[0], a[1], a[2])),
    KLV_CALL("get_pixel", 2, true, get_pixel(a[0], a[1])),
    KLV_CALL("move_to", 2, true, move_to(a[0], a[1])),
    KLV_CALL("move_by", 2, true, move_by(a[0], a[1])),
    KLV_CALL("line_to", 2, true, line_to(a[0], a[1])),
    KLV_CALL("line_by", 2, true, line_by(a[0], a[1])),
    KLV_CALL("get_x", 0, true, get_x()),
    KLV_CALL("get_y", 0, true, get_y()),
    KLV_CALL("clear_page", 0, true, clear_page()),
    KLV_CALL("clear_viewport", 0, true, clear_viewport()),
    KLV_CALL("set_write_mode", 1, true, set_write_mode(a[0])),
    KLV_CALL("set_text_style", 3, true, set_text_style(a[0], a[1], a[2])),
    KLV_CALL("out_text_xy", 2, true, out_text_xy(a[0], a[1], s.read_text())),
    KLV_CALL("text_width", 0, true, text_width(s.read_text())),
    KLV_CALL("text_height", 0, true, text_height(s.read_text())),
    KLV_CALL("set_text_justify", 2, true, set_text_justify(a[0], a[1])),
    KLV_CALL("out_text", 0, true, out_text(s.read_text())),
    KLV_CALL("set_text_scale", 4, true, set_text_scale(a[0], a[1], a[2], a[3])),
    KLV_CALL("has_mouse_event", 1, true, has_mouse_event(a[0])),
    KLV_CALL("take_mouse_event", 1, true, {
        int x = 0, y = 0;
        take_mouse_event(a[0], &x, &y);
    }),
    KLV_CALL("clear_mouse_events", 1, true, clear_mouse_events(a[0])),
    KLV_CALL("keep_mouse_events", 2, true, keep_mouse_events(a[0], a[1])),
    KLV_CALL("set_mouse_handler", 2, true, set_mouse_handler(a[0], (a[1] & 1) != 0 ? mouse_handler : nullptr)),
    KLV_CALL("get_mouse_x", 0, true, get_mouse_x()),
    KLV_CALL("get_mouse_y", 0, true, get_mouse_y()),
    KLV_CALL("take_error", 0, false, take_error()),
    KLV_CALL("error_text", 1, false, error_text(a[0])),
    KLV_CALL("image_bytes", 4, false, image_bytes(a[0], a[1], a[2], a[3])),
    KLV_CALL("grab_image", 5, true, grab(s, a)),
    KLV_CALL("paste_image", 4, true, paste(s, a)),
    KLV_CALL("make_image", 3, false, make_image(s, a[0], a[1], a[2])),
    KLV_CALL("save_image", 6, true, {
        const std::string name = s.file(a[5]);
        save_image((a[5] & 8) != 0 ? nullptr : name.c_str(), a[0], a[1], a[2], a[3], (a[4] & 1) != 0);
    }),
    KLV_CALL("load_image", 3, true, {
        const std::string name = s.file(a[2]);
        load_image((a[2] & 8) != 0 ? nullptr : name.c_str(), a[0], a[1]);
    }),
};

#undef KLV_CALL

double thread_cpu_ms() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Every open window paints what the script drew before the script ends:
// painting runs on the window's thread, where a sanitizer's report must
// belong to the input that drew, not to a later one (or to none, when the
// window is closed before its next paint is due). A window still not done
// after the deadline is a finding of its own.
void wait_for_paints() {
    constexpr int deadline_ms = 1500;
    const WindowTable& table = window_table();
    for (std::size_t i = 0; i < std::size_t(table.windows_opened); ++i) {
        ui::Window* window = table.window_handles[i];
        if (window == nullptr || table.window_states[i] == nullptr) continue;
        if (ui::testing::wait_until_idle(window, deadline_ms) || !ui::testing::is_live(window)) continue;
        std::fprintf(stderr, "window %zu has not painted what was drawn within %d ms\n", i, deadline_ms);
        std::abort();
    }
}

void remove_files(const Script& s) {
    for (int i = 0; i < 8; ++i) unlink(s.file(i).c_str());
}

}  // namespace

int call_count() { return int(kCalls.size()); }

int call_code(std::string_view name) {
    for (std::size_t i = 0; i < kCalls.size(); ++i)
        if (name == kCalls[i].name) return int(i);
    return -1;
}

int call_arity(int code) { return kCalls[std::size_t(code)].arity; }

void run_call_script(const std::uint8_t* data, std::size_t size, const std::string& folder,
                     CallObserver* observer) {
    static const bool headless = setenv("KLV_BACKEND", "headless", 1) == 0;
    (void)headless;
    Script s{Reader(data, size), folder};
    take_error();
    while (!s.in.done()) {
        const Call& call = kCalls[s.in.byte() % kCalls.size()];
        std::int32_t args[6] = {};
        for (int i = 0; i < call.arity; ++i) args[i] = s.in.int32();
        if (call.needs_window && get_current_window() < 0) continue;
        const double start = thread_cpu_ms();
        call.run(s, args);
        if (observer) observer->call_done(call.name, args, call.arity, thread_cpu_ms() - start);
    }
    wait_for_paints();
    close_window(-2);
    remove_files(s);
}

}  // namespace klv::fuzz
