#pragma once
// The run-length method of writing GIF raster data (tag_RLE): a valid LZW code
// stream made without a string table. Runs of one value are expressed through the
// strings a decoder builds by itself: right after a clear code, the codes
// v, base, base+1, ... make it output v repeated 1, 2, 3, ... times while its table
// fills with those strings (the "ladder"), which later runs of v may reuse.
// A run never takes more codes than writing its pixels one by one.
#include <cstdint>

#include "image/GifCodeWriter.h"

class GifPixelRows;
class LbFile;

struct tag_RLE {
    // initBits: the code width after a clear (minimum code size + 1).
    tag_RLE(LbFile* file, int initBits);

    // Writes the data sub-blocks of the whole picture; false on a write error.
    bool compressRLE(GifPixelRows& pixels);

    // Codes needed to write 'count' pixels of one value right after a clear, with
    // strings of lengths 1, 2, 3, ... and at most 'room' codes between clears
    // (the clears in between counted).
    static uint64_t rle_compute_triangle_count(uint64_t count, uint64_t room);

    void rle_flush();
    // Each returns the pixels of the run still to write (a clear cut it short).
    uint64_t rle_flush_fromclear(uint64_t count);
    uint64_t rle_flush_withtable(uint64_t count);
    void rle_flush_clearorrep(uint64_t& count);
    // Writes a code and advances the widths and the clear limit; true when the
    // clear limit was reached and a clear code written. 'left': pixels of the
    // picture still to write after this code.
    bool rle_output(int code, uint64_t left);
    void rle_output_clear();

    GifCodeWriter out;
    int rl_pixel = -1;           // value of the run being collected
    uint64_t rl_count = 0;       // its length
    uint64_t rl_after = 0;       // pixels of the picture after the run
    int rl_table_pixel = -1;     // value of the ladder strings in the decoder's table
    int rl_table_max = 0;        // longest ladder string (0: no ladder)
    int code_clear;
    int code_eof;
    int rl_basecode;             // first free code after a clear
    int out_bits_init;
    int out_bits;
    int out_count = 0;           // codes since the last clear
    int out_bump_init;
    int out_bump;
    int out_clear_init;
    int out_clear;
    int max_out_clear;
};
