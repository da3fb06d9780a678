#pragma once
// Measuring and mnemonic rules of the flat menus, independent of any window system.
// Every converted item carries a data word: for a menu-bar item its text width << 16;
// for a pop-up separator the separator height; for any other pop-up item
// (widest text << 16) | (widest key text & 255) << 8 | (item height & 255).
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ui {

// Item height from the menu font's character height, and the separator height.
int MenuItemHeight(int charHeight);
int MenuSeparatorHeight(int charHeight);

uint32_t BarItemData(int textWidth);
uint32_t PopupItemData(int widestText, int widestKey, int itemHeight);

struct ItemSize {
    int width = 0;
    int height = 0;
    bool operator==(const ItemSize&) const = default;
};
// Size of an item from its data word: pop-up items are widest text + widest key + 42
// wide; menu-bar items (low byte 0) their text width + 4.
ItemSize MeasureMenuItem(uint32_t data);

// Shade step a (darkening by (93 - 5 a) / 100) of row j in column k (0 to 3, counted
// from the right edge) of the 4-pixel shadow band to the right of an open bar item.
int RightBandShade(int j, int k);
// First row and row bound of that column.
int RightBandFirstRow(int k);
int RightBandRowEnd(int k, int height);

// "Rotate &Left\tCtrl+L" -> label "Rotate Left" (first "&" removed), key "Ctrl+L".
struct MenuTextParts {
    std::string label;
    std::string key;
};
MenuTextParts SplitMenuText(const std::string& text);

// Index of the first item whose text has "&c" (case-insensitive) as its mnemonic, or
// -1. An "&" directly after another "&" marks nothing.
int MenuCharItem(const std::vector<std::string>& texts, char c);

// The texts of converted items: keyed by the item's sub-menu when it opens one,
// otherwise by its command id.
class MenuTextCache {
public:
    void StoreForCommand(int id, std::string text) { byCommand_[id] = std::move(text); }
    void StoreForSubMenu(const void* menu, std::string text) { byMenu_[menu] = std::move(text); }
    // The stored text, or "" when there is none.
    std::string ForCommand(int id) const;
    std::string ForSubMenu(const void* menu) const;
    // Drops every entry whose sub-menu is no longer a menu.
    template <class IsMenu>
    void Prune(IsMenu isMenu) {
        for (auto it = byMenu_.begin(); it != byMenu_.end();)
            it = isMenu(it->first) ? std::next(it) : byMenu_.erase(it);
    }
    size_t SubMenuCount() const { return byMenu_.size(); }

private:
    std::map<int, std::string> byCommand_;
    std::map<const void*, std::string> byMenu_;
};

}  // namespace ui
