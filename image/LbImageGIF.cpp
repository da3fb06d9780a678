#include "image/LbImageGIF.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "image/GifImageIterator.h"
#include "image/GifLzwDecoder.h"
#include "image/GifReadAhead.h"
#include "image/LbBudget.h"
#include "image/LbFile.h"
#include "image/LbPackedRow.h"

namespace {

uint32_t Le16(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8); }

uint32_t BitsForTable(uint32_t entries) { return entries <= 2 ? 1 : entries <= 16 ? 4 : 8; }

}  // namespace

void LbImageGIF::SetComment(const char* comment) {
    if (comment == nullptr) comment = "";
    std::strncpy(m_comment, comment, 255);
    m_comment[255] = '\0';
}

bool LbImageGIF::DecodeExtension(GifReadAhead& in, bool apply) {
    const int label = in.GetByte();
    if (label < 0) return false;
    switch (label) {
        case 0xF9: {  // graphic control
            const int size = in.GetByte();
            uint8_t rec[4];
            if (in.Read(rec, 4) != 4 || size != 4) return false;
            if (apply) {
                m_gce.flags = rec[0];
                m_gce.delay = uint16_t(Le16(rec + 1));
                m_gce.transIndex = rec[3];
                if (rec[0] & 1) info.transIndex = rec[3];
                info.frameDelay = m_gce.delay;
                m_disposal = (rec[0] >> 2) & 7;
            }
            break;
        }
        case 0xFE: {  // comment: its first sub-block is kept
            const int size = in.GetByte();
            if (size <= 0) return size == 0;
            char text[256];
            const size_t got = in.Read(reinterpret_cast<uint8_t*>(text), size_t(size));
            text[got] = '\0';
            if (apply) std::memcpy(m_comment, text, got + 1);
            break;
        }
        case 0xFF: {  // application: the loop count of an animation
            if (in.GetByte() != 11) return false;
            uint8_t id[11];
            if (in.Read(id, 11) != 11) return false;
            const int size = in.GetByte();
            if (size <= 0) return size == 0;
            uint8_t data[255];
            const size_t got = in.Read(data, size_t(size));
            if (got > 2 && apply) m_loops = int32_t(Le16(data + 1));
            break;
        }
        default:
            break;
    }
    in.SkipSubBlocks();
    return true;
}

bool LbImageGIF::NextImage(GifReadAhead& in, const Screen& screen, Descriptor& d, bool apply) {
    for (;;) {
        const int introducer = in.GetByte();
        if (introducer < 0 || introducer == 0x3B) return false;
        if (introducer == 0x21) {
            if (!DecodeExtension(in, apply)) return false;
            continue;
        }
        if (introducer != 0x2C) continue;  // stray bytes are skipped
        uint8_t desc[9];
        if (in.Read(desc, 9) != 9) return false;
        d.left = Le16(desc);
        d.top = Le16(desc + 2);
        d.width = Le16(desc + 4);
        d.height = Le16(desc + 6);
        d.flags = desc[8];
        if (d.width > 0 && d.height > 0 && d.left + d.width <= screen.width && d.top + d.height <= screen.height)
            return true;
        // An image outside the screen (or empty) is passed over whole.
        if ((d.flags & 0x80) && !in.Skip(3u << ((d.flags & 7) + 1))) return false;
        if (in.GetByte() < 0) return false;
        in.SkipSubBlocks();
    }
}

int32_t LbImageGIF::get_num_frames(GifReadAhead& in, const Screen& screen) {
    const int64_t start = in.Tell();
    int32_t frames = 0;
    Descriptor d;
    while (NextImage(in, screen, d, false)) {
        if ((d.flags & 0x80) && !in.Skip(3u << ((d.flags & 7) + 1))) break;  // no whole colour table: not a frame
        ++frames;
        if (in.GetByte() < 0) break;  // the code size byte
        in.SkipSubBlocks();
        if (uint32_t(frames) > LbCurrentLimits().frames) break;  // refused by the caller
    }
    in.SeekTo(start);
    return frames;
}

