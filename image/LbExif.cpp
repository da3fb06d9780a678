#include "image/LbExif.h"

#include <cstring>

namespace {

struct Tiff {
    const uint8_t* base;
    size_t size;
    bool bigEndian;

    bool Has(size_t offset, size_t bytes) const { return offset <= size && bytes <= size - offset; }
    uint32_t U16(size_t o) const {
        return bigEndian ? uint32_t(base[o] << 8 | base[o + 1]) : uint32_t(base[o] | base[o + 1] << 8);
    }
    uint32_t U32(size_t o) const {
        return bigEndian ? (U16(o) << 16 | U16(o + 2)) : (U16(o) | U16(o + 2) << 16);
    }
    // Value of an unsigned RATIONAL whose offset is at entry + 8; 0 when unreadable.
    double Rational(size_t entry) const {
        const size_t at = U32(entry + 8);
        if (!Has(at, 8)) return 0;
        const uint32_t num = U32(at), den = U32(at + 4);
        return den == 0 ? 0 : double(num) / den;
    }
};

// The TIFF structure at data: its byte order and the offset of its first IFD with the
// entry count readable; false when it is not one.
bool OpenTiff(const uint8_t* data, size_t size, Tiff& tiff, size_t& ifd) {
    if (data == nullptr || size < 8) return false;
    tiff = Tiff{data, size, false};
    if (data[0] == 'M' && data[1] == 'M')
        tiff.bigEndian = true;
    else if (data[0] != 'I' || data[1] != 'I')
        return false;
    ifd = tiff.U32(4);
    return tiff.Has(ifd, 2);
}

}  // namespace

int LbReadExifOrientation(const uint8_t* data, size_t size, bool withHeader) {
    if (withHeader) {
        if (data == nullptr || size < 6 || std::memcmp(data, "Exif\0\0", 6) != 0) return 0;
        data += 6;
        size -= 6;
    }
    Tiff tiff{};
    size_t ifd = 0;
    if (!OpenTiff(data, size, tiff, ifd)) return 0;
    const uint32_t entries = tiff.U16(ifd);
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t entry = ifd + 2 + size_t(i) * 12;
        if (!tiff.Has(entry, 12)) break;
        if (tiff.U16(entry) != 0x0112) continue;
        // A SHORT, held in the first two bytes of the value field.
        const uint32_t value = tiff.U16(entry + 2) == 3 ? tiff.U16(entry + 8) : 0;
        return value >= 1 && value <= 8 ? int(value) : 0;
    }
    return 0;
}

LbExifResolution LbReadExifResolution(const uint8_t* data, size_t size) {
    LbExifResolution result;
    if (data == nullptr || size < 14 || std::memcmp(data, "Exif\0\0", 6) != 0) return result;
    Tiff tiff{data + 6, size - 6, false};
    if (tiff.base[0] == 'M' && tiff.base[1] == 'M')
        tiff.bigEndian = true;
    else if (tiff.base[0] != 'I' || tiff.base[1] != 'I')
        return result;
    const size_t ifd = tiff.U32(4);
    if (!tiff.Has(ifd, 2)) return result;
    const uint32_t entries = tiff.U16(ifd);
    double x = 0, y = 0, unit = 1.0;  // unit factor: inch 1, centimetre 1 / 2.54
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t entry = ifd + 2 + size_t(i) * 12;
        if (!tiff.Has(entry, 12)) break;
        const uint32_t tag = tiff.U16(entry), type = tiff.U16(entry + 2);
        if (tag == 0x011A && type == 5) x = tiff.Rational(entry);
        if (tag == 0x011B && type == 5) y = tiff.Rational(entry);
        if (tag == 0x0128 && type == 3 && tiff.U16(entry + 8) == 3) unit = 0.3937007874;
    }
    result.x = x / unit;
    result.y = y / unit;
    return result;
}
