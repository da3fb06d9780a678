#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "cli/support/CliRun.h"
#include "song/SongFile.h"
#include "song/support/SongTestSupport.h"

namespace {

using Texts = std::vector<std::string>;

class SongPageTest : public ::testing::Test, public SongPageFixture {
protected:
    platform::CmdUI State(int id) {
        platform::CommandRouter router([this] { return std::vector<platform::CommandTarget*>{&page, &doc, &app}; });
        return router.Query(id);
    }
    void SelectOnly(std::vector<int> rows) { page.SetSelectedRows(rows); }
};

}  // namespace

TEST_F(SongPageTest, HundredthEntryIsNumbered100AndThe101stIsRefused) {
    Fill(100);
    ASSERT_EQ(page.Rows().size(), 100u);
    EXPECT_EQ(page.Rows()[0].numberText, "   1");
    EXPECT_EQ(page.Rows()[9].numberText, "  10");
    EXPECT_EQ(page.Rows()[99].numberText, " 100");
    EXPECT_TRUE(page.Rows()[99].selected);
    EXPECT_TRUE(services.prompts.shown.empty());
    EXPECT_EQ(page.typed, SongFields{}) << "fields emptied after each Input";
    EXPECT_EQ(doc.SongsTouched(), 1);

    Enter("One more", "S", "1");
    EXPECT_EQ(services.prompts.Texts(), Texts{"더이상 입력 할수 없습니다."});
    EXPECT_EQ(doc.SongCount()[0], 100);
    EXPECT_EQ(page.Rows().size(), 100u);
    EXPECT_EQ(page.typed.title, "One more") << "a refusal leaves the fields as typed";
}

TEST_F(SongPageTest, InputRefusalsAndStoredForms) {
    struct Case {
        SongFields typed;
        Texts messages;
        int count;
    } cases[] = {
        {{"T", "S", "12 34"}, {}, 1},
        {{"T", "S", "12-34"}, {"노래번호는 숫자만 입력이 가능합니다"}, 0},
        {{"T", "", "1"}, {}, 0},
        {{std::string(31, 't'), "S", "1"}, {"노래제목을 너무 많이 입력 하셨습니다."}, 0},
        {{"T", std::string(23, 's'), "1"}, {"가수이름을 너무 많이 입력 하셨습니다."}, 0},
        {{"T", "S", "1234567"}, {"문자를 너무 많이 입력 하셨습니다."}, 0},
    };
    for (const Case& c : cases) {
        SongPageFixture f;
        f.Enter(c.typed.title, c.typed.singer, c.typed.number);
        EXPECT_EQ(f.services.prompts.Texts(), c.messages) << c.typed.number;
        EXPECT_EQ(f.doc.SongCount()[0], c.count);
        EXPECT_EQ(f.page.Rows().size(), static_cast<size_t>(c.count));
        if (c.count == 0) {
            EXPECT_EQ(f.page.typed, c.typed) << "fields keep their text";
        }
    }
    Enter("My [Live] Song", "Band", "7");
    EXPECT_EQ(doc.Songs()[0].title[0], "My (Live) Song");
    EXPECT_EQ(page.Rows()[0].title, "My (Live) Song");
    EXPECT_GE(page.titleFocused, 1);
}

TEST_F(SongPageTest, EditingTheThirdRowChangesItInPlace) {
    Fill(5);
    SelectOnly({2});
    page.StartEdit(2);
    EXPECT_TRUE(page.InEditMode());
    EXPECT_EQ(page.typed, (SongFields{"Song 3", "Singer 3", "3"}));
    page.typed.singer = "New singer";
    page.Input();
    EXPECT_FALSE(page.InEditMode());
    EXPECT_EQ(page.EditedRow(), -1);
    EXPECT_EQ(doc.SongCount()[0], 5);
    ASSERT_EQ(page.Rows().size(), 5u);
    EXPECT_EQ(page.Rows()[2].singer, "New singer");
    EXPECT_EQ(page.Rows()[2].numberText, "   3");
    EXPECT_EQ(doc.Songs()[0].singer[2], "New singer");
    EXPECT_TRUE(page.Rows()[2].selected);
    EXPECT_EQ(page.typed, SongFields{});

    // Double-click with nothing selected starts nothing.
    SelectOnly({});
    page.StartEdit(1);
    EXPECT_FALSE(page.InEditMode());
}

