// The BMP decoder and encoder on a 4000 x 3000 24-bit picture, in memory, and the
// decoder on 16- and 32-bit bit-field pictures of the same size.
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

// A BMP of bit-field pixels: 40-byte header, the masks (5-6-5, or 8-8-8 in an order
// other than the default), rows of varied words.
std::vector<uint8_t> BitFieldBmp(uint32_t bpp) {
    const uint32_t w = 4000, h = 3000, row = (w * bpp / 8 + 3) / 4 * 4;
    const uint32_t masks16[3] = {0xF800, 0x07E0, 0x001F}, masks32[3] = {0xFF, 0xFF00, 0xFF0000};
    std::vector<uint8_t> b(66 + size_t(row) * h);
    auto put = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, uint32_t(b.size()), 4);
    put(10, 66, 4);
    put(14, 40, 4);
    put(18, w, 4);
    put(22, h, 4);
    put(26, 1, 2);
    put(28, bpp, 2);
    put(30, 3, 4);
    for (int i = 0; i < 3; ++i) put(54 + 4 * size_t(i), bpp == 16 ? masks16[i] : masks32[i], 4);
    uint32_t seed = 12345;
    for (size_t i = 66; i < b.size(); ++i) b[i] = uint8_t((seed = seed * 1103515245 + 12345) >> 16);
    return b;
}

void BmpDecodeBitFields(benchmark::State& state) {
    const std::vector<uint8_t> bytes = BitFieldBmp(uint32_t(state.range(0)));
    for (auto _ : state) {
        LbImage decoded;
        decoded.Decode(bytes.data(), bytes.size(), LB_FORMAT_BMP);
        benchmark::DoNotOptimize(decoded.GetBits());
    }
}
BENCHMARK(BmpDecodeBitFields)->Arg(16)->Arg(32)->Unit(benchmark::kMillisecond);

}  // namespace
