// GIF decoding and the three encoding methods on 2000 x 2000 8-bit pictures,
// with giflib as the peer. File sizes are reported as counters.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "image/LbFile.h"
#include "image/LbImage.h"
#include "image/LbImageGIF.h"

#ifdef LYRA_HAVE_GIFLIB
#include <gif_lib.h>
#endif

namespace {

constexpr uint32_t kSize = 2000;

// 0: a photo-like picture (smooth shading with grain), 1: a drawing (flat areas
// and stripes), 2: noise.
uint8_t PixelOf(int kind, uint32_t x, uint32_t y) {
    const uint32_t hash = (x * 2654435761u) ^ (y * 40503u + 17);
    switch (kind) {
        case 0: return uint8_t(((x + y) / 16 + ((hash >> 13) & 3)) & 0xFF);
        case 1: return uint8_t(((x / 250) * 8 + (y / 200)) + ((x % 100) < 4 ? 100 : 0));
        default: return uint8_t(hash >> 11);
    }
}

const char* KindName(int kind) { return kind == 0 ? "photo" : kind == 1 ? "drawing" : "noise"; }

const LbImage& Picture(int kind) {
    static LbImage pictures[3];
    LbImage& image = pictures[kind];
    if (!image.IsValid()) {
        image.Create(kSize, kSize, 8, LB_FORMAT_GIF);
        for (uint32_t i = 0; i < 256; ++i) image.SetPaletteColor(uint8_t(i), uint8_t(i), uint8_t(255 - i), uint8_t(i * 3));
        for (uint32_t y = 0; y < kSize; ++y) {
            uint8_t* row = image.GetBits(kSize - 1 - y);
            for (uint32_t x = 0; x < kSize; ++x) row[x] = PixelOf(kind, x, y);
        }
    }
    return image;
}

std::vector<uint8_t> EncodeOurs(const LbImage& image, uint32_t method) {
    LbImageGIF codec;
    codec.SetEncodeOption(method);
    LbMemFile file;
    file.Open();
    codec.Encode(&file, image);
    const uint8_t* data = file.GetBuffer(false);
    return std::vector<uint8_t>(data, data + file.Size());
}

#ifdef LYRA_HAVE_GIFLIB
int WriteToVector(GifFileType* gif, const GifByteType* data, int len) {
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + len);
    return len;
}

std::vector<uint8_t> EncodeGiflib(const LbImage& image) {
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToVector, &error);
    GifColorType colours[256];
    for (uint32_t i = 0; i < 256; ++i) {
        const LbRgbQuad q = image.GetPaletteColor(uint8_t(i));
        colours[i] = GifColorType{q.red, q.green, q.blue};
    }
    ColorMapObject* map = GifMakeMapObject(256, colours);
    EGifPutScreenDesc(gif, int(kSize), int(kSize), 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, int(kSize), int(kSize), false, nullptr);
    for (uint32_t y = 0; y < kSize; ++y) {
        EGifPutLine(gif, const_cast<GifPixelType*>(image.GetBits(kSize - 1 - y)), int(kSize));
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

struct Reader {
    const std::vector<uint8_t>* data;
    size_t pos;
};

int ReadFromVector(GifFileType* gif, GifByteType* dst, int len) {
    auto* r = static_cast<Reader*>(gif->UserData);
    const size_t n = std::min(size_t(len), r->data->size() - r->pos);
    std::memcpy(dst, r->data->data() + r->pos, n);
    r->pos += n;
    return int(n);
}
#endif

const std::vector<uint8_t>& GiflibFile(int kind) {
    static std::vector<uint8_t> files[3];
#ifdef LYRA_HAVE_GIFLIB
    if (files[kind].empty()) files[kind] = EncodeGiflib(Picture(kind));
#else
    if (files[kind].empty()) files[kind] = EncodeOurs(Picture(kind), LB_GIF_LZW);
#endif
    return files[kind];
}

void BM_DecodeOurs(benchmark::State& state) {
    const auto& file = GiflibFile(int(state.range(0)));
    for (auto _ : state) {
        LbImageGIF codec;
        LbMemFile stream(file.data(), file.size());
        if (!codec.Decode(&stream)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(codec.GetBits());
    }
    state.SetLabel(KindName(int(state.range(0))));
    state.SetBytesProcessed(int64_t(state.iterations()) * kSize * kSize);
}
BENCHMARK(BM_DecodeOurs)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

#ifdef LYRA_HAVE_GIFLIB
void BM_DecodeGiflib(benchmark::State& state) {
    const auto& file = GiflibFile(int(state.range(0)));
    for (auto _ : state) {
        Reader reader{&file, 0};
        int error = 0;
        GifFileType* gif = DGifOpen(&reader, ReadFromVector, &error);
        if (gif == nullptr || DGifSlurp(gif) != GIF_OK) state.SkipWithError("giflib failed");
        benchmark::DoNotOptimize(gif->SavedImages);
        DGifCloseFile(gif, &error);
    }
    state.SetLabel(KindName(int(state.range(0))));
    state.SetBytesProcessed(int64_t(state.iterations()) * kSize * kSize);
}
BENCHMARK(BM_DecodeGiflib)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_EncodeGiflib(benchmark::State& state) {
    const LbImage& image = Picture(int(state.range(0)));
    size_t size = 0;
    for (auto _ : state) size = EncodeGiflib(image).size();
    state.SetLabel(KindName(int(state.range(0))));
    state.counters["file_bytes"] = double(size);
}
BENCHMARK(BM_EncodeGiflib)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
#endif

void EncodeWith(benchmark::State& state, uint32_t method) {
    const LbImage& image = Picture(int(state.range(0)));
    size_t size = 0;
    for (auto _ : state) size = EncodeOurs(image, method).size();
    state.SetLabel(KindName(int(state.range(0))));
    state.counters["file_bytes"] = double(size);
}

void BM_EncodeRLE(benchmark::State& state) { EncodeWith(state, LB_GIF_RLE); }
void BM_EncodeNONE(benchmark::State& state) { EncodeWith(state, LB_GIF_NONE); }
void BM_EncodeLZW(benchmark::State& state) { EncodeWith(state, LB_GIF_LZW); }
BENCHMARK(BM_EncodeRLE)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeNONE)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeLZW)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace
