// The logo page inside the main window: the preview bar shows the working logo, the
// status bar takes the selection, the capture command reaches the page, and a
// screenshot of the whole window with a picture, the box and the preview.
#include <QDir>
#include <QScrollBar>
#include <QStatusBar>
#include <QtTest>
#include <fstream>

#include "app/CommandIds.h"
#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "app/widgets/CLogoPreviewBar.h"
#include "app/tabs/widgets/TTabWnd.h"
#include "app/widgets/CMainFrame.h"
#include "app/widgets/CommandActions.h"
#include "logo/widgets/CLogoView.h"
#include "logo/widgets/CSelectionBox.h"
#include "logo/support/widgets/TestBmp.h"
#include "platform/Services.h"

namespace {

QRgb Colour(int x, int y) { return qRgb((x * 3) & 255, (y * 2) & 255, ((x + y) / 4) & 255); }

std::string Bmp(int w, int h) { return TestBmp(w, h, Colour); }

}  // namespace

class LogoFrameTest : public QObject {
    Q_OBJECT
private slots:
    void pictureBoxAndPreviewInTheWindow() {
        platform::ScriptedServices ui;
        CLyraApp app;
        CMainFrame frame(app);
        app.ProcessShellCommand("");
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        // A click on the "My Logo" tab, as a person switches pages.
        const TTabEntry& tab = frame.TabWindow()->Entry(1);
        QTest::mouseClick(frame.TabWindow(), Qt::LeftButton, Qt::NoModifier, QPoint((tab.left + tab.right) / 2, 15));
        QCOMPARE(app.m_nPage, page::Logo);

        auto* view = frame.findChild<CLogoView*>();
        QVERIFY(view != nullptr);
        QCOMPARE(view->Preview(), frame.LogoPreview());
        QVERIFY(QObject::disconnect(&frame, &CMainFrame::captureRequested, view, &CLogoView::Capture));

        const QString dir = QString(LYRA_TEST_TMP) + "/logoframe";
        QDir().mkpath(dir);
        const std::string path = (dir + "/picture.bmp").toStdString();
        std::ofstream(path, std::ios::binary) << Bmp(640, 480);
        QVERIFY(app.Document().OnOpenDocument(path));
        QVERIFY(view->SelectionBox() != nullptr);
        QCOMPARE(frame.statusBar()->currentMessage(), QString("  (0, 0)-(96, 96)"));

        // The preview control shows the top-left 96 x 96 pixels at 1:1, as the device
        // shows them (5 bits a channel), up to its edges.
        const QImage shown = frame.LogoPreview()->grab().toImage();
        for (QPoint p : {QPoint(0, 0), QPoint(50, 60), QPoint(95, 95)})
            QCOMPARE(shown.pixel(p), AsDeviceFile(Colour(p.x(), p.y())));

        // Ctrl+L rotates the picture; the box stays, the logo follows.
        const QRect box = view->SelectionBox()->geometry();
        frame.Router().Execute(cmd::RotateLeft);
        QCOMPARE(view->SelectionBox()->geometry(), box);
        QCOMPARE(app.Document().SourceImage()->GetWidth(), 480u);
        QCOMPARE(view->TotalSize(), QSize(480, 640));
        QVERIFY(view->verticalScrollBar()->maximum() > 0);
        QCoreApplication::processEvents();

        frame.Actions().Refresh();
        QDir().mkpath(LYRA_SCREENSHOTS);
        QVERIFY(frame.grab().save(QString(LYRA_SCREENSHOTS) + "/logo_page_in_frame.png"));
    }
};

QTEST_MAIN(LogoFrameTest)
#include "logo_frame_qtest.moc"
