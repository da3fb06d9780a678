#include "image/PngRowFilter.h"

#include <emmintrin.h>

#include <cstdlib>
#include <cstring>

namespace {

uint8_t PaethPrediction(int a, int b, int c) {
    const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
    return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

uint8_t Prediction(PngFilterType type, uint8_t a, uint8_t b, uint8_t c) {
    switch (type) {
        case kPngFilterSub: return a;
        case kPngFilterUp: return b;
        case kPngFilterAverage: return uint8_t((a + b) >> 1);
        case kPngFilterPaeth: return PaethPrediction(a, b, c);
        default: return 0;
    }
}

// A filtered byte's size to the compressor: its distance from zero either way.
unsigned Magnitude(uint8_t v) { return v < 128 ? v : 256u - v; }

__m128i Select(__m128i mask, __m128i yes, __m128i no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

__m128i Abs16(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }

// Paeth's prediction for eight samples widened to 16 bits.
__m128i Paeth16(__m128i a, __m128i b, __m128i c) {
    const __m128i bc = _mm_sub_epi16(b, c), ac = _mm_sub_epi16(a, c);
    const __m128i pa = Abs16(bc), pb = Abs16(ac), pc = Abs16(_mm_add_epi16(bc, ac));
    const __m128i notA = _mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc));
    return Select(notA, Select(_mm_cmpgt_epi16(pb, pc), c, b), a);
}

__m128i PaethPrediction16x8(__m128i a, __m128i b, __m128i c) {
    const __m128i z = _mm_setzero_si128();
    const __m128i lo = Paeth16(_mm_unpacklo_epi8(a, z), _mm_unpacklo_epi8(b, z), _mm_unpacklo_epi8(c, z));
    const __m128i hi = Paeth16(_mm_unpackhi_epi8(a, z), _mm_unpackhi_epi8(b, z), _mm_unpackhi_epi8(c, z));
    return _mm_packus_epi16(lo, hi);
}

// Adds the magnitudes of sixteen filtered bytes to two 64-bit sums.
__m128i AddMagnitudes(__m128i sums, __m128i v) {
    const __m128i magnitude = _mm_min_epu8(v, _mm_sub_epi8(_mm_setzero_si128(), v));
    return _mm_add_epi64(sums, _mm_sad_epu8(magnitude, _mm_setzero_si128()));
}

uint64_t Total(__m128i sums) {
    uint64_t halves[2];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(halves), sums);
    return halves[0] + halves[1];
}

__m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
void Store(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

}  // namespace

void PngFilterRowPlain(const uint8_t* prev, const uint8_t* cur, size_t rowBytes, unsigned pixelBytes,
                       PngFilterType type, uint8_t* out) {
    for (size_t i = 0; i < rowBytes; ++i) {
        const uint8_t a = i >= pixelBytes ? cur[i - pixelBytes] : 0;
        const uint8_t c = i >= pixelBytes ? prev[i - pixelBytes] : 0;
        out[i] = uint8_t(cur[i] - Prediction(type, a, prev[i], c));
    }
}

void PngFilterRow(const uint8_t* prev, const uint8_t* cur, size_t rowBytes, unsigned pixelBytes, PngFilterSet set,
                  uint8_t* scratch, uint8_t* out) {
    if ((set & ~kPngOnlyNone) == 0) {
        out[0] = kPngFilterNone;
        std::memcpy(out + 1, cur, rowBytes);
        return;
    }
    // Every filter of the set in one pass over the row: each filter's bytes go to
    // its own part of the scratch and its magnitudes to its own sums.
    const size_t stride = rowBytes + kPngRowTail;
    uint8_t* sub = scratch + stride;
    uint8_t* up = scratch + 2 * stride;
    uint8_t* average = scratch + 3 * stride;
    uint8_t* paeth = scratch + 4 * stride;
    const bool wantNone = set & (1u << kPngFilterNone), wantSub = set & (1u << kPngFilterSub),
               wantUp = set & (1u << kPngFilterUp), wantAverage = set & (1u << kPngFilterAverage),
               wantPaeth = set & (1u << kPngFilterPaeth);
    __m128i sums[5] = {};
    const __m128i one = _mm_set1_epi8(1);
    // The left neighbours lie pixelBytes before each byte, in the zero lead for the
    // first pixel; pointers to them keep every index non-negative.
    const uint8_t* curLeft = cur - pixelBytes;
    const uint8_t* prevLeft = prev - pixelBytes;
    size_t i = 0;
    for (; i + 16 <= rowBytes; i += 16) {
        const __m128i x = Load(cur + i), a = Load(curLeft + i);
        const __m128i b = Load(prev + i), c = Load(prevLeft + i);
        if (wantNone) sums[0] = AddMagnitudes(sums[0], x);
        if (wantSub) {
            const __m128i v = _mm_sub_epi8(x, a);
            Store(sub + i, v);
            sums[1] = AddMagnitudes(sums[1], v);
        }
        if (wantUp) {
            const __m128i v = _mm_sub_epi8(x, b);
            Store(up + i, v);
            sums[2] = AddMagnitudes(sums[2], v);
        }
        if (wantAverage) {
            // The byte average rounds up; the filter's rounds down.
            const __m128i mean = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), one));
            const __m128i v = _mm_sub_epi8(x, mean);
            Store(average + i, v);
            sums[3] = AddMagnitudes(sums[3], v);
        }
        if (wantPaeth) {
            const __m128i v = _mm_sub_epi8(x, PaethPrediction16x8(a, b, c));
            Store(paeth + i, v);
            sums[4] = AddMagnitudes(sums[4], v);
        }
    }
    uint64_t cost[5];
    for (int f = 0; f < 5; ++f) cost[f] = Total(sums[f]);
    for (; i < rowBytes; ++i) {
        const uint8_t x = cur[i], a = curLeft[i], b = prev[i], c = prevLeft[i];
        cost[0] += Magnitude(x);
        uint8_t* rows[5] = {nullptr, sub, up, average, paeth};
        for (int f = 1; f < 5; ++f) {
            const uint8_t v = uint8_t(x - Prediction(PngFilterType(f), a, b, c));
            rows[f][i] = v;
            cost[f] += Magnitude(v);
        }
    }
    int best = -1;
    for (int f = 0; f < 5; ++f)
        if ((set & (1u << f)) && (best < 0 || cost[f] < cost[best])) best = f;
    out[0] = uint8_t(best);
    const uint8_t* chosen = best == kPngFilterNone ? cur : scratch + size_t(best) * stride;
    std::memcpy(out + 1, chosen, rowBytes);
}
