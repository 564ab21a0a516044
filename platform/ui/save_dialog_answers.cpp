#include "platform/ui/save_dialog_answers.h"

#include <mutex>

#include "platform/ui/save_dialog_testing.h"

namespace klv::ui {

namespace {

struct ScriptedAnswers {
    std::mutex mutex;
    std::optional<std::optional<std::string>> save_answer;
    std::optional<bool> overwrite_answer;
    int save_dialogs = 0;
    int overwrite_questions = 0;
};

ScriptedAnswers& answers() {
    static ScriptedAnswers instance;
    return instance;
}

}  // namespace

std::optional<std::optional<std::string>> take_scripted_save_answer() {
    std::lock_guard lock(answers().mutex);
    ++answers().save_dialogs;
    return answers().save_answer;
}

std::optional<bool> take_scripted_overwrite_answer() {
    std::lock_guard lock(answers().mutex);
    ++answers().overwrite_questions;
    return answers().overwrite_answer;
}

namespace testing {

void set_save_dialog_answer(std::optional<std::string> name) {
    std::lock_guard lock(answers().mutex);
    answers().save_answer = std::move(name);
}

void set_overwrite_answer(bool replace) {
    std::lock_guard lock(answers().mutex);
    answers().overwrite_answer = replace;
}

void clear_dialog_answers() {
    std::lock_guard lock(answers().mutex);
    answers().save_answer.reset();
    answers().overwrite_answer.reset();
    answers().save_dialogs = 0;
    answers().overwrite_questions = 0;
}

int save_dialogs_shown() {
    std::lock_guard lock(answers().mutex);
    return answers().save_dialogs;
}

int overwrite_questions_asked() {
    std::lock_guard lock(answers().mutex);
    return answers().overwrite_questions;
}

}  // namespace testing

}  // namespace klv::ui
