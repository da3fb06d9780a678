// A 4000 x 3000 RGB PNG turned into a BMP in memory: our codec against libpng's
// simplified API (the usual way to read a PNG in a few lines) and, when it is
// installed, libspng. Each path decodes to blue-green-red rows, bottom row first,
// and writes them behind a BMP header, so the three do the same work.
// The other way, the same picture written as a PNG in memory: our encoder at each
// level against libpng's simplified API at zlib's default level.
#include <benchmark/benchmark.h>

#include <png.h>

#include <cstring>
#include <vector>

#include "image/LbByteOrder.h"
#include "image/LbFile.h"
#include "image/LbImage.h"
#include "image/LbImagePNG.h"

#ifdef LYRA_HAVE_SPNG
#include <spng.h>
#endif

namespace {

constexpr uint32_t kWidth = 4000, kHeight = 3000;
constexpr size_t kStride = kWidth * 3;

// Smooth shading with grain, as a photograph gives.
const LbImage& Photo() {
    static LbImage image;
    if (!image.IsValid()) {
        image.Create(kWidth, kHeight, 24, LB_FORMAT_PNG);
        uint32_t seed = 1;
        for (uint32_t y = 0; y < kHeight; ++y) {
            uint8_t* row = image.GetBits(y);
            for (uint32_t x = 0; x < kWidth; ++x) {
                seed = seed * 1664525u + 1013904223u;
                const uint32_t grain = seed >> 29;
                row[3 * x] = uint8_t(x * 255 / kWidth + grain);
                row[3 * x + 1] = uint8_t(y * 255 / kHeight + grain);
                row[3 * x + 2] = uint8_t((x + y) / 32 * 7 + grain);
            }
        }
    }
    return image;
}

const std::vector<uint8_t>& PngFile() {
    static std::vector<uint8_t> file;
    if (file.empty()) {
        LbImage image(Photo());
        LbMemFile out;
        out.Open();
        image.Encode(&out, LB_FORMAT_PNG);
        const uint8_t* data = out.GetBuffer(false);
        file.assign(data, data + out.Size());
    }
    return file;
}

// A BMP of rows that are already blue-green-red and bottom-up, as a writer that
// had them in memory would produce it: header, then the rows in one write.
void WriteBmp(LbMemFile& out, const uint8_t* rows) {
    uint8_t head[54] = {'B', 'M'};
    LbStore32(head + 2, uint32_t(54 + kStride * kHeight));
    LbStore32(head + 10, 54);
    LbStore32(head + 14, 40);
    LbStore32(head + 18, kWidth);
    LbStore32(head + 22, kHeight);
    LbStore16(head + 26, 1);
    LbStore16(head + 28, 24);
    LbStore32(head + 34, uint32_t(kStride * kHeight));
    out.Write(head, 1, sizeof head);
    out.Write(rows, kStride, kHeight);
}

void BM_PngToBmpOurs(benchmark::State& state) {
    const auto& file = PngFile();
    for (auto _ : state) {
        LbImage image;
        if (!image.Decode(file.data(), file.size(), LB_FORMAT_PNG)) state.SkipWithError("decode failed");
        LbMemFile out;
        out.Open();
        image.Encode(&out, LB_FORMAT_BMP);
        benchmark::DoNotOptimize(out.Size());
    }
    state.counters["png_bytes"] = double(file.size());
}
BENCHMARK(BM_PngToBmpOurs)->Unit(benchmark::kMillisecond);

void BM_PngToBmpLibpngSimplified(benchmark::State& state) {
    const auto& file = PngFile();
    for (auto _ : state) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) state.SkipWithError("libpng failed");
        image.format = PNG_FORMAT_BGR;
        std::vector<uint8_t> rows(kStride * kHeight);
        // A negative stride stores the top row last: bottom-up, as a BMP wants.
        if (!png_image_finish_read(&image, nullptr, rows.data(), -int32_t(kStride), nullptr))
            state.SkipWithError("libpng failed");
        LbMemFile out;
        out.Open();
        WriteBmp(out, rows.data());
        benchmark::DoNotOptimize(out.Size());
    }
}
BENCHMARK(BM_PngToBmpLibpngSimplified)->Unit(benchmark::kMillisecond);

#ifdef LYRA_HAVE_SPNG
void BM_PngToBmpLibspng(benchmark::State& state) {
    const auto& file = PngFile();
    for (auto _ : state) {
        spng_ctx* ctx = spng_ctx_new(SPNG_CTX_IGNORE_ADLER32);
        spng_set_png_buffer(ctx, file.data(), file.size());
        std::vector<uint8_t> rows(kStride * kHeight);
        if (spng_decode_image(ctx, nullptr, 0, SPNG_FMT_RGB8, SPNG_DECODE_PROGRESSIVE) != 0)
            state.SkipWithError("libspng failed");
        for (uint32_t y = 0; y < kHeight; ++y) {
            uint8_t* row = rows.data() + size_t(kHeight - 1 - y) * kStride;
            const int rc = spng_decode_row(ctx, row, kStride);
            if (rc != 0 && rc != SPNG_EOI) state.SkipWithError("libspng failed");
            for (uint32_t x = 0; x < kWidth; ++x) std::swap(row[3 * x], row[3 * x + 2]);
        }
        spng_ctx_free(ctx);
        LbMemFile out;
        out.Open();
        WriteBmp(out, rows.data());
        benchmark::DoNotOptimize(out.Size());
    }
}
BENCHMARK(BM_PngToBmpLibspng)->Unit(benchmark::kMillisecond);
#endif

void BM_PhotoToPngOurs(benchmark::State& state) {
    LbImage image(Photo());
    image.SetEncodeOption(uint32_t(state.range(0)));
    size_t bytes = 0;
    for (auto _ : state) {
        LbMemFile out;
        out.Open();
        if (!image.Encode(&out, LB_FORMAT_PNG)) state.SkipWithError("encode failed");
        bytes = size_t(out.Size());
    }
    state.counters["png_bytes"] = double(bytes);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kStride * kHeight));
}
BENCHMARK(BM_PhotoToPngOurs)->Arg(LB_PNG_FAST)->Arg(LB_PNG_DEFAULT)->Arg(LB_PNG_SMALL)->Unit(benchmark::kMillisecond);

void BM_PhotoToPngLibpngSimplified(benchmark::State& state) {
    // The simplified API takes top-down red-green-blue rows.
    std::vector<uint8_t> rows(kStride * kHeight);
    const LbImage& photo = Photo();
    for (uint32_t y = 0; y < kHeight; ++y) {
        const uint8_t* in = photo.GetBits(kHeight - 1 - y);
        uint8_t* out = rows.data() + size_t(y) * kStride;
        for (uint32_t x = 0; x < kWidth; ++x) {
            out[3 * x] = in[3 * x + 2];
            out[3 * x + 1] = in[3 * x + 1];
            out[3 * x + 2] = in[3 * x];
        }
    }
    std::vector<uint8_t> file(kStride * kHeight + kHeight + 4096);
    size_t bytes = 0;
    for (auto _ : state) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = kWidth;
        image.height = kHeight;
        image.format = PNG_FORMAT_RGB;
        bytes = file.size();
        if (!png_image_write_to_memory(&image, file.data(), &bytes, 0, rows.data(), 0, nullptr))
            state.SkipWithError("libpng failed");
    }
    state.counters["png_bytes"] = double(bytes);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kStride * kHeight));
}
BENCHMARK(BM_PhotoToPngLibpngSimplified)->Unit(benchmark::kMillisecond);

}  // namespace
