#include "app/widgets/CMainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QWindow>

#include "app/CommandIds.h"
#include "app/FileTypes.h"
#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "app/Resources.h"
#include "app/widgets/AppIdentity.h"
#include "app/widgets/AppSettings.h"
#include "app/widgets/CBandBar.h"
#include "app/widgets/CLogoPreviewBar.h"
#include "app/widgets/CommandActions.h"
#include "app/widgets/PageFactory.h"
#include "app/widgets/ResourcePictures.h"
#include "app/widgets/UserGuide.h"
#include "logo/widgets/CLogoView.h"
#include "memo/widgets/MemoContactCommands.h"
#include "memo/widgets/MemoView.h"
#include "platform/Services.h"
#include "ui/widgets/CFlatToolBar.h"
#include "ui/WindowFit.h"
#include "ui/widgets/FlatMenus.h"

namespace {
constexpr int kMessageMargin = 8;  // the status bar's room left of a message and right of it
constexpr int kPageMenus[] = {res::MenuMemo, res::MenuLogo, res::MenuSong};
constexpr int kPageToolbars[] = {res::ToolbarMemo, res::ToolbarLogo, res::ToolbarSong};
constexpr int kPageBands[] = {CMainFrame::MemoToolBandIndex, CMainFrame::LogoToolBandIndex,
                              CMainFrame::SongToolBandIndex};
}  // namespace

CMainFrame::CMainFrame(CLyraApp& app, bool songPageTab, PageViewFactory makeView, QWidget* parent)
    : QMainWindow(parent), app_(app), router_([this] {
          return std::vector<platform::CommandTarget*>{activeView_.view, &app_.Document(), this, &app_};
      }) {
    resize(500, 400);
    setContextMenuPolicy(Qt::PreventContextMenu);  // no bar-hiding menu on the bars
    actions_ = new CCommandActions(router_, this);
    OnCommand(cmd::Capture, [this] { emit captureRequested(); });
    OnCommand(cmd::NextPage, [this] { StepPage(1); });
    OnCommand(cmd::PrevPage, [this] { StepPage(-1); });
    OnCommand(cmd::HelpGuide, [this] { ShowUserGuide(this); });
    setWindowIcon(AppIcon());
    songPage_ = songPageTab;
    app_.SetHost(this);

    CreateClient(songPageTab, makeView ? makeView : PageViewFactory(CreatePageView));
    CFlatMenus::Mark(this, true);
    CreateBars();
    ConnectPages();
    longTasks_ = std::make_unique<platform::QtLongTaskRunner>(statusBar());
    longTaskScope_ = std::make_unique<platform::ScopedLongTaskRunner>(longTasks_.get());
    OnPageActivated(page::Memo);
    minMaxActive_ = true;
    SetMinTrackSize(size());
    setGeometry(100, 60, 600, 600);
    FitToScreen();
    setAcceptDrops(true);
}

CMainFrame::~CMainFrame() {
    app_.SetHost(nullptr);
    longTaskScope_.reset();
    delete actions_;  // before the views and the router it asks go
    actions_ = nullptr;
    tabs_.Destroy();
    activeView_ = PageView{};
}

void CMainFrame::CreateClient(bool songPageTab, const PageViewFactory& makeView) {
    CLyraDoc& doc = app_.Document();
    auto viewOf = [&doc, &makeView](int page) {
        return [&doc, page, makeView](QWidget* parent) { return makeView(page, doc, parent); };
    };
    tabs_.AddRoot(std::make_unique<TViewNode>(kTabWindowNode, TViewNode::TabsTop));
    TViewNode* root = tabs_.Node(kTabWindowNode);
    tabs_.AddChild(root, std::make_unique<TViewNode>(kMemoNode, "My Memo", viewOf(page::Memo)));
    tabs_.SetIcon(tabs_.Node(kMemoNode), TabIcon(kTabIconMemo));
    tabs_.AddChild(root, std::make_unique<TViewNode>(kLogoNode, "My Logo", viewOf(page::Logo)));
    tabs_.SetIcon(tabs_.Node(kLogoNode), TabIcon(kTabIconLogo));
    if (songPageTab) tabs_.AddChild(root, std::make_unique<TViewNode>(kSongNode, "My Song", viewOf(page::Song)));
    tabs_.Create(this);
    connect(TabWindow(), &TTabWnd::pageActivated, this, &CMainFrame::OnPageActivated);
}

