#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "memo/MemoBook.h"
#include "memo/MemoCommit.h"
#include "memo/MemoRowDelete.h"
#include "memo/MemoSearch.h"
#include "platform/Cp949.h"

namespace {

std::string Cp(const char* utf8) { return cp949::FromUtf8(utf8).text; }

// A table whose first n rows are named "r0", "r1", ...
MemoTable Named(int n) {
    MemoTable t{};
    for (int i = 0; i < n; ++i) SetMemoField(t[i], MemoField::Name, "r" + std::to_string(i));
    return t;
}

std::vector<std::string> Names(const MemoTable& t) {
    std::vector<std::string> names;
    for (const MemoEntry& row : t) {
        if (IsMemoRowEmpty(row)) break;
        names.emplace_back(MemoFieldText(row, MemoField::Name));
    }
    return names;
}

int FilledRows(const MemoTable& t) {
    int n = 0;
    for (const MemoEntry& row : t) n += !IsMemoRowEmpty(row);
    return n;
}

}  // namespace

TEST(MemoRowDelete, ShiftsWithoutHoles) {
    MemoTable t = Named(8);
    int last = 8;
    // The view deletes the highest selected row first.
    for (int row : {4, 1}) last = LastRowAfterDeletion(DeleteMemoRow(t, row), last);
    EXPECT_EQ(Names(t), (std::vector<std::string>{"r0", "r2", "r3", "r5", "r6", "r7"}));
    EXPECT_EQ(FilledRows(t), 6);
    EXPECT_EQ(last, 6);
}

TEST(MemoRowDelete, Edges) {
    struct Case {
        const char* what;
        int filled, row, last;
        bool pair;
        int end, lastAfter, filledAfter;
    } cases[] = {
        {"row 0 alone clears the pair and the bound", 1, 0, 3, true, 0, 0, 0},
        {"row 0 of two moves row 1 up", 2, 0, 2, false, 2, 1, 1},
        {"last filled row", 5, 4, 5, false, 5, 4, 4},
        {"full table moves row 249", 250, 0, 249, false, 250, 249, 249},
        {"row 249 of a full table", 250, 249, 249, false, 250, 249, 249},
        {"an empty row below the entries does not raise the bound", 3, 100, 3, false, 101, 3, 3},
    };
    for (const Case& c : cases) {
        MemoTable t = Named(c.filled);
        MemoRowDeletion d = DeleteMemoRow(t, c.row);
        EXPECT_EQ(d.clearedPair, c.pair) << c.what;
        if (!c.pair) {
            EXPECT_EQ(d.end, c.end) << c.what;
        }
        EXPECT_EQ(LastRowAfterDeletion(d, c.last), c.lastAfter) << c.what;
        EXPECT_EQ(FilledRows(t), c.filledAfter) << c.what;
    }
}

TEST(MemoSearch, CharacterBoundaries) {
    // The trail byte of one syllable and the lead byte of the next are no match.
    std::string ganada = Cp("가나다");
    struct Case {
        std::string hay, needle;
        bool found;
    } cases[] = {
        {ganada, Cp("나"), true},
        {ganada, ganada.substr(1, 2), false},
        {"kim@lyra", "@ly", true},
        {"kim", "Kim", false},
        {"kim", "", false},
        {"ab", "abc", false},
        {"a" + Cp("가") + "b", "b", true},
    };
    for (const Case& c : cases) EXPECT_EQ(ContainsCp949(c.hay, c.needle), c.found) << c.hay << " / " << c.needle;
}

