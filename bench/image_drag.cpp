// The logo page's drag step and the transforms of the picture commands.
#include <benchmark/benchmark.h>

#include "image/LbImage.h"

namespace {

LbImage& Source() {
    static LbImage picture = [] {
        LbImage image(4000, 3000, 24, LB_FORMAT_BMP);
        for (uint32_t y = 0; y < 3000; ++y) {
            uint8_t* row = image.GetBits(y);
            for (uint32_t x = 0; x < 4000 * 3; ++x) row[x] = uint8_t(x * 7 + y * 13);
        }
        return image;
    }();
    return picture;
}

// Crop of a selection, then the nearest-pixel resample to 96 x 96, optionally
// dithered; either as two calls (crop, resample) or through the one-pass CropResample.
void DragStep(benchmark::State& state) {
    const int32_t size = int32_t(state.range(0));
    const int32_t height = size == 96 ? 96 : 800;
    const bool dither = state.range(1) != 0;
    const bool onePass = state.range(2) != 0;
    LbImage& source = Source();
    LbImage logo;
    int32_t offset = 0;
    for (auto _ : state) {
        offset = (offset + 17) % 1000;
        if (onePass) {
            source.CropResample(offset, offset, offset + size, offset + height, 96, 96, &logo);
        } else {
            source.Crop(offset, offset, offset + size, offset + height, &logo);
            logo.Resample(96, 96, 1);
        }
        if (dither) logo.Dither(0);
        benchmark::DoNotOptimize(logo.GetBits());
    }
}
BENCHMARK(DragStep)
    ->ArgNames({"selection", "dither", "onepass"})
    ->ArgsProduct({{96, 1000}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

void ResampleBicubic(benchmark::State& state) {
    LbImage cut;
    Source().Crop(0, 0, 1000, 800, &cut);
    for (auto _ : state) {
        LbImage logo;
        cut.Resample(96, 96, 2, &logo);
        benchmark::DoNotOptimize(logo.GetBits());
    }
}
BENCHMARK(ResampleBicubic)->Unit(benchmark::kMillisecond);

void Rotate(benchmark::State& state) {
    LbImage picture;
    Source().Crop(0, 0, 1000, 800, &picture);
    for (auto _ : state) {
        if (state.range(0) == 0)
            picture.RotateLeft();
        else if (state.range(0) == 1)
            picture.RotateRight();
        else if (state.range(0) == 2)
            picture.Flip();
        else
            picture.Mirror();
        benchmark::DoNotOptimize(picture.GetBits());
    }
}
BENCHMARK(Rotate)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
