// PrintDlgA on the process's record: the device mode and device names it
// returns are kept for the next dialog, which opens on the last choice.
#include "platform/print/print_dialog.h"

#include <optional>

#include "platform/print/testing.h"
#include "platform/print/windows/dialog_dc.h"
#include "platform/ui/win32/win32_display.h"

// USER32 and GDI last: their macros must not meet our own names above.
#include <windows.h>
#include <commdlg.h>

namespace klv::print {

namespace {

// The dialog's own handles, as the last dialog left them.
struct DialogHandles {
    HGLOBAL dev_mode = nullptr;
    HGLOBAL dev_names = nullptr;
};

DialogHandles& handles() {
    static DialogHandles kept;
    return kept;
}

std::mutex answer_mutex;
std::optional<std::optional<std::string>> scripted_answer;  // tests: the printer to choose, or Cancel

std::string device_of(HGLOBAL dev_names) {
    if (!dev_names) return {};
    const auto* names = static_cast<const DEVNAMES*>(GlobalLock(dev_names));
    if (!names) return {};
    std::string device = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
    GlobalUnlock(dev_names);
    return device;
}

// Device names that open the dialog on the named printer.
HGLOBAL dev_names_for(const std::string& device) {
    const std::size_t size = sizeof(DEVNAMES) + device.size() + 3;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* names = block ? static_cast<DEVNAMES*>(GlobalLock(block)) : nullptr;
    if (!names) return block;
    names->wDriverOffset = sizeof(DEVNAMES) + device.size() + 1;  // an empty driver
    names->wDeviceOffset = sizeof(DEVNAMES);
    names->wOutputOffset = WORD(names->wDriverOffset + 1);  // an empty port
    std::copy(device.begin(), device.end(), reinterpret_cast<char*>(names) + sizeof(DEVNAMES));
    GlobalUnlock(block);
    return block;
}

// Tests answer the real dialog by pressing its button as soon as it opens.
UINT_PTR CALLBACK press_scripted_button(HWND dialog, UINT message, WPARAM, LPARAM lparam) {
    if (message != WM_INITDIALOG) return 0;
    const auto* request = reinterpret_cast<const PRINTDLGA*>(lparam);
    PostMessageA(dialog, WM_COMMAND, request->lCustData ? IDOK : IDCANCEL, 0);
    return 1;
}

}  // namespace

bool print_dialog(PrintDialogRecord& record) {
    std::optional<std::optional<std::string>> answer;
    {
        std::lock_guard lock(answer_mutex);
        answer = scripted_answer;
    }
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ui::owner_handle(record.owner);  // above the window, which takes no input meanwhile
    dialog.Flags = record.flags;
    dialog.hDevMode = handles().dev_mode;
    dialog.hDevNames = handles().dev_names;
    if (answer && !(record.flags & PD_RETURNDEFAULT)) {
        if (*answer) {
            if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
            if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
            dialog.hDevMode = nullptr;
            dialog.hDevNames = handles().dev_names = dev_names_for(**answer);
            handles().dev_mode = nullptr;
        }
        dialog.Flags |= PD_ENABLEPRINTHOOK;
        dialog.lpfnPrintHook = press_scripted_button;
        dialog.lCustData = answer->has_value() ? 1 : 0;
    }
    if (!PrintDlgA(&dialog)) return false;
    handles().dev_mode = dialog.hDevMode;
    handles().dev_names = dialog.hDevNames;
    record.device_names = device_of(dialog.hDevNames);
    if ((record.flags & PD_RETURNDC) && dialog.hDC) {
        hand_over_dialog_dc(dialog.hDC, record.device_names);
        std::unique_ptr<PrinterContext> printer = PrinterContext::open(record.device_names);
        if (!printer) return false;
        record.printer = std::move(printer);
    }
    return true;
}

namespace testing {

void set_print_dialog_answer(std::optional<std::string> destination) {
    std::lock_guard lock(answer_mutex);
    scripted_answer = std::move(destination);
}

void reset_print_dialog_record() {
    std::lock_guard lock(print_dialog_mutex());
    print_dialog_record() = PrintDialogRecord{};
}

}  // namespace testing
}  // namespace klv::print
