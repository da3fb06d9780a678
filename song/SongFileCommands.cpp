#include "song/SongFileCommands.h"

#include "app/FileContentKind.h"
#include "platform/Services.h"
#include "song/SongFile.h"

namespace {

platform::FileDialogRequest SongDialog(bool open) {
    platform::FileDialogRequest r;
    r.open = open;
    r.filters = {{"Song Files(*.kok)", "*.kok"}};
    r.defaultExtension = "kok";
    if (!open) {
        r.title = "노래파일 저장";
        r.initialName = "song.kok";
        r.overwritePrompt = true;
    }
    return r;
}

}  // namespace

bool WriteSongFile(const SongTables& tables, const SongCounts& counts) {
    std::optional<std::string> path = platform::services().dialogs->Run(SongDialog(false));
    if (!path || !MayReplaceWith(*path, ContentKind::SongFile)) return false;
    // Written through a temporary file, so a full disk or any short write is reported
    // and never leaves a cut-off song file in place.
    if (!WriteSongFileTo(*path, tables, counts)) {
        platform::services().prompts->Show("File Create Fail", platform::Buttons::Ok);
        return false;
    }
    return true;
}

std::optional<std::string> AskSongFileToOpen() { return platform::services().dialogs->Run(SongDialog(true)); }
