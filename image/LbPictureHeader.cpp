#include "image/LbPictureHeader.h"

#include <cstring>

#include "image/BmpHeader.h"
#include "image/LbBudget.h"
#include "image/LbByteOrder.h"
#include "image/LbFile.h"
#include "image/LbFormats.h"
#include "image/LbImage.h"
#include "image/LbImageGIF.h"

namespace {

// The byte-level reads of the walkers: a buffered file, an end that is never read past.
class Bytes {
public:
    explicit Bytes(std::FILE* f) : m_file(f) {}
    bool Read(uint8_t* out, size_t n) { return ReadSome(out, n) == n; }
    size_t ReadSome(uint8_t* out, size_t n) { return std::fread(out, 1, n, m_file); }
    int Get() { return std::fgetc(m_file); }
    bool Skip(long n) { return n == 0 || std::fseek(m_file, n, SEEK_CUR) == 0; }
    void Rewind() { std::rewind(m_file); }
    std::FILE* File() const { return m_file; }

private:
    std::FILE* m_file;
};

uint32_t NormalBpp(uint32_t bpp) { return bpp <= 1 ? 1 : bpp <= 4 ? 4 : bpp <= 8 ? 8 : 24; }

uint16_t Be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

}  // namespace

bool LbReadBmpHeader(std::FILE* f, LbPictureHeader& h, std::string& error) {
    Bytes in(f);
    uint8_t head[kBmpHeaderBytes];
    BmpHeader bmp;
    switch (BmpReadHeaders(head, in.ReadSome(head, sizeof head), bmp)) {
    case BmpHeaderRead::NoSignature: return false;
    case BmpHeaderRead::CutShort:
    case BmpHeaderRead::UnknownSize: error = "BMP: the header is cut short or of an unknown size"; return true;
    case BmpHeaderRead::Read: break;
    }
    h.width = bmp.width < 0 ? 0u : uint32_t(bmp.width);
    h.height = uint32_t(bmp.height < 0 ? -bmp.height : bmp.height);
    if (bmp.bpp != 1 && bmp.bpp != 4 && bmp.bpp != 8 && bmp.bpp != 16 && bmp.bpp != 24 && bmp.bpp != 32) {
        error = "BMP: " + std::to_string(bmp.bpp) + " bits per pixel is not a BMP depth";
        return true;
    }
    h.bpp = NormalBpp(bmp.bpp);
    return true;
}

bool LbReadPngHeader(std::FILE* f, LbPictureHeader& h, std::string& error) {
    Bytes in(f);
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    uint8_t head[8 + 8 + 13];
    if (!in.Read(head, 8) || std::memcmp(head, kSignature, 8) != 0) return false;
    if (!in.Read(head + 8, 8 + 13) || LbLoadBe32(head + 8) != 13 || std::memcmp(head + 12, "IHDR", 4) != 0) {
        error = "PNG: the file does not begin with its IHDR chunk";
        return true;
    }
    h.width = LbLoadBe32(head + 16);
    h.height = LbLoadBe32(head + 20);
    const uint32_t depth = head[24], colour = head[25];
    uint32_t channels = 0;
    switch (colour) {
    case 0: case 3: channels = 1; break;
    case 2: channels = 3; break;
    case 4: channels = 2; break;
    case 6: channels = 4; break;
    default: break;
    }
    const bool depthFits = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    if (channels == 0 || !depthFits || (colour == 3 && depth > 8) || (colour != 0 && colour != 3 && depth < 8)) {
        error = "PNG: bit depth " + std::to_string(depth) + " with colour type " + std::to_string(colour) +
                " is not a PNG pixel format";
        return true;
    }
    // As the decoder makes them: 16-bit samples become 8-bit, alpha is dropped.
    const uint32_t pixel = depth * channels;
    h.bpp = pixel == 16 ? 8 : pixel > 16 ? 24 : NormalBpp(pixel);
    return true;
}

