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
    OnCommand(cmd::FileSave, [this] { OnFileSave(false); });
    OnCommand(cmd::FileSaveAs, [this] { OnFileSave(true); });
    for (int id : {cmd::FileSave, cmd::FileSaveAs}) {
        OnUpdateCommand(id, [this](platform::CmdUI& ui) {
            if (app_.m_nPage == page::Logo)
                ui.Enable(m_pSourceImage != nullptr);
            else
                ui.Enable(app_.m_nPage == page::Memo && m_bMemoSaveEnabled);
        });
    }
    RegisterPictureCommands();
    RegisterHistoryCommands();
    for (DataKind kind : kAllDataKinds) MarkSaved(kind);
}

CLyraDoc::~CLyraDoc() { DeleteImages(); }

bool CLyraDoc::OnNewDocument() {
    app_.m_nPage = page::Memo;
    if (!Document::OnNewDocument()) return false;
    memo_.Clear();
    m_bMemoFindEnabled = 0;
    MarkSaved(DataKind::Memo);  // an empty list holds nothing to lose
    HistoryOf(DataKind::Memo).Clear();  // a new list: the old one's steps do not apply
    return true;
}

bool CLyraDoc::OnOpenDocument(const std::string& path) {
    if (FileExtension(path).empty()) return false;
    if (FileExtension(path) == "kok") return OpenSongs(path);
    FileKind kind = ClassifyFile(path);
    // The page mode follows the file only once it has been opened: a refused file
    // leaves the dialogs as they were.
    if (kind.page == page::Logo || kind.type == kMemoFileType) {
        if (!(kind.page == page::Logo ? OpenPicture(path, kind.type) : OpenMemo(path))) return false;
        ShowPageOf(kind.page);
        FileTaken(path);
        return true;
    }
    app_.m_nPage = kind.page;
    m_strMemoPath = path;
    return true;
}

bool CLyraDoc::OpenMemo(const std::string& path) {
    MemoTable table{};
    int entries = 0;
    // Read in full before anything is replaced, so a file that cannot be read, or a
    // Cancel, leaves the list as it was.
    std::string why;
    auto read = [&] {
        if (ReadMemoFile(path, table, entries, &why)) return true;
        platform::services().prompts->Show(std::string(kFileReadFail) + ": " + why, platform::Buttons::Ok);
        return false;
    };
    if (!read()) return false;
    const bool asked = HasUnsavedChanges(DataKind::Memo);
    if (!AskToSaveChanges({DataKind::Memo})) return false;
    // A Yes may just have written this very file (it was the memo's own): take what it
    // holds now, not what it held before.
    if (asked && !read()) return false;
    app_.m_nPage = page::Memo;
    memo_.Replace(table, entries);
    m_bMemoFindEnabled = 1;
    MarkSaved(DataKind::Memo);
    // The list read is a new start: undo goes no further back than the file.
    HistoryOf(DataKind::Memo).Clear();
    m_strMemoPath = path;
    UpdateAllViews(nullptr, hint::MemoRead);
    return true;
}

bool CLyraDoc::OnSaveDocument(const std::string& path) {
    if (FileExtension(path).empty()) return false;
    FileKind kind = ClassifyFile(path);
    app_.m_nPage = kind.page;
    if (kind.page == page::Logo) {
        if (SaveLogo(path, kind.type)) {
            m_strLogoSavedPath = path;
            FileTaken(path);
        }
        return true;
    }
    if (kind.type == kMemoFileType) {
        // A memo file that could not be written keeps its unsaved changes, so closing still asks.
        if (!WriteMemo(path)) {
            platform::services().prompts->Show(kFileCreateFail, platform::Buttons::Ok);
            return false;
        }
    }
    return true;
}

std::string CLyraDoc::SaveTarget(DataKind kind) const {
    switch (kind) {
    case DataKind::Memo:
        // Only a memo file: any other name the memo side recorded holds no contacts.
        return ClassifyFile(m_strMemoPath).type == kMemoFileType ? m_strMemoPath : std::string();
    case DataKind::Logo:
        return m_strLogoSavedPath;
    case DataKind::Songs:
        return m_strSongPath;
    }
    return {};
}

void CLyraDoc::FileTaken(const std::string& path) {
    app_.Host().FileOpened(path);
}

void CLyraDoc::ShowPageOf(int page) {
    app_.Host().ShowPage(page);
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

void CLyraDoc::OnFileSave(bool askForName) {
    if (app_.m_nPage != page::Memo && app_.m_nPage != page::Logo) return;
    const std::string target = SaveTarget(app_.m_nPage == page::Logo ? DataKind::Logo : DataKind::Memo);
    if (!askForName && !target.empty()) {
        OnSaveDocument(target);
        return;
    }
    std::string name = target.empty() ? ProposedSaveName() : target;
    if (!app_.DoPromptFileName(name, false) || !MayReplaceWith(name, ContentKindForName(name))) return;
    OnSaveDocument(name);
}

bool CLyraDoc::WriteMemo(const std::string& path) {
    if (!WriteMemoFile(path, memo_.table, memo_.last)) return false;
    m_strMemoPath = path;
    MarkSaved(DataKind::Memo);
    FileTaken(path);
    return true;
}

bool CLyraDoc::SaveMemoWithDialog() {
    // The memo's own file is written again without asking, as Save does.
    if (!SaveTarget(DataKind::Memo).empty()) {
        if (WriteMemo(m_strMemoPath)) return true;
        platform::services().prompts->Show(kFileCreateFail, platform::Buttons::Ok);
        return false;
    }
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
