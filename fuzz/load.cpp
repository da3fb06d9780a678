// Loads arbitrary bytes from a file with format detection, as a picture with an
// unknown extension is opened.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzFile.h"
#include "image/LbBudget.h"
#include "image/LbImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LbJob job;
    const std::string path = FuzzWriteFile("load", data, size);
    // The first byte picks the type the name would give.
    const uint32_t type = size > 0 ? data[0] % 7 : 0;
    LbImage image;
    if (image.Load(path, type) && !image.IsValid()) std::abort();
    return 0;
}
