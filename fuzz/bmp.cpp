// Feeds arbitrary bytes to one decoder; it must fail cleanly or produce a picture
// whose pixels can all be read and which encodes again.
#include <cstddef>
#include <cstdint>

#include "fuzz/ImageFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzDecode(data, size, LB_FORMAT_BMP);
}
