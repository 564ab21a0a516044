// Text in the eleven numbered fonts, two directions and eleven sizes.
#pragma once

#include "graphics/klv.h"

#include <array>
#include <cstdint>

#include "graphics/window/window_state.h"
#include "platform/gdi/font.h"

namespace klv {

struct FontTableEntry {
    const char* face_name;
    int weight;
    int pitch_and_family;
};

struct CellSize {
    int width;
    int height;
};

constexpr int font_count = 11;
constexpr int char_size_count = 11;

extern const std::array<FontTableEntry, font_count> font_table;
extern const std::array<std::array<CellSize, char_size_count>, font_count> font_size_table;
// Justification to text-alignment flags: along the text, and across it.
extern const std::array<std::uint32_t, 3> h_align_flags;
extern const std::array<std::uint32_t, 3> v_align_flags;

// The font description for the record's text style.
gdi::FontDescription text_font_description(const WindowState& state);
// Creates the font for the text style and selects it into the four pages;
// the caller holds the lock.
void build_text_font(WindowState* state);
// Sets the alignment flags on the four pages; the caller holds the lock.
void apply_text_alignment(WindowState* state);
// The same, when a change of justification is waiting for the next text.
void apply_pending_alignment(WindowState* state);
// strlen, at most the largest int.
int text_length(const char* text);

}  // namespace klv

