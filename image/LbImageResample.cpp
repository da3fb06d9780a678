// Pixel-format and size transforms: Resample (nearest pixel, bicubic B-spline),
// GrayScale and Floyd-Steinberg Dither. The arithmetic follows a fixed recipe (single-
// precision scale factors and sums) so results are reproducible byte for byte.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "image/LbImage.h"

namespace {

// Cubic B-spline kernel in single precision.
inline float Cube(float u) { return u > 0.0f ? u * u * u : 0.0f; }
inline float BSpline(float t) {
    return (Cube(t + 2.0f) - 4.0f * Cube(t + 1.0f) + 6.0f * Cube(t) - 4.0f * Cube(t - 1.0f)) * 0.16666667f;
}

inline uint8_t GrayOf(const LbRgbQuad& c) { return uint8_t((c.red * 306 + c.green * 601 + c.blue * 117) >> 10); }

}  // namespace

bool LbImage::Resample(int32_t newWidth, int32_t newHeight, int mode, LbImage* dst) {
    // An empty image resamples too: every pixel read from it is black, so the result
    // is a black picture of the new size.
    if (newWidth <= 0 || newHeight <= 0) return false;
    const uint32_t width = GetWidth(), height = GetHeight();
    if (uint32_t(newWidth) == width && uint32_t(newHeight) == height) {
        if (dst != nullptr) dst->Copy(*this);
        return true;
    }
    if (mode != 1 && mode != 2) return false;
    const float xScale = float(double(width) / newWidth);
    const float yScale = float(double(height) / newHeight);

    LbImage tmp;
    if (!CreateResult(tmp, uint32_t(newWidth), uint32_t(newHeight), GetBpp())) return false;
    const bool indexed = IsIndexed();

    if (pDib == nullptr) {
        // Every pixel read from an empty image is black, whatever the mode.
        for (int32_t y = 0; y < newHeight; ++y)
            for (int32_t x = 0; x < newWidth; ++x) tmp.SetPixelColor(x, y, LbRgbQuad{});
    } else if (mode == 1) {
        // Source columns are the same for every row: work them out once.
        std::vector<int32_t> columns(static_cast<size_t>(newWidth));
        for (int32_t x = 0; x < newWidth; ++x) columns[size_t(x)] = int32_t(x * double(xScale));
        for (int32_t y = 0; y < newHeight; ++y) {
            info.progress = int32_t(100 * int64_t(y) / newHeight);
            if (info.escape) break;
            const int32_t sy = int32_t(y * double(yScale));
            if (!indexed && IsInside(0, sy)) {
                // 24-bit rows: the colour accessors reduce to a three-byte copy.
                const uint8_t* in = GetBits(uint32_t(sy));
                uint8_t* out = tmp.GetBits(uint32_t(y));
                for (int32_t x = 0; x < newWidth; ++x, out += 3) {
                    const int32_t sx = columns[size_t(x)];
                    if (sx >= 0 && uint32_t(sx) < width)
                        std::memcpy(out, in + 3 * size_t(sx), 3);
                    else
                        tmp.SetPixelColor(x, y, GetPixelColor(sx, sy));
                }
                continue;
            }
            for (int32_t x = 0; x < newWidth; ++x) tmp.SetPixelColor(x, y, GetPixelColor(columns[size_t(x)], sy));
        }
    } else {
        const int32_t maxX = int32_t(width) - 1, maxY = int32_t(height) - 1;
        for (int32_t y = 0; y < newHeight; ++y) {
            info.progress = int32_t(100 * int64_t(y) / newHeight);
            if (info.escape) break;
            const double fy = y * double(yScale) - 0.5;
            const int32_t iy = int32_t(std::floor(fy));
            const float a = float(fy) - float(iy);
            for (int32_t x = 0; x < newWidth; ++x) {
                const double fx = x * double(xScale) - 0.5;
                const int32_t ix = int32_t(std::floor(fx));
                const float b = float(fx) - float(ix);
                float red = 0.0f, green = 0.0f, blue = 0.0f;
                for (int32_t m = -1; m < 3; ++m) {
                    const int32_t yy = std::clamp(iy + m, 0, maxY);
                    for (int32_t n = -1; n < 3; ++n) {
                        const float weight = BSpline(float(m) - a) * BSpline(b - float(n));
                        const int32_t xx = std::clamp(ix + n, 0, maxX);
                        LbRgbQuad c;
                        if (indexed) {
                            c = GetPixelColor(xx, yy);
                        } else {
                            const uint8_t* p = GetBits(uint32_t(yy)) + 3 * size_t(xx);
                            c = LbRgbQuad{p[0], p[1], p[2], 0};
                        }
                        red += weight * float(c.red);
                        green += weight * float(c.green);
                        blue += weight * float(c.blue);
                    }
                }
                const LbRgbQuad out{uint8_t(int32_t(blue)), uint8_t(int32_t(green)), uint8_t(int32_t(red)), 0};
                if (tmp.IsIndexed()) {
                    tmp.SetPixelColor(x, y, out);
                } else {
                    uint8_t* p = tmp.GetBits(uint32_t(y)) + 3 * size_t(x);
                    p[0] = out.blue;
                    p[1] = out.green;
                    p[2] = out.red;
                }
            }
        }
    }
    return (dst ? dst : this)->Transfer(tmp);
}

