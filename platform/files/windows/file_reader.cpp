// Reading through KERNEL32: others may go on reading, writing or deleting
// the file meanwhile, as on Linux.
#include "platform/files/file_reader.h"

// KERNEL32 last: its macros must not meet our own names above.
#include <windows.h>

namespace klv::files {

namespace {

HANDLE handle_of(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

FileReader::FileReader(const char* file_name) {
    HANDLE file = CreateFileA(file_name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER size{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size)) {
        CloseHandle(file);
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    size_ = std::uint64_t(size.QuadPart);
}

FileReader::~FileReader() {
    if (ok()) CloseHandle(handle_of(handle_));
}

bool FileReader::read(std::uint64_t offset, void* to, std::size_t count) {
    auto* bytes = static_cast<std::uint8_t*>(to);
    while (count > 0) {
        OVERLAPPED at{};
        at.Offset = DWORD(offset);
        at.OffsetHigh = DWORD(offset >> 32);
        const DWORD chunk = count > 0x40000000 ? 0x40000000 : DWORD(count);
        DWORD got = 0;
        if (!ReadFile(handle_of(handle_), bytes, chunk, &got, &at) || got == 0) return false;
        bytes += got;
        offset += got;
        count -= got;
    }
    return true;
}

}  // namespace klv::files
