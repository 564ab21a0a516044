// Through KERNEL32: a temporary file beside the target, flushed when it
// replaces a file, then moved over the target in one step.
#include "platform/files/replacing_file.h"

#include <atomic>
#include <utility>

// KERNEL32 last: its macros must not meet our own names above.
#include <windows.h>

namespace klv::files {

namespace {

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return ".";
    return path.substr(0, slash);  // "C:" and "" stand for the drive's and the root folder
}

HANDLE create_temporary(const std::string& folder, std::string& name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "\\.klv-save-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++) +
               ".tmp";
        HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

bool is_regular_file(const std::string& name) {
    const DWORD attributes = GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HANDLE as_handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

bool ReplacingFile::open(const char* file_name) {
    abandon();
    if (file_name == nullptr || *file_name == '\0') return false;
    target_ = file_name;
    HANDLE file = create_temporary(folder_of(target_), temporary_);
    handle_ = file == INVALID_HANDLE_VALUE ? no_handle : reinterpret_cast<std::intptr_t>(file);
    failed_ = false;
    return is_open();
}

bool ReplacingFile::write(std::span<const std::uint8_t> bytes) {
    if (!is_open() || failed_) return false;
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : DWORD(bytes.size());
        DWORD written = 0;
        if (!WriteFile(as_handle(handle_), bytes.data(), chunk, &written, nullptr) || written == 0)
            return !(failed_ = true);
        bytes = bytes.subspan(written);
    }
    return true;
}

bool ReplacingFile::commit() {
    if (!is_open()) return false;
    HANDLE file = as_handle(std::exchange(handle_, no_handle));
    bool ok = !failed_;
    if (ok && is_regular_file(target_)) ok = FlushFileBuffers(file) != 0;
    ok = CloseHandle(file) != 0 && ok;
    if (ok && MoveFileExA(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary_.c_str());
    return false;
}

void ReplacingFile::abandon() {
    if (!is_open()) return;
    CloseHandle(as_handle(std::exchange(handle_, no_handle)));
    DeleteFileA(temporary_.c_str());
}

}  // namespace klv::files
