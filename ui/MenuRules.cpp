#include "ui/MenuRules.h"

#include <cctype>

namespace ui {

int MenuItemHeight(int charHeight) { return charHeight + 2 > 16 ? charHeight + 6 : 20; }

int MenuSeparatorHeight(int charHeight) { return charHeight / 2 + 2; }

uint32_t BarItemData(int textWidth) { return static_cast<uint32_t>(textWidth) << 16; }

uint32_t PopupItemData(int widestText, int widestKey, int itemHeight) {
    return (static_cast<uint32_t>(widestText) << 16) | ((static_cast<uint32_t>(widestKey) & 255) << 8) |
           (static_cast<uint32_t>(itemHeight) & 255);
}

ItemSize MeasureMenuItem(uint32_t data) {
    int height = static_cast<int>(data & 255);
    int text = static_cast<int>(data >> 16);
    if (height == 0) return ItemSize{text + 4, 0};
    return ItemSize{text + static_cast<int>((data >> 8) & 255) + 42, height};
}

int RightBandShade(int j, int k) {
    int n = 2 - k;
    if (j == 0) return 0;
    if (j == 1) return k > 1 ? 1 : 0;
    if (j == 2 && n <= 0) return 2;
    return k;
}

int RightBandFirstRow(int k) { return k < 2 ? 2 - k : 0; }

int RightBandRowEnd(int k, int height) { return k == 0 ? height - 2 : height - 1 - k; }

MenuTextParts SplitMenuText(const std::string& text) {
    MenuTextParts parts;
    size_t tab = text.find('\t');
    parts.label = text.substr(0, tab);
    if (tab != std::string::npos) parts.key = text.substr(tab + 1);
    size_t amp = parts.label.find('&');
    if (amp != std::string::npos) parts.label.erase(amp, 1);
    return parts;
}

int MenuCharItem(const std::vector<std::string>& texts, char c) {
    char want = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (size_t index = 0; index < texts.size(); ++index) {
        std::string t = texts[index];
        for (char& ch : t) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        if (t.size() < 2) continue;
        // From the second-last byte back to the first: an "&" followed by the character.
        for (size_t i = t.size() - 1; i-- > 0;) {
            if (t[i] != '&' || t[i + 1] != want) continue;
            if (i > 0 && t[i - 1] == '&') continue;  // "&&" is a literal ampersand
            return static_cast<int>(index);
        }
    }
    return -1;
}

std::string MenuTextCache::ForCommand(int id) const {
    auto it = byCommand_.find(id);
    return it == byCommand_.end() ? std::string() : it->second;
}

std::string MenuTextCache::ForSubMenu(const void* menu) const {
    auto it = byMenu_.find(menu);
    return it == byMenu_.end() ? std::string() : it->second;
}

}  // namespace ui
