#pragma once
// Screen capture, command 31105: a desktop window (or the whole desktop) chosen in
// the "Capture" dialog becomes the source picture of the logo page.
#include <QImage>
#include <cstdint>
#include <vector>

#include "logo/CaptureList.h"

class CLyraDoc;
class QWidget;

// The top-level windows of the desktop, front to back; empty where the display server
// gives no window list (Wayland, offscreen).
std::vector<logo::DesktopWindow> DesktopWindows();

struct ScreenGrab {
    bool offScreen = false;  // the window lies wholly off the screen: nothing to take
    QImage picture;          // null when the display server gives no screen picture
};
// The picture of the window on screen (0: the whole primary screen), clipped to the
// screen; the window is kept above the others while it is taken, and the frame is
// raised afterwards.
ScreenGrab GrabScreenArea(uint64_t window, QWidget* frame);

// Makes the picture the document's source picture (type 0, 24 bits per pixel), with a
// working logo to cut into when there is none yet, then hint 1025 and the picture
// information. False when the picture is null.
bool UseCapturedPicture(CLyraDoc& doc, const QImage& picture);

// The command: dialog, grab, picture. frame is the main window.
void OnCapture(QWidget& frame, CLyraDoc& doc);
