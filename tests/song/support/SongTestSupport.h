#pragma once
// Helpers of the song tests: CP949 text from UTF-8 literals and a song page whose
// window is a few recorded fields. Scratch folders and file helpers come from the
// command-line tests' support (cli/support/CliRun.h).
#include <string>
#include <vector>

#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "platform/Services.h"
#include "song/SongPage.h"

// CP949 bytes of a UTF-8 literal.
std::string K(const std::string& utf8);

// The song page with recorded hooks in place of the window.
class FakeSongPage : public SongPage {
public:
    using SongPage::SongPage;
    SongFields typed;               // what the three fields show
    SongFocus focus = SongFocus::Other;
    std::string windowTitle;
    int findDialogs = 0;
    std::string findDialogText;
    int titleFocused = 0;

    bool ReadFields(SongFields& f) override {
        f = typed;
        return true;
    }
    void ShowFields(const SongFields& f) override { typed = f; }
    void SetMainWindowTitle(const std::string& t) override { windowTitle = t; }
    SongFocus FocusedControl() const override { return focus; }
    void FocusTitleField() override { ++titleFocused; }
    void OpenFindDialog(const std::string& last) override {
        ++findDialogs;
        findDialogText = last;
    }
    void PasteIntoFocusedField(const std::string& text) override;
};

// The usual setting: scripted services, the application with its document, a page.
struct SongPageFixture {
    platform::ScriptedServices services;
    struct : AppHost {
        bool HasSongPage() const override { return true; }
    } window;  // the song page is shown
    CLyraApp app;
    CLyraDoc& doc = app.Document();
    FakeSongPage page{doc};

    // The page is shown and hears the document, as in the window.
    SongPageFixture() {
        app.SetHost(&window);
        doc.AddView(&page);
    }

    // Types the three fields and presses Input.
    void Enter(const std::string& title, const std::string& singer, const std::string& number);
    // Adds n songs "Song i" / "Singer i" / "i" to the current brand.
    void Fill(int n);
    std::vector<std::string> ListTitles() const;
    std::vector<std::string> TableTitles(int brand) const;
};
