// Saving the whole 640 by 480 window as a BMP file through save_image: the
// copy of the page, the conversion to a 24-bit DIB and the file written whole
// (temporary file, flushed to disk, renamed over the previous one).
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

void bmp_save_640x480(benchmark::State& state) {
    open_bench_window();
    set_fill_style(1, KLV_LIGHT_BLUE);
    fill_bar(100, 100, 300, 250);
    std::string folder = (std::filesystem::temp_directory_path() / "klv-bmp-bench-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    std::string file = folder + "/window.bmp";
    for (auto _ : state) {
        if (save_image(file.c_str(), 0, 0, INT_MAX, INT_MAX, false) != 0) {
            state.SkipWithError("save_image failed");
            break;
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * 921654);
    std::filesystem::remove_all(folder);
}
BENCHMARK(bmp_save_640x480)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace klv::bench
