#include <gtest/gtest.h>

#include "memo/MemoFile.h"

namespace {

MemoTable Table(std::initializer_list<std::array<const char*, 3>> rows) {
    MemoTable t{};
    int i = 0;
    for (const auto& r : rows) {
        SetMemoField(t[i], MemoField::Name, r[0]);
        SetMemoField(t[i], MemoField::Tel, r[1]);
        SetMemoField(t[i], MemoField::Email, r[2]);
        ++i;
    }
    return t;
}

std::string Field(const std::string& text) {
    std::string f(16, '\0');
    f.replace(0, text.size(), text);
    return f;
}

std::string Fillers(size_t n) { return std::string(n * 64, '\xFF'); }

}  // namespace

TEST(MemoFileWrite, Layouts) {
    MemoTable three = Table({{"kim", "010-1", "a@b.c"}, {"lee", "02", "x"}, {"park", "", ""}});
    std::string rec0 = Field("kim") + Field("010-1") + Field("a@b.c") + Field("");
    struct Case {
        const char* what;
        MemoTable table;
        int last;
        size_t records;  // entry records expected
    } cases[] = {
        {"empty table", MemoTable{}, 0, 0},
        {"negative last", three, -1, 0},
        {"three entries, last 3", three, 3, 3},
        {"last bounds the rows written", three, 1, 2},
        {"row 0 empty", Table({{"", "", ""}}), 5, 0},
    };
    for (const Case& c : cases) {
        std::string bytes = EncodeMemoFile(c.table, c.last);
        ASSERT_EQ(bytes.size(), 16384u) << c.what;
        EXPECT_EQ(bytes.substr(c.records * 64), Fillers(256 - c.records)) << c.what;
        if (c.records) {
            EXPECT_EQ(bytes.substr(0, 64), rec0) << c.what;
        }
    }
}

TEST(MemoFileWrite, FullTableHasNoFiller) {
    MemoTable t{};
    for (int i = 0; i < kMemoRows; ++i) SetMemoField(t[i], MemoField::Name, "n" + std::to_string(i));
    std::string bytes = EncodeMemoFile(t, 249);
    ASSERT_EQ(bytes.size(), 16000u);
    EXPECT_EQ(bytes.substr(249 * 64, 16), Field("n249"));
}

TEST(MemoFileWrite, EmailPieces) {
    struct Case {
        const char* email;
        std::string first, second;
    } cases[] = {
        {"abcdefghijkl", Field("abcdefghijkl"), Field("")},
        {"abcdefghijklmnopqrst", Field("abcdefghijkl"), Field("mnopqrst")},
        {"abcdefghijklmnopqrstuvwx", Field("abcdefghijkl"), Field("mnopqrstuvwx")},
        {"", Field(""), Field("")},
    };
    for (const Case& c : cases) {
        MemoTable t = Table({{"n", "t", c.email}});
        std::string bytes = EncodeMemoFile(t, 0);
        EXPECT_EQ(bytes.substr(32, 16), c.first) << c.email;
        EXPECT_EQ(bytes.substr(48, 16), c.second) << c.email;
        MemoTable back{};
        ASSERT_EQ(DecodeMemoFile(bytes, back), 1);
        EXPECT_EQ(MemoFieldText(back[0], MemoField::Email), c.email);
    }
}

TEST(MemoFileRead, NameAndTelComeBackWhole) {
    // 13 to 15 bytes are stored and written whole, so they must read back whole.
    MemoTable t = Table({{"abcdefghijklmn", "012345678901234", "e"}});
    MemoTable back{};
    ASSERT_EQ(DecodeMemoFile(EncodeMemoFile(t, 0), back), 1);
    EXPECT_EQ(MemoFieldText(back[0], MemoField::Name), "abcdefghijklmn");
    EXPECT_EQ(MemoFieldText(back[0], MemoField::Tel), "012345678901234");
    // A 16-byte field with no zero byte reads all 16.
    std::string rec = std::string(16, 'N') + Field("t") + Field("") + Field("");
    ASSERT_EQ(DecodeMemoFile(rec + Fillers(1), back), 1);
    EXPECT_EQ(MemoFieldText(back[0], MemoField::Name), std::string(16, 'N'));
}

TEST(MemoFileRead, EndsAndBounds) {
    MemoTable back{};
    SetMemoField(back[7], MemoField::Name, "stale");
    EXPECT_EQ(DecodeMemoFile(Fillers(256), back), 0);
    EXPECT_TRUE(IsMemoRowEmpty(back[7])) << "the whole table is cleared first";

    std::string rec = Field("a") + Field("b") + Field("c") + Field("");
    std::string filler_then_entry = rec + Fillers(1) + rec;
    EXPECT_EQ(DecodeMemoFile(filler_then_entry, back), 1);

    std::string many;
    for (int i = 0; i < 260; ++i) many += rec;
    EXPECT_EQ(DecodeMemoFile(many, back), 250);
    EXPECT_EQ(DecodeMemoFile("", back), 0);
}

TEST(MemoFileRead, TruncatedRecordsKeepOnlyTheirOwnBytes) {
    std::string rec0 = Field("first-name") + Field("first-tel") + Field("first-email") + Field("second-pc");
    std::string rec1 = Field("x") + Field("0102");
    struct Case {
        size_t cut;  // bytes of record 1 present
        const char* name;
        const char* tel;
    } cases[] = {{1, "x", ""}, {17, "x", "0"}, {20, "x", "0102"}, {40, "x", "0102"}};
    for (const Case& c : cases) {
        std::string data = rec0 + (rec1 + std::string(32, '\0')).substr(0, c.cut);
        MemoTable back{};
        ASSERT_EQ(DecodeMemoFile(data, back), 2) << c.cut;
        EXPECT_EQ(MemoFieldText(back[1], MemoField::Name), c.name) << c.cut;
        EXPECT_EQ(MemoFieldText(back[1], MemoField::Tel), c.tel) << c.cut;
        EXPECT_EQ(MemoFieldText(back[1], MemoField::Email), "") << c.cut;
        EXPECT_EQ(MemoFieldText(back[0], MemoField::Email), "first-emailsecond-pc");
    }
}
