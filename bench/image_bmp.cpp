// The BMP decoder and encoder on a 4000 x 3000 24-bit picture, in memory.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "image/LbFile.h"
#include "image/LbImage.h"

namespace {

LbImage MakePicture() {
    LbImage image(4000, 3000, 24, LB_FORMAT_BMP);
    for (uint32_t y = 0; y < 3000; ++y) {
        uint8_t* row = image.GetBits(y);
        for (uint32_t x = 0; x < 4000 * 3; ++x) row[x] = uint8_t(x * 3 + y);
    }
    return image;
}

std::vector<uint8_t> Encoded(LbImage& image) {
    LbMemFile file;
    file.Open();
    image.Encode(&file, LB_FORMAT_BMP);
    const uint8_t* data = file.GetBuffer(false);
    return std::vector<uint8_t>(data, data + file.Size());
}

void BmpEncode(benchmark::State& state) {
    LbImage image = MakePicture();
    for (auto _ : state) {
        LbMemFile file;
        file.Open();
        image.Encode(&file, LB_FORMAT_BMP);
        benchmark::DoNotOptimize(file.Size());
    }
}
BENCHMARK(BmpEncode)->Unit(benchmark::kMillisecond);

void BmpDecode(benchmark::State& state) {
    LbImage image = MakePicture();
    const std::vector<uint8_t> bytes = Encoded(image);
    for (auto _ : state) {
        LbImage decoded;
        decoded.Decode(bytes.data(), bytes.size(), LB_FORMAT_BMP);
        benchmark::DoNotOptimize(decoded.GetBits());
    }
}
BENCHMARK(BmpDecode)->Unit(benchmark::kMillisecond);

}  // namespace
