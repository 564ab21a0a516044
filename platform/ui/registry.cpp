#include "platform/ui/registry.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/ui/window_record.h"

namespace klv::ui {

namespace {

struct Tables {
    std::mutex mutex;
    std::map<std::string, WindowClass> classes;
    std::vector<std::shared_ptr<Window>> windows;  // creation order
};

// Never destroyed: window threads may outlive static destruction at exit.
Tables& tables() {
    static Tables* instance = new Tables;
    return *instance;
}

}  // namespace

std::optional<WindowClass> find_class(const std::string& name) {
    auto& t = tables();
    std::lock_guard lock(t.mutex);
    auto found = t.classes.find(name);
    if (found == t.classes.end()) return std::nullopt;
    return found->second;
}

bool add_class(const WindowClass& window_class) {
    auto& t = tables();
    std::lock_guard lock(t.mutex);
    return t.classes.emplace(window_class.name, window_class).second;
}

bool remove_class(const std::string& name) {
    auto& t = tables();
    std::lock_guard lock(t.mutex);
    return t.classes.erase(name) > 0;
}

void add_window(const std::shared_ptr<Window>& window) {
    auto& t = tables();
    std::lock_guard lock(t.mutex);
    t.windows.push_back(window);
}

void remove_window(Window* window) {
    auto& t = tables();
    std::lock_guard lock(t.mutex);
    std::erase_if(t.windows, [window](const auto& w) { return w.get() == window; });
}

std::shared_ptr<Window> find_window(Window* window) {
    if (!window) return nullptr;
    auto& t = tables();
    std::lock_guard lock(t.mutex);
    auto found = std::find_if(t.windows.begin(), t.windows.end(), [window](const auto& w) { return w.get() == window; });
    return found == t.windows.end() ? nullptr : *found;
}

std::vector<Window*> all_windows() {
    auto& t = tables();
    std::lock_guard lock(t.mutex);
    std::vector<Window*> result;
    for (auto& w : t.windows) result.push_back(w.get());
    return result;
}

}  // namespace klv::ui
