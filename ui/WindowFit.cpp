#include "ui/WindowFit.h"

#include <algorithm>

namespace ui {

WindowSize RoomFor(const FrameMargins& frame, const WindowRect& available) {
    return {std::max(1, available.width - frame.left - frame.right),
            std::max(1, available.height - frame.top - frame.bottom)};
}

WindowRect FitWindow(const WindowRect& window, const FrameMargins& frame, const WindowRect& available) {
    const WindowSize room = RoomFor(frame, available);
    WindowRect fitted = window;
    fitted.width = std::min(window.width, room.width);
    fitted.height = std::min(window.height, room.height);
    // One axis: the frame's near edge no further out than the area's start, its far
    // edge no further than the area's end; the start wins when both cannot hold.
    auto place = [](int start, int size, int before, int after, int areaStart, int areaSize) {
        const int lowest = areaStart + before;
        const int highest = areaStart + areaSize - after - size;
        return std::max(lowest, std::min(start, highest));
    };
    fitted.left = place(window.left, fitted.width, frame.left, frame.right, available.left, available.width);
    fitted.top = place(window.top, fitted.height, frame.top, frame.bottom, available.top, available.height);
    return fitted;
}

WindowSize FitMinimum(const WindowSize& wanted, const FrameMargins& frame, const WindowRect& available) {
    // A minimum as large as the room would pin the window to the screen's edges.
    const WindowSize room = RoomFor(frame, available);
    return {std::min(wanted.width, room.width - room.width / 10), std::min(wanted.height, room.height - room.height / 10)};
}

}  // namespace ui
