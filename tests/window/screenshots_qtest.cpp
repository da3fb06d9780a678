// Pictures of the window for a person to look at: each page, an open menu, a hot
// toolbar button.
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>

#include "app/CommandIds.h"
#include "memo/MemoFile.h"
#include "platform/Cp949.h"
#include "song/SongFile.h"
#include "window/support/EditorDriver.h"
#include "ui/widgets/CFlatToolBar.h"

class ScreenshotsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { CFlatMenus::Install(); }
    void cleanupTestCase() { CFlatMenus::Remove(); }

    void pages() {
        EditorDriver f(EditorDriver::Options{true, ""});
        const char* names[] = {"page_memo", "page_logo", "page_song"};
        for (int page = 0; page < 3; ++page) {
            f.ClickTab(page);
            QTest::qWait(20);
            QVERIFY(f.frame->grab().save(ScreenshotPath(names[page])));
        }
    }

    // The README's pictures: each page with something on it, written beside the others;
    // scripts/update-screenshots.sh copies them into docs/ when someone means to.
    void pagesForTheReadme() {
        QDir().mkpath(LYRA_TEST_TMP);
        const QString memo = QString(LYRA_TEST_TMP) + "/readme.mmo";
        const QString picture = QString(LYRA_TEST_TMP) + "/readme.bmp";
        MemoTable table{};
        const char* contacts[][3] = {{"홍길동", "010-1234-5678", "hong@example.com"},
                                     {"Kim Minji", "02-555-0199", "minji.kim@example.org"},
                                     {"이영희", "031-777-2024", "yhlee@example.net"}};
        for (int row = 0; row < 3; ++row)
            for (int field = 0; field < 3; ++field)
                SetMemoField(table[row], MemoField(field), cp949::FromUtf8(contacts[row][field]).text);
        QVERIFY(WriteMemoFile(memo.toStdString(), table, 2));
        QImage image(320, 240, QImage::Format_RGB32);
        QPainter p(&image);
        QLinearGradient sky(0, 0, 0, 240);
        sky.setColorAt(0, QColor(70, 140, 230));
        sky.setColorAt(1, QColor(250, 200, 120));
        p.fillRect(image.rect(), sky);
        p.setBrush(QColor(255, 220, 60));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPoint(90, 80), 36, 36);
        p.setBrush(QColor(40, 110, 60));
        p.drawPolygon(QPolygon({QPoint(0, 240), QPoint(120, 130), QPoint(220, 240)}));
        p.setBrush(QColor(30, 80, 50));
        p.drawPolygon(QPolygon({QPoint(140, 240), QPoint(250, 110), QPoint(320, 200), QPoint(320, 240)}));
        p.end();
        QVERIFY(image.save(picture, "BMP"));

        const QString songs = QString(LYRA_TEST_TMP) + "/readme.kok";
        SongTables tables;
        SongCounts counts{3, 0, 0};
        const char* list[][3] = {{"아리랑", "1024", "민요"}, {"Yesterday", "2101", "The Beatles"}, {"봄날", "3588", "방탄소년단"}};
        for (int i = 0; i < 3; ++i) {
            tables[0].title[i] = cp949::FromUtf8(list[i][0]).text;
            tables[0].number[i] = list[i][1];
            tables[0].singer[i] = cp949::FromUtf8(list[i][2]).text;
        }
        QVERIFY(WriteSongFileTo(songs.toStdString(), tables, counts));

        EditorDriver f(EditorDriver::Options{true, ""});
        QVERIFY(f.app.OpenDocumentFile(memo.toStdString()));
        f.ClickTab(1);
        QVERIFY(f.app.OpenDocumentFile(picture.toStdString()));
        f.ClickTab(2);
        f.services.dialogs.answers.push_back(songs.toStdString());
        QVERIFY(f.frame->Router().Execute(cmd::FileOpen));
        const char* names[] = {"page_memo", "page_logo", "page_song"};
        const QString readme = QString(LYRA_SCREENSHOTS) + "/readme";
        QDir().mkpath(readme);
        for (int page = 0; page < 3; ++page) {
            f.ClickTab(page);
            QTest::qWait(30);
            QVERIFY(f.frame->grab().save(readme + "/" + names[page] + ".png"));
        }
    }

    void openMenus() {
        EditorDriver f(EditorDriver::Options{true, ""});
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
        EditorDriver f;
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
