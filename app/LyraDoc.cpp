#include "app/LyraDoc.h"

#include "app/CommandIds.h"
#include "app/FileContentKind.h"
#include "app/FileTypes.h"
#include "app/LyraApp.h"
#include "memo/MemoFile.h"
#include "platform/Services.h"

namespace {
constexpr const char* kFileCreateFail = "File Create Fail";
constexpr const char* kFileReadFail = "File Read Fail";
}  // namespace

CLyraDoc::CLyraDoc(CLyraApp& app) : app_(app) {
    OnCommand(cmd::FileSave, [this] { OnFileSave(); });
    OnUpdateCommand(cmd::FileSave, [this](platform::CmdUI& ui) {
        if (app_.m_nPage == page::Logo)
            ui.Enable(m_pSourceImage != nullptr);
        else
            ui.Enable(app_.m_nPage == page::Memo && m_bMemoSaveEnabled);
    });
    RegisterPictureCommands();
    for (DataKind kind : kAllDataKinds) MarkSaved(kind);
}

CLyraDoc::~CLyraDoc() { DeleteImages(); }

bool CLyraDoc::OnNewDocument() {
    app_.m_nPage = page::Memo;
    if (!Document::OnNewDocument()) return false;
    ClearMemoTable(m_memo);
    m_nMemoLast = 0;
    m_bMemoFindEnabled = 0;
    MarkSaved(DataKind::Memo);  // an empty list holds nothing to lose
    return true;
}

bool CLyraDoc::OnOpenDocument(const std::string& path) {
    if (FileExtension(path).empty()) return false;
    if (FileExtension(path) == "kok") return OpenSongs(path);
    FileKind kind = ClassifyFile(path);
    // The page mode follows the file only once it has been opened: a refused file
    // leaves the dialogs as they were.
    if (kind.page == page::Logo) return OpenPicture(path, kind.type);
    if (kind.type == 6) return OpenMemo(path);
    app_.m_nPage = kind.page;
    m_strMemoPath = path;
    SetModifiedFlag(false);
    return true;
}

bool CLyraDoc::OpenMemo(const std::string& path) {
    MemoTable table{};
    int entries = 0;
    // Read in full before anything is replaced, so a file that cannot be read, or a
    // Cancel, leaves the list as it was.
    if (!ReadMemoFile(path, table, entries)) {
        platform::services().prompts->Show(kFileReadFail, platform::Buttons::Ok);
        return false;
    }
    if (!AskToSaveChanges({DataKind::Memo})) return false;
    app_.m_nPage = page::Memo;
    m_memo = table;
    m_nMemoLast = entries - 1;
    m_bMemoFindEnabled = 1;
    MarkSaved(DataKind::Memo);
    m_strMemoPath = path;
    SetModifiedFlag(false);
    UpdateAllViews(nullptr, hint::MemoRead);
    return true;
}

bool CLyraDoc::OnSaveDocument(const std::string& path) {
    if (FileExtension(path).empty()) return false;
    FileKind kind = ClassifyFile(path);
    app_.m_nPage = kind.page;
    if (kind.page == page::Logo) {
        SaveLogo(path, kind.type);
        return true;
    }
    if (kind.type == 6) {
        // A memo file that could not be written keeps its unsaved changes, so closing still asks.
        if (!WriteMemo(path)) {
            platform::services().prompts->Show(kFileCreateFail, platform::Buttons::Ok);
            return false;
        }
    }
    return true;
}

std::string CLyraDoc::ProposedSaveName() const {
    switch (app_.m_nPage) {
    case page::Memo: {
        size_t slash = m_strMemoPath.rfind('/');
        // Without a folder the proposal stays in the current folder, not the root.
        if (slash == std::string::npos) return "memo.mmo";
        return m_strMemoPath.substr(0, slash) + "/memo.mmo";
    }
    case page::Logo:
        return "logo.bmp";
    default:
        return "";
    }
}

void CLyraDoc::OnFileSave() {
    std::string name = ProposedSaveName();
    if (!app_.DoPromptFileName(name, false) || !MayReplaceWith(name, ContentKindForName(name))) return;
    OnSaveDocument(name);
}

bool CLyraDoc::WriteMemo(const std::string& path) {
    if (!WriteMemoFile(path, m_memo, m_nMemoLast)) return false;
    m_strMemoPath = path;
    SetModifiedFlag(false);
    MarkSaved(DataKind::Memo);
    return true;
}

bool CLyraDoc::SaveMemoWithDialog() {
    platform::FileDialogRequest r;
    r.open = false;
    r.title = "Save memo file";
    r.filters = {{"Memo Files(*.mmo)", "*.mmo"}};
    r.defaultExtension = "mmo";
    r.initialName = "memo.mmo";
    r.overwritePrompt = true;
    std::optional<std::string> chosen = platform::services().dialogs->Run(r);
    if (!chosen || !MayReplaceWith(*chosen, ContentKind::MemoFile)) return false;
    if (!WriteMemo(*chosen)) {
        platform::services().prompts->Show(kFileCreateFail, platform::Buttons::Ok);
        return false;
    }
    return true;
}
