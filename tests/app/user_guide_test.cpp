// The user guide must name everything the menus and the command line offer: a menu
// item, a key a menu shows or an option added without a word in the guide fails here.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "app/CommandIds.h"
#include "app/Resources.h"
#include "app/StartOptions.h"

namespace {

std::string Guide() {
    std::ifstream in(std::string(LYRA_TEST_SOURCE) + "/../app/widgets/UserGuide.html");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// "Save &As...\tCtrl+Shift+S" is "Save As" with the key "Ctrl+Shift+S"; "파일열기(&N)" is
// "파일열기".
std::string ShownCaption(const std::string& caption) {
    std::string text = std::regex_replace(caption.substr(0, caption.find('\t')), std::regex(R"(\(&.\))"), "");
    text = std::regex_replace(text, std::regex("&"), "");
    return std::regex_replace(text, std::regex(R"(\.\.\.$)"), "");
}

void CheckItems(const std::vector<res::MenuItem>& items, const std::string& guide) {
    for (const res::MenuItem& item : items) {
        if (item.separator()) continue;
        EXPECT_NE(guide.find(ShownCaption(item.caption)), std::string::npos) << "menu item " << item.caption;
        const size_t tab = item.caption.find('\t');
        if (tab != std::string::npos)
            EXPECT_NE(guide.find(item.caption.substr(tab + 1)), std::string::npos) << "key of " << item.caption;
        CheckItems(item.items, guide);
    }
}

}  // namespace

TEST(UserGuide, NamesEveryMenuItemKeyAndOption) {
    const std::string guide = Guide();
    ASSERT_GT(guide.size(), 1000u) << "the guide was not found";
    for (int menu : {res::MenuMemo, res::MenuLogo, res::MenuSong, res::MenuSongCopy}) CheckItems(res::Menu(menu), guide);
    // The keys that no menu shows but that work on every page.
    for (const res::Accelerator& a : res::Accelerators()) {
        const int id = a.id;
        if (id == cmd::NextPage || id == cmd::PrevPage || id == cmd::HelpGuide || id == cmd::AppExit ||
            id == cmd::EditPaste || id == cmd::EditDelete || id == cmd::ZoomIn) {
            if (std::string(a.key).find("Backtab") != std::string::npos) continue;  // Shift+Tab as Qt names it
            EXPECT_NE(guide.find(a.key), std::string::npos) << "key " << a.key;
        }
    }
    for (const StartOption& o : EditorOptions()) {
        std::stringstream names(o.names);
        for (std::string name; std::getline(names, name, ',');) {
            name.erase(0, name.find_first_not_of(' '));
            EXPECT_NE(guide.find(name), std::string::npos) << "option " << name;
        }
    }
}

TEST(StartOptions, ReadsOptionsAndNamesWhatItDoesNotKnow) {
    struct Case {
        std::vector<std::string> args;
        bool songPage;
        std::string file, error;
    } cases[] = {
        {{}, false, "", ""},
        {{"--song-page", "a.kok"}, true, "a.kok", ""},
        {{"a.mmo", "--song-page"}, true, "a.mmo", ""},
        {{"--bogus"}, false, "", "unknown option '--bogus'"},
        {{"-x", "a.mmo"}, false, "a.mmo", "unknown option '-x'"},
        {{"--", "--odd-name.mmo"}, false, "--odd-name.mmo", ""},
        {{"-"}, false, "-", ""},
        {{"a.mmo", "b.bmp"}, false, "a.mmo", "one FILE at most: 'a.mmo' and 'b.bmp'"},
    };
    for (const Case& c : cases) {
        StartOptions o = ParseStartOptions(c.args);
        EXPECT_EQ(o.songPage, c.songPage) << c.error;
        EXPECT_EQ(o.file, c.file) << c.error;
        EXPECT_EQ(o.error, c.error);
    }
    EXPECT_TRUE(ParseStartOptions({"-h"}).help);
    EXPECT_TRUE(ParseStartOptions({"--reset-settings"}).resetSettings);
    EXPECT_EQ(EditorHelp().find(kEditorUsage), 0u);
    EXPECT_NE(EditorHelp().find("  --reset-settings  forget the window size"), std::string::npos);
}
