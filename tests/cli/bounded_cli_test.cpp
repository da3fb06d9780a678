// What the command line does with hostile inputs and awkward paths: bounded memory
// with one clear line naming the limit, only regular files read, outputs that are
// refused, written through a symlink, and import rules that keep what they accept.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "cli/Cli.h"
#include "cli/support/CliRun.h"
#include "cli/support/HostileFiles.h"

namespace fs = std::filesystem;
using namespace hostile;

namespace {

// Runs the command line in a child whose address space is the budget plus a margin:
// going past the budget ends in an allocation failure the command must report.
CliResult RunLimited(std::vector<std::string> args, const std::string& out) {
    const pid_t pid = fork();
    if (pid == 0) {
        const rlim_t limit = (rlim_t(1) << 30) + (rlim_t(400) << 20);
        rlimit r{limit, limit};
        setrlimit(RLIMIT_AS, &r);
        if (!std::freopen(out.c_str(), "w", stderr)) _exit(99);
        args.insert(args.begin(), "lyrabox-cli");
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        const int code = cli::Run(int(argv.size()), argv.data());
        std::fflush(stderr);
        _exit(code);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), "", ReadAll(out)};
}

}  // namespace

TEST(BoundedCli, TinyFilesThatClaimHugePicturesEndWithTheLimitNamed) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "an address-space limit and the sanitizer's shadow memory do not mix";
#endif
    const std::string dir = CliScratch();
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> args;  // IN and OUT are appended
        int code;
        const char* says;  // part of the one error line
    } cases[] = {
        {"wide.bmp", BmpHeader(357913941, 1, 32, 0, 0), {"convert"}, 1, "wide.bmp"},
        {"text.png", HugeTextPng(), {"convert"}, 1, "text.png"},
        {"frames.gif", EmptyFramesGif(10000, 10000, 200), {"convert", "--frame", "150"}, 1, "limit of 536870912 pixels"},
        {"many.gif", EmptyFramesGif(1, 1, 9000), {"convert", "--frame", "8500"}, 1, "limit of 8192 frames"},
        {"rle.bmp", EmptyRle8Bmp(16384, 16384), {"logo", "--rotate-left"}, 0, ""},
        {"huge.bmp", EmptyRle8Bmp(20000, 20000), {"convert"}, 1, "pixel limit of 268435456 pixels"},
    };
    for (Case& c : cases) {
        const std::string in = dir + "/" + c.name;
        WriteAll(in, c.bytes);
        std::vector<std::string> args = c.args;
        args.insert(args.begin() + 1, in);
        args.insert(args.begin() + 2, dir + "/out.bmp");
        fs::remove(dir + "/out.bmp");
        const CliResult r = RunLimited(args, dir + "/child.err");
        EXPECT_EQ(r.code, c.code) << c.name << ": " << r.err;
        if (c.code == 0) continue;
        EXPECT_EQ(r.err.rfind("lyrabox-cli: ", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir + "/out.bmp")) << c.name;
    }
}

TEST(BoundedCli, OnlyRegularFilesAreReadAndOnlyRegularFilesReplaced) {
    const std::string dir = CliScratch();
    const std::string fifo = dir + "/pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directories(dir + "/folder.png");
    WriteAll(dir + "/m.mmo", std::string(16384, '\0'));
    WriteAll(dir + "/s.kok", std::string(1, '\0'));
    WriteAll(dir + "/in.csv", "name,tel,email\nA,1,\n");
    fs::create_hard_link(dir + "/m.mmo", dir + "/same.csv");
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* says;
    } cases[] = {
        {{"convert", dir + "/folder.png", dir + "/o.png"}, 1, "is not a file"},
        {{"convert", "/dev/zero", dir + "/o.png"}, 1, "is not a file"},
        {{"info", fifo}, 1, "is not a file"},
        {{"memo", "import", fifo, "-o", dir + "/o.mmo"}, 1, "is not a file"},
        {{"song", "export", "/dev/null"}, 1, "is not a file"},
        {{"logo", dir + "/folder.png", dir + "/o.bmp"}, 1, "is not a file"},
        // Outputs: the input itself, the other kind of file, a device or a FIFO.
        {{"memo", "export", dir + "/m.mmo", "-o", dir + "/same.csv"}, 1, "is the input file"},
        {{"memo", "export", dir + "/m.mmo", "-o", dir + "/m.mmo"}, 2, ".mmo file is not what"},
        {{"song", "export", dir + "/s.kok", "-o", dir + "/x.kok"}, 2, ".kok file is not what"},
        {{"memo", "import", dir + "/in.csv", "-o", dir + "/out.csv"}, 2, ".csv file is not what"},
        {{"memo", "import", dir + "/in.csv", "-o", dir + "/out.vcf"}, 2, ".vcf file is not what"},
        {{"memo", "import", dir + "/in.csv", "-o", "/dev/null"}, 1, "is not a file"},
        {{"memo", "import", dir + "/in.csv", "-o", fifo}, 1, "is not a file"},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.code, c.code) << c.args[0] << " " << c.args[1] << ": " << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
    EXPECT_EQ(fs::file_size(dir + "/m.mmo"), 16384u) << "a refused output leaves the file as it was";
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(BoundedCli, SymlinkOutputsAreWrittenThroughAndStdoutByDash) {
    const std::string dir = CliScratch();
    WriteAll(dir + "/in.csv", "name,tel,email\nA,1,\n");
    fs::create_directories(dir + "/real");
    WriteAll(dir + "/real/target.mmo", "old");
    fs::create_symlink("real/target.mmo", dir + "/link.mmo");
    fs::create_symlink("real/new.mmo", dir + "/dangling.mmo");
    ASSERT_EQ(RunCli({"memo", "import", dir + "/in.csv", "-o", dir + "/link.mmo"}).code, 0);
    ASSERT_EQ(RunCli({"memo", "import", dir + "/in.csv", "-o", dir + "/dangling.mmo"}).code, 0);
    EXPECT_TRUE(fs::is_symlink(dir + "/link.mmo"));
    EXPECT_TRUE(fs::is_symlink(dir + "/dangling.mmo"));
    EXPECT_EQ(fs::file_size(dir + "/real/target.mmo"), 16384u);
    EXPECT_EQ(fs::file_size(dir + "/real/new.mmo"), 16384u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir + "/real"), fs::directory_iterator()), 2)
        << "no temporary file is left beside the target";
    const CliResult toStdout = RunCli({"memo", "export", dir + "/link.mmo", "-o", "-"});
    EXPECT_EQ(toStdout.code, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, "name,tel,email\r\nA,1,\r\n");
}

