#include "graphics/window/window_thread.h"

#include "graphics/window/library_class.h"
#include "graphics/window/window_procedure.h"

namespace klv {

void WindowCreation::mark_created() {
    std::lock_guard lock(mutex);
    created = true;
    changed.notify_all();
}

void WindowCreation::mark_thread_ended() {
    std::lock_guard lock(mutex);
    thread_ended = true;
    changed.notify_all();
}

bool WindowCreation::wait() {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return created || thread_ended; });
    return created;
}

namespace {

struct MenuEntry {
    std::uint32_t flags;
    std::uint32_t id;
    const char* text;
};

constexpr MenuEntry system_menu_entries[] = {
    {ui::MF_SEPARATOR, 0, nullptr},
    {ui::MF_STRING, save_image_menu_command, "Save image as..."},
    {ui::MF_STRING, print_2_inch_command, "Print 2\" wide..."},
    {ui::MF_STRING, print_4_5_inch_command, "Print 4.5\" wide..."},
    {ui::MF_STRING, print_7_inch_command, "Print 7\" wide..."},
    {ui::MF_SEPARATOR, 0, nullptr},
};

ui::Window* create_library_window(const WindowState* state) {
    const bool has_title = !state->title.empty();
    const gdi::Size outer = outer_window_size(state->width, state->height, has_title);
    const std::uint32_t style = has_title ? ui::WS_CAPTION | ui::WS_SYSMENU | ui::WS_MINIMIZEBOX
                                          : ui::WS_POPUP | ui::WS_DLGFRAME;
    return ui::create_window(library_class_name, state->title, style, state->left, state->top, outer.cx,
                             outer.cy);
}

// Four pages of the client size; false (nothing kept) when their memory
// cannot be had.
bool create_pages(WindowState* state) {
    gdi::DeviceContext* window_dc = ui::get_dc(state->hwnd);
    std::lock_guard lock(state->mutex);
    bool complete = true;
    for (std::size_t i = 0; i < page_count; ++i) {
        state->page_dc[i] = gdi::create_compatible_dc(window_dc);
        gdi::Bitmap* bitmap = gdi::create_compatible_bitmap(window_dc, state->width, state->height);
        if (bitmap == nullptr) complete = false;
        state->page_initial_bitmap[i] = bitmap != nullptr ? gdi::select_object(state->page_dc[i], bitmap)
                                                          : gdi::current_object(state->page_dc[i],
                                                                                gdi::ObjectKind::bitmap);
    }
    if (!complete) free_pages(state);
    ui::release_dc(state->hwnd, window_dc);
    return complete;
}

void run_message_loop() {
    ui::Message message;
    while (ui::get_message(&message)) {
        ui::translate_message(message);
        ui::dispatch_message(message);
    }
}

}  // namespace

gdi::Size outer_window_size(int width, int height, bool has_title) {
    const int caption = has_title ? ui::system_metric(ui::SM_CYCAPTION) : 0;
    return {width + 2 * ui::system_metric(ui::SM_CXDLGFRAME),
            height + 2 * ui::system_metric(ui::SM_CYDLGFRAME) + caption};
}

void window_thread_main(WindowState* state, std::shared_ptr<WindowCreation> creation) {
    ui::Window* window = create_library_window(state);
    if (window == nullptr) {
        report_system_error(nullptr);
        return;
    }
    for (const MenuEntry& entry : system_menu_entries) ui::append_system_menu(window, entry.flags, entry.id, entry.text);
    state->hwnd = window;
    ui::set_user_data(window, state);
    window_thread_state = state;
    state->visual_page = state->active_page = 0;
    if (!create_pages(state)) {
        ui::set_user_data(window, nullptr);
        window_thread_state = nullptr;
        report_system_error("Not enough memory for the window's pages.");
        return;
    }
    ui::show_window(window, ui::SW_SHOWNORMAL);
    ui::update_window(window);
    creation->mark_created();
    creation.reset();

    run_message_loop();

    {
        std::lock_guard lock(state->mutex);
        free_pages(state);
    }
    ui::set_user_data(window, nullptr);
    window_thread_state = nullptr;
    delete state;
}

}  // namespace klv
