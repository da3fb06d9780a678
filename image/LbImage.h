#pragma once
// LbImage: an in-memory device-independent bitmap (40-byte header, palette and
// bottom-up pixel rows in one block) with its descriptive information, the
// transforms the logo editor uses and the codec entry points.
//
// Failures never throw: an operation returns false / nullptr / 0 and leaves its
// reason in GetLastError().
//
// Codecs are classes derived from LbImage that provide
//     bool Decode(LbFile* hFile);                      // fills *this from the stream
//     bool Encode(LbFile* hFile, LbImageView image);   // writes the viewed image
// and report failure through SetLastError(). The dispatch by format code lives in
// LbImageCodecs.cpp.
//
// An image owns its blocks (pixel block, selection, alpha, layers) through owning
// handles that free each exactly once and give its bytes back to the job that
// counted them. Code that only reads another's image holds an LbImageView.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "image/LbBudget.h"

#include "image/LbError.h"

class LbFile;

#define LBIMAGE_VERSION "LbImage 1.0"

// Image format codes.
enum LbImageFormat : uint32_t {
    LB_FORMAT_UNKNOWN = 0,
    LB_FORMAT_BMP = 1,
    LB_FORMAT_GIF = 2,
    LB_FORMAT_JPG = 3,
    LB_FORMAT_PNG = 4,
    LB_FORMAT_RAW = 5,
};

// A palette entry / 24-bit colour: blue, green, red, reserved (alpha when the
// alpha palette is enabled).
struct LbRgbQuad {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;
    friend bool operator==(const LbRgbQuad&, const LbRgbQuad&) = default;
};

// A colour-table entry as files such as GIF store it: red, green, blue.
struct LbRgbTriple {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

// Packed RGB value: 0x00BBGGRR (red in the low byte).
constexpr uint32_t LbRGB(uint8_t r, uint8_t g, uint8_t b) {
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}
constexpr uint8_t LbGetR(uint32_t rgb) { return uint8_t(rgb); }
constexpr uint8_t LbGetG(uint32_t rgb) { return uint8_t(rgb >> 8); }
constexpr uint8_t LbGetB(uint32_t rgb) { return uint8_t(rgb >> 16); }
constexpr LbRgbQuad LbQuadFromRGB(uint32_t rgb) { return LbRgbQuad{LbGetB(rgb), LbGetG(rgb), LbGetR(rgb), 0}; }
constexpr uint32_t LbRGBFromQuad(LbRgbQuad q) { return LbRGB(q.red, q.green, q.blue); }

// A file's resolution in pixels per metre as dots per inch, rounded.
int32_t LbPelsPerMeterToDpi(int64_t pels);

struct LbRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The standard 40-byte bitmap info header, kept equal to the copy at the start of
// the pixel block (little-endian on the hosts we build for).
#pragma pack(push, 1)
struct LbBitmapInfoHeader {
    uint32_t size = 40;
    int32_t width = 0;
    int32_t height = 0;           // always positive in memory; rows bottom-up
    uint16_t planes = 1;
    uint16_t bitCount = 0;        // 1, 4, 8 or 24
    uint32_t compression = 0;
    uint32_t sizeImage = 0;       // row stride * height
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;         // 2, 16, 256 for 1, 4, 8 bits; 0 for 24
    uint32_t clrImportant = 0;    // 0, or entries the nearest-colour search looks at
};
#pragma pack(pop)
static_assert(sizeof(LbBitmapInfoHeader) == 40);

class LbImage;
class LbImageView;

// Frees a block of an image and gives its bytes back to the job that counted them.
struct LbBlockFree {
    LbCharge charge;
    void operator()(uint8_t* block) noexcept;
};
// One block of an image (the pixel block, the selection or the alpha plane).
using LbBlock = std::unique_ptr<uint8_t[], LbBlockFree>;

// Descriptive information travelling with the pixels.
struct LbImageInfo {
    uint32_t effWidth = 0;        // bytes per pixel row
    uint8_t* pImage = nullptr;    // first byte of the pixel rows inside the block
    LbImage* pParent = nullptr;   // owner when this image is a layer
    uint32_t type = 0;            // LbImageFormat
    char lastError[256] = {};
    LbError lastErrorCode = LbError::None;  // what the last error is, to branch on
    int32_t progress = 0;
    int32_t escape = 0;           // non-zero: long operations stop ("Cancelled")
    int32_t transIndex = -1;      // transparent palette index, -1 for none
    LbRgbQuad transColor{};       // transparent colour of 24-bit images
    uint8_t jpegQuality = 75;
    uint8_t jpegScale = 0;
    int32_t frame = 0;            // frame to decode from a multi-frame file
    int32_t numFrames = 0;        // frames found by the last decode
    uint32_t frameDelay = 0;
    int32_t xDpi = 96;
    int32_t yDpi = 96;
    LbRect selectionBox{};
    uint8_t alphaMax = 255;
    bool alphaPaletteEnabled = false;
    bool enabled = true;
    int32_t xOffset = 0;
    int32_t yOffset = 0;
    uint32_t codecOption = 0;     // encoder option (GIF: compression kind)
    LbRgbQuad lastColor{};        // one-entry cache of GetNearestIndex
    uint8_t lastIndex = 0;
    bool lastValid = false;
    int32_t numLayers = 0;
    uint32_t flags = 0;
    // How the decoded rows must be turned to stand upright, as the file's EXIF
    // orientation says (1 to 8); 0 when the file says nothing. LbOrientation.h applies it.
    uint8_t orientation = 0;
};

class LbImage {
public:
    // ---- construction and life ----
    explicit LbImage(uint32_t imageType = 0);
    LbImage(uint32_t width, uint32_t height, uint32_t bpp, uint32_t imageType = 0);
    LbImage(const std::string& fileName, uint32_t imageType);
    // Deep copies, as Copy with pixels, selection and alpha.
    LbImage(const LbImage& src);
    LbImage& operator=(const LbImage& src);
    // Moves, as Transfer: the source is left an empty image, still usable.
    LbImage(LbImage&& src) noexcept;
    LbImage& operator=(LbImage&& src) noexcept;
    virtual ~LbImage();

