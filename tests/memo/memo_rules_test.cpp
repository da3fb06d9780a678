#include <gtest/gtest.h>

#include <cstring>

#include "memo/MemoCommit.h"
#include "memo/MemoRules.h"

namespace {
const std::string kHan = "\xB0\xA1";  // one Hangul syllable in CP949
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
    EXPECT_EQ(CommitMemoInput(row, {"lee", "02", std::string(24, 'e')}, flag), MemoCommit::Stored);
    // 24 bytes that the line rule pushes to 25 are refused, and the row stays whole.
    std::string grows = "abcde" + kHan + kHan + kHan + kHan + "0123456789a";
    ASSERT_EQ(grows.size(), 24u);
    flag = false;
    EXPECT_EQ(CommitMemoInput(row, {"park", "03", grows}, flag), MemoCommit::EmailOver);
    EXPECT_EQ(MemoFieldText(row, MemoField::Name), "lee") << "nothing of a refused commit is stored";
    EXPECT_EQ(MemoFieldText(row, MemoField::Email), std::string(24, 'e'));
}

// Limits hold what the person changed: a field kept as the row stores it passes with the
// file's 15 bytes, the same bytes typed anew are refused, and a refusal names the field.
TEST(MemoCommit, LimitsApplyToChangedFields) {
    const std::string name15(15, 'n');
    struct Case {
        const char* what;
        MemoInput stored, typed;
        MemoCommit result;
        MemoField overField;
        size_t overLimit;
    } cases[] = {
        {"imported 15-byte name kept, e-mail changed", {name15, "010", "a@b"}, {name15, "010", "new@b"},
         MemoCommit::Stored, MemoField::Name, 0},
        {"15-byte name typed anew", {"kim", "010", "a@b"}, {name15, "010", "a@b"}, MemoCommit::TooLong,
         MemoField::Name, 14},
        {"15-byte tel typed", {"kim", "010", ""}, {"kim", std::string(15, '1'), ""}, MemoCommit::TooLong,
         MemoField::Tel, 14},
        {"25-byte e-mail typed", {"kim", "", ""}, {"kim", "", std::string(25, 'e')}, MemoCommit::TooLong,
         MemoField::Email, 24},
    };
    for (const Case& c : cases) {
        MemoEntry row{};
        SetMemoField(row, MemoField::Name, c.stored.name);
        SetMemoField(row, MemoField::Tel, c.stored.tel);
        SetMemoField(row, MemoField::Email, c.stored.email);
        const MemoEntry before = row;
        bool flag = false;
        MemoOverLimit over;
        for (bool enter : {true, false}) {
            MemoEntry r = before;
            MemoCommit got = enter ? CommitMemoEnter(r, c.typed, flag, &over) : CommitMemoInput(r, c.typed, flag, &over);
            EXPECT_EQ(got, c.result) << c.what;
            if (got == MemoCommit::Stored) {
                EXPECT_EQ(MemoFieldText(r, MemoField::Email), c.typed.email) << c.what;
            } else {
                EXPECT_EQ(std::memcmp(&r, &before, sizeof r), 0) << c.what << ": the row changed";
                EXPECT_EQ(over.field, c.overField) << c.what;
                EXPECT_EQ(over.limit, c.overLimit) << c.what;
            }
        }
    }
}
