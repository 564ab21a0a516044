// A picture file opened for reading.
#pragma once

#include "graphics/picture/picture.h"
#include "platform/files/file_reader.h"

namespace klv {

class FileSource final : public ByteSource {
public:
    // ok() is false when the name is not a regular file that can be read.
    explicit FileSource(const char* file_name) : file_(file_name) {}

    bool ok() const { return file_.ok(); }
    std::uint64_t size() const override { return file_.size(); }
    bool read(std::uint64_t offset, void* to, std::size_t count) override { return file_.read(offset, to, count); }

private:
    files::FileReader file_;
};

}  // namespace klv
