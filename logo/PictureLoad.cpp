#include "logo/PictureLoad.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "image/LbFile.h"
#include "image/LbFormats.h"
#include "image/LbOrientation.h"
#include "platform/AtomicFile.h"

namespace logo {
namespace {

constexpr const char* kNotAPictureText = "it is not a picture this program reads (BMP, JPEG, PNG or GIF)";

// A file stream that reads in slices, so that a decoder asking for the whole pixel
// area at once still reports progress and stops soon after the escape flag is raised:
// the reads then come back short and the decoder fails.
class MonitoredFile : public LbIOFile {
public:
    MonitoredFile(std::FILE* file, LbImage* monitor) : LbIOFile(file), monitor_(monitor) {}

    size_t Read(void* buffer, size_t size, size_t count) override {
        if (monitor_ == nullptr || size == 0) return LbIOFile::Read(buffer, size, count);
        constexpr size_t kSlice = size_t(1) << 20;
        auto* out = static_cast<uint8_t*>(buffer);
        const size_t wanted = size * count;
        size_t got = 0;
        while (got < wanted) {
            if (monitor_->GetEscape() != 0) {
                cancelled_ = true;
                break;
            }
            const size_t n = LbIOFile::Read(out + got, 1, std::min(kSlice, wanted - got));
            got += n;
            Report();
            if (n == 0) break;
        }
        if (got % size != 0) Seek(-int64_t(got % size), 1);  // only whole items count as read
        return got / size;
    }
    long GetC() override {
        if (monitor_ != nullptr && monitor_->GetEscape() != 0) {
            cancelled_ = true;
            return -1;
        }
        return LbIOFile::GetC();
    }
    bool Cancelled() const { return cancelled_; }
    void Start() {
        size_ = Size();
        Report();
    }

private:
    void Report() {
        if (monitor_ != nullptr && size_ > 0) monitor_->SetProgress(int32_t(std::min<int64_t>(100, 100 * Tell() / size_)));
    }

    LbImage* monitor_;
    int64_t size_ = 0;
    bool cancelled_ = false;
};

}  // namespace

bool PromoteToTrueColor(LbImage& picture) {
    if (!picture.IsValid() || picture.GetBpp() >= 24) return true;
    LbImage rgb(picture.GetType());
    if (rgb.Create(picture.GetWidth(), picture.GetHeight(), 24, picture.GetType()) == nullptr) {
        picture.KeepLastError(rgb);
        return false;
    }
    rgb.SetXDPI(picture.GetXDPI());
    rgb.SetYDPI(picture.GetYDPI());
    const int32_t w = int32_t(picture.GetWidth()), h = int32_t(picture.GetHeight());
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* out = rgb.GetBits(uint32_t(y));
        for (int32_t x = 0; x < w; ++x, out += 3) {
            const LbRgbQuad c = picture.GetPaletteColor(picture.GetPixelIndex(x, y));
            out[0] = c.blue;
            out[1] = c.green;
            out[2] = c.red;
        }
    }
    return picture.Transfer(rgb);
}

std::FILE* OpenPicture(const std::string& path, OpenRefusal& refusal) {
    // A FIFO or device would block the window or never end: the open does not wait and
    // anything but a regular file is refused.
    if (std::FILE* f = platform::OpenRegularFile(path)) return f;
    // Only a refused open looks again, to say why.
    std::error_code ec;
    const std::filesystem::file_status st = std::filesystem::status(path, ec);
    if (std::filesystem::is_directory(st))
        refusal = OpenRefusal::Folder;
    else if (!std::filesystem::exists(st))
        refusal = OpenRefusal::Missing;
    else if (!std::filesystem::is_regular_file(st))
        refusal = OpenRefusal::NotAFile;
    else
        refusal = OpenRefusal::Unreadable;
    return nullptr;
}

bool LoadPicture(const std::string& path, int type, LbImage& picture, std::string& error, LbImage* monitor,
                 bool promote, const PictureView& view, bool* turned) {
    OpenRefusal refusal{};
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(OpenPicture(path, refusal), std::fclose);
    if (!f) {
        error = refusal == OpenRefusal::Folder     ? "it is a folder"
                : refusal == OpenRefusal::NotAFile ? "it is not a file"
                                                   : "the file cannot be read";
        return false;
    }
    return LoadPicture(f.get(), type, picture, error, monitor, promote, view, turned);
}

bool LoadPicture(std::FILE* f, int type, LbImage& picture, std::string& error, LbImage* monitor, bool promote,
                 const PictureView& view, bool* turned) {
    MonitoredFile file(f, monitor);
    file.Seek(0, 0);
    file.Start();
    // The decoder of the extension first; then, by content, every other picture format
    // (LbFormats.h).
    const uint32_t typed = LbFormatOf(uint32_t(std::max(type, 0))) != nullptr ? uint32_t(type) : 0;
    LbImage decoded(typed);
    if (!LbDecodeByContent(&file, typed, decoded, [&file] { return file.Cancelled(); })) {
        switch (decoded.GetLastErrorCode()) {
        case LbError::Cancelled: error = kCancelledText; break;
        case LbError::OverLimit: error = decoded.GetLastError(); break;
        case LbError::UnknownDecodeFormat: error = kNotAPictureText; break;
        default: error = std::string("it is not a picture this program reads (") + decoded.GetLastError() + ")"; break;
        }
        return false;
    }
    if (turned != nullptr) *turned = view.orientation && LbOrientationTurns(decoded.GetOrientation());
    if (view.orientation && !LbApplyOrientation(decoded)) {
        error = decoded.GetLastError();
        return false;
    }
    // Composing makes the picture 24-bit as promoting does, with the same colours
    // where it is opaque.
    const bool compose = view.compose && LbHasTransparency(decoded);
    if ((compose && !LbComposeOver(decoded, view.background)) || (promote && !PromoteToTrueColor(decoded))) {
        error = decoded.GetLastError();
        return false;
    }
    if (monitor != nullptr) monitor->SetProgress(100);
    return picture.Transfer(decoded);
}

std::string CannotOpenText(const std::string& path, const std::string& reason) {
    return "\"" + std::filesystem::path(path).filename().string() + "\" cannot be opened: " + reason + ".";
}

}  // namespace logo