TEST_F(SongPageTest, RefusedChangesEndEditModeWithEmptyFieldsAndStoreNothing) {
    Fill(3);
    struct Case {
        SongFields typed;
        Texts messages;
    } cases[] = {
        {{"Song", "Singer", "1a"}, {"노래번호는 숫자만 입력이 가능합니다"}},
        {{"Song", std::string(30, 's'), "1"}, {"문자를 너무 많이 입력 하셨습니다."}},
        {{"Song", "Singer", ""}, {}},
    };
    for (const Case& c : cases) {
        services.prompts.shown.clear();
        SelectOnly({1});
        page.StartEdit(1);
        page.typed = c.typed;
        page.Input();
        EXPECT_EQ(services.prompts.Texts(), c.messages);
        EXPECT_FALSE(page.InEditMode());
        EXPECT_EQ(page.typed, SongFields{});
        EXPECT_EQ(doc.Songs()[0].singer[1], "Singer 2");
        EXPECT_EQ(page.Rows()[1].singer, "Singer 2");
    }
}

TEST_F(SongPageTest, SwitchingBrandsSetsTitleChecksAndEnableStates) {
    Fill(2);
    page.typed = {"half", "typed", ""};
    SelectOnly({0});
    page.StartEdit(0);
    page.SwitchBrand(1);
    EXPECT_EQ(page.windowTitle, "Lyrabox Plus(Pellix)");
    EXPECT_TRUE(page.Rows().empty());
    EXPECT_EQ(doc.SongListFilled(), 0);
    EXPECT_FALSE(page.InEditMode());
    EXPECT_EQ(page.typed, SongFields{});
    EXPECT_TRUE(State(cmd::BrandPellix).checked);
    EXPECT_FALSE(State(cmd::BrandZandri).checked);
    EXPECT_FALSE(State(cmd::BrandQuorvel).checked);
    EXPECT_FALSE(State(cmd::ShowPellix).enabled);
    EXPECT_TRUE(State(cmd::ShowZandri).enabled);
    EXPECT_FALSE(State(cmd::CopyToPellix).enabled);
    EXPECT_TRUE(State(cmd::CopyToQuorvel).enabled);
    EXPECT_FALSE(State(cmd::CopyAnnounce).enabled);
    EXPECT_FALSE(State(cmd::EditFind).enabled) << "the shown brand is empty";

    // The next Input adds to Pellix.
    Enter("P1", "PS", "9");
    EXPECT_EQ(doc.SongCount()[1], 1);

    page.SwitchBrand(2);
    EXPECT_EQ(page.windowTitle, "Lyrabox Plus(Quorvel)");
    page.SwitchBrand(0);
    EXPECT_EQ(page.windowTitle, "Lyrabox Plus(Zandri)");
    EXPECT_EQ(doc.SongListFilled(), 1);
    ASSERT_EQ(page.Rows().size(), 2u);
    EXPECT_EQ(page.Rows()[1].numberText, "   2");
    EXPECT_TRUE(State(cmd::EditFind).enabled);
}

TEST_F(SongPageTest, ListDisplayEndsAtASongWithoutTitleOrNumber) {
    Fill(4);
    doc.ChangeSong(0, 2, SongFields{doc.Songs()[0].title[2], doc.Songs()[0].singer[2], ""});
    page.SwitchBrand(0);
    EXPECT_EQ(ListTitles(), (Texts{"Song 1", "Song 2"}));
    EXPECT_EQ(doc.SongCount()[0], 4);
}

