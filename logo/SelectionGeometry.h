#pragma once
// Geometry of the selection box on the logo page, in plain integers so that every rule
// of it can be checked without a window: the frame around the selection, the eight
// handles and their hit-test order, and the limits of moving and sizing the box.
#include <array>
#include <cstdint>
#include <string>

namespace logo {

// A rectangle with exclusive right and bottom edges.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    Rect Inflated(int d) const { return {left - d, top - d, right + d, bottom + d}; }
    bool operator==(const Rect&) const = default;
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// Thickness of the box's frame: the selection is the box window shrunk by this much.
constexpr int kBoxFrame = 6;

inline Rect BoxForSelection(const Rect& selection) { return selection.Inflated(kBoxFrame); }
inline Rect SelectionOfBox(const Rect& box) { return box.Inflated(-kBoxFrame); }

// Handle numbers in hit-test order; 0 is the inside of the box (dragging moves it).
enum Handle : uint8_t {
    kMove = 0,
    kTopLeft = 1,
    kTopMiddle = 2,
    kTopRight = 3,
    kMiddleLeft = 4,
    kMiddleRight = 5,
    kBottomLeft = 6,
    kBottomMiddle = 7,
    kBottomRight = 8,
};

// The cursor shape shown over a handle.
enum class BoxCursor { Move, DiagonalNwSe, Vertical, DiagonalNeSw, Horizontal };

// The eight handle rectangles of a box window of w x h, in box client coordinates;
// element i is handle i + 1.
std::array<Rect, 8> HandleRects(int w, int h);

// The first handle (1 to 8) containing the point, or kMove.
Handle HitTestHandle(const std::array<Rect, 8>& handles, Point p);

BoxCursor CursorOfHandle(Handle handle);

// The scroll area the box lives in: its total size and the current scroll position.
struct ScrollState {
    int totalWidth = 0;
    int totalHeight = 0;
    int scrollX = 0;
    int scrollY = 0;
};

// Drag mode 0: the new top-left of the box window (view client coordinates) for the
// pointer p (view client coordinates), the grab point (box client coordinates) and the
// box's size. The frame stays at most 6 pixels left of / above the origin and at most
// 5 pixels beyond the end of the scroll area; the scroll position does not enter.
Point MoveBoxTo(Point p, Point grab, int boxWidth, int boxHeight, const ScrollState& scroll);

// Drag modes 1 to 8: the box rectangle after moving the edges the handle moves to the
// pointer p (view client coordinates).
Rect SizeBox(const Rect& box, Handle mode, Point p, const ScrollState& scroll);

// How the logo view maps its client coordinates to picture coordinates.
struct ViewMapping {
    int scrollX = 0;
    int scrollY = 0;
    float zoom = 1.0f;
    bool fitToWindow = false;
    int pictureWidth = 0;
    int pictureHeight = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    // Where the picture's top-left is drawn in the unscrolled view: a margin around
    // the picture that shows the whole frame of a box at its edge.
    int origin = 0;
};

// The scale of a picture fitted into the client area: the same for both axes, so the
// picture keeps its proportions (the side that reaches the client's edge first decides).
// 1 without a picture or a client area.
double FitScale(const ViewMapping& m);
// The size the picture is shown at: its size times the zoom, or times FitScale when
// fitted into the window (truncated).
Point ShownSize(const ViewMapping& m);

// A point in view client coordinates in picture coordinates (rows from the top).
Point ViewToImage(Point p, const ViewMapping& m);
// The view client point that shows picture point p: the inverse of ViewToImage
// (rounded up, so that mapping the result back gives p again where the zoom allows).
Point ImageToView(Point p, const ViewMapping& m);

// The box after a size step (drag modes 1 to 8) made square: the selection's side is
// the larger of its width and height for a corner handle and the dragged one for an
// edge handle, the corner or edge opposite the handle staying where it is, then cut
// back to the same limits SizeBox keeps.
Rect SquareBox(const Rect& box, Handle mode, const ScrollState& scroll);

// The status texts of the logo view.
std::string PointerText(Point picture);           // "x: %d y: %d"
std::string SelectionText(const Rect& selection);  // "  (%d, %d)-(%d, %d)"

}  // namespace logo
