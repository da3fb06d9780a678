// Loads arbitrary bytes from a file with format detection, as a picture with an
// unknown extension is opened.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "image/LbBudget.h"
#include "image/LbImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LbJob job;  // the production budget
    static const std::string path = "/tmp/lyra-fuzz-load-" + std::to_string(getpid());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    // The first byte picks the type the name would give.
    const uint32_t type = size > 0 ? data[0] % 7 : 0;
    LbImage image;
    if (image.Load(path, type) && !image.IsValid()) std::abort();
    return 0;
}
