// A picture file opened for reading.
#pragma once

#include "graphics/picture/picture.h"

namespace klv {

class FileSource final : public ByteSource {
public:
    // Opens without waiting (a named pipe with no writer does not block);
    // ok() is false when the name is not a regular file that can be read.
    explicit FileSource(const char* file_name);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool ok() const { return fd_ >= 0; }
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, void* to, std::size_t count) override;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

}  // namespace klv
