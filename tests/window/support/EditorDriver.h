#pragma once
// The window tests' one driver: the editor as a person meets it, the real main window
// with its real pages, started the way the program starts (optionally with a file),
// driven by clicks, keys and dropped files, with every message box and file dialog
// answered from a script. It reads back
// what the person would check: the questions asked, the memo list, the preview, the
// logo page's box and scroll range, and the bytes of saved files.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMenuBar>
#include <QString>
#include <QStringList>
#include <QTest>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "app/tabs/widgets/TTabWnd.h"
#include "app/widgets/CMainFrame.h"
#include "app/widgets/CommandActions.h"
#include "memo/MemoTable.h"
#include "platform/Services.h"
#include "ui/widgets/FlatMenus.h"
#include "window/support/FrameSteps.h"

class CLogoView;
class CMemoView;
class CSongTitle;

class EditorDriver {
public:
    struct Options {
        bool songPage = false;  // started with --song-page
        std::string file;       // named on the command line
    };
    EditorDriver() : EditorDriver(Options{}) {}
    explicit EditorDriver(const Options& options);
    ~EditorDriver();

    platform::ScriptedServices services;
    CLyraApp app;
    std::unique_ptr<CMainFrame> frame;
    bool started = false;  // false when the command line's file ended the start

    CLyraDoc& doc() { return app.Document(); }
    CMemoView& memo() const;
    CLogoView& logo() const;
    CSongTitle* song() const;  // nullptr without the song page

    // A contact or a song that no file holds yet: unsaved changes of that kind.
    void AddUnsavedContact() {
        MemoBook list = doc().MemoList();
        SetMemoField(list.table[0], MemoField::Name, "unsaved");
        doc().SetMemoList(list, "Input contact");
    }
    void AddUnsavedSong() { doc().AddSong(0, SongFields{"unsaved", "", "1"}); }

    // ---- scripted answers ----
    void Answer(platform::Answer a) { services.prompts.answers.push_back(a); }
    void ChooseFile(const std::string& path) { services.dialogs.answers.push_back(path); }
    void CancelDialog() { services.dialogs.answers.push_back(std::nullopt); }
    // Texts of the message boxes shown since the last call.
    std::vector<std::string> TakeShown();
    // Answers still queued (a test asserts none was left unused).
    size_t PendingAnswers() const { return services.prompts.answers.size() + services.dialogs.answers.size(); }

    // ---- what the person does ----
    void ClickTab(int index);
    // A key (with modifiers) to the widget that has the focus, as the keyboard sends it.
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Ctrl(int key) { Key(key, Qt::ControlModifier); }
    // Text typed into the widget that has the focus, one key or input-method string per
    // character.
    void Type(const QString& text);
    // Selects all the focused box holds, deletes it and types text.
    void ReplaceText(const QString& text);
    // Name, Tab, Tel., Tab, E-Mail (when given), Enter: how a contact is typed in.
    void TypeContact(const QString& name, const QString& tel, const QString& email = {});
    void ClickMemoRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void ClickInput();
    // A click on the toolbar button of a command, on the toolbar of the page shown.
    bool ClickToolButton(int command);
    // Opens the first menu of the menu bar (File) and closes it again.
    void OpenFileMenu();
    void Drop(const QStringList& paths);
    // The window's close box; true when the window closed.
    bool Close();

    // ---- what the person sees ----
    int PageShown() const;  // index of the active tab
    QStringList MemoRow(int row) const;  // Name, Tel., E-Mail as the list shows them
    // The memo rows the list shows that hold text, in order.
    std::vector<QStringList> ShownContacts() const;
    int TopMemoRow() const;  // the first row visible in the list
    QImage Preview() const;  // the 96 x 96 preview control's contents
    bool PreviewShowsLogo() const;  // the preview equals the working logo
    bool HasSelectionBox() const;
    QSize LogoScrollRange() const;
    bool Enabled(int command);
    QStringList MenuTitles() const;  // the menu bar's titles, left to right

    static std::string ReadFile(const std::string& path);
    // Writes a picture file through Qt's own writers: format "bmp" (24 bits, or 8 with
    // indexed), "jpg", "png" or "gif"; pixel (x, y) is colour(x, y).
    static void WritePicture(const std::string& path, const char* format, int w, int h, bool indexed = false);
    static QRgb PictureColour(int x, int y) { return qRgb((x * 5) & 255, (y * 3) & 255, ((x ^ y) * 7) & 255); }
    // The pixels of a saved device logo (16-bit, 96 x 96), widened to 8 bits a channel.
    static QImage ReadDeviceLogo(const std::string& path);
    // Two images agree in the 5 bits a channel the device keeps.
    static bool SameAtFiveBits(const QImage& a, const QImage& b, QRect area);
    static std::string Scratch(const std::string& name);  // a fresh path under the test folder

private:
    size_t shownTaken_ = 0;
};

// Where a window test leaves a picture of the window for a person to look at.
inline QString ScreenshotPath(const QString& name) {
    QDir().mkpath(LYRA_SCREENSHOTS);
    return QString(LYRA_SCREENSHOTS) + "/" + name + ".png";
}