TEST(BoundedCli, ImportRefusesWhatTheFilesCannotKeep) {
    const std::string dir = CliScratch();
    struct Case {
        const char* command;
        std::string csv;
        const char* says;
    } cases[] = {
        {"song", "brand,title,singer,number\nZandri,*,B,1\n", "line 2, field title: '*' is not allowed"},
        {"song", "brand,title,singer,number\nPellix,A,B*C,1\n", "line 2, field singer: '*'"},
        {"memo", std::string("name,tel,email\nA\0B,1,\n", 22), "line 2, field name: the character NUL"},
        {"song", std::string("brand,title,singer,number\nQuorvel,A,B,1\0\n", 41), "line 2, field number: the character NUL"},
        {"song", SongRows(150), "line 102, field brand: more than 100 songs for this brand"},
    };
    for (const Case& c : cases) {
        WriteAll(dir + "/in.csv", c.csv);
        const std::string out = dir + (std::string(c.command) == "song" ? "/o.kok" : "/o.mmo");
        const CliResult r = RunCli({c.command, "import", dir + "/in.csv", "-o", out});
        EXPECT_EQ(r.code, 1) << c.csv;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST(BoundedCli, ExportThenImportGivesTheSameFileBack) {
    const std::string dir = CliScratch();
    auto memoRecord = [](const std::string& name, const std::string& tel, const std::string& email) {
        auto field = [](const std::string& s) { return (s + std::string(16, '\0')).substr(0, 16); };
        return field(name) + field(tel) + field(email.substr(0, 12)) + field(email.size() > 12 ? email.substr(12) : "");
    };
    auto songRecord = [](const std::string& title, const std::string& singer, const std::string& number) {
        auto field = [](const std::string& s, size_t n) { return "[" + s + std::string(n - s.size(), '*') + "]"; };
        return field(title, 30) + field(singer, 22) + field(number, 6);
    };
    const std::string memo = memoRecord("abcdefghijklmno", "012345678901234", "abcdefghijkl@nopqrstu.vw") +
                             memoRecord("\xC8\xAB\xB1\xE6\xB5\xBF", "line\nbreak", "") + memoRecord("", "5", "x@y") +
                             std::string(253 * 64, '\xFF');
    std::string song = songRecord("\xB3\xEB\xB7\xA1 title of thirty bytes..", "singer of twenty-two b", "123456");
    song += std::string(6400 - song.size(), '*') + songRecord("t", "s", " 1") + std::string(6400 - 64, '*');
    song += std::string(6400, '*');
    // A line break a memo file holds comes back as a space: it never reaches a device file.
    std::string memoBack = memo;
    memoBack.replace(memoBack.find("line\nbreak"), 10, "line break");
    struct Case {
        const char* kind;
        const char* name;
        std::string bytes;
        std::string back;
    } cases[] = {{"memo", "in.mmo", memo, memoBack}, {"song", "in.kok", song, song}};
    for (const Case& c : cases) {
        const std::string in = dir + "/" + c.name, csv = dir + "/out.csv";
        const std::string back = dir + "/back" + (std::string(c.kind) == "memo" ? ".mmo" : ".kok");
        WriteAll(in, c.bytes);
        const CliResult exported = RunCli({c.kind, "export", in, "-o", csv});
        ASSERT_EQ(exported.code, 0) << exported.err;
        const CliResult imported = RunCli({c.kind, "import", csv, "-o", back});
        ASSERT_EQ(imported.code, 0) << imported.err;
        EXPECT_EQ(ReadAll(back), c.back) << c.kind;
    }
}
