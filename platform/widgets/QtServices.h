#pragma once
// The Qt implementations of the services the core asks for: message boxes, file
// dialogs, clipboard, wait cursor, About box and the status line.
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

#include "platform/Services.h"

class QFileDialog;
class QWidget;
class QStatusBar;

namespace platform {

// "JPG files(*.jpg;*.jpeg)" + "*.jpg;*.jpeg" as the Qt name filter "JPG files(*.jpg *.jpeg)".
QString QtNameFilter(const FileFilter& filter);
QStringList QtNameFilters(const std::vector<FileFilter>& filters);
// Sizes a file dialog (Qt's own, not the desktop's) so its columns are not cut.
void FitFileDialog(QFileDialog& dialog);

class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    Answer Show(const std::string& text, Buttons buttons) override;
    void ShowAbout() override;

private:
    QPointer<QWidget> parent_;
};

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    std::optional<std::string> Run(const FileDialogRequest& request) override;

    // Folder memory by kind of file (the request's default extension): where a dialog
    // whose name has no folder starts, and what is learnt from the file chosen.
    std::function<QString(const QString& kind)> lastFolder;
    std::function<void(const QString& kind, const QString& chosen)> fileChosen;

private:
    QPointer<QWidget> parent_;
};

class QtClipboard : public Clipboard {
public:
    std::string Text() override;
    void SetText(const std::string& text) override;
};

class QtBusyCursor : public BusyCursor {
public:
    void Begin() override;
    void End() override;
};

class QtStatusLine : public StatusLine {
public:
    void SetStatusBar(QStatusBar* bar) { bar_ = bar; }
    void Show(const std::string& text) override;

private:
    QPointer<QStatusBar> bar_;
};

// The whole Qt set, installed for its lifetime.
struct QtServices {
    QtPrompts prompts;
    QtFileDialogs dialogs;
    QtClipboard clipboard;
    QtBusyCursor busy;
    QtStatusLine status;
    ScopedServices scope{Services{&prompts, &dialogs, &clipboard, &busy, &status}};
    void SetParent(QWidget* parent) {
        prompts.SetParent(parent);
        dialogs.SetParent(parent);
    }
};

}  // namespace platform
