#include "image/LbImagePNG.h"

#include <png.h>

#include <cstdlib>
#include <cstring>

#include "image/LbBudget.h"
#include "image/LbByteOrder.h"
#include "image/LbExif.h"
#include "image/LbFile.h"
#include "image/LbPackedRow.h"
#include "image/PngFastRead.h"
#include "image/PngFastWrite.h"
#include "image/PngWritePlan.h"

// libpng reports errors through the error function, which must not return: it
// records libpng's message and jumps back to the codec (png_jmpbuf). Buffers the
// codec allocates itself are held in a Scratch that is freed on both paths.

namespace {

struct Scratch {
    LbImage* image = nullptr;
    uint8_t* buffer = nullptr;
    png_bytep* rows = nullptr;
    uint64_t held = 0;  // counted against the job's memory
    ~Scratch() {
        std::free(buffer);
        std::free(rows);
        LbBudgetGive(held);
    }
};

// Refuses a picture the budget cannot hold, naming the limit, before anything is
// allocated for it: the pixels, libpng's two row buffers and our own rows.
void CheckBudget(png_structp png, Scratch& scratch, uint32_t width, uint32_t height, uint64_t rowBytes,
                 uint64_t ownRows) {
    {
        const uint64_t working = 2 * (rowBytes + 64) + ownRows * rowBytes + uint64_t(height) * sizeof(png_bytep);
        const std::string refusal =
            LbPictureRefusal(width, height, working, [&] { return LbBudgetTake(working); }, "", "PNG working memory ");
        if (refusal.empty()) {
            scratch.held = working;
            return;
        }
        scratch.image->SetLastError(LbError::OverLimit, refusal.c_str());
    }
    png_longjmp(png, 1);
}

void OnError(png_structp png, png_const_charp message) {
    auto* scratch = static_cast<Scratch*>(png_get_error_ptr(png));
    scratch->image->SetLastError(message);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

constexpr const char* kCutShort = "PNG: the file ends before its IEND chunk (it is cut short)";

void ReadData(png_structp png, png_bytep data, size_t length) {
    auto* file = static_cast<LbFile*>(png_get_io_ptr(png));
    if (file->Read(data, 1, length) != length) png_error(png, kCutShort);
}

// A failed write or flush is named by its code, which the encoder keeps as it is.
[[noreturn]] void StreamFailed(png_structp png, LbError code) {
    static_cast<Scratch*>(png_get_error_ptr(png))->image->SetLastError(code);
    png_longjmp(png, 1);
}

void WriteData(png_structp png, png_bytep data, size_t length) {
    auto* file = static_cast<LbFile*>(png_get_io_ptr(png));
    if (file->Write(data, 1, length) != length) StreamFailed(png, LbError::WriteError);
}

void FlushData(png_structp png) {
    auto* file = static_cast<LbFile*>(png_get_io_ptr(png));
    if (!file->Flush()) StreamFailed(png, LbError::FlushError);
}

// The reader's resource limits, all set here: the largest picture libpng accepts
// (each side; the job's pixel and memory limits are checked after the header), the
// largest buffer it allocates for one ancillary chunk (the job's chunk limit) and the
// number of such chunks it keeps.
constexpr png_uint_32 kMaxSide = 1000000;
constexpr png_uint_32 kMaxCachedChunks = 1000;

void SetReadLimits(png_structp png) {
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_set_chunk_malloc_max(png, LbCurrentLimits().chunkBytes);
    png_set_chunk_cache_max(png, kMaxCachedChunks);
    // Ancillary chunks this decoder does not use are skipped unread, whatever size
    // they claim: libpng would otherwise allocate a text chunk's declared length.
    static const png_byte kUnused[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0hIST\0sBIT\0sCAL\0pCAL\0tIME\0cHRM\0gAMA\0sRGB";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kUnused, int(sizeof kUnused / 5));
    // Faults in ancillary chunks are warnings: the chunk is passed over, as the
    // quick road passes over them too.
    png_set_benign_errors(png, 1);
    // Every byte of the compressed data is already covered by its chunk's CRC,
    // which is checked; the second checksum over the inflated rows is skipped,
    // which saves a tenth of the time of large pictures.
#ifdef PNG_IGNORE_ADLER32
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
}

// Drops an alpha plane in which every pixel is opaque: it would change nothing.
void DropOpaqueAlpha(LbImage& image) {
    for (uint32_t y = 0; y < image.GetHeight(); ++y) {
        const uint8_t* a = image.AlphaRow(y);
        for (uint32_t x = 0; x < image.GetWidth(); ++x)
            if (a[x] != 255) return;
    }
    image.AlphaDelete();
}

// A grey or colour picture of up to 8 bits per sample whose transparency chunk names
// one transparent value: grey pictures get it as their transparent index, colour
// pictures an alpha plane that is 0 where the colour is it. (At 16 bits the samples
// are already cut to 8 and the value can no longer be told apart: left alone.)
void MarkTransparentColour(png_structp png, png_infop pinfo, LbImage& image) {
    const int colorType = png_get_color_type(png, pinfo);
    png_color_16p colour = nullptr;
    if (colorType == PNG_COLOR_TYPE_PALETTE || png_get_bit_depth(png, pinfo) > 8 ||
        !png_get_tRNS(png, pinfo, nullptr, nullptr, &colour) || colour == nullptr)
        return;
    if (colorType == PNG_COLOR_TYPE_GRAY) {
        if (colour->gray < image.GetNumColors()) image.SetTransIndex(int32_t(colour->gray));
        return;
    }
    if (colorType != PNG_COLOR_TYPE_RGB || !image.AlphaCreate()) return;
    const uint8_t bgr[3] = {uint8_t(colour->blue), uint8_t(colour->green), uint8_t(colour->red)};
    for (uint32_t y = 0; y < image.GetHeight(); ++y) {
        const uint8_t* row = image.GetBits(y);
        uint8_t* alpha = image.AlphaRow(y);
        for (uint32_t x = 0; x < image.GetWidth(); ++x) alpha[x] = std::memcmp(row + 3 * size_t(x), bgr, 3) == 0 ? 0 : 255;
    }
    DropOpaqueAlpha(image);
}

// What the chunk lengths alone tell, before libpng reads any chunk: whether the
// chunks from start (the signature) lead to an IEND chunk inside the file, and
// whether every eXIf chunk is within the job's chunk limit. libpng allocates an
// eXIf chunk's declared length whole, whatever its chunk limit says, so a longer one
// is skipped unread (the picture is then taken as upright). A stream without a size
// cannot be walked: it is taken to reach its end, and its eXIf is skipped.
struct ChunkWalk {
    bool reachesEnd = false;
    bool exifFits = true;
};

ChunkWalk WalkChunks(LbFile* file, int64_t start, uint32_t chunkLimit) {
    ChunkWalk walk;
    const int64_t size = file->Size();
    if (size < 0) return ChunkWalk{true, false};
    int64_t at = start + 8;
    while (at + 8 <= size) {
        uint8_t head[8];
        if (!file->Seek(at, 0) || file->Read(head, 1, 8) != 8) return walk;
        const uint32_t length = LbLoadBe32(head);
        if (length > 0x7FFFFFFFu) return walk;
        if (std::memcmp(head + 4, "eXIf", 4) == 0 && length > chunkLimit) walk.exifFits = false;
        if (std::memcmp(head + 4, "IEND", 4) == 0) {
            walk.reachesEnd = at + 12 + int64_t(length) <= size;
            return walk;
        }
        at += 12 + int64_t(length);
    }
    return walk;
}

}  // namespace

bool LbImagePNG::Decode(LbFile* hFile) {
    if (hFile == nullptr) {
        SetLastError(LbError::NullFile);
        return false;
    }
    // The common 8-bit RGB and RGBA pictures take the quick road; whatever it does
    // not take, libpng reads from the same start. A file whose chunks do not lead to
    // its end (cut short, or a length damaged) goes to libpng at once: the quick road
    // would read all its rows only to fail at the end, and libpng read them again to
    // find the reason.
    const int64_t start = hFile->Tell();
    const ChunkWalk walk = start >= 0 ? WalkChunks(hFile, start, LbCurrentLimits().chunkBytes) : ChunkWalk{false, false};
    const bool quick = walk.reachesEnd;
    if (start >= 0 && !hFile->Seek(start, 0)) {
        SetLastError("Read Error");
        return false;
    }
    if (quick) {
        const LbImageInfo kept = info;
        if (PngFastRead(hFile, *this, PngFastLimits{kMaxSide})) return true;
        Destroy();
        info = kept;
        if (!hFile->Seek(start, 0)) {
            SetLastError("Read Error");
            return false;
        }
    }
    Scratch scratch;
    scratch.image = this;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &scratch, OnError, OnWarning);
    if (png == nullptr) {
        SetLastError("Failed to create PNG structure");
        return false;
    }
    png_infop pinfo = png_create_info_struct(png);
    if (pinfo == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        SetLastError("Failed to initialize PNG info structure");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &pinfo, nullptr);
        return false;
    }
    png_set_read_fn(png, hFile, ReadData);
    SetReadLimits(png);
    if (!walk.exifFits) {
        static const png_byte kExif[] = "eXIf";
        png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kExif, 1);
    }
    png_read_info(png, pinfo);
