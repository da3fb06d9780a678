#include "app/tabs/TabGeometry.h"

#include <algorithm>

namespace tabs {

int LabelBoxWidth(int textWidth) { return std::min(textWidth + 4, kMaxLabelWidth); }

std::vector<TabPlace> PlaceTabs(const std::vector<TabItem>& tabs, int textHeight) {
    std::vector<TabPlace> places(tabs.size());
    int x = 0;
    for (size_t i = 0; i < tabs.size(); ++i) {
        if (!tabs[i].visible) continue;
        int t = LabelBoxWidth(tabs[i].textWidth);
        int d = tabs[i].hasIcon ? t + 18 : t;
        TabPlace& p = places[i];
        p.left = x;
        p.right = x + d + 5;
        p.content = d;
        p.label.left = x + (tabs[i].hasIcon ? 21 : 3);
        p.label.right = p.label.left + t;
        p.label.top = (20 - textHeight) / 2 + 6;
        p.label.bottom = p.label.top + textHeight;
        x += d + 6;
    }
    return places;
}

int HitTestTabs(const std::vector<TabItem>& tabs, const std::vector<TabPlace>& places, int x, int y) {
    if (y < kTabTop || y > kTabBottom) return -1;
    for (size_t i = 0; i < tabs.size() && i < places.size(); ++i) {
        if (!tabs[i].visible || !tabs[i].selectable) continue;
        if (x >= places[i].left && x <= places[i].right) return static_cast<int>(i);
    }
    return -1;
}

Rect ViewRect(int w, int h) { return Rect{1, kStripHeight + 1, w - 1, h - 1}; }

}  // namespace tabs
