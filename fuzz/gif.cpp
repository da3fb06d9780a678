// GIF decoder over arbitrary bytes: any of 256 frames, and whatever decodes must encode
// again and decode back to the same pixels.
#include <cstdint>
#include <cstring>

#include "fuzz/FuzzBudget.h"
#include "image/LbBudget.h"
#include "image/LbFile.h"
#include "image/LbImageGIF.h"

namespace {

bool SamePixels(const LbImage& a, const LbImage& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return false;
    for (uint32_t y = 0; y < a.GetHeight(); ++y)
        for (uint32_t x = 0; x < a.GetWidth(); ++x) {
            const LbRgbQuad p = a.GetPixelColor(int32_t(x), int32_t(y)), q = b.GetPixelColor(int32_t(x), int32_t(y));
            if (p.red != q.red || p.green != q.green || p.blue != q.blue) return false;
        }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LbJob job;
    LbImageGIF codec;
    // Any of the first 256 frames, so that long animations are walked too.
    codec.SetFrame(size > 0 ? data[size - 1] : 0);
    LbMemFile in(data, size);
    if (!codec.Decode(&in)) return 0;
    if (codec.GetNumFrames() <= codec.GetFrame() || !codec.IsValid()) __builtin_trap();
    // The frames a walk of the blocks counts are the frames the decoder counted.
    LbMemFile walk(data, size);
    if (LbImageGIF::CountFrames(&walk) != codec.GetNumFrames()) __builtin_trap();
    if (uint64_t(codec.GetWidth()) * codec.GetHeight() > 40000) return 0;

    LbImage picture;
    picture.Transfer(codec);
    picture.SetOffset(0, 0);
    LbImageGIF writer;
    writer.SetEncodeOption(size > 1 ? data[size - 2] % 3 : 0);
    LbMemFile out;
    out.Open();
    if (!writer.Encode(&out, picture)) __builtin_trap();
    LbImageGIF back;
    LbMemFile again(out.GetBuffer(false), size_t(out.Size()));
    if (!back.Decode(&again)) __builtin_trap();
    // Small true-colour pictures come back as their first tile only.
    if (picture.GetBpp() <= 8 && !SamePixels(picture, back)) __builtin_trap();
    return 0;
}
