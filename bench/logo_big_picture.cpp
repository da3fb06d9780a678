// An 8000 x 8000 picture on the logo page: opening the BMP file and the quarter turns
// of the Rotate commands.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "image/LbImage.h"
#include "logo/PictureLoad.h"
#include "platform/Services.h"
#include "support/CliProcess.h"
#include "support/Pictures.h"

namespace {

constexpr uint32_t kSide = 8000;

LbImage& Picture() {
    static LbImage picture = bench::PatternPicture(kSide, kSide, 7, 13);
    return picture;
}

const std::string& BmpFile() {
    static const std::string path = [] {
        std::string p = (bench::ScratchDir("lyra_bench_big_") / "picture.bmp").string();
        Picture().Save(p, LB_FORMAT_BMP);
        return p;
    }();
    return path;
}

// The image library's load by name, as the logo page read pictures before.
void OpenWithLibrary(benchmark::State& state) {
    const std::string& path = BmpFile();
    for (auto _ : state) {
        LbImage picture(path, LB_FORMAT_BMP);
        benchmark::DoNotOptimize(picture.GetBits());
    }
}
BENCHMARK(OpenWithLibrary)->Unit(benchmark::kMillisecond)->UseRealTime();

// The logo page's read: by content, with progress and the escape flag watched.
void OpenForTheLogoPage(benchmark::State& state) {
    const std::string& path = BmpFile();
    for (auto _ : state) {
        LbImage picture, monitor;
        std::string error;
        logo::LoadPicture(path, LB_FORMAT_BMP, picture, error, &monitor);
        benchmark::DoNotOptimize(picture.GetBits());
    }
}
BENCHMARK(OpenForTheLogoPage)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole open on the logo page: the document's Open with the picture check, the
// read and the working logo made at load.
void OpenInTheDocument(benchmark::State& state) {
    const std::string& path = BmpFile();
    static platform::ScriptedServices services;
    static CLyraApp app;
    for (auto _ : state) {
        app.Document().OnOpenDocument(path);
        benchmark::DoNotOptimize(app.Document().SourceImage());
    }
}
BENCHMARK(OpenInTheDocument)->Unit(benchmark::kMillisecond)->UseRealTime();

void Rotate(benchmark::State& state) {
    LbImage& picture = Picture();
    for (auto _ : state) {
        LbImage turned;
        if (state.range(0) == 0)
            picture.RotateLeft(&turned);
        else
            picture.RotateRight(&turned);
        benchmark::DoNotOptimize(turned.GetBits());
    }
}
BENCHMARK(Rotate)->ArgName("right")->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
