// The editor as a desktop application: started as the program starts it, on a
// 1920x1080 screen scaled by 2 (960x540 for the window), with its settings in a
// folder of the test's own. Caption, icon, keys, quitting, settings that come back in
// a second start, and a window that fits the small screen. (The caption the X server
// holds is checked in desktop_x11_qtest.)
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "app/widgets/AppSettings.h"
#include "memo/MemoFile.h"
#include "platform/widgets/QtServices.h"
#include "memo/widgets/MemoList.h"
#include "memo/widgets/MemoView.h"
#include "song/SongFile.h"
#include "window/support/ScaledScreen.h"

using platform::Answer;

namespace {

using Editor = DesktopStart;

QString WriteMemo(const QString& name) {
    QString path = TestTmp("desktop", name);
    MemoTable table{};
    if (!WriteMemoFile(path.toStdString(), table, 0)) qWarning("cannot write %s", qPrintable(path));
    return path;
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT
private slots:
    void captionIconAndAWindowThatFitsTheScreen() {
        Editor e;
        CMainFrame& w = *e.frame;
        QCOMPARE(w.windowTitle(), QString("LyraboxQ"));
        QVERIFY2(QGuiApplication::applicationDisplayName() == QGuiApplication::applicationName(),
                 "a display name would be added to every caption");
        // The icon in every size the desktop asks for, on the window and its dialogs.
        QVERIFY(!w.windowIcon().isNull());
        for (int size : {16, 32, 48, 256}) QVERIFY(w.windowIcon().availableSizes().contains(QSize(size, size)));
        QTextBrowser* guide = nullptr;
        e.Key(QKeySequence("F1"));
        guide = w.findChild<QTextBrowser*>();
        QVERIFY(guide && guide->isVisible());
        QVERIFY(!guide->window()->windowIcon().isNull());
        QVERIFY(guide->toPlainText().contains("My Memo"));
        QVERIFY(guide->toPlainText().contains("lyrabox-cli memo export"));
        guide->window()->close();

        // 600x600 does not fit 960x540: the window and its minimum take the room there is,
        // and the entry boxes and the Input button stay on the screen.
        const QRect area = w.screen()->availableGeometry();
        QCOMPARE(area.size(), QSize(960, 540));
        QVERIFY(area.contains(w.frameGeometry()));
        QVERIFY(w.minimumHeight() <= area.height() && w.minimumWidth() <= area.width());
        // The memo list's columns have their shares of the list from the first moment.
        auto* memo = w.findChild<CMemoView*>();
        QVERIFY(memo);
        const double shares[] = {0.09, 0.213, 0.213, 0.44};
        for (int c = 0; c < 4; ++c)
            QCOMPARE(memo->List()->columnWidth(c), int(memo->List()->viewport()->width() * shares[c]));
        auto* input = w.findChild<QPushButton*>();
        QVERIFY(input && input->isVisible());
        QVERIFY(area.contains(QRect(input->mapToGlobal(QPoint(0, 0)), input->size())));
        w.resize(300, 200);
        QCOMPARE(w.size(), w.minimumSize());  // still kept from getting smaller
        QVERIFY(w.grab().save(ScreenshotPath("desktop_small_screen")));
    }

    void aboutBoxShowsTheIconAndFitsItsText() {
        Editor e;
        platform::QtPrompts prompts(e.frame.get());
        bool checked = false;
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!box) return;
            auto* icon = box->findChild<QLabel*>("aboutIcon");
            QLabel* text = nullptr;
            for (QLabel* l : box->findChildren<QLabel*>())
                if (l->text() == "LyraboxQ Version 1.1") text = l;
            checked = box->windowTitle() == "About Lyrabox" && !box->windowIcon().isNull() && icon &&
                      !icon->pixmap().isNull() && text && text->width() >= text->sizeHint().width() &&
                      box->size() == box->sizeHint() && box->width() < 400;
            box->grab().save(ScreenshotPath("about_box"));
            box->accept();
        });
        prompts.ShowAbout();
        QVERIFY(checked);
    }

    void keysSwitchPages() {
        Editor e;
        struct Step {
            QKeySequence key;
            int menu;  // the page's menu afterwards
        } steps[] = {
            {QKeySequence(Qt::CTRL | Qt::Key_Tab), 132},
            {QKeySequence(Qt::CTRL | Qt::Key_Tab), 128},  // round to the first page
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), 132},  // what X sends for Ctrl+Shift+Tab
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), 128},
            {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 132},
            {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 128},
            {QKeySequence(Qt::CTRL | Qt::Key_PageUp), 132},
        };
        for (const Step& s : steps) {
            e.Key(s.key);
            QCOMPARE(e.frame->MenuResource(), s.menu);
            QCOMPARE(e.frame->TabWindow()->ActiveIndex(), s.menu == 128 ? 0 : 1);
            QCOMPARE(e.app.m_nPage, s.menu == 128 ? 0 : 1);
            QVERIFY(e.frame->ActiveView().widget == e.frame->TabWindow()->ViewAt(s.menu == 128 ? 0 : 1));
        }
    }

    void ctrlQRunsTheCloseSequence() {
        Editor e;
        MemoBook list;
        SetMemoField(list.table[0], MemoField::Name, "unsaved");
        e.app.Document().SetMemoList(list, "Input contact");
        e.Key(QKeySequence("Ctrl+Q"));  // the scripted Cancel keeps the window
        QVERIFY(e.frame->isVisible());
        QCOMPARE(e.services.prompts.Texts(), std::vector<std::string>{"Do you want to save Memo File ?"});
        e.services.prompts.answers.push_back(Answer::No);
        e.Key(QKeySequence("Ctrl+Q"));
        QVERIFY(!e.frame->isVisible());
    }

    void settingsComeBackInASecondStart() {
        const QString kept = WriteMemo("kept.mmo");
        const QString gone = WriteMemo("gone.mmo");
        const QRect placed(40, 0, 720, 540);  // the first start took 600x540 as its minimum
        {
            Editor e(kept);
            e.app.OpenDocumentFile(gone.toStdString());
            e.frame->setGeometry(placed);
            QTest::qWait(10);
            QVERIFY(e.frame->close());
        }
        QFile::remove(gone);
        {
            Editor e;
            // Size and place come back (Qt keeps room for a title bar above the top).
            QCOMPARE(e.frame->geometry().size(), placed.size());
            QCOMPARE(e.frame->geometry().left(), placed.left());
            QCOMPARE(e.RecentItems(), QStringList{kept});  // the missing file is pruned, and said so
            QVERIFY(e.frame->statusBar()->currentMessage().contains("gone.mmo"));
            // A file that goes while the menu is open is taken off with a message.
            e.RecentItems();
            QFile::rename(kept, kept + ".moved");
            e.frame->RecentMenu()->actions().at(0)->trigger();
            QCOMPARE(e.services.prompts.Texts().size(), size_t(1));
            QVERIFY(QString::fromStdString(e.services.prompts.Texts()[0]).contains("no longer exists"));
            QFile::rename(kept + ".moved", kept);
            e.frame->OpenRecentFile(kept);
            QCOMPARE(QString::fromStdString(e.app.Document().MemoPath()), kept);
            QCOMPARE(e.RecentItems(), QStringList{kept});
            // Two recent files of one name are shown with their paths.
            const QString twin = TestTmp("desktop", "twin/kept.mmo");
            QDir().mkpath(QFileInfo(twin).absolutePath());
            QFile::copy(kept, twin);
            e.app.OpenDocumentFile(twin.toStdString());
            e.RecentItems();
            QCOMPARE(e.frame->RecentMenu()->actions().at(0)->text(), "&1 " + twin);
            QCOMPARE(e.frame->RecentMenu()->actions().at(1)->text(), "&2 " + kept);
            e.app.OpenDocumentFile(kept.toStdString());
        }
        // The file dialogs start where the last file of their kind was; a folder that has
        // gone since is forgotten.
        const QString folder = TestTmp("desktop", "pictures");
        QDir().mkpath(folder);
        CAppSettings().RememberFolder("bmp", folder + "/photo.bmp");
        CAppSettings().RememberFolder("mmo", kept);
        QCOMPARE(CAppSettings().LastFolder("bmp"), folder);
        QCOMPARE(CAppSettings().LastFolder("mmo"), QFileInfo(kept).absolutePath());
        QDir(folder).removeRecursively();
        QCOMPARE(CAppSettings().LastFolder("bmp"), QString());
        CAppSettings().Reset();  // what lyrabox --reset-settings does
        QCOMPARE(CAppSettings().LastFolder("mmo"), QString());
        {
            Editor e;
            QCOMPARE(e.frame->geometry().size(), QSize(600, 540));
            QCOMPARE(e.RecentItems(), QStringList{QString()});  // only the disabled "(none)"
        }
    }

    // Settings of earlier versions are read once into ~/.config/lyrabox and their file goes.
    void oldSettingsMoveOnce() {
        CAppSettings().Reset();
        QSettings old(CAppSettings::kOldOrganization, CAppSettings::kOldStoreName);
        old.setValue("recent/files", QStringList{"/old/a.mmo"});
        old.sync();
        QVERIFY(QFileInfo::exists(old.fileName()));
        QCOMPARE(CAppSettings().RecentFiles(), QStringList{"/old/a.mmo"});
        QVERIFY(!QFileInfo::exists(old.fileName()));
        QVERIFY(QSettings("lyrabox", "lyrabox").fileName().endsWith("/lyrabox/lyrabox.conf"));
        CAppSettings().Reset();
    }

    // Song files are recent files too.
    void songFilesOpenOnTheSongPage() {
        const QString good = TestTmp("desktop", "songs.kok"), bad = TestTmp("desktop", "no-such-folder/songs.kok");
        SongTables tables;
        tables[0].title[0] = "Arirang", tables[0].number[0] = "1024", tables[0].singer[0] = "Folk";
        QVERIFY(WriteSongFileTo(good.toStdString(), tables, SongCounts{1, 0, 0}));
        struct Case {
            QString path;
            bool opened;
            int songs;
            std::vector<std::string> said;
        } cases[] = {{good, true, 1, {}},
                     {bad, false, 0, {"File Read Fail: " + bad.toStdString() + ": cannot be opened: No such file or directory"}}};
        for (const Case& c : cases) {
            Editor e(QString(), true);
            QCOMPARE(e.app.OpenDocumentFile(c.path.toStdString()), c.opened);
            QCOMPARE(e.frame->TabWindow()->ActiveIndex(), c.opened ? 2 : 0);
            QCOMPARE(e.frame->MenuResource(), c.opened ? 107 : 128);
            QCOMPARE(e.app.Document().SongCount()[0], c.songs);
            QCOMPARE(e.services.prompts.Texts(), c.said);
            QCOMPARE(e.RecentItems().contains(c.path), c.opened);
        }
    }
};

int main(int argc, char** argv) {
    // A small scaled screen.
    return RunOnScaledScreen<DesktopTest>(argc, argv, "desktop", 1920, 1080, 2, false);
}

#include "desktop_qtest.moc"
