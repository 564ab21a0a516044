// A PDF document in memory, drawn in printer dots: the pages of a print job.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/print/destinations.h"

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

namespace klv::print {

class PdfDocument {
public:
    // Pages of the destination's media size; dots of its resolution, from the
    // top-left corner of its printable area.
    explicit PdfDocument(const DestinationInfo& info);
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    void draw_text(double x, double y, std::string_view cp1252_text);
    void draw_pixels(double x, double y, double width, double height, const std::uint32_t* pixels,
                     int source_width, int source_height);
    void end_page();
    // Finishes the document and hands over its bytes; empty when cairo failed.
    std::string finish();
    int pages() const { return pages_; }

private:
    void set_dot_space();

    DestinationInfo info_;
    std::string bytes_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cairo_ = nullptr;
    int pages_ = 0;
};

}  // namespace klv::print
