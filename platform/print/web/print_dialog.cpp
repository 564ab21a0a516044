// Printing in a web page: one destination, the browser, whose own print
// dialog asks the rest once the page is laid out (printer_context.cpp).
#include "platform/print/print_dialog.h"

#include "platform/print/testing.h"

namespace klv::print {

namespace {

constexpr const char* browser = "Browser";

}  // namespace

bool print_dialog(PrintDialogRecord& record) {
    record.device_names = browser;
    if (record.flags & PD_RETURNDC) {
        std::unique_ptr<PrinterContext> printer = PrinterContext::open(browser);
        if (!printer) return false;
        record.printer = std::move(printer);
    }
    return true;
}

std::vector<std::string> destination_names() { return {browser}; }
std::optional<std::string> default_destination_name() { return std::string(browser); }
std::optional<DestinationInfo> describe_destination(const std::string& name) {
    if (name != browser) return std::nullopt;
    DestinationInfo info;
    info.name = browser;
    info.dots_per_inch_x = info.dots_per_inch_y = 96;  // CSS pixels
    return info;
}
void forget_cups_server() {}

namespace testing {

void set_print_chooser(PrintChooser) {}
void set_print_dialog_answer(std::optional<std::string>) {}
void reset_print_dialog_record() {
    std::lock_guard lock(print_dialog_mutex());
    print_dialog_record() = PrintDialogRecord{};
}
void release_font_caches() {}
void forget_cups_server() {}

}  // namespace testing
}  // namespace klv::print
