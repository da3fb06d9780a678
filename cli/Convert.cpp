#include "cli/Convert.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "cli/Io.h"
#include "cli/Registry.h"
#include "image/LbImage.h"
#include "image/LbComposite.h"
#include "image/LbFormats.h"
#include "image/LbImageGIF.h"
#include "image/LbOrientation.h"
#include "image/LbImagePNG.h"
#include "image/LbPictureHeader.h"
#include "logo/BackgroundColour.h"

namespace cli {
namespace {

// A whole decimal number within [low, high].
bool ParseNumber(const std::string& text, long low, long high, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && *end == 0 && value >= low && value <= high;
}

// The GIF encoder's method by its command-line name.
bool GifMethodOf(const std::string& name, uint32_t& method) {
    if (name == "rle") method = LB_GIF_RLE;
    else if (name == "lzw") method = LB_GIF_LZW;
    else if (name == "plain") method = LB_GIF_NONE;
    else return false;
    return true;
}

// Whether the output format holds the picture's transparency as it is: PNG any
// alpha, GIF a transparent palette index. Elsewhere it is composed over the background.
bool KeepsTransparency(const LbImage& image, uint32_t outType) {
    if (!LbHasTransparency(image) || outType == LB_FORMAT_PNG) return true;
    return outType == LB_FORMAT_GIF && image.IsIndexed() && !image.AlphaIsValid() && !image.AlphaPaletteIsEnabled();
}

// The PNG encoder's level by its command-line name.
bool PngLevelOf(const std::string& name, uint32_t& level) {
    if (name == "fast") level = LB_PNG_FAST;
    else if (name == "default") level = LB_PNG_DEFAULT;
    else if (name == "small") level = LB_PNG_SMALL;
    else return false;
    return true;
}

}  // namespace

int RunConvert(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    long frame = 0, quality = 75;
    uint32_t gifMethod = LB_GIF_RLE;
    bool upright = true;
    LbRgbQuad background = kLbWhite;
    uint32_t pngLevel = LB_PNG_DEFAULT;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (!IsOptionAt(args, i)) {
            files.push_back(word);
        } else if (word == "--") {
            continue;
        } else if (word == "--gif-method") {
            if (i + 1 >= args.size()) return Fail(2, "convert: --gif-method needs a value");
            const std::string& value = args[++i];
            if (!GifMethodOf(value, gifMethod))
                return Fail(2, "convert: --gif-method needs rle, lzw or plain, not '" + value + "'");
        } else if (word == "--no-orientation") {
            upright = false;
        } else if (word == "--background") {
            if (i + 1 >= args.size() || !logo::ParseBackground(args[i + 1], background))
                return Fail(2, "convert: --background needs a colour: #RRGGBB, white or black");
            ++i;
        } else if (word == "--png-level") {
            if (i + 1 >= args.size()) return Fail(2, "convert: --png-level needs a value");
            const std::string& value = args[++i];
            if (!PngLevelOf(value, pngLevel))
                return Fail(2, "convert: --png-level needs fast, default or small, not '" + value + "'");
        } else if (word == "--frame" || word == "--quality") {
            if (i + 1 >= args.size()) return Fail(2, "convert: " + word + " needs a value");
            const std::string& value = args[++i];
            if (word == "--frame" && !ParseNumber(value, 0, INT_MAX, frame))
                return Fail(2, "convert: --frame needs a frame number from 0, not '" + value + "'");
            if (word == "--quality" && !ParseNumber(value, 0, 100, quality))
                return Fail(2, "convert: --quality needs a number from 0 to 100, not '" + value + "'");
        } else {
            return Fail(2, "convert: unknown option '" + word + "'");
        }
    }
    if (files.size() != 2) return Fail(2, "convert needs IN and OUT; see lyrabox-cli --help");
    const std::string& in = files[0];
    const std::string& out = files[1];
    const uint32_t outType = LbFormatOfName(out);
    if (outType == LB_FORMAT_UNKNOWN)
        return Fail(2, "convert: " + out + ": the output must end in .bmp, .gif, .jpg, .jpeg, .png or .raw");

    if (int refused = CheckPaths(in, out, ContentKind::Picture)) return refused;

    LbImage image;
    image.SetFrame(int32_t(frame));
    if (!image.Load(in, LbFormatOfName(in))) {
        if (frame > 0) {
            // A frame past the last is a wrong number, not a damaged file: say so.
            LbPictureHeader header;
            std::string headerError;
            std::FILE* f = std::fopen(in.c_str(), "rb");
            const bool described = f != nullptr && LbReadPictureHeader(f, false, header, headerError);
            if (f != nullptr) std::fclose(f);
            if (described && headerError.empty() && uint32_t(frame) >= header.frames)
                return Fail(1, in + ": there is no frame " + std::to_string(frame) + "; the picture has " +
                                   std::to_string(header.frames) + (header.frames == 1 ? " frame" : " frames") +
                                   ", numbered from 0");
        }
        const std::string reason = image.GetLastError();
        return Fail(1, in + ": " + (reason.empty() ? std::string("cannot be opened") : "cannot be read as a picture: " + reason));
    }
    if (upright && !LbApplyOrientation(image))
        return Fail(1, in + ": cannot be turned upright: " + std::string(image.GetLastError()));
    if (!KeepsTransparency(image, outType) && !LbComposeOver(image, background))
        return Fail(1, in + ": cannot be composed over the background: " + std::string(image.GetLastError()));
    image.SetJpegQuality(uint8_t(quality));
    image.SetEncodeOption(outType == LB_FORMAT_PNG ? pngLevel : gifMethod);
    if (!image.Save(out, outType)) {
        const std::string reason = image.GetLastError();
        if (image.GetLastErrorCode() == LbError::SavedNotSynced) return Fail(1, out + ": " + reason);
        return Fail(1, out + ": " + (reason.empty() ? std::string("cannot be created") : "cannot be written: " + reason));
    }
    return 0;
}

}  // namespace cli
