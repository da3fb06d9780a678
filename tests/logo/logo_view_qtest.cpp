// The logo page driven as a person would: a picture, the selection box dragged and
// sized with the mouse, the preview and the status text after every step, scrolling,
// picture commands, a new picture, screen capture, and screenshots to look at.
#include <QDir>
#include <QDockWidget>
#include <QListWidget>
#include <QMainWindow>
#include <QScrollBar>
#include <QStatusBar>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "app/CommandIds.h"
#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "app/widgets/CLogoPreviewBar.h"
#include "image/widgets/LbImageQt.h"
#include "logo/widgets/CCaptureDlg.h"
#include "logo/widgets/CLogoView.h"
#include "logo/widgets/CSelectionBox.h"
#include "logo/widgets/ScreenCapture.h"
#include "logo/support/widgets/TestBmp.h"
#include "platform/Services.h"

namespace {

// Pixel (x, y) of the test pictures, y from the top: every pixel differs.
QRgb Colour(int x, int y) { return qRgb((x * 7 + y) & 255, (y * 5 + (x >> 8)) & 255, ((x ^ y) + (y >> 8) * 11) & 255); }

std::string Bmp(int w, int h) { return TestBmp(w, h, Colour); }

}  // namespace

class LogoViewTest : public QObject {
    Q_OBJECT
    platform::ScriptedServices* ui = nullptr;
    CLyraApp* app = nullptr;
    QMainWindow* host = nullptr;
    CLogoView* view = nullptr;
    CLogoPreview* preview = nullptr;
    const QPoint o = CLogoView::Origin();  // where the picture starts in the view
    QString dir;

    CLyraDoc& Doc() { return app->Document(); }
    CSelectionBox* Box() { return view->SelectionBox(); }
    QString Status() { return host->statusBar()->currentMessage(); }

    std::string Picture(int w, int h) {
        const std::string path = (dir + QString("/p%1x%2.bmp").arg(w).arg(h)).toStdString();
        std::ofstream(path, std::ios::binary) << Bmp(w, h);
        return path;
    }
    // Opens a picture, answering No when asked about the logo cut from the last one.
    void Open(int w, int h) {
        if (Doc().HasUnsavedChanges(DataKind::Logo)) ui->prompts.answers.push_back(platform::Answer::No);
        QVERIFY(Doc().OnOpenDocument(Picture(w, h)));
    }

    // The preview as shown equals the picture cut at the selection (in picture
    // coordinates), resampled with the nearest pixel.
    void CheckPreview(QRect cut, const char* where) {
        const QImage shown = preview->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(96, 96));
        const float sx = float(double(cut.width()) / 96), sy = float(double(cut.height()) / 96);
        for (int y : {1, 40, 94})
            for (int x : {1, 47, 94}) {
                const int px = cut.width() == 96 ? x : int(x * double(sx));
                const int fromBottom = cut.height() == 96 ? 95 - y : int((95 - y) * double(sy));
                // As the device shows it: 5 bits a channel.
                const QRgb expected = AsDeviceFile(Colour(cut.left() + px, cut.top() + cut.height() - 1 - fromBottom));
                if (shown.pixel(x, y) != expected)
                    QFAIL(qPrintable(QString("%1: preview (%2,%3) is %4, expected %5")
                                         .arg(where).arg(x).arg(y).arg(shown.pixel(x, y), 0, 16).arg(expected, 0, 16)));
            }
    }

    void Screenshot(const QString& name) {
        QDir().mkpath(LYRA_SCREENSHOTS);
        QVERIFY(host->grab().save(QString(LYRA_SCREENSHOTS) + "/" + name + ".png"));
    }

