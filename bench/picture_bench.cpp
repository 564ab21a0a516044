// PNG saving and picture loading on the 640 by 480 bench window showing the
// pie chart. png_save_640x480 goes through save_image (copy of the page,
// encoding, the file written whole); png_save_640x480_cairo writes the same
// pixels with cairo's PNG writer, the peer, in the same run. The counter
// "file_bytes" is the size of the file each writes.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_window.h"
#include "graphics/klv.h"

namespace klv::bench {
namespace {

// The demonstration program's chart.
void draw_chart() {
    open_bench_window();
    set_viewport(0, 0, width, height, 0);
    set_fill_style(1, KLV_BLACK);
    fill_bar(0, 0, width, height);
    set_line_style(0, 0, 1);
    set_color(5);
    draw_rectangle(0, 40, 639, 450);
    set_text_style(3, 0, 2);
    set_color(15);
    out_text_xy(275, 10, "Pie Chart");
    set_fill_style(2, 1);
    draw_pie_slice(319, 239, 0, 75, 100);
    out_text_xy(419, 164, "20.83%");
    set_fill_style(8, 4);
    draw_pie_slice(319, 239, 75, 225, 100);
    out_text_xy(144, 164, "41.67%");
    set_fill_style(10, 2);
    draw_pie_slice(319, 239, 225, 360, 100);
    out_text_xy(394, 314, "37.50%");
}

struct Folder {
    std::string path;
    Folder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "klv-picture-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path = pattern;
    }
    ~Folder() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
};

double file_bytes(const std::string& file) {
    std::error_code ignored;
    return double(std::filesystem::file_size(file, ignored));
}

// Times save(file), which makes a new file each time, and counts its bytes.
template <class Save>
void time_saves(benchmark::State& state, Save save) {
    Folder folder;
    const std::string file = folder.path + "/chart.png";
    for (auto _ : state) {
        state.PauseTiming();
        unlink(file.c_str());
        state.ResumeTiming();
        if (!save(file.c_str())) {
            state.SkipWithError("the file could not be written");
            break;
        }
    }
    state.counters["file_bytes"] = file_bytes(file);
}

void png_save_640x480(benchmark::State& state) {
    draw_chart();
    time_saves(state, [](const char* file) { return save_image(file, 0, 0, INT_MAX, INT_MAX, false) == 0; });
}

void png_save_640x480_cairo(benchmark::State& state) {
    draw_chart();
    std::vector<unsigned char> image(std::size_t(image_bytes(0, 0, width - 1, height - 1)));
    grab_image(0, 0, width - 1, height - 1, image.data());
    cairo_surface_t* surface =
        cairo_image_surface_create_for_data(image.data() + 8, CAIRO_FORMAT_RGB24, width, height, width * 4);
    time_saves(state, [surface](const char* file) {
        return cairo_surface_write_to_png(surface, file) == CAIRO_STATUS_SUCCESS;
    });
    cairo_surface_destroy(surface);
}

void load_chart(benchmark::State& state, const char* name) {
    draw_chart();
    Folder folder;
    const std::string file = folder.path + "/" + name;
    if (save_image(file.c_str(), 0, 0, INT_MAX, INT_MAX, false) != 0) {
        state.SkipWithError("save_image failed");
        return;
    }
    for (auto _ : state) {
        if (load_image(file.c_str(), 0, 0) != 0) {
            state.SkipWithError("load_image failed");
            break;
        }
    }
    state.counters["file_bytes"] = file_bytes(file);
}

void load_image_bmp_640x480(benchmark::State& state) { load_chart(state, "chart.bmp"); }
void load_image_png_640x480(benchmark::State& state) { load_chart(state, "chart.png"); }

BENCHMARK(png_save_640x480)->Unit(benchmark::kMillisecond);
BENCHMARK(png_save_640x480_cairo)->Unit(benchmark::kMillisecond);
BENCHMARK(load_image_bmp_640x480)->Unit(benchmark::kMillisecond);
BENCHMARK(load_image_png_640x480)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace klv::bench