// Every song edit is one step: undone and redone, the list of its brand comes back and
// is shown, and undoing back to the empty lists leaves nothing to save.
TEST_F(SongPageTest, UndoAndRedoOfSongEdits) {
    Fill(3);
    page.SetSelectedRows({0});
    page.StartEdit(0);
    Enter("First", "Singer 1", "1");
    page.SetSelectedRows({1, 2});
    services.prompts.answers.push_back(platform::Answer::Yes);
    page.Delete();
    ASSERT_TRUE(page.BeginCopy(0));
    page.CopyTo(1);
    EXPECT_EQ(doc.History(DataKind::Songs).UndoName(), "노래 복사");
    const std::vector<Texts> steps = {{}, {"Song 1"}, {"Song 1", "Song 2"}, {"Song 1", "Song 2", "Song 3"},
                                      {"First", "Song 2", "Song 3"}, {"First"}};
    ASSERT_TRUE(doc.Undo(DataKind::Songs));
    EXPECT_EQ(doc.SongCount()[1], 0);
    EXPECT_EQ(page.CurrentBrand(), 1) << "the brand undone is shown";
    for (size_t i = steps.size() - 1; i-- > 0;) {
        ASSERT_TRUE(doc.Undo(DataKind::Songs));
        EXPECT_EQ(TableTitles(0), steps[i]);
        EXPECT_EQ(ListTitles(), steps[i]);
    }
    EXPECT_FALSE(doc.Undo(DataKind::Songs));
    EXPECT_FALSE(doc.HasUnsavedChanges(DataKind::Songs));
    while (doc.Redo(DataKind::Songs)) {
    }
    EXPECT_EQ(TableTitles(0), steps.back());
    EXPECT_EQ(TableTitles(1), Texts{"First"});
}

TEST_F(SongPageTest, CopyingBetweenBrands) {
    Fill(3);
    page.SwitchBrand(0);
    EXPECT_FALSE(page.BeginCopy(3)) << "beside the rows";
    ASSERT_TRUE(page.BeginCopy(2));
    page.CopyTo(1);
    page.CopyTo(1);
    EXPECT_EQ(TableTitles(1), (Texts{"Song 3", "Song 3"}));
    EXPECT_EQ(doc.Songs()[1].singer[1], "Singer 3");
    EXPECT_EQ(doc.Songs()[1].number[1], "3");
    EXPECT_EQ(ListTitles(), (Texts{"Song 1", "Song 2", "Song 3"}));
    EXPECT_TRUE(services.prompts.shown.empty());

    for (int i = 0; i < kSongsPerBrand; ++i) doc.AddSong(2, SongFields{"Full", "", "1"});
    page.CopyTo(2);
    EXPECT_EQ(services.prompts.Texts(), Texts{"더이상 입력 할수 없습니다."});
    EXPECT_EQ(doc.SongCount()[2], 100);
    EXPECT_EQ(doc.SongCount()[1], 2);
}

TEST_F(SongPageTest, NewEmptiesEveryBrand) {
    Fill(10);
    page.SwitchBrand(1);
    Fill(1);
    page.New();  // Cancel to the question: nothing changes
    EXPECT_EQ(services.prompts.Texts(), Texts{"노래파일을 저장 하시겠습니까?"});
    EXPECT_EQ(doc.SongCount(), (SongCounts{10, 1, 0}));
    services.prompts.answers.push_back(platform::Answer::No);
    page.New();
    EXPECT_TRUE(page.Rows().empty());
    EXPECT_EQ(doc.SongCount(), (SongCounts{0, 0, 0}));
    EXPECT_EQ(doc.SongListFilled(), 0);
    EXPECT_EQ(doc.SongsTouched(), 1);
    EXPECT_FALSE(State(cmd::FileSave).enabled);
    EXPECT_TRUE(State(cmd::FileNew).enabled);
}

