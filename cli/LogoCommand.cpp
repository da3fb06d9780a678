// "logo": the logo page's work without the window, through the same pipeline: load
// (upright, transparency over the background), picture commands in the order given, the selection, nearest resample to 96 x 96,
// optional dither, and the device logo file for a ".bmp" name.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Io.h"
#include "image/BmpHeader.h"
#include "image/LbFormats.h"
#include "image/LbImage.h"
#include "logo/BackgroundColour.h"
#include "logo/DeviceLogoFile.h"
#include "logo/LogoFromFile.h"
#include "logo/LogoPipeline.h"

namespace cli {
namespace {

struct LogoArgs {
    logo::LogoJob job;
    std::string out;
};

bool ParseSelection(const std::string& text, logo::Rect& r) {
    int values[4];
    int used = 0;
    if (std::sscanf(text.c_str(), "%d,%d,%d,%d%n", &values[0], &values[1], &values[2], &values[3], &used) != 4 ||
        size_t(used) != text.size())
        return false;
    r = {values[0], values[1], values[2], values[3]};
    return true;
}

bool ParseLogoArgs(const Args& args, LogoArgs& a, std::string& error) {
    std::vector<std::string> plain;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (!IsOptionAt(args, i)) {
            plain.push_back(word);
        } else if (word == "--") {
            continue;
        } else if (word == "--select") {
            logo::Rect selection;
            if (i + 1 >= args.size() || !ParseSelection(args[i + 1], selection)) {
                error = "--select needs L,T,R,B (four whole numbers)";
                return false;
            }
            a.job.selection = selection;
            ++i;
        } else if (word == "--rotate-left") {
            a.job.commands.push_back(logo::PictureCommand::RotateLeft);
        } else if (word == "--rotate-right") {
            a.job.commands.push_back(logo::PictureCommand::RotateRight);
        } else if (word == "--flip-h") {
            a.job.commands.push_back(logo::PictureCommand::FlipHorizontal);
        } else if (word == "--flip-v") {
            a.job.commands.push_back(logo::PictureCommand::FlipVertical);
        } else if (word == "--dither") {
            a.job.dither = true;
        } else if (word == "--no-orientation") {
            a.job.view.orientation = false;
        } else if (word == "--background") {
            if (i + 1 >= args.size() || !logo::ParseBackground(args[i + 1], a.job.view.background)) {
                error = "--background needs a colour: #RRGGBB, white or black";
                return false;
            }
            ++i;
        } else {
            error = "unknown option '" + word + "'";
            return false;
        }
    }
    if (plain.size() != 2) {
        error = "needs IN and OUT";
        return false;
    }
    a.job.picture = plain[0];
    a.out = plain[1];
    return true;
}

int Logo(const Args& args) {
    LogoArgs a;
    std::string error;
    if (!ParseLogoArgs(args, a, error)) return Fail(2, "logo: " + error);
    const uint32_t outType = LbFormatOfName(a.out);
    if (outType == LB_FORMAT_UNKNOWN)
        return Fail(2, "logo: " + a.out + ": the name must end in .bmp, .gif, .jpg, .jpeg, .png or .raw");

    if (int refused = CheckPaths(a.job.picture, a.out, ContentKind::Picture)) return refused;

    LbImage cut;
    switch (logo::MakeLogoFromFile(a.job, cut, error)) {
    case logo::LogoJobResult::Done: break;
    case logo::LogoJobResult::Unreadable:
    case logo::LogoJobResult::CommandFailed: return Fail(1, a.job.picture + ": " + error);
    case logo::LogoJobResult::EmptySelection:
        return Fail(1, a.job.picture + ": the selection holds no pixel of the picture");
    }
    logo::LogoWrite written = logo::WriteLogoFile(cut, a.out, int(outType));
    // Other formats are written as they are; only a failed write is an error here.
    if (!written.written) return Fail(1, written.reason.empty() ? a.out + ": " + written.message : written.reason);
    return 0;
}

// "info" for the device logo file: a 96 x 96 BMP of 16 bits per pixel, 27702 bytes.
bool DescribeDeviceLogo(const FileToDescribe& file, std::string& block) {
    std::FILE* f = std::fopen(file.path.c_str(), "rb");
    if (f == nullptr) return false;
    uint8_t head[kBmpFileHeaderBytes + 40];
    const size_t got = std::fread(head, 1, sizeof head, f);
    const bool whole = std::fseek(f, 0, SEEK_END) == 0 && std::ftell(f) == long(logo::kDeviceLogoFileSize);
    std::fclose(f);
    BmpHeader h;
    if (!whole || BmpReadHeaders(head, got, h) != BmpHeaderRead::Read || h.infoSize < 40 || h.width != 96 ||
        h.height != 96 || h.bpp != 16 || h.compression != 0)
        return false;
    block = "  device logo file: 96x96, 16 bits per pixel (RGB 5-5-5), 27702 bytes\n";
    return true;
}

const Registered logoCommand("logo", Logo);
const Registered describer(5, DescribeDeviceLogo);

}  // namespace
}  // namespace cli
