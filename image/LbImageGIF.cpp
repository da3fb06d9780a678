#include "image/LbImageGIF.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "image/GifCompose.h"
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

bool LbImageGIF::NextImage(GifReadAhead& in, Descriptor& d, bool apply) {
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
        return true;
    }
}

int32_t LbImageGIF::get_num_frames(GifReadAhead& in, uint32_t stopAfter, uint32_t* firstLocalTable) {
    // Every image descriptor is a frame, as viewers count them, also one that lies
    // partly or wholly outside the screen or has no pixels.
    const int64_t start = in.Tell();
    LbImageGIF walker;
    int32_t frames = 0;
    Descriptor d;
    if (firstLocalTable != nullptr) *firstLocalTable = 0;
    while (walker.NextImage(in, d, false)) {
        const uint32_t local = (d.flags & 0x80) ? 2u << (d.flags & 7) : 0;
        if (local > 0 && !in.Skip(3 * local)) break;  // no whole colour table: not a frame
        if (frames == 0 && firstLocalTable != nullptr) *firstLocalTable = local;
        ++frames;
        if (in.GetByte() < 0) break;  // the code size byte
        in.SkipSubBlocks();
        if (uint32_t(frames) > stopAfter) break;
    }
    in.SeekTo(start);
    return frames;
}

bool LbImageGIF::ReadScreen(GifReadAhead& in, Screen& screen) {
    uint8_t head13[13];
    if (in.Read(head13, 13) != 13 || std::memcmp(head13, "GIF8", 4) != 0) return false;
    screen.width = Le16(head13 + 6);
    screen.height = Le16(head13 + 8);
    screen.flags = head13[10];
    if (screen.flags & 0x80) {
        screen.globalSize = 2u << (screen.flags & 7);
        if (in.Read(reinterpret_cast<uint8_t*>(screen.globalTable), 3 * screen.globalSize) != 3 * screen.globalSize)
            return false;
    }
    return true;
}

int32_t LbImageGIF::CountFrames(LbFile* hFile, uint32_t* firstLocalTable) {
    if (hFile == nullptr) return -1;
    auto in = std::make_unique<GifReadAhead>(hFile);
    auto screen = std::make_unique<Screen>();
    if (!ReadScreen(*in, *screen)) return -1;
    return get_num_frames(*in, UINT32_MAX, firstLocalTable);
}

bool LbImageGIF::FrameError(int32_t frame, const std::string& what) {
    SetLastError(("GIF: frame " + std::to_string(frame) + ": " + what).c_str());
    return false;
}

void LbImageGIF::TakePixels(LbImage& from) {
    TakeBlocks(from);
    info.type = from.GetType();
    info.lastValid = false;
}

bool LbImageGIF::Decode(LbFile* hFile) {
    if (hFile == nullptr) {
        SetLastError(LbError::NullFile);
        return false;
    }
    auto in = std::make_unique<GifReadAhead>(hFile);
    auto screen = std::make_unique<Screen>();
    if (!ReadScreen(*in, *screen)) {
        in->Release();
        SetLastError("GIF: no GIF header");
        return false;
    }
    // A picture from an earlier decode must not lend this one its transparency.
    info.transIndex = -1;

    // The walk stops past the frame limit: the picture is refused however many follow.
    info.numFrames = get_num_frames(*in, LbCurrentLimits().frames);
    if (uint32_t(info.numFrames) > LbCurrentLimits().frames) {
        SetLastError(LbError::OverLimit, ("GIF: " + LbCountLimitError("frames", LbCurrentLimits().frames)).c_str());
        in->Release();
        return false;
    }
    if (info.frame < 0 || info.frame >= info.numFrames) {
        in->Release();
        if (info.numFrames == 0) {
            SetLastError(LbError::GifNoFrame);
            return false;
        }
        SetLastError(("GIF: frame " + std::to_string(info.frame) + " is not in the file (frames 0 to " +
                      std::to_string(info.numFrames - 1) + ")")
                         .c_str());
        return false;
    }
    const bool ok = DecodeFrames(*in, *screen);
    in->Release();
    return ok;
}