bool LbImage::GrayScale() {
    if (pDib == nullptr) return false;
    const uint32_t width = GetWidth(), height = GetHeight();
    LbImage tmp;
    if (!CreateResult(tmp, width, height, 8)) return false;
    tmp.SetGrayPalette();
    if (!IsIndexed()) {
        for (uint32_t y = 0; y < height; ++y) {
            const uint8_t* in = GetBits(y);
            uint8_t* out = tmp.GetBits(y);
            for (uint32_t x = 0; x < width; ++x, in += 3)
                out[x] = uint8_t((in[2] * 306 + in[1] * 601 + in[0] * 117) >> 10);
        }
    } else {
        uint8_t gray[256] = {};
        for (uint32_t i = 0; i < GetNumColors(); ++i) gray[i] = GrayOf(GetPaletteColor(uint8_t(i)));
        for (uint32_t y = 0; y < height; ++y) {
            uint8_t* out = tmp.GetBits(y);
            for (uint32_t x = 0; x < width; ++x) out[x] = gray[GetPixelIndex(int32_t(x), int32_t(y))];
        }
        if (info.transIndex >= 0 && info.transIndex < 256) tmp.SetTransIndex(gray[info.transIndex]);
    }
    return Transfer(tmp);
}

bool LbImage::Dither(int method) {
    if (pDib == nullptr || method != 0) return false;
    if (GetBpp() == 1) return true;
    const int32_t width = int32_t(GetWidth()), height = int32_t(GetHeight());
    LbImage tmp(GetType());
    if (tmp.Create(uint32_t(width), uint32_t(height), 1, GetType()) == nullptr) {
        KeepLastError(tmp);
        return false;
    }
    tmp.Clear(0);

    // The grey levels GrayScale() would produce, worked on in place of a grey image.
    std::vector<uint8_t> levels;
    try {
        levels.resize(size_t(width) * size_t(height));
    } catch (const std::bad_alloc&) {
        SetLastError("can't allocate memory");
        return false;
    }
    if (IsIndexed()) {
        uint8_t gray[256] = {};
        for (uint32_t i = 0; i < GetNumColors(); ++i) gray[i] = GrayOf(GetPaletteColor(uint8_t(i)));
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) levels[size_t(y) * width + x] = gray[GetPixelIndex(x, y)];
    } else {
        for (int32_t y = 0; y < height; ++y) {
            const uint8_t* in = GetBits(uint32_t(y));
            uint8_t* out = &levels[size_t(y) * width];
            for (int32_t x = 0; x < width; ++x, in += 3) out[x] = uint8_t((in[2] * 306 + in[1] * 601 + in[0] * 117) >> 10);
        }
    }

    // Floyd-Steinberg: every share is truncated toward zero and every neighbour is
    // limited to 0..255 as soon as it receives a share.
    auto add = [](uint8_t& level, int32_t share) { level = uint8_t(std::clamp(int32_t(level) + share, 0, 255)); };
    for (int32_t y = 0; y < height; ++y) {
        info.progress = int32_t(100 * int64_t(y) / height);
        if (info.escape) break;
        uint8_t* row = &levels[size_t(y) * width];
        uint8_t* above = y + 1 < height ? row + width : nullptr;
        uint8_t* out = tmp.GetBits(uint32_t(y));
        int32_t level = row[0];  // the current pixel's level, carried along the row
        for (int32_t x = 0; x < width; ++x) {
            int32_t error = level;
            if (level > 128) {
                out[x >> 3] = uint8_t(out[x >> 3] | (0x80 >> (x & 7)));
                error = level - 255;
            }
            const bool hasRight = x + 1 < width;
            if (hasRight) level = std::clamp(int32_t(row[x + 1]) + error * 7 / 16, 0, 255);
            if (above != nullptr) {
                if (x > 0) add(above[x - 1], error * 3 / 16);
                add(above[x], error * 5 / 16);
                if (hasRight) add(above[x + 1], error * 1 / 16);
            }
        }
    }
    tmp.SetPaletteColor(0, LbRgbQuad{0, 0, 0, 0});
    tmp.SetPaletteColor(1, LbRgbQuad{255, 255, 255, 0});
    return Transfer(tmp);
}