TEST(MemoSearch, OrderAndWrap) {
    MemoTable t = Named(5);
    SetMemoField(t[1], MemoField::Email, "x@lyra");
    SetMemoField(t[3], MemoField::Tel, "010");
    SetMemoField(t[249], MemoField::Email, "x@tail");
    struct Case {
        const char* what;
        int current;
        const char* text;
        bool down;
        int row;
    } cases[] = {
        {"down starts after the current row", 1, "x@", true, 249},
        {"down wraps from row 249 to row 0", 249, "r", true, 0},
        {"down from the last filled row wraps", 4, "lyra", true, 1},
        {"up starts before the current row", 3, "x@", false, 1},
        {"up wraps from row 0 to row 249", 0, "x@", false, 249},
        {"the current row itself is found last", 3, "010", true, 3},
        {"nothing found", 2, "zzz", true, -1},
        {"from before the first row", -1, "r0", true, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(FindMemoRow(t, c.current, c.text, c.down), c.row) << c.what;
}

TEST(MemoCommitEnter, Steps) {
    std::string hangul4 = Cp("가나다라");  // 8 bytes
    struct Case {
        const char* what;
        MemoInput in;
        MemoCommit result;
        std::string name, email;
        bool flagAfter;
    } cases[] = {
        {"brackets", {"kim[1]", "010", "a@b"}, MemoCommit::Stored, "kim(1)", "a@b", false},
        {"name over the typed limit", {std::string(15, 'n'), "", ""}, MemoCommit::TooLong, "", "", false},
        {"e-mail over the typed limit", {"n", "", std::string(30, 'e')}, MemoCommit::TooLong, "", "", false},
        {"e-mail of 25 bytes", {"lee", "02", std::string(25, 'e')}, MemoCommit::TooLong, "", "", false},
        {"e-mail the line rule makes 25 bytes", {"lee", "02", "abcde" + hangul4 + "0123456789a"},
         MemoCommit::EmailOver, "", "", true},
        {"5 letters then Hangul", {"n", "", "abcde" + hangul4}, MemoCommit::Stored, "n",
         "abcde" + hangul4.substr(0, 6) + " " + hangul4.substr(6), true},
        {"4 letters then Hangul", {"n", "", "abcd" + hangul4 + "x"}, MemoCommit::Stored, "n", "abcd" + hangul4 + "x",
         true},
    };
    for (const Case& c : cases) {
        MemoEntry row{};
        bool flag = false;
        EXPECT_EQ(CommitMemoEnter(row, c.in, flag), c.result) << c.what;
        EXPECT_EQ(MemoFieldText(row, MemoField::Name), c.name) << c.what;
        EXPECT_EQ(MemoFieldText(row, MemoField::Email), c.email) << c.what;
        EXPECT_EQ(flag, c.flagAfter) << c.what;
    }
}

// The list's last-row bound through every edit of the page: a commit opens the row after
// it, deletions in any order keep no holes and never raise the bound, imports go after
// the entries or in place of them.
TEST(MemoBook, LastRowThroughEdits) {
    struct Case {
        const char* what;
        int entries, last;
        std::function<void(MemoBook&)> edit;
        std::vector<std::string> names;
        int lastAfter, nextRow;
    } cases[] = {
        {"enter past the last row", 2, 1, [](MemoBook& b) { bool d = false; b.CommitEnter(2, {"x", "", ""}, d, nullptr); },
         {"r0", "r1", "x"}, 3, 3},
        {"enter nothing", 2, 1, [](MemoBook& b) { bool d = false; b.CommitEnter(2, {}, d, nullptr); }, {"r0", "r1"}, 1, 2},
        {"input unchanged", 2, 1, [](MemoBook& b) { bool d = false; b.CommitInput(0, {"r0", "", ""}, d, nullptr); },
         {"r0", "r1"}, 1, 2},
        {"input at row 249", 0, 0, [](MemoBook& b) { bool d = false; b.CommitInput(249, {"z", "", ""}, d, nullptr); },
         {}, 249, 249},
        {"delete in any order", 5, 4, [](MemoBook& b) { b.DeleteRows({3, 1, 3}); }, {"r0", "r2", "r4"}, 3, 3},
        {"delete far below", 3, 2, [](MemoBook& b) { b.DeleteRows({200}); }, {"r0", "r1", "r2"}, 2, 3},
        {"delete the only one", 1, 0, [](MemoBook& b) { b.DeleteRows({0}); }, {}, 0, 0},
        {"import after", 2, 1, [](MemoBook& b) { b.Import({{"a", "", ""}, {"b", "", ""}}, false); },
         {"r0", "r1", "a", "b"}, 3, 4},
        {"import in place", 2, 1, [](MemoBook& b) { b.Import({{"a", "", ""}}, true); }, {"a"}, 0, 1},
    };
    for (const Case& c : cases) {
        MemoBook book;
        book.Replace(Named(c.entries), c.entries);
        book.last = c.last;
        c.edit(book);
        EXPECT_EQ(Names(book.table), c.names) << c.what;
        EXPECT_EQ(book.last, c.lastAfter) << c.what;
        EXPECT_EQ(book.NextEntryRow(), c.nextRow) << c.what;
        EXPECT_EQ(book.SavedEntries(), std::min(int(c.names.size()), c.lastAfter + 1)) << c.what;
    }
}
