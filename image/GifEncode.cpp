// Writing GIF89a files: LbImageGIF's encoders.
#include <algorithm>
#include <cstring>
#include <memory>

#include "image/GifLzwEncoder.h"
#include "image/GifPixelRows.h"
#include "image/GifRle.h"
#include "image/LbFile.h"
#include "image/LbImageGIF.h"

namespace {

void Put16(LbFile* f, uint32_t v) {
    const uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
    f->Write(b, 1, 2);
}

void PutTable(LbFile* f, const LbImage& image) {
    const LbRgbQuad* pal = image.GetPalette();
    uint8_t rgb[768];
    const uint32_t n = std::min<uint32_t>(image.GetNumColors(), 256);
    for (uint32_t i = 0; i < n; ++i) {
        rgb[3 * i] = pal[i].red;
        rgb[3 * i + 1] = pal[i].green;
        rgb[3 * i + 2] = pal[i].blue;
    }
    f->Write(rgb, 1, 3 * n);
}

// The first palette entry of each colour, for the tiles of the true-colour mosaic.
class FirstIndexMap {
public:
    void Reset() { std::fill(std::begin(m_used), std::end(m_used), false); }
    void Add(uint32_t color, uint8_t index) {
        uint32_t slot = Hash(color);
        while (m_used[slot]) {
            if (m_color[slot] == color) return;
            slot = (slot + 1) & (kSlots - 1);
        }
        m_used[slot] = true;
        m_color[slot] = color;
        m_index[slot] = index;
    }
    uint8_t Find(uint32_t color) const {
        for (uint32_t slot = Hash(color); m_used[slot]; slot = (slot + 1) & (kSlots - 1)) {
            if (m_color[slot] == color) return m_index[slot];
        }
        return 0;
    }

private:
    static constexpr uint32_t kSlots = 1024;
    static uint32_t Hash(uint32_t c) { return (c * 2654435761u) >> 22; }
    bool m_used[kSlots] = {};
    uint32_t m_color[kSlots] = {};
    uint8_t m_index[kSlots] = {};
};

uint32_t Packed(LbRgbQuad q) { return uint32_t(q.blue) | (uint32_t(q.green) << 8) | (uint32_t(q.red) << 16); }

}  // namespace

bool LbImageGIF::CheckEncodable(const LbImage& image) {
    if (image.GetWidth() > 0xFFFF || image.GetHeight() > 0xFFFF) {
        SetLastError("GIF images can be at most 65535 pixels wide and high");
        return false;
    }
    return true;
}

void LbImageGIF::EncodeHeader(LbFile* hFile, const LbImage& image) {
    hFile->Write("GIF89a", 1, 6);
    Put16(hFile, image.GetWidth());
    Put16(hFile, image.GetHeight());
    const uint32_t bpp = image.GetBpp();
    uint8_t flags = 0x11;
    if (image.IsIndexed()) flags = uint8_t(0x80 | (bpp - 1) | (((bpp - 1) * 32) & 0xFF));
    const uint8_t rest[3] = {flags, 0, 0};
    hFile->Write(rest, 1, 3);
    if (image.IsIndexed()) PutTable(hFile, image);
}

void LbImageGIF::EncodeExtension(LbFile* hFile, const LbImage& image) {
    uint8_t flags = uint8_t((m_disposal * 4) & 0x1C);
    if (image.GetTransIndex() >= 0) flags |= 1;
    const uint8_t head[4] = {0x21, 0xF9, 0x04, flags};
    hFile->Write(head, 1, 4);
    Put16(hFile, image.GetFrameDelay());
    const uint8_t tail[2] = {uint8_t(image.GetTransIndex()), 0x00};
    hFile->Write(tail, 1, 2);
}

void LbImageGIF::EncodeComment(LbFile* hFile) {
    const size_t len = strnlen(m_comment, 255);
    if (len == 0) return;
    const uint8_t head[3] = {0x21, 0xFE, uint8_t(len)};
    hFile->Write(head, 1, 3);
    hFile->Write(m_comment, 1, len);
    hFile->PutC(0x00);
}

void LbImageGIF::EncodeLoopExtension(LbFile* hFile, uint16_t loops) {
    const uint8_t head[3] = {0x21, 0xFF, 0x0B};
    hFile->Write(head, 1, 3);
    hFile->Write("NETSCAPE2.0", 1, 11);
    const uint8_t sub[2] = {0x03, 0x01};
    hFile->Write(sub, 1, 2);
    Put16(hFile, loops);
    hFile->PutC(0x00);
}

