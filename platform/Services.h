#pragma once
// What the program asks of the person: message boxes, file dialogs, the clipboard,
// the wait cursor, the About box. The window installs Qt implementations; tests and
// the command line install the scripted ones below, which answer as told and record
// everything that was shown. All texts here are UTF-8.
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

enum class Buttons { Ok, YesNoCancel, YesNo };
enum class Answer { Ok, Yes, No, Cancel };

class Prompts {
public:
    virtual ~Prompts() = default;
    virtual Answer Show(const std::string& text, Buttons buttons) = 0;
    virtual void ShowAbout() = 0;
};

struct FileFilter {
    std::string description;  // "Memo files(*.mmo)"
    std::string pattern;      // "*.mmo" or "*.jpg;*.jpeg"
    bool operator==(const FileFilter&) const = default;
};

struct FileDialogRequest {
    bool open = true;
    std::string title;
    std::vector<FileFilter> filters;
    int selectedFilter = 0;       // index into filters
    std::string defaultExtension; // without the dot, added when the name has none
    std::string initialName;      // file name field and starting folder
    bool overwritePrompt = false;
    bool fileMustExist = false;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or nothing when the person cancelled.
    virtual std::optional<std::string> Run(const FileDialogRequest& request) = 0;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::string Text() = 0;
    virtual void SetText(const std::string& text) = 0;
};

class BusyCursor {
public:
    virtual ~BusyCursor() = default;
    virtual void Begin() = 0;
    virtual void End() = 0;
};

// Shows a status-line text (such as why a typed character was refused).
class StatusLine {
public:
    virtual ~StatusLine() = default;
    virtual void Show(const std::string& text) = 0;
};

struct Services {
    Prompts* prompts;
    FileDialogs* dialogs;
    Clipboard* clipboard;
    BusyCursor* busy;
    StatusLine* status;
};

// The services in force. Until something is installed they are the scripted ones,
// which answer Cancel/OK, cancel every dialog and hold an empty clipboard.
Services& services();

// Installs a set of services for the lifetime of this object, then restores the old one.
class ScopedServices {
public:
    explicit ScopedServices(Services s);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services saved_;
};

// Holds the wait cursor while in scope.
class WaitCursor {
public:
    WaitCursor() { services().busy->Begin(); }
    ~WaitCursor() { services().busy->End(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// ---- Scripted stand-ins -------------------------------------------------------

class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        std::string text;
        Buttons buttons;
    };
    // Answers given in order; when none is queued, OK boxes answer Ok,
    // Yes/No/Cancel boxes answer Cancel and Yes/No boxes No.
    std::deque<Answer> answers;
    std::vector<Shown> shown;
    int aboutShown = 0;

    Answer Show(const std::string& text, Buttons buttons) override;
    void ShowAbout() override { ++aboutShown; }
    std::vector<std::string> Texts() const;
};

class ScriptedFileDialogs : public FileDialogs {
public:
    // Each Run takes the next answer; nothing queued means cancel.
    std::deque<std::optional<std::string>> answers;
    std::vector<FileDialogRequest> requests;
    std::optional<std::string> Run(const FileDialogRequest& request) override;
};

class FakeClipboard : public Clipboard {
public:
    std::string text;
    std::string Text() override { return text; }
    void SetText(const std::string& t) override { text = t; }
};

class CountingBusyCursor : public BusyCursor {
public:
    int depth = 0;
    int begun = 0;
    void Begin() override { ++depth, ++begun; }
    void End() override { --depth; }
};

class RecordingStatusLine : public StatusLine {
public:
    std::vector<std::string> texts;
    void Show(const std::string& text) override { texts.push_back(text); }
};

// One scripted set, installed for its lifetime: the usual fixture of a test.
struct ScriptedServices {
    ScriptedPrompts prompts;
    ScriptedFileDialogs dialogs;
    FakeClipboard clipboard;
    CountingBusyCursor busy;
    RecordingStatusLine status;
    ScopedServices scope{Services{&prompts, &dialogs, &clipboard, &busy, &status}};
};

}  // namespace platform