void CMainFrame::ConnectPages() {
    TTabWnd* tabs = TabWindow();
    for (int i = 0; tabs != nullptr && i < tabs->TabCount(); ++i) {
        QWidget* page = tabs->Entry(i).view.widget;
        if (auto* memo = qobject_cast<CMemoView*>(page)) {
            // The memo page's font becomes the font of the tab labels and of the window.
            connect(memo, &CMemoView::fontChosen, this, [this](const QFont& font) {
                SetPageFont(font);
                setFont(font);
            });
            connect(memo, &CMemoView::laidOut, this, &CMainFrame::SetMinTrackSizeToWindow);
            connect(memo, &CMemoView::pageActivated, this, &CMainFrame::OnPageActivated);
        } else if (auto* logo = qobject_cast<CLogoView*>(page)) {
            logo->SetPreview(LogoPreview());
            connect(this, &CMainFrame::captureRequested, logo, &CLogoView::Capture);
            connect(logo, &CLogoView::captureWanted, this, [this] { router_.Execute(cmd::Capture); });
        }
    }
}

void CMainFrame::CreateBars() {
    bandBar_ = new CBandBar(this);
    for (int page : {page::Memo, page::Logo, page::Song}) {
        auto* bar = new CFlatToolBar(bandBar_);
        bar->setObjectName(QString("toolbar%1").arg(kPageToolbars[page]));
        bar->LoadToolBar(res::Toolbar(kPageToolbars[page]), [this](int id) { return actions_->Action(id); });
        bar->LoadImages(kToolbarPictureWidth, ToolbarBitmap(kPageToolbars[page]));
        toolbars_[page] = bar;
    }

    setStatusBar(new QStatusBar(this));
    const char* indicators[] = {"CAP", "NUM", "SCRL"};
    for (int i = 0; i < 3; ++i) {
        // A pane takes room only while its key is on, so messages keep the width.
        indicators_[i] = new QLabel(indicators[i], statusBar());
        indicators_[i]->setObjectName(indicators[i]);
        indicators_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        indicators_[i]->setAlignment(Qt::AlignCenter);
        indicators_[i]->setMinimumWidth(indicators_[i]->sizeHint().width() + 8);
        statusBar()->addPermanentWidget(indicators_[i]);
    }
    UpdateIndicators();
    qApp->installEventFilter(this);
    // A message only changes the room the panes have; the keys are not read again.
    connect(statusBar(), &QStatusBar::messageChanged, this, &CMainFrame::FitIndicators);

    previewBar_ = new CLogoPreviewBar(bandBar_);
    previewBar_->hide();

    bandBar_->AddBand(toolbars_[page::Logo]);
    bandBar_->AddBand(toolbars_[page::Memo]);
    bandBar_->AddBand(toolbars_[page::Song]);
    bandBar_->AddBand(previewBar_);
    auto* holder = new QToolBar(this);
    holder->setObjectName("bandbar");
    holder->setMovable(false);
    holder->setFloatable(false);
    holder->toggleViewAction()->setVisible(false);
    holder->setContentsMargins(0, 0, 0, 0);
    holder->layout()->setContentsMargins(0, 0, 0, 0);
    holder->addWidget(bandBar_);
    addToolBar(Qt::TopToolBarArea, holder);
}

void CMainFrame::LoadMenu(int resource) {
    auto* bar = new QMenuBar(this);
    bar->setNativeMenuBar(false);
    std::function<void(QMenu*, const std::vector<res::MenuItem>&)> fill = [&](QMenu* menu,
                                                                              const std::vector<res::MenuItem>& items) {
        for (const res::MenuItem& item : items) {
            if (item.separator()) {
                menu->addSeparator();
            } else if (!item.items.empty()) {
                QMenu* sub = menu->addMenu(QString::fromStdString(item.caption));
                connect(sub, &QMenu::aboutToShow, this, [this, sub] { InitMenuPopup(sub); });
                fill(sub, item.items);
            } else {
                actions_->Bind(menu->addAction(QString::fromStdString(item.caption)), item.id);
            }
        }
    };
    for (const res::MenuItem& popup : res::Menu(resource)) {
        QMenu* menu = bar->addMenu(QString::fromStdString(popup.caption));
        menu->setSeparatorsCollapsible(false);  // every separator of the table shows
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { InitMenuPopup(menu); });
        fill(menu, popup.items);
    }
    if (!bar->actions().isEmpty()) AddRecentMenu(bar->actions().first()->menu());
    setMenuBar(bar);  // the old menu bar goes
    menuResource_ = resource;
    CFlatMenus::ConvertMenu(this, bar);
}

void CMainFrame::InitMenuPopup(QMenu* menu) {
    actions_->Refresh();
    CFlatMenus::ConvertMenu(this, menu);
}

