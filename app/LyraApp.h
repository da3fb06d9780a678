#pragma once
// The application object: the page mode that the file dialogs and the document's open
// and save consult, the one document, the file dialog, and the commands New, Open and
// About. The window that shows it registers as its host (app/AppHost.h).
#include <memory>
#include <string>

#include "app/AppHost.h"
#include "app/CommandIds.h"
#include "platform/DocView.h"

class CLyraDoc;

class CLyraApp : public platform::CommandTarget {
public:
    CLyraApp();
    ~CLyraApp() override;
    CLyraApp(const CLyraApp&) = delete;
    CLyraApp& operator=(const CLyraApp&) = delete;

    // Current page mode: 0 memo, 1 logo, 2 song; -1 until the first page is shown.
    int m_nPage = page::None;

    CLyraDoc& Document() { return *doc_; }

    // Runs the file dialog for the current page mode. On OK, name becomes the chosen
    // path and the result is true; in page modes other than memo and logo nothing is
    // shown and the result is false.
    bool DoPromptFileName(std::string& name, bool open, bool fileMustExist = false);

    // Start-up with an optional file from the command line: New, or the
    // document-opening path. False when that failed and the program should end.
    bool ProcessShellCommand(const std::string& path);

    // New: after asking about unsaved contacts, the document drops its memo side, then
    // every view starts again.
    void OnFileNew();
    // Open from the menu, toolbar or Ctrl+O: the dialog, then the document's Open.
    void OnFileOpen();
    void OnAppAbout();
    // The document-opening path for a dropped file or a command-line argument. A file
    // that is refused, or a Cancel to the question about unsaved data, changes nothing.
    bool OpenDocumentFile(const std::string& path);

    // The window that shows the application, or nullptr: the main window sets itself
    // while it lives. Host() answers for a missing one with a host that does nothing.
    void SetHost(AppHost* host) { host_ = host; }
    AppHost& Host() { return host_ ? *host_ : noHost_; }

private:
    void InitialUpdateViews();
    std::unique_ptr<CLyraDoc> doc_;
    AppHost* host_ = nullptr;
    AppHost noHost_;
};
