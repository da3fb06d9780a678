#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

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
    EXPECT_EQ(error, "cannot replace " + target.string() + ", which is not a regular file: Is a directory");
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

TEST(AtomicFile, LeftoversOfKilledWritersAreRemovedByTheNextWrite) {
    fs::path dir = Scratch("leftovers");
    // A writer that died (a process id that cannot be running), one that may still run
    // (this process), and files that only look alike.
    const std::string dead = ".a.bin.lyrabox-2147483646-Ab12Cd";
    const std::string alive = ".a.bin.lyrabox-" + std::to_string(getpid()) + "-Xy34Zw";
    const std::string others[] = {"a.bin.lyrabox-2147483646-Ab12Cd", ".a.bin.lyrabox-x-Ab12Cd", ".notes"};
    for (const std::string& name : {dead, alive, others[0], others[1], others[2]})
        ASSERT_TRUE(platform::WriteFileAtomically((dir / name).string(), "left"));
    ASSERT_TRUE(platform::WriteFileAtomically((dir / "a.bin").string(), "new"));
    EXPECT_FALSE(fs::exists(dir / dead));
    for (const std::string& name : {alive, others[0], others[1], others[2]}) EXPECT_TRUE(fs::exists(dir / name)) << name;
    EXPECT_EQ(Entries(dir), 5u) << "nothing but the target is added";
}

TEST(AtomicFile, StreamedPiecesOfEverySizeArriveInOrder) {
    // Pieces below, at and across the point where the writer hands data to the disk.
    fs::path dir = Scratch("pieces");
    const std::string target = (dir / "big.bin").string();
    std::string expected;
    platform::AtomicWriter writer;
    ASSERT_TRUE(writer.Open(target));
    for (size_t size : {size_t(14), size_t(4096), size_t(1) << 20, size_t(3) << 20, size_t(1), size_t(700000)}) {
        std::string piece(size, '\0');
        for (size_t i = 0; i < size; ++i) piece[i] = char((expected.size() + i) * 7 >> 3);
        ASSERT_TRUE(writer.Write(piece.data(), piece.size()));
        expected += piece;
    }
    ASSERT_TRUE(writer.Commit());
    std::string back;
    ASSERT_TRUE(platform::ReadFileBytes(target, back));
    EXPECT_TRUE(back == expected);
    EXPECT_EQ(Entries(dir), 1u);
}

TEST(AtomicFile, AWriterKilledMidwayLeavesTheFolderAsItWas) {
    fs::path dir = Scratch("killed");
    const std::string target = (dir / "t.bin").string();
    ASSERT_TRUE(platform::WriteFileAtomically(target, "old"));
    const pid_t pid = fork();
    if (pid == 0) {
        platform::AtomicWriter writer;
        if (writer.Open(target) && writer.Write("partial", 7)) ::kill(::getpid(), SIGKILL);
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status));
    std::string back;
    ASSERT_TRUE(platform::ReadFileBytes(target, back));
    EXPECT_EQ(back, "old");
    // An unnamed temporary file vanishes with its process; a named one is removed by
    // the next write.
    ASSERT_TRUE(platform::WriteFileAtomically(target, "new"));
    EXPECT_EQ(Entries(dir), 1u);
}

// Temporary names are short and the same for every target, so any name the file
// system allows can be written; a leftover is removed only when no writer holds it;
// a symlink loop is refused, never replaced by a file.
TEST(AtomicFile, NamesLoopsAndLeftovers) {
    fs::path dir = Scratch("names");
    const std::string held = ".lyrabox-Held01", dead = ".lyrabox-Dead01";
    for (const std::string& name : {held, dead}) std::ofstream(dir / name) << "x";
    const int holder = ::open((dir / held).c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    fs::create_symlink("loop2", dir / "loop1");
    fs::create_symlink("loop1", dir / "loop2");
    struct Case {
        std::string name;
        bool written;
        const char* says;
    } cases[] = {
        {std::string(255, 'n'), true, ""},
        {std::string(250, 'm') + ".mmo", true, ""},
        {std::string(256, 'o'), false, "File name too long"},
        {"loop1", false, "Too many levels of symbolic links"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(platform::WriteFileAtomically((dir / c.name).string(), "data", &error), c.written) << error;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
    EXPECT_TRUE(fs::is_symlink(dir / "loop1"));
    EXPECT_TRUE(fs::exists(dir / held)) << "its writer still holds it";
    EXPECT_FALSE(fs::exists(dir / dead));
    EXPECT_EQ(Entries(dir), 5u) << "the two names, the loop's two links and the held file";
    ::close(holder);
}
