#include "image/PngFastRead.h"

#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "image/LbByteOrder.h"
#include "image/LbFile.h"
#include "image/LbImage.h"

#ifdef LYRA_HAVE_ISAL
#include <emmintrin.h>
#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool IsType(const uint8_t* type, const char* name) { return std::memcmp(type, name, 4) == 0; }

// Chunks read in order from a buffered stream, each one's CRC checked.
class ChunkReader {
public:
    explicit ChunkReader(LbFile* file) : m_file(file) {}

    bool ReadSignature() {
        uint8_t sig[8];
        return Read(sig, 8) && std::memcmp(sig, kSignature, 8) == 0;
    }
    // Starts the next chunk: its length and type.
    bool Next() {
        uint8_t head[8];
        if (!Read(head, 8)) return false;
        m_length = LbLoadBe32(head);
        std::memcpy(m_type, head + 4, 4);
        if (m_length > 0x7FFFFFFFu) return false;
        m_left = m_length;
        m_crc = crc32_gzip_refl(0, m_type, 4);
        return true;
    }
    const uint8_t* Type() const { return m_type; }
    uint32_t Length() const { return m_length; }
    // Up to n bytes of the current chunk's data.
    size_t Data(uint8_t* dst, size_t n) {
        if (n > m_left) n = m_left;
        if (!Read(dst, n)) return 0;
        m_crc = crc32_gzip_refl(m_crc, dst, n);
        m_left -= uint32_t(n);
        return n;
    }
    bool DataExact(uint8_t* dst, size_t n) { return n <= m_left && Data(dst, n) == n; }
    uint32_t Left() const { return m_left; }
    // Reads what is left of the chunk and its CRC; true when the CRC matches.
    bool Finish() {
        uint8_t scratch[4096];
        while (m_left > 0)
            if (Data(scratch, m_left < sizeof scratch ? m_left : sizeof scratch) == 0) return false;
        uint8_t crc[4];
        return Read(crc, 4) && LbLoadBe32(crc) == m_crc;
    }

private:
    bool Read(uint8_t* dst, size_t n) {
        while (n > 0) {
            if (m_pos == m_fill) {
                if (n >= m_buffer.size()) return m_file->Read(dst, 1, n) == n;  // large reads go straight
                m_fill = m_file->Read(m_buffer.data(), 1, m_buffer.size());
                m_pos = 0;
                if (m_fill == 0) return false;
            }
            const size_t part = n < m_fill - m_pos ? n : m_fill - m_pos;
            std::memcpy(dst, m_buffer.data() + m_pos, part);
            m_pos += part;
            dst += part;
            n -= part;
        }
        return true;
    }

    LbFile* m_file;
    std::array<uint8_t, 16384> m_buffer;
    size_t m_fill = 0;
    size_t m_pos = 0;
    uint32_t m_length = 0;
    uint32_t m_left = 0;
    uint8_t m_type[4] = {};
    uint32_t m_crc = 0;
};

// One pixel's bytes as 16-bit lanes, and back.
template <int bpp>
__m128i LoadPixel(const uint8_t* p) {
    uint32_t v = 0;
    std::memcpy(&v, p, bpp);
    return _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(v)), _mm_setzero_si128());
}
template <int bpp>
void StorePixel(uint8_t* p, __m128i lanes) {
    const uint32_t v = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(lanes, lanes)));
    std::memcpy(p, &v, bpp);
}
__m128i Abs16(__m128i x) { return _mm_max_epi16(x, _mm_sub_epi16(_mm_setzero_si128(), x)); }

// The Paeth filter a pixel at a time, its channels side by side: each pixel
// depends on the one before it, so the channels are what can go in parallel.
template <int bpp>
void UnpaethRow(uint8_t* row, const uint8_t* prior, size_t n) {
    const __m128i mask = _mm_set1_epi16(0xFF);
    __m128i a = _mm_setzero_si128(), c = _mm_setzero_si128();
    for (size_t i = 0; i < n; i += bpp) {
        const __m128i b = LoadPixel<bpp>(prior + i);
        const __m128i x = LoadPixel<bpp>(row + i);
        // p = a + b - c; its distances to a, b and c:
        const __m128i pa = Abs16(_mm_sub_epi16(b, c));
        const __m128i pb = Abs16(_mm_sub_epi16(a, c));
        const __m128i pc = Abs16(_mm_sub_epi16(_mm_add_epi16(a, b), _mm_add_epi16(c, c)));
        const __m128i least = _mm_min_epi16(pa, _mm_min_epi16(pb, pc));
        // a when it is nearest (ties included), else b when it is, else c.
        const __m128i isA = _mm_cmpeq_epi16(pa, least), isB = _mm_cmpeq_epi16(pb, least);
        const __m128i bOrC = _mm_or_si128(_mm_and_si128(isB, b), _mm_andnot_si128(isB, c));
        const __m128i nearest = _mm_or_si128(_mm_and_si128(isA, a), _mm_andnot_si128(isA, bOrC));
        a = _mm_and_si128(_mm_add_epi16(x, nearest), mask);
        StorePixel<bpp>(row + i, a);
        c = b;
    }
}

