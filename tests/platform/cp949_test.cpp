#include <gtest/gtest.h>

#include "platform/Cp949.h"

TEST(Cp949, ConvertsBothWays) {
    struct Case {
        const char* utf8;
        const char* cp949;
    } cases[] = {
        {"abc", "abc"},
        {"가", "\xB0\xA1"},
        {"홍길동", "\xC8\xAB\xB1\xE6\xB5\xBF"},
        {"똠", "\x8C\x63"},  // outside KS X 1001: CP949's extended area
        {"", ""},
    };
    for (const Case& c : cases) {
        cp949::Conversion to = cp949::FromUtf8(c.utf8);
        ASSERT_TRUE(to.ok) << c.utf8 << ": " << to.error;
        EXPECT_EQ(to.text, c.cp949);
        cp949::Conversion back = cp949::ToUtf8(to.text);
        ASSERT_TRUE(back.ok) << back.error;
        EXPECT_EQ(back.text, c.utf8);
    }
}

TEST(Cp949, RefusesWhatItCannotHoldAndNamesIt) {
    for (const char* text : {"ok \xF0\x9F\x98\x80", "\xE0\xB8\x81 thai", "\xD8\xB4"}) {
        cp949::Conversion c = cp949::FromUtf8(text);
        EXPECT_FALSE(c.ok) << text;
        EXPECT_TRUE(c.text.empty());
        EXPECT_NE(c.error.find("CP949"), std::string::npos) << c.error;
    }
    for (const char* bad : {"\xC3", "ab\xB0\xA1", "\xED\xA0\x80", "\xC0\xAF"}) {  // cut, CP949, surrogate, overlong
        cp949::Conversion c = cp949::FromUtf8(bad);
        EXPECT_FALSE(c.ok);
        EXPECT_NE(c.error.find("not valid UTF-8"), std::string::npos) << c.error;
    }
}

TEST(Cp949, InvalidBytesAndLossyDisplay) {
    EXPECT_FALSE(cp949::ToUtf8("a\xB0").ok);  // lead byte without its trail
    EXPECT_EQ(cp949::ToUtf8Lossy("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(cp949::ToUtf8Lossy("\xB0\xA1"), "가");
}

TEST(Cp949, LeadBytes) {
    EXPECT_FALSE(cp949::IsDBCSLeadByte(0x7F));
    EXPECT_TRUE(cp949::IsDBCSLeadByte(0x81));
    EXPECT_TRUE(cp949::IsDBCSLeadByte(0xB0));
    EXPECT_TRUE(cp949::IsDBCSLeadByte(0xFE));
    EXPECT_FALSE(cp949::IsDBCSLeadByte(0xFF));
}
