#include "app/FileTypes.h"

#include "app/CommandIds.h"
#include "image/LbFormats.h"
#include "platform/FileName.h"

const FileTypeRow kFileTypes[8] = {
    {0, true, false, "Supported files", "*.bmp;*.gif;*.jpg;*.jpeg;*.png;*.raw"},
    {1, true, true, "BMP files(*.bmp)", "*.bmp"},
    {2, true, false, "GIF files(*.gif)", "*.gif"},
    {3, true, false, "JPG files(*.jpg;*.jpeg)", "*.jpg;*.jpeg"},
    {4, true, false, "PNG files(*.png)", "*.png"},
    {5, true, true, "Logo files(*.jpg)", "*.jpg"},
    {6, true, true, "Memo files(*.mmo)", "*.mmo"},
    {0, true, false, "All files(*.*)", "*.*"},
};

std::string FileTypeDescription(int key) {
    for (int row = 0; row <= 6; ++row)
        if (kFileTypes[row].key == key) return kFileTypes[row].description;
    return "";
}

std::string FileExtension(const std::string& path) { return platform::LowerExtension(path); }

FileKind ClassifyFile(const std::string& path) {
    if (const uint32_t format = LbFormatOfName(path)) return FileKind{int(format), page::Logo};
    return FileKind{FileExtension(path) == "mmo" ? kMemoFileType : 0, page::Memo};
}

bool DocumentReadsFile(const std::string& path) { return ClassifyFile(path).type != 0 || FileExtension(path) == "kok"; }

std::optional<platform::FileDialogRequest> FileDialogFor(int pageMode, bool open, const std::string& name) {
    platform::FileDialogRequest r;
    int first = 0, last = 0;
    if (pageMode == page::Memo) {
        r.defaultExtension = "mmo";
        r.title = open ? "Open memo file" : "Save memo file";
        first = 6, last = 7;
    } else if (pageMode == page::Logo) {
        r.defaultExtension = "bmp";
        r.title = open ? "Open logo file" : "Save logo file";
        first = 1, last = 5;
    } else {
        return std::nullopt;
    }
    // Photos come in every format: the logo Open dialog starts on all of them at once,
    // with each single format after it.
    if (open && pageMode == page::Logo) r.filters.push_back({"All pictures", "*.bmp;*.gif;*.jpg;*.jpeg;*.png"});
    for (int row = first; row <= last; ++row) {
        const FileTypeRow& t = kFileTypes[row];
        if (open ? t.offeredOnOpen : t.offeredOnSave) r.filters.push_back({t.description, t.pattern});
    }
    r.open = open;
    r.selectedFilter = 0;
    r.initialName = name;
    r.overwritePrompt = true;  // part of the dialog's base flags, in both modes
    return r;
}
