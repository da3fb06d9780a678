// The selection box's geometry: frame, handles and hit-test order, drag limits, and
// the view's mapping to picture coordinates with its status texts.
#include <gtest/gtest.h>

#include "logo/SelectionGeometry.h"

namespace {

using logo::Point;
using logo::Rect;

TEST(SelectionBox, FrameAroundTheSelection) {
    const Rect box = logo::BoxForSelection({0, 0, 96, 96});
    EXPECT_EQ(box, (Rect{-6, -6, 102, 102}));
    EXPECT_EQ(box.Width(), 108);
    EXPECT_EQ(logo::SelectionOfBox(box), (Rect{0, 0, 96, 96}));
    const auto handles = logo::HandleRects(108, 108);
    EXPECT_EQ(handles[7], (Rect{102, 102, 108, 108}));
    EXPECT_EQ(handles[0], (Rect{0, 0, 6, 6}));
    EXPECT_EQ(handles[1], (Rect{51, 0, 57, 6}));
    EXPECT_EQ(handles[4], (Rect{102, 51, 108, 57}));
}

TEST(SelectionBox, HitTestOrderAndCursors) {
    // A box so small that handles overlap: the first in the order wins.
    const auto tiny = logo::HandleRects(8, 8);
    EXPECT_EQ(logo::HitTestHandle(tiny, {4, 4}), logo::kTopLeft);
    EXPECT_EQ(logo::HitTestHandle(tiny, {6, 0}), logo::kTopMiddle);  // also in the top-right handle
    EXPECT_EQ(logo::HitTestHandle(tiny, {7, 0}), logo::kTopRight);   // top-middle ends before 7
    const auto h = logo::HandleRects(108, 108);
    struct Case {
        Point p;
        logo::Handle handle;
        logo::BoxCursor cursor;
    } cases[] = {
        {{0, 0}, logo::kTopLeft, logo::BoxCursor::DiagonalNwSe},
        {{5, 5}, logo::kTopLeft, logo::BoxCursor::DiagonalNwSe},
        {{6, 5}, logo::kMove, logo::BoxCursor::Move},  // right border line is outside
        {{54, 2}, logo::kTopMiddle, logo::BoxCursor::Vertical},
        {{107, 0}, logo::kTopRight, logo::BoxCursor::DiagonalNeSw},
        {{2, 54}, logo::kMiddleLeft, logo::BoxCursor::Horizontal},
        {{105, 56}, logo::kMiddleRight, logo::BoxCursor::Horizontal},
        {{105, 57}, logo::kMove, logo::BoxCursor::Move},
        {{0, 107}, logo::kBottomLeft, logo::BoxCursor::DiagonalNeSw},
        {{53, 103}, logo::kBottomMiddle, logo::BoxCursor::Vertical},
        {{102, 102}, logo::kBottomRight, logo::BoxCursor::DiagonalNwSe},
        {{108, 108}, logo::kMove, logo::BoxCursor::Move},
        {{50, 50}, logo::kMove, logo::BoxCursor::Move},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(logo::HitTestHandle(h, c.p), c.handle) << c.p.x << "," << c.p.y;
        EXPECT_EQ(logo::CursorOfHandle(c.handle), c.cursor) << c.p.x << "," << c.p.y;
    }
}

TEST(SelectionBox, MoveLimits) {
    const logo::ScrollState s{500, 400, 100, 0};  // the scroll position does not enter
    struct Case {
        Point pointer, grab, expected;
    } cases[] = {
        {{50, 50}, {10, 10}, {40, 40}},
        {{-100, -100}, {10, 10}, {-6, -6}},     // far left and up: frame at -6
        {{1000, 1000}, {10, 10}, {397, 297}},  // ends at total + 5: 500 + 5 - 108
        {{402, 302}, {0, 0}, {397, 297}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(logo::MoveBoxTo(c.pointer, c.grab, 108, 108, s), c.expected) << c.pointer.x << "," << c.pointer.y;
    // A box wider than the scroll area is pulled back left even past -6.
    EXPECT_EQ(logo::MoveBoxTo({0, 0}, {0, 0}, 300, 50, {100, 100, 0, 0}), (Point{-195, 0}));
}

TEST(SelectionBox, SizeLimits) {
    const Rect box{-6, -6, 102, 102};
    const logo::ScrollState none{500, 400, 0, 0};
    const logo::ScrollState scrolled{500, 400, 100, 50};
    struct Case {
        logo::Handle handle;
        Point pointer;
        logo::ScrollState scroll;
        Rect expected;
    } cases[] = {
        {logo::kMiddleRight, {200, 50}, none, {-6, -6, 204, 102}},       // wider only
        {logo::kMiddleRight, {600, 50}, none, {-6, -6, 505, 102}},       // selection ends at 499
        {logo::kMiddleRight, {495, 50}, none, {-6, -6, 499, 102}},       // 499 < 500: follows the pointer
        {logo::kMiddleRight, {496, 50}, none, {-6, -6, 505, 102}},       // 500 >= 500: held at the end
        {logo::kMiddleRight, {450, 50}, scrolled, {-6, -6, 405, 102}},   // 500 - 100 + 5
        {logo::kBottomMiddle, {50, 392}, none, {-6, -6, 102, 405}},      // 392 + 8 >= 400
        {logo::kBottomMiddle, {50, 391}, none, {-6, -6, 102, 395}},
        {logo::kBottomMiddle, {50, 342}, scrolled, {-6, -6, 102, 355}},  // 400 - 50 + 5
        {logo::kTopLeft, {-50, -50}, none, {-6, -6, 102, 102}},
        {logo::kTopLeft, {20, 30}, none, {16, 26, 102, 102}},
        {logo::kTopRight, {60, 20}, none, {-6, 16, 64, 102}},
        {logo::kBottomLeft, {30, 60}, none, {26, -6, 102, 64}},
        {logo::kBottomRight, {60, 70}, none, {-6, -6, 64, 74}},
        {logo::kTopMiddle, {500, 20}, none, {-6, 16, 102, 102}},
        {logo::kMiddleLeft, {40, 500}, none, {36, -6, 102, 102}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(logo::SizeBox(box, c.handle, c.pointer, c.scroll), c.expected)
            << int(c.handle) << " at " << c.pointer.x << "," << c.pointer.y;
}

TEST(LogoViewMapping, ViewToImageAndStatusTexts) {
    logo::ViewMapping m{100, 0, 1.0f, false, 600, 400, 300, 200};
    EXPECT_EQ(logo::ViewToImage({10, 20}, m), (Point{110, 20}));
    m.scrollY = 30;
    EXPECT_EQ(logo::ViewToImage({0, 0}, m), (Point{100, 30}));
    m = {0, 0, 2.0f, false, 600, 400, 300, 200};
    EXPECT_EQ(logo::ViewToImage({11, 21}, m), (Point{5, 10}));
    m = {0, 0, 1.0f, true, 600, 400, 300, 200};  // fitted into the client area
    EXPECT_EQ(logo::ViewToImage({150, 100}, m), (Point{300, 200}));
    m = {0, 0, 2.0f, true, 600, 400, 300, 100};  // fitted by the height: one scale, 1/4
    EXPECT_EQ(logo::ViewToImage({50, 25}, m), (Point{200, 100}));
    EXPECT_EQ(logo::ImageToView({200, 100}, m), (Point{50, 25}));
    EXPECT_EQ(logo::ShownSize(m), (Point{150, 100}));

    EXPECT_EQ(logo::PointerText({110, 20}), "x: 110 y: 20");
    EXPECT_EQ(logo::SelectionText({0, 0, 96, 96}), "  (0, 0)-(96, 96)");
    EXPECT_EQ(logo::SelectionText({-3, 4, 5, -6}), "  (-3, 4)-(5, -6)");
}

}  // namespace
