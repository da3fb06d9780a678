#pragma once
// The refusals of the image library as codes. Callers that must tell one refusal from
// another (a cancel, a resource limit, a save that landed but was not synced) branch
// on the code; the text beside it is for people. LbErrorText gives the fixed text of
// a code; the codes whose text carries figures or a library's own words (a limit, a
// damaged stream) get theirs where the refusal is made.
#include <cstdint>

enum class LbError : uint8_t {
    None,                 // no refusal
    Other,                // a refusal with a text of its own and nothing to tell it by
    NullFile,             // "null file handler"
    UnknownDecodeFormat,  // "Decode: Unknown or wrong format"
    UnknownEncodeFormat,  // "Encode: Unknown format"
    Cancelled,            // "Cancelled": the escape flag stopped the work
    OverLimit,            // a resource limit of the job; the text names the limit
    NotAFile,             // a folder, device or FIFO given as a picture file
    WriteError,           // "Write Error"
    FlushError,           // "Flush Error"
    SavedNotSynced,       // the file is in place, its folder not synced to the disk
    NotBmp,               // "Not a BMP"
    BmpInfo,              // "Error reading BMP info"
    BmpData,              // "Error reading BMP data"
    BmpIndexedCompression,  // "compression type not supported" (1, 4, 8 and 16 bits)
    BmpTrueCompression,     // "unknown compression" (24 and 32 bits)
    GifNoFrame,           // "GIF: the file holds no frame"
};

// The fixed text of a code; "" for None and for the codes whose text is made with the
// refusal (Other, OverLimit, NotAFile, SavedNotSynced).
const char* LbErrorText(LbError code);
