// A fresh folder for one test's files, removed with everything in it.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <filesystem>
#include <string>
#include <vector>

namespace klv::test {

class TempFolder {
public:
    TempFolder() {
        static std::atomic<unsigned> counter{0};
        const std::string unique = std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
                                   std::to_string(counter++);
        std::error_code error;
        std::filesystem::path candidate = std::filesystem::temp_directory_path(error) / ("klv-export-" + unique);
        if (!error && std::filesystem::create_directory(candidate, error)) path_ = candidate;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

    // The names in the folder, sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) result.push_back(entry.path().filename().string());
        std::sort(result.begin(), result.end());
        return result;
    }

private:
    std::filesystem::path path_;
};

}  // namespace klv::test

namespace klv::test {

inline std::vector<std::uint8_t> read_file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::uint32_t u32_at(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return std::uint32_t(bytes.at(at)) | std::uint32_t(bytes.at(at + 1)) << 8 | std::uint32_t(bytes.at(at + 2)) << 16 |
           std::uint32_t(bytes.at(at + 3)) << 24;
}

}  // namespace klv::test