#ifdef PNG_eXIf_SUPPORTED
    png_uint_32 exifSize = 0;
    png_bytep exif = nullptr;
    const uint8_t orientation =
        png_get_eXIf_1(png, pinfo, &exifSize, &exif) && exif != nullptr ? uint8_t(LbReadExifOrientation(exif, exifSize, false)) : 0;
#else
    const uint8_t orientation = 0;
#endif

    const png_uint_32 width = png_get_image_width(png, pinfo);
    const png_uint_32 height = png_get_image_height(png, pinfo);
    const int colorType = png_get_color_type(png, pinfo);
    const int bitDepth = png_get_bit_depth(png, pinfo);
    const int pixelDepth = bitDepth * png_get_channels(png, pinfo);
    // Only 2-bit rows and rows with alpha go through a buffer of our own, to be
    // widened to 4 bits or split into colour and alpha: the transforms below make
    // every other row fit the picture's own row.
    const bool widen = bitDepth == 2;
    const bool split = (colorType & PNG_COLOR_MASK_ALPHA) != 0;
    // Split rows are handled one at a time unless the passes of an interlaced file
    // must be gathered first.
    const bool interlaced = png_get_interlace_type(png, pinfo) != PNG_INTERLACE_NONE;
    CheckBudget(png, scratch, width, height, (uint64_t(width) * uint32_t(pixelDepth) + 7) / 8,
                widen || (split && interlaced) ? height : split ? 1 : 0);

    // Background colour, 8 bits per channel.
    png_color_16p background = nullptr;
    if (png_get_bKGD(png, pinfo, &background) && background != nullptr) {
        if (colorType == PNG_COLOR_TYPE_PALETTE) {
            png_colorp palette = nullptr;
            int count = 0;
            if (png_get_PLTE(png, pinfo, &palette, &count) && background->index < count)
                SetTransColor(LbRgbQuad{palette[background->index].blue, palette[background->index].green,
                                        palette[background->index].red, 0});
        } else {
            const int shift = bitDepth == 16 ? 8 : 0;
            const int scale = bitDepth < 8 ? 255 / ((1 << bitDepth) - 1) : 1;
            auto channel = [&](png_uint_16 v) { return uint8_t(((v >> shift) * scale) & 0xFF); };
            if (colorType & PNG_COLOR_MASK_COLOR)
                SetTransColor(LbRgbQuad{channel(background->blue), channel(background->green), channel(background->red), 0});
            else
                SetTransColor(LbRgbQuad{channel(background->gray), channel(background->gray), channel(background->gray), 0});
        }
    }

    if (bitDepth == 16) png_set_strip_16(png);
    // 32-bit grey-alpha pixels become 24-bit colour; 16-bit ones stay 8-bit grey.
    if (colorType == PNG_COLOR_TYPE_GRAY_ALPHA && bitDepth == 16) png_set_gray_to_rgb(png);
    if (colorType & PNG_COLOR_MASK_COLOR) png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, pinfo);

    const uint32_t bpp = pixelDepth == 16 ? 8 : pixelDepth > 16 ? 24 : uint32_t(pixelDepth);
    if (Create(width, height, bpp, LB_FORMAT_PNG) == nullptr) {
        png_destroy_read_struct(&png, &pinfo, nullptr);
        return false;
    }
    AdviseFill();
    info.orientation = orientation;
    png_uint_32 xRes = 0, yRes = 0;
    int unit = 0;
    if (png_get_pHYs(png, pinfo, &xRes, &yRes, &unit)) {
        SetXDPI(unit == PNG_RESOLUTION_METER ? LbPelsPerMeterToDpi(xRes) : int32_t(xRes));
        SetYDPI(unit == PNG_RESOLUTION_METER ? LbPelsPerMeterToDpi(yRes) : int32_t(yRes));
    }

    if (IsIndexed()) {
        png_colorp palette = nullptr;
        int count = 0;
        if (png_get_PLTE(png, pinfo, &palette, &count) && palette != nullptr) {
            for (int i = 0; i < count && i < int(GetNumColors()); ++i)
                SetPaletteColor(uint8_t(i), palette[i].red, palette[i].green, palette[i].blue);
        } else if (bitDepth == 2) {
            for (int i = 0; i < 4; ++i) SetPaletteColor(uint8_t(i), uint8_t(85 * i), uint8_t(85 * i), uint8_t(85 * i));
        } else {
            SetGrayPalette();
        }
        png_bytep alpha = nullptr;
        int alphaCount = 0;
        if (colorType == PNG_COLOR_TYPE_PALETTE && png_get_tRNS(png, pinfo, &alpha, &alphaCount, nullptr) &&
            alpha != nullptr && alphaCount > 0) {
            LbRgbQuad* pal = GetPalette();
            const int n = int(GetNumColors());
            if (alphaCount == 1 && alpha[0] == 0) {
                SetTransIndex(0);
            } else {
                for (int i = 0; i < n; ++i) pal[i].reserved = i < alphaCount ? alpha[i] : 255;
                AlphaPaletteEnable(true);
            }
        }
    }

    // Rows arrive top-down; 2-bit rows go through a buffer and are widened to 4 bits.
    const size_t rowBytes = png_get_rowbytes(png, pinfo);
    if (!widen && !split && rowBytes > GetEffWidth()) png_error(png, "Unexpected row size");
    if (split && !AlphaCreate()) png_longjmp(png, 1);
    // Grey-alpha pairs or blue-green-red-alpha quads: the colour to the picture's row,
    // the alpha to its alpha plane.
    const size_t channels = rowBytes / width;
    auto splitRow = [&](const uint8_t* in, png_uint_32 y) {
        uint8_t* out = GetBits(height - 1 - y);
        uint8_t* alpha = AlphaRow(height - 1 - y);
        for (png_uint_32 x = 0; x < width; ++x, in += channels) {
            if (channels == 2)
                out[x] = in[0];
            else
                std::memcpy(out + 3 * size_t(x), in, 3);
            alpha[x] = in[channels - 1];
        }
    };
    const size_t bufferRows = widen || (split && interlaced) ? height : split ? 1 : 0;
    if (bufferRows > 0) {
        if (rowBytes != 0 && bufferRows > SIZE_MAX / rowBytes) png_error(png, "Image too large");
        scratch.buffer = static_cast<uint8_t*>(std::calloc(bufferRows * rowBytes, 1));
        if (scratch.buffer == nullptr) png_error(png, "Insufficient memory");
    }
    if (split && !interlaced) {
        for (png_uint_32 y = 0; y < height; ++y) {
            png_read_row(png, scratch.buffer, nullptr);
            splitRow(scratch.buffer, y);
        }
        png_read_end(png, nullptr);
        DropOpaqueAlpha(*this);
        png_destroy_read_struct(&png, &pinfo, nullptr);
        return true;
    }
    scratch.rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
    if (scratch.rows == nullptr) png_error(png, "Insufficient memory");
    for (png_uint_32 y = 0; y < height; ++y)
        scratch.rows[y] = scratch.buffer ? scratch.buffer + size_t(y) * rowBytes : GetBits(height - 1 - y);
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, scratch.rows[y], nullptr);
    png_read_end(png, nullptr);

    if (split) {
        for (png_uint_32 y = 0; y < height; ++y) splitRow(scratch.rows[y], y);
        DropOpaqueAlpha(*this);
    } else if (scratch.buffer != nullptr) {
        for (png_uint_32 y = 0; y < height; ++y) {
            const uint8_t* in = scratch.rows[y];
            uint8_t* out = GetBits(height - 1 - y);
            for (png_uint_32 x = 0; x < width; ++x) {
                const uint8_t v = uint8_t((in[x >> 2] >> (6 - 2 * (x & 3))) & 3);
                SetPackedIndex(out, x, 4, v);
            }
        }
    }
    MarkTransparentColour(png, pinfo, *this);
    png_destroy_read_struct(&png, &pinfo, nullptr);
    return true;
}

