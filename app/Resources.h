#pragma once
// The menus, toolbars, keys and command tips of the window, as data. The window turns
// them into Qt menus, toolbars and shortcuts; tests read them directly.
#include <string>
#include <vector>

namespace res {

constexpr int MenuMemo = 128;
constexpr int MenuLogo = 132;
constexpr int MenuSong = 107;
constexpr int MenuSongCopy = 166;
constexpr int ToolbarMemo = 128;
constexpr int ToolbarLogo = 132;
constexpr int ToolbarSong = 107;

struct MenuItem {
    std::string caption;            // UTF-8, "&" marks the mnemonic, "\t" starts the key text
    int id = 0;                     // 0 for a separator or a pop-up
    std::vector<MenuItem> items;    // pop-up contents
    bool separator() const { return id == 0 && caption.empty() && items.empty(); }
};

// The top-level entries of a menu resource (128, 132, 107, 166); empty for others.
const std::vector<MenuItem>& Menu(int resource);

// The buttons of a toolbar resource (128, 132, 107); 0 marks a separator.
const std::vector<int>& Toolbar(int resource);

struct Accelerator {
    const char* key;  // in Qt's key-sequence text, e.g. "Ctrl+E", "Shift+Insert"
    int id;
};
// Accelerator table 128, active on every page.
const std::vector<Accelerator>& Accelerators();

// Status-line text and tooltip of a command; empty strings when it has none.
struct CommandTip {
    std::string status;
    std::string tooltip;
};
CommandTip TipFor(int id);

// Window-wide strings.
constexpr const char* kAppTitle = "Lyrabox Plus";  // application title
constexpr const char* kFrameCaption = "LyraboxQ";
constexpr const char* kIdleStatus = "Ready";

}  // namespace res