bool LbImageGIF::DecodeFrames(GifReadAhead& in, const Screen& screen) {
    auto lzw = std::make_unique<GifLzwDecoder>();
    // The screen as the frames so far leave it: this image itself while it is the
    // indexed first frame (indexed), else the 24-bit picture with alpha (rgba).
    bool indexed = false;
    bool indexedOnGlobalTable = false;
    int32_t firstTransIndex = -1;
    std::unique_ptr<LbImage> rgba;
    std::unique_ptr<LbImage> saved;  // the screen before a frame to be restored afterwards
    GifRect previous;
    int previousDisposal = 0;
    LbRgbQuad palette[256];
    // A frame is drawn whole even when its data ends early, so time follows the
    // frames' areas rather than the file's size: their sum is bounded.
    const uint64_t drawLimit = LbCurrentLimits().drawnPixels;
    uint64_t drawn = 0;
    int32_t requested = info.frame;
    Descriptor d;

    const auto toRgba = [&]() -> bool {
        if (!indexed) return true;
        rgba = std::make_unique<LbImage>();
        if (!GifScreenFromIndexed(*this, firstTransIndex, *rgba)) {
            KeepLastError(*rgba);
            return false;
        }
        indexed = false;
        return true;
    };

    for (int32_t iImage = 0; iImage <= requested; ++iImage) {
        // A graphic control extension speaks for the image that follows it only.
        info.transIndex = -1;
        m_disposal = 0;
        if (!NextImage(in, d, true)) return FrameError(iImage, "the file ends before it");

        LbRgbTriple local[256];
        const LbRgbTriple* table = screen.globalTable;
        uint32_t tableSize = screen.globalSize;
        const bool hasLocal = (d.flags & 0x80) != 0;
        if (hasLocal) {
            tableSize = 2u << (d.flags & 7);
            if (in.Read(reinterpret_cast<uint8_t*>(local), 3 * tableSize) != 3 * tableSize)
                return FrameError(iImage, "the file ends inside its colour table");
            table = local;
        }
        drawn += uint64_t(d.width) * d.height;
        if (drawn > drawLimit) {
            SetLastError(LbError::OverLimit, ("GIF: frames draw " + LbCountLimitError("pixels", drawLimit)).c_str());
            return false;
        }

        LbImage frame;
        if (d.width > 0 && d.height > 0) {
            if (frame.Create(d.width, d.height, BitsForTable(tableSize), LB_FORMAT_GIF) == nullptr) {
                KeepLastError(frame);
                return false;
            }
            frame.Clear(0);
            if (tableSize > 0) {
                uint32_t entries = tableSize;
                for (uint32_t i = 0; i < tableSize; ++i)
                    palette[i] = LbRgbQuad{table[i].blue, table[i].green, table[i].red, 0};
                if (info.transIndex >= 0 && tableSize < 256) {
                    for (uint32_t i = tableSize; i < 256; ++i) palette[i] = LbRgbQuad{255, 255, 255, 0};
                    entries = 256;
                }
                frame.SetPalette(palette, entries);
            }
        }
        LbImageIterator rows(frame, (d.flags & 0x40) != 0);
        if (!lzw->decoder(in, rows, &info.escape))
            return FrameError(iImage, "LZW code size " + std::to_string(lzw->CodeSize()) +
                                          (lzw->CodeSize() > 11 ? " is over 11" : " is under 1"));
        if (info.escape != 0) {
            SetLastError(LbError::Cancelled);
            return false;
        }
        in.Release();

        const int32_t trans = info.transIndex;
        const int disposal = m_disposal;
        const bool covers = d.left == 0 && d.top == 0 && d.width == screen.width && d.height == screen.height;
        // A file without a global table whose first image is smaller than the screen
        // both ways is a mosaic of tiles (as this codec writes true colour): every
        // frame is drawn, whichever was asked for.
        if (iImage == 0 && screen.globalSize == 0 && d.width != screen.width && d.height != screen.height)
            requested = info.numFrames - 1;
        const bool last = iImage == requested;
        if (covers && (iImage == 0 || (trans < 0 && disposal != 3))) {
            // The frame hides everything before it: it is the picture, indexed.
            TakePixels(frame);
            rgba.reset();
            indexed = true;
            indexedOnGlobalTable = !hasLocal;
            firstTransIndex = trans;
        } else if (iImage == 0) {
            firstTransIndex = trans;
            rgba = std::make_unique<LbImage>();
            if (!GifNewScreen(*rgba, screen.width, screen.height)) {
                KeepLastError(*rgba);
                return false;
            }
        } else {
            // What the frame before leaves behind: itself (0, 1), its rectangle cleared
            // (2), or the screen as it was before it (3).
            const bool sameTable = indexedOnGlobalTable && !hasLocal;
            if ((previousDisposal >= 2 || !sameTable) && !toRgba()) return false;
            if (previousDisposal == 3 && saved) {
                rgba = std::move(saved);
            } else if (previousDisposal >= 2) {
                GifClearOnScreen(*rgba, previous);
            }
        }
        saved.reset();
        if (disposal == 3 && !last && iImage > 0) {
            if (!toRgba()) return false;
            saved = std::make_unique<LbImage>(*rgba);
            if (!saved->AlphaIsValid()) {
                KeepLastError(*saved);
                return false;
            }
        }
        if (rgba)
            GifDrawOnScreen(*rgba, frame, d.left, d.top, trans);
        else if (iImage > 0)
            GifMix(*this, frame, d.left, d.top, trans);
        previous = GifRect{d.left, d.top, d.width, d.height};
        previousDisposal = disposal;
    }

    if (rgba) {
        GifDropOpaqueAlpha(*rgba);
        TakePixels(*rgba);
        info.transIndex = -1;
    } else {
        info.transIndex = firstTransIndex;
    }
    info.lastValid = false;
    return IsValid();
}
