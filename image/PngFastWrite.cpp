#include "image/PngFastWrite.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "image/LbBudget.h"
#include "image/LbFile.h"
#include "image/DeflateRunBlock.h"
#include "image/LbImage.h"
#include "image/PngWritePlan.h"

#ifdef LYRA_HAVE_ISAL
#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Compressed bytes per IDAT chunk, and filtered bytes handed to the deflater at once.
constexpr size_t kChunkBytes = 256 * 1024;
constexpr size_t kBlockBytes = 256 * 1024;

void StoreBe32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}

// The ISA-L level buffer each level asks for at its default size.
size_t LevelBufferBytes(int level) {
    switch (level) {
        case 1: return ISAL_DEF_LVL1_DEFAULT;
        case 2: return ISAL_DEF_LVL2_DEFAULT;
        default: return ISAL_DEF_LVL3_DEFAULT;
    }
}

class Writer {
public:
    Writer(LbFile* file, LbImage& image) : m_file(file), m_image(image) {}

    bool Bytes(const void* data, size_t n) {
        if (n == 0 || m_file->Write(data, 1, n) == n) return true;
        return Fail("Write Error");
    }
    // One chunk: length, type, data, CRC of type and data.
    bool Chunk(const char* type, const uint8_t* data, size_t n) {
        uint8_t head[8];
        StoreBe32(head, uint32_t(n));
        std::memcpy(head + 4, type, 4);
        uint8_t tail[4];
        StoreBe32(tail, crc32_gzip_refl(crc32_gzip_refl(0, head + 4, 4), data, n));
        return Bytes(head, 8) && Bytes(data, n) && Bytes(tail, 4);
    }
    bool Fail(const char* message) {
        m_image.SetLastError(message);
        return false;
    }

private:
    LbFile* m_file;
    LbImage& m_image;
};

// The zlib stream of the image data, cut into IDAT chunks of kChunkBytes.
//
// Each block of filtered rows is compressed by ISA-L and ends in a sync flush, so
// the next block starts on a byte boundary; when a block of literals and runs
// (DeflateRunBlock.h) codes the same rows smaller, it goes into the stream in
// place of ISA-L's. Either way the bytes a decoder rebuilds are the same, so
// ISA-L's later matches into these rows stay right. ISA-L also keeps the Adler-32
// of everything and writes the final block and the trailer.
class ZlibStream {
public:
    explicit ZlibStream(Writer& out) : m_out(out) {}

    void Start(int level, bool tryRuns, uint8_t* levelBuffer, size_t levelBytes, uint8_t* chunk) {
        m_chunk = chunk;
        m_tryRuns = tryRuns;
        isal_deflate_init(&m_stream);
        m_stream.level = uint32_t(level);
        m_stream.level_buf = levelBuffer;
        m_stream.level_buf_size = uint32_t(levelBytes);
        m_stream.gzip_flag = IGZIP_ZLIB_NO_HDR;
        // The zlib header: deflate, a 32 KB window, no dictionary, "fast" level.
        const uint8_t header[2] = {0x78, 0x5E};
        Put(header, 2);
    }
    bool Add(const uint8_t* data, size_t n) {
        if (n == 0) return true;
        if (!Deflate(data, n, SYNC_FLUSH, false)) return false;
        if (m_tryRuns) {
            m_runs.Plan(data, n);
            if (m_runs.Bytes() < m_compressed.size()) {
                m_compressed.clear();
                m_runs.Write(m_compressed);
            }
        }
        return Put(m_compressed.data(), m_compressed.size());
    }
    // The final block, the trailer and the last IDAT chunk.
    bool Finish() {
        if (!Deflate(nullptr, 0, NO_FLUSH, true) || !Put(m_compressed.data(), m_compressed.size())) return false;
        if (m_filled > 0 && !m_out.Chunk("IDAT", m_chunk, m_filled)) return false;
        m_filled = 0;
        return true;
    }

private:
    // ISA-L's output for data into m_compressed.
    bool Deflate(const uint8_t* data, size_t n, uint16_t flush, bool last) {
        m_stream.next_in = const_cast<uint8_t*>(data);
        m_stream.avail_in = uint32_t(n);
        m_stream.flush = flush;
        m_stream.end_of_stream = last ? 1 : 0;
        m_compressed.resize(n + n / 8 + 1024);
        size_t done = 0;
        for (;;) {
            m_stream.next_out = m_compressed.data() + done;
            m_stream.avail_out = uint32_t(m_compressed.size() - done);
            if (isal_deflate(&m_stream) != COMP_OK) return m_out.Fail("Error saving PNG file");
            done = m_compressed.size() - m_stream.avail_out;
            const bool finished = last ? m_stream.internal_state.state == ZSTATE_END
                                       : m_stream.avail_in == 0 && m_stream.avail_out > 0;
            if (finished) break;
            if (m_stream.avail_out == 0) m_compressed.resize(m_compressed.size() * 2);
        }
        m_compressed.resize(done);
        return true;
    }
    // Compressed bytes into IDAT chunks.
    bool Put(const uint8_t* data, size_t n) {
        while (n > 0) {
            const size_t part = n < kChunkBytes - m_filled ? n : kChunkBytes - m_filled;
            std::memcpy(m_chunk + m_filled, data, part);
            m_filled += part;
            data += part;
            n -= part;
            if (m_filled == kChunkBytes) {
                if (!m_out.Chunk("IDAT", m_chunk, m_filled)) return false;
                m_filled = 0;
            }
        }
        return true;
    }

