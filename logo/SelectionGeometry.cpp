#include "logo/SelectionGeometry.h"

#include <algorithm>
#include <cstdio>

namespace logo {

std::array<Rect, 8> HandleRects(int w, int h) {
    const int mx = w / 2, my = h / 2, f = kBoxFrame;
    return {{
        {0, 0, f, f},                    // top-left
        {mx - 3, 0, mx + 3, f},          // top-middle
        {w - f, 0, w, f},                // top-right
        {0, my - 3, f, my + 3},          // middle-left
        {w - f, my - 3, w, my + 3},      // middle-right
        {0, h - f, f, h},                // bottom-left
        {mx - 3, h - f, mx + 3, h},      // bottom-middle
        {w - f, h - f, w, h},            // bottom-right
    }};
}

Handle HitTestHandle(const std::array<Rect, 8>& handles, Point p) {
    for (int i = 0; i < 8; ++i)
        if (handles[size_t(i)].Contains(p.x, p.y)) return Handle(i + 1);
    return kMove;
}

BoxCursor CursorOfHandle(Handle handle) {
    switch (handle) {
    case kTopLeft:
    case kBottomRight: return BoxCursor::DiagonalNwSe;
    case kTopRight:
    case kBottomLeft: return BoxCursor::DiagonalNeSw;
    case kTopMiddle:
    case kBottomMiddle: return BoxCursor::Vertical;
    case kMiddleLeft:
    case kMiddleRight: return BoxCursor::Horizontal;
    default: return BoxCursor::Move;
    }
}

namespace {

// One axis of a move: raised to -frame, then lowered so the box ends at most 5 beyond.
int MoveAxis(int pointer, int grab, int size, int total) {
    int start = pointer - grab;
    if (start < -kBoxFrame) start = -kBoxFrame;
    if (start + size > total + 5) start = total + 5 - size;
    return start;
}

}  // namespace

Point MoveBoxTo(Point p, Point grab, int boxWidth, int boxHeight, const ScrollState& s) {
    return {MoveAxis(p.x, grab.x, boxWidth, s.totalWidth), MoveAxis(p.y, grab.y, boxHeight, s.totalHeight)};
}

Rect SizeBox(const Rect& box, Handle mode, Point p, const ScrollState& s) {
    const bool left = mode == kTopLeft || mode == kMiddleLeft || mode == kBottomLeft;
    const bool right = mode == kTopRight || mode == kMiddleRight || mode == kBottomRight;
    const bool top = mode == kTopLeft || mode == kTopMiddle || mode == kTopRight;
    const bool bottom = mode == kBottomLeft || mode == kBottomMiddle || mode == kBottomRight;
    Rect r = box;
    if (left) r.left = p.x - 4 < -kBoxFrame ? -kBoxFrame : p.x - 4;
    if (top) r.top = p.y - 4 < -kBoxFrame ? -kBoxFrame : p.y - 4;
    if (right) r.right = p.x + 4 >= s.totalWidth - s.scrollX ? s.totalWidth - s.scrollX + 5 : p.x + 4;
    // The bottom edge is tested 4 pixels earlier than the right edge, as the device
    // editor always did.
    if (bottom) r.bottom = p.y + 8 >= s.totalHeight - s.scrollY ? s.totalHeight - s.scrollY + 5 : p.y + 4;
    return r;
}

double FitScale(const ViewMapping& m) {
    const int width = m.clientWidth - 2 * m.origin, height = m.clientHeight - 2 * m.origin;
    if (m.pictureWidth <= 0 || m.pictureHeight <= 0 || width <= 0 || height <= 0) return 1.0;
    return std::min(double(width) / m.pictureWidth, double(height) / m.pictureHeight);
}

Point ShownSize(const ViewMapping& m) {
    const double scale = m.fitToWindow ? FitScale(m) : double(m.zoom);
    return {int(m.pictureWidth * scale), int(m.pictureHeight * scale)};
}

Point ViewToImage(Point p, const ViewMapping& m) {
    if (m.fitToWindow) {
        // Fitted, nothing scrolls: the picture starts at the client's top-left.
        const double scale = FitScale(m);
        return {int((p.x - m.origin) / scale), int((p.y - m.origin) / scale)};
    }
    const float fx = float(p.x + m.scrollX - m.origin) / m.zoom;
    const float fy = float(p.y + m.scrollY - m.origin) / m.zoom;
    return {int(fx), int(fy)};
}

Point ImageToView(Point p, const ViewMapping& m) {
    auto axis = [](int value, double scale, int scroll) {
        const double v = value * scale;
        const int whole = int(v);
        return (double(whole) < v ? whole + 1 : whole) - scroll;
    };
    if (m.fitToWindow) return {axis(p.x, FitScale(m), -m.origin), axis(p.y, FitScale(m), -m.origin)};
    return {axis(p.x, m.zoom, m.scrollX - m.origin), axis(p.y, m.zoom, m.scrollY - m.origin)};
}

Rect SquareBox(const Rect& box, Handle mode, const ScrollState& s) {
    const bool left = mode == kTopLeft || mode == kMiddleLeft || mode == kBottomLeft;
    const bool top = mode == kTopLeft || mode == kTopMiddle || mode == kTopRight;
    const bool corner = mode == kTopLeft || mode == kTopRight || mode == kBottomLeft || mode == kBottomRight;
    const bool horizontal = mode == kMiddleLeft || mode == kMiddleRight;
    const Rect sel = SelectionOfBox(box);
    int side = corner ? std::max(sel.Width(), sel.Height()) : horizontal ? sel.Width() : sel.Height();
    // The room the limits leave from the fixed corner or edge.
    const int roomX = left ? sel.right : s.totalWidth - s.scrollX - 1 - sel.left;
    const int roomY = top ? sel.bottom : s.totalHeight - s.scrollY - 1 - sel.top;
    side = std::max(0, std::min({side, roomX, roomY}));
    Rect r = sel;
    if (left)
        r.left = r.right - side;
    else
        r.right = r.left + side;
    if (top)
        r.top = r.bottom - side;
    else
        r.bottom = r.top + side;
    return BoxForSelection(r);
}

std::string PointerText(Point picture) {
    char text[64];
    std::snprintf(text, sizeof text, "x: %d y: %d", picture.x, picture.y);
    return text;
}

std::string SelectionText(const Rect& s) {
    char text[96];
    std::snprintf(text, sizeof text, "  (%d, %d)-(%d, %d)", s.left, s.top, s.right, s.bottom);
    return text;
}

}  // namespace logo
