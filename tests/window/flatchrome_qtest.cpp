// The flat toolbar's pictures and painting, and the flat menus' measuring, mnemonics
// and marking.
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include "app/CommandIds.h"
#include "window/support/EditorDriver.h"
#include "ui/widgets/CFlatToolBar.h"
#include "ui/widgets/QtColors.h"

namespace {

// Two 35x20 pictures: the first black with one pixel whose grey level is exactly 192
// and one white pixel; the second all transparent but a red square.
QImage TestBitmap() {
    QImage img(70, 20, QImage::Format_RGB32);
    img.fill(QColor(192, 192, 192));
    QPainter p(&img);
    p.fillRect(5, 5, 20, 10, Qt::black);
    p.end();
    img.setPixelColor(6, 6, QColor(192, 193, 191));
    img.setPixelColor(7, 6, Qt::white);
    for (int y = 5; y < 15; ++y)
        for (int x = 40; x < 50; ++x) img.setPixelColor(x, y, Qt::red);
    return img;
}

struct Bar {
    QWidget host;
    QAction a{"A"}, b{"B"}, c{"C"};
    CFlatToolBar* bar = new CFlatToolBar(&host);
    Bar() {
        bar->SetButtons({1, 0, 2, 3}, {&a, nullptr, &b, &c});
        bar->LoadImages(35, TestBitmap());
        host.resize(300, 80);
        host.show();
        (void)QTest::qWaitForWindowExposed(&host);
    }
    QImage Shot() { return bar->grab().toImage(); }
};

}  // namespace

class FlatChromeTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { CFlatMenus::Install(); }
    void cleanupTestCase() { CFlatMenus::Remove(); }

    void pictureListsAreRecolouredOnce() {
        Bar t;
        const std::vector<QImage>& grey = t.bar->Images(CFlatToolBar::Normal);
        const std::vector<QImage>& hot = t.bar->Images(CFlatToolBar::Hot);
        const std::vector<QImage>& off = t.bar->Images(CFlatToolBar::Disabled);
        QCOMPARE(grey.size(), size_t(2));
        QCOMPARE(grey[0].size(), QSize(35, 20));
        QColor shadow = t.bar->palette().color(QPalette::Dark);
        struct Case {
            int x, y;
            QColor grey, hot, disabled;
            int alpha;
        } cases[] = {
            {6, 6, QColor(193, 193, 193), QColor(192, 193, 191), QColor(), 255},  // 192 -> 193
            {7, 6, QColor(255, 255, 255), Qt::white, Qt::white, 255},
            {10, 10, Qt::black, Qt::black, shadow, 255},
            {0, 0, QColor(0, 0, 0, 0), QColor(0, 0, 0, 0), QColor(0, 0, 0, 0), 0},  // transparent
        };
        for (const Case& c : cases) {
            QCOMPARE(grey[0].pixelColor(c.x, c.y).alpha(), c.alpha);
            if (!c.alpha) continue;
            QCOMPARE(grey[0].pixelColor(c.x, c.y), c.grey);
            QCOMPARE(hot[0].pixelColor(c.x, c.y), c.hot);
            if (c.disabled.isValid()) QCOMPARE(off[0].pixelColor(c.x, c.y).rgb(), c.disabled.rgb());
        }
        QCOMPARE(grey[1].pixelColor(5 + 3, 5 + 3), QColor(76, 76, 76));
        QCOMPARE(hot[1].pixelColor(8, 8), QColor(Qt::red));
    }

    void buttonsAreLaidOutWithTheirBorders() {
        Bar t;
        QCOMPARE(t.bar->ButtonSize(), QSize(42, 27));
        QCOMPARE(t.bar->ButtonRect(0), QRect(1, 3, 42, 27));
        QCOMPARE(t.bar->ButtonRect(1), QRect(43, 3, 8, 27));  // the separator
        QCOMPARE(t.bar->ButtonRect(2), QRect(51, 3, 42, 27));
        QCOMPARE(t.bar->sizeHint(), QSize(1 + 42 + 8 + 42 + 42 + 6, 3 + 27 + 4));
        QCOMPARE(t.bar->ButtonAt(QPoint(45, 10)), -1);
    }

    void paintsEachStateInItsShade() {
        Bar t;
        QPalette pal = t.bar->palette();
        QColor face = pal.color(QPalette::Button), hl = pal.color(QPalette::Highlight);
        t.c.setEnabled(false);
        t.b.setCheckable(true);
        t.b.setChecked(true);
        QRect a = t.bar->ButtonRect(0), b = t.bar->ButtonRect(2), c = t.bar->ButtonRect(3);
        QImage img = t.Shot();
        // At rest: face, grey picture at +3.
        QCOMPARE(img.pixelColor(a.left() + 1, a.top() + 1), face);
        QCOMPARE(img.pixelColor(a.left() + 3 + 6, a.top() + 3 + 6), QColor(193, 193, 193));
        // Checked only: a box in the checked shade.
        QCOMPARE(img.pixelColor(b.topLeft()), hl);
        QCOMPARE(img.pixelColor(b.left() + 1, b.top() + 1), Adjusted(hl, 80, -66));
        // Separator line in the darkened face.
        QRect sep = t.bar->ButtonRect(1);
        QCOMPARE(img.pixelColor((sep.left() + sep.right() + 1) / 2 - 1, sep.center().y()), Adjusted(face, -15, 0));
        // A disabled button shows the shadow tint.
        t.a.setEnabled(false);
        QCOMPARE(t.Shot().pixelColor(a.left() + 3 + 10, a.top() + 3 + 10).rgb(), pal.color(QPalette::Dark).rgb());
        t.a.setEnabled(true);

        // Hot: the light box and the colour picture one pixel up and left.
        QTest::mouseMove(t.bar, a.center());
        QCOMPARE(t.bar->HotItem(), 0);
        img = t.Shot();
        QCOMPARE(img.pixelColor(a.topLeft()), hl);
        QCOMPARE(img.pixelColor(a.left() + 1, a.top() + 1), Adjusted(hl, 70, -57));
        QCOMPARE(img.pixelColor(a.left() + 2 + 6, a.top() + 2 + 6), QColor(192, 193, 191));

        // Pressed: the pressed shade and the grey picture at rest.
        QTest::mousePress(t.bar, Qt::LeftButton, Qt::NoModifier, a.center());
        img = t.Shot();
        QCOMPARE(img.pixelColor(a.left() + 1, a.top() + 1), Adjusted(hl, 50, -50));
        QCOMPARE(img.pixelColor(a.left() + 3 + 6, a.top() + 3 + 6), QColor(193, 193, 193));
        QSignalSpy triggered(&t.a, &QAction::triggered);
        QTest::mouseRelease(t.bar, Qt::LeftButton, Qt::NoModifier, a.center());
        QCOMPARE(triggered.count(), 1);

        // Hot and checked at once: the pressed shade.
        QTest::mouseMove(t.bar, b.center());
        img = t.Shot();
        QCOMPARE(img.pixelColor(b.left() + 1, b.top() + 1), Adjusted(hl, 50, -50));

        // A disabled button never gets a box, even under the mouse, and ignores clicks.
        QTest::mouseMove(t.bar, c.center());
        img = t.Shot();
        QCOMPARE(img.pixelColor(c.left() + 1, c.top() + 1), face);
        QSignalSpy disabledClicks(&t.c, &QAction::triggered);
        QTest::mouseClick(t.bar, Qt::LeftButton, Qt::NoModifier, c.center());
        QCOMPARE(disabledClicks.count(), 0);

        // Indeterminate: an outline in the dark shadow colour, no box.
        t.bar->SetIndeterminate(0, true);
        QTest::mouseMove(t.bar, QPoint(250, 10));
        img = t.Shot();
        QCOMPARE(img.pixelColor(a.topLeft()).rgb(), pal.color(QPalette::Shadow).rgb());
        QCOMPARE(img.pixelColor(a.left() + 1, a.top() + 1), face);
        QCOMPARE(img.pixelColor(a.left() + 2 + 6, a.top() + 2 + 6), QColor(192, 193, 191));
    }

    void popupItemsShareTheWidestWidth() {
        QMainWindow w;
        CFlatMenus::Mark(&w, true);
        QMenu menu(&w);
        QAction* open = menu.addAction("&Open...\tCtrl+O");
        QAction* wide = menu.addAction("A much wider item text");
        QAction* sep = menu.addSeparator();
        QAction* exit = menu.addAction("E&xit");
        CFlatMenus::ConvertMenu(&w, &menu);
        QFontMetrics fm(QApplication::font());
        int text = fm.horizontalAdvance("A much wider item text");
        int key = fm.horizontalAdvance("Ctrl+O");
        ui::ItemSize measured = CFlatMenus::MeasureItem(&menu, open);
        QCOMPARE(measured.width, text + key + 42);
        QCOMPARE(CFlatMenus::MeasureItem(&menu, exit).width, text + key + 42);
        QCOMPARE(measured.height, ui::MenuItemHeight(fm.height()));
        QCOMPARE(CFlatMenus::MeasureItem(&menu, sep).height, ui::MenuSeparatorHeight(fm.height()));
        menu.popup(QPoint(10, 10));
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        for (QAction* a : {open, wide, exit}) QCOMPARE(menu.actionGeometry(a).width(), text + key + 42);
        QCOMPARE(menu.actionGeometry(open).height(), measured.height);
        QCOMPARE(menu.actionGeometry(sep).height(), ui::MenuSeparatorHeight(fm.height()));
        QVERIFY(menu.style() == CFlatMenus::Style());
        {
            // Where the widest text has a key, the two keep a gap between them.
            QMenu keyed(&w);
            QAction* item = keyed.addAction("&Open...\tCtrl+O");
            keyed.addAction("E&xit");
            CFlatMenus::ConvertMenu(&w, &keyed);
            const int gap = CFlatMenus::MeasureItem(&keyed, item).width - 42 - fm.horizontalAdvance("Open...") - key;
            QVERIFY2(gap >= fm.averageCharWidth(), qPrintable(QString::number(gap)));
        }
        // The three-line border: a dark outline, then two light lines.
        QImage img = menu.grab().toImage();
        QColor face = menu.palette().color(QPalette::Button);
        QCOMPARE(img.pixelColor(0, 10), Adjusted(menu.palette().color(QPalette::Dark), -40, 0));
        QCOMPARE(img.pixelColor(1, 10), Adjusted(face, 75, 0));
        QCOMPARE(img.pixelColor(2, 10), Adjusted(face, 75, 0));
        // The light strip left of the items, then the lighter item background.
        QRect r = menu.actionGeometry(exit);
        QCOMPARE(img.pixelColor(r.left() + 5, r.top() + 1), Adjusted(face, 20, 0));
        QCOMPARE(img.pixelColor(r.left() + 25, r.top() + 1), Adjusted(face, 75, 0));
        menu.hide();
    }

    void barTextsTurnToTheShadowColourWhileTheWindowIsInactive() {
        EditorDriver f;
        QMenuBar* bar = f.frame->menuBar();
        const QRect file = bar->actionGeometry(bar->actions().at(0));
        auto textPixels = [&](QColor colour) {
            QImage img = bar->grab(file).toImage();
            int n = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) n += img.pixelColor(x, y).rgb() == colour.rgb();
            return n;
        };
        const QColor text = bar->palette().color(QPalette::WindowText);
        const QColor shadow = bar->palette().color(QPalette::Dark);
        struct Step {
            bool active;
            bool textColour, shadowColour;
        } steps[] = {{true, true, false}, {false, false, true}, {true, true, false}};
        QWidget other;
        other.show();
        for (const Step& s : steps) {
            QApplication::setActiveWindow(s.active ? static_cast<QWidget*>(f.frame.get()) : &other);
            QTRY_COMPARE(f.frame->isActiveWindow(), s.active);
            QCOMPARE(textPixels(text) > 0, s.textColour);
            QCOMPARE(textPixels(shadow) > 0, s.shadowColour);
        }
    }

    void unmarkedWindowsKeepTheSystemMenus() {
        QMainWindow w;
        QMenu menu(&w);
        menu.addAction("&Open");
        CFlatMenus::ConvertMenu(&w, &menu);
        QVERIFY(menu.style() != CFlatMenus::Style());
        QVERIFY(!menu.property(CFlatMenus::kItemDataProperty).isValid());
        QVERIFY(!CFlatMenus::IsMarked(&w));
        CFlatMenus::Mark(&w, true);
        QVERIFY(CFlatMenus::IsMarked(&w));
        QCOMPARE(w.property("FlatWndProp_Menu").toInt(), 1);
        CFlatMenus::Mark(&w, false);
        QVERIFY(!CFlatMenus::IsMarked(&w));
    }

    void installIsReferenceCounted() {
        QVERIFY(CFlatMenus::Installed());
        QStyle* style = CFlatMenus::Style();
        CFlatMenus::Install();
        QCOMPARE(CFlatMenus::Style(), style);
        CFlatMenus::Remove();
        QVERIFY(CFlatMenus::Installed());
        QCOMPARE(CFlatMenus::Style(), style);
    }

    void menuCharactersPickItemsByMnemonic() {
        EditorDriver f;
        f.ClickTab(1);
        QMenu* edit = f.frame->menuBar()->actions().at(1)->menu();
        edit->popup(QPoint(0, 0));  // converts it, which fills the text cache
        QVERIFY(QTest::qWaitForWindowExposed(edit));
        struct Case {
            QChar c;
            int item;
        } cases[] = {{'u', 0}, {'e', 1}, {'l', 3}, {'L', 3}, {'r', 4}, {'h', 6}, {'v', 7}, {'x', -1}, {u'가', -1}};
        for (Case c : cases) QCOMPARE(CFlatMenus::MenuChar(edit, c.c), c.item);
        edit->hide();

        // Typing a mnemonic in an open pop-up runs the item's command.
        f.ClickTab(0);
        QMenu* file = f.frame->menuBar()->actions().at(0)->menu();
        file->popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(file));
        QTest::keyClick(file, Qt::Key_O);
        QTest::qWait(5);
        QCOMPARE(f.services.dialogs.requests.size(), size_t(1));
        QCOMPARE(f.services.dialogs.requests[0].title, std::string("Open memo file"));
        QVERIFY(!file->isVisible());

        // An "&&" pair marks nothing.
        QMainWindow w;
        CFlatMenus::Mark(&w, true);
        QMenu menu(&w);
        QAction* a = menu.addAction("Fish&&Chips");
        a->setProperty("commandId", 1);
        QAction* b = menu.addAction("&Copy");
        b->setProperty("commandId", 2);
        CFlatMenus::ConvertMenu(&w, &menu);
        QCOMPARE(CFlatMenus::MenuChar(&menu, 'c'), 1);
        QCOMPARE(CFlatMenus::TextCache().ForCommand(1), std::string("Fish&&Chips"));
    }

    void barItemsAreConvertedWithTheirTexts() {
        EditorDriver f;
        QMenuBar* bar = f.frame->menuBar();
        QVERIFY(bar->style() == CFlatMenus::Style());
        QAction* file = bar->actions().at(0);
        QCOMPARE(CFlatMenus::TextCache().ForSubMenu(file->menu()), std::string("&File"));
        int text = QFontMetrics(QApplication::font()).horizontalAdvance("File");
        QCOMPARE(CFlatMenus::MeasureItem(bar, file).width, text + 4);
        QCOMPARE(bar->actionGeometry(file).width(), text + 4);

        // A pop-up opened from the bar overlaps the open item by one row and joins it.
        bar->setActiveAction(file);
        QMenu* menu = file->menu();
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QRect item(bar->mapToGlobal(bar->actionGeometry(file).topLeft()), bar->actionGeometry(file).size());
        QCOMPARE(menu->y(), item.bottom());
        QImage img = menu->grab().toImage();
        QColor face = menu->palette().color(QPalette::Button);
        QCOMPARE(img.pixelColor(item.left() - menu->x() + 5, 0), Adjusted(face, 20, 0));
        QCOMPARE(img.pixelColor(item.right() + 10 - menu->x(), 0), Adjusted(menu->palette().color(QPalette::Dark), -40, 0));
        menu->hide();
    }
};

QTEST_MAIN(FlatChromeTest)
#include "flatchrome_qtest.moc"
