#include "logo/LogoFromFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "image/BmpHeader.h"
#include "image/LbFormats.h"
#include "image/LbPackedRow.h"
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
    uint8_t bytes[kBmpFileHeaderBytes + 40];
    BmpHeader h;
    if (BmpReadHeaders(bytes, std::fread(bytes, 1, sizeof bytes, f), h) != BmpHeaderRead::Read) return false;
    if (h.infoSize != 40 || h.bpp != 24 || h.compression != 0 || h.clrUsed != 0) return false;
    if (h.width <= 0 || h.width > (1 << 20) || h.height == 0 || h.height < -(1 << 20) || h.height > (1 << 20))
        return false;
    b.width = int(h.width);
    b.height = int(h.height < 0 ? -h.height : h.height);
    b.topDown = h.height < 0;
    b.offset = long(h.dataOffset);
    b.stride = (long(b.width) * 24 + 31) / 32 * 4;
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

// Where the selection lies once the commands are applied to a width x height
// picture: the picture's size before each command, and the selection clamped into the
// final picture. False when it holds no pixel.
struct CommandPlan {
    std::vector<std::pair<int, int>> sizes;  // picture size before each command
    Rect selection;                          // in the picture after all commands
};

bool PlanCommands(const LogoJob& job, int width, int height, CommandPlan& plan) {
    int w = width, h = height;
    for (PictureCommand c : job.commands) {
        plan.sizes.emplace_back(w, h);
        if (c == PictureCommand::RotateLeft || c == PictureCommand::RotateRight) std::swap(w, h);
    }
    return ClampSelection(job.selection.value_or(FirstSelection(width, height)), w, h, plan.selection);
}

// The part of a w x h picture that the selection covers once the commands are
// applied, in the picture's own coordinates; false when it holds no pixel.
bool RegionBeforeCommands(const LogoJob& job, int width, int height, Rect& r) {
    CommandPlan plan;
    if (!PlanCommands(job, width, height, plan)) return false;
    r = plan.selection;
    for (size_t i = job.commands.size(); i-- > 0;)
        r = RectBeforeCommand(r, job.commands[i], plan.sizes[i].first, plan.sizes[i].second);
    return true;
}

// A pixel position of the picture after the commands, traced back to the picture
// before them (top-down coordinates).
struct Point {
    int64_t x, y;
};
Point PointBeforeCommands(Point p, const LogoJob& job, const CommandPlan& plan) {
    for (size_t i = job.commands.size(); i-- > 0;) {
        const int64_t w = plan.sizes[i].first, h = plan.sizes[i].second;
        switch (job.commands[i]) {
        case PictureCommand::RotateLeft: p = {w - 1 - p.y, p.x}; break;
        case PictureCommand::RotateRight: p = {p.y, h - 1 - p.x}; break;
        case PictureCommand::FlipHorizontal: p = {w - 1 - p.x, p.y}; break;
        case PictureCommand::FlipVertical: p = {p.x, h - 1 - p.y}; break;
        }
    }
    return p;
}

