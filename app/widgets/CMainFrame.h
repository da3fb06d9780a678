#pragma once
// The program's only top-level window: menu bar, a band bar with one flat toolbar per
// page and the logo preview bar, a status bar, and the tab window with the pages. It
// swaps menu, toolbar and preview bar when a page is activated, keeps a minimum size,
// routes commands (active view, document, frame, application) and runs the close
// sequence that offers to save the contacts, the song list and the logo. It is the
// application's host: the application closes it, shows its pages and tells it of the
// files the document took through that interface. The pages never reach it: it connects
// to their signals when it makes them.
#include <QMainWindow>
#include <QUrl>
#include <functional>
#include <memory>

#include "app/AppHost.h"
#include "app/tabs/widgets/TTabFramework.h"
#include "app/tabs/widgets/TViewHost.h"
#include "app/widgets/KeyLocks.h"
#include "platform/Commands.h"
#include "platform/widgets/QtLongTask.h"
#include "ui/WindowFit.h"

class CAppSettings;
class CBandBar;
class CCommandActions;
class CFlatToolBar;
class CLogoPreview;
class CLogoPreviewBar;
class CLyraApp;
class CLyraDoc;
class QLabel;
class QMenu;

class CMainFrame : public QMainWindow, public platform::CommandTarget, public TViewHost, public AppHost {
    Q_OBJECT
public:
    static constexpr int kTabWindowNode = 1;
    static constexpr int kMemoNode = 2;
    static constexpr int kLogoNode = 3;
    static constexpr int kSongNode = 4;
    // Bands of the band bar, in the order they are added.
    enum Band { LogoToolBandIndex, MemoToolBandIndex, SongToolBandIndex, PreviewBandIndex };

    // Makes the view of a page index; CreatePageView unless told otherwise (tests).
    using PageViewFactory = std::function<PageView(int page, CLyraDoc& doc, QWidget* parent)>;

    // songPageTab adds the song page as a third tab (page index 2).
    explicit CMainFrame(CLyraApp& app, bool songPageTab = false, PageViewFactory makeView = nullptr,
                        QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The page switch: menu, toolbar, preview bar, caption, page mode, "Ready".
    void OnPageActivated(int page);
    // Brings the tab of a page index to the front and switches to it, as a click does.
    void ShowPage(int page) override;
    int MenuResource() const { return menuResource_; }

    // Minimum tracking size. At the memo view's initial update the window takes
    // SetMinTrackSizeToWindow, so it cannot become smaller than it is then.
    // The minimum in force never exceeds the screen's available area.
    void SetMinTrackSize(QSize size);
    void SetMinTrackSizeToWindow();
    QSize MinTrackSize() const { return minTrack_; }

    // The memo view's font, which the tab strip takes.
    void SetPageFont(const QFont& font);

    // The logo page paints the working logo into this 96x96 control.
    CLogoPreview* LogoPreview() const;
    CLogoPreviewBar* PreviewBar() const { return previewBar_; }

    CFlatToolBar* ToolBar(int page) const;
    CBandBar* BandBar() const { return bandBar_; }
    TTabFramework& TabFramework() { return tabs_; }
    TTabWnd* TabWindow() const;
    QLabel* Indicator(int index) const { return indicators_[index]; }
    // The CAP, NUM and SCRL panes show while their key is on; the keys are read again
    // on every press or release of a lock key and whenever the window becomes active.
    // Tests replace the reader.
    std::function<KeyLocks()> keyLockReader = ReadKeyLocks;
    void UpdateIndicators();
    CCommandActions& Actions() { return *actions_; }
    platform::CommandRouter& Router() { return router_; }
    CLyraApp& App() { return app_; }

    // Files dropped on the window go through the document-opening path, in order.
    void OpenDroppedFiles(const QList<QUrl>& urls);

    // Takes the saved window geometry and bar state, and from then on remembers them at
    // close and records opened files under File > Recent. The editor calls it at start;
    // a window that never calls it neither reads nor writes the settings.
    void RestoreSettings();
    // A recent file from File > Recent: opened through the document-opening path; a
    // file that is gone is taken off the list with a message.
    void OpenRecentFile(const QString& path);
    QMenu* RecentMenu() const { return recentMenu_; }
    // The page left or right of the shown one (Ctrl+Tab, Ctrl+PgDown and back).
    void StepPage(int step);

    void SetActiveView(const PageView& view) override { activeView_ = view; }
    PageView ActiveView() const override { return activeView_; }

    // The application's host.
    void CloseMainWindow() override { close(); }
    bool HasSongPage() const override { return songPage_; }
    // Records the file under File > Recent once RestoreSettings has run.
    void FileOpened(const std::string& path) override;
    // Shows the memo page and imports through the contact import dialog.
    bool ImportContacts(const std::string& path) override;

signals:
    // Command 31105 (screen capture): the logo page takes the picture.
    void captureRequested();
    // Every file the document opened or wrote, as the application reported it.
    void fileOpened(const QString& path);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void CreateClient(bool songPageTab, const PageViewFactory& makeView);
    // Connects the window to the signals of the pages' views.
    void ConnectPages();
    void CreateBars();
    void LoadMenu(int resource);
    void InitMenuPopup(QMenu* menu);
    void AddRecentMenu(QMenu* fileMenu);
    void FillRecentMenu(bool prune);
    // Shows or hides the lock panes after locks_ and the room the message leaves.
    void FitIndicators();
    // The window manager's frame around the window, as far as it is known.
    ui::FrameMargins Frame() const;
    void ApplyMinimum();
    void FitToScreen();
    bool MayClose();

    CLyraApp& app_;
    bool songPage_ = false;
    platform::CommandRouter router_;
    PageView activeView_;
    CCommandActions* actions_ = nullptr;
    CBandBar* bandBar_ = nullptr;
    CFlatToolBar* toolbars_[3] = {};  // by page index
    CLogoPreviewBar* previewBar_ = nullptr;
    QLabel* indicators_[3] = {};
    KeyLocks locks_;  // as last read
    TTabFramework tabs_;
    bool minMaxActive_ = false;
    QSize minTrack_;
    int menuResource_ = 0;
    // Long work (opening, turning a large picture) shows its progress in this window.
    std::unique_ptr<platform::QtLongTaskRunner> longTasks_;
    std::unique_ptr<platform::ScopedLongTaskRunner> longTaskScope_;
    std::unique_ptr<CAppSettings> settings_;  // set by RestoreSettings
    QMenu* recentMenu_ = nullptr;
    bool screenWatched_ = false;
    ui::FrameMargins fittedFrame_;  // the frame the window was last fitted with
};
