// The main window driven as a person would: tabs, menus, toolbars, keys, size limits
// and the close sequence.
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include "app/CommandIds.h"
#include "app/Resources.h"
#include "app/widgets/CBandBar.h"
#include "app/widgets/CLogoPreviewBar.h"
#include "memo/MemoFile.h"
#include "memo/widgets/MemoView.h"
#include "memo/support/widgets/MemoPageHarness.h"
#include "platform/widgets/QtServices.h"
#include "support/EditorDriver.h"
#include "ui/widgets/MemoEdit.h"
#include "window/support/EditorDriver.h"
#include "ui/widgets/CFlatToolBar.h"

using platform::Answer;

namespace {

QString Tmp(const QString& name) {
    QDir().mkpath(LYRA_TEST_TMP);
    return QString(LYRA_TEST_TMP) + "/" + name;
}

QStringList Titles(int resource) {
    QStringList titles;
    for (const res::MenuItem& m : res::Menu(resource)) titles << QString::fromStdString(m.caption);
    return titles;
}

// The page a frame shows, read from its bars.
struct Shown {
    int menu;
    int toolbar;  // page whose toolbar is visible, -1 for none or several
    bool preview;
};

Shown ShownBy(CMainFrame& f) {
    int toolbar = -1;
    for (int p = 0; p < 3; ++p)
        if (f.ToolBar(p)->isVisible()) toolbar = toolbar == -1 ? p : -2;
    return Shown{f.MenuResource(), toolbar, f.PreviewBar()->isVisible()};
}

void Settle() { QTest::qWait(5); }

}  // namespace

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { CFlatMenus::Install(); }
    void cleanupTestCase() { CFlatMenus::Remove(); }

    void startsOnTheMemoPage() {
        EditorDriver f;
        CMainFrame& w = *f.frame;
        QCOMPARE(w.windowTitle(), QString("LyraboxQ"));
        QCOMPARE(w.geometry(), QRect(100, 60, 600, 600));
        QCOMPARE(f.app.m_nPage, 0);
        QCOMPARE(f.MenuTitles(), Titles(res::MenuMemo));
        Shown s = ShownBy(w);
        QCOMPARE(s.menu, 128);
        QCOMPARE(s.toolbar, 0);
        QVERIFY(!s.preview);
        QCOMPARE(w.statusBar()->currentMessage(), QString("Ready"));
        QCOMPARE(w.Indicator(0)->text(), QString("CAP"));
        QCOMPARE(w.Indicator(1)->text(), QString("NUM"));
        QCOMPARE(w.Indicator(2)->text(), QString("SCRL"));
        QCOMPARE(w.TabWindow()->TabCount(), 2);
        QCOMPARE(w.TabWindow()->Entry(0).label->text(), QString("My Memo"));
        QCOMPARE(w.TabWindow()->Entry(1).label->text(), QString("My Logo"));
        QVERIFY(w.ActiveView().widget == w.TabWindow()->ViewAt(0));
        QVERIFY(w.ActiveView().view != nullptr);
        QCOMPARE(w.PreviewBar()->size(), QSize(98, 98));
        QCOMPARE(w.LogoPreview()->size(), QSize(96, 96));
        QCOMPARE(w.BandBar()->BandChild(CMainFrame::LogoToolBandIndex), w.ToolBar(page::Logo));
        QCOMPARE(w.BandBar()->BandChild(CMainFrame::PreviewBandIndex), w.PreviewBar());
    }

    void tabClicksSwitchPagesAndReportOnlyChanges() {
        EditorDriver f;
        QSignalSpy spy(f.frame->TabWindow(), &TTabWnd::pageActivated);
        struct Step {
            int tab;
            QList<int> sent;  // notifications this click sends
            Shown shown;
        } steps[] = {
            {0, {0}, {128, 0, false}},  // the first click reports even the page already shown
            {0, {}, {128, 0, false}},
            {1, {1}, {132, 1, true}},
            {1, {}, {132, 1, true}},
            {0, {0}, {128, 0, false}},
        };
        for (const Step& step : steps) {
            spy.clear();
            f.ClickTab(step.tab);
            Settle();
            QList<int> sent;
            for (const QList<QVariant>& args : spy) sent << args.at(0).toInt();
            QCOMPARE(sent, step.sent);
            Shown s = ShownBy(*f.frame);
            QCOMPARE(s.menu, step.shown.menu);
            QCOMPARE(s.toolbar, step.shown.toolbar);
            QCOMPARE(s.preview, step.shown.preview);
            QCOMPARE(f.app.m_nPage, step.tab);
            QCOMPARE(f.frame->TabWindow()->ActiveIndex(), step.tab);
            QCOMPARE(f.frame->windowTitle(), QString("LyraboxQ"));
            QCOMPARE(f.frame->statusBar()->currentMessage(), QString("Ready"));
            QVERIFY(f.frame->ActiveView().widget == f.frame->TabWindow()->ViewAt(step.tab));
            QVERIFY(f.frame->TabWindow()->ViewAt(step.tab)->isVisible());
            QVERIFY(!f.frame->TabWindow()->ViewAt(1 - step.tab)->isVisible());
        }
        QCOMPARE(f.MenuTitles(), Titles(res::MenuMemo));
    }

    void switchingBackGivesTheMemoPageTheKeys() {
        // The control that had the focus when the person left the page has it again.
        enum Control { Name, Tel, List };
        struct Case {
            Control before;
            const char* typed;  // text typed after coming back, or "" for the Down key
            QString name, tel;
            int currentRow;
        } cases[] = {
            {Name, "kim", "kim", "", 0},
            {Tel, "010", "", "010", 0},
            {List, "", "n1", "t1", 1},
        };
        for (const Case& c : cases) {
            EditorDriver d;
            if (c.before == List) {
                d.TypeContact("n0", "t0");
                d.TypeContact("n1", "t1");
                d.ClickMemoRow(0);
            } else if (c.before == Tel) {
                d.Key(Qt::Key_Tab);
            }
            d.ClickTab(page::Logo);
            d.ClickTab(page::Memo);
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus && d.memo().isAncestorOf(focus));
            if (*c.typed)
                d.Type(c.typed);
            else
                d.Key(Qt::Key_Down);
            QCOMPARE(d.memo().Edit(CMemoView::IdName)->text(), c.name);
            QCOMPARE(d.memo().Edit(CMemoView::IdTel)->text(), c.tel);
            QCOMPARE(d.memo().CurrentRow(), c.currentRow);
        }
    }

    void songPageThroughThePageSwitch() {
        EditorDriver f;
        f.frame->OnPageActivated(page::Song);
        QCOMPARE(f.MenuTitles(), QStringList({"파일(&F)", "편집(&E)", "노래방기기(&N)", "정보(&A)"}));
        Shown s = ShownBy(*f.frame);
        QCOMPARE(s.toolbar, 2);
        QVERIFY(!s.preview);
        QCOMPARE(f.app.m_nPage, 2);
        QCOMPARE(f.frame->windowTitle(), QString("LyraboxQ"));
        // A brand command's caption is replaced by the next page switch.
        f.frame->setWindowTitle("Zandri");
        f.frame->OnPageActivated(page::Logo);
        QCOMPARE(f.frame->windowTitle(), QString("LyraboxQ"));
        // Unknown page indexes change nothing.
        f.frame->OnPageActivated(7);
        QCOMPARE(f.app.m_nPage, 1);
    }

    void songTabWhenAsked() {
        EditorDriver f(EditorDriver::Options{true, ""});
        QCOMPARE(f.frame->TabWindow()->TabCount(), 3);
        QSignalSpy spy(f.frame->TabWindow(), &TTabWnd::pageActivated);
        f.ClickTab(2);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 2);
        QCOMPARE(f.frame->MenuResource(), 107);
    }

    void menuItemsCarryTheirCaptions() {
        EditorDriver f;
        f.ClickTab(1);
        QMenu* edit = f.frame->menuBar()->actions().at(1)->menu();
        QStringList items;
        for (QAction* a : edit->actions()) items << (a->isSeparator() ? QString("-") : a->text());
        QCOMPARE(items, QStringList({"&Undo\tCtrl+Z", "R&edo\tCtrl+Y", "-", "Rotate &Left\tCtrl+L", "Rotate &Right\tCtrl+R", "-", "Flip &Horizontal\tCtrl+H",
                                     "Flip &Vertical\tCtrl+E", "-", "&Dither", "&Background colour...", "S&quare selection", "-",
                                     "&Copy as command line"}));
        QCOMPARE(CFlatMenus::CommandIdOf(edit->actions().at(7)), cmd::FlipVertical);
        QVERIFY(!edit->separatorsCollapsible());  // every separator is shown
    }

    void keysWorkOnEveryPageAndOnlyWhenEnabled() {
        // What each key runs on the real pages, and what a person sees it do.
        enum Setup { Start, MemoEntry, ClipboardText };
        struct Case {
            int page;
            Setup setup;
            int key;  // with Ctrl
            int command;
            bool enabled;
            QString dialog;   // the file dialog the key opens, "" for none
            QString caption;  // the caption afterwards
            QString nameBox;  // the memo page's Name box afterwards
        } cases[] = {
            {page::Memo, Start, Qt::Key_O, cmd::FileOpen, true, "Open memo file", "LyraboxQ", ""},
            {page::Memo, Start, Qt::Key_S, cmd::FileSave, false, "", "LyraboxQ", ""},  // nothing typed
            {page::Memo, MemoEntry, Qt::Key_S, cmd::FileSave, true, "Save memo file", "LyraboxQ", ""},
            {page::Memo, ClipboardText, Qt::Key_V, cmd::EditPaste, true, "", "LyraboxQ", "abc"},
            {page::Logo, Start, Qt::Key_O, cmd::FileOpen, true, "Open logo file", "LyraboxQ", ""},
            {page::Logo, Start, Qt::Key_S, cmd::FileSave, false, "", "LyraboxQ", ""},  // no picture
            {page::Logo, ClipboardText, Qt::Key_V, cmd::EditPaste, false, "", "LyraboxQ", ""},
            {page::Memo, Start, Qt::Key_J, cmd::BrandQuorvel, false, "", "LyraboxQ", ""},
            {page::Memo, Start, Qt::Key_T, cmd::BrandZandri, false, "", "LyraboxQ", ""},
            {page::Logo, Start, Qt::Key_G, cmd::BrandPellix, false, "", "LyraboxQ", ""},
            {page::Song, Start, Qt::Key_J, cmd::BrandQuorvel, true, "", "Lyrabox Plus(Quorvel)", ""},
            {page::Song, Start, Qt::Key_G, cmd::BrandPellix, true, "", "Lyrabox Plus(Pellix)", ""},
            {page::Logo, Start, Qt::Key_P, cmd::FilePrint, false, "", "LyraboxQ", ""},  // no handler
        };
        for (const Case& c : cases) {
            const QKeySequence key(Qt::ControlModifier | Qt::Key(c.key));
            const QByteArray what = key.toString().toLatin1() + " on page " + QByteArray::number(c.page);
            EditorDriver d(EditorDriver::Options{true, ""});
            d.ClickTab(c.page);
            if (c.setup == MemoEntry) d.TypeContact("kim", "010");
            if (c.setup == ClipboardText) d.services.clipboard.text = "abc";
            d.frame->Actions().Refresh();
            QAction* action = d.frame->Actions().Action(c.command);
            QVERIFY2(action->shortcuts().contains(key), what);
            QVERIFY2(action->isEnabled() == c.enabled, what);
            d.Ctrl(c.key);
            Settle();
            QStringList titles;
            for (const platform::FileDialogRequest& r : d.services.dialogs.requests)
                titles << QString::fromStdString(r.title);
            QVERIFY2(titles == (c.dialog.isEmpty() ? QStringList() : QStringList{c.dialog}), what);
            QVERIFY2(d.frame->windowTitle() == c.caption, what);
            QVERIFY2(d.memo().Edit(CMemoView::IdName)->text() == c.nameBox, what);
        }
    }

    void newFromTheLogoPageKeepsTheLogoPageShown() {
        EditorDriver f;
        f.ClickTab(1);
        QVERIFY(QTest::qWaitForWindowActive(f.frame.get()));
        QTest::keySequence(f.frame.get(), QKeySequence("Ctrl+N"));
        Settle();
        QCOMPARE(f.app.m_nPage, 0);  // New sets the memo mode ...
        QCOMPARE(f.frame->MenuResource(), 132);  // ... while the logo page stays
        QTest::keySequence(f.frame.get(), QKeySequence("Ctrl+O"));
        QCOMPARE(f.services.dialogs.requests.back().title, std::string("Open memo file"));
    }

    void idleUpdatesEnableMenusAndButtons() {
        EditorDriver f;
        CCommandActions& actions = f.frame->Actions();
        auto saveItem = [&] { return f.frame->menuBar()->actions().at(0)->menu()->actions().at(f.app.m_nPage == 1 ? 1 : 2); };
        QTest::qWait(20);
        QVERIFY(!actions.Action(cmd::FileSave)->isEnabled());  // nothing typed yet
        QVERIFY(!saveItem()->isEnabled());
        QVERIFY(actions.Action(cmd::EditPaste)->isEnabled());  // into the memo page's boxes
        QVERIFY(actions.Action(cmd::Capture)->isEnabled());
        memotest::Type(QApplication::focusWidget(), "kim");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::qWait(20);
        QVERIFY(actions.Action(cmd::FileSave)->isEnabled());
        QVERIFY(saveItem()->isEnabled());
        f.ClickTab(1);
        QTest::qWait(20);
        QVERIFY(!actions.Action(cmd::FileSave)->isEnabled());
        QVERIFY(!saveItem()->isEnabled());
        QVERIFY(actions.Action(cmd::FileOpen)->isEnabled());
        // The toolbar shows the disabled picture and ignores clicks.
        CFlatToolBar* bar = f.frame->ToolBar(page::Logo);
        QCOMPARE(bar->CommandAt(1), cmd::FileSave);
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->ButtonRect(1).center());
        QVERIFY(f.services.dialogs.requests.empty());
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->ButtonRect(0).center());
        QCOMPARE(f.services.dialogs.requests.size(), size_t(1));
    }

    void captureCallsTheLogoPagesHandler() {
        EditorDriver f;
        // The logo page takes the command.
        QVERIFY(QObject::disconnect(f.frame.get(), &CMainFrame::captureRequested, nullptr, nullptr));
        QVERIFY(f.frame->Router().Execute(cmd::Capture));  // no one listening: does nothing
        int calls = 0;
        QObject::connect(f.frame.get(), &CMainFrame::captureRequested, [&] { ++calls; });
        QVERIFY(f.frame->Router().Execute(cmd::Capture));
        QCOMPARE(calls, 1);
    }

    void statusPanesFollowTheLockKeysAndLeaveMessagesRoom() {
        EditorDriver d;
        // Messages go to this window's status bar, as in the editor.
        platform::QtStatusLine line;
        line.SetStatusBar(d.frame->statusBar());
        platform::ScopedServices scope({&d.services.prompts, &d.services.dialogs, &d.services.clipboard,
                                        &d.services.busy, &line});
        KeyLocks locks;
        d.frame->keyLockReader = [&locks] { return locks; };
        const KeyLocks cases[] = {{}, {true, false, false}, {false, true, true}, {true, true, true}, {}};
        for (const KeyLocks& c : cases) {
            locks = c;
            d.Key(Qt::Key_CapsLock);
            QCOMPARE(d.frame->Indicator(0)->isVisible(), c.caps);
            QCOMPARE(d.frame->Indicator(1)->isVisible(), c.num);
            QCOMPARE(d.frame->Indicator(2)->isVisible(), c.scroll);
            // The refusal of a character the device cannot store is read whole.
            memotest::TypeSurrogatePair(QApplication::focusWidget(), QString::fromUtf8("😀"));
            QStatusBar* bar = d.frame->statusBar();
            const QString message = bar->currentMessage();
            QVERIFY(message.contains("cannot be stored"));
            int left = bar->width();
            for (int i = 0; i < 3; ++i)
                if (d.frame->Indicator(i)->isVisible()) left = std::min(left, d.frame->Indicator(i)->x());
            const int textRight = 6 + bar->fontMetrics().horizontalAdvance(message);
            QVERIFY2(textRight < left, qPrintable(QString("text to %1, first pane at %2").arg(textRight).arg(left)));
            // Once the message goes, the lit panes come back.
            bar->clearMessage();
            QCOMPARE(d.frame->Indicator(0)->isVisible(), c.caps);
            QCOMPARE(d.frame->Indicator(2)->isVisible(), c.scroll);
        }
        // The panes are read again when the window becomes active.
        locks = {true, false, false};
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(d.frame.get(), &activate);
        QVERIFY(d.frame->Indicator(0)->isVisible());
    }

    void minimumSizeFollowsTheMemoViewsInitialUpdate() {
        EditorDriver f;
        QCOMPARE(f.frame->minimumSize(), QSize(600, 600));
        f.frame->resize(300, 250);
        QCOMPARE(f.frame->size(), QSize(600, 600));
        f.frame->resize(700, 650);
        QCOMPARE(f.frame->minimumSize(), QSize(600, 600));
        f.app.OnFileNew();  // every view's initial update runs again
        QCOMPARE(f.frame->minimumSize(), QSize(700, 650));
        f.frame->resize(650, 650);
        QCOMPARE(f.frame->size(), QSize(700, 650));
    }

    void closeSequence_data() {
        QTest::addColumn<int>("memoFlag");
        QTest::addColumn<int>("songFlag");
        QTest::addColumn<QList<int>>("answers");       // Answer values, in order
        QTest::addColumn<QStringList>("dialogPaths");  // "" cancels a dialog
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("closed");
        const QString memoQ = "Do you want to save Memo File ?";
        const QString songQ = "노래파일을 저장 하시겠습니까?";
        const int yes = int(Answer::Yes), no = int(Answer::No), cancel = int(Answer::Cancel);
        const QString memoPath = Tmp("close.mmo"), songPath = Tmp("close.kok");
        const QString badPath = Tmp("no-such-folder/close.mmo");
        QTest::newRow("nothing changed") << 0 << 0 << QList<int>{} << QStringList{} << QStringList{} << true;
        QTest::newRow("memo cancel asks nothing more")
            << 1 << 1 << QList<int>{cancel} << QStringList{} << QStringList{memoQ} << false;
        QTest::newRow("memo no") << 1 << 0 << QList<int>{no} << QStringList{} << QStringList{memoQ} << true;
        QTest::newRow("memo yes saved") << 1 << 0 << QList<int>{yes} << QStringList{memoPath} << QStringList{memoQ}
                                        << true;
        QTest::newRow("memo yes, dialog cancelled keeps the window")
            << 1 << 1 << QList<int>{yes} << QStringList{""} << QStringList{memoQ} << false;
        QTest::newRow("memo yes, write failed keeps the window")
            << 1 << 0 << QList<int>{yes} << QStringList{badPath} << QStringList{memoQ, "File Create Fail"} << false;
        QTest::newRow("memo no, song cancel")
            << 1 << 1 << QList<int>{no, cancel} << QStringList{} << QStringList{memoQ, songQ} << false;
        QTest::newRow("both no") << 1 << 1 << QList<int>{no, no} << QStringList{} << QStringList{memoQ, songQ} << true;
        QTest::newRow("song yes saved") << 0 << 1 << QList<int>{yes} << QStringList{songPath} << QStringList{songQ}
                                        << true;
        QTest::newRow("song yes, dialog cancelled keeps the window")
            << 0 << 1 << QList<int>{yes} << QStringList{""} << QStringList{songQ} << false;
    }

    void closeSequence() {
        QFETCH(int, memoFlag);
        QFETCH(int, songFlag);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, dialogPaths);
        QFETCH(QStringList, asked);
        QFETCH(bool, closed);
        EditorDriver f;
        if (memoFlag) f.AddUnsavedContact();
        if (songFlag) f.AddUnsavedSong();
        for (int a : answers) f.services.prompts.answers.push_back(Answer(a));
        for (const QString& p : dialogPaths) {
            QFile::remove(p);
            f.services.dialogs.answers.push_back(p.isEmpty() ? std::nullopt : std::optional(p.toStdString()));
        }
        QCOMPARE(f.frame->close(), closed);
        QCOMPARE(f.frame->isVisible(), !closed);
        QStringList shown;
        for (const std::string& t : f.services.prompts.Texts()) shown << QString::fromStdString(t);
        QCOMPARE(shown, asked);
        for (const QString& p : dialogPaths)
            if (!p.isEmpty() && closed) QVERIFY2(QFileInfo::exists(p), qPrintable(p));
        // The questions are Yes/No/Cancel boxes.
        for (const platform::ScriptedPrompts::Shown& s : f.services.prompts.shown)
            if (QString::fromStdString(s.text) != "File Create Fail") QVERIFY(s.buttons == platform::Buttons::YesNoCancel);
    }

    void exitRunsTheCloseSequence() {
        EditorDriver f;
        f.AddUnsavedContact();
        QVERIFY(f.frame->Router().Execute(cmd::AppExit));  // Cancel is the scripted answer
        QVERIFY(f.frame->isVisible());
        QCOMPARE(f.services.prompts.Texts(), std::vector<std::string>{"Do you want to save Memo File ?"});
        f.services.prompts.answers.push_back(Answer::No);
        f.frame->Router().Execute(cmd::AppExit);
        QVERIFY(!f.frame->isVisible());
    }

    void droppedMemoFileIsOpenedAndClosesWithoutAQuestion() {
        EditorDriver f;
        QString path = Tmp("dropped.mmo");
        MemoTable table{};
        QVERIFY(WriteMemoFile(path.toStdString(), table, 0));
        QVERIFY(f.frame->acceptDrops());
        f.frame->OpenDroppedFiles({QUrl::fromLocalFile(path)});
        QCOMPARE(QString::fromStdString(f.doc().MemoPath()), path);
        QVERIFY(!f.doc().HasUnsavedChanges(DataKind::Memo));
        QVERIFY(f.frame->close());  // the list is what the file holds: nothing to ask
        QVERIFY(f.services.prompts.Texts().empty());
    }
};

QTEST_MAIN(MainFrameTest)
#include "mainframe_qtest.moc"
