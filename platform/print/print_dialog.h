// The print dialog and its record, kept for the life of the process.
//
// print_dialog stands for PrintDlgA. The record keeps what the dialog
// returns: the chosen destination (the device names) and the printer
// context of the last confirmed dialog, which the next dialog replaces.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/print/printer_context.h"
#include "platform/ui/ui.h"

namespace klv::print {

constexpr std::uint32_t PD_RETURNDC = 0x100;
constexpr std::uint32_t PD_RETURNDEFAULT = 0x400;

struct PrintDialogRecord {
    std::uint32_t size = 0;
    std::uint32_t flags = 0;
    std::string device_names;  // the chosen destination; empty: none chosen yet
    ui::Window* owner = nullptr;  // the window the dialog opens above, as its dialog
    // The printer context the last confirmed dialog returned. Shared, so
    // that a command printing on it keeps it while another command's dialog
    // puts a new one into the record.
    std::shared_ptr<PrinterContext> printer;
};

// The one record of the process, starting empty, and the mutex that keeps it
// consistent between window threads. Hold the mutex while reading or writing
// the record; print_dialog does not take it.
inline PrintDialogRecord& print_dialog_record() {
    static PrintDialogRecord record;
    return record;
}
inline std::mutex& print_dialog_mutex() {
    static std::mutex mutex;
    return mutex;
}

// PrintDlgA on the record's flags.
// PD_RETURNDEFAULT: puts the default destination into device_names without
// showing anything; false when there is no printer at all.
// PD_RETURNDC: shows the dialog listing the destinations, opened on
// device_names (or the default destination); on Print, puts the chosen
// destination into device_names and a new printer context into printer and
// returns true; on Cancel, or when the chosen destination cannot be opened,
// returns false and changes nothing.
bool print_dialog(PrintDialogRecord& record);

}  // namespace klv::print
