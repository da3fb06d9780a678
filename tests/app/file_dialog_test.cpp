#include <gtest/gtest.h>

#include "app/FileTypes.h"
#include "app/LyraApp.h"
#include "app/LyraDoc.h"

using platform::FileFilter;

TEST(FileDialog, FiltersTitlesAndExtensionsPerPageAndMode) {
    struct Case {
        int page;
        bool open;
        const char* title;
        const char* ext;
        std::vector<FileFilter> filters;
    } cases[] = {
        {0, true, "Open memo file", "mmo", {{"Memo files(*.mmo)", "*.mmo"}, {"All files(*.*)", "*.*"}}},
        {0, false, "Save memo file", "mmo", {{"Memo files(*.mmo)", "*.mmo"}}},
        {1, true, "Open logo file", "bmp",
         {{"All pictures", "*.bmp;*.gif;*.jpg;*.jpeg;*.png"},
          {"BMP files(*.bmp)", "*.bmp"},
          {"GIF files(*.gif)", "*.gif"},
          {"JPG files(*.jpg;*.jpeg)", "*.jpg;*.jpeg"},
          {"PNG files(*.png)", "*.png"},
          {"Logo files(*.jpg)", "*.jpg"}}},
        {1, false, "Save logo file", "bmp", {{"BMP files(*.bmp)", "*.bmp"}, {"Logo files(*.jpg)", "*.jpg"}}},
    };
    for (const Case& c : cases) {
        auto r = FileDialogFor(c.page, c.open, "memo.mmo");
        ASSERT_TRUE(r) << c.title;
        EXPECT_EQ(r->title, c.title);
        EXPECT_EQ(r->defaultExtension, c.ext);
        EXPECT_EQ(r->filters, c.filters) << c.title;
        EXPECT_EQ(r->selectedFilter, 0);
        EXPECT_EQ(r->initialName, "memo.mmo");
        EXPECT_TRUE(r->overwritePrompt);
    }
    EXPECT_FALSE(FileDialogFor(-1, true, ""));
    EXPECT_FALSE(FileDialogFor(2, false, ""));
}

TEST(FileDialog, DescriptionLookupSearchesRowsZeroToSix) {
    EXPECT_EQ(FileTypeDescription(0), "Supported files");
    EXPECT_EQ(FileTypeDescription(3), "JPG files(*.jpg;*.jpeg)");
    EXPECT_EQ(FileTypeDescription(6), "Memo files(*.mmo)");
    EXPECT_EQ(FileTypeDescription(7), "");
    EXPECT_EQ(FileTypeDescription(-1), "");
}

TEST(FileDialog, AppPromptUsesPageModeAndReturnsChoice) {
    platform::ScriptedServices ui;
    CLyraApp app;
    std::string name = "x";
    app.m_nPage = 2;
    EXPECT_FALSE(app.DoPromptFileName(name, true));
    EXPECT_TRUE(ui.dialogs.requests.empty()) << "no dialog on the song page";
    app.m_nPage = 0;
    ui.dialogs.answers.push_back(std::nullopt);
    EXPECT_FALSE(app.DoPromptFileName(name, true));
    EXPECT_EQ(name, "x") << "a cancelled dialog leaves the name";
    ui.dialogs.answers.push_back("/tmp/chosen.mmo");
    EXPECT_TRUE(app.DoPromptFileName(name, false));
    EXPECT_EQ(name, "/tmp/chosen.mmo");
    ASSERT_EQ(ui.dialogs.requests.size(), 2u);
    EXPECT_EQ(ui.dialogs.requests[1].title, "Save memo file");
    EXPECT_EQ(ui.dialogs.requests[1].initialName, "x");
}

TEST(FileDialog, AfterNewFromLogoPageOpenShowsMemoFilters) {
    platform::ScriptedServices ui;
    CLyraApp app;
    app.m_nPage = 1;
    app.OnFileNew();
    EXPECT_EQ(app.m_nPage, 0);
    app.OnFileOpen();
    ASSERT_EQ(ui.dialogs.requests.size(), 1u);
    EXPECT_EQ(ui.dialogs.requests[0].filters[0].description, "Memo files(*.mmo)");
    EXPECT_TRUE(ui.dialogs.requests[0].fileMustExist);
}
