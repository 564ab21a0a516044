// A printer context on a GDI printer device context: the calls are the real
// StartDocA, StartPage, TextOutA, StretchDIBits, EndPage, EndDoc and
// GetDeviceCaps.
#include "platform/print/printer_context.h"

#include <utility>

#include "platform/print/windows/dialog_dc.h"
#include "platform/threads/thread_object.h"

// USER32 and GDI last: their macros must not meet our own names above.
#include <windows.h>

namespace klv::print {

namespace {

struct HandedDc {
    HDC dc = nullptr;
    std::string device;
    ~HandedDc() {
        if (dc) DeleteDC(dc);
    }
};

}  // namespace

void hand_over_dialog_dc(HDC dc, const std::string& device) {
    HandedDc& handed = threads::thread_object<HandedDc>();
    if (handed.dc) DeleteDC(handed.dc);
    handed.dc = dc;
    handed.device = device;
}

HDC take_dialog_dc(const std::string& device) {
    HandedDc& handed = threads::thread_object<HandedDc>();
    if (!handed.dc || handed.device != device) return nullptr;
    return std::exchange(handed.dc, nullptr);
}

struct PrinterContext::Job {
    HDC dc = nullptr;
    bool in_doc = false;
    bool in_page = false;
};

std::unique_ptr<PrinterContext> PrinterContext::open(const std::string& destination) {
    HDC dc = take_dialog_dc(destination);
    if (!dc) dc = CreateDCA("WINSPOOL", destination.c_str(), nullptr, nullptr);
    if (!dc) return nullptr;
    DestinationInfo info;
    info.name = destination;
    info.dots_per_inch_x = GetDeviceCaps(dc, LOGPIXELSX);
    info.dots_per_inch_y = GetDeviceCaps(dc, LOGPIXELSY);
    info.takes_images = (GetDeviceCaps(dc, RASTERCAPS) & RC_STRETCHDIB) != 0;
    auto context = std::make_unique<PrinterContext>(std::move(info));
    context->job_ = std::make_unique<Job>();
    context->job_->dc = dc;
    return context;
}

PrinterContext::PrinterContext(DestinationInfo info) : info_(std::move(info)) {}

// A job that was started and never ended is cancelled.
PrinterContext::~PrinterContext() {
    if (!job_ || !job_->dc) return;
    if (job_->in_doc) AbortDoc(job_->dc);
    DeleteDC(job_->dc);
}

int PrinterContext::device_caps(int index) const { return job_ && job_->dc ? GetDeviceCaps(job_->dc, index) : 0; }

int PrinterContext::start_doc(const std::string& document_name) {
    if (!job_ || !job_->dc || job_->in_doc) return -1;
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = document_name.c_str();
    const int id = StartDocA(job_->dc, &document);
    if (id <= 0) return -1;
    job_->in_doc = true;
    return id;
}

bool PrinterContext::start_page() {
    if (!job_ || !job_->in_doc || job_->in_page || StartPage(job_->dc) <= 0) return false;
    job_->in_page = true;
    return true;
}

bool PrinterContext::text_out(int x, int y, std::string_view text) {
    if (!job_ || !job_->in_page) return false;
    return TextOutA(job_->dc, x, y, text.data(), int(text.size())) != 0;
}

bool PrinterContext::stretch_pixels(int x, int y, int width, int height, const std::uint32_t* pixels, int source_width,
                                    int source_height) {
    if (!job_ || !job_->in_page || !pixels || width <= 0 || height <= 0 || source_width <= 0 || source_height <= 0)
        return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = source_width;
    info.bmiHeader.biHeight = -source_height;  // rows top first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return StretchDIBits(job_->dc, x, y, width, height, 0, 0, source_width, source_height, pixels, &info,
                         DIB_RGB_COLORS, SRCCOPY) != int(GDI_ERROR);
}

bool PrinterContext::end_page() {
    if (!job_ || !job_->in_page) return false;
    job_->in_page = false;
    return EndPage(job_->dc) > 0;
}

bool PrinterContext::end_doc() {
    if (!job_ || !job_->in_doc || job_->in_page) return false;
    job_->in_doc = false;
    return EndDoc(job_->dc) > 0;
}

}  // namespace klv::print
