#include <gtest/gtest.h>

#include "ui/WindowFit.h"

namespace {

using ui::FrameMargins;
using ui::WindowRect;
using ui::WindowSize;

// The frame's outer rectangle of a window's own area.
WindowRect Outer(const WindowRect& w, const FrameMargins& f) {
    return {w.left - f.left, w.top - f.top, w.width + f.left + f.right, w.height + f.top + f.bottom};
}
bool Inside(const WindowRect& r, const WindowRect& area) {
    return r.left >= area.left && r.top >= area.top && r.left + r.width <= area.left + area.width &&
           r.top + r.height <= area.top + area.height;
}

TEST(WindowFit, TheWholeFrameLandsInTheAvailableArea) {
    const FrameMargins none{}, titled{2, 24, 2, 2}, assumed = ui::kAssumedFrame;
    struct Case {
        const char* what;
        WindowRect window;
        FrameMargins frame;
        WindowRect area;
        WindowRect expected;
    } cases[] = {
        {"fits: stays", {100, 60, 600, 600}, titled, {0, 0, 1280, 720}, {100, 60, 600, 600}},
        {"scale 2, 1600x1000: shorter, title bar on screen", {100, 60, 600, 600}, titled, {0, 0, 800, 500},
         {100, 24, 600, 474}},
        {"a panel above: below it", {100, 10, 600, 400}, titled, {0, 30, 800, 470}, {100, 54, 600, 400}},
        {"off to the right and down: moved back", {700, 400, 600, 300}, none, {0, 0, 1280, 720}, {680, 400, 600, 300}},
        {"left of the screen: moved in", {-300, 50, 600, 300}, titled, {0, 0, 1280, 720}, {2, 50, 600, 300}},
        {"wider and higher than the screen", {-40, -30, 1400, 900}, titled, {0, 0, 800, 500}, {2, 24, 796, 474}},
        {"second screen to the right", {1500, 100, 600, 600}, titled, {1280, 0, 800, 500}, {1478, 24, 600, 474}},
        {"frame not known yet: the assumed one", {100, 60, 600, 600}, assumed, {0, 0, 800, 500},
         {100, 32, 600, 464}},
        {"a screen smaller than any frame", {0, 0, 600, 600}, titled, {0, 0, 3, 20}, {2, 24, 1, 1}},
    };
    for (const Case& c : cases) {
        const WindowRect fitted = ui::FitWindow(c.window, c.frame, c.area);
        EXPECT_EQ(fitted, c.expected) << c.what;
        if (c.area.width > 100) EXPECT_TRUE(Inside(Outer(fitted, c.frame), c.area)) << c.what;
        EXPECT_EQ(ui::FitWindow(fitted, c.frame, c.area), fitted) << c.what << ": fitting again changes nothing";
    }
}

TEST(WindowFit, TheMinimumFitsSmallScreensAtEveryScale) {
    const FrameMargins titled{2, 24, 2, 2};
    struct Case {
        WindowSize wanted;
        WindowRect area;  // in logical pixels: 1600x1000 at scale 2 is 800x500
        WindowSize expected;
    } cases[] = {
        {{600, 600}, {0, 0, 1280, 720}, {600, 600}},
        {{600, 600}, {0, 0, 800, 500}, {600, 427}},
        {{600, 600}, {0, 0, 640, 360}, {573, 301}},
        {{900, 700}, {0, 28, 800, 472}, {717, 402}},
    };
    for (const Case& c : cases) {
        const WindowSize least = ui::FitMinimum(c.wanted, titled, c.area);
        EXPECT_EQ(least, c.expected);
        EXPECT_LT(least.width + 4, c.area.width);
        EXPECT_LT(least.height + 26, c.area.height);
    }
}

}  // namespace
