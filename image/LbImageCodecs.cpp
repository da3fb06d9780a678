// Loading and saving by file name, and the dispatch of Decode / Encode by format
// code to the codec classes.
#include <cstdlib>
#include <cstring>
#include <string>

#include "image/LbFile.h"
#include "image/LbFormats.h"
#include "image/LbImage.h"
#include "image/LbImageBMP.h"
#include "image/LbImageGIF.h"
#include "image/LbImageJPG.h"
#include "image/LbImagePNG.h"
#include "image/LbImageRAW.h"
#include "platform/AtomicFile.h"

bool LbImage::AdoptDecoded(LbImage& codec, bool decoded) {
    if (decoded) return Transfer(codec);
    KeepLastError(codec);
    return false;
}

bool LbImage::KeepEncodeResult(const LbImage& codec, bool encoded) {
    if (!encoded) KeepLastError(codec);
    return encoded;
}

// One entry per format code; each decodes with a fresh codec object that starts
// from this image's information.
bool LbImage::DecodeFormat(LbFile* hFile, uint32_t imageType) {
    // The orientation is the new file's to say, not left from an earlier picture.
    info.orientation = 0;
    switch (imageType) {
        case LB_FORMAT_BMP: {
            LbImageBMP codec;
            codec.CopyInfo(*this);
            return AdoptDecoded(codec, codec.Decode(hFile));
        }
        case LB_FORMAT_GIF: {
            LbImageGIF codec;
            codec.CopyInfo(*this);  // carries the frame number
            const bool decoded = codec.Decode(hFile);
            info.numFrames = codec.GetNumFrames();
            return AdoptDecoded(codec, decoded);
        }
        case LB_FORMAT_JPG: {
            LbImageJPG codec;
            codec.CopyInfo(*this);
            return AdoptDecoded(codec, codec.Decode(hFile));
        }
        case LB_FORMAT_PNG: {
            LbImagePNG codec;
            codec.CopyInfo(*this);
            return AdoptDecoded(codec, codec.Decode(hFile));
        }
        case LB_FORMAT_RAW: {
            LbImageRAW codec;
            codec.CopyInfo(*this);
            return AdoptDecoded(codec, codec.Decode(hFile));
        }
        default:
            SetLastError(LbError::UnknownDecodeFormat);
            return false;
    }
}

// One entry per format code; each encoder writes a view of this image, with this
// image's encoder option.
bool LbImage::EncodeFormat(LbFile* hFile, uint32_t imageType) {
    switch (imageType) {
        case LB_FORMAT_BMP: {
            LbImageBMP codec;
            codec.SetEncodeOption(GetEncodeOption());
            return KeepEncodeResult(codec, codec.Encode(hFile, Ghost()));
        }
        case LB_FORMAT_GIF: {
            LbImageGIF codec;
            codec.SetEncodeOption(GetEncodeOption());
            return KeepEncodeResult(codec, codec.Encode(hFile, Ghost()));
        }
        case LB_FORMAT_JPG: {
            LbImageJPG codec;
            codec.SetEncodeOption(GetEncodeOption());
            return KeepEncodeResult(codec, codec.Encode(hFile, Ghost()));
        }
        case LB_FORMAT_PNG: {
            LbImagePNG codec;
            codec.SetEncodeOption(GetEncodeOption());
            return KeepEncodeResult(codec, codec.Encode(hFile, Ghost()));
        }
        case LB_FORMAT_RAW: {
            LbImageRAW codec;
            codec.SetEncodeOption(GetEncodeOption());
            return KeepEncodeResult(codec, codec.Encode(hFile, Ghost()));
        }
        default:
            SetLastError(LbError::UnknownEncodeFormat);
            return false;
    }
}

bool LbImage::Decode(LbFile* hFile, uint32_t imageType) {
    if (hFile == nullptr) {
        SetLastError(LbError::NullFile);
        return false;
    }
    if (imageType != LB_FORMAT_UNKNOWN) return DecodeFormat(hFile, imageType);
    return LbDecodeByContent(hFile, LB_FORMAT_UNKNOWN, *this);
}

