// The BMP decoder and encoder on a 4000 x 3000 24-bit picture, in memory.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "image/LbFile.h"
#include "image/LbImage.h"
#include "support/Pictures.h"

namespace {

LbImage MakePicture() { return bench::PatternPicture(4000, 3000, 3, 1); }

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
