// Saving the whole 640 by 480 window as a BMP file through save_image: the
// copy of the page, the conversion to a 24-bit DIB and the file written whole
// (a temporary file renamed to the name given). Replacing an existing file
// also flushes the new one to disk first.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/bench_window.h"
#include "graphics/klv.h"

namespace klv::bench {
namespace {

constexpr std::int64_t bmp_bytes = 921654;

std::string make_folder() {
    std::string folder = (std::filesystem::temp_directory_path() / "klv-bmp-bench-XXXXXX").string();
    return mkdtemp(folder.data()) != nullptr ? folder : std::string();
}

void save_window(benchmark::State& state, bool replace) {
    open_bench_window();
    set_fill_style(1, KLV_LIGHT_BLUE);
    fill_bar(100, 100, 300, 250);
    std::string folder = make_folder();
    if (folder.empty()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    std::string file = folder + "/window.bmp";
    for (auto _ : state) {
        if (!replace) {
            state.PauseTiming();
            unlink(file.c_str());
            state.ResumeTiming();
        }
        if (save_image(file.c_str(), 0, 0, INT_MAX, INT_MAX, false) != 0) {
            state.SkipWithError("save_image failed");
            break;
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * bmp_bytes);
    std::filesystem::remove_all(folder);
}

void bmp_save_640x480(benchmark::State& state) { save_window(state, false); }
void bmp_save_640x480_replace(benchmark::State& state) { save_window(state, true); }
BENCHMARK(bmp_save_640x480)->Unit(benchmark::kMillisecond);
BENCHMARK(bmp_save_640x480_replace)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace klv::bench
