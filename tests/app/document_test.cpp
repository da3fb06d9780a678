#include "app/support/AppFixture.h"
#include "memo/MemoFile.h"
#include "platform/AtomicFile.h"

using DocumentTest = AppFixture;

TEST_F(DocumentTest, ConstructionValues) {
    EXPECT_FLOAT_EQ(doc.Zoom(), 1.0f);
    EXPECT_EQ(doc.FitToWindow(), 0);
    EXPECT_EQ(doc.MemoSaveEnabled(), 1);
    EXPECT_EQ(doc.Dither(), 0);
    EXPECT_EQ(doc.MemoLast(), 0);
    for (DataKind kind : kAllDataKinds) EXPECT_FALSE(doc.HasUnsavedChanges(kind));
    EXPECT_EQ(doc.SongsTouched(), 0);
    EXPECT_EQ(doc.SongListFilled(), 1);
    EXPECT_EQ(doc.MemoFindEnabled(), 0);
    EXPECT_EQ(doc.SongCount(), (std::array<int, 3>{0, 0, 0}));
    EXPECT_FALSE(doc.SourceImage());
    EXPECT_FALSE(doc.LogoImage());
    EXPECT_EQ(app.m_nPage, -1);
}

TEST_F(DocumentTest, NewClearsOnlyTheMemoSide) {
    Fill(3);
    doc.SetMemoFindEnabled(true);
    doc.AddSong(1, SongFields{"song", "", ""});
    doc.SetMemoPath("/x/memo.mmo");
    app.m_nPage = 1;
    app.OnFileNew();  // Cancel to the question: nothing changes
    EXPECT_EQ(ui.prompts.Texts(), (std::vector<std::string>{"Do you want to save Memo File ?"}));
    EXPECT_EQ(MemoFieldText(doc.Memo()[0], MemoField::Name), "n0");
    EXPECT_EQ(app.m_nPage, 1);
    ui.prompts.answers.push_back(platform::Answer::No);
    app.OnFileNew();
    EXPECT_EQ(app.m_nPage, 0);
    EXPECT_TRUE(IsMemoRowEmpty(doc.Memo()[0]));
    EXPECT_EQ(doc.MemoLast(), 0);
    EXPECT_EQ(doc.MemoFindEnabled(), 0);
    EXPECT_FALSE(doc.HasUnsavedChanges(DataKind::Memo));
    EXPECT_EQ(doc.Songs()[1].title[0], "song");
    EXPECT_EQ(doc.SongCount()[1], 1);
    EXPECT_EQ(doc.MemoPath(), "/x/memo.mmo");
    EXPECT_EQ(view.initialUpdates, 1);
}

TEST_F(DocumentTest, OpenMemoFileLoadsAndSetsFlags) {
    Fill(3);
    ASSERT_TRUE(WriteMemoFile(Path("in.mmo"), doc.Memo(), doc.MemoLast()));
    doc.SetMemoList(MemoBook{}, "Clear");
    app.m_nPage = 1;
    ASSERT_TRUE(doc.OnOpenDocument(Path("in.mmo")));
    EXPECT_EQ(app.m_nPage, 0);
    EXPECT_EQ(MemoFieldText(doc.Memo()[2], MemoField::Email), "e2");
    EXPECT_EQ(doc.MemoLast(), 2);
    EXPECT_EQ(doc.MemoFindEnabled(), 1);
    EXPECT_FALSE(doc.HasUnsavedChanges(DataKind::Memo)) << "the list is what the file holds";
    EXPECT_EQ(doc.MemoPath(), Path("in.mmo"));
    EXPECT_FALSE(doc.History(DataKind::Memo).CanUndo()) << "the list read starts its history";
    EXPECT_EQ(view.hints, (std::vector<long>{0}));
}

