#include "graphics/export/print_command.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>

#include "graphics/draw/drawing_context.h"
#include "graphics/export/page_region.h"
#include "platform/print/print_dialog.h"

namespace klv {

namespace {

constexpr double title_gap_inches = 0.25;
constexpr std::uint32_t print_dialog_record_size = 66;

int to_dots(double value) {
    if (std::isnan(value)) return 0;
    return int(std::clamp(std::trunc(value), double(INT_MIN), double(INT_MAX)));
}

// The dialog steps on the process's record. The dialog itself is shown
// without holding the record, so that other windows' commands are not held
// up meanwhile; what it returns goes back in one piece.
std::shared_ptr<print::PrinterContext> choose_printer(ui::Window* owner) {
    print::PrintDialogRecord request;
    {
        std::lock_guard lock(print::print_dialog_mutex());
        print::PrintDialogRecord& record = print::print_dialog_record();
        if (record.device_names.empty()) {
            record = print::PrintDialogRecord{};
            record.size = print_dialog_record_size;
            record.flags = print::PD_RETURNDEFAULT;
            if (!print::print_dialog(record)) return nullptr;
            record.flags &= ~print::PD_RETURNDEFAULT;
        }
        record.flags |= print::PD_RETURNDC;
        request = record;
    }
    request.owner = owner;
    if (!print::print_dialog(request)) return nullptr;
    request.owner = nullptr;  // the next dialog may be another window's
    std::lock_guard lock(print::print_dialog_mutex());
    print::print_dialog_record() = request;
    return request.printer;
}

// A memory context holding a copy of the region, and the bitmap it displaced.
struct RegionCopy {
    gdi::DeviceContext* memory = nullptr;
    gdi::Bitmap* bitmap = nullptr;
    gdi::Object* displaced = nullptr;

    RegionCopy(gdi::DeviceContext* source, const PixelRegion& region) {
        memory = gdi::create_compatible_dc(source);
        bitmap = memory ? gdi::create_compatible_bitmap(source, region.width, region.height) : nullptr;
        if (bitmap == nullptr) return;
        displaced = gdi::select_object(memory, bitmap);
        // The corner is a device pixel: the page's viewport origin must not shift it.
        gdi::Point origin{region.left, region.top};
        gdi::device_to_logical(source, &origin, 1);
        gdi::bit_blt(memory, 0, 0, region.width, region.height, source, origin.x, origin.y);
    }
    ~RegionCopy() {
        if (bitmap != nullptr) {
            gdi::select_object(memory, displaced);
            gdi::delete_object(bitmap);
        }
        if (memory != nullptr) gdi::delete_dc(memory);
    }
    RegionCopy(const RegionCopy&) = delete;
    RegionCopy& operator=(const RegionCopy&) = delete;
};

// One page: the title, then the image where the printer takes images.
void print_page(print::PrinterContext& printer, const std::string& title, const RegionCopy& copy,
                const PrintLayout& layout) {
    if (printer.start_doc("Windows KLV") == -1) return;
    printer.start_page();
    if (!title.empty()) printer.text_out(layout.title_x, layout.title_y, title);
    if (printer.device_caps(gdi::RASTERCAPS) & gdi::RC_BITBLT) {
        printer.stretch_pixels(layout.image_x, layout.image_y, layout.image_width, layout.image_height,
                               copy.bitmap->pixels(), copy.bitmap->width(), copy.bitmap->height());
    }
    printer.end_page();
    printer.end_doc();
}

}  // namespace

PrintLayout print_layout(int dpi_x, int dpi_y, double width, double left_margin, double top_margin,
                         int region_width, int region_height, bool titled) {
    if (dpi_x <= 0 || dpi_y <= 0 || region_width <= 0 || region_height <= 0) return {};
    double scale_x = double(dpi_x) * width / region_width;
    double scale_y = double(dpi_y) * scale_x / dpi_x;
    PrintLayout layout;
    layout.title_x = to_dots(dpi_x * left_margin);
    layout.title_y = to_dots(dpi_y * top_margin);
    if (titled) top_margin += title_gap_inches;
    layout.image_x = to_dots(dpi_x * left_margin);
    layout.image_y = to_dots(dpi_y * top_margin);
    layout.image_width = to_dots(region_width * scale_x);
    layout.image_height = to_dots(region_height * scale_y);
    return layout;
}

void print_command(const char* title, double width, double left_margin, double top_margin, int left, int top,
                   int right, int bottom, bool use_active_page, ui::Window* window) {
    std::shared_ptr<print::PrinterContext> printer = choose_printer(window);
    if (!printer) return;
    WindowState* state = current_window_state(window);
    if (state == nullptr || state->width <= 0 || state->height <= 0) return;
    // Without the pages nothing is read from them: they may be drawn on or freed.
    std::unique_lock lock(state->mutex, page_lock_wait());
    if (!lock.owns_lock()) return;
    gdi::DeviceContext* source = source_page(*state, use_active_page);
    if (source == nullptr) return;
    PixelRegion region = page_region(*state, left, top, right, bottom);
    RegionCopy copy(source, region);
    if (copy.bitmap == nullptr) return;
    std::string text = title != nullptr ? title : state->title;
    PrintLayout layout = print_layout(printer->device_caps(gdi::LOGPIXELSX), printer->device_caps(gdi::LOGPIXELSY),
                                      width, left_margin, top_margin, region.width, region.height, !text.empty());
    print_page(*printer, text, copy, layout);
}

}  // namespace klv
