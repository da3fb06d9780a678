// What a command may replace: only a file of the kind it writes (by content), unless
// --force; never its input, also not through standard output; "--" ends the options.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <map>

#include "cli/support/CliRun.h"
#include "cli/support/HostileFiles.h"

namespace fs = std::filesystem;

namespace {

// One file of every kind the commands read and write, made by the commands themselves.
std::map<std::string, std::string> FilesOfEveryKind(const std::string& dir) {
    WriteAll(dir + "/c.csv", "name,tel,email\nAnn,123,a@b.c\n");
    WriteAll(dir + "/s.csv", "brand,title,singer,number\nZandri,T,S,1\n");
    WriteAll(dir + "/c.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\nEND:VCARD\r\n");
    WriteAll(dir + "/p.bmp", hostile::BmpHeader(2, 2, 24, 0, 16) + std::string(16, '\x40'));
    EXPECT_EQ(RunCli({"memo", "import", dir + "/c.csv", "-o", dir + "/m.mmo"}).code, 0);
    EXPECT_EQ(RunCli({"song", "import", dir + "/s.csv", "-o", dir + "/s.kok"}).code, 0);
    std::map<std::string, std::string> bytes;
    for (const char* name : {"c.csv", "c.vcf", "p.bmp", "m.mmo", "s.kok"}) bytes[name] = ReadAll(dir + "/" + name);
    return bytes;
}

}  // namespace

TEST(OutputSafety, AnExistingFileOfAnotherKindIsReplacedOnlyWithForce) {
    const std::string dir = CliScratch();
    const std::map<std::string, std::string> kinds = FilesOfEveryKind(dir);
    struct Command {
        std::vector<std::string> args;  // the output's name is appended
        const char* writes;              // the kind file it may replace without --force
        const char* outName;
    } commands[] = {
        {{"memo", "import", dir + "/c.csv", "-o"}, "m.mmo", "out.mmo"},
        {{"memo", "export", dir + "/m.mmo", "-o"}, "c.csv", "out.csv"},
        {{"memo", "export", dir + "/m.mmo", "--to", "vcard", "-o"}, "c.vcf", "out.vcf"},
        {{"song", "import", dir + "/s.csv", "-o"}, "s.kok", "out.kok"},
        {{"song", "export", dir + "/s.kok", "-o"}, "c.csv", "out.txt"},
        {{"convert", dir + "/p.bmp"}, "p.bmp", "out.png"},
        {{"logo", dir + "/p.bmp"}, "p.bmp", "out.gif"},
    };
    for (const Command& command : commands) {
        for (const auto& [kind, bytes] : kinds) {
            const std::string out = dir + "/" + command.outName;
            WriteAll(out, bytes);
            std::vector<std::string> args = command.args;
            args.push_back(out);
            const CliResult r = RunCli(args);
            const std::string what = args[0] + " " + args[1] + " over " + kind;
            if (kind == command.writes) {
                EXPECT_EQ(r.code, 0) << what << ": " << r.err;
                continue;
            }
            EXPECT_EQ(r.code, 1) << what;
            EXPECT_NE(r.err.find("--force"), std::string::npos) << what << ": " << r.err;
            EXPECT_EQ(ReadAll(out), bytes) << what;
            args.push_back("--force");
            EXPECT_EQ(RunCli(args).code, 0) << what << " --force";
            EXPECT_NE(ReadAll(out), bytes) << what << " --force";
        }
    }
    // A name of another kind is a usage error whatever is there.
    EXPECT_EQ(RunCli({"song", "import", dir + "/s.csv", "-o", dir + "/new.bmp"}).code, 2);
    EXPECT_EQ(RunCli({"memo", "import", dir + "/c.csv", "-o", dir + "/new.kok"}).code, 2);
    EXPECT_FALSE(fs::exists(dir + "/new.bmp") || fs::exists(dir + "/new.kok"));
}