TEST_F(SongPageTest, DeletingSelectedRows) {
    struct Case {
        std::vector<int> selected;
        Texts left;
    } cases[] = {
        {{1}, {"Song 1", "Song 3", "Song 4", "Song 5"}},
        {{1, 3}, {"Song 1", "Song 3", "Song 5"}},
        {{0, 1, 2, 3, 4}, {}},
    };
    for (const Case& c : cases) {
        SongPageFixture f;
        f.Fill(5);
        f.page.SetSelectedRows({c.selected.front()});
        f.page.StartEdit(c.selected.front());
        f.page.SetSelectedRows(c.selected);
        if (c.selected.size() > 1) {
            f.page.Delete();  // asked once; No keeps every song
            EXPECT_EQ(f.TableTitles(0).size(), 5u);
            EXPECT_EQ(f.services.prompts.Texts(),
                      std::vector<std::string>{"선택한 노래 " + std::to_string(c.selected.size()) +
                                               "곡을 삭제 하시겠습니까?"});
            f.services.prompts.answers.push_back(platform::Answer::Yes);
        }
        f.page.Delete();
        EXPECT_EQ(f.ListTitles(), c.left);
        EXPECT_EQ(f.TableTitles(0), c.left);
        for (size_t i = 0; i < f.page.Rows().size(); ++i)
            EXPECT_EQ(f.page.Rows()[i].numberText, SongRowNumberText(static_cast<int>(i)));
        EXPECT_FALSE(f.page.InEditMode());
        EXPECT_EQ(f.doc.HasUnsavedChanges(DataKind::Songs), !c.left.empty()) << "all deleted is as new";
    }
}

TEST_F(SongPageTest, DeletingTheOnlyEntryDisablesFind) {
    Fill(1);
    SelectOnly({0});
    page.StartEdit(0);
    EXPECT_TRUE(State(cmd::EditDelete).enabled);
    page.Delete();
    EXPECT_TRUE(page.Rows().empty());
    EXPECT_EQ(doc.SongCount()[0], 0);
    EXPECT_EQ(doc.SongListFilled(), 0);
    EXPECT_FALSE(State(cmd::EditFind).enabled);
    EXPECT_FALSE(State(cmd::EditDelete).enabled);
}

TEST_F(SongPageTest, DeleteWhileTypingDeletesNothing) {
    Fill(3);
    SelectOnly({1});
    EXPECT_FALSE(State(cmd::EditDelete).enabled) << "only in edit mode";
    page.StartEdit(1);
    page.focus = SongFocus::Title;
    page.Delete();
    EXPECT_EQ(ListTitles(), (Texts{"Song 1", "Song 2", "Song 3"}));
    EXPECT_EQ(doc.SongCount()[0], 3);
}

TEST_F(SongPageTest, FindWrapsDownAndUpAndHonoursCase) {
    Enter("alpha", "x", "1");
    Enter("beta", "x", "2");
    Enter("Alpha", "alpha", "3");
    Enter("gamma", "y", "4");
    page.OnActivateView(true);
    EXPECT_EQ(page.SearchPosition(), 4);

    EXPECT_TRUE(page.FindNext("alpha", true));
    EXPECT_EQ(page.SearchPosition(), 0) << "wrapped past row 100 to the top";
    EXPECT_TRUE(page.Rows()[0].selected && page.Rows()[0].focused);
    EXPECT_TRUE(page.FindNext("alpha", true));
    EXPECT_EQ(page.SearchPosition(), 2) << "the singer of row 3";
    EXPECT_TRUE(page.FindNext("alpha", true));
    EXPECT_EQ(page.SearchPosition(), 0) << "wrapped again";
    EXPECT_FALSE(page.Rows()[2].selected);

    page.OnActivateView(true);
    EXPECT_TRUE(page.FindNext("a", false));
    EXPECT_EQ(page.SearchPosition(), 3) << "an upward search starts with the last entry";
    EXPECT_TRUE(page.FindNext("alpha", false));
    EXPECT_EQ(page.SearchPosition(), 2);
    EXPECT_TRUE(page.FindNext("alpha", false));
    EXPECT_EQ(page.SearchPosition(), 0);
    EXPECT_TRUE(page.FindNext("alpha", false));
    EXPECT_EQ(page.SearchPosition(), 2) << "wrapped to the bottom";

    EXPECT_FALSE(page.FindNext("GAMMA", true));
    EXPECT_EQ(page.SearchPosition(), 2);
    EXPECT_EQ(page.LastSearchText(), "GAMMA");

    EXPECT_TRUE(State(cmd::EditFind).enabled);
    page.Find();
    EXPECT_EQ(page.findDialogs, 1);
    EXPECT_EQ(page.findDialogText, "GAMMA");
}

