// The editor on a small screen at scale 2 (1600x1000 pixels, 800x500 for the window)
// with a window manager's frame: at the first start, at a second start with a saved
// place larger than the screen, and shrunk to its minimum, the whole window (title bar
// and status bar included) stays on the screen, with the memo entry boxes, the Input
// button and the logo preview inside it.
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <functional>

#include "app/widgets/CLogoPreviewBar.h"
#include "memo/widgets/MemoView.h"
#include "ui/widgets/MemoEdit.h"
#include "window/support/ScaledScreen.h"

namespace {

// A widget's place on the screen.
QRect OnScreen(const QWidget* w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }

}  // namespace

class HiDpiTest : public QObject {
    Q_OBJECT
private slots:
    void theWholeWindowStaysOnTheScreen() {
        struct Start {
            const char* what;
            std::function<void(CMainFrame&)> before;  // what the person did in the start before
        } starts[] = {
            {"first start", nullptr},
            {"after a larger window was kept", [](CMainFrame& w) { w.setGeometry(-40, -30, 1400, 900); }},
            {"after the window was moved down", [](CMainFrame& w) { w.move(200, 300); }},
        };
        for (const Start& s : starts) {
            CAppSettings().Reset();
            if (s.before) {
                DesktopStart earlier;
                s.before(*earlier.frame);
                QTest::qWait(10);
                QVERIFY(earlier.frame->close());
            }
            DesktopStart start;
            CMainFrame& w = *start.frame;
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            const QRect area = w.screen()->availableGeometry();
            QCOMPARE(area.size(), QSize(800, 500));
            QVERIFY2(w.frameGeometry() != w.geometry(), "the screen gives the window a frame");
            auto fits = [&](const char* when) {
                const QString where = QString("%1, %2").arg(s.what, when);
                QVERIFY2(area.contains(w.frameGeometry()), qPrintable(where));
                auto* memo = w.findChild<CMemoView*>();
                for (QWidget* part : {static_cast<QWidget*>(w.statusBar()), static_cast<QWidget*>(memo->InputButton()),
                                      static_cast<QWidget*>(memo->Edit(CMemoView::IdEmail))}) {
                    QVERIFY2(part->isVisible(), qPrintable(where));
                    QVERIFY2(OnScreen(&w).contains(OnScreen(part)), qPrintable(where + " " + part->objectName()));
                }
            };
            fits("started");
            // The minimum leaves room to shrink the window on this screen.
            const QSize room = area.size() - (w.frameGeometry().size() - w.geometry().size());
            QVERIFY2(w.minimumWidth() <= room.width() && w.minimumHeight() < room.height(), qPrintable(QString("%1 %2 %3 %4 %5").arg(s.what).arg(w.minimumWidth()).arg(w.minimumHeight()).arg(room.width()).arg(room.height())));
            w.resize(1, 1);
            QCoreApplication::processEvents();
            QCOMPARE(w.size(), w.minimumSize());
            fits("at its minimum");
            w.resize(room);
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            if (!s.before) QVERIFY(w.grab().save(ScreenshotPath("window_scale2_memo")));
            ClickTabOf(w, 1);
            QTest::qWait(20);  // the logo page's menu bar is laid out
            QVERIFY(OnScreen(&w).contains(OnScreen(w.PreviewBar())));
            if (!s.before) QVERIFY(w.grab().save(ScreenshotPath("window_scale2_logo")));
            w.close();
        }
    }
};

int main(int argc, char** argv) {
    // A 1600x1000 screen at scale 2, whose windows get a frame.
    return RunOnScaledScreen<HiDpiTest>(argc, argv, "hidpi", 1600, 1000, 2, true);
}

#include "hidpi_qtest.moc"
