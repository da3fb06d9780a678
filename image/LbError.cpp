#include "image/LbError.h"

const char* LbErrorText(LbError code) {
    switch (code) {
    case LbError::NullFile: return "null file handler";
    case LbError::UnknownDecodeFormat: return "Decode: Unknown or wrong format";
    case LbError::UnknownEncodeFormat: return "Encode: Unknown format";
    case LbError::Cancelled: return "Cancelled";
    case LbError::WriteError: return "Write Error";
    case LbError::FlushError: return "Flush Error";
    case LbError::NotBmp: return "Not a BMP";
    case LbError::BmpInfo: return "Error reading BMP info";
    case LbError::BmpData: return "Error reading BMP data";
    case LbError::BmpIndexedCompression: return "compression type not supported";
    case LbError::BmpTrueCompression: return "unknown compression";
    case LbError::GifNoFrame: return "GIF: the file holds no frame";
    case LbError::None:
    case LbError::Other:
    case LbError::OverLimit:
    case LbError::NotAFile:
    case LbError::SavedNotSynced: break;
    }
    return "";
}
