#include <gtest/gtest.h>

#include <filesystem>

#include "cli/support/CliRun.h"
#include "song/SongFile.h"
#include "song/support/SongTestSupport.h"

TEST(SongCli, ImportExportRoundTrip) {
    std::string dir = CliScratch();
    std::string csv =
        "\xEF\xBB\xBF" "brand,title,singer,number\r\n"
        "Pellix,아리랑,민요,1234\n"
        "Zandri,\"Live [1], \"\"best\"\"\",Band,12 34\n"
        "Quorvel,abcdefghijklmn가나,가수,7\n"
        "Zandri,Second,Two,2\n";
    WriteAll(dir + "/in.csv", csv);
    CliResult imp = RunCli({"song", "import", dir + "/in.csv", "-o", dir + "/out.kok"});
    ASSERT_EQ(imp.code, 0) << imp.err;
    std::string bytes = ReadAll(dir + "/out.kok");
    ASSERT_EQ(bytes.size(), 19200u);
    EXPECT_EQ(bytes.substr(0, 32), "[Live (1), \"best\"" + std::string(14, '*') + "]") << "brackets replaced";
    EXPECT_EQ(bytes.substr(6400, 7), "[" + K("아리랑"));
    EXPECT_EQ(bytes.substr(12800, 18), "[abcdefghijklmn " + K("가")) << "line rule";

    CliResult exp = RunCli({"song", "export", dir + "/out.kok"});
    ASSERT_EQ(exp.code, 0) << exp.err;
    EXPECT_EQ(exp.out,
              "brand,title,singer,number\r\n"
              "Zandri,\"Live (1), \"\"best\"\"\",Band,12 34\r\n"
              "Zandri,Second,Two,2\r\n"
              "Pellix,아리랑,민요,1234\r\n"
              "Quorvel,abcdefghijklmn 가나,가수,7\r\n");

    CliResult back = RunCli({"song", "export", dir + "/out.kok", "-o", dir + "/back.csv"});
    ASSERT_EQ(back.code, 0);
    CliResult again = RunCli({"song", "import", dir + "/back.csv", "-o", dir + "/again.kok"});
    ASSERT_EQ(again.code, 0) << again.err;
    EXPECT_EQ(ReadAll(dir + "/again.kok"), bytes);

    CliResult info = RunCli({"info", dir + "/out.kok"});
    EXPECT_EQ(info.code, 0);
    EXPECT_NE(info.out.find("song file"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Zandri: 2 songs"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Quorvel: 1 song\n"), std::string::npos) << info.out;
}

TEST(SongCli, BadRowsNameFileLineAndFieldAndWriteNothing) {
    std::string dir = CliScratch();
    std::string hundred = "brand,title,singer,number\n";
    for (int i = 0; i < 100; ++i) hundred += "Pellix,T,S,1\n";
    struct Case {
        std::string csv;
        std::string expect;  // a piece of the error line
    } cases[] = {
        {"brand,title,singer,number\nZandri,T,S,12-3\n", "line 2, field number"},
        {"brand,title,singer,number\nZandri,T,S,1\nBrandX,T,S,1\n", "line 3, field brand: unknown brand"},
        {"brand,title,singer,number\nZandri,T,,1\n", "line 2: title, singer and number"},
        {"brand,title,singer,number\nZandri," + std::string(31, 't') + ",S,1\n", "line 2, field title: 31 bytes"},
        {"brand,title,singer,number\nZandri,T," + std::string(23, 's') + ",1\n", "field singer: 23 bytes"},
        {"brand,title,singer,number\nZandri,T,S,1234567\n", "field number: 7 bytes"},
        {"brand,title,singer,number\nZandri,T😀,S,1\n", "line 2, field title: the character"},
        {"brand,title,singer,number\nZandri,T,S\n", "line 2: expected 4 fields"},
        {"title,singer,number\n", "line 1: the header"},
        {hundred + "Pellix,T,S,1\n", "line 102, field brand: more than 100"},
    };
    for (const Case& c : cases) {
        WriteAll(dir + "/in.csv", c.csv);
        WriteAll(dir + "/out.kok", "old");
        CliResult r = RunCli({"song", "import", dir + "/in.csv", "-o", dir + "/out.kok"});
        EXPECT_EQ(r.code, 1) << c.expect;
        EXPECT_EQ(r.err.rfind("lyrabox-cli: " + dir + "/in.csv", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.expect), std::string::npos) << r.err;
        EXPECT_EQ(ReadAll(dir + "/out.kok"), "old");
    }
    WriteAll(dir + "/in.csv", hundred);
    EXPECT_EQ(RunCli({"song", "import", dir + "/in.csv", "-o", dir + "/out.kok"}).code, 0) << "100 songs fit";
    EXPECT_EQ(RunCli({"song", "import", dir + "/in.csv"}).code, 2);
    EXPECT_EQ(RunCli({"song", "export"}).code, 2);
    EXPECT_EQ(RunCli({"song", "export", dir + "/missing.kok"}).code, 1);
}

TEST(SongCli, ExportOfAFileWithBytesThatAreNotKorean) {
    std::string dir = CliScratch();
    WriteAll(dir + "/bad.kok", "[\xFF\xFF*][s][1]");
    CliResult r = RunCli({"song", "export", dir + "/bad.kok"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Zandri entry 1, field title"), std::string::npos) << r.err;
    CliResult info = RunCli({"info", dir + "/bad.kok"});
    EXPECT_NE(info.out.find("11 bytes; a song file has 19200"), std::string::npos) << info.out;
}