TEST_F(DocumentTest, OpenOtherExtensionsOnTheMemoSide) {
    Fill(2);
    // Any other extension records the path and loads nothing.
    ASSERT_TRUE(doc.OnOpenDocument(Path("notes.txt")));
    EXPECT_EQ(doc.MemoPath(), Path("notes.txt"));
    EXPECT_TRUE(doc.HasUnsavedChanges(DataKind::Memo));
    EXPECT_EQ(MemoFieldText(doc.Memo()[1], MemoField::Name), "n1");
    // No extension: refused, nothing changes.
    EXPECT_FALSE(doc.OnOpenDocument(Path("noext")));
    EXPECT_EQ(doc.MemoPath(), Path("notes.txt"));
    // A memo file that cannot be read fails and leaves the table as it was. Without a
    // word the person would take the old list for the file's contents and save it over
    // the file.
    EXPECT_FALSE(doc.OnOpenDocument(Path("missing.mmo")));
    ASSERT_EQ(ui.prompts.Texts().size(), 1u) << "a failed open must not look like a successful one";
    EXPECT_EQ(ui.prompts.Texts()[0], "File Read Fail: " + Path("missing.mmo") + ": cannot be opened: No such file or directory")
        << "the message names the file and the reason";
    EXPECT_EQ(MemoFieldText(doc.Memo()[1], MemoField::Name), "n1");
    EXPECT_EQ(doc.MemoLast(), 1);
    EXPECT_TRUE(view.hints.empty());
}

TEST_F(DocumentTest, SaveByExtension) {
    Fill(3);
    EXPECT_TRUE(doc.HasUnsavedChanges(DataKind::Memo));
    app.m_nPage = 1;  // the logo page is visible: a ".mmo" name still writes the memo
    ASSERT_TRUE(doc.OnSaveDocument(Path("out.mmo")));
    EXPECT_EQ(app.m_nPage, 0);
    EXPECT_FALSE(doc.HasUnsavedChanges(DataKind::Memo));
    EXPECT_TRUE(doc.History(DataKind::Memo).CanUndo()) << "a save keeps the history";
    EXPECT_EQ(doc.MemoPath(), Path("out.mmo"));
    std::string bytes;
    ASSERT_TRUE(platform::ReadFileBytes(Path("out.mmo"), bytes));
    EXPECT_EQ(bytes, EncodeMemoFile(doc.Memo(), 2));
    // Other extensions on the memo side write nothing.
    EXPECT_TRUE(doc.OnSaveDocument(Path("out.txt")));
    EXPECT_FALSE(std::filesystem::exists(Path("out.txt")));
    EXPECT_FALSE(doc.OnSaveDocument(Path("noext")));
}

TEST_F(DocumentTest, FailedMemoSaveIsReportedAndKeepsTheFlag) {
    Fill(1);
    EXPECT_FALSE(doc.OnSaveDocument(Path("no/such/folder/out.mmo")));
    EXPECT_EQ(ui.prompts.Texts(), (std::vector<std::string>{"File Create Fail"}));
    EXPECT_TRUE(doc.HasUnsavedChanges(DataKind::Memo));
    EXPECT_EQ(doc.MemoPath(), "");
}

TEST_F(DocumentTest, SaveCommandProposesName) {
    struct Case {
        int page;
        const char* memoPath;
        const char* proposal;
    } cases[] = {
        {0, "", "memo.mmo"},
        {0, "/home/u/contacts/friends.mmo", "/home/u/contacts/memo.mmo"},
        {0, "/home/u/contacts/", "/home/u/contacts/memo.mmo"},
        {0, "friends.mmo", "memo.mmo"},  // no folder: the current one, never the root
        {1, "/home/u/friends.mmo", "logo.bmp"},
        {2, "/home/u/friends.mmo", ""},
    };
    for (const Case& c : cases) {
        app.m_nPage = c.page;
        doc.SetMemoPath(c.memoPath);
        EXPECT_EQ(doc.ProposedSaveName(), c.proposal) << c.page << " " << c.memoPath;
    }
}

