#include <gtest/gtest.h>

#include "app/FileTypes.h"

TEST(ClassifyFile, ExtensionDecidesTypeAndPageMode) {
    struct Case {
        const char* path;
        int type;
        int page;
    } cases[] = {
        {"a.bmp", 1, 1},       {"A.BMP", 1, 1},   {"x.gif", 2, 1},       {"x.jpg", 3, 1},
        {"x.JPEG", 3, 1},      {"x.png", 4, 1},   {"x.raw", 5, 1},       {"dir.v2/x.mmo", 6, 0},
        {"x.MmO", 6, 0},       {"x.txt", 0, 0},   {"x.tar.gz", 0, 0},    {"noext", 0, 0},
        {"x.bmp.mmo", 6, 0},   {"x.", 0, 0},          {"dir.v2/noext", 0, 0},
    };
    for (const Case& c : cases) {
        FileKind k = ClassifyFile(c.path);
        EXPECT_EQ(k.type, c.type) << c.path;
        EXPECT_EQ(k.page, c.page) << c.path;
    }
    EXPECT_EQ(FileExtension("noext"), "");
    EXPECT_EQ(FileExtension("x."), "");
    EXPECT_EQ(FileExtension("my.folder/readme"), "");
    EXPECT_EQ(FileExtension("a/B.Jpg"), "jpg");
}
