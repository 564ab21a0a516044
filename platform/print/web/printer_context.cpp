// A printer context in a web page: the page's text and images are laid out
// in the document, shown only in print media (at 96 dots an inch, CSS
// pixels), and the browser's print dialog opens when the job ends, the
// document's title being the job's name meanwhile (klv_web.js).
#include "platform/print/printer_context.h"

#include <cmath>
#include <string>
#include <vector>

#include "platform/gdi/codepage_1252.h"
#include "platform/gdi/gdi_types.h"

extern "C" {
void klv_web_print_begin();
void klv_web_print_text(int x, int y, const char* text);
void klv_web_print_image(int x, int y, int width, int height, const std::uint8_t* rgba, int source_width,
                         int source_height);
void klv_web_print_end(const char* document_name);
}

namespace klv::print {

struct PrinterContext::Job {
    std::string name;
    bool in_doc = false;
    bool in_page = false;
};

std::unique_ptr<PrinterContext> PrinterContext::open(const std::string& destination) {
    std::optional<DestinationInfo> info = describe_destination(destination);
    if (!info) return nullptr;
    return std::make_unique<PrinterContext>(*info);
}

PrinterContext::PrinterContext(DestinationInfo info) : info_(std::move(info)) {}

PrinterContext::~PrinterContext() = default;  // a job never ended was never shown

int PrinterContext::device_caps(int index) const {
    switch (index) {
        case gdi::LOGPIXELSX: return info_.dots_per_inch_x;
        case gdi::LOGPIXELSY: return info_.dots_per_inch_y;
        case gdi::RASTERCAPS: return gdi::RC_BITBLT | gdi::RC_STRETCHBLT;
        case gdi::HORZRES: return int(std::lround(info_.printable_width * info_.dots_per_inch_x / 72.0));
        case gdi::VERTRES: return int(std::lround(info_.printable_height * info_.dots_per_inch_y / 72.0));
        default: return 0;
    }
}

int PrinterContext::start_doc(const std::string& document_name) {
    if (job_) return -1;
    job_ = std::make_unique<Job>();
    job_->name = document_name;
    job_->in_doc = true;
    klv_web_print_begin();
    return 1;
}

bool PrinterContext::start_page() {
    if (!job_ || !job_->in_doc || job_->in_page) return false;
    job_->in_page = true;
    return true;
}

bool PrinterContext::text_out(int x, int y, std::string_view text) {
    if (!job_ || !job_->in_page) return false;
    klv_web_print_text(x, y, gdi::utf8_from_cp1252(text).c_str());
    return true;
}

bool PrinterContext::stretch_pixels(int x, int y, int width, int height, const std::uint32_t* pixels, int source_width,
                                    int source_height) {
    if (!job_ || !job_->in_page || !pixels || width <= 0 || height <= 0 || source_width <= 0 || source_height <= 0)
        return false;
    std::vector<std::uint8_t> rgba(std::size_t(source_width) * std::size_t(source_height) * 4);
    for (std::size_t i = 0; i < rgba.size() / 4; ++i) {
        const std::uint32_t p = pixels[i];
        rgba[i * 4] = std::uint8_t(p >> 16), rgba[i * 4 + 1] = std::uint8_t(p >> 8), rgba[i * 4 + 2] = std::uint8_t(p);
        rgba[i * 4 + 3] = 255;
    }
    klv_web_print_image(x, y, width, height, rgba.data(), source_width, source_height);
    return true;
}

bool PrinterContext::end_page() {
    if (!job_ || !job_->in_page) return false;
    job_->in_page = false;
    return true;
}

bool PrinterContext::end_doc() {
    if (!job_ || !job_->in_doc || job_->in_page) return false;
    klv_web_print_end(job_->name.c_str());
    job_.reset();
    return true;
}

}  // namespace klv::print