void CMainFrame::OnPageActivated(int page) {
    if (page < page::Memo || page > page::Song) return;
    LoadMenu(kPageMenus[page]);
    for (int p : {page::Memo, page::Logo, page::Song}) {
        toolbars_[p]->setVisible(p == page);
        bandBar_->ShowBand(kPageBands[p], p == page);
    }
    previewBar_->setVisible(page == page::Logo);
    bandBar_->ShowBand(PreviewBandIndex, page == page::Logo);
    setWindowTitle(res::kFrameCaption);
    app_.m_nPage = page;
    update();
    statusBar()->showMessage(res::kIdleStatus);
}

void CMainFrame::AddRecentMenu(QMenu* fileMenu) {
    // File > Recent closes the first group (New, Open, Save).
    QAction* before = nullptr;
    for (QAction* item : fileMenu->actions())
        if (item->isSeparator() && !before) before = item;
    recentMenu_ = new QMenu("&Recent", fileMenu);
    fileMenu->insertMenu(before, recentMenu_);
    // Files that have gone are looked for only when the menu is about to show.
    connect(recentMenu_, &QMenu::aboutToShow, this, [this] {
        FillRecentMenu(true);
        InitMenuPopup(recentMenu_);
    });
    FillRecentMenu(false);
}

void CMainFrame::FillRecentMenu(bool prune) {
    recentMenu_->clear();
    QStringList files;
    if (settings_) {
        const QStringList gone = prune ? settings_->PruneMissingRecentFiles() : QStringList();
        if (!gone.isEmpty())
            statusBar()->showMessage(QString("Removed from Recent, no longer there: %1").arg(gone.join(", ")));
        files = settings_->RecentFiles();
    }
    QStringList names;
    for (const QString& file : files) names << QFileInfo(file).fileName();
    for (int i = 0; i < files.size(); ++i) {
        // A name that two recent files share is told apart by the whole path.
        const QString label = names.count(names[i]) > 1 ? files[i] : names[i];
        QAction* a = recentMenu_->addAction(QString("&%1 %2").arg(i + 1).arg(label));
        a->setData(files[i]);
        a->setStatusTip(files[i]);
        connect(a, &QAction::triggered, this, [this, path = files[i]] { OpenRecentFile(path); });
    }
    if (files.isEmpty()) recentMenu_->addAction("(none)")->setEnabled(false);
}

void CMainFrame::OpenRecentFile(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        if (settings_) settings_->RemoveRecentFile(path);
        platform::services().prompts->Show(
            (path + "\nno longer exists; it has been removed from the recent files.").toStdString(),
            platform::Buttons::Ok);
        return;
    }
    app_.OpenDocumentFile(path.toStdString());
}

void CMainFrame::RestoreSettings() {
    settings_ = std::make_unique<CAppSettings>();
    // Without a saved geometry the window keeps the place and size it was made with.
    restoreGeometry(settings_->WindowGeometry());
    restoreState(settings_->WindowState());
    FitToScreen();
}

void CMainFrame::FileOpened(const std::string& path) {
    if (settings_ && DocumentReadsFile(path)) settings_->AddRecentFile(QString::fromStdString(path));
    emit fileOpened(QString::fromStdString(path));
}

bool CMainFrame::ImportContacts(const std::string& path) {
    ShowPage(page::Memo);
    return ImportContactsFrom(app_.Document(), path, this);
}

void CMainFrame::StepPage(int step) {
    TTabWnd* tabs = TabWindow();
    if (!tabs || tabs->TabCount() < 2) return;
    const int count = tabs->TabCount();
    // Hidden or unselectable tabs are passed over.
    for (int i = 1; i < count; ++i) {
        int index = ((tabs->ActiveIndex() + step * i) % count + count) % count;
        if (tabs->Entry(index).visible && tabs->Entry(index).selectable) {
            tabs->ActivateTab(index);
            return;
        }
    }
}

ui::FrameMargins CMainFrame::Frame() const {
    const QRect outer = frameGeometry(), inner = geometry();
    if (outer != inner)
        return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                outer.bottom() - inner.bottom()};
    // Before the window is first shown its frame is unknown; under X a window manager
    // most likely draws one.
    if (!isVisible() && QGuiApplication::platformName() == "xcb") return ui::kAssumedFrame;
    return {};
}

namespace {
ui::WindowRect ToWindowRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }
}  // namespace

void CMainFrame::ApplyMinimum() {
    // The minimum in force fits the screen the window is on, whatever was asked.
    QScreen* s = screen();
    if (!s) return setMinimumSize(minTrack_);
    const ui::WindowSize least =
        ui::FitMinimum({minTrack_.width(), minTrack_.height()}, Frame(), ToWindowRect(s->availableGeometry()));
    setMinimumSize(least.width, least.height);
}

