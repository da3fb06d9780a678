#pragma once
// What the application asks of the window that shows it. The main window implements it
// and registers itself with CLyraApp::SetHost while it lives; without one (the core's
// tests, the command line) the application closes nothing, shows no page, has no song
// page, records no recent file and imports no contacts.
#include <string>

class AppHost {
public:
    virtual ~AppHost() = default;

    // Runs the window's close sequence (Exit).
    virtual void CloseMainWindow() {}
    // Brings the page of an index to the front.
    virtual void ShowPage(int /*page*/) {}
    // The window carries the song page, so song files can be opened.
    virtual bool HasSongPage() const { return false; }
    // Told of every file the document opened or wrote (recent files).
    virtual void FileOpened(const std::string& /*path*/) {}
    // A contact file (.vcf, .csv) given to the document-opening path is imported into
    // the memo list through the import dialog, never opened as the memo file (which a
    // Save would then overwrite with memo bytes). True when imported.
    virtual bool ImportContacts(const std::string& /*path*/) { return false; }
};
