// Placement and hit testing of the tab strip.
#include <gtest/gtest.h>

#include "app/tabs/TabGeometry.h"

using tabs::TabItem;

TEST(TabGeometry, TabsSitSideBySideWithIconRoom) {
    // "My Memo" with an icon (text 50), "My Logo" without (text 46), text height 13.
    std::vector<TabItem> items = {{50, true}, {46, false}};
    std::vector<tabs::TabPlace> p = tabs::PlaceTabs(items, 13);
    // t = 54, d = 72: the tab runs 0..77, the next starts at 78.
    EXPECT_EQ(p[0].left, 0);
    EXPECT_EQ(p[0].right, 77);
    EXPECT_EQ(p[0].label, (tabs::Rect{21, 9, 75, 22}));
    EXPECT_EQ(p[1].left, 78);
    EXPECT_EQ(p[1].right, 78 + 50 + 5);
    EXPECT_EQ(p[1].label.left, 81);
    EXPECT_EQ(p[1].label.width(), 50);
}

TEST(TabGeometry, LongTitlesAreCutTo200Pixels) {
    EXPECT_EQ(tabs::LabelBoxWidth(196), 200);
    EXPECT_EQ(tabs::LabelBoxWidth(197), 200);
    EXPECT_EQ(tabs::LabelBoxWidth(500), 200);
    std::vector<tabs::TabPlace> p = tabs::PlaceTabs({{900, true}, {10, false}}, 13);
    EXPECT_EQ(p[0].label.width(), 200);
    EXPECT_EQ(p[0].right, 223);
    EXPECT_EQ(p[1].left, 224);
}

TEST(TabGeometry, InvisibleTabsTakeNoRoom) {
    std::vector<TabItem> items = {{20, false, false}, {20, false}};
    std::vector<tabs::TabPlace> p = tabs::PlaceTabs(items, 13);
    EXPECT_EQ(p[0].left, -1);
    EXPECT_EQ(p[1].left, 0);
    EXPECT_EQ(tabs::HitTestTabs(items, p, 5, 10), 1);
}

TEST(TabGeometry, HitTestCoversRows6To26AndBothEdges) {
    std::vector<TabItem> items = {{50, true}, {46, false}, {30, false}};
    items[2].selectable = false;
    std::vector<tabs::TabPlace> p = tabs::PlaceTabs(items, 13);
    struct Case {
        int x, y, tab;
    } cases[] = {
        {0, 6, 0},   {77, 26, 0}, {78, 6, 1},   {133, 15, 1}, {134, 15, -1},  // tab 2 is not selectable
        {10, 5, -1}, {10, 27, -1}, {-1, 10, -1}, {500, 10, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(tabs::HitTestTabs(items, p, c.x, c.y), c.tab);
    }
}

TEST(TabGeometry, ViewsFillTheWindowBelowTheStrip) {
    EXPECT_EQ(tabs::ViewRect(600, 500), (tabs::Rect{1, 31, 599, 499}));
}
