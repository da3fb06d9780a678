#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/CommandIds.h"
#include "app/Resources.h"

TEST(Resources, AcceleratorTableIsTheOneOfEveryPage) {
    std::map<std::string, int> keys;
    for (const res::Accelerator& a : res::Accelerators()) {
        EXPECT_TRUE(keys.emplace(a.key, a.id).second) << "key twice: " << a.key;
    }
    struct Case {
        const char* key;
        int id;
    } cases[] = {
        {"Ctrl+N", cmd::FileNew},     {"Ctrl+O", cmd::FileOpen},        {"Ctrl+S", cmd::FileSave},
        {"Ctrl+E", cmd::FlipVertical}, {"Ctrl+V", cmd::EditPaste},      {"Shift+Ins", cmd::EditPaste},
        {"Ctrl+J", cmd::BrandQuorvel}, {"Ctrl+G", cmd::BrandPellix},    {"Ctrl+T", cmd::BrandZandri},
        {"Ctrl+D", cmd::EditDelete},   {"Ctrl+F", cmd::EditFind},       {"Ctrl+Shift+S", cmd::FileSaveAs},
        {"Del", cmd::EditDelete},      {"Ctrl+L", cmd::RotateLeft},     {"Ctrl+R", cmd::RotateRight},
        {"Ctrl+H", cmd::FlipHorizontal}, {"Ctrl+P", cmd::FilePrint},    {"Alt+Backspace", cmd::EditUndo},
        {"Shift+Del", cmd::EditCut},   {"F6", cmd::NextPane},           {"Shift+F6", cmd::PrevPane},
        {"Ctrl+Q", cmd::AppExit},      {"Ctrl+Tab", cmd::NextPage},     {"Ctrl+PgUp", cmd::PrevPage},
        {"F1", cmd::HelpGuide},        {"Ctrl+Y", cmd::EditRedo},       {"Ctrl+Shift+Z", cmd::EditRedo},
    };
    for (const Case& c : cases) EXPECT_EQ(keys[c.key], c.id) << c.key;
}

TEST(Resources, MenusCarryTheirCommands) {
    auto ids = [](int menu) {
        std::set<int> out;
        for (const res::MenuItem& popup : res::Menu(menu))
            for (const res::MenuItem& item : popup.items)
                if (item.id) out.insert(item.id);
        return out;
    };
    EXPECT_EQ(ids(res::MenuMemo), (std::set<int>{57600, 57601, 57603, 57604, 31140, 31141, 57665, 57632, 57636, 57607, 57609,
                                                 57606, 57664, 57643, 57644}));
    EXPECT_EQ(ids(res::MenuLogo), (std::set<int>{57601, 57603, 57604, 31105, 57665, 31100, 31101, 31102, 31103, 31109,
                                                  31154, 31156,
                                                  31150, 31151, 31152, 31153, 31155, 31157, 57664, 57643, 57644}));
    EXPECT_EQ(ids(res::MenuSong), (std::set<int>{57600, 57601, 57603, 57604, 57665, 31117, 31116, 31118, 31134, 57664, 57643, 57644}));
    EXPECT_EQ(ids(res::MenuSongCopy), (std::set<int>{31135, 31136, 31137}));
    EXPECT_EQ(res::Menu(res::MenuLogo)[1].items[7].caption, "Flip &Vertical\tCtrl+E");
    EXPECT_EQ(res::Toolbar(res::ToolbarLogo), (std::vector<int>{57601, 57603, 0, 31100, 31101, 31102, 31103, 31105, 31109, 31157}));
    EXPECT_EQ(res::TipFor(cmd::Cropping).tooltip, "Cropping");
    EXPECT_EQ(res::TipFor(cmd::FileOpen).status, "Open an existing document");
}
