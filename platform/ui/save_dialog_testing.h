// Test support: answers for the save-file dialog and the replace question,
// given in place of the user. Every function may be called from any thread.
#pragma once

#include <optional>
#include <string>

namespace klv::ui::testing {

// From now on the save-file dialog shows nothing and answers with the name,
// or as if cancelled for nullopt.
void set_save_dialog_answer(std::optional<std::string> name);
// From now on the replace question shows nothing and answers this.
void set_overwrite_answer(bool replace);
// Back to showing the dialogs; the counts below start again from 0.
void clear_dialog_answers();

int save_dialogs_shown();
int overwrite_questions_asked();

}  // namespace klv::ui::testing
