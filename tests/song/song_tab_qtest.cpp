// The song page as the third tab of the main window: its menu, keys, brand captions and
// check marks through the window's command routing.
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>
#include <QTest>

#include "app/CommandIds.h"
#include "song/widgets/CSongTitle.h"
#include "ui/widgets/MemoEdit.h"
#include "window/support/EditorDriver.h"

class SongTabTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { CFlatMenus::Install(); }
    void cleanupTestCase() { CFlatMenus::Remove(); }

    void brandKeysSwitchCaptionsAndCheckMarks() {
        EditorDriver f(EditorDriver::Options{true, ""});
        f.ClickTab(2);
        auto* page = dynamic_cast<CSongTitle*>(f.frame->ActiveView().widget);
        QVERIFY(page);
        QCOMPARE(f.frame->MenuResource(), 107);
        QCOMPARE(QApplication::focusWidget(), page->TitleEdit());

        page->TitleEdit()->setText("아리랑");
        page->SingerEdit()->setText("민요");
        page->NumberEdit()->setText("1");
        QTest::keyClick(page->NumberEdit(), Qt::Key_Return);
        QCOMPARE(f.doc().SongCount()[0], 1);

        f.frame->Actions().Refresh();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(f.frame->windowTitle(), QString("Lyrabox Plus(Pellix)"));
        QCOMPARE(page->List()->topLevelItemCount(), 0);
        f.frame->Actions().Refresh();
        CCommandActions& a = f.frame->Actions();
        QVERIFY(a.Action(cmd::BrandPellix)->isChecked());
        QVERIFY(!a.Action(cmd::BrandZandri)->isChecked());
        QVERIFY(!a.Action(cmd::ShowPellix)->isEnabled());
        QVERIFY(a.Action(cmd::ShowQuorvel)->isEnabled());
        QVERIFY(!a.Action(cmd::CopyAnnounce)->isEnabled());
        QVERIFY(!a.Action(cmd::EditFind)->isEnabled());
        QVERIFY(a.Action(cmd::FileSave)->isEnabled());

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(f.frame->windowTitle(), QString("Lyrabox Plus(Zandri)"));
        QCOMPARE(page->List()->topLevelItemCount(), 1);
        f.frame->Actions().Refresh();
        QVERIFY(a.Action(cmd::EditFind)->isEnabled());
        QVERIFY(f.frame->grab().save(ScreenshotPath("song_tab")));

        // The copy pop-up of the list is a flat menu of the window like the others:
        // all items as wide as the widest text plus 42 pixels.
        page->OnListRightClick(page->List()->visualItemRect(page->List()->topLevelItem(0)).center());
        QMenu* copy = page->CopyMenu();
        QVERIFY(copy && copy->isVisible());
        QVERIFY(copy->style() == CFlatMenus::Style());
        int widest = 0;
        for (QAction* a : copy->actions())
            widest = std::max(widest, QFontMetrics(QApplication::font()).horizontalAdvance(a->text()));
        for (QAction* a : copy->actions()) QCOMPARE(copy->actionGeometry(a).width(), widest + 42);
        QCOMPARE(CFlatMenus::TextCache().ForCommand(cmd::CopyToQuorvel), std::string("Quorvel로 복사"));
        copy->hide();

        // Leaving the page and coming back starts the search after the last song.
        f.ClickTab(0);
        QCOMPARE(f.frame->windowTitle(), QString("LyraboxQ"));
        f.ClickTab(2);
        QCOMPARE(page->SearchPosition(), 1);
    }
};

QTEST_MAIN(SongTabTest)
#include "song_tab_qtest.moc"
