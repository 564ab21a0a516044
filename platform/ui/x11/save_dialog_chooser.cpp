#include "platform/ui/x11/save_dialog_chooser.h"

#include <unistd.h>

#include <cctype>
#include <climits>
#include <vector>

#include "platform/ui/dialog_program.h"
#include "platform/ui/dialog_program_options.h"

namespace klv::ui {

namespace {

// The filter's patterns, with the lower-case form added ("*.BMP *.bmp").
std::string filter_patterns(const std::string& pattern) {
    std::string lower = pattern;
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    return lower == pattern ? pattern : pattern + " " + lower;
}

std::string current_folder() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) + "/" : std::string("./");
}

// zenity reads markup in its texts.
std::string markup_escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

// Every filter of the request, the first first: kdialog takes them as lines
// of one argument, zenity as one argument each.
std::vector<std::string> save_arguments(const std::string& program, const SaveFileRequest& request) {
    std::vector<std::pair<std::string, std::string>> filters{{request.filter_name, request.filter_pattern}};
    filters.insert(filters.end(), request.more_filters.begin(), request.more_filters.end());
    const std::string title = request.title.empty() ? "Save As" : request.title;
    if (is_kdialog(program)) {
        std::string lines;
        for (const auto& [name, pattern] : filters) {
            if (!lines.empty()) lines += '\n';
            lines += filter_patterns(pattern);
            lines += '|';
            lines += name;
        }
        return dialog_command(program, request.owner, title, {"--getsavefilename", current_folder(), lines});
    }
    std::vector<std::string> arguments{"--file-selection", "--save", "--confirm-overwrite"};
    for (const auto& [name, pattern] : filters) arguments.push_back("--file-filter=" + name + " | " + filter_patterns(pattern));
    return dialog_command(program, request.owner, title, arguments);
}

std::vector<std::string> question_arguments(const std::string& program, Window* owner, const std::string& file_name) {
    std::string text = file_name + " already exists.\nDo you want to replace it?";
    if (is_kdialog(program)) return dialog_command(program, owner, "Confirm Save As", {"--yesno", text});
    return dialog_command(program, owner, "Confirm Save As", {"--question", "--text=" + markup_escaped(text)});
}

}  // namespace

bool file_chooser_installed() { return !desktop_dialog_program().empty(); }

std::optional<std::string> choose_save_file(const SaveFileRequest& request) {
    std::string program = desktop_dialog_program();
    if (program.empty()) return std::nullopt;
    auto answer = run_dialog_program(request.owner, save_arguments(program, request));
    if (!answer || answer->exit_code != 0) return std::nullopt;
    std::string name = answer->output;
    if (!name.empty() && name.back() == '\n') name.pop_back();
    if (name.empty()) return std::nullopt;
    return name;
}

bool ask_replace_with_chooser(Window* owner, const std::string& file_name) {
    std::string program = desktop_dialog_program();
    if (program.empty()) return false;
    auto answer = run_dialog_program(owner, question_arguments(program, owner, file_name));
    return answer && answer->exit_code == 0;
}

}  // namespace klv::ui