    // Destroys the content and allocates a new block; bpp is raised to 1, 4, 8 or 24.
    // Returns the pixel block, nullptr on failure (the last error says why).
    void* Create(uint32_t width, uint32_t height, uint32_t bpp, uint32_t imageType = 0);
    // Frees pixels, selection, alpha and layers.
    bool Destroy();
    // Takes the source's info and size; copies pixels / selection / alpha when asked,
    // otherwise only the palette.
    void Copy(const LbImage& src, bool copyPixels = true, bool copySelection = true, bool copyAlpha = true);
    // Takes over everything of 'from' and leaves it empty.
    bool Transfer(LbImage& from);
    // A read-only view of this image that owns nothing: how the encoders are given it.
    LbImageView Ghost() const;
    // Fills every pixel byte with the value.
    void Clear(uint8_t value = 0);

    // ---- queries and setters ----
    bool IsValid() const { return pDib != nullptr; }
    uint32_t GetWidth() const { return uint32_t(head.width); }
    uint32_t GetHeight() const { return uint32_t(head.height); }
    uint32_t GetEffWidth() const { return info.effWidth; }
    uint32_t GetBpp() const { return head.bitCount; }
    uint32_t GetNumColors() const { return head.clrUsed; }
    bool IsIndexed() const { return head.clrUsed != 0; }
    uint32_t GetType() const { return info.type; }
    const char* GetLastError() const { return info.lastError; }
    LbError GetLastErrorCode() const { return info.lastErrorCode; }
    const LbBitmapInfoHeader& GetHeader() const { return head; }
    const LbImageInfo& GetInfo() const { return info; }

