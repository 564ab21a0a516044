#include "platform/print/printer_context.h"

#include <cmath>

#include "platform/gdi/gdi_types.h"
#include "platform/print/cups_job.h"
#include "platform/print/pdf_document.h"

namespace klv::print {

struct PrinterContext::Job {
    std::unique_ptr<CupsJob> cups;
    std::unique_ptr<PdfDocument> document;
    bool in_page = false;
};

std::unique_ptr<PrinterContext> PrinterContext::open(const std::string& destination) {
    std::optional<DestinationInfo> info = describe_destination(destination);
    if (!info) {
        return nullptr;
    }
    return std::make_unique<PrinterContext>(std::move(*info));
}

PrinterContext::PrinterContext(DestinationInfo info) : info_(std::move(info)) {}

PrinterContext::~PrinterContext() = default;

int PrinterContext::device_caps(int index) const {
    switch (index) {
    case gdi::LOGPIXELSX:
        return info_.dots_per_inch_x;
    case gdi::LOGPIXELSY:
        return info_.dots_per_inch_y;
    case gdi::RASTERCAPS:
        return info_.takes_images ? gdi::RC_BITBLT | gdi::RC_STRETCHBLT : 0;
    case gdi::HORZRES:
        return int(std::lround(info_.printable_width * info_.dots_per_inch_x / 72.0));
    case gdi::VERTRES:
        return int(std::lround(info_.printable_height * info_.dots_per_inch_y / 72.0));
    default:
        return 0;
    }
}

int PrinterContext::start_doc(const std::string& document_name) {
    if (job_) {
        return -1;
    }
    std::unique_ptr<CupsJob> cups = CupsJob::create(info_.name, document_name);
    if (!cups) {
        return -1;
    }
    int id = cups->id();
    job_ = std::make_unique<Job>(Job{std::move(cups), std::make_unique<PdfDocument>(info_), false});
    return id;
}

bool PrinterContext::start_page() {
    if (!job_ || job_->in_page) {
        return false;
    }
    job_->in_page = true;
    return true;
}

bool PrinterContext::text_out(int x, int y, std::string_view text) {
    if (!job_ || !job_->in_page) {
        return false;
    }
    job_->document->draw_text(x, y, text);
    return true;
}

bool PrinterContext::stretch_pixels(int x, int y, int width, int height, const std::uint32_t* pixels,
                                    int source_width, int source_height) {
    if (!job_ || !job_->in_page || !info_.takes_images) {
        return false;
    }
    if (!pixels || width <= 0 || height <= 0 || source_width <= 0 || source_height <= 0) {
        return false;
    }
    job_->document->draw_pixels(x, y, width, height, pixels, source_width, source_height);
    return true;
}

bool PrinterContext::end_page() {
    if (!job_ || !job_->in_page) {
        return false;
    }
    job_->document->end_page();
    job_->in_page = false;
    return true;
}

bool PrinterContext::end_doc() {
    if (!job_) {
        return false;
    }
    if (job_->in_page) {
        end_page();
    }
    std::unique_ptr<Job> job = std::move(job_);
    std::string pdf = job->document->finish();
    if (pdf.empty() || job->document->pages() == 0) {
        return false;  // the job is cancelled as it goes
    }
    return job->cups->send_pdf(pdf);
}

}  // namespace klv::print
