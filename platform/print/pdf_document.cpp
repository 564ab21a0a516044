#include "platform/print/pdf_document.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <fontconfig/fontconfig.h>

#include <cstring>
#include <mutex>

#include "platform/gdi/codepage_1252.h"
#include "platform/print/testing.h"

namespace klv::print {
namespace {

constexpr double points_per_inch = 72.0;
constexpr double default_font_points = 12.0;

cairo_status_t append_bytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// An image surface holding a copy of the pixels; null when cairo cannot make one.
cairo_surface_t* image_of(const std::uint32_t* pixels, int width, int height) {
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        return nullptr;
    }
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    int stride = cairo_image_surface_get_stride(image);
    for (int y = 0; y < height; ++y) {
        std::memcpy(data + std::size_t(y) * std::size_t(stride), pixels + std::size_t(y) * std::size_t(width),
                    std::size_t(width) * 4);
    }
    cairo_surface_mark_dirty(image);
    return image;
}

}  // namespace

PdfDocument::PdfDocument(const DestinationInfo& info) : info_(info) {
    // A new PDF surface reads the local time for its creation date, and the C
    // library sets its time zone up unguarded the first time: one at a time.
    static std::mutex creation;
    std::lock_guard lock(creation);
    surface_ = cairo_pdf_surface_create_for_stream(append_bytes, &bytes_, info.page_width, info.page_height);
    cairo_ = cairo_create(surface_);
}

PdfDocument::~PdfDocument() {
    cairo_destroy(cairo_);
    cairo_surface_destroy(surface_);
}

// Points from the page's corner -> dots from the printable area's corner.
void PdfDocument::set_dot_space() {
    cairo_identity_matrix(cairo_);
    cairo_translate(cairo_, info_.printable_left, info_.printable_top);
    cairo_scale(cairo_, points_per_inch / info_.dots_per_inch_x, points_per_inch / info_.dots_per_inch_y);
}

void PdfDocument::draw_text(double x, double y, std::string_view cp1252_text) {
    std::string utf8 = gdi::utf8_from_cp1252(cp1252_text);
    cairo_save(cairo_);
    set_dot_space();
    cairo_user_to_device(cairo_, &x, &y);
    // The font is sized in points, whatever the two resolutions are.
    cairo_identity_matrix(cairo_);
    cairo_select_font_face(cairo_, "sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cairo_, default_font_points);
    cairo_font_extents_t extents;
    cairo_font_extents(cairo_, &extents);
    cairo_set_source_rgb(cairo_, 0, 0, 0);
    cairo_move_to(cairo_, x, y + extents.ascent);  // the position is the cell's top-left
    cairo_show_text(cairo_, utf8.c_str());
    cairo_restore(cairo_);
}

void PdfDocument::draw_pixels(double x, double y, double width, double height, const std::uint32_t* pixels,
                              int source_width, int source_height) {
    cairo_surface_t* image = image_of(pixels, source_width, source_height);
    if (!image) {
        return;
    }
    cairo_save(cairo_);
    set_dot_space();
    cairo_translate(cairo_, x, y);
    cairo_scale(cairo_, width / source_width, height / source_height);
    cairo_set_source_surface(cairo_, image, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cairo_), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cairo_, 0, 0, source_width, source_height);
    cairo_fill(cairo_);
    cairo_restore(cairo_);
    cairo_surface_destroy(image);
}

void PdfDocument::end_page() {
    cairo_show_page(cairo_);
    ++pages_;
}

std::string PdfDocument::finish() {
    cairo_surface_finish(surface_);
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        return {};
    }
    return std::move(bytes_);
}

namespace testing {

void release_font_caches() {
    cairo_debug_reset_static_data();
    FcFini();
}

}  // namespace testing
}  // namespace klv::print
