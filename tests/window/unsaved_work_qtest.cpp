// The paths on which the window used to lose the person's work, each walked as a person
// would on the real window with its real pages: the question asked (or not), what the
// list and the preview show, and the bytes a save writes.
#include <QScrollBar>
#include <QTest>
#include <fstream>

#include "app/CommandIds.h"
#include "logo/widgets/CLogoView.h"
#include "logo/widgets/CSelectionBox.h"
#include "memo/MemoFile.h"
#include "memo/widgets/MemoView.h"
#include "song/SongFile.h"
#include "song/widgets/CSongTitle.h"
#include "ui/widgets/FlatMenus.h"
#include "ui/widgets/MemoEdit.h"
#include "window/support/EditorDriver.h"

using platform::Answer;
using Texts = std::vector<std::string>;

namespace {

const std::string kMemoQuestion = "Do you want to save Memo File ?";
const std::string kSongQuestion = "노래파일을 저장 하시겠습니까?";

// A memo file of n contacts "<prefix>i", "0i", "" written for the test.
std::string MemoFileOf(const std::string& name, const std::string& prefix, int n) {
    MemoTable table{};
    for (int i = 0; i < n; ++i) {
        SetMemoField(table[i], MemoField::Name, prefix + std::to_string(i));
        SetMemoField(table[i], MemoField::Tel, "0" + std::to_string(i));
    }
    const std::string path = EditorDriver::Scratch(name);
    WriteMemoFile(path, table, n - 1);
    return path;
}

std::string Bmp24(const std::string& name, int w = 300, int h = 200) {
    const std::string path = EditorDriver::Scratch(name);
    EditorDriver::WritePicture(path, "bmp", w, h);
    return path;
}

// The memo file bytes of these contacts (name, tel), as the editor writes them.
std::string MemoBytes(const std::vector<std::pair<std::string, std::string>>& contacts) {
    MemoTable table{};
    for (size_t i = 0; i < contacts.size(); ++i) {
        SetMemoField(table[i], MemoField::Name, contacts[i].first);
        SetMemoField(table[i], MemoField::Tel, contacts[i].second);
    }
    return EncodeMemoFile(table, int(contacts.size()) - 1);
}

void TypeThree(EditorDriver& e) {
    e.TypeContact("Ann", "0101");
    e.TypeContact("Bob", "0102");
    e.TypeContact("Cy", "0103");
}

std::vector<QStringList> Three() { return {{"Ann", "0101", ""}, {"Bob", "0102", ""}, {"Cy", "0103", ""}}; }

// What the logo page shows, for comparing before and after.
struct LogoState {
    bool picture;
    bool box;
    QRect boxPlace;
    QSize range;
    QImage preview;
    bool operator==(const LogoState&) const = default;
};

LogoState LogoStateOf(EditorDriver& e) {
    CSelectionBox* box = e.logo().SelectionBox();
    return {bool(e.doc().SourceImage()), box != nullptr, box ? box->geometry() : QRect(), e.LogoScrollRange(),
            e.Preview()};
}

// The page is consistent: a picture has its box, its scroll range and its logo in the
// preview; no picture has none of them.
void VerifyLogoPage(EditorDriver& e) {
    QCoreApplication::processEvents();
    if (e.doc().SourceImage()) {
        QVERIFY(e.HasSelectionBox());
        QCOMPARE(e.LogoScrollRange(), QSize(int(e.doc().SourceImage()->GetWidth()),
                                            int(e.doc().SourceImage()->GetHeight())));
        QVERIFY(e.doc().LogoImage() != nullptr);
    } else {
        QVERIFY(!e.HasSelectionBox());
        QVERIFY(!e.doc().LogoImage());
    }
    QVERIFY(e.PreviewShowsLogo());
}

}  // namespace

class UnsavedWorkTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { CFlatMenus::Install(); }
    void cleanupTestCase() { CFlatMenus::Remove(); }

    // 1. Contacts committed with Enter are asked about when the window closes.
    void closingAsksAboutContactsTypedWithEnter() {
        EditorDriver e;
        TypeThree(e);
        QCOMPARE(e.ShownContacts(), Three());
        QVERIFY(!e.Close());  // the scripted Cancel keeps the window and the contacts
        QCOMPARE(e.TakeShown(), Texts{kMemoQuestion});
        QCOMPARE(e.ShownContacts(), Three());
        const std::string path = EditorDriver::Scratch("typed.mmo");
        e.Answer(Answer::Yes);
        e.ChooseFile(path);
        QVERIFY(e.Close());
        QCOMPARE(EditorDriver::ReadFile(path), MemoBytes({{"Ann", "0101"}, {"Bob", "0102"}, {"Cy", "0103"}}));
    }

    // 2. A refused picture (one no decoder takes) dropped on the window changes
    // nothing of the memo.
    void refusedPictureDropKeepsTheContacts_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("jpeg") << "jpg" << QByteArray("\xFF\xD8\xFF\xE0 cut short", 15);
        QTest::newRow("png") << "png" << QByteArray("\x89PNG\r\n\x1A\n", 8);
        QTest::newRow("gif") << "gif" << QByteArray("GIF89a\x10\0\x10\0\0\0\0;", 14);
        QTest::newRow("bmp") << "bmp" << QByteArray("BM and nothing more");
    }
    void refusedPictureDropKeepsTheContacts() {
        QFETCH(QString, format);
        QFETCH(QByteArray, bytes);
        EditorDriver e;
        e.TypeContact("Ann", "0101");
        const std::string picture = EditorDriver::Scratch("refused." + format.toStdString());
        std::ofstream(picture, std::ios::binary) << bytes.toStdString();
        e.Drop({QString::fromStdString(picture)});
        const Texts shown = e.TakeShown();
        QCOMPARE(shown.size(), size_t(1));
        QVERIFY(shown[0].rfind("\"refused." + format.toStdString() + "\" cannot be opened: ", 0) == 0);
        QCOMPARE(e.ShownContacts(), (std::vector<QStringList>{{"Ann", "0101", ""}}));
        e.ClickMemoRow(0);
        QCOMPARE(e.memo().Edit(CMemoView::IdName)->text(), QString("Ann"));
        const std::string path = EditorDriver::Scratch("after-drop.mmo");
        e.ChooseFile(path);
        e.Ctrl(Qt::Key_S);
        QCOMPARE(EditorDriver::ReadFile(path), MemoBytes({{"Ann", "0101"}}));
        QVERIFY(e.Close());
    }

    // 3. New and every way of opening another memo file ask first.
    void replacingTypedContactsAsksFirst_data() {
        QTest::addColumn<QString>("how");
        for (const char* how : {"toolbar New", "Ctrl+N", "Ctrl+O", "drop"}) QTest::newRow(how) << how;
    }
    void replacingTypedContactsAsksFirst() {
        QFETCH(QString, how);
        EditorDriver e;
        e.TypeContact("Ann", "0101");
        e.TypeContact("Bob", "0102");
        const std::string other = MemoFileOf("other.mmo", "Zed", 1);
        const std::vector<QStringList> typed{{"Ann", "0101", ""}, {"Bob", "0102", ""}};
        auto replace = [&] {
            if (how == "toolbar New") e.ClickToolButton(cmd::FileNew);
            if (how == "Ctrl+N") e.Ctrl(Qt::Key_N);
            if (how == "Ctrl+O") {
                // The open dialog comes before any save dialog of the question.
                e.services.dialogs.answers.push_front(other);
                e.Ctrl(Qt::Key_O);
            }
            if (how == "drop") e.Drop({QString::fromStdString(other)});
        };
        replace();  // Cancel: nothing changes
        QCOMPARE(e.TakeShown(), Texts{kMemoQuestion});
        QCOMPARE(e.ShownContacts(), typed);
        // Yes with a cancelled save dialog: nothing changes either.
        e.Answer(Answer::Yes);
        e.CancelDialog();
        replace();
        QCOMPARE(e.TakeShown(), Texts{kMemoQuestion});
        QCOMPARE(e.ShownContacts(), typed);
        // Yes and saved: the contacts are in the file, then replaced.
        const std::string saved = EditorDriver::Scratch("saved-first.mmo");
        e.Answer(Answer::Yes);
        e.ChooseFile(saved);
        replace();
        QCOMPARE(EditorDriver::ReadFile(saved), MemoBytes({{"Ann", "0101"}, {"Bob", "0102"}}));
        const std::vector<QStringList> after =
            how.contains("N") ? std::vector<QStringList>{} : std::vector<QStringList>{{"Zed0", "00", ""}};
        QCOMPARE(e.ShownContacts(), after);
        QCOMPARE(e.TakeShown(), Texts{kMemoQuestion});
        QVERIFY(e.Close());  // nothing unsaved is left
        QCOMPARE(e.TakeShown(), Texts{});
    }

    // 4. A refused picture leaves the picture on the logo page as it was.
    void refusedOpenKeepsThePicture() {
        EditorDriver e;
        e.ClickTab(1);
        e.ChooseFile(Bmp24("first.bmp", 400, 300));
        e.Ctrl(Qt::Key_O);
        VerifyLogoPage(e);
        const LogoState before = LogoStateOf(e);
        const std::string refused = EditorDriver::Scratch("damaged.bmp");
        std::ofstream(refused, std::ios::binary) << "BM and nothing more";
        e.ChooseFile(refused);
        e.Ctrl(Qt::Key_O);
        const Texts shown = e.TakeShown();
        QCOMPARE(shown.size(), size_t(1));
        QVERIFY(shown[0].rfind("\"damaged.bmp\" cannot be opened: ", 0) == 0);
        QVERIFY(LogoStateOf(e) == before);
        for (int command : {cmd::FileSave, cmd::RotateLeft, cmd::FlipHorizontal}) QVERIFY(e.Enabled(command));
        e.ClickTab(0);
        e.ClickTab(1);
        VerifyLogoPage(e);
        QVERIFY(LogoStateOf(e) == before);
    }

    // 5. New on the memo page leaves the logo page whole; Save writes what the preview shows.
    void newElsewhereKeepsTheLogoPage() {
        EditorDriver e;
        e.ClickTab(1);
        e.ChooseFile(Bmp24("pic.bmp", 400, 300));
        e.Ctrl(Qt::Key_O);
        e.logo().horizontalScrollBar()->setValue(60);
        const LogoState before = LogoStateOf(e);
        e.ClickTab(0);
        e.ClickToolButton(cmd::FileNew);
        e.ClickTab(1);
        VerifyLogoPage(e);
        QVERIFY(LogoStateOf(e) == before);
        e.Ctrl(Qt::Key_L);
        VerifyLogoPage(e);
        QCOMPARE(e.LogoScrollRange(), QSize(300, 400));
        const std::string saved = EditorDriver::Scratch("logo.bmp");
        e.ChooseFile(saved);
        e.Ctrl(Qt::Key_S);
        QVERIFY(EditorDriver::SameAtFiveBits(EditorDriver::ReadDeviceLogo(saved), e.Preview(), QRect(1, 1, 94, 94)));
        QVERIFY(e.Close());
    }

    // 6. A picture that comes by drop or on the command line gets its box.
    void droppedAndCommandLinePicturesGetABox() {
        const std::string picture = Bmp24("given.bmp", 500, 400);
        for (bool dropped : {true, false}) {
            EditorDriver e(EditorDriver::Options{false, dropped ? "" : picture});
            if (dropped) e.Drop({QString::fromStdString(picture)});
            e.ClickTab(1);
            VerifyLogoPage(e);
            QCOMPARE(e.LogoScrollRange(), QSize(500, 400));
            // The box moves, and the logo follows it.
            const QImage first = e.Preview();
            e.logo().SelectionBox()->move(e.logo().SelectionBox()->pos() + QPoint(150, 100));
            e.logo().ApplySelection();
            VerifyLogoPage(e);
            QVERIFY(e.Preview() != first);
        }
    }

    // 7. Opening the File menu after opening a memo file changes nothing.
    void lookingAtTheMenuIsNoEdit() {
        EditorDriver e(EditorDriver::Options{false, MemoFileOf("three.mmo", "n", 3)});
        QVERIFY(e.memo().Edit(CMemoView::IdName)->hasFocus());
        e.OpenFileMenu();
        QVERIFY(!e.Enabled(cmd::FileSave));
        QVERIFY(e.Close());
        QCOMPARE(e.TakeShown(), Texts{});
    }

    // 8. A song file read back unchanged leaves nothing to ask about; an edit does.
    void reopenedSongsAreNotUnsaved() {
        EditorDriver e(EditorDriver::Options{true, ""});
        e.ClickTab(2);
        SongTables tables{};
        SongCounts counts{1, 0, 0};
        tables[0].title[0] = "Arirang";
        tables[0].singer[0] = "Kim";
        tables[0].number[0] = "12";
        const std::string path = EditorDriver::Scratch("songs.kok");
        QVERIFY(WriteSongFileTo(path, tables, counts));
        e.ChooseFile(path);
        e.Ctrl(Qt::Key_O);
        QCOMPARE(e.doc().SongCount(), counts);
        QVERIFY(e.Close());
        QCOMPARE(e.TakeShown(), Texts{});
    }

    // 9. A song file on the command line or dropped opens on the song page.
    void songFilesOpenOnTheSongPage() {
        SongTables tables{};
        tables[1].title[0] = "Title";
        tables[1].singer[0] = "Singer";
        tables[1].number[0] = "7";
        const std::string path = EditorDriver::Scratch("start.kok");
        QVERIFY(WriteSongFileTo(path, tables, SongCounts{0, 1, 0}));
        {
            EditorDriver e(EditorDriver::Options{true, path});
            QVERIFY(e.started);
            QCOMPARE(e.PageShown(), 2);
            QCOMPARE(e.doc().SongCount(), (SongCounts{0, 1, 0}));
            QCOMPARE(e.frame->MenuResource(), 107);
        }
        {
            EditorDriver e(EditorDriver::Options{true, ""});
            e.Drop({QString::fromStdString(path)});
            QCOMPARE(e.PageShown(), 2);
            QCOMPARE(e.doc().SongCount(), (SongCounts{0, 1, 0}));
        }
        {
            EditorDriver e;
            e.Drop({QString::fromStdString(path)});
            QCOMPARE(e.TakeShown(), Texts{"Song files (.kok) open on the song page, which is shown when Lyrabox starts with\n\n"
                                        "    lyrabox --song-page"});
            QCOMPARE(e.PageShown(), 0);
            QCOMPARE(e.doc().SongCount(), (SongCounts{0, 0, 0}));
        }
    }

    // Undo and redo from the keys: typing in a box is taken back first, then contacts
    // typed, rows deleted and a picture turned go back and come again, the Edit menu
    // naming the step; a save writes what is shown.
    void undoAndRedoTakeEditsBackAndForth() {
        EditorDriver e;
        e.TypeContact("Ann", "0101");
        e.TypeContact("Bob", "0102");
        e.Type("Cy");
        e.Ctrl(Qt::Key_Z);
        QCOMPARE(e.memo().Edit(CMemoView::IdName)->text(), QString());
        QCOMPARE(e.ShownContacts().size(), size_t(2));
        e.Ctrl(Qt::Key_Z);
        e.Ctrl(Qt::Key_Z);
        QVERIFY(e.ShownContacts().empty());
        QVERIFY2(!e.doc().HasUnsavedChanges(DataKind::Memo), "back to the empty list: nothing to ask about");
        e.Ctrl(Qt::Key_Y);
        QCOMPARE(e.ShownContacts(), (std::vector<QStringList>{{"Ann", "0101", ""}}));
        const std::string saved = EditorDriver::Scratch("undone.mmo");
        e.ChooseFile(saved);
        e.Ctrl(Qt::Key_S);
        QCOMPARE(EditorDriver::ReadFile(saved), MemoBytes({{"Ann", "0101"}}));
        QVERIFY2(e.Enabled(cmd::EditRedo), "a save keeps the history");

        e.Drop({QString::fromStdString(MemoFileOf("five.mmo", "n", 5))});
        e.ClickMemoRow(1);
        e.ClickMemoRow(2, Qt::ControlModifier);
        e.ClickMemoRow(3, Qt::ControlModifier);
        e.Answer(Answer::Yes);
        QVERIFY(e.ClickToolButton(cmd::EditDelete));
        QCOMPARE(e.ShownContacts().size(), size_t(2));
        QVERIFY(e.Enabled(cmd::EditUndo));
        QCOMPARE(e.frame->Actions().Action(cmd::EditUndo)->text(), QString("&Undo Delete 3 contacts"));
        QVERIFY2(!e.Enabled(cmd::EditRedo), "the file opened started a new history");
        e.Ctrl(Qt::Key_Z);
        QCOMPARE(e.ShownContacts().size(), size_t(5));
        QVERIFY(!e.doc().HasUnsavedChanges(DataKind::Memo));

        e.Drop({QString::fromStdString(Bmp24("turn.bmp", 300, 200))});
        auto pixels = [&e] {
            const LbImage& p = *e.doc().SourceImage();
            return std::string(static_cast<const char*>(p.GetDIB()), p.GetSize());
        };
        const std::string opened = pixels();
        e.Ctrl(Qt::Key_R);
        QCOMPARE(e.doc().SourceImage()->GetWidth(), 200u);
        e.Ctrl(Qt::Key_Z);
        QVERIFY(pixels() == opened);
        QVERIFY(!e.doc().HasUnsavedChanges(DataKind::Logo));
        e.Ctrl(Qt::Key_Y);
        QCOMPARE(e.doc().SourceImage()->GetWidth(), 200u);
        // A selection moved and let go is a step; undone, the box and the logo go back.
        CSelectionBox* box = e.logo().SelectionBox();
        const QRect place = box->geometry();
        const QImage cut = e.Preview();
        box->move(box->pos() + QPoint(30, 20));
        emit box->released();
        QVERIFY(e.Preview() != cut && e.Enabled(cmd::EditUndo));
        QCOMPARE(e.frame->Actions().Action(cmd::EditUndo)->text(), QString("&Undo Move selection"));
        e.Ctrl(Qt::Key_Z);
        QCOMPARE(box->geometry(), place);
        QCOMPARE(e.Preview(), cut);
        QCOMPARE(e.TakeShown(), Texts{"Delete the 3 selected contacts?"});
        VerifyLogoPage(e);
    }

    // 10. Starting with a memo file shows the first row at the top.
    void startingWithAMemoFileShowsRowOne() {
        EditorDriver e(EditorDriver::Options{false, MemoFileOf("start.mmo", "n", 12)});
        QCoreApplication::processEvents();
        QCOMPARE(e.TopMemoRow(), 0);
        QCOMPARE(e.memo().CurrentRow(), 12);
    }
};

QTEST_MAIN(UnsavedWorkTest)
#include "unsaved_work_qtest.moc"
