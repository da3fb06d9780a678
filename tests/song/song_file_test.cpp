#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "cli/support/CliRun.h"
#include "platform/Services.h"
#include "song/SongFile.h"
#include "song/SongFileCommands.h"
#include "song/support/SongTestSupport.h"

namespace {

struct Songs {
    std::unique_ptr<SongTables> tables = std::make_unique<SongTables>();
    SongCounts counts{0, 0, 0};
    void Add(int brand, std::string title, std::string singer, std::string number) {
        SongTable& t = (*tables)[brand];
        int n = counts[brand]++;
        t.title[n] = std::move(title);
        t.singer[n] = std::move(singer);
        t.number[n] = std::move(number);
    }
    std::string Encode() const { return EncodeSongFile(*tables, counts); }
};

Songs Decode(std::string_view bytes) {
    Songs s;
    DecodeSongFile(bytes, *s.tables, s.counts);
    return s;
}

std::string Record(const std::string& title, const std::string& singer, const std::string& number) {
    return "[" + title + std::string(30 - title.size(), '*') + "][" + singer + std::string(22 - singer.size(), '*') +
           "][" + number + std::string(6 - number.size(), '*') + "]";
}

}  // namespace

TEST(SongFile, NoEntriesIsAllFiller) {
    Songs empty;
    std::string bytes = empty.Encode();
    EXPECT_EQ(bytes, std::string(19200, '*'));
    Songs back = Decode(bytes);
    EXPECT_EQ(back.counts, (SongCounts{0, 0, 0}));
}

TEST(SongFile, FirstRecordOfASevenThreeFourByteSong) {
    Songs s;
    s.Add(0, "Arirang", "Kim", "1234");
    std::string expected = "[Arirang" + std::string(23, '*') + "][Kim" + std::string(19, '*') + "][1234**]" +
                           std::string(6336, '*') + std::string(12800, '*');
    EXPECT_EQ(s.Encode(), expected);
}

TEST(SongFile, FullSectionIsFollowedByTheNextBrand) {
    Songs s;
    for (int i = 0; i < 100; ++i) s.Add(1, "T" + std::to_string(i), "S" + std::to_string(i), std::to_string(i));
    s.Add(2, K("아리랑"), K("가수"), "77");
    std::string bytes = s.Encode();
    ASSERT_EQ(bytes.size(), 19200u);
    EXPECT_EQ(bytes[12799], ']') << "records only, no filler";
    EXPECT_EQ(bytes.substr(6400 + 99 * 64, 64), Record("T99", "S99", "99"));
    EXPECT_EQ(bytes.substr(12800, 64), Record(K("아리랑"), K("가수"), "77"));

    Songs back = Decode(bytes);
    EXPECT_EQ(back.counts, (SongCounts{0, 100, 1}));
    EXPECT_EQ((*back.tables)[1].title[99], "T99");
    EXPECT_EQ((*back.tables)[2].title[0], K("아리랑"));
    EXPECT_EQ((*back.tables)[2].singer[0], K("가수"));
    EXPECT_EQ((*back.tables)[2].number[0], "77");
}

TEST(SongFile, FieldsAtExactWidthAndStarsInsideFields) {
    struct Case {
        const char* what;
        std::string title, singer, number;
        std::string readTitle;
    } cases[] = {
        {"full widths", std::string(30, 'a'), std::string(22, 'b'), "123456", std::string(30, 'a')},
        {"star in the title", "a*b", "c", "1", "ab"},
        {"Hangul at full width", K("가나다라마바사아자차카타파하가"), K("가나다라마바사아자차카"), "1 2",
         K("가나다라마바사아자차카타파하가")},
    };
    for (const Case& c : cases) {
        Songs s;
        s.Add(0, c.title, c.singer, c.number);
        std::string bytes = s.Encode();
        if (c.number.size() == 6) {
            EXPECT_EQ(bytes.substr(0, 64), "[" + c.title + "][" + c.singer + "][" + c.number + "]");
        }
        Songs back = Decode(bytes);
        ASSERT_EQ(back.counts[0], 1) << c.what;
        EXPECT_EQ((*back.tables)[0].title[0], c.readTitle) << c.what;
        EXPECT_EQ((*back.tables)[0].singer[0], c.singer) << c.what;
        EXPECT_EQ((*back.tables)[0].number[0], c.number) << c.what;
    }
}

TEST(SongFile, OverWideFieldsAreCutAtACharacterBoundaryNeverWidened) {
    Songs s;
    s.Add(0, std::string(29, 'x') + K("가"), std::string(40, 'y'), "12345678");
    s.Add(0, "next", "one", "2");
    std::string bytes = s.Encode();
    ASSERT_EQ(bytes.size(), 19200u);
    EXPECT_EQ(bytes.substr(0, 64), Record(std::string(29, 'x'), std::string(22, 'y'), "123456"));
    EXPECT_EQ(bytes.substr(64, 64), Record("next", "one", "2"));
}

TEST(SongFile, RoundTripOfAllBrands) {
    Songs s;
    for (int b = 0; b < 3; ++b)
        for (int i = 0; i < 10 * (b + 1); ++i)
            s.Add(b, K("노래 ") + std::to_string(b) + "-" + std::to_string(i), K("가수") + "(x)", " " + std::to_string(i));
    Songs back = Decode(s.Encode());
    EXPECT_EQ(back.counts, s.counts);
    for (int b = 0; b < 3; ++b)
        for (int i = 0; i < s.counts[b]; ++i) {
            EXPECT_EQ((*back.tables)[b].title[i], (*s.tables)[b].title[i]);
            EXPECT_EQ((*back.tables)[b].singer[i], (*s.tables)[b].singer[i]);
            EXPECT_EQ((*back.tables)[b].number[i], (*s.tables)[b].number[i]);
        }
}