void LbImageGIF::TakePixels(LbImage& from) {
    LbImageInfo keep = info;
    Transfer(from);
    keep.effWidth = info.effWidth;
    keep.pImage = info.pImage;
    keep.pGhost = info.pGhost;
    keep.pParent = info.pParent;
    keep.type = info.type;
    keep.numLayers = info.numLayers;
    keep.lastValid = false;
    info = keep;
}

void LbImageGIF::GifMix(LbImage& previous, const LbImage& frame, uint32_t left, uint32_t top) {
    // Compared as a byte: without a transparent index (-1), index 255 is not drawn.
    const uint8_t transparent = uint8_t(frame.GetTransIndex());
    const int32_t fh = int32_t(frame.GetHeight());
    const int32_t ph = int32_t(previous.GetHeight());
    // Both are indexed (the picture is the first frame's block); a frame that starts
    // right of the picture draws nothing.
    if (left >= previous.GetWidth()) return;
    // Straight on the rows: only the frame's rectangle is touched.
    const uint32_t fb = frame.GetBpp(), pb = previous.GetBpp();
    const uint32_t width = std::min(frame.GetWidth(), previous.GetWidth() - left);
    // Without a transparent index the frame's pixels are all drawn.
    const bool wholeBytes = fb == pb && transparent >= (1u << fb) && uint64_t(left) * pb % 8 == 0;
    for (int32_t y = 0; y < fh && int32_t(top) + y < ph; ++y) {
        const uint8_t* src = frame.GetBits(uint32_t(fh - 1 - y));
        uint8_t* dst = previous.GetBits(uint32_t(ph - 1 - (int32_t(top) + y)));
        uint32_t x = 0;
        if (wholeBytes) {  // nothing to skip: whole bytes are copied, the rest below
            const uint32_t bytes = uint32_t(uint64_t(width) * fb / 8);
            std::memcpy(dst + size_t(left) * pb / 8, src, bytes);
            x = bytes * 8 / fb;
        }
        for (; x < width; ++x) {
            const uint8_t index = PackedIndex(src, x, fb);
            if (index != transparent) SetPackedIndex(dst, left + x, pb, index);
        }
    }
}

void LbImageGIF::DrawOnCanvas(LbImage& canvas, uint32_t left, uint32_t top) const {
    LbRgbQuad colors[256];
    for (uint32_t i = 0; i < 256; ++i) colors[i] = GetPaletteColor(uint8_t(i));
    const uint32_t bpp = GetBpp(), width = GetWidth(), height = GetHeight();
    const uint32_t ch = canvas.GetHeight();
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* src = GetBits(height - 1 - y);
        uint8_t* dst = canvas.GetBits(ch - 1 - (top + y)) + size_t(left) * 3;
        for (uint32_t x = 0; x < width; ++x, dst += 3) {
            const uint8_t index = PackedIndex(src, x, bpp);
            dst[0] = colors[index].blue;
            dst[1] = colors[index].green;
            dst[2] = colors[index].red;
        }
    }
}

bool LbImageGIF::Decode(LbFile* hFile) {
    if (hFile == nullptr) return false;
    auto in = std::make_unique<GifReadAhead>(hFile);
    uint8_t head13[13];
    if (in->Read(head13, 13) != 13 || std::memcmp(head13, "GIF8", 4) != 0) {
        in->Release();
        return false;
    }
    auto screen = std::make_unique<Screen>();
    screen->width = Le16(head13 + 6);
    screen->height = Le16(head13 + 8);
    screen->flags = head13[10];
    if (screen->flags & 0x80) {
        screen->globalSize = 2u << (screen->flags & 7);
        if (in->Read(reinterpret_cast<uint8_t*>(screen->globalTable), 3 * screen->globalSize) != 3 * screen->globalSize) {
            in->Release();
            return false;
        }
    }
    // A picture from an earlier decode must not lend this one its transparency.
    info.transIndex = -1;

    info.numFrames = get_num_frames(*in, *screen);
    if (uint32_t(info.numFrames) > LbCurrentLimits().frames) {
        SetLastError(("GIF: " + LbCountLimitError("frames", LbCurrentLimits().frames)).c_str());
        in->Release();
        return false;
    }
    if (info.frame < 0 || info.frame >= info.numFrames) {
        in->Release();
        return false;
    }
    const bool ok = DecodeFrames(*in, *screen);
    in->Release();
    return ok;
}

