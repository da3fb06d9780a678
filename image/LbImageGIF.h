#pragma once
// The GIF codec: decodes one chosen frame of a GIF file as viewers show it (drawn
// on the logical screen over what the frames before it left there, GifCompose.h)
// and writes images as GIF89a files, indexed images directly and true-colour ones
// as a mosaic of small tiles with a colour table each.
#include <cstdint>

#include "image/LbImage.h"

class GifReadAhead;

// GIF compression kinds, chosen by the image's codec option (SetEncodeOption).
enum LbGifCompression : uint32_t {
    LB_GIF_RLE = 0,   // run-length coded, readable as ordinary LZW data (any other value too)
    LB_GIF_NONE = 1,  // one code per pixel
    LB_GIF_LZW = 2,
};

class LbImageGIF : public LbImage {
public:
    LbImageGIF() : LbImage(LB_FORMAT_GIF) {}

    // Decodes the frame GetFrame() (0 for the first) and sets the frame count;
    // false, with the reason in the last error, for a stream that is not a GIF, a
    // frame outside the file, a frame whose raster cannot be decoded, or a cancel.
    // A first frame that covers the screen gives an indexed picture; any other
    // gives a 24-bit picture of the screen's size, with an alpha plane where parts
    // of the screen stay transparent.
    bool Decode(LbFile* hFile);
    // The number of frames (image descriptors) from the stream's position to the
    // trailer or the end, as viewers count them and Decode counts them; -1 when the
    // stream is not a GIF or ends inside its global colour table. Rasters are skipped,
    // not decoded. The stream position is not kept. firstLocalTable, when given, gets
    // the entries of the first frame's own colour table (0 when it has none).
    static int32_t CountFrames(LbFile* hFile, uint32_t* firstLocalTable = nullptr);
    // Writes the viewed image as a GIF file (a tile mosaic above 8 bits per pixel),
    // compressed as this codec's option says.
    bool Encode(LbFile* hFile, LbImageView image);
    // Writes several indexed images as one animated file; with localColorMap the
    // images after the first carry their own colour table.
    bool Encode(LbFile* hFile, LbImage** images, int32_t count, bool localColorMap = false);

    void SetDisposalMethod(int32_t method) { m_disposal = method & 7; }
    int32_t GetDisposalMethod() const { return m_disposal; }
    void SetLoops(int32_t loops) { m_loops = loops; }
    int32_t GetLoops() const { return m_loops; }
    // Copies at most 255 bytes.
    void SetComment(const char* comment);
    const char* GetComment() const { return m_comment; }

private:
    struct Descriptor {
        uint32_t left = 0, top = 0, width = 0, height = 0;
        uint8_t flags = 0;
    };
    struct Screen {
        uint32_t width = 0, height = 0;
        uint8_t flags = 0;
        LbRgbTriple globalTable[256];
        uint32_t globalSize = 0;
    };

    // Reads the header and global colour table; false when the stream is no GIF.
    static bool ReadScreen(GifReadAhead& in, Screen& screen);
    // Counts the images from the reader's position to the trailer (or the end), or
    // up to one past stopAfter; the position is kept. firstLocalTable as CountFrames.
    static int32_t get_num_frames(GifReadAhead& in, uint32_t stopAfter, uint32_t* firstLocalTable = nullptr);
    // Reads blocks up to the next image descriptor (applying extensions when asked);
    // false at the trailer, the end, or a failing extension.
    bool NextImage(GifReadAhead& in, Descriptor& d, bool apply);
    bool DecodeExtension(GifReadAhead& in, bool apply);
    bool DecodeFrames(GifReadAhead& in, const Screen& screen);
    // Sets the last error "GIF: frame N: what".
    bool FrameError(int32_t frame, const std::string& what);
    // Takes the pixels of 'from' while keeping this image's own information.
    void TakePixels(LbImage& from);

    bool CheckEncodable(const LbImage& image);
    void EncodeHeader(LbFile* hFile, const LbImage& image);
    void EncodeExtension(LbFile* hFile, const LbImage& image);
    void EncodeComment(LbFile* hFile);
    void EncodeLoopExtension(LbFile* hFile, uint16_t loops);
    // The image's pixels compressed as `compression` (LbGifCompression) says.
    bool EncodeBody(LbFile* hFile, const LbImage& image, uint32_t compression, bool localColorMap);
    bool EncodeRGB(LbFile* hFile, const LbImage& image);
    bool FinishFile(LbFile* hFile, bool ok);

    // The last graphic control extension: packed flags, delay, transparent index.
    struct {
        uint8_t flags = 0;
        uint16_t delay = 0;
        uint8_t transIndex = 0;
    } m_gce;
    char m_comment[256] = {};
    int32_t m_loops = 0;
    int32_t m_disposal = 0;
};
