#include <gtest/gtest.h>

#include <filesystem>

#include "cli/support/CliRun.h"
#include "memo/MemoFile.h"

namespace fs = std::filesystem;

TEST(CliBasics, HelpVersionAndUsage) {
    CliResult help = RunCli({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("memo import IN.csv|IN.vcf -o OUT.mmo"), std::string::npos);
    EXPECT_EQ(RunCli({"--version"}).code, 0);
    struct Case {
        std::vector<std::string> args;
        int code;
    } cases[] = {{{}, 2}, {{"bogus"}, 2}, {{"memo"}, 2}, {{"memo", "frobnicate"}, 2},
                 {{"memo", "import", "x.csv"}, 2}, {{"memo", "export"}, 2}, {{"memo", "export", "a", "-q"}, 2},
                 {{"info"}, 2}};
    for (const Case& c : cases) {
        CliResult r = RunCli(c.args);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_EQ(r.err.rfind("lyrabox-cli", 0), 0u) << r.err;
    }
}

TEST(CliBasics, EveryCommandPrintsItsOwnUsage) {
    struct Case {
        std::vector<std::string> args;
        std::string shows;   // a usage line that must be printed
        std::string hides;   // a usage line that must not ("" for none)
    } cases[] = {
        {{"info", "--help"}, "lyrabox-cli info FILE...", "lyrabox-cli convert"},
        {{"convert", "--help"}, "lyrabox-cli convert IN OUT", "lyrabox-cli logo"},
        {{"logo", "a.bmp", "--help"}, "lyrabox-cli logo IN OUT", "lyrabox-cli info"},
        {{"memo", "--help"}, "lyrabox-cli memo import", "lyrabox-cli song"},
        {{"memo", "import", "--help"}, "lyrabox-cli memo import", "lyrabox-cli memo export"},
        {{"song", "export", "--help"}, "lyrabox-cli song export", "lyrabox-cli song import"},
    };
    for (const Case& c : cases) {
        CliResult r = RunCli(c.args);
        EXPECT_EQ(r.code, 0) << c.args[0] << ": " << r.err;
        EXPECT_EQ(r.out.rfind("usage:\n", 0), 0u) << r.out;
        EXPECT_NE(r.out.find(c.shows), std::string::npos) << r.out;
        if (!c.hides.empty()) {
            EXPECT_EQ(r.out.find(c.hides), std::string::npos) << r.out;
        }
        EXPECT_NE(r.out.find("\n  " + c.args[0] + " "), std::string::npos) << "the command's description: " << r.out;
    }
    EXPECT_EQ(RunCli({"bogus", "--help"}).code, 2);
}

TEST(MemoCli, ImportExportRoundTrip) {
    std::string dir = CliScratch();
    std::string csv =
        "\xEF\xBB\xBF Name,TEL,email\r\n"
        "홍길동,010-1234-5678,hong@example.com\n"
        "\"Kim, \"\"K\"\"\",02[1],\n"
        "abcde,,abcde가나다라마바\n"
        "\r\n";  // blank lines are passed over
    WriteAll(dir + "/in.csv", csv);
    CliResult imp = RunCli({"memo", "import", dir + "/in.csv", "-o", dir + "/out.mmo"});
    ASSERT_EQ(imp.code, 0) << imp.err;
    std::string bytes = ReadAll(dir + "/out.mmo");
    ASSERT_EQ(bytes.size(), 16384u);
    EXPECT_EQ(bytes.substr(0, 6), "\xC8\xAB\xB1\xE6\xB5\xBF");
    EXPECT_EQ(bytes.substr(64 + 16, 6), std::string("02(1)\0", 6)) << "brackets replaced";
    // 5 letters then Hangul: the line rule puts a space at byte 11.
    EXPECT_EQ(bytes.substr(128 + 32, 12), "abcde\xB0\xA1\xB3\xAA\xB4\xD9 ");
    EXPECT_EQ(bytes.substr(192, 64), std::string(64, '\xFF'));

    CliResult exp = RunCli({"memo", "export", dir + "/out.mmo"});
    ASSERT_EQ(exp.code, 0) << exp.err;
    EXPECT_EQ(exp.out,
              "name,tel,email\r\n"
              "홍길동,010-1234-5678,hong@example.com\r\n"
              "\"Kim, \"\"K\"\"\",02(1),\r\n"
              "abcde,,abcde가나다 라마바\r\n");
    CliResult info = RunCli({"info", dir + "/out.mmo"});
    EXPECT_EQ(info.code, 0);
    EXPECT_NE(info.out.find("memo file, 3 entries"), std::string::npos) << info.out;
}

TEST(MemoCli, BadInputNamesFileLineAndFieldAndWritesNothing) {
    std::string dir = CliScratch();
    std::string many = "name,tel,email\n";
    for (int i = 0; i < 251; ++i) many += "n" + std::to_string(i) + ",,\n";
    struct Case {
        const char* what;
        std::string csv;
        std::string expect;  // part of the error line
    } cases[] = {
        {"no header", "kim,010,a@b\n", "line 1: the columns found (kim, 010, a@b) are not"},
        {"emoji", "name,tel,email\nkim,010,\xF0\x9F\x98\x80@x\n", "line 2, field email: the character"},
        // The limits are what the memo table stores: 15 bytes of name.
        {"name too long", "name,tel,email\nabcdefghijklmnop,,\n", "line 2, field name: 16 bytes, at most 15"},
        {"hangul counts two", "name,tel,email\n가나다라마바사아자,,\n", "field name: 18 bytes"},
        {"e-mail over after split", "name,tel,email\nk,,abcde가나다라마바사아자차카\n",
         "field email: 27 bytes, 28 bytes once split for the device, at most 24 bytes fit"},
        {"wrong field count", "name,tel,email\nkim,1\n", "line 2: expected 3 fields"},
        {"NUL", std::string("name,tel,email\nk\0m,1,2\n", 22), "line 2, field name: the character NUL (0x00)"},
        {"empty entry", "name,tel,email\n,,\n", "line 2: no name, tel or email"},
        {"251 entries", many, "line 252: the memo list holds 250 contacts"},
        {"open quote", "name,tel,email\n\"kim,1,2\n", "line 2: a quoted field is not closed"},
    };
    for (const Case& c : cases) {
        WriteAll(dir + "/bad.csv", c.csv);
        WriteAll(dir + "/keep.mmo", "precious");
        CliResult r = RunCli({"memo", "import", dir + "/bad.csv", "-o", dir + "/keep.mmo", "--fit", "fail"});
        EXPECT_EQ(r.code, 1) << c.what;
        EXPECT_NE(r.err.find(c.expect), std::string::npos) << c.what << ": " << r.err;
        EXPECT_NE(r.err.find("bad.csv"), std::string::npos) << c.what;
        // One line, and for a contact that does not fit the line that nothing was written.
        const bool fit = r.err.find(": nothing imported, nothing written to ") != std::string::npos;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), fit ? 2 : 1) << r.err;
        EXPECT_EQ(ReadAll(dir + "/keep.mmo"), "precious") << c.what;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2) << "no temporary left";
}