// Markers up to the first frame header; their contents are stepped over by length,
// so a file of many markers costs no more than reading it once.
bool LbReadJpegHeader(std::FILE* f, LbPictureHeader& h, std::string& error) {
    Bytes in(f);
    uint8_t soi[2];
    if (!in.Read(soi, 2) || soi[0] != 0xFF || soi[1] != 0xD8) return false;
    for (;;) {
        // The next marker: stray bytes before it passed over, then its fill bytes.
        int marker = in.Get();
        while (marker >= 0 && marker != 0xFF) marker = in.Get();
        while (marker == 0xFF) marker = in.Get();
        if (marker < 0 || marker == 0xD9 || marker == 0xDA) break;  // the end, or data before a frame header
        if ((marker >= 0xD0 && marker <= 0xD8) || marker == 0x01) continue;  // markers without a length
        uint8_t length[2];
        if (!in.Read(length, 2) || Be16(length) < 2) break;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (!frame) {
            if (!in.Skip(long(Be16(length)) - 2)) break;
            continue;
        }
        uint8_t sof[6];
        if (Be16(length) < 8 || !in.Read(sof, 6)) break;
        h.height = Be16(sof + 1);
        h.width = Be16(sof + 3);
        const uint32_t components = sof[5];
        if (components != 1 && components != 3 && components != 4) {
            error = "JPEG: " + std::to_string(components) + " colour components are not read";
            return true;
        }
        h.bpp = components == 1 ? 8 : 24;
        if (h.width == 0 || h.height == 0) error = "JPEG: the frame header gives no size";
        return true;
    }
    error = "JPEG: no frame header before the image data or the end of the file";
    return true;
}

// The logical screen, and every image descriptor counted as the decoder counts them:
// a viewer shows each one, also one partly or wholly outside the screen.
bool LbReadGifHeader(std::FILE* f, LbPictureHeader& h, std::string& error) {
    Bytes in(f);
    uint8_t head[13];
    if (!in.Read(head, 13) || (std::memcmp(head, "GIF87a", 6) != 0 && std::memcmp(head, "GIF89a", 6) != 0))
        return false;
    h.width = LbLoad16(head + 6);
    h.height = LbLoad16(head + 8);
    in.Rewind();
    LbIOFile file(in.File());
    uint32_t firstLocalTable = 0;
    const int32_t frames = LbImageGIF::CountFrames(&file, &firstLocalTable);
    if (frames < 0) {
        error = "GIF: the file ends inside its colour table";
        return true;
    }
    h.frames = uint32_t(frames);
    // The colours of the global table, else of the first image's own.
    const uint32_t tableSize = (head[10] & 0x80) ? 2u << (head[10] & 7) : firstLocalTable;
    h.bpp = tableSize <= 2 ? 1 : tableSize <= 16 ? 4 : 8;
    if (h.frames == 0) error = LbErrorText(LbError::GifNoFrame);
    return true;
}

bool LbReadPictureHeader(std::FILE* f, bool namedRaw, LbPictureHeader& header, std::string& error) {
    error.clear();
    for (const LbFormat& format : LbFormats()) {
        if (format.readHeader == nullptr) continue;
        std::rewind(f);
        header = LbPictureHeader{};
        header.type = format.code;
        if (format.readHeader(f, header, error)) return true;
    }
    if (!namedRaw) return false;
    // Any bytes make a RAW strip picture of the device's screen size.
    header = LbPictureHeader{LB_FORMAT_RAW, 128, 64, 1, 1};
    return true;
}

std::string LbPictureHeaderRefusal(const LbPictureHeader& h) {
    const LbLimits& limits = LbCurrentLimits();
    const std::string size = std::to_string(h.width) + " x " + std::to_string(h.height);
    if (uint64_t(h.width) * h.height > limits.pixels)
        return size + ": over the pixel limit of " + std::to_string(limits.pixels) + " pixels";
    if (h.frames > limits.frames)
        return std::to_string(h.frames) + " frames: over the frame limit of " + std::to_string(limits.frames);
    const uint64_t bytes = LbImage::CreateBytes(h.width, h.height, h.bpp);
    if (bytes > limits.memory) return size + ": needs " + std::to_string(bytes) + " bytes, over the memory limit of " +
                                      std::to_string(limits.memory) + " bytes";
    return {};
}
