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

bool SaveSongFileAs(const SongTables& tables, const SongCounts& counts) {
    std::string path;
    return SaveSongFile(tables, counts, path, true);
}

bool SaveSongFile(const SongTables& tables, const SongCounts& counts, std::string& path, bool askForName) {
    std::string target = path;
    if (askForName || target.empty()) {
        platform::FileDialogRequest request = SongDialog(false);
        if (!target.empty()) request.initialName = target;
        std::optional<std::string> chosen = platform::services().dialogs->Run(request);
        if (!chosen || !MayReplaceWith(*chosen, ContentKind::SongFile)) return false;
        target = *chosen;
    }
    // Written through a temporary file, so a full disk or any short write is reported
    // and never leaves a cut-off song file in place.
    if (!WriteSongFileTo(target, tables, counts)) {
        platform::services().prompts->Show("File Create Fail", platform::Buttons::Ok);
        return false;
    }
    path = target;
    return true;
}

std::optional<std::string> AskSongFileToOpen() { return platform::services().dialogs->Run(SongDialog(true)); }
