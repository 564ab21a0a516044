// The process-wide tables: registered window classes and live windows. A
// window handle is looked up here before it is used, so a handle of a
// destroyed window is refused instead of followed. Internal to platform/ui.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/ui.h"

namespace klv::ui {

class ThreadQueue;

std::optional<WindowClass> find_class(const std::string& name);
bool add_class(const WindowClass& window_class);
bool remove_class(const std::string& name);

void add_window(const std::shared_ptr<Window>& window);
void remove_window(Window* window);
std::shared_ptr<Window> find_window(Window* window);  // null once destroyed
std::vector<Window*> all_windows();

// Destroys, without calling their procedures, the windows of a thread that ends.
void release_thread_windows(ThreadQueue& queue);

}  // namespace klv::ui