    uint8_t GetJpegQuality() const { return info.jpegQuality; }
    void SetJpegQuality(uint8_t quality);
    uint8_t GetJpegScale() const { return info.jpegScale; }
    void SetJpegScale(uint8_t scale) { info.jpegScale = scale; }
    int32_t GetXDPI() const { return info.xDpi; }
    int32_t GetYDPI() const { return info.yDpi; }
    void SetXDPI(int32_t dpi);
    void SetYDPI(int32_t dpi);

    int32_t GetTransIndex() const { return info.transIndex; }
    void SetTransIndex(int32_t index) { info.transIndex = index; }
    void SetTransColor(LbRgbQuad color);
    LbRgbQuad GetTransColor() const;
    bool IsTransparent() const { return info.transIndex >= 0; }

    int32_t GetFrame() const { return info.frame; }
    void SetFrame(int32_t frame) { info.frame = frame; }
    int32_t GetNumFrames() const { return info.numFrames; }
    uint32_t GetFrameDelay() const { return info.frameDelay; }
    void SetFrameDelay(uint32_t delay) { info.frameDelay = delay; }
    void GetOffset(int32_t* x, int32_t* y) const;
    void SetOffset(int32_t x, int32_t y);

    // Progress and escape may be read and raised from another thread while a long
    // operation runs, so these four go through atomic access.
    int32_t GetEscape() const { return AtomicField(info.escape).load(std::memory_order_relaxed); }
    void SetEscape(int32_t escape) { AtomicField(info.escape).store(escape, std::memory_order_relaxed); }
    int32_t GetProgress() const { return AtomicField(info.progress).load(std::memory_order_relaxed); }
    void SetProgress(int32_t progress) { AtomicField(info.progress).store(progress, std::memory_order_relaxed); }
    bool IsEnabled() const { return info.enabled; }
    void Enable(bool enable = true) { info.enabled = enable; }
    uint32_t GetEncodeOption() const { return info.codecOption; }
    void SetEncodeOption(uint32_t option) { info.codecOption = option; }
    uint8_t GetOrientation() const { return info.orientation; }
    void SetOrientation(uint8_t orientation) { info.orientation = orientation; }
    uint32_t GetFlags() const { return info.flags; }
    void SetFlags(uint32_t flags) { info.flags = flags; }

    // First byte of pixel row 'row' (0 = bottom row); nullptr at or beyond the height.
    uint8_t* GetBits(uint32_t row = 0);
    const uint8_t* GetBits(uint32_t row = 0) const;
    // Total size of the pixel block: 40 + palette + rows; 0 without pixels.
    uint32_t GetSize() const;
    // The bytes Create counts for a block of this size (bpp raised as Create does).
    static uint64_t CreateBytes(uint32_t width, uint32_t height, uint32_t bpp);
    // Hints that the pixel rows are about to be filled whole (LbLargeBlock.h).
    void AdviseFill();
    // The whole block (header, palette, rows), nullptr for an empty image.
    const void* GetDIB() const { return pDib.get(); }
    bool IsInside(int32_t x, int32_t y) const;

    // ---- palette ----
    uint32_t GetPaletteSize() const { return head.clrUsed * 4; }
    LbRgbQuad* GetPalette() const;
    LbRgbQuad GetPaletteColor(uint8_t index) const;
    void SetPaletteColor(uint8_t index, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha = 0);
    void SetPaletteColor(uint8_t index, LbRgbQuad color);
    void SetPaletteColor(uint8_t index, uint32_t rgb);
    void SetPalette(const LbRgbQuad* palette, uint32_t numColors = 256);
    void SetPalette(const uint8_t* red, const uint8_t* green = nullptr, const uint8_t* blue = nullptr,
                    uint32_t numColors = 256);
    void SetPalette(const LbRgbTriple* rgb, uint32_t numColors = 256);
    void SetGrayPalette();
    bool IsGrayScale() const;

