// GetSaveFileNameA and the replace question: scripted answers for tests,
// nothing on the headless backend, the desktop's file chooser where there is
// one, else ours.
#include "platform/ui/save_dialog.h"

#include "platform/ui/backend.h"
#include "platform/ui/file_chooser.h"
#include "platform/ui/save_dialog_answers.h"
#include "platform/ui/ui.h"
#include "platform/ui/native_desktop.h"

namespace klv::ui {

bool save_file_dialog(SaveFileRequest& request) {
    if (auto scripted = take_scripted_save_answer()) {
        if (!*scripted) return false;
        request.chosen_name = **scripted;
        return true;
    }
    if (chosen_backend() != BackendKind::native) return false;
    std::optional<std::string> name =
        native_file_chooser_installed() ? native_choose_save_file(request) : run_file_chooser(request);
    if (!name) return false;
    request.chosen_name = *name;
    return true;
}

bool ask_replace_file(Window* owner, const std::string& file_name) {
    if (auto scripted = take_scripted_overwrite_answer()) return *scripted;
    if (chosen_backend() != BackendKind::native) return false;
    return native_ask_replace(owner, file_name);
}

void offer_saved_file(const std::string& path) {
    if (chosen_backend() == BackendKind::native) native_offer_saved_file(path);
}

}  // namespace klv::ui