private slots:
    void init() {
        dir = QString(LYRA_TEST_TMP) + "/logopage/" + QTest::currentTestFunction();
        QDir(dir).removeRecursively();
        QDir().mkpath(dir);
        ui = new platform::ScriptedServices;
        app = new CLyraApp;
        app->m_nPage = 1;
        host = new QMainWindow;
        host->setStatusBar(new QStatusBar(host));
        auto* side = new QWidget(host);
        preview = new CLogoPreview(side);
        view = new CLogoView(host);
        host->setCentralWidget(view);
        host->addDockWidget(Qt::RightDockWidgetArea, [&] {
            auto* dock = new QDockWidget("Preview", host);
            dock->setWidget(side);
            side->setMinimumSize(100, 100);
            return dock;
        }());
        Doc().AddView(view);
        view->SetPreview(preview);
        host->setWindowTitle("Logo test");
        host->resize(600, 500);
        host->show();
        QVERIFY(QTest::qWaitForWindowExposed(host));
        view->OnInitialUpdate();
    }
    void cleanup() {
        delete host;
        delete app;
        delete ui;
    }

    void firstSelectionAndPreview() {
        QCOMPARE(view->TotalSize(), QSize(100, 100));
        Open(500, 400);
        QVERIFY(Box() != nullptr);
        // The picture starts 6 pixels in, so the box's frame shows whole at its corner.
        QCOMPARE(Box()->geometry(), QRect(-6, -6, 108, 108).translated(o));
        QCOMPARE(Box()->Handles()[7].left, 102);
        QCOMPARE(Box()->Handles()[7].bottom, 108);
        QCOMPARE(Box()->Selection(), QRect(0, 0, 96, 96).translated(o));
        QCOMPARE(view->TotalSize(), QSize(500, 400));
        QCOMPARE(Status(), QString("  (0, 0)-(96, 96)"));
        CheckPreview(QRect(0, 0, 96, 96), "after loading");
        QVERIFY(ui->prompts.shown.empty());
        Screenshot("logo_page_loaded");
    }

    // Moves the pointer to a place of the view while the box holds the mouse.
    void MoveTo(QPoint inView) { QTest::mouseMove(Box(), inView - Box()->pos()); }

    void dragMovesTheBox() {
        Open(500, 400);
        CSelectionBox* box = Box();
        QTest::mouseMove(box, QPoint(50, 50));  // hover inside: drag mode 0
        QCOMPARE(int(box->DragMode()), 0);
        QCOMPARE(box->cursor().shape(), Qt::SizeAllCursor);
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(box->geometry(), QRect(0, 0, 108, 108));
        CheckPreview(QRect(0, 0, 96, 96), "after a press without moving");
        struct Step {
            QPoint pointer;  // in the view
            QPoint box;      // where the box window ends up
        } steps[] = {
            {{64, 54}, {14, 4}},
            {{150, 120}, {100, 70}},
            {{-100, -100}, {0, 0}},      // held at the left and top, outside the box
            {{600, 600}, {403, 303}},    // held 5 pixels beyond the picture's end
            {{300, 200}, {250, 150}},
        };
        for (const Step& s : steps) {
            MoveTo(s.pointer);
            QCOMPARE(box->pos(), s.box);
            const QRect selection = box->geometry().adjusted(6, 6, -6, -6).translated(-o);
            QCOMPARE(Status(), QString("  (%1, %2)-(%3, %4)")
                                   .arg(selection.left()).arg(selection.top())
                                   .arg(selection.right() + 1).arg(selection.bottom() + 1));
            CheckPreview(selection.intersected(QRect(0, 0, 500, 400)), "while moving");
        }
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(50, 50));
        Screenshot("logo_page_dragged");
    }

    void dragSizesTheBox() {
        Open(500, 400);
        CSelectionBox* box = Box();
        QTest::mouseMove(box, QPoint(105, 105));  // the bottom-right handle
        QCOMPARE(int(box->DragMode()), 8);
        QCOMPARE(box->cursor().shape(), Qt::SizeFDiagCursor);
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(105, 105));
        MoveTo(QPoint(120, 150));
        QCOMPARE(box->geometry(), QRect(0, 0, 124, 154));
        CheckPreview(QRect(0, 0, 112, 142), "after sizing from the corner");
        MoveTo(QPoint(90, 70));
        QCOMPARE(box->geometry(), QRect(0, 0, 94, 74));
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(0, 0));

        QTest::mouseMove(box, QPoint(box->width() - 2, box->height() / 2));  // the middle of the right edge
        QCOMPARE(int(box->DragMode()), 5);
        QCOMPARE(box->cursor().shape(), Qt::SizeHorCursor);
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(box->width() - 2, box->height() / 2));
        MoveTo(QPoint(250, 48));
        QCOMPARE(box->geometry(), QRect(0, 0, 254, 74));  // wider only
        QCOMPARE(Status(), QString("  (0, 0)-(242, 62)"));
        CheckPreview(QRect(0, 0, 242, 62), "a wider strip squeezed into 96 x 96");
        Screenshot("logo_page_sized");
        MoveTo(QPoint(900, 48));  // past the end of the scroll area
        QCOMPARE(box->geometry().right() + 1, 511);
        QCOMPARE(Status(), QString("  (0, 0)-(499, 62)"));
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(0, 0));
    }

    void scrolledPointerAndSelection() {
        Open(1500, 1200);
        view->horizontalScrollBar()->setValue(100);
        QCOMPARE(view->ScrollPosition(), QPoint(100, 0));
        QCOMPARE(Box()->pos(), QPoint(-100, 0));  // the box lies on the content
        int x = 10, y = 20;
        view->ViewToImage(x, y);
        QCOMPARE(QPoint(x, y), QPoint(104, 14));
        QTest::mouseMove(view->viewport(), QPoint(150, 20));
        // The selection is told in picture pixels: scrolled away, it is still (0, 0)-(96, 96).
        QCOMPARE(Status(), QString("x: 244 y: 14  (0, 0)-(96, 96)"));
        Doc().DeleteImages();
        Open(150, 100);
        QTest::mouseMove(view->viewport(), QPoint(160, 20));  // beyond the picture: only the selection
        QCOMPARE(Status(), QString("  (0, 0)-(96, 96)"));
    }

    void tallPictureAndRotation() {
        Open(60, 500);
        QCOMPARE(Box()->Selection(), QRect(0, 0, 60, 96).translated(o));
        CheckPreview(QRect(0, 0, 60, 96), "a 60 x 96 strip stretched");
        const QRect before = Box()->geometry();
        Doc().RunCommand(cmd::RotateLeft);
        QCOMPARE(Box()->geometry(), before);
        QCOMPARE(view->TotalSize(), QSize(500, 60));
        QCOMPARE(Doc().LogoImage()->GetWidth(), 96u);
        // The logo is cut from the rotated picture at the same place, (0, 0)-(60, 60),
        // where rotated (X, Y) is old (59 - Y, X). Preview pixel (1, 1) takes column 0
        // and, counting 94 rows from the bottom, row 59 - trunc(94 * 0.625) = 1.
        const QImage shown = preview->grab().toImage();
        QCOMPARE(shown.pixel(1, 1), AsDeviceFile(Colour(58, 0)));
    }

    void newPictureKeepsScrollInProportion() {
        Open(1200, 900);
        view->horizontalScrollBar()->setValue(300);
        Open(2400, 900);
        QCOMPARE(view->ScrollPosition().x(), 600);
        QCOMPARE(Box()->pos(), QPoint(0, 0));
        CheckPreview(QRect(600, 0, 96, 96), "cut at the scrolled place of the new picture");
        // Starting the views again (New, a file for another page) keeps the page whole.
        const QRect box = Box()->geometry();
        view->OnInitialUpdate();
        QVERIFY(Box() != nullptr);
        QCOMPARE(Box()->geometry(), box);
        QCOMPARE(view->TotalSize(), QSize(2400, 900));
        CheckPreview(QRect(600, 0, 96, 96), "the same cut after the views start again");
    }

    void refusedPictureLeavesThePicture() {
        Open(300, 300);
        std::ofstream((dir + "/eight.bmp").toStdString(), std::ios::binary) << std::string("BM") + std::string(26, '\0') + '\x08' + std::string(40, '\0');
        QVERIFY(!Doc().OnOpenDocument((dir + "/eight.bmp").toStdString()));
        QCOMPARE(ui->prompts.Texts().size(), size_t(1));
        QVERIFY(ui->prompts.Texts()[0].rfind("\"eight.bmp\" cannot be opened: ", 0) == 0);
        QVERIFY(Box() != nullptr);
        QTest::mouseMove(Box(), QPoint(50, 50));
        QTest::mousePress(Box(), Qt::LeftButton, {}, QPoint(50, 50));
        MoveTo(QPoint(100, 100));  // the old picture is still there to cut from
        QTest::mouseRelease(Box(), Qt::LeftButton, {}, QPoint(50, 50));
        QVERIFY(Doc().LogoImage() != nullptr);
        QCOMPARE(Doc().SourceImage()->GetWidth(), 300u);
        CheckPreview(QRect(Box()->Selection().topLeft() - o, QSize(96, 96)), "cut from the picture kept");
    }

    // On X11 the dialog lists the desktop's windows and the whole screen can be taken;
    // elsewhere (offscreen, Wayland) only "Desktop" is offered.
    void desktopWindowsAndGrab() {
        const std::vector<logo::DesktopWindow> windows = DesktopWindows();
        if (QGuiApplication::platformName() != "xcb") {
            QVERIFY(windows.empty());
            return;
        }
        bool listed = false;
        for (const logo::DesktopWindow& w : windows)
            listed = listed || (w.title == "Logo test" && w.visible && !w.minimised && w.clientWidth > 4);
        QVERIFY(listed);
        const ScreenGrab grab = GrabScreenArea(0, host);
        QVERIFY(!grab.offScreen);
        QCOMPARE(grab.picture.size(), QGuiApplication::primaryScreen()->size());
        const ScreenGrab window = GrabScreenArea(uint64_t(host->winId()), host);
        QVERIFY(!window.picture.isNull());
        QVERIFY(window.picture.width() >= 100);
    }

    void captureBecomesThePicture() {
        CCaptureDlg dialog(logo::CaptureListEntries(logo::CollectCaptureWindows(DesktopWindows())), host);
        QCOMPARE(dialog.windowTitle(), QString("Capture"));
        QCOMPARE(dialog.List()->item(0)->text(), QString("Desktop"));
        QCOMPARE(dialog.List()->currentRow(), 0);
        dialog.accept();
        QCOMPARE(dialog.m_hWndSelected, uint64_t(0));
        QCOMPARE(dialog.m_strSelected, QString("Desktop"));

        QImage desktop(1024, 768, QImage::Format_RGB32);
        for (int y = 0; y < 768; ++y)
            for (int x = 0; x < 1024; ++x) desktop.setPixel(x, y, Colour(x, y));
        QVERIFY(UseCapturedPicture(Doc(), desktop));
        QCOMPARE(Doc().SourceImage()->GetWidth(), 1024u);
        QCOMPARE(Doc().SourceImage()->GetHeight(), 768u);
        QCOMPARE(Doc().SourceImage()->GetBpp(), 24u);
        QCOMPARE(Doc().SourceImage()->GetType(), 0u);
        QCOMPARE(Box()->Selection(), QRect(0, 0, 96, 96).translated(o));
        CheckPreview(QRect(0, 0, 96, 96), "captured desktop");
        QCOMPARE(ui->status.texts.back(), std::string("1024 x 768 pixels"));
        Screenshot("logo_page_captured");
    }
};

QTEST_MAIN(LogoViewTest)
#include "logo_view_qtest.moc"