TEST_F(SongPageTest, FindSkipsTextLeftBeyondTheSongs) {
    Fill(3);
    services.prompts.answers.push_back(platform::Answer::No);
    page.New();  // the texts stay in their slots, beyond the counts
    Enter("Other", "x", "1");
    page.OnActivateView(true);
    EXPECT_FALSE(page.FindNext("Song", true));
    EXPECT_FALSE(page.FindNext("Song", false));
    EXPECT_TRUE(page.FindNext("Oth", true));
}

TEST_F(SongPageTest, PasteAppendsToTheFocusedFieldAndInputChecksIt) {
    services.clipboard.text = "Line one\r\nLine two";
    page.typed = {"Title", "Ab", "12"};
    page.focus = SongFocus::Singer;
    page.Paste();
    EXPECT_EQ(page.typed.singer, "AbLine one\r\nLine two");
    page.Input();
    EXPECT_EQ(doc.Songs()[0].singer[0], "AbLine one\r\nLine two");

    services.clipboard.text = "";
    page.typed = {"T", "S", "1"};
    page.Paste();
    EXPECT_EQ(page.typed, (SongFields{"T", "S", "1"}));
}

TEST_F(SongPageTest, OpenSaveAndTheirStates) {
    std::string dir = CliScratch();
    EXPECT_FALSE(State(cmd::FileSave).enabled);
    Fill(2);
    page.SwitchBrand(2);
    Fill(1);
    EXPECT_TRUE(State(cmd::FileSave).enabled);
    services.dialogs.answers.push_back(dir + "/s.kok");
    page.Save();
    EXPECT_EQ(ReadAll(dir + "/s.kok").size(), 19200u);

    // Cancel, and a file that cannot be read, change nothing.
    page.Open();
    services.dialogs.answers.push_back(dir + "/missing.kok");
    page.Open();
    EXPECT_EQ(doc.SongCount(), (SongCounts{2, 0, 1}));
    EXPECT_EQ(ListTitles(), (Texts{"Song 1"}));
    EXPECT_EQ(services.prompts.Texts(), Texts{"File Read Fail: " + dir + "/missing.kok: cannot be opened: No such file or directory"});

    // The songs were saved: reading the file back asks nothing and leaves nothing unsaved.
    services.dialogs.answers.push_back(dir + "/s.kok");
    page.Open();
    EXPECT_EQ(doc.SongCount(), (SongCounts{2, 0, 1}));
    EXPECT_EQ(doc.SongsTouched(), 1);
    EXPECT_FALSE(doc.HasUnsavedChanges(DataKind::Songs));
    EXPECT_EQ(services.prompts.Texts(), Texts{"File Read Fail: " + dir + "/missing.kok: cannot be opened: No such file or directory"});
    EXPECT_EQ(page.CurrentBrand(), 0);
    EXPECT_EQ(page.windowTitle, "Lyrabox Plus(Zandri)");
    EXPECT_EQ(ListTitles(), (Texts{"Song 1", "Song 2"}));

    // The close-time save writes the opened file without asking; Save As asks.
    const size_t asked = services.dialogs.requests.size();
    EXPECT_TRUE(doc.SaveSongsWithDialog());
    EXPECT_EQ(services.dialogs.requests.size(), asked);
    EXPECT_EQ(ReadAll(dir + "/s.kok").size(), 19200u);
    page.SaveAs();
    ASSERT_EQ(services.dialogs.requests.size(), asked + 1);
    EXPECT_EQ(services.dialogs.requests.back().initialName, dir + "/s.kok");
    services.dialogs.answers.push_back(dir + "/close.kok");
    EXPECT_TRUE(doc.SaveSongs(true));
    EXPECT_EQ(ReadAll(dir + "/close.kok"), ReadAll(dir + "/s.kok"));
    EXPECT_EQ(doc.SaveTarget(DataKind::Songs), dir + "/close.kok");
}
