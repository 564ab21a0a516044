// A file written a part at a time that replaces its target whole or not at
// all: the bytes go to a temporary file in the target's folder, which is
// renamed over the target only when commit succeeds. POSIX calls on Linux
// (posix/), KERNEL32 on Windows (windows/).
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace klv::files {

class ReplacingFile {
public:
    ReplacingFile() = default;
    // Abandons a file that was not committed: the temporary file is removed.
    ~ReplacingFile() { abandon(); }
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the temporary file beside file_name; false when the folder does
    // not take one (missing, not a folder, not writable) or the name is empty.
    bool open(const char* file_name);
    bool is_open() const { return handle_ != no_handle; }
    // Appends bytes; false (and the file stays unusable) when they could not
    // all be written.
    bool write(std::span<const std::uint8_t> bytes);
    // Closes the temporary file and renames it over the target: a replaced
    // file's permission bits pass to the new one, and its bytes are flushed
    // to disk first, so a power failure leaves the old file or the new one;
    // a symbolic link is followed. False on any failure, after which the
    // target is as it was and the temporary file is gone.
    bool commit();
    // Closes and removes the temporary file; the target is as it was.
    void abandon();

private:
    static constexpr std::intptr_t no_handle = -1;
    std::intptr_t handle_ = no_handle;  // a descriptor or a HANDLE
    bool failed_ = false;
    std::string target_;
    std::string temporary_;
};

}  // namespace klv::files
