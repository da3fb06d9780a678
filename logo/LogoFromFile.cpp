#include "logo/LogoFromFile.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>

#include "app/FileTypes.h"
#include "image/LbByteOrder.h"
#include "logo/LogoPipeline.h"
#include "logo/PictureLoad.h"

namespace logo {

bool ApplyPictureCommand(LbImage& picture, PictureCommand command) {
    switch (command) {
    case PictureCommand::RotateLeft: return picture.RotateLeft();
    case PictureCommand::RotateRight: return picture.RotateRight();
    case PictureCommand::FlipHorizontal: return picture.Mirror();
    case PictureCommand::FlipVertical: return picture.Flip();
    }
    return false;
}

Rect RectBeforeCommand(const Rect& r, PictureCommand command, int w, int h) {
    switch (command) {
    // After a left turn, new (X, Y) is old (w - 1 - Y, X).
    case PictureCommand::RotateLeft: return {w - r.bottom, r.left, w - r.top, r.right};
    // After a right turn, new (X, Y) is old (Y, h - 1 - X).
    case PictureCommand::RotateRight: return {r.top, h - r.right, r.bottom, h - r.left};
    case PictureCommand::FlipHorizontal: return {w - r.right, r.top, w - r.left, r.bottom};
    case PictureCommand::FlipVertical: return {r.left, h - r.bottom, r.right, h - r.top};
    }
    return r;
}

namespace {

// An uncompressed 24-bit BMP whose rows are all in the file: the one kind whose
// pixels can be read in place, giving what the image library's decoder gives (it
// has neither orientation nor transparency).
struct PlainBmp {
    int width = 0;
    int height = 0;
    bool topDown = false;
    long offset = 0;
    long stride = 0;
};

bool ReadPlainBmp(std::FILE* f, PlainBmp& b) {
    uint8_t h[54];
    if (std::fread(h, 1, sizeof h, f) != sizeof h || h[0] != 'B' || h[1] != 'M') return false;
    const auto width = int32_t(LbLoad32(h + 18)), height = int32_t(LbLoad32(h + 22));
    if (LbLoad32(h + 14) != 40 || LbLoad16(h + 28) != 24 || LbLoad32(h + 30) != 0 || LbLoad32(h + 46) != 0)
        return false;
    if (width <= 0 || width > (1 << 20) || height == 0 || height < -(1 << 20) || height > (1 << 20)) return false;
    b.width = width;
    b.height = height < 0 ? -height : height;
    b.topDown = height < 0;
    b.offset = long(LbLoad32(h + 10));
    b.stride = (long(width) * 24 + 31) / 32 * 4;
    if (b.offset < 54 || std::fseek(f, 0, SEEK_END) != 0) return false;
    const long size = std::ftell(f);
    return size >= b.offset && (size - b.offset) / b.stride >= b.height;
}

// Rows top to bottom - 1 and columns left to right - 1 of the picture (rows from the
// top), as a 24-bit image of type BMP.
bool ReadBmpRect(std::FILE* f, const PlainBmp& b, const Rect& r, LbImage& out) {
    const int w = r.Width(), h = r.Height();
    if (out.Create(uint32_t(w), uint32_t(h), 24, LB_FORMAT_BMP) == nullptr) return false;
    for (int y = 0; y < h; ++y) {
        const int top = r.top + y;                        // row from the top of the picture
        const long fileRow = b.topDown ? top : b.height - 1 - top;
        if (std::fseek(f, b.offset + fileRow * b.stride + 3L * r.left, SEEK_SET) != 0 ||
            std::fread(out.GetBits(uint32_t(h - 1 - y)), 3, size_t(w), f) != size_t(w))
            return false;
    }
    return true;
}

// The selection clamped into a picture of w x h and put in order, as the crop does;
// false when it holds no pixel.
bool ClampSelection(const Rect& s, int w, int h, Rect& r) {
    r = {std::clamp(s.left, 0, w), std::clamp(s.top, 0, h), std::clamp(s.right, 0, w), std::clamp(s.bottom, 0, h)};
    if (r.left == r.right || r.top == r.bottom) return false;
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return true;
}

// The part of a w x h picture that the selection covers once the commands are
// applied, in the picture's own coordinates; false when it holds no pixel.
bool RegionBeforeCommands(const LogoJob& job, int width, int height, Rect& r) {
    std::vector<std::pair<int, int>> sizes;  // picture size before each command
    int w = width, h = height;
    for (PictureCommand c : job.commands) {
        sizes.emplace_back(w, h);
        if (c == PictureCommand::RotateLeft || c == PictureCommand::RotateRight) std::swap(w, h);
    }
    if (!ClampSelection(job.selection.value_or(FirstSelection(width, height)), w, h, r)) return false;
    for (size_t i = job.commands.size(); i-- > 0;)
        r = RectBeforeCommand(r, job.commands[i], sizes[i].first, sizes[i].second);
    return true;
}

// The commands turn only the region, then the logo is made from all of it.
LogoJobResult FinishRegion(LbImage& part, const LogoJob& job, LbImage& logo) {
    for (PictureCommand c : job.commands) ApplyPictureCommand(part, c);
    const Rect all{0, 0, int(part.GetWidth()), int(part.GetHeight())};
    return DeriveLogo(part, all, job.dither, logo) ? LogoJobResult::Done : LogoJobResult::EmptySelection;
}

// The region path: only the part of the picture that the selection covers after the
// commands is read, then turned by the same commands.
LogoJobResult FromRegion(std::FILE* f, const PlainBmp& b, const LogoJob& job, LbImage& logo, std::string& error) {
    Rect r;
    if (!RegionBeforeCommands(job, b.width, b.height, r)) return LogoJobResult::EmptySelection;
    LbImage part(LB_FORMAT_BMP);
    if (!ReadBmpRect(f, b, r, part)) {
        error = part.GetLastError()[0] ? part.GetLastError() : "Error reading BMP data";
        return LogoJobResult::Unreadable;
    }
    return FinishRegion(part, job, logo);
}

}  // namespace

LogoJobResult MakeLogoFromFile(const LogoJob& job, LbImage& logo, std::string& error, bool wholePicture) {
    // The raw strip decoder would turn even a folder's unreadable bytes into a picture.
    OpenRefusal refusal{};
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(OpenPicture(job.picture, refusal), std::fclose);
    if (!f) {
        error = refusal == OpenRefusal::Missing      ? "cannot be read"
                : refusal == OpenRefusal::Unreadable ? "the file cannot be read"
                                                     : "is not a file";
        return LogoJobResult::Unreadable;
    }
    const int type = ClassifyFile(job.picture).type;
    // The raw strip decoder takes any bytes, so a BMP named ".raw" is not read as a BMP.
    if (!wholePicture && type != int(LB_FORMAT_RAW)) {
        PlainBmp b;
        if (ReadPlainBmp(f.get(), b)) return FromRegion(f.get(), b, job, logo, error);
    }
    LbImage picture;
    if (!LoadPicture(f.get(), type, picture, error, nullptr, wholePicture, job.view)) return LogoJobResult::Unreadable;
    // The editor places its first selection when the picture arrives, before any
    // picture command, and keeps it there.
    if (wholePicture) {
        const Rect selection = job.selection.value_or(FirstSelection(int(picture.GetWidth()), int(picture.GetHeight())));
        for (PictureCommand c : job.commands) ApplyPictureCommand(picture, c);
        return DeriveLogo(picture, selection, job.dither, logo) ? LogoJobResult::Done : LogoJobResult::EmptySelection;
    }
    // Turning and flipping only move pixels, so the commands are applied to the region
    // the selection needs rather than to a whole copy of a large picture.
    Rect r;
    if (!RegionBeforeCommands(job, int(picture.GetWidth()), int(picture.GetHeight()), r))
        return LogoJobResult::EmptySelection;
    LbImage part;
    if (!picture.Crop(r.left, r.top, r.right, r.bottom, &part)) {
        error = picture.GetLastError()[0] ? picture.GetLastError() : "cannot be cut";
        return LogoJobResult::Unreadable;
    }
    picture.Destroy();
    // Made true colour after the cut: the same pixels as promoting the whole picture.
    if (!PromoteToTrueColor(part)) {
        error = part.GetLastError();
        return LogoJobResult::Unreadable;
    }
    return FinishRegion(part, job, logo);
}

}  // namespace logo
