#include "app/LyraApp.h"

#include "app/FileTypes.h"
#include "app/LyraDoc.h"
#include "platform/Services.h"

CLyraApp::CLyraApp() : doc_(std::make_unique<CLyraDoc>(*this)) {
    OnCommand(cmd::FileNew, [this] { OnFileNew(); });
    OnCommand(cmd::FileOpen, [this] { OnFileOpen(); });
    OnCommand(cmd::AppAbout, [this] { OnAppAbout(); });
    // Reached only when no view is active: the document handles Save first.
    OnCommand(cmd::FileSave, [] {});
    OnCommand(cmd::AppExit, [this] {
        Host().CloseMainWindow();
    });
}

CLyraApp::~CLyraApp() = default;

bool CLyraApp::DoPromptFileName(std::string& name, bool open, bool fileMustExist) {
    std::optional<platform::FileDialogRequest> request = FileDialogFor(m_nPage, open, name);
    if (!request) return false;
    request->fileMustExist = fileMustExist;
    std::optional<std::string> chosen = platform::services().dialogs->Run(*request);
    if (!chosen) return false;
    name = *chosen;
    return true;
}

bool CLyraApp::ProcessShellCommand(const std::string& path) {
    if (path.empty()) {
        OnFileNew();
        return true;
    }
    return OpenDocumentFile(path);
}

void CLyraApp::InitialUpdateViews() {
    std::vector<platform::View*> views = doc_->Views();
    for (platform::View* v : views) v->OnInitialUpdate();
}

void CLyraApp::OnFileNew() {
    if (!doc_->AskToSaveChanges({DataKind::Memo})) return;
    if (!doc_->OnNewDocument()) return;
    InitialUpdateViews();
}

void CLyraApp::OnFileOpen() {
    std::string name;
    if (!DoPromptFileName(name, true, true)) return;
    // A refusal has been told and changed nothing; the document records a file taken.
    doc_->OnOpenDocument(name);
}

void CLyraApp::OnAppAbout() { platform::services().prompts->ShowAbout(); }

bool CLyraApp::OpenDocumentFile(const std::string& path) {
    const std::string ext = FileExtension(path);
    if ((ext == "vcf" || ext == "csv") && host_ != nullptr) return host_->ImportContacts(path);
    // The document's Open reads the file before it replaces anything and asks first.
    if (!doc_->OnOpenDocument(path)) return false;
    doc_->SetPathName(path);
    InitialUpdateViews();
    return true;
}