// In a child process: standard output onto an input (">>", "1<>"), or a file size
// limit that fails writes as a full disk does. Refused or failed with the reason;
// the file it concerns stays as it was, and no output is left.
TEST(OutputSafety, StandardOutputOntoAnInputAndAFullDisk) {
    const std::string dir = CliScratch();
    std::map<std::string, std::string> kinds = FilesOfEveryKind(dir);
    kinds["big.bmp"] = hostile::BmpHeader(200, 200, 24, 0, 120000) + std::string(120000, '\x40');
    WriteAll(dir + "/big.bmp", kinds["big.bmp"]);
    struct Case {
        std::vector<std::string> args;
        const char* onto;  // standard output's file, or "" for a full disk
        int flags;
        const char* untouched;
        int code;
        const char* says;
    } cases[] = {
        {{"memo", "export", dir + "/m.mmo"}, "m.mmo", O_WRONLY | O_APPEND, "m.mmo", 1, "standard output is this file"},
        {{"memo", "export", dir + "/m.mmo", "-o", "-"}, "m.mmo", O_RDWR, "m.mmo", 1, "standard output"},
        {{"song", "export", dir + "/s.kok"}, "s.kok", O_WRONLY | O_APPEND, "s.kok", 1, "standard output"},
        {{"info", dir + "/p.bmp"}, "p.bmp", O_WRONLY | O_APPEND, "p.bmp", 1, "standard output"},
        {{"info", dir + "/p.bmp"}, "c.vcf", O_WRONLY | O_APPEND, "p.bmp", 0, ""},
        {{"convert", dir + "/big.bmp", dir + "/out.bmp"}, "", 0, "big.bmp", 1, "File too large"},
        {{"logo", dir + "/big.bmp", dir + "/out.bmp"}, "", 0, "big.bmp", 1, "File too large"},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCliInChild(c.args, dir, [&] {
            if (*c.onto) {
                const int fd = open((dir + "/" + c.onto).c_str(), c.flags);
                if (fd < 0 || dup2(fd, STDOUT_FILENO) < 0) _exit(99);
                return;
            }
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{1000, 1000};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        EXPECT_EQ(r.code, c.code) << c.args[0] << " " << c.onto;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args[0] << ": " << r.err;
        EXPECT_EQ(ReadAll(dir + "/" + c.untouched), kinds.at(c.untouched)) << c.args[0] << " " << c.onto;
        EXPECT_FALSE(fs::exists(dir + "/out.bmp"));
    }
}

// The smaller rules, each a row: what the command line says and exits with.
TEST(OutputSafety, OptionsNamesAndMessages) {
    const std::string dir = CliScratch();
    FilesOfEveryKind(dir);
    WriteAll(dir + "/-dash.csv", "brand,title,singer,number\nZANDRI,T,S,1\n pellix ,U,V,2\n");
    WriteAll(dir + "/two.gif", hostile::EmptyFramesGif(4, 4, 2));
    fs::create_symlink("loop-b.bmp", dir + "/loop-a.bmp");
    fs::create_symlink("loop-a.bmp", dir + "/loop-b.bmp");
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* says;  // in standard output, or standard error when the code is not 0
    } cases[] = {
        {{"song", "import", "--", dir + "/-dash.csv", "-o", dir + "/dash.kok"}, 2, "only one input"},  // "-o" is a name
        {{"song", "import", "-o", dir + "/dash.kok", "--", dir + "/-dash.csv"}, 0, ""},
        {{"info", dir + "/dash.kok"}, 0, "Zandri: 1 song\n  Pellix: 1 song\n  Quorvel: 0 songs\n"},
        {{"info", "--", dir + "/c.csv"}, 1, "not recognised"},
        {{"convert", "--frame", "2", dir + "/two.gif", dir + "/f.png"}, 1, "there is no frame 2; the picture has 2 frames"},
        {{"convert", dir + "/p.bmp", dir + "/loop-a.bmp"}, 1, "symbolic links"},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.code, c.code) << c.args[1] << ": " << r.err;
        EXPECT_NE((c.code == 0 ? r.out : r.err).find(c.says), std::string::npos) << c.args[1] << ": " << r.err << r.out;
    }
    EXPECT_TRUE(fs::is_symlink(dir + "/loop-a.bmp")) << "a symlink loop is never replaced by a file";
}
