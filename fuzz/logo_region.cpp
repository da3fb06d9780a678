// The logo command's region reader over arbitrary BMP bytes, with picture commands and
// a selection taken from the input's first bytes: whatever it makes is the 96 x 96 logo
// the whole-picture path makes.
#include <cstdint>
#include <cstring>

#include "FuzzFile.h"
#include "image/LbBudget.h"
#include "image/LbImage.h"
#include "logo/LogoFromFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6) return 0;
    LbJob budget;
    logo::LogoJob job;
    for (int i = 0; i < (data[0] & 3); ++i) job.commands.push_back(logo::PictureCommand((data[1] >> (2 * i)) & 3));
    if (data[0] & 4) job.selection = logo::Rect{int8_t(data[2]), int8_t(data[3]), data[4], data[5]};
    job.dither = (data[0] & 8) != 0;
    job.picture = FuzzWriteFile("region.bmp", data + 6, size - 6);
    LbImage fromRegion, fromWhole;
    std::string error;
    const logo::LogoJobResult a = logo::MakeLogoFromFile(job, fromRegion, error, false);
    // The whole-picture path is only the reference: it holds the whole picture turned,
    // so where it reaches a limit the region path kept within, they are not compared.
    LbJob referenceJob;
    const logo::LogoJobResult b = logo::MakeLogoFromFile(job, fromWhole, error, true);
    if (a != b && error.find("limit") != std::string::npos) return 0;
    if (a != b) __builtin_trap();
    if (a != logo::LogoJobResult::Done) return 0;
    if (fromRegion.GetWidth() != 96 || fromRegion.GetHeight() != 96 || fromRegion.GetSize() != fromWhole.GetSize() ||
        std::memcmp(fromRegion.GetDIB(), fromWhole.GetDIB(), fromRegion.GetSize()) != 0)
        __builtin_trap();
    return 0;
}
