// Which desktop windows the capture dialog lists.
#include <gtest/gtest.h>

#include "logo/CaptureList.h"

namespace {

TEST(CaptureList, QualifyingWindowsInOrderWithoutTheLast) {
    const std::vector<logo::DesktopWindow> windows = {
        {1, true, false, 300, 200, "Editor"},
        {2, false, false, 300, 200, "Hidden"},
        {3, true, true, 300, 200, "Minimised"},
        {4, true, false, 4, 200, "Thin"},
        {5, true, false, 300, 4, "Flat"},
        {6, true, false, 5, 5, ""},
        {7, true, false, 5, 5, "Small"},
        {8, true, false, 800, 600, "Desk"},
    };
    const auto collected = logo::CollectCaptureWindows(windows);
    EXPECT_EQ(collected, (std::vector<logo::CaptureEntry>{{"Editor", 1}, {"Small", 7}, {"Desk", 8}}));
    EXPECT_EQ(logo::CaptureListEntries(collected),
              (std::vector<logo::CaptureEntry>{{"Desktop", 0}, {"Editor", 1}, {"Small", 7}}));
    EXPECT_EQ(logo::CaptureListEntries({{"Only", 9}}), (std::vector<logo::CaptureEntry>{{"Desktop", 0}}));
    EXPECT_EQ(logo::CaptureListEntries({}), (std::vector<logo::CaptureEntry>{{"Desktop", 0}}));
}

TEST(CaptureList, AtMost254WindowsAndShortTitles) {
    std::vector<logo::DesktopWindow> many(300, {1, true, false, 10, 10, "w"});
    EXPECT_EQ(logo::CollectCaptureWindows(many).size(), 254u);
    // 258 ASCII bytes, then a three-byte character that would straddle byte 259.
    const std::string title = std::string(258, 'a') + "\xEA\xB0\x80" + "b";
    const auto one = logo::CollectCaptureWindows({{1, true, false, 10, 10, title}});
    EXPECT_EQ(one[0].text, std::string(258, 'a'));
}

}  // namespace
