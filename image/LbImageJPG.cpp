#include "image/LbImageJPG.h"

#include <algorithm>
#include <csetjmp>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include <jerror.h>
#include <jpeglib.h>

#include "image/LbBudget.h"
#include "image/LbExif.h"
#include "image/LbFile.h"

// libjpeg reports errors by calling error_exit, which must not return: it formats
// libjpeg's message into the image's last error and jumps back to the codec.
// Everything allocated between setjmp and the jump lives in libjpeg's pools.

namespace {

constexpr size_t kBufferSize = 4096;
const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

struct ErrorHook {
    jpeg_error_mgr pub;
    jmp_buf jump;
    LbImage* image;
    jpeg_progress_mgr progress;
    long memoryLimit = 0;  // what libjpeg was allowed, named when it runs out
    int scan = 0;           // the scan last counted
    uint64_t samples = 0;   // samples of the scans read so far
};

void ErrorExit(j_common_ptr cinfo) {
    auto* hook = reinterpret_cast<ErrorHook*>(cinfo->err);
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    const int code = cinfo->err->msg_code;
    if (hook->memoryLimit > 0 && (code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE))
        hook->image->SetLastError(LbError::OverLimit, ("JPEG working memory is over what the memory limit leaves (" +
                                   std::to_string(hook->memoryLimit) + " bytes of " +
                                   std::to_string(LbCurrentLimits().memory) + ")").c_str());
    else
        hook->image->SetLastError(text);
    longjmp(hook->jump, 1);
}

// Called while libjpeg reads: a progressive file may hold any number of scans,
// each of which walks its components whole, so their number and their samples
// together are bounded.
void CountScans(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    auto* hook = reinterpret_cast<ErrorHook*>(cinfo->err);
    if (d->input_scan_number <= hook->scan) return;
    hook->scan = d->input_scan_number;
    for (int c = 0; c < d->comps_in_scan && c < MAX_COMPS_IN_SCAN; ++c)
        if (const jpeg_component_info* comp = d->cur_comp_info[c])
            hook->samples += uint64_t(comp->width_in_blocks) * comp->height_in_blocks * 64;
    const LbLimits& limits = LbCurrentLimits();
    if (uint32_t(hook->scan) > limits.scans)
        hook->image->SetLastError(LbError::OverLimit, ("JPEG: " + LbCountLimitError("scans", limits.scans)).c_str());
    else if (hook->samples > limits.scanSamples)
        hook->image->SetLastError(LbError::OverLimit, ("JPEG: scans decode " + LbCountLimitError("samples", limits.scanSamples)).c_str());
    else
        return;
    longjmp(hook->jump, 1);
}

void SilentMessage(j_common_ptr) {}

// Whether a decoded picture of this size fits the pixel limit and the memory left;
// when not, the image's last error names the limit.
bool PictureFits(LbImage& image, uint32_t width, uint32_t height, uint64_t bytes) {
    const char* prefix = "Can't allocate memory: ";
    const std::string refusal =
        LbPictureRefusal(width, height, bytes, [&] { return bytes < LbBudgetLeft(); }, prefix, prefix);
    if (!refusal.empty()) image.SetLastError(LbError::OverLimit, refusal.c_str());
    return refusal.empty();
}

struct Source {
    jpeg_source_mgr pub;
    LbFile* file;
    JOCTET* buffer;
    bool started;
};

void InitSource(j_decompress_ptr cinfo) { reinterpret_cast<Source*>(cinfo->src)->started = true; }

boolean FillInputBuffer(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<Source*>(cinfo->src);
    size_t n = src->file->Read(src->buffer, 1, kBufferSize);
    if (n == 0) {
        if (src->started && src->pub.next_input_byte == nullptr) ERREXIT(cinfo, JERR_INPUT_EMPTY);
        // The stream ended early: finish the picture with an end-of-image marker.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->pub.next_input_byte = kEndOfImage;
        src->pub.bytes_in_buffer = 2;
        return TRUE;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = n;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
    auto* src = reinterpret_cast<Source*>(cinfo->src);
    if (count <= 0) return;
    while (count > long(src->pub.bytes_in_buffer)) {
        count -= long(src->pub.bytes_in_buffer);
        FillInputBuffer(cinfo);
    }
    src->pub.next_input_byte += count;
    src->pub.bytes_in_buffer -= size_t(count);
}

void TermSource(j_decompress_ptr) {}

// One byte of the stream inside a marker handler (the source never suspends).
int NextByte(j_decompress_ptr cinfo) {
    jpeg_source_mgr* src = cinfo->src;
    if (src->bytes_in_buffer == 0 && !(*src->fill_input_buffer)(cinfo)) return -1;
    --src->bytes_in_buffer;
    return *src->next_input_byte++;
}

// APP1 markers: only the first EXIF block is read, so only it is kept, as the one
// entry of the saved-marker list; every other APP1 is skipped unread. The library's
// own saving would keep them all and walk its whole list to add each one, which a
// file of many small markers turns into minutes.
boolean KeepFirstExif(j_decompress_ptr cinfo) {
    const int high = NextByte(cinfo), low = NextByte(cinfo);
    if (high < 0 || low < 0) return FALSE;
    const long length = long(high << 8 | low) - 2;
    if (length < 0) return TRUE;
    constexpr JOCTET kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (cinfo->marker_list != nullptr || length < long(sizeof kExif)) {
        (*cinfo->src->skip_input_data)(cinfo, length);
        return TRUE;
    }
    JOCTET head[sizeof kExif];
    for (JOCTET& b : head) {
        const int c = NextByte(cinfo);
        if (c < 0) return FALSE;
        b = JOCTET(c);
    }
    if (std::memcmp(head, kExif, sizeof kExif) != 0) {
        (*cinfo->src->skip_input_data)(cinfo, length - long(sizeof kExif));
        return TRUE;
    }
    // Held in the picture's pool, as the library keeps the markers it saves.
    auto* m = static_cast<jpeg_saved_marker_ptr>((*cinfo->mem->alloc_large)(
        j_common_ptr(cinfo), JPOOL_IMAGE, sizeof(jpeg_marker_struct) + size_t(length)));
    m->next = nullptr;
    m->marker = JPEG_APP0 + 1;
    m->original_length = unsigned(length);
    m->data_length = unsigned(length);
    m->data = reinterpret_cast<JOCTET*>(m + 1);
    std::memcpy(m->data, head, sizeof head);
    for (long i = long(sizeof head); i < length; ++i) {
        const int c = NextByte(cinfo);
        if (c < 0) return FALSE;
        m->data[i] = JOCTET(c);
    }
    cinfo->marker_list = m;
    return TRUE;
}

struct Destination {
    jpeg_destination_mgr pub;
    LbFile* file;
    JOCTET* buffer;
};

void InitDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kBufferSize;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    if (dest->file->Write(dest->buffer, 1, kBufferSize) != kBufferSize) ERREXIT(cinfo, JERR_FILE_WRITE);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kBufferSize;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    const size_t count = kBufferSize - dest->pub.free_in_buffer;
    if (count > 0 && dest->file->Write(dest->buffer, 1, count) != count) ERREXIT(cinfo, JERR_FILE_WRITE);
    if (!dest->file->Flush()) ERREXIT(cinfo, JERR_FILE_WRITE);
}

void InstallErrorHook(ErrorHook& hook, LbImage* image) {
    jpeg_std_error(&hook.pub);
    hook.pub.error_exit = ErrorExit;
    hook.pub.output_message = SilentMessage;
    hook.image = image;
}

}  // namespace

