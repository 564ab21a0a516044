#include "platform/ui/file_chooser_folder.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace klv::ui {

namespace fs = std::filesystem;

namespace {

std::string lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool matches(const std::string& name, const std::string& patterns) {
    std::istringstream each(patterns);
    for (std::string pattern; std::getline(each, pattern, ';');) {
        pattern.erase(0, pattern.find_first_not_of(' '));
        if (pattern == "*" || pattern == "*.*") return true;
        if (pattern.starts_with("*") && lower(name).ends_with(lower(pattern.substr(1)))) return true;
    }
    return false;
}

fs::path typed_path(const std::string& folder, const std::string& typed) {
    const char* home = std::getenv("HOME");
    if ((typed == "~" || typed.starts_with("~/")) && home && *home)
        return (fs::path(home) / typed.substr(std::min<std::size_t>(2, typed.size()))).lexically_normal();
    return (fs::path(folder) / typed).lexically_normal();
}

}  // namespace

std::vector<FolderEntry> chooser_entries(const std::string& folder, const std::string& patterns) {
    std::vector<FolderEntry> folders, files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(".")) continue;
        std::error_code kind_error;
        if (it->is_directory(kind_error)) {
            folders.push_back({name, true});
        } else if (matches(name, patterns)) {
            files.push_back({name, false});
        }
    }
    auto by_name = [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; };
    std::sort(folders.begin(), folders.end(), by_name);
    std::sort(files.begin(), files.end(), by_name);
    std::vector<FolderEntry> entries;
    if (fs::path(folder).lexically_normal() != fs::path(folder).root_path()) entries.push_back({"..", true});
    entries.insert(entries.end(), folders.begin(), folders.end());
    entries.insert(entries.end(), files.begin(), files.end());
    return entries;
}

TypedName judge_typed_name(const std::string& folder, const std::string& typed) {
    if (typed.find_first_not_of(' ') == std::string::npos) return {TypedName::Kind::empty, {}};
    const fs::path path = typed_path(folder, typed);
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_directory(status)) return {TypedName::Kind::open_folder, fs::weakly_canonical(path, error).string()};
    const bool names_a_folder = typed.ends_with("/");
    const fs::path parent = path.parent_path();
    if (names_a_folder || !fs::is_directory(fs::status(parent, error)))
        return {TypedName::Kind::missing_folder, (names_a_folder ? path : parent).string()};
    if (!fs::exists(status)) return {TypedName::Kind::new_file, path.string()};
    if (!fs::is_regular_file(status)) return {TypedName::Kind::not_a_file, path.string()};
    // Opened to append and closed at once: nothing in it changes.
    if (!std::ofstream(path, std::ios::app).is_open()) return {TypedName::Kind::write_protected, path.string()};
    return {TypedName::Kind::exists, path.string()};
}

}  // namespace klv::ui
