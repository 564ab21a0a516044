// Reading a regular file at any offset: POSIX calls on Linux (posix/),
// KERNEL32 on Windows (windows/).
#pragma once

#include <cstddef>
#include <cstdint>

namespace klv::files {

class FileReader {
public:
    // Opens without waiting (a named pipe with no writer does not block);
    // ok() is false when the name is not a regular file that can be read.
    explicit FileReader(const char* file_name);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool ok() const { return handle_ != -1; }
    std::uint64_t size() const { return size_; }
    // Reads exactly `count` bytes at `offset`; a file that shrinks while it
    // is read gives a short read: false.
    bool read(std::uint64_t offset, void* to, std::size_t count);

private:
    std::intptr_t handle_ = -1;  // a file descriptor, or a KERNEL32 handle
    std::uint64_t size_ = 0;
};

}  // namespace klv::files
