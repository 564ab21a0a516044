#include "platform/ui/dialog_program_options.h"

#include "platform/ui/dialog_program.h"

namespace klv::ui {

std::string desktop_dialog_program() {
    std::string zenity = find_program("zenity");
    return zenity.empty() ? find_program("kdialog") : zenity;
}

bool is_kdialog(const std::string& program) { return program.ends_with("kdialog"); }

std::vector<std::string> dialog_command(const std::string& program, Window* owner, const std::string& title,
                                        const std::vector<std::string>& arguments) {
    const std::string id = desktop_window_id(owner);
    std::vector<std::string> command = {program};
    if (is_kdialog(program)) {
        command.insert(command.end(), {"--title", title});
        if (!id.empty()) command.insert(command.end(), {"--attach", id});
    } else {
        command.push_back("--title=" + title);
    }
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}

}  // namespace klv::ui
