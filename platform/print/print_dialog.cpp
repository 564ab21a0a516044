#include "platform/print/print_dialog.h"

#include "platform/print/destinations.h"
#include "platform/print/print_chooser.h"
#include "platform/print/testing.h"

namespace klv::print {
namespace {

bool return_default(PrintDialogRecord& record) {
    std::optional<std::string> name = default_destination_name();
    if (!name) {
        return false;
    }
    record.device_names = *name;
    return true;
}

bool open_printer(PrintDialogRecord& record, const std::string& destination) {
    std::unique_ptr<PrinterContext> printer = PrinterContext::open(destination);
    if (!printer) {
        return false;
    }
    record.device_names = printer->info().name;
    record.printer = std::move(printer);
    return true;
}

bool ask(PrintDialogRecord& record, bool return_dc) {
    std::string initial = record.device_names;
    if (initial.empty()) {
        initial = default_destination_name().value_or("");
    }
    std::optional<std::string> choice = choose_destination(record.owner, destination_names(), initial);
    if (!choice) {
        return false;
    }
    if (return_dc) {
        return open_printer(record, *choice);
    }
    record.device_names = *choice;
    return true;
}

}  // namespace

bool print_dialog(PrintDialogRecord& record) {
    bool return_dc = record.flags & PD_RETURNDC;
    if (record.flags & PD_RETURNDEFAULT) {
        return return_default(record) && (!return_dc || open_printer(record, record.device_names));
    }
    return ask(record, return_dc);
}

namespace testing {

void reset_print_dialog_record() {
    std::lock_guard lock(print_dialog_mutex());
    print_dialog_record() = PrintDialogRecord{};
}

void forget_cups_server() { print::forget_cups_server(); }

}  // namespace testing
}  // namespace klv::print
