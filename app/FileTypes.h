#pragma once
// The file kinds the program opens and saves, and the file dialog built from them.
#include <optional>
#include <string>

#include "platform/Services.h"

struct FileTypeRow {
    int key;
    bool offeredOnOpen;
    bool offeredOnSave;
    const char* description;
    const char* pattern;
};

// The eight rows in program order.
extern const FileTypeRow kFileTypes[8];

// Description of the first of rows 0 to 6 with this key, or "" when none has it.
std::string FileTypeDescription(int key);

// The kind of a memo file (.mmo), beside the image format codes 1 to 5.
inline constexpr int kMemoFileType = 6;

// Image format code and page mode of a path, from the text after its last ".".
struct FileKind {
    int type = 0;  // the image format (LbFormats.h) of a picture, kMemoFileType, 0 anything else
    int page = 0;  // 1 for the picture types, 0 otherwise
};
std::string FileExtension(const std::string& path);  // lower case, "" when the name has no "."
FileKind ClassifyFile(const std::string& path);
// True for the names whose file the document reads: pictures, memo files and song
// files (.kok). Any other name "opens" as an empty memo path.
bool DocumentReadsFile(const std::string& path);

// The file dialog for a page mode; nothing for page modes other than memo and logo.
std::optional<platform::FileDialogRequest> FileDialogFor(int pageMode, bool open, const std::string& name);