bool LbImageJPG::Decode(LbFile* hFile) {
    if (hFile == nullptr) {
        SetLastError(LbError::NullFile);
        return false;
    }
    jpeg_decompress_struct cinfo;
    ErrorHook hook;
    InstallErrorHook(hook, this);
    cinfo.err = &hook.pub;
    if (setjmp(hook.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    hook.progress.progress_monitor = CountScans;
    cinfo.progress = &hook.progress;

    auto* src = static_cast<Source*>((*cinfo.mem->alloc_small)(j_common_ptr(&cinfo), JPOOL_PERMANENT, sizeof(Source)));
    src->buffer = static_cast<JOCTET*>((*cinfo.mem->alloc_small)(j_common_ptr(&cinfo), JPOOL_PERMANENT, kBufferSize));
    src->file = hFile;
    src->started = false;
    src->pub.init_source = InitSource;
    src->pub.fill_input_buffer = FillInputBuffer;
    src->pub.skip_input_data = SkipInputData;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = TermSource;
    src->pub.next_input_byte = nullptr;
    src->pub.bytes_in_buffer = 0;
    cinfo.src = &src->pub;

    jpeg_set_marker_processor(&cinfo, JPEG_APP0 + 1, KeepFirstExif);
    jpeg_read_header(&cinfo, TRUE);
    if (info.jpegScale == 2 || info.jpegScale == 4 || info.jpegScale == 8) {
        cinfo.scale_num = 1;
        cinfo.scale_denom = info.jpegScale;
    }
    jpeg_calc_output_dimensions(&cinfo);
    // The picture, then libjpeg's working memory from what is left of the budget.
    const uint64_t outputBytes =
        LbImage::CreateBytes(cinfo.output_width, cinfo.output_height, 8 * uint32_t(cinfo.output_components));
    if (!PictureFits(*this, cinfo.output_width, cinfo.output_height, outputBytes)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    hook.memoryLimit = long(std::min<uint64_t>(LbBudgetLeft() - outputBytes, 0x7FFFFFFF));
    cinfo.mem->max_memory_to_use = hook.memoryLimit;

    // Resolution: EXIF first, then the JFIF density.
    LbExifResolution exif;
    int orientation = 0;
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m != nullptr; m = m->next) {
        if (m->marker != JPEG_APP0 + 1) continue;
        if (exif.x <= 0) exif = LbReadExifResolution(m->data, m->data_length);
        if (orientation == 0) orientation = LbReadExifOrientation(m->data, m->data_length, true);
    }

    jpeg_start_decompress(&cinfo);
    const int components = cinfo.output_components;
    if (components != 1 && components != 3 && components != 4) ERREXIT(&cinfo, JERR_BAD_IN_COLORSPACE);
    if (Create(cinfo.output_width, cinfo.output_height, 8 * uint32_t(components), LB_FORMAT_JPG) == nullptr) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    if (exif.x > 0 && exif.y > 0) {
        SetXDPI(int32_t(std::min(exif.x, 2147483647.0)));
        SetYDPI(int32_t(std::min(exif.y, 2147483647.0)));
    } else if (cinfo.density_unit == 2) {
        SetXDPI(int32_t(std::floor(cinfo.X_density * 2.54 + 0.5)));
        SetYDPI(int32_t(std::floor(cinfo.Y_density * 2.54 + 0.5)));
    } else {
        SetXDPI(cinfo.X_density);
        SetYDPI(cinfo.Y_density);
    }
    if (components == 1) SetGrayPalette();
    info.orientation = uint8_t(orientation);

    const uint32_t width = cinfo.output_width;
    JSAMPARRAY line = (*cinfo.mem->alloc_sarray)(j_common_ptr(&cinfo), JPOOL_IMAGE, width * components, 1);
    uint32_t fromTop = 0;
    while (cinfo.output_scanline < cinfo.output_height) {
        if (info.escape) {
            SetLastError(LbError::Cancelled);
            jpeg_destroy_decompress(&cinfo);
            return false;
        }
        jpeg_read_scanlines(&cinfo, line, 1);
        uint8_t* row = GetBits(GetHeight() - 1 - fromTop);
        const uint8_t* in = line[0];
        if (components == 4) {
            for (uint32_t x = 0; x < width; ++x, in += 4, row += 3) {
                const unsigned k = in[3];
                row[0] = uint8_t(in[2] * k / 255);
                row[1] = uint8_t(in[1] * k / 255);
                row[2] = uint8_t(in[0] * k / 255);
            }
        } else if (components == 3) {
            for (uint32_t x = 0; x < width; ++x, in += 3, row += 3) {  // RGB to blue-green-red
                row[0] = in[2];
                row[1] = in[1];
                row[2] = in[0];
            }
        } else {
            std::memcpy(row, in, width);
        }
        ++fromTop;
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool LbImageJPG::Encode(LbFile* hFile, LbImageView image) {
    if (!EncodeSafeCheck(hFile, *image)) return false;
    if (image->IsIndexed() && !image->IsGrayScale()) {
        SetLastError("JPEG can save only RGB or GreyScale images");
        return false;
    }
    const bool gray = image->IsIndexed();
    jpeg_compress_struct cinfo;
    ErrorHook hook;
    InstallErrorHook(hook, this);
    cinfo.err = &hook.pub;
    if (setjmp(hook.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    auto* dest = static_cast<Destination*>((*cinfo.mem->alloc_small)(j_common_ptr(&cinfo), JPOOL_PERMANENT, sizeof(Destination)));
    dest->buffer = static_cast<JOCTET*>((*cinfo.mem->alloc_small)(j_common_ptr(&cinfo), JPOOL_PERMANENT, kBufferSize));
    dest->file = hFile;
    dest->pub.init_destination = InitDestination;
    dest->pub.empty_output_buffer = EmptyOutputBuffer;
    dest->pub.term_destination = TermDestination;
    cinfo.dest = &dest->pub;

    const uint32_t width = image->GetWidth(), height = image->GetHeight();
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = gray ? 1 : 3;
    cinfo.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, image->GetJpegQuality(), TRUE);
    cinfo.density_unit = 1;
    auto density = [](int32_t dpi) { return UINT16(dpi < 1 ? 1 : dpi > 65535 ? 65535 : dpi); };
    cinfo.X_density = density(image->GetXDPI());
    cinfo.Y_density = density(image->GetYDPI());
    jpeg_start_compress(&cinfo, TRUE);

    JSAMPARRAY line = (*cinfo.mem->alloc_sarray)(j_common_ptr(&cinfo), JPOOL_IMAGE, width * cinfo.input_components, 1);
    for (uint32_t fromTop = 0; fromTop < height; ++fromTop) {
        const int32_t y = int32_t(height - 1 - fromTop);
        uint8_t* out = line[0];
        if (gray) {
            for (uint32_t x = 0; x < width; ++x) out[x] = image->GetPixelIndex(int32_t(x), y);
        } else {
            const uint8_t* row = image->GetBits(uint32_t(y));
            for (uint32_t x = 0; x < width; ++x, row += 3, out += 3) {
                out[0] = row[2];
                out[1] = row[1];
                out[2] = row[0];
            }
        }
        jpeg_write_scanlines(&cinfo, line, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}
