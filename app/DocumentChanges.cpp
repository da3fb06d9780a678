// The document's unsaved changes: what a save of each kind would keep, and the one
// question asked before data of that kind is closed or replaced.
#include <algorithm>

#include "app/FileTypes.h"
#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "logo/PictureCheck.h"
#include "memo/MemoFile.h"
#include "platform/Services.h"
#include "song/SongFile.h"

namespace {

// The questions, in the order they are asked.
const char* Question(DataKind kind) {
    switch (kind) {
    case DataKind::Memo: return "Do you want to save Memo File ?";
    case DataKind::Songs: return "노래파일을 저장 하시겠습니까?";
    case DataKind::Logo: return "Do you want to save Logo File ?";
    }
    return "";
}

}  // namespace

std::string CLyraDoc::SavedForm(DataKind kind) const {
    switch (kind) {
    case DataKind::Memo:
        return EncodeMemoFile(memo_.table, memo_.last);
    case DataKind::Songs:
        return EncodeSongFile(m_song, m_nSongCount);
    case DataKind::Logo: {
        if (!m_pLogoImage || m_pLogoImage->GetDIB() == nullptr) return {};
        const char* dib = static_cast<const char*>(m_pLogoImage->GetDIB());
        return std::string(dib, m_pLogoImage->GetSize());
    }
    }
    return {};
}

bool CLyraDoc::HasUnsavedChanges(DataKind kind) const {
    // Without a working logo there is nothing a logo save could keep.
    if (kind == DataKind::Logo && !m_pLogoImage) return false;
    return baselines_.Differs(kind, SavedForm(kind));
}

bool CLyraDoc::AskToSaveChanges(std::initializer_list<DataKind> kinds) {
    for (DataKind kind : kAllDataKinds) {
        if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end() || !HasUnsavedChanges(kind)) continue;
        switch (platform::services().prompts->Show(Question(kind), platform::Buttons::YesNoCancel)) {
        case platform::Answer::Yes:
            // A save that was cancelled or failed keeps the data: nothing is lost
            // without the person saying No.
            if (!SaveWithDialog(kind)) return false;
            break;
        case platform::Answer::No:
            break;
        default:
            return false;
        }
    }
    return true;
}

bool CLyraDoc::SaveWithDialog(DataKind kind) {
    switch (kind) {
    case DataKind::Memo: return SaveMemoWithDialog();
    case DataKind::Songs: return SaveSongsWithDialog();
    case DataKind::Logo: return SaveLogoWithDialog();
    }
    return false;
}

bool CLyraDoc::SaveLogoWithDialog() {
    if (!m_strLogoSavedPath.empty()) {
        OnSaveDocument(m_strLogoSavedPath);
        return !HasUnsavedChanges(DataKind::Logo);
    }
    std::optional<platform::FileDialogRequest> request = FileDialogFor(page::Logo, false, "logo.bmp");
    std::optional<std::string> chosen = platform::services().dialogs->Run(*request);
    if (!chosen) return false;
    // The save goes by the name's extension: a memo name would write the contacts and
    // any other name nothing, so only a picture name saves the logo here.
    if (ClassifyFile(*chosen).page != page::Logo) {
        platform::services().prompts->Show(logo::kNotBmpText, platform::Buttons::Ok);
        return false;
    }
    OnSaveDocument(*chosen);
    return !HasUnsavedChanges(DataKind::Logo);
}