    // ---- pixels (x from the left, y from the bottom) ----
    uint8_t GetPixelIndex(int32_t x, int32_t y) const;
    LbRgbQuad GetPixelColor(int32_t x, int32_t y) const;
    uint8_t GetPixelGray(int32_t x, int32_t y) const;
    void SetPixelIndex(int32_t x, int32_t y, uint8_t index);
    void SetPixelColor(int32_t x, int32_t y, LbRgbQuad color);
    void SetPixelColor(int32_t x, int32_t y, uint32_t rgb) { SetPixelColor(x, y, LbQuadFromRGB(rgb)); }
    uint8_t GetNearestIndex(LbRgbQuad color);
    // The same search without the cache, for a picture that is only read.
    uint8_t FindNearestIndex(LbRgbQuad color) const;

    // ---- selection mask and alpha channel (one byte per pixel) ----
    bool SelectionCreate();
    void SelectionDelete();
    bool SelectionIsValid() const { return pSelection != nullptr; }
    uint8_t SelectionGet(int32_t x, int32_t y) const;
    void SelectionSet(int32_t x, int32_t y, uint8_t level);
    bool AlphaCreate();
    void AlphaDelete();
    bool AlphaIsValid() const { return pAlpha != nullptr; }
    uint8_t AlphaGet(int32_t x, int32_t y) const;
    void AlphaSet(int32_t x, int32_t y, uint8_t level);
    // The alpha values of pixel row 'row' (0 = bottom row, as the pixel rows), one
    // byte per pixel; nullptr without an alpha plane or at or beyond the height.
    uint8_t* AlphaRow(uint32_t row);
    const uint8_t* AlphaRow(uint32_t row) const;
    uint8_t AlphaGetMax() const { return info.alphaMax; }
    void AlphaSetMax(uint8_t max) { info.alphaMax = max; }
    bool AlphaPaletteIsEnabled() const { return info.alphaPaletteEnabled; }
    void AlphaPaletteEnable(bool enable = true) { info.alphaPaletteEnabled = enable; }
    int32_t GetNumLayers() const { return info.numLayers; }
    LbImage* GetLayer(int32_t index) const;

    // ---- transforms (false: nothing changed) ----
    // Rectangle in top-down picture coordinates, right and bottom exclusive.
    bool Crop(int32_t left, int32_t top, int32_t right, int32_t bottom, LbImage* dst = nullptr);
    // The logo drag step in one pass: the same result as Crop(left, top, right, bottom,
    // dst) followed by dst->Resample(newWidth, newHeight, 1), but reading only the
    // source pixels the resample samples.
    bool CropResample(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t newWidth, int32_t newHeight,
                      LbImage* dst);
    // mode 1 nearest pixel, 2 bicubic B-spline.
    bool Resample(int32_t newWidth, int32_t newHeight, int mode = 1, LbImage* dst = nullptr);
    bool GrayScale();
    // method 0: Floyd-Steinberg to 1 bit per pixel, palette black / white.
    bool Dither(int method = 0);
    bool RotateLeft(LbImage* dst = nullptr);
    bool RotateRight(LbImage* dst = nullptr);
    bool Flip();
    bool Mirror();

    // ---- codecs: type is an LbImageFormat, 0 detects on decoding ----
    bool Load(const std::string& fileName, uint32_t imageType = 0);
    // Writes through a temporary file in the same folder, renamed into place.
    bool Save(const std::string& fileName, uint32_t imageType);
    bool Decode(LbFile* hFile, uint32_t imageType);
    bool Decode(FILE* hFile, uint32_t imageType);
    bool Decode(const uint8_t* buffer, size_t size, uint32_t imageType);
    bool Encode(LbFile* hFile, uint32_t imageType);
    bool Encode(FILE* hFile, uint32_t imageType);
    // Several images in one file: GIF only; other formats refuse.
    bool Encode(LbFile* hFile, LbImage** images, int32_t count, uint32_t imageType);