bool LbImageGIF::DecodeFrames(GifReadAhead& in, const Screen& screen) {
    auto lzw = std::make_unique<GifLzwDecoder>();
    std::unique_ptr<LbImage> canvas;
    LbRgbQuad palette[256];
    int composition = screen.globalSize > 0 ? 0 : 1;
    int32_t requested = info.frame;
    int32_t firstTransIndex = -1;
    bool reached = false;
    // A frame is drawn whole even when its data ends early, so time follows the
    // frames' areas rather than the file's size: their sum is bounded.
    const uint64_t drawLimit = LbCurrentLimits().drawnPixels;
    uint64_t drawn = 0;
    Descriptor d;

    for (int32_t iImage = 0; iImage < info.numFrames && NextImage(in, screen, d, true); ++iImage) {
        if (iImage == 0 && d.width != screen.width && d.height != screen.height) ++composition;

        LbRgbTriple local[256];
        const LbRgbTriple* table = screen.globalTable;
        uint32_t tableSize = screen.globalSize;
        if (d.flags & 0x80) {
            tableSize = 2u << (d.flags & 7);
            if (in.Read(reinterpret_cast<uint8_t*>(local), 3 * tableSize) != 3 * tableSize) break;
            table = local;
        }
        drawn += uint64_t(d.width) * d.height;
        if (drawn > drawLimit) {
            SetLastError(("GIF: frames draw " + LbCountLimitError("pixels", drawLimit)).c_str());
            return false;
        }

        // A frame left in place over the previous one is decoded on its own and drawn
        // into the picture's rectangle; the picture itself is never copied.
        const bool mix = iImage > 0 && m_disposal == 1 && composition < 2 && IsValid();
        if (iImage == 0) firstTransIndex = info.transIndex;

        std::unique_ptr<LbImage> own;
        LbImage* frame = this;
        if (mix) {
            own = std::make_unique<LbImage>();
            frame = own.get();
        }
        if (frame->Create(d.width, d.height, BitsForTable(tableSize), LB_FORMAT_GIF) == nullptr) {
            if (frame != this) SetLastError(frame->GetLastError());
            return false;
        }
        frame->Clear(0);
        if (tableSize > 0 && !mix) {
            uint32_t entries = tableSize;
            for (uint32_t i = 0; i < tableSize; ++i) palette[i] = LbRgbQuad{table[i].blue, table[i].green, table[i].red, 0};
            if (info.transIndex >= 0 && tableSize < 256) {
                for (uint32_t i = tableSize; i < 256; ++i) palette[i] = LbRgbQuad{255, 255, 255, 0};
                entries = 256;
            }
            SetPalette(palette, entries);
        }

        LbImageIterator rows(*frame, (d.flags & 0x40) != 0);
        lzw->decoder(in, rows, &info.escape);
        if (info.escape != 0) {
            SetLastError("Cancelled");
            return false;
        }
        in.Release();

        if (mix) {
            frame->SetTransIndex(info.transIndex);
            GifMix(*this, *frame, d.left, d.top);
            info.transIndex = firstTransIndex;
            info.lastValid = false;
        }
        own.reset();

        if (composition > 1) {
            // Every frame is drawn, in turn, onto one true-colour screen.
            requested = INT32_MAX;
            if (!canvas) {
                canvas = std::make_unique<LbImage>(screen.width, screen.height, 24, LB_FORMAT_GIF);
                if (!canvas->IsValid()) {
                    SetLastError(canvas->GetLastError());
                    return false;
                }
                canvas->Clear(0);
            }
            DrawOnCanvas(*canvas, d.left, d.top);
        }
        if (iImage == requested) {
            reached = true;
            break;
        }
    }

    if (canvas) {
        LbRgbQuad transColor{};
        const bool transparent = (m_gce.flags & 1) != 0;
        if (transparent) {
            transColor = GetPaletteColor(uint8_t(info.transIndex));
            transColor.reserved = 0;
        }
        TakePixels(*canvas);
        if (transparent) {
            info.transColor = transColor;
            info.transIndex = 0;
        }
        return true;
    }
    return reached && IsValid();
}
