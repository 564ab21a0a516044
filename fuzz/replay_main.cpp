// Runs a fuzz target over files without libFuzzer: each file named, and
// each file in each folder named, once, after one untimed empty input. Prints the number of inputs and the
// slowest; with --limit-ms=N exits 1 when an input took longer than N ms.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

double run_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto start = std::chrono::steady_clock::now();
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    double limit_ms = 0;
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--limit-ms=", 11) == 0) {
            limit_ms = std::atof(argv[i] + 11);
        } else if (std::filesystem::is_directory(argv[i])) {
            for (const auto& entry : std::filesystem::directory_iterator(argv[i]))
                if (entry.is_regular_file()) files.push_back(entry.path());
        } else {
            files.emplace_back(argv[i]);
        }
    }
    // An empty input first, untimed: what a target sets up once (a window)
    // is not counted against the first file.
    LLVMFuzzerTestOneInput(nullptr, 0);
    double slowest = 0;
    std::string slowest_name;
    for (const auto& file : files) {
        const double ms = run_file(file);
        if (ms > slowest) {
            slowest = ms;
            slowest_name = file.string();
        }
    }
    std::printf("%zu inputs; slowest %.2f ms (%s)\n", files.size(), slowest, slowest_name.c_str());
    return limit_ms > 0 && slowest > limit_ms ? 1 : 0;
}
