#pragma once
// Geometry of a tab strip drawn at the top of a tab window: where each tab lies, where
// its label goes, which tab a point hits and where the views sit.
#include <vector>

namespace tabs {

constexpr int kStripHeight = 30;   // the lightened band behind the tabs
constexpr int kTabTop = 6;
constexpr int kTabBottom = 26;     // hit-test rows 6 to 26
constexpr int kMaxLabelWidth = 200;
constexpr int kIconSize = 16;

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// What the strip needs to know of one tab.
struct TabItem {
    int textWidth = 0;   // title width in the tab font
    bool hasIcon = false;
    bool visible = true;
    bool selectable = true;
};

// Where one tab was placed; left and right are -1 for a tab that is not drawn.
struct TabPlace {
    int left = -1;
    int right = -1;     // inclusive: the tab rectangle runs from left to right
    int content = 0;    // d: label box plus icon room
    Rect label;         // where the label window goes
};

// Label box width t: text width + 4, at most 200.
int LabelBoxWidth(int textWidth);

// Places the tabs left to right from x = 0, skipping invisible ones.
std::vector<TabPlace> PlaceTabs(const std::vector<TabItem>& tabs, int textHeight);

// Index of the selectable, visible tab under (x, y), or -1.
int HitTestTabs(const std::vector<TabItem>& tabs, const std::vector<TabPlace>& places, int x, int y);

// Where the views go inside a tab window of client size w x h.
Rect ViewRect(int w, int h);

}  // namespace tabs