    static const char* GetVersion() { return LBIMAGE_VERSION; }
    // The memory limit of the default budget (LbBudget.h): the largest block Create
    // accepts outside a job. Fuzzing and tests may lower it.
    static void SetMaxImageSize(uint64_t bytes);
    static uint64_t GetMaxImageSize();

    // Sets the last-error text (at most 255 bytes kept), of code Other (None for "").
    void SetLastError(const char* text);
    // Sets a refusal by its code: the text given, else the code's fixed text.
    void SetLastError(LbError code, const char* text = nullptr);
    // Takes another image's last error, code and text, as this image's.
    void KeepLastError(const LbImage& from);
    // A field another thread may read or write while an operation runs (the escape
    // flag, the progress), as an atomic.
    static std::atomic_ref<int32_t> AtomicField(const int32_t& field) {
        return std::atomic_ref<int32_t>(const_cast<int32_t&>(field));
    }

protected:
    // Copies the info of another image (not its pixel pointer or parent link).
    void CopyInfo(const LbImage& src);
    // The check every encoder starts with: a stream and an image with pixels.
    bool EncodeSafeCheck(LbFile* hFile, const LbImage& image);
    // Empties the image and sets its initial info.
    void Startup(uint32_t imageType);
    void FreeContent();
    // Takes the header and blocks of 'from' (freeing this image's own), leaving it
    // without pixels; the info of both stays where it is.
    void TakeBlocks(LbImage& from);
    // A selection or alpha plane counted against the job's memory; empty (with the
    // last error set) when it does not fit.
    LbBlock NewPlane(size_t area);
    LbBlock NewPlane(uint8_t value);

    // Makes result an image with this image's information and palette at the given
    // size and depth (a transform's result); on failure copies its error here.
    bool CreateResult(LbImage& result, uint32_t width, uint32_t height, uint32_t bpp);

    // Codec entries of the dispatcher, one per format code (LbImageCodecs.cpp).
    bool DecodeFormat(LbFile* hFile, uint32_t imageType);
    bool EncodeFormat(LbFile* hFile, uint32_t imageType);
    // Moves a codec's decoded picture into this image, or copies its last error.
    bool AdoptDecoded(LbImage& codec, bool decoded);
    // Copies an encoder's last error into this image when it failed.
    bool KeepEncodeResult(const LbImage& codec, bool encoded);

    LbBlock pDib;                  // header, palette, rows
    LbBitmapInfoHeader head{};
    LbImageInfo info{};
    LbBlock pSelection;
    LbBlock pAlpha;
    std::vector<std::unique_ptr<LbImage>> pLayers;

private:
    friend class LbImageView;
    // Stops a debug build when the blocks go while a view still looks at them.
    void ExpectNoViews() const;
    mutable std::atomic<uint32_t> m_views{0};  // LbImageViews of this image alive now
};

// A read-only view of an image that owns nothing, so it can never free what it
// shows. The image counts its views: a debug build stops at the moment the image
// goes, or drops or replaces its blocks, while a view of it is alive, instead of
// letting the view read freed memory later.
class LbImageView {
public:
    LbImageView(const LbImage& image) noexcept : m_image(&image) { Attach(); }
    LbImageView(const LbImageView& other) noexcept : m_image(other.m_image) { Attach(); }
    LbImageView& operator=(const LbImageView& other) noexcept {
        other.Attach();
        Detach();
        m_image = other.m_image;
        return *this;
    }
    ~LbImageView() { Detach(); }

    const LbImage& operator*() const noexcept { return *m_image; }
    const LbImage* operator->() const noexcept { return m_image; }

private:
    void Attach() const noexcept { m_image->m_views.fetch_add(1, std::memory_order_relaxed); }
    void Detach() const noexcept { m_image->m_views.fetch_sub(1, std::memory_order_relaxed); }
    const LbImage* m_image;
};

inline LbImageView LbImage::Ghost() const { return LbImageView(*this); }
