#include "image/GifRle.h"

#include <cmath>

#include "image/GifPixelRows.h"

namespace {

uint64_t IntegerSqrt(uint64_t x) {
    uint64_t r = uint64_t(std::sqrt(double(x)));
    while (r * r > x) --r;
    while ((r + 1) * (r + 1) <= x) ++r;
    return r;
}

// Bits of 'codes' more codes and the end code from the given width and counters.
uint64_t EndBits(uint64_t codes, int bits, int count, int bump) {
    uint64_t total = 0;
    for (uint64_t i = 0; i <= codes; ++i) {
        total += uint64_t(bits);
        if (++count == bump && bits < 12) {
            bump += 1 << bits;
            ++bits;
        }
    }
    return total;
}

// Largest j with j * (j + 1) / 2 <= count.
uint64_t TriangleSide(uint64_t count) { return (IntegerSqrt(8 * count + 1) - 1) / 2; }

}  // namespace

tag_RLE::tag_RLE(LbFile* file, int initBits) : out(file, 255) {
    out_bits_init = initBits;
    code_clear = 1 << (initBits - 1);
    code_eof = code_clear + 1;
    rl_basecode = code_clear + 2;
    out_bump_init = code_clear - 1;
    out_clear_init = initBits <= 3 ? 9 : code_clear - 2;
    max_out_clear = 4093 - code_clear;
    out_bits = out_bits_init;
    out_bump = out_bump_init;
    out_clear = out_clear_init;
}

uint64_t tag_RLE::rle_compute_triangle_count(uint64_t count, uint64_t room) {
    uint64_t codes = 0;
    const uint64_t perClear = room * (room + 1) / 2;
    if (count > perClear && perClear > 0) {
        const uint64_t full = count / perClear;
        codes += full * (room + 1);
        count -= full * perClear;
    }
    const uint64_t side = TriangleSide(count);
    codes += side;
    if (count > side * (side + 1) / 2) ++codes;
    return codes;
}

void tag_RLE::rle_output_clear() {
    out.Put(uint32_t(code_clear), out_bits);
    out_bits = out_bits_init;
    out_bump = out_bump_init;
    out_clear = out_clear_init;
    out_count = 0;
    rl_table_max = 0;
    rl_table_pixel = -1;
}

bool tag_RLE::rle_output(int code, uint64_t left) {
    out.Put(uint32_t(code), out_bits);
    ++out_count;
    if (out_count == out_bump && out_bits < 12) {
        out_bump += 1 << out_bits;
        ++out_bits;
    }
    if (out_count >= out_clear) {
        if (out_clear < max_out_clear && left <= 64 && EndBits(left, out_bits, out_count, out_bump) <=
                                                          out_bits + EndBits(left, out_bits_init, 0, out_bump_init)) {
            // So near the end a clear would cost more than the wider codes it saves.
            out_clear = max_out_clear;
            return false;
        }
        rle_output_clear();
        return true;
    }
    return false;
}

uint64_t tag_RLE::rle_flush_fromclear(uint64_t count) {
    // The ladder lives until the next clear: keep the table only as long as the
    // run needs it, so that short runs do not widen the codes that follow.
    const uint64_t needed = rle_compute_triangle_count(count, uint64_t(max_out_clear));
    out_clear = needed >= uint64_t(out_clear_init) ? max_out_clear : out_clear_init;
    rl_table_pixel = rl_pixel;
    uint64_t len = 1;
    while (count > 0) {
        const uint64_t part = len <= count ? len : count;
        const int code = part == 1 ? rl_pixel : rl_basecode + int(part) - 2;
        count -= part;
        ++len;
        if (rle_output(code, count + rl_after)) return count;
        rl_table_max = out_count;
    }
    return 0;
}

uint64_t tag_RLE::rle_flush_withtable(uint64_t count) {
    while (count > 0) {
        const uint64_t part = count < uint64_t(rl_table_max) ? count : uint64_t(rl_table_max);
        const int code = part == 1 ? rl_pixel : rl_basecode + int(part) - 2;
        count -= part;
        if (rle_output(code, count + rl_after)) return count;
    }
    return 0;
}

void tag_RLE::rle_flush_clearorrep(uint64_t& count) {
    if (1 + rle_compute_triangle_count(count, uint64_t(max_out_clear)) < count) {
        rle_output_clear();  // the loop in rle_flush continues from the clear
    } else {
        --count;
        rle_output(rl_pixel, count + rl_after);
    }
}

void tag_RLE::rle_flush() {
    uint64_t count = rl_count;
    while (count > 0) {
        if (count == 1) {
            rle_output(rl_pixel, rl_after);
            break;
        }
        if (out_count == 0) {
            count = rle_flush_fromclear(count);
            continue;
        }
        if (rl_table_pixel == rl_pixel && rl_table_max >= 2) {
            const uint64_t max = uint64_t(rl_table_max);
            const uint64_t withTable = count / max + (count % max ? 1 : 0);
            if (withTable <= 1 + rle_compute_triangle_count(count, uint64_t(max_out_clear))) {
                count = rle_flush_withtable(count);
                continue;
            }
        }
        rle_flush_clearorrep(count);
    }
    rl_count = 0;
}

bool tag_RLE::compressRLE(GifPixelRows& pixels) {
    uint64_t unread = uint64_t(pixels.Width()) * pixels.Height();
    rle_output_clear();
    for (uint32_t y = 0; y < pixels.Height(); ++y) {
        const uint8_t* row = pixels.Row(y);
        const uint32_t width = pixels.Width();
        uint32_t x = 0;
        while (x < width) {
            const int value = row[x];
            uint32_t end = x + 1;
            while (end < width && row[end] == value) ++end;
            if (value != rl_pixel) {
                rl_after = unread;
                if (rl_count > 0) rle_flush();
                rl_pixel = value;
            }
            rl_count += end - x;
            unread -= end - x;
            x = end;
        }
    }
    rl_after = 0;
    if (rl_count > 0) rle_flush();
    out.Put(uint32_t(code_eof), out_bits);
    return out.Finish();
}
