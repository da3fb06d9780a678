#include <gtest/gtest.h>

#include "memo/MemoCommit.h"
#include "memo/MemoRules.h"

namespace {
const std::string kHan = "\xB0\xA1";  // one Hangul syllable in CP949
}

TEST(MemoRules, Brackets) {
    std::string s = "kim[1]][";
    ReplaceBrackets(s);
    EXPECT_EQ(s, "kim(1))(");
}

TEST(MemoRules, EmailLineRule) {
    struct Case {
        const char* what;
        std::string email;
        bool flagBefore;
        std::string expected;
        bool flagAfter;
    } cases[] = {
        {"12 bytes: rule does not apply", "abcde" + kHan + kHan + "xyz", true, "abcde" + kHan + kHan + "xyz", true},
        {"5 letters + Hangul: space at 11", "abcde" + kHan + kHan + kHan + kHan, false,
         "abcde" + kHan + kHan + kHan + " " + kHan, true},
        {"4 letters + Hangul: unchanged", "abcd" + kHan + kHan + kHan + kHan + kHan, false,
         "abcd" + kHan + kHan + kHan + kHan + kHan, true},
        {"plain ASCII: no flag, unchanged", "abcdefghijklmno", false, "abcdefghijklmno", false},
        // A space only ever moves a two-byte character; a flag left set by an earlier
        // commit no longer puts one into a plain address.
        {"flag left set, plain text unchanged", "abc,efghijklmno", true, "abc,efghijklmno", true},
        {"comma before Hangul at 10: kept whole", "a,cdefgh" + kHan + kHan + "mn", false, "a,cdefgh" + kHan + kHan + "mn",
         true},
        {"comma before Hangul at 11: moved", "a,cdefghi" + kHan + kHan + "x", false,
         "a,cdefghi" + kHan + " " + kHan + "x", true},
        {"control byte before Hangul at 10: kept whole", "`ong@e\x7f" "c" + kHan + kHan + "om", false,
         "`ong@e\x7f" "c" + kHan + kHan + "om", true},
        {"trail byte that reads as a letter", "abcdefghij\x81" "A" "xyz", false, "abcdefghij\x81" "Axyz", true},
        {"already spaced: unchanged", "abcde" + kHan + kHan + kHan + " " + kHan, true,
         "abcde" + kHan + kHan + kHan + " " + kHan, true},
    };
    for (const Case& c : cases) {
        std::string e = c.email;
        bool flag = c.flagBefore;
        ApplyEmailLineRule(e, flag);
        EXPECT_EQ(e, c.expected) << c.what;
        EXPECT_EQ(flag, c.flagAfter) << c.what;
    }
}

TEST(MemoCommit, InputSteps) {
    MemoEntry row{};
    bool flag = false;
    EXPECT_EQ(CommitMemoInput(row, {"kim[1]", "010", "a@b"}, flag), MemoCommit::Stored);
    EXPECT_EQ(MemoFieldText(row, MemoField::Name), "kim(1)");
    EXPECT_EQ(CommitMemoInput(row, {"kim(1)", "010", "a@b"}, flag), MemoCommit::Unchanged);
    EXPECT_EQ(CommitMemoInput(row, {std::string(16, 'n'), "010", "a@b"}, flag), MemoCommit::TooLong);
    EXPECT_EQ(MemoFieldText(row, MemoField::Name), "kim(1)");
    EXPECT_EQ(CommitMemoInput(row, {"lee", "02", std::string(25, 'e')}, flag), MemoCommit::EmailOver);
    EXPECT_EQ(MemoFieldText(row, MemoField::Name), "lee") << "name and tel stay stored";
    EXPECT_EQ(MemoFieldText(row, MemoField::Email), "a@b");
    EXPECT_EQ(CommitMemoInput(row, {"lee", "02", std::string(24, 'e')}, flag), MemoCommit::Stored);
    // 24 bytes that the line rule pushes to 25 are refused.
    std::string grows = "abcde" + kHan + kHan + kHan + kHan + "0123456789a";
    ASSERT_EQ(grows.size(), 24u);
    flag = false;
    EXPECT_EQ(CommitMemoInput(row, {"lee", "02", grows}, flag), MemoCommit::EmailOver);
}
