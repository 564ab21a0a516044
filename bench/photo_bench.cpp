// Loading a 640 by 480 photo: load_image of the photo as JPEG (quality 90,
// 4:2:0, as cameras and web pages store photos; baseline and progressive)
// beside the same photo as PNG (saved by save_image), and the peer:
// libjpeg-turbo decoding the same JPEG file into memory on its own, which
// is what load_image's JPEG path adds reading the file, the page and the
// screen to. The photo is made here: smooth light, texture and sensor
// noise, so that neither file is unusually small.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>  // before jpeglib.h
#include <jpeglib.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_window.h"
#include "graphics/klv.h"

namespace klv::bench {
namespace {

// 0x00RRGGBB pixels, rows top first.
std::vector<std::uint32_t> make_photo() {
    std::vector<std::uint32_t> pixels;
    std::uint32_t noise = 0x9E3779B9u;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
            const double light = 0.6 + 0.4 * std::sin(x / 90.0) * std::cos(y / 70.0);
            const double texture = 18 * std::sin(x / 3.0 + std::sin(y / 5.0) * 2);
            const int grain = int(noise % 9) - 4;
            auto channel = [&](double base) { return std::uint32_t(std::clamp(int(base * light + texture) + grain, 0, 255)); };
            pixels.push_back(channel(200 - y / 4.0) << 16 | channel(120 + x / 8.0) << 8 | channel(90 + (x + y) / 10.0));
        }
    return pixels;
}

bool write_jpeg(const std::string& path, const std::vector<std::uint32_t>& pixels, bool progressive) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(std::size_t(width) * 3);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[info.next_scanline * std::size_t(width) + std::size_t(x)];
            row[std::size_t(x) * 3] = JSAMPLE(p >> 16), row[std::size_t(x) * 3 + 1] = JSAMPLE(p >> 8), row[std::size_t(x) * 3 + 2] = JSAMPLE(p);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

// The photo's files, made once for the run.
struct PhotoFiles {
    std::string folder, jpeg, progressive, png;
    PhotoFiles() {
        std::string pattern = (std::filesystem::temp_directory_path() / "klv-photo-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        folder = pattern, jpeg = folder + "/photo.jpg", progressive = folder + "/photo-progressive.jpg", png = folder + "/photo.png";
        const std::vector<std::uint32_t> pixels = make_photo();
        if (!write_jpeg(jpeg, pixels, false) || !write_jpeg(progressive, pixels, true)) std::abort();
        open_bench_window();
        std::vector<int> image(2 + pixels.size());
        image[0] = width, image[1] = height;
        for (std::size_t i = 0; i < pixels.size(); ++i) image[2 + i] = int(pixels[i]);
        paste_image(0, 0, image.data(), KLV_PASTE_COPY);
        if (save_image(png.c_str(), 0, 0, INT_MAX, INT_MAX, true) != 0) std::abort();
    }
    ~PhotoFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

const PhotoFiles& files() {
    static const PhotoFiles made;
    return made;
}

double file_bytes(const std::string& file) {
    std::error_code ignored;
    return double(std::filesystem::file_size(file, ignored));
}

void load(benchmark::State& state, const std::string& file) {
    open_bench_window();
    for (auto _ : state) {
        if (load_image(file.c_str(), 0, 0) != 0) {
            state.SkipWithError("load_image failed");
            break;
        }
    }
    state.counters["file_bytes"] = file_bytes(file);
}

void load_image_jpeg_photo_640x480(benchmark::State& state) { load(state, files().jpeg); }
void load_image_jpeg_progressive_photo_640x480(benchmark::State& state) { load(state, files().progressive); }
void load_image_png_photo_640x480(benchmark::State& state) { load(state, files().png); }

// The peer: the file read into memory once, then decoded by libjpeg-turbo
// to 4-byte pixels, with nothing else.
void jpeg_decode_photo_640x480_libjpeg(benchmark::State& state) {
    std::FILE* file = std::fopen(files().jpeg.c_str(), "rb");
    std::vector<unsigned char> bytes(std::size_t(file_bytes(files().jpeg)));
    if (file == nullptr || std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) std::abort();
    std::fclose(file);
    std::vector<JSAMPLE> pixels(std::size_t(width) * height * 4);
    for (auto _ : state) {
        jpeg_decompress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_EXT_BGRX;
        jpeg_start_decompress(&info);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = pixels.data() + std::size_t(info.output_scanline) * width * 4;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(pixels.data());
    }
    state.counters["file_bytes"] = double(bytes.size());
}

BENCHMARK(load_image_jpeg_photo_640x480)->Unit(benchmark::kMillisecond);
BENCHMARK(load_image_jpeg_progressive_photo_640x480)->Unit(benchmark::kMillisecond);
BENCHMARK(load_image_png_photo_640x480)->Unit(benchmark::kMillisecond);
BENCHMARK(jpeg_decode_photo_640x480_libjpeg)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace klv::bench
