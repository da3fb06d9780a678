// Pictures of the window for a person to look at: each page, an open menu, a hot
// toolbar button.
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>

#include "app/CommandIds.h"
#include "support/FrameFixture.h"
#include "ui/widgets/CFlatToolBar.h"

class ScreenshotsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { CFlatMenus::Install(); }
    void cleanupTestCase() { CFlatMenus::Remove(); }

    void pages() {
        FrameFixture f(true, true);
        const char* names[] = {"page_memo", "page_logo", "page_song"};
        for (int page = 0; page < 3; ++page) {
            f.ClickTab(page);
            QTest::qWait(20);
            QVERIFY(f.frame->grab().save(ScreenshotPath(names[page])));
        }
    }

    void openMenus() {
        FrameFixture f(true, true);
        struct Shot { int tab; int menu; const char* name; };
        for (Shot s : {Shot{0, 0, "menu_memo_file"}, Shot{0, 1, "menu_memo_edit"}, Shot{1, 1, "menu_logo_edit"}, Shot{2, 0, "menu_song_file"},
                       Shot{2, 1, "menu_song_brand"}}) {
            f.ClickTab(s.tab);
            QTest::qWait(20);
            QMenuBar* bar = f.frame->menuBar();
            QAction* title = bar->actions().at(s.menu);
            bar->setActiveAction(title);
            QTest::qWait(50);
            QMenu* menu = title->menu();
            QVERIFY(menu->isVisible());
            // Select the second item so the highlight shows too.
            menu->setActiveAction(menu->actions().at(1));
            QTest::qWait(20);
            QImage shot = f.frame->grab().toImage();
            QPainter p(&shot);
            p.drawPixmap(f.frame->mapFromGlobal(menu->pos()), menu->grab());
            p.end();
            QVERIFY(shot.save(ScreenshotPath(s.name)));
            menu->hide();
            QTest::qWait(20);
        }
    }

    void hotToolbarButton() {
        FrameFixture f(false, true);
        for (int page : {0, 1}) {
            f.ClickTab(page);
            QTest::qWait(20);
            CFlatToolBar* bar = f.frame->ToolBar(page);
            QTest::mouseMove(f.frame->TabWindow(), QPoint(300, 300));
            int button = page == 0 ? 1 : 0;  // Open, enabled on both pages
            QTest::mouseMove(bar, bar->ButtonRect(button).center());
            QTest::qWait(20);
            QCOMPARE(bar->HotItem(), button);
            QVERIFY(f.frame->grab().save(ScreenshotPath(page ? "toolbar_hot_logo" : "toolbar_hot_memo")));
        }
    }
};

QTEST_MAIN(ScreenshotsTest)
#include "screenshots_qtest.moc"
