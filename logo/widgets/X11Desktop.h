#pragma once
// The X11 side of screen capture: the top-level windows with their state and titles,
// a window's place on the screen, and keeping a window above the others.
#include <QRect>
#include <cstdint>
#include <vector>

#include "logo/CaptureList.h"

namespace x11 {

// Client windows front to back (from the window manager's stacking list, or the root
// window's children where there is no window manager).
std::vector<logo::DesktopWindow> TopLevelWindows();
// The rectangle of the window with its frame, in screen coordinates.
bool WindowFrameRect(uint64_t window, QRect& rect);
// Keeps the window above all others (or lets it go back), neither moved nor sized.
void SetAbove(uint64_t window, bool above);

}  // namespace x11
