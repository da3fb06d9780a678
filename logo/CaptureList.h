#pragma once
// Which desktop windows the capture dialog offers, and in what order.
#include <cstdint>
#include <string>
#include <vector>

namespace logo {

// A top-level window as the window system describes it.
struct DesktopWindow {
    uint64_t handle = 0;
    bool visible = false;
    bool minimised = false;
    int clientWidth = 0;
    int clientHeight = 0;
    std::string title;  // UTF-8
};

struct CaptureEntry {
    std::string text;
    uint64_t handle = 0;  // 0: the whole desktop
    bool operator==(const CaptureEntry&) const = default;
};

constexpr size_t kMaxCaptureWindows = 254;
constexpr size_t kMaxTitleBytes = 259;
constexpr const char* kDesktopEntry = "Desktop";

// The windows worth capturing, front to back: visible, not minimised, a client area
// larger than 4 x 4 and a title; at most 254, titles cut to 259 bytes.
std::vector<CaptureEntry> CollectCaptureWindows(const std::vector<DesktopWindow>& frontToBack);

// The dialog's list: "Desktop" first, then the collected windows in order except the
// last one collected (with one window collected, only "Desktop").
std::vector<CaptureEntry> CaptureListEntries(const std::vector<CaptureEntry>& collected);

}  // namespace logo