// Undoes a row's filter in place; prior is the unfiltered row above (zeros for the
// first). False for an unknown filter type.
template <int bpp>
bool Unfilter(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t n) {
    switch (filter) {
        case 0: return true;
        case 1:
            for (size_t i = bpp; i < n; ++i) row[i] = uint8_t(row[i] + row[i - bpp]);
            return true;
        case 2:
            for (size_t i = 0; i < n; ++i) row[i] = uint8_t(row[i] + prior[i]);
            return true;
        case 3:
            for (size_t i = 0; i < bpp; ++i) row[i] = uint8_t(row[i] + (prior[i] >> 1));
            for (size_t i = bpp; i < n; ++i) row[i] = uint8_t(row[i] + ((row[i - bpp] + prior[i]) >> 1));
            return true;
        case 4:
            UnpaethRow<bpp>(row, prior, n);
            return true;
        default: return false;
    }
}

// Red-green-blue(-alpha) to the picture's blue-green-red.
template <int bpp>
void StoreRow(const uint8_t* src, uint8_t* dst, uint32_t width) {
    for (uint32_t x = 0; x < width; ++x, src += bpp, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
    }
}

// Red-green-blue-alpha to blue-green-red and the alpha plane's row; false when some
// pixel of the row is not opaque.
bool StoreRowAlpha(const uint8_t* src, uint8_t* dst, uint8_t* alpha, uint32_t width) {
    uint8_t all = 255;
    for (uint32_t x = 0; x < width; ++x, src += 4, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
        alpha[x] = src[3];
        all &= src[3];
    }
    return all == 255;
}

// The inflater's state (85 KB) is made once per thread and reused.
inflate_state* ThreadInflateState() {
    thread_local std::unique_ptr<inflate_state> state;
    if (!state) state = std::make_unique<inflate_state>();
    return state.get();
}

struct Inflater {
    ChunkReader& chunks;
    inflate_state* state = ThreadInflateState();
    std::array<uint8_t, 16384> input;

    explicit Inflater(ChunkReader& reader) : chunks(reader) {
        isal_inflate_init(state);
        state->crc_flag = ISAL_ZLIB;  // zlib header and adler32 checked
        state->next_in = input.data();
        state->avail_in = 0;
    }
    bool Finished() const { return state->block_state == ISAL_BLOCK_FINISH; }
    // More compressed data from this IDAT chunk or the next ones.
    bool Refill() {
        while (chunks.Left() == 0) {
            if (!chunks.Finish() || !chunks.Next() || !IsType(chunks.Type(), "IDAT")) return false;
        }
        const size_t got = chunks.Data(input.data(), input.size());
        state->next_in = input.data();
        state->avail_in = uint32_t(got);
        return got > 0;
    }
    // One step of the inflater; more compressed data is fetched only when it
    // makes no progress with what it has (it holds bits and decoded bytes back).
    // False on damaged data, or when there is no progress and no more data.
    bool Step() {
        const uint32_t in = state->avail_in, out = state->avail_out;
        if (isal_inflate(state) < 0) return false;
        if (state->avail_in != in || state->avail_out != out) return true;
        return !Finished() && Refill();
    }
    // Fills exactly n bytes.
    bool Fill(uint8_t* dst, size_t n) {
        state->next_out = dst;
        state->avail_out = uint32_t(n);
        while (state->avail_out > 0)
            if (!Step()) return false;
        return true;
    }
    // Reads to the end of the stream; true when it ends with no data beyond the rows
    // and the chunk holding its end has nothing after it.
    bool End() {
        uint8_t spare[1];
        state->next_out = spare;
        state->avail_out = sizeof spare;
        while (!Finished() || state->avail_out == 0)
            if (state->avail_out == 0 || !Step()) return false;  // more data than the rows
        // Anything still held back is more data than the rows too.
        if (isal_inflate(state) < 0 || state->avail_out == 0) return false;
        return state->avail_in == 0 && chunks.Left() == 0 && chunks.Finish();
    }
};

}  // namespace

