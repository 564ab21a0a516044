// The print dialog on a desktop: zenity's or kdialog's radio list of
// destinations, run like every dialog program (the window keeps painting).
#include <optional>
#include <string>
#include <vector>

#include "platform/print/print_chooser.h"
#include "platform/ui/dialog_program.h"
#include "platform/ui/dialog_program_options.h"

namespace klv::print {
namespace {

std::vector<std::string> list_arguments(const std::string& program, const std::vector<std::string>& destinations,
                                        const std::string& initial) {
    std::vector<std::string> arguments;
    if (ui::is_kdialog(program)) {
        arguments = {"--radiolist", "Printer:"};
        for (const std::string& name : destinations) {
            arguments.insert(arguments.end(), {name, name, name == initial ? "on" : "off"});
        }
        return arguments;
    }
    arguments = {"--list",      "--radiolist", "--text=Printer:", "--ok-label=Print", "--cancel-label=Cancel",
                 "--column=", "--column=Name"};
    for (const std::string& name : destinations) {
        arguments.insert(arguments.end(), {name == initial ? "TRUE" : "FALSE", name});
    }
    return arguments;
}

}  // namespace

std::optional<std::string> choose_on_desktop(ui::Window* owner, const std::vector<std::string>& destinations,
                                             const std::string& initial) {
    const std::string program = ui::desktop_dialog_program();
    if (program.empty()) return std::nullopt;
    auto answer =
        ui::run_dialog_program(owner, ui::dialog_command(program, owner, "Print", list_arguments(program, destinations, initial)));
    if (!answer || answer->exit_code != 0) return std::nullopt;
    std::string choice = answer->output.substr(0, answer->output.find('\n'));
    if (choice.empty()) return std::nullopt;
    return choice;
}

}  // namespace klv::print