    Writer& m_out;
    isal_zstream m_stream{};
    bool m_tryRuns = false;
    DeflateRunBlock m_runs;
    std::vector<uint8_t> m_compressed;
    uint8_t* m_chunk = nullptr;
    size_t m_filled = 0;
};

bool WriteHead(Writer& out, const PngWritePlan& plan) {
    if (!out.Bytes(kSignature, sizeof kSignature)) return false;
    uint8_t ihdr[13];
    StoreBe32(ihdr, plan.width);
    StoreBe32(ihdr + 4, plan.height);
    ihdr[8] = plan.bitDepth;
    ihdr[9] = plan.colourType;
    ihdr[10] = 0;  // deflate
    ihdr[11] = 0;  // adaptive filtering
    ihdr[12] = 0;  // not interlaced
    if (!out.Chunk("IHDR", ihdr, sizeof ihdr)) return false;
    uint8_t background[6] = {};
    size_t backgroundBytes = 0;
    if (plan.colourType == kPngPalette) {
        if (!out.Chunk("PLTE", plan.palette, size_t(plan.paletteCount) * 3)) return false;
        if (plan.alphaCount > 0 && !out.Chunk("tRNS", plan.alpha, plan.alphaCount)) return false;
        background[0] = plan.backgroundIndex;
        backgroundBytes = 1;
    } else if (plan.colourType == kPngGrey || plan.colourType == kPngGreyAlpha) {
        background[0] = uint8_t(plan.backgroundGrey >> 8);
        background[1] = uint8_t(plan.backgroundGrey);
        backgroundBytes = 2;
    } else {
        for (int i = 0; i < 3; ++i) background[2 * i + 1] = plan.backgroundRgb[i];
        backgroundBytes = 6;
    }
    if (!out.Chunk("bKGD", background, backgroundBytes)) return false;
    uint8_t phys[9];
    StoreBe32(phys, uint32_t(plan.xPelsPerMeter));
    StoreBe32(phys + 4, uint32_t(plan.yPelsPerMeter));
    phys[8] = 1;  // per metre
    return out.Chunk("pHYs", phys, sizeof phys);
}

}  // namespace

bool PngFastWriteAvailable() { return true; }

bool PngFastWrite(LbFile* file, const LbImage& image, const PngWritePlan& plan, const PngFastSettings& settings,
                  LbImage& report) {
    Writer out(file, report);
    const size_t rowBytes = plan.rowBytes;
    const bool filtered = plan.bitDepth == 8 && plan.colourType != kPngPalette;
    const PngFilterSet filters = filtered ? settings.filters : kPngOnlyNone;
    const int level = settings.deflateLevel < 1 ? 1 : settings.deflateLevel > 3 ? 3 : settings.deflateLevel;

    // Working memory, most of it in one block: the row above and this row (each
    // behind its lead of zeros), the filters' scratch, the block of filtered rows,
    // one IDAT chunk and the deflater's level buffer.
    const size_t rowSpan = kPngRowLead + rowBytes + kPngRowTail;
    const size_t scratchBytes = filters == kPngOnlyNone ? 0 : 5 * (rowBytes + kPngRowTail);
    const size_t blockBytes = rowBytes + 1 > kBlockBytes ? rowBytes + 1 : kBlockBytes;
    const size_t levelBytes = LevelBufferBytes(level);
    // ISA-L's output for one block and, when runs are tried, the block of runs and
    // its list of runs (ZlibStream) are held beside it.
    const size_t compressedBytes = blockBytes + blockBytes / 8 + 1024;
    const size_t runBytes = settings.tryRuns ? compressedBytes + 2 * blockBytes : 0;
    const size_t working = 2 * rowSpan + scratchBytes + blockBytes + kChunkBytes + levelBytes;
    const size_t counted = working + compressedBytes + runBytes;
    LbBudgetHold hold(counted);
    if (!hold.ok()) {
        const std::string refusal = "PNG working memory " + LbMemoryLimitError(counted);
        return out.Fail(refusal.c_str());
    }
    std::unique_ptr<uint8_t[]> memory(new (std::nothrow) uint8_t[working]);
    if (!memory) return out.Fail("Insufficient memory");
    uint8_t* prev = memory.get();
    uint8_t* cur = prev + rowSpan;
    uint8_t* scratch = cur + rowSpan;
    uint8_t* block = scratch + scratchBytes;
    uint8_t* chunk = block + blockBytes;
    uint8_t* levelBuffer = chunk + kChunkBytes;
    std::memset(prev, 0, 2 * rowSpan);  // the row above the first, and both leads

    if (!WriteHead(out, plan)) return false;
    ZlibStream idat(out);
    idat.Start(level, settings.tryRuns, levelBuffer, levelBytes, chunk);
    size_t held = 0;
    for (uint32_t y = 0; y < plan.height; ++y) {
        PngFileRow(image, plan, y, cur + kPngRowLead);
        if (held + rowBytes + 1 > blockBytes) {
            if (!idat.Add(block, held)) return false;
            held = 0;
        }
        PngFilterRow(prev + kPngRowLead, cur + kPngRowLead, rowBytes, plan.pixelBytes, filters, scratch, block + held);
        held += rowBytes + 1;
        std::swap(prev, cur);
    }
    if (!idat.Add(block, held) || !idat.Finish()) return false;
    if (!out.Chunk("IEND", nullptr, 0)) return false;
    if (!file->Flush()) return out.Fail("Flush Error");
    return true;
}

#else

bool PngFastWriteAvailable() { return false; }

bool PngFastWrite(LbFile*, const LbImage&, const PngWritePlan&, const PngFastSettings&, LbImage& report) {
    report.SetLastError("Error saving PNG file");
    return false;
}

#endif