bool LbImageGIF::EncodeBody(LbFile* hFile, const LbImage& image, uint32_t compression, bool localColorMap) {
    int32_t left = 0, top = 0;
    image.GetOffset(&left, &top);
    const uint32_t bpp = image.GetBpp();
    hFile->PutC(0x2C);
    Put16(hFile, uint32_t(left));
    Put16(hFile, uint32_t(top));
    Put16(hFile, image.GetWidth());
    Put16(hFile, image.GetHeight());
    hFile->PutC(localColorMap ? uint8_t(0x80 | (bpp - 1)) : 0);
    if (localColorMap) PutTable(hFile, image);

    const int minCodeSize = int(std::max<uint32_t>(bpp, 2));
    hFile->PutC(uint8_t(minCodeSize));
    GifPixelRows pixels(image);
    bool ok;
    switch (compression) {
        case LB_GIF_NONE: {
            auto lzw = std::make_unique<GifLzwEncoder>(hFile, minCodeSize);
            ok = lzw->compressNONE(pixels);
            break;
        }
        case LB_GIF_LZW: {
            auto lzw = std::make_unique<GifLzwEncoder>(hFile, minCodeSize);
            ok = lzw->compressLZW(pixels);
            break;
        }
        default: {
            tag_RLE rle(hFile, minCodeSize + 1);
            ok = rle.compressRLE(pixels);
            break;
        }
    }
    hFile->PutC(0x00);
    if (!ok) SetLastError("Write Error in GIF file");
    return ok;
}

bool LbImageGIF::FinishFile(LbFile* hFile, bool ok) {
    hFile->PutC(0x3B);
    hFile->Flush();
    if (ok && hFile->Error() != 0) {
        SetLastError("Write Error in GIF file");
        return false;
    }
    return ok;
}

bool LbImageGIF::Encode(LbFile* hFile, LbImageView image) {
    if (!EncodeSafeCheck(hFile, *image) || !CheckEncodable(*image)) return false;
    if (image->GetBpp() > 8) return EncodeRGB(hFile, *image);
    EncodeHeader(hFile, *image);
    EncodeExtension(hFile, *image);
    EncodeComment(hFile);
    return FinishFile(hFile, EncodeBody(hFile, *image, GetEncodeOption(), false));
}

bool LbImageGIF::EncodeRGB(LbFile* hFile, const LbImage& image) {
    EncodeHeader(hFile, image);
    EncodeComment(hFile);

    const uint32_t width = image.GetWidth();
    const uint32_t height = image.GetHeight();
    const bool transparent = image.IsTransparent();
    const LbRgbQuad transColor = image.GetTransColor();
    auto firstIndex = std::make_unique<FirstIndexMap>();
    LbImage tile(LB_FORMAT_GIF);
    LbRgbQuad palette[256];
    bool ok = true;
    for (uint32_t top = 0; top < height && ok; top += 15) {
        const uint32_t th = std::min<uint32_t>(15, height - top);
        const uint32_t bottomRow = height - top - th;  // source row of the tile's bottom row
        for (uint32_t left = 0; left < width && ok; left += 17) {
            const uint32_t tw = std::min<uint32_t>(17, width - left);
            if (tile.GetWidth() != tw || tile.GetHeight() != th) {
                if (tile.Create(tw, th, 8, LB_FORMAT_GIF) == nullptr) {
                    KeepLastError(tile);
                    return false;
                }
            }
            std::fill(std::begin(palette), std::end(palette), LbRgbQuad{});
            if (transparent) palette[0] = LbRgbQuad{transColor.blue, transColor.green, transColor.red, 0};
            for (uint32_t r = 0; r < th; ++r) {
                const uint8_t* src = image.GetBits(bottomRow + r) + 3 * left;
                for (uint32_t c = 0; c < tw; ++c) palette[1 + 17 * r + c] = LbRgbQuad{src[3 * c], src[3 * c + 1], src[3 * c + 2], 0};
            }
            firstIndex->Reset();
            for (uint32_t i = 0; i < 256; ++i) firstIndex->Add(Packed(palette[i]), uint8_t(i));
            tile.SetPalette(palette, 256);
            for (uint32_t r = 0; r < th; ++r) {
                uint8_t* dst = tile.GetBits(r);
                for (uint32_t c = 0; c < tw; ++c) dst[c] = firstIndex->Find(Packed(palette[1 + 17 * r + c]));
            }
            tile.SetTransIndex(transparent ? 0 : -1);
            tile.SetOffset(int32_t(left), int32_t(top));
            EncodeExtension(hFile, tile);
            ok = EncodeBody(hFile, tile, GetEncodeOption(), true);
        }
    }
    return FinishFile(hFile, ok);
}

bool LbImageGIF::Encode(LbFile* hFile, LbImage** images, int32_t count, bool localColorMap) {
    if (hFile == nullptr) {
        SetLastError("invalid file pointer");
        return false;
    }
    if (images == nullptr || count <= 0) {
        SetLastError("multipage GIF, no images!");
        return false;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (images[i] == nullptr || !images[i]->IsValid()) {
            SetLastError("Bad image pointer");
            return false;
        }
        if (!images[i]->IsIndexed()) {
            SetLastError("multipage GIF, images must have a palette");
            return false;
        }
        if (!CheckEncodable(*images[i])) return false;
    }
    EncodeHeader(hFile, *images[0]);
    if (m_loops != 1) EncodeLoopExtension(hFile, uint16_t(std::max(m_loops - 1, 0)));
    bool ok = true;
    for (int32_t i = 0; i < count && ok; ++i) {
        EncodeExtension(hFile, *images[i]);
        ok = EncodeBody(hFile, *images[i], images[i]->GetEncodeOption(), localColorMap && i > 0);
    }
    return FinishFile(hFile, ok);
}
