// Decode, then the picture commands the editor and the
// command line apply after it, chosen by the input's last bytes: none may fail on a
// decoded picture except for the budget, and each keeps the picture readable.
#include <cstdint>

#include "fuzz/FuzzBudget.h"
#include "image/LbBudget.h"
#include "image/LbImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    // Each command walks every pixel, the resampling several times: pictures of 65536
    // pixels at most keep an input within milliseconds, and every case of the commands
    // is met at that size.
    LbLimits limits = FuzzLimits();
    limits.pixels = 1u << 16;
    LbJob job(limits);
    LbImage image;
    if (!image.Decode(data, size - 2, data[size - 1] % 6)) return 0;
    uint32_t script = data[size - 2] | uint32_t(data[size - 1]) << 8;
    for (int step = 0; step < 4; ++step, script >>= 3) {
        const uint32_t w = image.GetWidth(), h = image.GetHeight();
        bool ok = true;
        switch (script & 7) {
            case 0: ok = image.RotateLeft(); break;
            case 1: ok = image.RotateRight(); break;
            case 2: ok = image.Flip(); break;
            case 3: ok = image.Mirror(); break;
            case 4: ok = image.Crop(int32_t(w / 4), int32_t(h / 4), int32_t(w - w / 4), int32_t(h - h / 4)) || w < 4 || h < 4; break;
            // Up or down to at most 32 x 32: the smoothing mode reads 16 pixels for each
            // one it makes, so the logo's 96 x 96 would cost most of the input's time.
            case 5: ok = image.Resample(int32_t(1 + w % 32), int32_t(1 + h % 32), 1 + (step & 1)); break;
            case 6: ok = image.Dither(0); break;
            default: ok = image.GrayScale(); break;
        }
        if (!ok && image.GetLastError()[0] == 0) __builtin_trap();  // a failure says why
        if (!image.IsValid()) __builtin_trap();                     // and keeps the picture
    }
    volatile uint8_t sink = image.GetPixelColor(0, 0).red;
    (void)sink;
    return 0;
}
