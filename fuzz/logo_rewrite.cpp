// The rewrite of a BMP into the 16-bit device logo form over arbitrary bytes: it must
// stay inside the input, and a rewritten file must be a 16-bit BMP whose size its
// header states.
#include <cstdint>
#include <string>

#include "fuzz/FuzzBudget.h"
#include "logo/DeviceLogoFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bmp(reinterpret_cast<const char*>(data), size);
    std::string out;
    if (logo::RewriteBmpTo16Bit(bmp, out) != logo::Rewrite::Done) return 0;
    if (out.size() < 54 || out[0] != 'B' || out[1] != 'M' || out[28] != 16 || out[29] != 0) __builtin_trap();
    const uint32_t stated = uint32_t(uint8_t(out[2])) | uint32_t(uint8_t(out[3])) << 8 |
                            uint32_t(uint8_t(out[4])) << 16 | uint32_t(uint8_t(out[5])) << 24;
    if (stated != out.size()) __builtin_trap();
    return 0;
}