TEST(MemoCli, FullTableAndMissingFiles) {
    std::string dir = CliScratch();
    std::string csv = "name,tel,email\n";
    for (int i = 0; i < 250; ++i) csv += "n" + std::to_string(i) + ",,\n";
    WriteAll(dir + "/full.csv", csv);
    ASSERT_EQ(RunCli({"memo", "import", dir + "/full.csv", "-o", dir + "/full.mmo"}).code, 0);
    EXPECT_EQ(ReadAll(dir + "/full.mmo").size(), 16000u);
    CliResult missing = RunCli({"memo", "export", dir + "/none.mmo", "-o", dir + "/x.csv"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("none.mmo"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir + "/x.csv"));
    CliResult unknown = RunCli({"info", dir + "/full.csv", dir + "/none.bin"});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_NE(unknown.out.find("not recognised"), std::string::npos);
}

// vCard both ways and the fit policies: what each policy stores, reports and exits with.
TEST(MemoCli, VCardAndFitPolicies) {
    std::string dir = CliScratch();
    WriteAll(dir + "/in.vcf",
             "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=EUC-KR;ENCODING=QUOTED-PRINTABLE:=B1=E8=C3=\r\n=B6=BC=F6\r\n"
             "TEL;CELL:010-1\r\nTEL;HOME;PREF:02-2\r\nEND:VCARD\r\n"
             "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Alexander Maximilian\r\nEMAIL:alex@example.com\r\nEND:VCARD\r\n");
    struct Case {
        std::vector<std::string> options;
        int code;
        int entries;          // in the written file, -1: no file
        const char* report;   // part of standard error
    } cases[] = {
        {{}, 0, 2, "line 8, field name: 20 bytes, at most 15 bytes fit; cut to 15 bytes"},
        {{"--fit", "skip"}, 0, 1, "at most 15 bytes fit; contact skipped (contact: Alexander Maximilian)"},
        {{"--fit", "fail"}, 1, -1, "in.vcf: line 8, field name: 20 bytes"},
        {{"--from", "csv"}, 1, -1, "are not a contact layout this program knows"},
        {{"--fit", "cut"}, 2, -1, "--fit takes trim|skip|fail"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(dir + "/out.mmo");
        std::vector<std::string> args = {"memo", "import", dir + "/in.vcf", "-o", dir + "/out.mmo"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        CliResult r = RunCli(args);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_NE(r.err.find(c.report), std::string::npos) << r.err;
        EXPECT_EQ(fs::exists(dir + "/out.mmo"), c.entries >= 0);
        if (c.entries < 0) continue;
        MemoTable table{};
        EXPECT_EQ(DecodeMemoFile(ReadAll(dir + "/out.mmo"), table), c.entries);
        EXPECT_EQ(std::string(MemoFieldText(table[0], MemoField::Tel)), "02-2") << "the preferred number";
    }
    // Export to vCard (by --to or by the name) and back gives the same memo file.
    ASSERT_EQ(RunCli({"memo", "import", dir + "/in.vcf", "-o", dir + "/a.mmo"}).code, 0);
    ASSERT_EQ(RunCli({"memo", "export", dir + "/a.mmo", "-o", dir + "/a.vcf"}).code, 0);
    CliResult out = RunCli({"memo", "export", dir + "/a.mmo", "--to", "vcard"});
    EXPECT_EQ(out.out, ReadAll(dir + "/a.vcf"));
    EXPECT_EQ(out.out.rfind("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:김철수\r\n", 0), 0u) << out.out;
    ASSERT_EQ(RunCli({"memo", "import", dir + "/a.vcf", "-o", dir + "/b.mmo"}).code, 0);
    EXPECT_EQ(ReadAll(dir + "/b.mmo"), ReadAll(dir + "/a.mmo"));
}

// Encodings found and forced, a UTF-16 file's error line, the line closing a refused
// import, and the byte-order mark an export for spreadsheets begins with.
TEST(MemoCli, EncodingsClosingLineAndBom) {
    const std::string dir = CliScratch(), out = dir + "/out.mmo";
    WriteAll(dir + "/excel.csv", "name,tel,email\r\n\xC8\xAB\xB1\xE6\xB5\xBF,010,\r\n");
    WriteAll(dir + "/long.csv", "name,tel,email\r\nabcdefghijklmnop,,\r\n");
    std::string utf16;
    for (char c : std::string("Full name,Phone\r\nKim,010\r\n")) utf16 += {c, '\0'};
    WriteAll(dir + "/wide.csv", utf16);
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string err;  // standard error without the "lyrabox-cli: " prefixes, exactly
    } cases[] = {
        {{"excel.csv"}, 0, "excel.csv: the file is not UTF-8; read as CP949 (Korean)\n"},
        {{"excel.csv", "--encoding", "CP949"}, 0, ""},
        {{"excel.csv", "--encoding", "UTF-8"}, 1, "excel.csv: line 2: the text is not valid UTF-8 (byte 19)\n"},
        {{"excel.csv", "--encoding", "NOPE"}, 2, "memo import: --encoding: this system knows no encoding named NOPE\n"},
        {{"wide.csv"}, 1, "wide.csv: line 1: the columns found (Full name, Phone) are not a contact layout this "
                          "program knows: name,tel,email, or an export of Google Contacts, Outlook or Thunderbird\n"},
        {{"long.csv", "--fit", "fail"}, 1, "long.csv: line 2, field name: 16 bytes, at most 15 bytes fit; contact "
                                          "refused (contact: abcdefghijklmnop)\nlong.csv: nothing imported, nothing "
                                          "written to out.mmo (--fit fail)\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"memo", "import", dir + "/" + c.args[0], "-o", out};
        args.insert(args.end(), c.args.begin() + 1, c.args.end());
        CliResult r = RunCli(args);
        std::string err = r.err;
        for (size_t at; (at = err.find("lyrabox-cli: ")) != std::string::npos;) err.erase(at, 13);
        for (size_t at; (at = err.find(dir + "/")) != std::string::npos;) err.erase(at, dir.size() + 1);
        EXPECT_EQ(r.code, c.code) << c.args[0];
        EXPECT_EQ(err, c.err) << c.args[0];
    }
    MemoTable table{};
    ASSERT_EQ(DecodeMemoFile(ReadAll(out), table), 1);
    EXPECT_EQ(std::string(MemoFieldText(table[0], MemoField::Name)), "\xC8\xAB\xB1\xE6\xB5\xBF");
    EXPECT_EQ(RunCli({"memo", "export", out, "--bom"}).out, "\xEF\xBB\xBFname,tel,email\r\n홍길동,010,\r\n");
    EXPECT_EQ(RunCli({"memo", "export", out, "--bom", "--to", "vcard"}).code, 2);
}
