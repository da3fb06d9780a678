#include <gtest/gtest.h>

#include "song/SongRules.h"
#include "song/support/SongTestSupport.h"

TEST(SongLineRule, SpaceGoesAtByte14WhenAnEvenCountPrecedesADoubleByteCharacter) {
    struct Case {
        const char* what;
        std::string in, out;
    } cases[] = {
        {"13 letters then Hangul", std::string(13, 'a') + K("가") + "x", std::string(13, 'a') + K("가") + "x"},
        {"14 letters then Hangul", std::string(14, 'a') + K("가"), std::string(14, 'a') + " " + K("가")},
        {"15 bytes are never changed", K("가") + std::string(12, 'a') + ",", K("가") + std::string(12, 'a') + ","},
        {"Hangul then 12 letters and Hangul", K("가") + std::string(12, 'b') + K("나다"),
         K("가") + std::string(12, 'b') + " " + K("나다")},
        {"no lead byte in the first 15", std::string(14, 'a') + "b" + K("가"), std::string(14, 'a') + "b" + K("가")},
        {"excluded bytes are not counted", std::string(12, 'a') + ",;" + K("가"), std::string(12, 'a') + ",; " + K("가")},
        {"punctuation before a character at 14", std::string(11, 'a') + ",;\\" + K("가나"),
         std::string(11, 'a') + ",;\\ " + K("가나")},
        {"trail byte that reads as a letter", std::string(13, 'a') + "\x81" "A" "xyz", std::string(13, 'a') + "\x81" "Axyz"},
        {"all Hangul", K("가나다라마바사아"), K("가나다라마바사") + " " + K("아")},
    };
    for (const Case& c : cases) {
        std::string s = c.in;
        ApplySongLineRule(s);
        EXPECT_EQ(s, c.out) << c.what;
    }
}

TEST(SongChecks, NewSongChecksRunInOrder) {
    struct Case {
        const char* what;
        SongFields in;
        int count;
        SongCheck result;
        SongFields stored;
    } cases[] = {
        {"plain", {"Title", "Singer", "123"}, 0, SongCheck::Ok, {"Title", "Singer", "123"}},
        {"the 100th", {"T", "S", "1"}, 99, SongCheck::Ok, {"T", "S", "1"}},
        {"the 101st", {"T", "S", "1"}, 100, SongCheck::BrandFull, {"T", "S", "1"}},
        {"full comes before everything", {"", "", "x"}, 100, SongCheck::BrandFull, {"", "", "x"}},
        {"digits and a space", {"T", "S", "12 34"}, 0, SongCheck::Ok, {"T", "S", "12 34"}},
        {"hyphen", {"T", "S", "12-34"}, 0, SongCheck::BadNumber, {"T", "S", "12-34"}},
        {"number before emptiness", {"", "S", "1a"}, 0, SongCheck::BadNumber, {"", "S", "1a"}},
        {"empty singer", {"T", "", "1"}, 0, SongCheck::EmptyField, {"T", "", "1"}},
        {"emptiness before length", {std::string(40, 'x'), "S", ""}, 0, SongCheck::EmptyField,
         {std::string(40, 'x'), "S", ""}},
        {"brackets", {"[Live] Song", "S[1]", "1"}, 0, SongCheck::Ok, {"(Live) Song", "S(1)", "1"}},
        {"29 bytes needing the space", {std::string(14, 'a') + K("가나다라마바사") + "b", "S", "1"}, 0, SongCheck::Ok,
         {std::string(14, 'a') + " " + K("가나다라마바사") + "b", "S", "1"}},
        {"30 bytes needing the space", {std::string(14, 'a') + K("가나다라마바사") + "bc", "S", "1"}, 0,
         SongCheck::TitleTooLong, {std::string(14, 'a') + " " + K("가나다라마바사") + "bc", "S", "1"}},
        {"singer of 23 bytes", {"T", std::string(23, 's'), "1"}, 0, SongCheck::SingerTooLong,
         {"T", std::string(23, 's'), "1"}},
        {"title before singer", {std::string(31, 't'), std::string(23, 's'), "1"}, 0, SongCheck::TitleTooLong,
         {std::string(31, 't'), std::string(23, 's'), "1"}},
        {"pasted long number", {"T", "S", "1234567"}, 0, SongCheck::TooLong, {"T", "S", "1234567"}},
        {"a star, the file's filler", {"Star*", "S", "1"}, 0, SongCheck::Asterisk, {"Star*", "S", "1"}},
        {"a star before emptiness", {"T", "", "*"}, 0, SongCheck::BadNumber, {"T", "", "*"}},
    };
    for (const Case& c : cases) {
        SongFields f = c.in;
        EXPECT_EQ(CheckNewSong(f, c.count), c.result) << c.what;
        if (c.result != SongCheck::BrandFull) {
            EXPECT_EQ(f, c.stored) << c.what;
        }
    }
}

TEST(SongChecks, ChangedSongIsHeldToTheFieldWidths) {
    struct Case {
        SongFields in;
        SongCheck result;
    } cases[] = {
        {{std::string(30, 't'), std::string(22, 's'), "123456"}, SongCheck::Ok},
        {{std::string(31, 't'), "S", "1"}, SongCheck::TooLong},
        {{"T", std::string(23, 's'), "1"}, SongCheck::TooLong},
        {{"T", "S", "1234567"}, SongCheck::TooLong},
        {{"T", "S", "1-2"}, SongCheck::BadNumber},
        {{"", "S", "1"}, SongCheck::EmptyField},
        {{"T", "*S*", "1"}, SongCheck::Asterisk},
    };
    for (const Case& c : cases) {
        SongFields f = c.in;
        EXPECT_EQ(CheckChangedSong(f), c.result) << c.in.title << "/" << c.in.singer << "/" << c.in.number;
    }
    EXPECT_STREQ(SongCheckMessage(SongCheck::TooLong), "문자를 너무 많이 입력 하셨습니다.");
}
