#include "logo/widgets/ScreenCapture.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "app/CommandIds.h"
#include "app/LyraDoc.h"
#include "image/widgets/LbImageQt.h"
#include "logo/PictureInfo.h"
#include "logo/widgets/CCaptureDlg.h"
#include "platform/Services.h"

#ifdef LYRA_HAVE_X11
#include "logo/widgets/X11Desktop.h"
#endif

namespace {

constexpr const char* kNoCapture = "Screen capture is not available on this display";

// Lets the raised window repaint before it is copied.
void Pause(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

std::vector<logo::DesktopWindow> DesktopWindows() {
#ifdef LYRA_HAVE_X11
    if (QGuiApplication::platformName() == "xcb") return x11::TopLevelWindows();
#endif
    return {};
}

ScreenGrab GrabScreenArea(uint64_t window, QWidget* frame) {
    ScreenGrab grab;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return grab;
    const QRect screenRect(QPoint(0, 0), screen->size());
    QRect area = screenRect;
#ifdef LYRA_HAVE_X11
    if (window != 0) {
        grab.offScreen = !x11::WindowFrameRect(window, area) || (area &= screenRect).isEmpty();
        if (grab.offScreen) return grab;
        x11::SetAbove(window, true);
    }
#endif
    // The raised window, or for the whole desktop the area the closed Capture dialog
    // covered, is painted again before the screen is copied.
    Pause(100);
    // The desktop's own picture, cut to the window's place on it.
    const QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
#ifdef LYRA_HAVE_X11
    if (window != 0) x11::SetAbove(window, false);
#endif
    if (frame != nullptr) frame->raise();
    grab.picture = shot.toImage();
    return grab;
}

bool UseCapturedPicture(CLyraDoc& doc, const QImage& picture) {
    if (picture.isNull()) return false;
    auto source = std::make_unique<LbImage>();
    if (!LbCreateFromQImage(*source, picture.convertToFormat(QImage::Format_RGB32))) return false;
    // The capture replaces the picture after the question about an unsaved logo.
    if (!doc.TakePicture(std::move(source))) return false;
    ShowPictureInfo(doc);
    return true;
}

void OnCapture(QWidget& frame, CLyraDoc& doc) {
    uint64_t chosen = 0;
    {
        CCaptureDlg dialog(logo::CaptureListEntries(logo::CollectCaptureWindows(DesktopWindows())), &frame);
        if (dialog.exec() != QDialog::Accepted) return;
        chosen = dialog.m_hWndSelected;
    }  // the dialog is gone from the screen before anything is copied
    const ScreenGrab grab = GrabScreenArea(chosen, &frame);
    if (grab.offScreen) return;
    if (grab.picture.isNull()) {
        platform::services().prompts->Show(kNoCapture, platform::Buttons::Ok);
        return;
    }
    UseCapturedPicture(doc, grab.picture);
}