void CMainFrame::FitToScreen() {
    // The whole window, title bar and status bar included, stays on the screen: a
    // larger window hid its lower part (the memo entry boxes), a higher one its title
    // bar. The minimum must leave that possible.
    QScreen* s = screen();
    fittedFrame_ = Frame();
    if (!s) return;
    const ui::WindowRect area = ToWindowRect(s->availableGeometry());
    if (minMaxActive_) ApplyMinimum();
    const ui::WindowRect now = ToWindowRect(geometry());
    const ui::WindowRect fitted = ui::FitWindow(now, fittedFrame_, area);
    if (!(fitted == now)) setGeometry(fitted.left, fitted.top, fitted.width, fitted.height);
}

void CMainFrame::ShowPage(int page) {
    // Tabs follow page indexes in order; a page without a tab is not shown.
    TTabWnd* tabs = TabWindow();
    if (tabs == nullptr || page < 0 || page >= tabs->TabCount()) return;
    tabs->ActivateTab(page);
}

void CMainFrame::SetMinTrackSize(QSize size) {
    minTrack_ = size;
    if (minMaxActive_) ApplyMinimum();
}

void CMainFrame::SetMinTrackSizeToWindow() { SetMinTrackSize(size()); }

void CMainFrame::SetPageFont(const QFont& font) {
    if (TTabWnd* wnd = TabWindow()) wnd->SetTabFont(font);
}

CLogoPreview* CMainFrame::LogoPreview() const { return previewBar_->Preview(); }

CFlatToolBar* CMainFrame::ToolBar(int page) const {
    return page >= page::Memo && page <= page::Song ? toolbars_[page] : nullptr;
}

TTabWnd* CMainFrame::TabWindow() const {
    return qobject_cast<TTabWnd*>(const_cast<TTabFramework&>(tabs_).WindowOf(kTabWindowNode));
}

void CMainFrame::UpdateIndicators() {
    locks_ = keyLockReader ? keyLockReader() : KeyLocks{};
    FitIndicators();
}

void CMainFrame::FitIndicators() {
    const bool on[] = {locks_.caps, locks_.num, locks_.scroll};
    for (int i = 0; i < 3; ++i) indicators_[i]->setVisible(on[i]);
    // A message that does not fit beside the lit panes hides them while it shows.
    QStatusBar* bar = statusBar();
    const QString message = bar->currentMessage();
    if (message.isEmpty() || !bar->isVisible()) return;
    bar->layout()->activate();
    int left = bar->width();
    for (QLabel* pane : indicators_)
        if (pane->isVisible()) left = std::min(left, pane->x());
    if (kMessageMargin + bar->fontMetrics().horizontalAdvance(message) > left)
        for (QLabel* pane : indicators_) pane->hide();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock) UpdateIndicators();
    }
    return QMainWindow::eventFilter(watched, e);
}

bool CMainFrame::event(QEvent* e) {
    if (e->type() == QEvent::Show && windowHandle() && !screenWatched_) {
        // On another screen the room for the window is another.
        screenWatched_ = true;
        connect(windowHandle(), &QWindow::screenChanged, this, [this] { FitToScreen(); });
    }
    // The window manager tells its frame only once the window is on the screen: the
    // window is fitted again with the frame it really has.
    const auto type = e->type();
    if ((type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize || type == QEvent::WindowActivate) &&
        isVisible() && !(Frame() == fittedFrame_)) {
        const bool handled = QMainWindow::event(e);
        FitToScreen();
        return handled;
    }
    if (e->type() == QEvent::WindowActivate) UpdateIndicators();
    // The menu titles are drawn grey while the window is not the active one. Qt repaints
    // on activation only when the palette's active and inactive colours differ, so
    // after a dialog the titles would stay grey: repaint them on every change.
    if ((e->type() == QEvent::WindowActivate || e->type() == QEvent::WindowDeactivate) && menuBar())
        menuBar()->update();
    if (e->type() == QEvent::StatusTip) {
        // Fly-by texts; when they end the idle text comes back.
        QString tip = static_cast<QStatusTipEvent*>(e)->tip();
        statusBar()->showMessage(tip.isEmpty() ? QString(res::kIdleStatus) : tip);
        return true;
    }
    return QMainWindow::event(e);
}

bool CMainFrame::MayClose() {
    return app_.Document().AskToSaveChanges({DataKind::Memo, DataKind::Songs, DataKind::Logo});
}

void CMainFrame::closeEvent(QCloseEvent* e) {
    if (MayClose()) {
        if (settings_) settings_->SaveWindow(saveGeometry(), saveState());
        e->accept();
    } else {
        e->ignore();
    }
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* e) {
    OpenDroppedFiles(e->mimeData()->urls());
    e->acceptProposedAction();
}

void CMainFrame::OpenDroppedFiles(const QList<QUrl>& urls) {
    for (const QUrl& url : urls)
        if (url.isLocalFile()) app_.OpenDocumentFile(url.toLocalFile().toStdString());
}