// Save writes the memo file the list came from or was last saved to; only without one,
// and for Save As, the dialog asks (proposing memo.mmo beside a file that is not one).
TEST_F(DocumentTest, SaveCommandWritesTheOpenedFileAndAsksOnlyWithoutOne) {
    Fill(2);
    app.m_nPage = 0;
    doc.SetMemoPath(Path("notes.txt"));
    ui.dialogs.answers.push_back(std::nullopt);
    doc.OnFileSave();
    EXPECT_FALSE(std::filesystem::exists(Path("memo.mmo")));
    ui.dialogs.answers.push_back(Path("memo.mmo"));
    doc.OnFileSave();
    EXPECT_TRUE(std::filesystem::exists(Path("memo.mmo")));
    ASSERT_EQ(ui.dialogs.requests.size(), 2u);
    EXPECT_EQ(ui.dialogs.requests[0].initialName, Path("memo.mmo"));
    EXPECT_EQ(ui.dialogs.requests[0].title, "Save memo file");
    // From now on Save writes memo.mmo without asking; Save As asks with its name.
    MemoBook list = doc.MemoList();
    SetMemoField(list.table[0], MemoField::Name, "again");
    doc.SetMemoList(list, "Change");
    doc.OnFileSave();
    EXPECT_EQ(ui.dialogs.requests.size(), 2u);
    MemoTable back{};
    int entries = 0;
    ASSERT_TRUE(ReadMemoFile(Path("memo.mmo"), back, entries));
    EXPECT_EQ(MemoFieldText(back[0], MemoField::Name), "again");
    ui.dialogs.answers.push_back(Path("copy.mmo"));
    doc.OnFileSave(true);
    ASSERT_EQ(ui.dialogs.requests.size(), 3u);
    EXPECT_EQ(ui.dialogs.requests[2].initialName, Path("memo.mmo"));
    EXPECT_EQ(doc.SaveTarget(DataKind::Memo), Path("copy.mmo"));
}

TEST_F(DocumentTest, CloseTimeMemoSaveDialog) {
    Fill(1);
    EXPECT_FALSE(doc.SaveMemoWithDialog()) << "cancelled";
    ui.dialogs.answers.push_back(Path("closing.mmo"));
    EXPECT_TRUE(doc.SaveMemoWithDialog());
    const platform::FileDialogRequest& r = ui.dialogs.requests.back();
    EXPECT_EQ(r.title, "Save memo file");
    EXPECT_EQ(r.initialName, "memo.mmo");
    EXPECT_EQ(r.filters, (std::vector<platform::FileFilter>{{"Memo Files(*.mmo)", "*.mmo"}}));
    EXPECT_TRUE(r.overwritePrompt);
    EXPECT_TRUE(std::filesystem::exists(Path("closing.mmo")));
    EXPECT_FALSE(doc.HasUnsavedChanges(DataKind::Memo)) << "the file holds the list";
    EXPECT_TRUE(doc.SaveMemoWithDialog()) << "the memo's own file is written without asking";
    EXPECT_EQ(ui.dialogs.requests.size(), 2u);
    doc.SetMemoPath("");
    ui.dialogs.answers.push_back(Path("missing/closing.mmo"));
    EXPECT_FALSE(doc.SaveMemoWithDialog());
    EXPECT_EQ(ui.prompts.Texts().back(), "File Create Fail");
}

