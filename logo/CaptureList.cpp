#include "logo/CaptureList.h"

namespace logo {

std::vector<CaptureEntry> CollectCaptureWindows(const std::vector<DesktopWindow>& frontToBack) {
    std::vector<CaptureEntry> collected;
    for (const DesktopWindow& w : frontToBack) {
        if (collected.size() >= kMaxCaptureWindows) break;
        if (!w.visible || w.minimised || w.clientWidth <= 4 || w.clientHeight <= 4 || w.title.empty()) continue;
        std::string title = w.title.substr(0, kMaxTitleBytes);
        // A cut must not leave half of a UTF-8 character behind.
        while (!title.empty() && title.size() < w.title.size() && (uint8_t(w.title[title.size()]) & 0xC0) == 0x80)
            title.pop_back();
        collected.push_back({title, w.handle});
    }
    return collected;
}

std::vector<CaptureEntry> CaptureListEntries(const std::vector<CaptureEntry>& collected) {
    std::vector<CaptureEntry> entries{{kDesktopEntry, 0}};
    if (collected.size() > 1) entries.insert(entries.end(), collected.begin(), collected.end() - 1);
    return entries;
}

}  // namespace logo