bool PngFastRead(LbFile* file, LbImage& image, const PngFastLimits& limits) {
    ChunkReader chunks(file);
    uint8_t ihdr[13];
    if (!chunks.ReadSignature() || !chunks.Next() || !IsType(chunks.Type(), "IHDR") || chunks.Length() != 13 ||
        !chunks.DataExact(ihdr, 13) || !chunks.Finish())
        return false;
    const uint32_t width = LbLoadBe32(ihdr), height = LbLoadBe32(ihdr + 4);
    const uint8_t depth = ihdr[8], colour = ihdr[9];
    if (width == 0 || height == 0 || width > limits.maxSide || height > limits.maxSide) return false;
    if (depth != 8 || (colour != 2 && colour != 6) || ihdr[10] != 0 || ihdr[11] != 0 || ihdr[12] != 0) return false;
    const int channels = colour == 6 ? 4 : 3;

    // Chunks before the image data: background and resolution are used, other
    // ancillary chunks passed over, any other critical chunk is left to libpng.
    bool haveBackground = false, havePhys = false;
    uint8_t background[6], phys[9];
    for (;;) {
        if (!chunks.Next()) return false;
        const uint8_t* type = chunks.Type();
        if (IsType(type, "IDAT")) break;
        if (IsType(type, "bKGD")) {
            if (haveBackground || chunks.Length() != 6 || !chunks.DataExact(background, 6)) return false;
            if (background[0] != 0 || background[2] != 0 || background[4] != 0) return false;  // beyond 8 bits
            haveBackground = true;
        } else if (IsType(type, "pHYs")) {
            if (havePhys || chunks.Length() != 9 || !chunks.DataExact(phys, 9)) return false;
            havePhys = true;
        } else if (IsType(type, "PLTE")) {
            if (colour != 2) return false;  // a suggested palette: passed over
        } else if (IsType(type, "tRNS") || IsType(type, "eXIf") || (type[0] & 0x20) == 0) {
            return false;  // critical chunks, transparency and orientation: libpng decides
        }
        if (!chunks.Finish()) return false;
    }

    if (image.Create(width, height, 24, LB_FORMAT_PNG) == nullptr) return false;
    image.AdviseFill();
    if (channels == 4 && !image.AlphaCreate()) return false;
    bool opaque = true;
    if (haveBackground) image.SetTransColor(LbRgbQuad{background[5], background[3], background[1], 0});
    if (havePhys) {
        const uint32_t x = LbLoadBe32(phys), y = LbLoadBe32(phys + 4);
        auto dpi = [&](uint32_t pels) { return phys[8] == 1 ? LbPelsPerMeterToDpi(pels) : int32_t(pels); };
        image.SetXDPI(dpi(x));
        image.SetYDPI(dpi(y));
    }

    // Rows: filter byte and samples, inflated one at a time; the unfiltered row
    // above is kept for the next one.
    const size_t rowBytes = size_t(width) * size_t(channels);
    std::vector<uint8_t> rows(2 * (rowBytes + 1), 0);
    uint8_t* current = rows.data();
    uint8_t* prior = rows.data() + rowBytes + 1;
    Inflater inflater(chunks);
    for (uint32_t y = 0; y < height; ++y) {
        if (!inflater.Fill(current, rowBytes + 1)) return false;
        uint8_t* samples = current + 1;
        const bool ok = channels == 3 ? Unfilter<3>(current[0], samples, prior + 1, rowBytes)
                                      : Unfilter<4>(current[0], samples, prior + 1, rowBytes);
        if (!ok) return false;
        uint8_t* out = image.GetBits(height - 1 - y);
        if (channels == 3)
            StoreRow<3>(samples, out, width);
        else
            opaque &= StoreRowAlpha(samples, out, image.AlphaRow(height - 1 - y), width);
        std::swap(current, prior);
    }
    if (!inflater.End()) return false;
    if (opaque) image.AlphaDelete();  // alpha that changes nothing is not kept

    // After the data: only ancillary chunks, then the end.
    for (;;) {
        if (!chunks.Next()) return false;
        if (IsType(chunks.Type(), "IEND")) return chunks.Length() == 0 && chunks.Finish();
        if ((chunks.Type()[0] & 0x20) == 0 || !chunks.Finish()) return false;
    }
}

#else

bool PngFastRead(LbFile*, LbImage&, const PngFastLimits&) { return false; }

#endif