TEST(SongFile, DamagedAndShortDataStaysInsideTheBytes) {
    Songs s;
    s.Add(0, "Title", "Singer", "1");
    s.Add(0, "Second", "Two", "2");
    std::string good = s.Encode();
    // Every cut of the file parses without reading past its end; a cut record is not
    // taken.
    for (size_t n = 0; n <= 200; ++n) {
        Songs back = Decode(std::string_view(good).substr(0, n));
        EXPECT_EQ(back.counts[0], n >= 128 ? 2 : n >= 64 ? 1 : 0) << n;
    }
    struct Case {
        const char* what;
        std::string bytes;
        SongCounts counts;
    } cases[] = {
        {"open bracket only", "[", {0, 0, 0}},
        {"no closing bracket", "[" + std::string(6399, 'a') + std::string(12800, '*'), {0, 0, 0}},
        {"field runs into the next section", [] {
             std::string sec;
             for (int i = 0; i < 99; ++i) sec += Record("t", "s", "1");
             return sec + "[" + std::string(200, 'a') + "][s][1]";
         }(), {99, 0, 0}},
        {"title only", "[abc]" + std::string(6395, '*') + Record("t", "s", "1"), {0, 1, 0}},
        {"number without its bracket ends the section", Record("t", "s", "1") + "[t][s]*[2]", {1, 0, 0}},
        {"empty brackets", "[][][]" + std::string(10, '*'), {0, 0, 0}},
        {"empty title is still a song", Record("", "s", "1") + Record("t", "s", "2"), {2, 0, 0}},
        {"narrow records beyond 100", [] {
             std::string sec;
             while (sec.size() + 9 <= 6400) sec += "[a][b][1]";
             return sec + std::string(6400 - sec.size(), '*');
         }(), {100, 0, 0}},
        {"longer than a song file", std::string(19200, '*') + Record("x", "y", "1"), {0, 0, 0}},
    };
    for (const Case& c : cases) {
        Songs back = Decode(c.bytes);
        EXPECT_EQ(back.counts, c.counts) << c.what;
    }
}

TEST(SongFile, SaveAndOpenThroughTheDialogs) {
    platform::ScriptedServices ui;
    std::string dir = CliScratch();
    Songs s;
    s.Add(2, "Q", "R", "3");

    EXPECT_FALSE(SaveSongFileAs(*s.tables, s.counts)) << "cancelled";
    ASSERT_EQ(ui.dialogs.requests.size(), 1u);
    const platform::FileDialogRequest& save = ui.dialogs.requests[0];
    EXPECT_FALSE(save.open);
    EXPECT_EQ(save.title, "노래파일 저장");
    EXPECT_EQ(save.initialName, "song.kok");
    EXPECT_EQ(save.defaultExtension, "kok");
    EXPECT_TRUE(save.overwritePrompt);
    EXPECT_EQ(save.filters, (std::vector<platform::FileFilter>{{"Song Files(*.kok)", "*.kok"}}));
    EXPECT_TRUE(ui.prompts.shown.empty());

    ui.dialogs.answers.push_back(dir + "/a.kok");
    EXPECT_TRUE(SaveSongFileAs(*s.tables, s.counts));
    EXPECT_EQ(ReadAll(dir + "/a.kok"), s.Encode());
    EXPECT_TRUE(ui.prompts.shown.empty());

    // Opening asks for the file only; the document reads it (see the song page tests).
    EXPECT_EQ(AskSongFileToOpen(), std::nullopt);
    EXPECT_TRUE(ui.dialogs.requests.back().open);
    EXPECT_EQ(ui.dialogs.requests.back().title, "");
    ui.dialogs.answers.push_back(dir + "/a.kok");
    EXPECT_EQ(AskSongFileToOpen(), std::optional<std::string>(dir + "/a.kok"));
}

TEST(SongFile, AFailedWriteIsReportedAndLeavesTheOldFile) {
    platform::ScriptedServices ui;
    std::string dir = CliScratch();
    Songs s;
    s.Add(0, "A", "B", "1");
    ui.dialogs.answers.push_back(dir + "/no-such-folder/x.kok");
    EXPECT_FALSE(SaveSongFileAs(*s.tables, s.counts));
    EXPECT_EQ(ui.prompts.Texts(), (std::vector<std::string>{"File Create Fail"}));

    // A target that cannot be replaced (a folder of that name) keeps what was there.
    std::filesystem::create_directory(dir + "/taken.kok");
    WriteAll(dir + "/taken.kok/inside", "x");
    ui.dialogs.answers.push_back(dir + "/taken.kok");
    EXPECT_FALSE(SaveSongFileAs(*s.tables, s.counts));
    EXPECT_EQ(ReadAll(dir + "/taken.kok/inside"), "x");
    EXPECT_EQ(ui.prompts.Texts(), (std::vector<std::string>{"File Create Fail", "File Create Fail"}));
    int entries = 0;
    for (auto& entry : std::filesystem::directory_iterator(dir)) entries += entry.exists();
    EXPECT_EQ(entries, 1) << "no temporary file left behind";
}
