// The logo page in the real main window, driven with keys, menus and the mouse: the
// picture formats people have, zoom, the square cut, auto-scroll, the device-exact
// preview, the copied command line against lyrabox-cli, and stopping long work.
#include <QBuffer>
#include <QMouseEvent>
#include <QProcess>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "app/CommandIds.h"
#include "app/widgets/CLogoPreviewBar.h"
#include "image/LbImage.h"
#include "logo/widgets/CLogoView.h"
#include "logo/widgets/CSelectionBox.h"
#include "logo/widgets/ScreenCapture.h"
#include "ui/widgets/CFlatToolBar.h"
#include "window/support/EditorDriver.h"

namespace {

// Pixel (x, y) of the test pictures, y from the top: smooth enough for JPEG, and
// different almost everywhere.
QRgb Colour(int x, int y) { return qRgb((x * 3 + y) & 255, (y * 2 + x / 5) & 255, ((x ^ y) * 5) & 255); }

QString Dir(const QString& test) {
    const QString dir = QString(LYRA_TEST_TMP) + "/logopage_window/" + test;
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    return dir;
}

QImage Picture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, Colour(x, y));
    return image;
}

// The picture through the image library in a given depth and format (a 16-colour or
// 256-colour palette for the indexed ones).
void WriteWithLibrary(const QImage& picture, int bpp, uint32_t type, const QString& path) {
    LbImage image(uint32_t(picture.width()), uint32_t(picture.height()), uint32_t(bpp), type);
    if (bpp < 24)
        for (uint32_t i = 0; i < image.GetNumColors(); ++i)
            image.SetPaletteColor(uint8_t(i), uint8_t(i * 37), uint8_t(255 - i * 11), uint8_t(i * 5));
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb c = picture.pixel(x, y);
            if (bpp < 24)
                image.SetPixelIndex(x, picture.height() - 1 - y, uint8_t((x / 7 + y / 5) % image.GetNumColors()));
            else
                image.SetPixelColor(x, picture.height() - 1 - y, LbRgbQuad{uint8_t(qBlue(c)), uint8_t(qGreen(c)), uint8_t(qRed(c)), 0});
        }
    QVERIFY(image.Save(path.toStdString(), type));
}

std::string Bytes(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs a shell command line in a folder with lyrabox-cli on the PATH.
int RunShell(const QString& line, const QString& folder) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PATH", QString(LYRA_CLI_DIR) + ":" + env.value("PATH"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(folder);
    p.start("/bin/sh", {"-c", line});
    if (!p.waitForFinished(20000)) return -1;
    if (p.exitCode() != 0) qWarning("%s", p.readAllStandardError().constData());
    return p.exitCode();
}

}  // namespace

namespace logo {
// How QCOMPARE shows a selection that differs.
char* toString(const Rect& r) {
    return QTest::toString(QString("(%1, %2)-(%3, %4)").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom));
}
}  // namespace logo

class LogoPageTest : public QObject {
    Q_OBJECT
    std::unique_ptr<EditorDriver> f;
    CLogoView* view = nullptr;

    CSelectionBox* Box() { return view->SelectionBox(); }
    QString Status() { return f->frame->statusBar()->currentMessage(); }
    QAction* Action(int id) { return f->frame->Actions().Action(id); }
    // A command as the menu gives it, with its enabled state as the menu shows it.
    void Run(int id) {
        f->frame->Actions().Refresh();
        Action(id)->trigger();
        f->frame->Actions().Refresh();
    }

