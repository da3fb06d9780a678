#pragma once
// Where the main window may stand on a screen: the whole window, the window manager's
// frame included, inside the screen's available area (without panels and docks), and a
// minimum size the person can still shrink the window to on that screen. Plain integers,
// in the toolkit's logical pixels, so that every screen and scale can be checked without
// a window system.

namespace ui {

// A rectangle with exclusive right and bottom edges.
struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowRect&) const = default;
};

// What the window manager draws around the window: title bar and borders.
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const FrameMargins&) const = default;
};

// The frame assumed while the window manager has not yet told its own (before the
// window is first shown): a title bar and thin borders, as the common ones draw them at
// scale 1, which is more than they take at larger scales.
constexpr FrameMargins kAssumedFrame{4, 32, 4, 4};

struct WindowSize {
    int width = 0;
    int height = 0;
    bool operator==(const WindowSize&) const = default;
};

// The room the window's own area has on the screen once the frame is drawn around it
// (at least 1 x 1).
WindowSize RoomFor(const FrameMargins& frame, const WindowRect& available);

// The window's own area (frame excluded) made no larger than that room and moved, as
// little as it can, so that its frame lies within the available area. A window that
// already fits stays as it is.
WindowRect FitWindow(const WindowRect& window, const FrameMargins& frame, const WindowRect& available);

// A minimum size that the room can hold with a tenth to spare, so that the window can
// still be made smaller and moved: the wanted one, cut to that.
WindowSize FitMinimum(const WindowSize& wanted, const FrameMargins& frame, const WindowRect& available);

}  // namespace ui
