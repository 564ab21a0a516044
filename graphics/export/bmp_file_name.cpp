#include "graphics/export/bmp_file_name.h"

#include "platform/files/whole_file_write.h"
#include "platform/ui/save_dialog.h"
#include "platform/ui/ui.h"

namespace klv {

namespace {

constexpr std::size_t longest_name_extended = 255;

}  // namespace

std::string with_bmp_extension(const std::string& name) {
    std::size_t n = name.size();
    if (n < 4) return name + ".BMP";
    if (name[n - 4] == '.') return name;
    if (n <= longest_name_extended) return name + ".BMP";
    return name;
}

std::optional<std::string> ask_bmp_file_name(ui::Window* owner) {
    ui::SaveFileRequest request;
    request.filter_name = "Bitmap files (*.bmp)";
    request.filter_pattern = "*.BMP";
    request.owner = owner;
    request.title = "Save image as";
    request.more_filters = {{"PNG files (*.png)", "*.PNG"}};
    if (!ui::save_file_dialog(request) || request.chosen_name.empty()) return std::nullopt;
    std::string name = with_bmp_extension(request.chosen_name);
    if (name != request.chosen_name && files::file_exists(name) && !ui::ask_replace_file(owner, name)) return std::nullopt;
    return name;
}

}  // namespace klv
