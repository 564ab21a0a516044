// Whole files through KERNEL32: a temporary file beside the target, flushed
// when it replaces a file, then moved over the target in one step.
#include "platform/files/whole_file_write.h"

#include <atomic>

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

bool write_all(HANDLE file, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : DWORD(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes = bytes.subspan(written);
    }
    return true;
}

bool is_regular_file(const std::string& name) {
    const DWORD attributes = GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool file_exists(const std::string& name) { return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A replaced file's bytes are flushed before the move, so that even a power
// failure leaves the old file or the new one.
bool write_whole_file(const char* file_name, std::initializer_list<std::span<const std::uint8_t>> parts) {
    if (file_name == nullptr || *file_name == '\0') return false;
    const std::string target = file_name;
    std::string temporary;
    HANDLE file = create_temporary(folder_of(target), temporary);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    for (const auto& part : parts) ok = ok && write_all(file, part);
    if (ok && is_regular_file(target)) ok = FlushFileBuffers(file) != 0;
    ok = CloseHandle(file) != 0 && ok;
    if (ok && MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}

}  // namespace klv::files
