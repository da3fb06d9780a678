// Feeds arbitrary bytes to the PNG decoder; it must fail cleanly or produce a picture
// whose pixels can all be read and which encodes again. A small picture is also
// written back as a PNG at the level the last byte picks and must decode to the
// same pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/ImageFuzz.h"
#include "image/LbImagePNG.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int result = FuzzDecode(data, size, LB_FORMAT_PNG);
    LbJob job;
    LbImage image;
    if (size == 0 || !image.Decode(data, size, LB_FORMAT_PNG)) return result;
    if (uint64_t(image.GetWidth()) * image.GetHeight() > 40000) return result;
    image.SetEncodeOption(data[size - 1] % 3);
    LbMemFile out;
    out.Open();
    if (!image.Encode(&out, LB_FORMAT_PNG)) std::abort();
    LbImage back;
    if (!back.Decode(out.GetBuffer(false), size_t(out.Size()), LB_FORMAT_PNG)) std::abort();
    if (back.GetWidth() != image.GetWidth() || back.GetHeight() != image.GetHeight()) std::abort();
    for (uint32_t y = 0; y < image.GetHeight(); ++y)
        for (uint32_t x = 0; x < image.GetWidth(); ++x) {
            const LbRgbQuad p = image.GetPixelColor(int32_t(x), int32_t(y)), q = back.GetPixelColor(int32_t(x), int32_t(y));
            if (p.red != q.red || p.green != q.green || p.blue != q.blue) std::abort();
        }
    return result;
}