namespace {

// The quick writer's two settings. Both choose each row's filter among all five
// (a few per cent of the time). The quickest compresses with ISA-L's quickest
// level alone. The thorough one compresses with its best level and also codes
// each block as literals and runs, keeping the smaller: on a 4000x3000 photo
// that makes the file 9 % smaller than ISA-L alone, as small as libpng's at
// zlib's level 7, for about a third more time.
constexpr PngFastSettings kFastest{1, kPngEveryFilter, false};
constexpr PngFastSettings kThorough{3, kPngEveryFilter, true};

// libpng writes what the quick road does not: the smallest level, and every level
// in a build without ISA-L.
bool EncodeWithLibpng(LbImagePNG& codec, const LbImage& image, LbFile* hFile, const PngWritePlan& plan, int zlibLevel) {
    Scratch scratch;
    scratch.image = &codec;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &scratch, OnError, OnWarning);
    if (png == nullptr) {
        codec.SetLastError("Failed to create PNG structure");
        return false;
    }
    png_infop pinfo = png_create_info_struct(png);
    if (pinfo == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        codec.SetLastError("Failed to initialize PNG info structure");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &pinfo);
        const LbError code = codec.GetLastErrorCode();
        if (code != LbError::WriteError && code != LbError::FlushError) codec.SetLastError("Error saving PNG file");
        return false;
    }
    png_set_write_fn(png, hFile, WriteData, FlushData);
    png_set_compression_level(png, zlibLevel);
    // Filters suit samples that change smoothly; palette indices and packed pixels
    // are written unfiltered.
    const bool filtered = plan.bitDepth == 8 && plan.colourType != kPngPalette;
    png_set_filter(png, PNG_FILTER_TYPE_BASE, filtered ? PNG_ALL_FILTERS : PNG_FILTER_NONE);
    png_set_IHDR(png, pinfo, plan.width, plan.height, plan.bitDepth, plan.colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);

    png_color_16 background{};
    if (plan.colourType == kPngPalette) {
        png_color colors[256];
        for (uint32_t i = 0; i < plan.paletteCount; ++i)
            colors[i] = png_color{plan.palette[3 * i], plan.palette[3 * i + 1], plan.palette[3 * i + 2]};
        png_set_PLTE(png, pinfo, colors, int(plan.paletteCount));
        if (plan.alphaCount > 0) png_set_tRNS(png, pinfo, plan.alpha, int(plan.alphaCount), nullptr);
        background.index = plan.backgroundIndex;
    } else if (plan.colourType == kPngGrey || plan.colourType == kPngGreyAlpha) {
        background.gray = plan.backgroundGrey;
    } else {
        background.red = plan.backgroundRgb[0];
        background.green = plan.backgroundRgb[1];
        background.blue = plan.backgroundRgb[2];
    }
    png_set_bKGD(png, pinfo, &background);
    png_set_pHYs(png, pinfo, png_uint_32(plan.xPelsPerMeter), png_uint_32(plan.yPelsPerMeter), PNG_RESOLUTION_METER);
    png_write_info(png, pinfo);

    scratch.buffer = static_cast<uint8_t*>(std::malloc(plan.rowBytes));
    if (scratch.buffer == nullptr) png_error(png, "Insufficient memory");
    for (uint32_t fromTop = 0; fromTop < plan.height; ++fromTop) {
        PngFileRow(image, plan, fromTop, scratch.buffer);
        png_write_row(png, scratch.buffer);
    }
    png_write_end(png, pinfo);
    png_destroy_write_struct(&png, &pinfo);
    return true;
}

}  // namespace

bool LbImagePNG::Encode(LbFile* hFile, LbImageView image) {
    if (!EncodeSafeCheck(hFile, *image)) return false;
    PngWritePlan plan = PlanPngWrite(*image);
    const uint32_t level = GetEncodeOption();
    if (level == LB_PNG_SMALL || !PngFastWriteAvailable())
        return EncodeWithLibpng(*this, *image, hFile, plan, level == LB_PNG_SMALL ? 9 : 6);
    return PngFastWrite(hFile, *image, plan, level == LB_PNG_FAST ? kFastest : kThorough, *this);
}
