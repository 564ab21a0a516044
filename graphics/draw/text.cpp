#include "graphics/draw/text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "graphics/draw/drawing_context.h"
#include "platform/gdi/font.h"

namespace klv {

const std::array<FontTableEntry, font_count> font_table = {{
    {"Console", 700, 0x01},
    {"Times New Roman", 400, 0x12},
    {"Small Fonts", 400, 0x32},
    {"MS Sans Serif", 400, 0x02},
    {"Arial", 400, 0x22},
    {"Script", 400, 0x42},
    {"Times New Roman", 400, 0x02},
    {"Script", 400, 0x42},
    {"Courier New", 400, 0x02},
    {"Times New Roman", 400, 0x02},
    {"Courier New Bold", 700, 0x02},
}};

namespace {

using SizeColumn = std::array<CellSize, char_size_count>;

constexpr SizeColumn console_sizes = {{{0, 0}, {8, 8}, {16, 16}, {24, 24}, {32, 32}, {40, 40}, {48, 48},
                                       {56, 56}, {64, 64}, {72, 72}, {80, 80}}};
constexpr SizeColumn roman_sizes = {{{0, 0}, {13, 18}, {14, 20}, {16, 23}, {22, 31}, {29, 41}, {36, 51},
                                     {44, 62}, {55, 77}, {66, 93}, {88, 124}}};
constexpr SizeColumn small_sizes = {{{0, 0}, {3, 5}, {4, 6}, {4, 6}, {6, 9}, {8, 12}, {10, 15}, {12, 18},
                                     {15, 22}, {18, 27}, {24, 36}}};
constexpr SizeColumn arial_sizes = {{{0, 0}, {13, 19}, {14, 21}, {16, 24}, {22, 32}, {29, 42}, {36, 53},
                                     {44, 64}, {55, 80}, {66, 96}, {88, 128}}};
constexpr SizeColumn common_sizes = {{{0, 0}, {11, 19}, {12, 21}, {14, 24}, {19, 32}, {25, 42}, {31, 53},
                                      {38, 64}, {47, 80}, {57, 96}, {76, 128}}};

bool in_range(int value, int count) { return value >= 0 && value < count; }

// A scaled cell size truncated toward zero; sizes beyond an int are as large
// as an int (the font engine caps them far lower).
int scaled_size(int size, double scale) {
    return int(std::min(std::trunc(size * scale), double(std::numeric_limits<int>::max())));
}

double ratio(std::int32_t numerator, std::int32_t denominator) {
    return denominator > 0 && numerator > 0 ? double(numerator) / double(denominator) : 1.0;
}

// The pages' font is replaced on all four before the old one is deleted.
void select_font_into_pages(WindowState* state, gdi::Font* font) {
    gdi::Object* previous = nullptr;
    for (gdi::DeviceContext* dc : state->page_dc) previous = gdi::select_object(dc, font);
    if (previous != nullptr) gdi::delete_object(previous);
}

gdi::Size measure(const char* text) {
    WindowState* state = current_window_state(nullptr);
    PageLock lock(state);
    if (!lock.locked() || text == nullptr) return {};
    return gdi::text_extent(lock.active_dc(), text, text_length(text));
}

}  // namespace

const std::array<SizeColumn, font_count> font_size_table = {
    console_sizes, roman_sizes,  small_sizes,  common_sizes, arial_sizes, common_sizes,
    common_sizes,  roman_sizes,  common_sizes, common_sizes, common_sizes,
};

const std::array<std::uint32_t, 3> h_align_flags = {gdi::TA_LEFT, gdi::TA_CENTER, gdi::TA_RIGHT};
const std::array<std::uint32_t, 3> v_align_flags = {gdi::TA_BOTTOM, gdi::TA_BASELINE, gdi::TA_TOP};

int text_length(const char* text) {
    const std::size_t length = std::strlen(text);
    return length > std::size_t(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max() : int(length);
}

// Size 0 scales by the user ratios as real numbers: 3/2 is one and a half.
gdi::FontDescription text_font_description(const WindowState& state) {
    int size_index = state.text_char_size;
    double x_scale = 1.0, y_scale = 1.0;
    if (size_index == 0) {
        size_index = state.text_font == 0 ? 0 : 4;
        x_scale = ratio(state.text_mult_x, state.text_div_x);
        y_scale = ratio(state.text_mult_y, state.text_div_y);
    }
    const CellSize cell = font_size_table[std::size_t(state.text_font)][std::size_t(size_index)];
    const FontTableEntry& entry = font_table[std::size_t(state.text_font)];
    gdi::FontDescription description;
    description.height = scaled_size(cell.height, y_scale);
    description.width = scaled_size(cell.width, x_scale);
    description.escapement = state.text_direction * 900;
    description.orientation = (state.text_direction & 1) * 900;
    description.weight = entry.weight;
    description.char_set = gdi::DEFAULT_CHARSET;
    description.pitch_and_family = entry.pitch_and_family;
    description.face_name = entry.face_name;
    return description;
}

void build_text_font(WindowState* state) {
    select_font_into_pages(state, gdi::create_font(text_font_description(*state)));
}

void apply_pending_alignment(WindowState* state) {
    if (state->text_align_pending == 0) return;
    state->text_align_pending = 0;
    apply_text_alignment(state);
}

void apply_text_alignment(WindowState* state) {
    const bool horizontal = state->text_direction == 0;
    const int along = horizontal ? state->text_h_justify : state->text_v_justify;
    const int across = horizontal ? state->text_v_justify : state->text_h_justify;
    const std::uint32_t flags = h_align_flags[std::size_t(along)] | v_align_flags[std::size_t(across)];
    for (gdi::DeviceContext* dc : state->page_dc) gdi::set_text_align(dc, flags);
}

}  // namespace klv

using namespace klv;

// Fonts and sizes outside the tables change nothing and set last_error.
extern "C" void set_text_style(int font, int direction, int size) {
    WindowState* state = current_window_state(nullptr);
    if (!in_range(font, font_count) || !in_range(size, char_size_count) || !in_range(direction, 2)) {
        state->last_error = invalid_argument_error;
        return;
    }
    state->text_font = font;
    state->text_direction = direction;
    state->text_char_size = size;
    PageLock lock(state);
    if (lock.locked()) build_text_font(state);
}

// Text shows the whole window, as long as drawing is shown as it is drawn
// (auto refresh on).
extern "C" void out_text_xy(int x, int y, const char* text) {
    WindowState* state = current_window_state(nullptr);
    PageLock lock(state);
    if (!lock.locked()) return;
    apply_pending_alignment(state);
    if (text != nullptr) gdi::text_out(lock.active_dc(), x, y, text, text_length(text));
    lock.refresh_page();
}

extern "C" int text_width(const char* text) { return measure(text).cx; }
extern "C" int text_height(const char* text) { return measure(text).cy; }