bool LbImage::Decode(FILE* hFile, uint32_t imageType) {
    LbIOFile file(hFile);
    return Decode(&file, imageType);
}

bool LbImage::Decode(const uint8_t* buffer, size_t size, uint32_t imageType) {
    if (buffer == nullptr) {
        SetLastError(LbError::NullFile);
        return false;
    }
    LbMemFile file(buffer, size);
    return Decode(&file, imageType);
}

bool LbImage::Encode(LbFile* hFile, uint32_t imageType) {
    if (imageType == LB_FORMAT_UNKNOWN || imageType > LB_FORMAT_RAW) {
        SetLastError(LbError::UnknownEncodeFormat);
        return false;
    }
    return EncodeFormat(hFile, imageType);
}

bool LbImage::Encode(FILE* hFile, uint32_t imageType) {
    if (hFile == nullptr) {
        SetLastError(LbError::NullFile);
        return false;
    }
    LbIOFile file(hFile);
    return Encode(&file, imageType);
}

bool LbImage::Encode(LbFile* hFile, LbImage** images, int32_t count, uint32_t imageType) {
    if (imageType == LB_FORMAT_GIF) {
        LbImageGIF codec;
        return KeepEncodeResult(codec, codec.Encode(hFile, images, count));
    }
    SetLastError("Multipage Encode, Unsupported operation for this format");
    return false;
}

bool LbImage::Load(const std::string& fileName, uint32_t imageType) {
    // Opened once: a typed decode that fails goes back to the start for detection.
    std::string reason;
    platform::OpenFailure failure{};
    LbIOFile file(platform::OpenRegularFile(fileName, &reason, &failure), true);
    if (file.GetFile() == nullptr) {
        // A missing file fails silently as before; a folder, device or FIFO says why.
        if (failure == platform::OpenFailure::NotAFile) SetLastError(LbError::NotAFile, reason.c_str());
        return false;
    }
    // The format of the type given first, then the others by content (LbFormats.h).
    return LbDecodeByContent(&file, imageType, *this);
}

bool LbImage::Save(const std::string& fileName, uint32_t imageType) {
    // Encode into a temporary file beside the target that replaces it only when
    // complete, so a failed save never leaves a partial file or touches an existing one.
    platform::AtomicWriter writer;
    std::string reason;
    // The texts name no path: the caller names the file, and a long path would not fit
    // the last error's room and cut the reason off.
    if (!writer.Open(fileName, &reason)) {
        SetLastError((std::string("cannot create the file: ") + std::strerror(writer.ErrorCode())).c_str());
        return false;
    }
    // The encoders write through a stdio stream; its writes go to the writer, which
    // keeps the disk busy while a large picture is still being written.
    cookie_io_functions_t toWriter{};
    toWriter.write = [](void* cookie, const char* data, size_t size) -> ssize_t {
        return static_cast<platform::AtomicWriter*>(cookie)->Write(data, size) ? ssize_t(size) : -1;
    };
    FILE* fp = ::fopencookie(&writer, "wb", toWriter);
    if (fp == nullptr) {
        SetLastError(LbError::WriteError);
        return false;
    }
    bool ok = Encode(fp, imageType);
    if (ok && (std::fflush(fp) != 0 || std::ferror(fp) != 0)) {
        SetLastError(LbError::WriteError);
        ok = false;
    }
    if (std::fclose(fp) != 0 && ok) {
        SetLastError(LbError::WriteError);
        ok = false;
    }
    // A write the system refused (a full disk, a quota) is named by its reason rather
    // than by the encoder's general "Write Error".
    if (!ok && writer.ErrorCode() != 0) SetLastError(std::strerror(writer.ErrorCode()));
    if (ok && !writer.Commit(&reason)) {
        const std::string why = std::strerror(writer.ErrorCode());
        if (writer.Saved())
            SetLastError(LbError::SavedNotSynced, ("saved, but its folder could not be synced to the disk: " + why).c_str());
        else
            SetLastError(why.c_str());
        ok = false;
    }
    return ok;
}
