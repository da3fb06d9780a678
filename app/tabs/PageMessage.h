#pragma once
// The notification a tab window sends to the main window when the person picks a page
// (its value as a window message is kept for reference; here it travels as a signal).
namespace tabs {
constexpr int WM_PAGE_ACTIVATED = 0x0400 + 3000;  // 4024; the page index goes with it
}  // namespace tabs