    // File > Open, the dialog answered with the path.
    bool Open(const QString& path) {
        f->services.dialogs.answers.push_back(path.toStdString());
        QTest::keyClick(f->frame.get(), Qt::Key_O, Qt::ControlModifier);
        return f->doc().LogoPath() == path.toStdString();
    }
    void Save(const QString& path) {
        f->frame->Actions().Refresh();
        f->services.dialogs.answers.push_back(path.toStdString());
        // Save As: each save names its own file (Save would write the last one again).
        QTest::keyClick(f->frame.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    }
    void Key(int key) {
        QTest::keyClick(f->frame.get(), Qt::Key(key), Qt::ControlModifier);
        f->frame->Actions().Refresh();
    }

    // A mouse move over the box with the left button held, from a point of the view.
    void DragTo(QPoint inView, Qt::KeyboardModifiers mods = {}) {
        const QPoint local = inView - Box()->pos();
        QMouseEvent e(QEvent::MouseMove, QPointF(local), QPointF(Box()->mapToGlobal(local)), Qt::NoButton,
                      Qt::LeftButton, mods);
        QApplication::sendEvent(Box(), &e);
    }
    // The pointer resting over a point of the box, no button held: picks the drag mode.
    void Hover(QPoint inBox) {
        QMouseEvent e(QEvent::MouseMove, QPointF(inBox), QPointF(Box()->mapToGlobal(inBox)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(Box(), &e);
    }
    // Hover at a point of the box, press, drag, release.
    void Drag(QPoint inBox, QPoint toInView, Qt::KeyboardModifiers mods = {}) {
        Hover(inBox);
        QTest::mousePress(Box(), Qt::LeftButton, mods, inBox);
        DragTo(toInView, mods);
        QTest::mouseRelease(Box(), Qt::LeftButton, mods, toInView - Box()->pos());
    }
    // The box's bottom-right handle to a point of the view.
    void SizeTo(QPoint inView, Qt::KeyboardModifiers mods = {}) {
        Drag(QPoint(Box()->width() - 2, Box()->height() - 2), inView, mods);
    }

    // Save As window.bmp in a folder of its own, then the command line run there:
    // its logo.bmp must be the window's file, byte for byte. Returns the window's bytes.
    std::string SaveBesideCommandLine(const QString& line, const QString& folder) {
        QDir().mkpath(folder);
        Save(folder + "/window.bmp");
        const std::string window = Bytes(folder + "/window.bmp");
        [&] {
            QVERIFY2(f->services.prompts.shown.empty(), qPrintable(line));
            QCOMPARE(window.size(), size_t(27702));  // 96 x 96, 24 bits
            QCOMPARE(RunShell(line, folder), 0);
            QVERIFY2(Bytes(folder + "/logo.bmp") == window, qPrintable(line));
        }();
        return window;
    }

    void Screenshot(const QString& name) {
        QTest::qWait(30);  // the layouts settle level by level
        QVERIFY(f->frame->grab().save(ScreenshotPath(name)));
    }

private slots:
    void initTestCase() { CFlatMenus::Install(); }
    void cleanupTestCase() { CFlatMenus::Remove(); }
    void init() {
        f = std::make_unique<EditorDriver>();
        f->ClickTab(1);
        view = f->frame->findChild<CLogoView*>();
        QVERIFY(view != nullptr);
    }
    void cleanup() { f.reset(); }

    // Zoom and fit change only what is shown: the selection and its status text stay
    // in picture pixels, and so does the logo.
    void zoomKeepsTheSelectionInPicturePixels() {
        const QString dir = Dir("zoom");
        QVERIFY(Picture(900, 700).save(dir + "/p.png", "PNG"));
        QVERIFY(Open(dir + "/p.png"));
        Drag(QPoint(40, 40), QPoint(141, 87));
        SizeTo(QPoint(300, 260));
        const logo::Rect s = view->PictureSelection();
        QVERIFY(s.left > 0 && s.Width() > 96);
        const std::string selectionText = logo::SelectionText(s);
        const QImage logo = CLogoView::DevicePreview(*f->doc().LogoImage());
        struct Step {
            int command;
            int key;  // Ctrl+key instead of the command, when not 0
            float zoom;
            bool fit;
        } steps[] = {{cmd::ZoomIn, 0, 2, false},       {cmd::ZoomIn, 0, 4, false},      {cmd::ZoomOut, 0, 2, false},
                     {cmd::ZoomActual, 0, 1, false},   {cmd::ZoomOut, 0, 0.5f, false},  {cmd::ZoomOut, 0, 0.25f, false},
                     {cmd::ZoomFit, 0, 0.25f, true},   {cmd::ZoomFit, 0, 0.25f, false}, {cmd::ZoomActual, 0, 1, false},
                     {0, Qt::Key_Equal, 2, false},     {0, Qt::Key_Minus, 1, false},    {0, Qt::Key_Minus, 0.5f, false},
                     {0, Qt::Key_0, 1, false}};
        for (const Step& step : steps) {
            if (step.key) Key(step.key);
            else Run(step.command);
            QCOMPARE(f->doc().Zoom(), step.zoom);
            QCOMPARE(bool(f->doc().FitToWindow()), step.fit);
            QVERIFY(view->PictureSelection() == s);
            QVERIFY(CLogoView::DevicePreview(*f->doc().LogoImage()) == logo);
            QTest::mouseMove(view->viewport(), QPoint(5, 5));
            QVERIFY2(Status().endsWith(QString::fromStdString(selectionText)), qPrintable(Status()));
            if (step.zoom == 2 && !step.fit && step.command == cmd::ZoomIn) {
                QCOMPARE(view->TotalSize(), QSize(1800, 1400));
                Screenshot("logo_page_zoomed");
            }
        }
        // Ctrl+wheel.
        QWheelEvent wheel(QPointF(20, 20), view->viewport()->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &wheel);
        QCOMPARE(f->doc().Zoom(), 2.0f);
        QVERIFY(view->PictureSelection() == s);
        // Scrolled far away, the status text still tells picture pixels, never negative ones.
        view->horizontalScrollBar()->setValue(900);
        QTest::mouseMove(view->viewport(), QPoint(5, 5));
        QVERIFY2(Status().endsWith(QString::fromStdString(selectionText)), qPrintable(Status()));
    }

    // Fit to Window shows the whole picture at one scale for both directions, and the
    // 96 x 96 selection stays 96 x 96 picture pixels through moves, a resized window,
    // Ctrl+0 and zooming in, with its centre in view.
    void fitAndZoomKeepTheSelectionInView() {
        const QString dir = Dir("fit");
        struct Case {
            const char* name;
            QSize picture;
        } cases[] = {{"wide.png", {2400, 700}}, {"tall.png", {500, 2200}}};
        for (const Case& c : cases) {
            const QImage picture = Picture(c.picture.width(), c.picture.height());
            QVERIFY(picture.save(dir + "/" + c.name, "PNG"));
            view->horizontalScrollBar()->setValue(0);
            view->verticalScrollBar()->setValue(0);
            if (f->doc().SourceImage()) f->services.prompts.answers.push_back(platform::Answer::No);  // the last logo
            QVERIFY(Open(dir + "/" + c.name));
            Drag(QPoint(50, 50), QPoint(250, 130));  // the box moved by (200, 80)
            QCOMPARE(view->PictureSelection(), (logo::Rect{200, 80, 296, 176}));
            Run(cmd::ZoomFit);
            QVERIFY(f->doc().FitToWindow());
            QCOMPARE(view->PictureSelection(), (logo::Rect{200, 80, 296, 176}));
            // The picture as shown: every sampled point is the picture's pixel at the one
            // scale, the box over the selection's pixels.
            auto checkShown = [&](const char* when) {
                const QSize client = view->viewport()->size() - QSize(2, 2) * CLogoView::kMargin;
                const double scale = std::min(double(client.width()) / c.picture.width(), double(client.height()) / c.picture.height());
                // The picture's shown size, whole pixels: one scale for both directions to within a pixel.
                const QSize size(int(c.picture.width() * scale), int(c.picture.height() * scale));
                const double sx = double(size.width()) / c.picture.width(), sy = double(size.height()) / c.picture.height();
                QVERIFY(std::abs(sx / sy - 1) <= 1.0 / std::min(size.width(), size.height()));
                const QImage shown = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
                const int m = CLogoView::kMargin;  // the picture starts this far in
                for (int y = 3; y < int(c.picture.height() * scale) - 1; y += 37)
                    for (int x = 3; x < int(c.picture.width() * scale) - 1; x += 41) {
                        if (Box()->geometry().contains(x + m, y + m)) continue;
                        // The picture pixel under the screen pixel's centre, or one beside
                        // it (where the painter rounds).
                        const int px = int((x + 0.5) / sx), py = int((y + 0.5) / sy);
                        bool found = false;
                        for (int dy = -1; dy <= 1 && !found; ++dy)
                            for (int dx = -1; dx <= 1 && !found; ++dx)
                                found = shown.pixel(x + m, y + m) == Colour(px + dx, py + dy);
                        QVERIFY2(found, qPrintable(QString("%1 %2: (%3, %4)").arg(c.name, when).arg(x).arg(y)));
                    }
                const logo::Rect s = view->PictureSelection();
                const QRect at = Box()->Selection();
                QVERIFY2(std::abs(at.left() - CLogoView::kMargin - s.left * scale) <= 1 && std::abs(at.width() - s.Width() * scale) <= 1,
                         qPrintable(QString("%1 %2").arg(c.name, when)));
                QVERIFY2(s.Width() == 96 && s.Height() == 96, qPrintable(QString("%1 %2: %3").arg(c.name, when, toString(s))));
            };
            checkShown("fitted");
            for (QPoint by : {QPoint(7, 3), QPoint(-5, 11), QPoint(13, -2)}) {
                const QPoint grab(9, 3);  // on the frame between the corner and middle handles
                Drag(grab, Box()->pos() + grab + by);
                checkShown("moved");
            }
            const logo::Rect moved = view->PictureSelection();
            f->frame->resize(f->frame->width() + 120, f->frame->height() - 60);
            QCoreApplication::processEvents();
            checkShown("resized");
            QCOMPARE(view->PictureSelection(), moved);

            Key(Qt::Key_0);  // Ctrl+0: the picture at its own size, the selection in view
            QVERIFY(!f->doc().FitToWindow());
            QCOMPARE(view->PictureSelection(), moved);
            QVERIFY2(view->viewport()->rect().contains(Box()->Selection()), c.name);
            for (float zoom : {2.0f, 4.0f}) {
                Key(Qt::Key_Equal);
                QCOMPARE(f->doc().Zoom(), zoom);
                QCOMPARE(view->PictureSelection(), moved);
                QVERIFY2(view->viewport()->rect().contains(Box()->Selection().center()), c.name);
            }
            if (c.picture.width() > c.picture.height()) Screenshot("logo_page_zoomed_selection");
            Run(cmd::ZoomFit);
            if (c.picture.width() > c.picture.height()) Screenshot("logo_page_fitted");
            Run(cmd::ZoomFit);
            Key(Qt::Key_0);
            f->frame->resize(f->frame->width() - 120, f->frame->height() + 60);
        }
    }

    // Capture is in the File menu and on the toolbar; the status line then tells the
    // picture's size.
    void captureFromTheMenuAndTheToolbar() {
        int captures = 0;
        QObject::disconnect(f->frame.get(), &CMainFrame::captureRequested, nullptr, nullptr);
        QObject::connect(f->frame.get(), &CMainFrame::captureRequested, [&] { ++captures; });
        QAction* item = nullptr;
        for (QAction* a : f->frame->menuBar()->actions().at(0)->menu()->actions())
            if (a->text().startsWith("&Capture screen")) item = a;
        QVERIFY(item != nullptr);
        f->frame->Actions().Refresh();
        QVERIFY(item->isEnabled());
        item->trigger();
        QCOMPARE(captures, 1);
        CFlatToolBar* bar = f->frame->ToolBar(page::Logo);
        int button = -1;
        for (int i = 0; i < bar->ButtonCount(); ++i)
            if (bar->CommandAt(i) == cmd::Capture) button = i;
        QVERIFY(button >= 0);
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->ButtonRect(button).center());
        QCOMPARE(captures, 2);
        QVERIFY(UseCapturedPicture(f->doc(), Picture(1600, 1000)));
        QCOMPARE(f->services.status.texts.back(), std::string("1600 x 1000 pixels"));
    }

    void shiftOrTheOptionKeepsTheSelectionSquare() {
        const QString dir = Dir("square");
        QVERIFY(Picture(700, 500).save(dir + "/p.png", "PNG"));
        QVERIFY(Open(dir + "/p.png"));
        // The handle's edge lands 4 pixels beyond the pointer, the selection 6 inside it.
        SizeTo(QPoint(300, 150));  // without Shift: any shape
        QCOMPARE(view->PictureSelection().Width(), 292);  // the picture starts 6 pixels in
        QCOMPARE(view->PictureSelection().Height(), 142);
        SizeTo(QPoint(250, 120), Qt::ShiftModifier);  // corner with Shift: the larger side
        logo::Rect s = view->PictureSelection();
        QCOMPARE(s.Width(), 242);
        QCOMPARE(s.Height(), 242);
        SizeTo(QPoint(480, 470), Qt::ShiftModifier);  // held by the picture's bottom end
        s = view->PictureSelection();
        QCOMPARE(s.Width(), s.Height());
        QVERIFY(s.bottom <= 500);

        Run(cmd::SquareSelection);  // the option: squared at once, and kept
        f->frame->Actions().Refresh();
        QVERIFY(Action(cmd::SquareSelection)->isChecked());
        SizeTo(QPoint(200, 100));
        s = view->PictureSelection();
        QCOMPARE(s.Width(), s.Height());
        // The middle-right handle widens the square downwards too.
        Drag(QPoint(Box()->width() - 2, Box()->height() / 2), QPoint(260, 60));
        s = view->PictureSelection();
        QCOMPARE(s.Width(), 252);
        QCOMPARE(s.Height(), 252);
        Drag(QPoint(100, 100), QPoint(260, 190));  // moved into the open: still the same square
        QCOMPARE(view->PictureSelection().Width(), 252);
        QCOMPARE(view->PictureSelection().Height(), 252);
        Screenshot("logo_page_square_selection");
        Run(cmd::SquareSelection);
        SizeTo(QPoint(300, 150));
        QVERIFY(view->PictureSelection().Width() != view->PictureSelection().Height());
    }

    // Dragging the box against the view's edge scrolls on until the far end of a
    // large picture is reached, in one drag.
    void draggingToTheEdgeScrolls() {
        const QString dir = Dir("autoscroll");
        WriteWithLibrary(Picture(3000, 2500), 24, LB_FORMAT_BMP, dir + "/big.bmp");
        QVERIFY(Open(dir + "/big.bmp"));
        Hover(QPoint(50, 50));
        QTest::mousePress(Box(), Qt::LeftButton, {}, QPoint(50, 50));
        const QPoint beyond(view->viewport()->width() + 150, view->viewport()->height() + 150);
        DragTo(beyond);
        QTRY_VERIFY_WITH_TIMEOUT(view->PictureSelection().right >= 2990 && view->PictureSelection().bottom >= 2490, 5000);
        QTest::mouseRelease(Box(), Qt::LeftButton, {}, QPoint(50, 50));
        const QPoint end = view->ScrollPosition();
        QVERIFY(end.x() > 2000 && end.y() > 2000);
        QTest::qWait(60);
        QCOMPARE(view->ScrollPosition(), end);  // the release stopped the scrolling
        QCOMPARE(view->PictureSelection().Width(), 96);
    }

    // The preview shows exactly what the saved device file holds, at 1:1 and at 2x,
    // with nothing drawn over the logo's edge pixels.
    void previewIsTheDeviceFile() {
        const QString dir = Dir("preview");
        QVERIFY(Picture(400, 300).save(dir + "/p.png", "PNG"));
        QVERIFY(Open(dir + "/p.png"));
        SizeTo(QPoint(230, 180));
        for (bool dither : {false, true}) {
            if (dither) Run(cmd::DitherToggle);
            f->frame->Actions().Refresh();
            QCOMPARE(Action(cmd::DitherToggle)->isChecked(), dither);
            const QString out = dir + (dither ? "/dithered.bmp" : "/logo.bmp");
            Save(out);
            LbImage saved(out.toStdString(), LB_FORMAT_BMP);
            QVERIFY(saved.IsValid());
            for (int scale : {1, 2}) {
                if (scale == 2) Run(cmd::PreviewDouble);
                QCoreApplication::processEvents();
                const QImage shown = f->frame->LogoPreview()->grab().toImage().convertToFormat(QImage::Format_RGB32);
                QCOMPARE(shown.size(), QSize(96 * scale, 96 * scale));
                for (int y = 0; y < 96; ++y)
                    for (int x = 0; x < 96; ++x) {
                        const LbRgbQuad c = saved.GetPixelColor(x, 95 - y);
                        if (shown.pixel(x * scale, y * scale) != qRgb(c.red, c.green, c.blue))
                            QFAIL(qPrintable(QString("dither %1 scale %2: pixel (%3, %4)").arg(dither).arg(scale).arg(x).arg(y)));
                    }
                if (scale == 2 && !dither) Screenshot("logo_page_device_preview_2x");
                if (scale == 2) Run(cmd::PreviewDouble);
            }
        }
        QCOMPARE(f->frame->PreviewBar()->size(), QSize(98, 98));
    }

    // Every kind of picture opens; random recipes made in the window and copied as a
    // command line give the same file as the window saves, byte for byte.
    void copiedCommandLineMakesTheSameFile() {
        const QString dir = Dir("recipes");
        const QImage wide = Picture(520, 380), tall = Picture(230, 610);
        WriteWithLibrary(wide, 24, LB_FORMAT_BMP, dir + "/wide.bmp");
        QVERIFY(tall.save(dir + "/tall picture.png", "PNG"));
        QVERIFY(wide.save(dir + "/wide.jpg", "JPG", 85));
        WriteWithLibrary(tall, 8, LB_FORMAT_GIF, dir + "/tall.gif");
        WriteWithLibrary(wide, 4, LB_FORMAT_BMP, dir + "/four.bmp");
        QVERIFY(tall.save(dir + "/named-wrong.bmp", "PNG"));  // a PNG under a BMP name
        const QStringList pictures = {"wide.bmp", "tall picture.png", "wide.jpg", "tall.gif", "four.bmp", "named-wrong.bmp"};
        const int keys[] = {Qt::Key_L, Qt::Key_R, Qt::Key_H, Qt::Key_E};
        QRandomGenerator random(20261207);
        for (int n = 0; n < 50; ++n) {
            const QString picture = pictures[n % pictures.size()];
            QVERIFY2(Open(dir + "/" + picture), qPrintable(picture));
            QCOMPARE(f->doc().SourceImage()->GetBpp(), 24u);
            const int commands = random.bounded(5);
            for (int i = 0; i < commands; ++i) Key(keys[random.bounded(4)]);
            if (random.bounded(2) != (f->doc().Dither() != 0)) Run(cmd::DitherToggle);
            Drag(QPoint(50, 50), QPoint(random.bounded(20, 300), random.bounded(20, 250)));
            SizeTo(Box()->pos() + QPoint(random.bounded(10, 260), random.bounded(10, 220)),
                   random.bounded(3) == 0 ? Qt::ShiftModifier : Qt::NoModifier);
            f->frame->Actions().Refresh();
            Run(cmd::CopyCommandLine);
            const QString line = QString::fromStdString(f->services.clipboard.text);
            const logo::Rect s = view->PictureSelection();  // the selection the status line tells
            const QString select = QString(" --select %1,%2,%3,%4 ").arg(s.left).arg(s.top).arg(s.right).arg(s.bottom);
            QVERIFY2(line.startsWith("lyrabox-cli logo ") && (line + " ").contains(select), qPrintable(line));
            SaveBesideCommandLine(line, dir + QString("/run%1").arg(n));
        }
        // A file no decoder takes is refused with its name and the reason.
        std::ofstream((dir + "/notes.png").toStdString()) << "not a picture at all";
        QVERIFY(!Open(dir + "/notes.png"));
        QCOMPARE(f->services.prompts.shown.size(), size_t(1));
        QVERIFY(f->services.prompts.Texts()[0].rfind("\"notes.png\" cannot be opened: ", 0) == 0);
    }

    // Pictures as viewers show them: a half-transparent PNG over white and over a chosen
    // background, and a phone photo stored on its side (EXIF orientation 6), give in the
    // window the logo that lyrabox-cli makes from the copied command line.
    void viewerPicturesGiveTheCommandLineLogo() {
        const QString dir = Dir("viewer");
        QImage clear(150, 120, QImage::Format_ARGB32);
        for (int y = 0; y < clear.height(); ++y)
            for (int x = 0; x < clear.width(); ++x) clear.setPixel(x, y, (Colour(x, y) & 0xFFFFFF) | uint32_t((x * 2 + y) & 255) << 24);
        QVERIFY(clear.save(dir + "/clear.png", "PNG"));
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        QVERIFY(Picture(200, 120).save(&buffer, "JPG", 90));
        const char app1[] = "\xFF\xE1\x00\x22" "Exif\0\0" "II*\0\x08\0\0\0" "\x01\0" "\x12\x01\x03\0\x01\0\0\0\x06\0\0\0" "\0\0\0\0";
        jpeg.insert(2, QByteArray(app1, 36));
        QFile phone(dir + "/phone.jpg");
        QVERIFY(phone.open(QIODevice::WriteOnly) && phone.write(jpeg) == jpeg.size());
        phone.close();
        struct Case {
            const char* file;
            QColor background;
            bool turned;
        } cases[] = {{"clear.png", Qt::white, false}, {"clear.png", QColor(20, 120, 200), false}, {"phone.jpg", Qt::white, true}};
        std::vector<std::string> logos;
        for (const Case& c : cases) {
            QVERIFY(Open(dir + "/" + c.file));
            view->SetColourChooser([&](QColor& colour) {
                colour = c.background;
                return true;
            });
            Run(cmd::LogoBackground);
            QCOMPARE(f->doc().SourceImage()->GetWidth(), c.turned ? 120u : 150u);
            QCOMPARE(Status().contains("rotated as the camera recorded"), c.turned);
            SizeTo(Box()->pos() + QPoint(110, 100));
            Run(cmd::CopyCommandLine);
            const QString line = QString::fromStdString(f->services.clipboard.text);
            logos.push_back(SaveBesideCommandLine(line, dir + "/" + QString::number(logos.size())));
        }
        QVERIFY(logos[0] != logos[1]);  // the background shows through
    }

    // Escape stops opening a large picture and turning it; the page keeps what it had.
    void escapeStopsLongWork() {
        const QString dir = Dir("escape");
        WriteWithLibrary(Picture(300, 200), 24, LB_FORMAT_BMP, dir + "/small.bmp");
        WriteWithLibrary(Picture(4000, 3000), 24, LB_FORMAT_BMP, dir + "/big.bmp");
        QVERIFY(Open(dir + "/small.bmp"));
        auto pressEscapeSoon = [this] {
            QTimer::singleShot(0, [this] { QTest::keyClick(f->frame.get(), Qt::Key_Escape); });
        };
        pressEscapeSoon();
        QVERIFY(!Open(dir + "/big.bmp"));
        QCOMPARE(f->doc().SourceImage()->GetWidth(), 300u);
        QVERIFY(f->services.prompts.shown.empty());
        QCOMPARE(f->services.status.texts.back(), std::string("Cancelled"));

        QVERIFY(Open(dir + "/big.bmp"));
        pressEscapeSoon();
        Key(Qt::Key_L);
        QCOMPARE(f->doc().SourceImage()->GetWidth(), 4000u);
        QVERIFY(f->doc().Recipe().commands.empty());
        Key(Qt::Key_L);  // not stopped this time: the escape flag was put down again
        QCOMPARE(f->doc().SourceImage()->GetWidth(), 3000u);
        // Every turn's progress starts from nothing, not from where the last one ended
        // or the reading of the picture left it.
        QStringList shown;
        connect(f->frame->statusBar(), &QStatusBar::messageChanged, this, [&](const QString& m) { shown << m; });
        for (int turn = 0; turn < 3; ++turn) {
            if (turn == 2) QVERIFY(Open(dir + "/big.bmp"));
            shown.clear();
            Key(Qt::Key_R);
            QVERIFY(!shown.isEmpty());
            QVERIFY2(shown[0].startsWith("Rotating right... 0%"), qPrintable(shown[0]));
        }
        disconnect(f->frame->statusBar(), nullptr, this, nullptr);
    }
};

QTEST_MAIN(LogoPageTest)
#include "logo_page_qtest.moc"
