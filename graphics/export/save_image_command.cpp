#include "graphics/export/save_image_command.h"

#include <optional>
#include <string>

#include "graphics/draw/drawing_context.h"
#include "graphics/export/bmp_file_name.h"
#include "graphics/export/dib.h"
#include "graphics/export/page_region_save.h"
#include "graphics/klv.h"
#include "platform/ui/save_dialog.h"

namespace klv {

void save_image_command(const char* file_name, int left, int top, int right, int bottom, bool use_active_page,
                        ui::Window* window) {
    std::optional<std::string> chosen;
    if (file_name == nullptr) {
        chosen = ask_bmp_file_name(window);
        if (!chosen) return;
        file_name = chosen->c_str();
    }
    WindowState* state = current_window_state(window);
    if (state == nullptr) return;
    const int saved = save_page_region(*state, file_name, left, top, right, bottom, use_active_page);
    if (chosen && saved == dib_written) ui::offer_saved_file(*chosen);
}

}  // namespace klv

extern "C" int save_image(const char* file_name, int left, int top, int right, int bottom, bool use_active_page) {
    klv::WindowState* state = klv::current_window_state(nullptr);
    if (file_name == nullptr) return klv::dib_cannot_write;
    return klv::save_page_region(*state, file_name, left, top, right, bottom, use_active_page);
}
