#include <gtest/gtest.h>

#include <filesystem>

#include "platform/AtomicFile.h"

namespace fs = std::filesystem;

namespace {
fs::path Scratch(const char* name) {
    fs::path dir = fs::path(LYRA_TEST_TMP) / "atomic" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}
size_t Entries(const fs::path& dir) {
    return std::distance(fs::directory_iterator(dir), fs::directory_iterator());
}
}  // namespace

TEST(AtomicFile, ReplacesContentAndLeavesNoTemporaryFile) {
    fs::path dir = Scratch("replace");
    std::string path = (dir / "a.bin").string();
    ASSERT_TRUE(platform::WriteFileAtomically(path, "first version"));
    ASSERT_TRUE(platform::WriteFileAtomically(path, std::string("x\0y", 3)));
    std::string back;
    ASSERT_TRUE(platform::ReadFileBytes(path, back));
    EXPECT_EQ(back, std::string("x\0y", 3));
    EXPECT_EQ(Entries(dir), 1u);
}

TEST(AtomicFile, FailureLeavesTargetUntouched) {
    fs::path dir = Scratch("fail");
    // The target is a non-empty folder: the rename must fail and nothing may change.
    fs::path target = dir / "taken";
    fs::create_directories(target / "inner");
    std::string error;
    EXPECT_FALSE(platform::WriteFileAtomically(target.string(), "data", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(target / "inner"));
    EXPECT_EQ(Entries(dir), 1u) << "the temporary file is removed";
    EXPECT_FALSE(platform::WriteFileAtomically((dir / "no" / "such" / "x").string(), "data", &error));
}

TEST(AtomicFile, ReadStopsAtLimitAndRefusesFolders) {
    fs::path dir = Scratch("read");
    std::string path = (dir / "r").string();
    ASSERT_TRUE(platform::WriteFileAtomically(path, "0123456789"));
    std::string back;
    ASSERT_TRUE(platform::ReadFileBytes(path, back, 4));
    EXPECT_EQ(back, "0123");
    EXPECT_FALSE(platform::ReadFileBytes(dir.string(), back));
    EXPECT_FALSE(platform::ReadFileBytes((dir / "missing").string(), back));
}