TEST_F(DocumentTest, DocumentOpeningPath) {
    Fill(2);
    ASSERT_TRUE(WriteMemoFile(Path("good.mmo"), doc.Memo(), 1));
    // Success after No to the question about the typed list: path recorded, views
    // start again.
    ui.prompts.answers.push_back(platform::Answer::No);
    ASSERT_TRUE(app.OpenDocumentFile(Path("good.mmo")));
    EXPECT_EQ(doc.GetPathName(), Path("good.mmo"));
    EXPECT_EQ(view.initialUpdates, 1);
    // Failure on an unmodified document leaves it as it was.
    EXPECT_FALSE(app.OpenDocumentFile(Path("noext")));
    EXPECT_EQ(MemoFieldText(doc.Memo()[1], MemoField::Name), "n1");
    // Failure on a modified document leaves it as it was too.
    Fill(3);
    EXPECT_FALSE(app.OpenDocumentFile(Path("noext")));
    EXPECT_EQ(MemoFieldText(doc.Memo()[1], MemoField::Name), "n1");
    EXPECT_EQ(view.initialUpdates, 1);
}

TEST_F(DocumentTest, SaveEnableRule) {
    platform::CommandRouter router([&] { return std::vector<platform::CommandTarget*>{&doc, &app}; });
    app.m_nPage = 0;
    EXPECT_TRUE(router.Query(cmd::FileSave).enabled);
    app.m_nPage = 1;
    EXPECT_FALSE(router.Query(cmd::FileSave).enabled) << "no picture loaded";
    app.m_nPage = 2;
    EXPECT_FALSE(router.Query(cmd::FileSave).enabled);
}

TEST_F(DocumentTest, AboutAndOpenFromTheMenu) {
    platform::CommandRouter router([&] { return std::vector<platform::CommandTarget*>{&doc, &app}; });
    EXPECT_TRUE(router.Execute(cmd::AppAbout));
    EXPECT_EQ(ui.prompts.aboutShown, 1);
    app.m_nPage = 0;
    Fill(1);
    ASSERT_TRUE(WriteMemoFile(Path("menu.mmo"), doc.Memo(), 0));
    ui.dialogs.answers.push_back(Path("menu.mmo"));
    ui.prompts.answers.push_back(platform::Answer::No);
    EXPECT_TRUE(router.Execute(cmd::FileOpen));
    EXPECT_EQ(doc.MemoPath(), Path("menu.mmo"));
    EXPECT_EQ(doc.GetPathName(), "") << "Open from the menu does not record the document's path";
    EXPECT_FALSE(router.Execute(cmd::EditPaste));
}

// A save over a file of another kind (by its content) asks first; No and Cancel
// leave the file as it was. A file of no known kind is replaced without a question.
TEST_F(DocumentTest, SavingOverAnotherKindOfFileAsksFirst) {
    Fill(1);
    app.m_nPage = 0;
    struct Case {
        const char* name;
        std::string bytes;
        std::optional<platform::Answer> answer;  // none: no question expected
        bool throughSaveCommand;
    } cases[] = {
        {"a.mmo", std::string(19200, '*'), platform::Answer::No, false},
        {"b.mmo", std::string(19200, '*'), platform::Answer::Yes, true},
        {"c.mmo", "BM" + std::string(60, '\0'), platform::Answer::Cancel, true},
        {"d.mmo", "name,tel,email\n", platform::Answer::Yes, false},
        {"e.mmo", "plain notes", std::nullopt, false},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(platform::WriteFileAtomically(Path(c.name), c.bytes));
        const size_t shown = ui.prompts.Texts().size();
        doc.SetMemoPath("");  // no memo file yet: each save asks for a name
        if (c.answer) ui.prompts.answers.push_back(*c.answer);
        ui.dialogs.answers.push_back(Path(c.name));
        if (c.throughSaveCommand)
            doc.OnFileSave();
        else
            doc.SaveMemoWithDialog();
        EXPECT_EQ(ui.prompts.Texts().size(), shown + (c.answer ? 1 : 0)) << c.name;
        if (c.answer) {
            EXPECT_NE(ui.prompts.Texts().back().find(std::string(c.name) + "\" is a"), std::string::npos);
        }
        std::string bytes;
        ASSERT_TRUE(platform::ReadFileBytes(Path(c.name), bytes));
        EXPECT_EQ(bytes == c.bytes, c.answer && *c.answer != platform::Answer::Yes) << c.name;
    }
}