// The selection of the turned picture as a 24-bit image, each pixel fetched from
// where the commands take it in source, which holds the picture's pixels from
// (origin.x, origin.y) on (all of it, or the region the selection needs). No turned
// copy of the picture is ever made: a turn needs no more memory than its result.
bool TurnedSelection(const LbImage& source, Point origin, const LogoJob& job, const CommandPlan& plan, LbImage& out,
                     std::string& error) {
    const Rect& s = plan.selection;
    if (out.Create(uint32_t(s.Width()), uint32_t(s.Height()), 24, source.GetType()) == nullptr) {
        error = "the picture commands cannot be applied: " + std::string(out.GetLastError());
        return false;
    }
    out.SetXDPI(source.GetXDPI());
    out.SetYDPI(source.GetYDPI());
    // The commands only turn and mirror, so the trace back is a fixed step per pixel.
    const Point start = PointBeforeCommands({s.left, s.top}, job, plan);
    const Point right = PointBeforeCommands({s.left + 1, s.top}, job, plan);
    const Point down = PointBeforeCommands({s.left, s.top + 1}, job, plan);
    const int64_t dxX = right.x - start.x, dxY = right.y - start.y, dyX = down.x - start.x, dyY = down.y - start.y;
    const int64_t sourceHeight = source.GetHeight();
    const uint32_t bpp = source.GetBpp(), bytes = bpp / 8;
    const uint8_t* bottom = source.GetBits(0);
    const size_t stride = source.GetEffWidth();
    LbRgbQuad palette[256] = {};
    for (uint32_t i = 0; bpp <= 8 && i < (1u << bpp); ++i) palette[i] = source.GetPaletteColor(uint8_t(i));
    // In tiles, so that a turn, which reads the source down its columns, finds the
    // rows it reads still in the cache.
    constexpr int kTile = 64;
    const int width = s.Width(), height = s.Height();
    for (int y0 = 0; y0 < height; y0 += kTile) {
        for (int x0 = 0; x0 < width; x0 += kTile) {
            for (int y = y0; y < std::min(height, y0 + kTile); ++y) {
                uint8_t* row = out.GetBits(uint32_t(height - 1 - y)) + 3 * size_t(x0);
                int64_t px = start.x + y * dyX + x0 * dxX - origin.x, py = start.y + y * dyY + x0 * dxY - origin.y;
                for (int x = x0; x < std::min(width, x0 + kTile); ++x, px += dxX, py += dxY, row += 3) {
                    const uint8_t* in = bottom + size_t(sourceHeight - 1 - py) * stride;
                    if (bpp >= 24) {
                        std::memcpy(row, in + px * bytes, 3);
                    } else {
                        const LbRgbQuad& c = palette[PackedIndex(in, uint32_t(px), bpp)];
                        row[0] = c.blue;
                        row[1] = c.green;
                        row[2] = c.red;
                    }
                }
            }
        }
    }
    return true;
}

// The logo of the job from source, which holds the picture from origin on; the
// selection taken from it as it lies after the commands.
LogoJobResult FinishFrom(LbImage& source, Point origin, int width, int height, const LogoJob& job, LbImage& logo,
                         std::string& error) {
    CommandPlan plan;
    if (!PlanCommands(job, width, height, plan)) return LogoJobResult::EmptySelection;
    LbImage turned;
    LbImage* cut = &turned;
    const Rect all{0, 0, int(source.GetWidth()), int(source.GetHeight())};
    const bool whole = origin.x == 0 && origin.y == 0 && plan.selection.left == 0 && plan.selection.top == 0 &&
                       plan.selection.right == all.right && plan.selection.bottom == all.bottom;
    if (job.commands.empty() && whole && source.GetBpp() >= 24) {
        cut = &source;  // the selection is the true-colour source as it is
    } else {
        if (!TurnedSelection(source, origin, job, plan, turned, error)) return LogoJobResult::CommandFailed;
        source.Destroy();
    }
    const Rect selection{0, 0, int(cut->GetWidth()), int(cut->GetHeight())};
    return DeriveLogo(*cut, selection, job.dither, logo) ? LogoJobResult::Done : LogoJobResult::EmptySelection;
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
    return FinishFrom(part, {r.left, r.top}, b.width, b.height, job, logo, error);
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
    const int type = int(LbFormatOfName(job.picture));
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
        for (PictureCommand c : job.commands) {
            if (!ApplyPictureCommand(picture, c)) {
                error = "the picture commands cannot be applied: " + std::string(picture.GetLastError());
                return LogoJobResult::CommandFailed;
            }
        }
        return DeriveLogo(picture, selection, job.dither, logo) ? LogoJobResult::Done : LogoJobResult::EmptySelection;
    }
    // Turning and flipping only move pixels: the selection is fetched through them
    // straight from the picture, made true colour on the way.
    return FinishFrom(picture, {0, 0}, int(picture.GetWidth()), int(picture.GetHeight()), job, logo, error);
}

}  // namespace logo
