// The memo page driven as a person would: clicks, keys and commands.
#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include "app/CommandIds.h"
#include "memo/MemoFile.h"
#include "memo/support/widgets/MemoPageHarness.h"
#include "ui/widgets/MemoFindDialog.h"

using memotest::Cp;
using memotest::MemoPage;
using memotest::Type;

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

class MemoViewTest : public QObject {
    Q_OBJECT
    std::unique_ptr<MemoPage> page;

private slots:
    void init() { page = std::make_unique<MemoPage>(); }
    void cleanup() { page.reset(); }

    void listHas250NumberedRows() {
        QCOMPARE(page->list()->topLevelItemCount(), 250);
        QCOMPARE(page->Cell(0, 0), QString("   1"));
        QCOMPARE(page->Cell(9, 0), QString("  10"));
        QCOMPARE(page->Cell(249, 0), QString(" 250"));
        QStringList headers;
        for (int c = 0; c < 4; ++c) headers << page->list()->headerItem()->text(c);
        QCOMPARE(headers, QStringList({"No", "Name", "Tel.", "E-Mail"}));
        // Shares of the list's width, following the page's size.
        QCOMPARE(page->list()->columnWidth(3), int(page->list()->viewport()->width() * 0.44));
        page->view.resize(800, 480);
        page->app.OnFileNew();
        QCOMPARE(page->list()->columnWidth(3), int(page->list()->viewport()->width() * 0.44));
        QVERIFY(page->list()->viewport()->width() > 700);
        QVERIFY(!page->list()->horizontalScrollBar()->isVisible());
        QCOMPARE(page->list()->topLevelItemCount(), 250);
    }

    void readingThreeEntriesFocusesTheFourthRow() {
        QString path = QString(LYRA_TEST_TMP) + "/three.mmo";
        QDir().mkpath(LYRA_TEST_TMP);
        MemoTable t{};
        for (int i = 0; i < 3; ++i) SetMemoField(t[i], MemoField::Name, "kim" + std::to_string(i));
        QVERIFY(WriteMemoFile(path.toStdString(), t, 2));
        QVERIFY(page->doc().OnOpenDocument(path.toStdString()));
        QCOMPARE(page->doc().MemoLast(), 2);
        QCOMPARE(page->view.CurrentRow(), 3);
        QCOMPARE(page->list()->SelectedRows(), QList<int>{3});
        QCOMPARE(page->Cell(2, 1), QString("kim2"));
        QCOMPARE(page->view.window()->focusWidget(), page->name());
        QVERIFY(page->name()->isEnabled() && page->name()->text().isEmpty());
    }

    void emptyFileGivesRowZero() {
        page->Load(0);  // a file of filler records only: last row -1
        QCOMPARE(page->doc().MemoLast(), -1);
        QCOMPARE(page->view.CurrentRow(), 0);
    }

    void clickRule_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<Qt::KeyboardModifiers>("mods");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("filled row") << 1 << Qt::KeyboardModifiers() << true;
        QTest::newRow("first empty row") << 3 << Qt::KeyboardModifiers() << true;
        QTest::newRow("beyond the last row") << 10 << Qt::KeyboardModifiers() << false;
        QTest::newRow("ctrl") << 1 << Qt::KeyboardModifiers(Qt::ControlModifier) << false;
        QTest::newRow("shift") << 1 << Qt::KeyboardModifiers(Qt::ShiftModifier) << false;
    }
    void clickRule() {
        QFETCH(int, row);
        QFETCH(Qt::KeyboardModifiers, mods);
        QFETCH(bool, enabled);
        page->Load(3);
        page->SetLast(3);
        page->Click(row, mods);
        QCOMPARE(page->view.CurrentRow(), row);
        QCOMPARE(page->name()->text(), memotest::Utf(page->Field(row, MemoField::Name)));
        for (QWidget* w : {(QWidget*)page->name(), (QWidget*)page->tel(), (QWidget*)page->email(),
                           (QWidget*)page->view.InputButton()})
            QCOMPARE(w->isEnabled(), enabled);
    }

    void arrowKeys() {
        page->Load(3);
        page->Click(1);  // the Name box loses the focus: the last row rises to the current row, 3
        QCOMPARE(page->doc().MemoLast(), 3);
        QTest::keyClick(page->list(), Qt::Key_Down);
        QCOMPARE(page->view.CurrentRow(), 2);
        QCOMPARE(page->name()->text(), QString("n2"));
        QVERIFY(page->name()->isEnabled());
        QCOMPARE(page->doc().MemoFindEnabled(), 0);
        QTest::keyClick(page->list(), Qt::Key_Down);
        QTest::keyClick(page->list(), Qt::Key_Down);  // row 4 lies beyond the last row
        QCOMPARE(page->view.CurrentRow(), 4);
        QVERIFY(!page->name()->isEnabled());
        page->Click(0);
        QTest::keyClick(page->list(), Qt::Key_Up);  // nothing above row 0
        QCOMPARE(page->view.CurrentRow(), 0);
        QVERIFY(page->name()->isEnabled());
        // Below row 249 the list cannot move, but the boxes close and Find goes off as
        // past any last row; the current row stays inside the table.
        page->Load(250);
        page->Click(249);
        QVERIFY(page->name()->isEnabled());
        QCOMPARE(page->doc().MemoFindEnabled(), 1);
        QTest::keyClick(page->list(), Qt::Key_Down);
        QCOMPARE(page->view.CurrentRow(), 249);
        QCOMPARE(page->list()->SelectedRows(), QList<int>{249});
        QVERIFY(!page->name()->isEnabled());
        QCOMPARE(page->doc().MemoFindEnabled(), 0);
        Type(page->name(), "x");
        QTest::keyClick(page->name(), Qt::Key_Return);
        QCOMPARE(page->Field(249, MemoField::Name), std::string("n249"));
    }

    void deletingRowsTwoAndFiveOfEight() {
        page->Load(8);
        page->SetLast(8);
        page->Click(1);
        page->Click(4, Qt::ControlModifier);
        QVERIFY(page->Enabled(cmd::EditDelete));
        QVERIFY(page->router.Execute(cmd::EditDelete));  // No to the question: nothing goes
        QCOMPARE(page->services.prompts.Texts().back(), std::string("Delete the 2 selected contacts?"));
        QCOMPARE(page->Field(1, MemoField::Name), std::string("n1"));
        page->services.prompts.answers.push_back(platform::Answer::Yes);
        QVERIFY(page->router.Execute(cmd::EditDelete));
        QStringList names;
        for (int i = 0; i < 8; ++i) names << QString::fromStdString(page->Field(i, MemoField::Name));
        QCOMPARE(names, QStringList({"n0", "n2", "n3", "n5", "n6", "n7", "", ""}));
        QCOMPARE(page->Cell(3, 1), QString("n5"));
        QCOMPARE(page->Cell(6, 1), QString());
        QCOMPARE(page->doc().MemoLast(), 6);
        QCOMPARE(page->list()->SelectedRows(), QList<int>{1});
        QCOMPARE(page->name()->text(), QString("n2"));
        QVERIFY(page->doc().HasUnsavedChanges(DataKind::Memo));
    }

    void deletingTheOnlyRow() {
        page->Load(1);
        page->SetLast(1);
        page->Click(0);
        QVERIFY(page->router.Execute(cmd::EditDelete));
        QVERIFY(IsMemoRowEmpty(page->doc().Memo()[0]));
        QCOMPARE(page->Cell(0, 1), QString());
        QCOMPARE(page->doc().MemoLast(), 0);
        QVERIFY(page->doc().HasUnsavedChanges(DataKind::Memo));
        QCOMPARE(page->doc().MemoFindEnabled(), 0);
    }

    void deletingAnEmptyRowPastTheEntries() {
        // Row 100 alone selected while the current row is 1: Delete is enabled.
        page->Load(3);
        page->Click(1);
        page->Click(100, Qt::ControlModifier);
        page->Click(1, Qt::ControlModifier);
        QCOMPARE(page->list()->SelectedRows(), QList<int>{100});
        QVERIFY(page->router.Execute(cmd::EditDelete));
        // The bound stays where the entries end and row 100 stays closed to typing: an
        // entry there would follow empty rows, and the memo file stops at the first
        // empty row, so saving would silently drop it.
        QCOMPARE(page->doc().MemoLast(), 3);
        QVERIFY(!page->name()->isEnabled());
        Type(page->name(), "lost");
        QTest::keyClick(page->name(), Qt::Key_Return);
        page->Click(50);
        QVERIFY(!page->name()->isEnabled());
        QString path = QString(LYRA_TEST_TMP) + "/kept.mmo";
        QDir().mkpath(LYRA_TEST_TMP);
        QVERIFY(page->doc().OnSaveDocument(path.toStdString()));
        MemoTable back{};
        int entries = 0;
        QVERIFY(ReadMemoFile(path.toStdString(), back, entries));
        int filled = 0;
        for (const MemoEntry& row : page->doc().Memo()) filled += !IsMemoRowEmpty(row);
        QCOMPARE(entries, filled);  // every entry of the table is in the file
        QCOMPARE(entries, 3);
    }

    void delWhileTypingDeletesNoRow() {
        page->Load(3);
        page->Click(1);
        Type(page->name(), "xy");
        QTest::keyClick(page->name(), Qt::Key_Home);
        QTest::keyClick(page->name(), Qt::Key_Delete);
        page->router.Execute(cmd::EditDelete);  // as from the toolbar
        QCOMPARE(page->Field(1, MemoField::Name), std::string("n1"));
        QCOMPARE(page->name()->text(), QString("1xy"));
    }

    void enableRules() {
        page->Load(3);
        QVERIFY(!page->doc().HasUnsavedChanges(DataKind::Memo));
        QVERIFY(!page->Enabled(cmd::EditDelete));  // current row 3, last row 2
        QVERIFY(!page->Enabled(cmd::FileSave));
        QVERIFY(page->Enabled(cmd::EditFind));
        page->Click(1);
        QVERIFY(page->Enabled(cmd::EditDelete));
        page->doc().TouchMemoRow(1);
        QVERIFY2(!page->Enabled(cmd::FileSave), "the list is still what the file holds");
        page->ChangeList([](MemoBook& list) { SetMemoField(list.table[1], MemoField::Name, "changed"); });
        QVERIFY(page->Enabled(cmd::FileSave));
        page->app.m_nPage = page::Logo;
        QVERIFY(!page->Enabled(cmd::EditFind));
        page->app.m_nPage = page::Memo;
        page->SetLast(0);
        QVERIFY2(page->Enabled(cmd::FileSave), "a save would now write one contact, not the file's");
        page->Load(250);
        page->Click(249);
        QVERIFY(page->Enabled(cmd::EditDelete));  // the last row holds an entry
    }

    void findWrapsAround_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("down");
        QTest::addColumn<int>("found");
        QTest::addColumn<QString>("status");
        QTest::newRow("down from the last filled row wraps to row 0") << 4 << "n0" << true << 0 << "";
        QTest::newRow("up from row 0 wraps to the bottom") << 0 << "t3" << false << 3 << "";
        QTest::newRow("e-mail cell") << 0 << "e2" << true << 2 << "";
        QTest::newRow("found nowhere keeps the row and says so")
            << 2 << "zzz" << true << 2 << "Cannot find \"zzz\"";
    }
    void findWrapsAround() {
        QFETCH(int, from);
        QFETCH(QString, text);
        QFETCH(bool, down);
        QFETCH(int, found);
        QFETCH(QString, status);
        page->Load(5);
        page->Click(from);
        QVERIFY(page->router.Execute(cmd::EditFind));
        CMemoFindDialog* dialog = page->view.FindDialog();
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(dialog->DownButton()->isChecked());
        dialog->FindText()->setText(text);
        (down ? dialog->DownButton() : dialog->UpButton())->setChecked(true);
        QTest::mouseClick(dialog->FindNextButton(), Qt::LeftButton);
        QCOMPARE(page->view.CurrentRow(), found);
        QCOMPARE(page->list()->SelectedRows(), QList<int>{found});
        QVERIFY(page->services.prompts.shown.empty());
        const std::vector<std::string>& said = page->services.status.texts;
        if (!status.isEmpty()) QCOMPARE(said.empty() ? QString() : QString::fromStdString(said.back()), status);
        if (found != from) QVERIFY(said.empty());
        dialog->close();
        QTRY_VERIFY(page->view.FindDialog() == nullptr);
        page->router.Execute(cmd::EditFind);  // the last text is proposed again
        QCOMPARE(page->view.FindDialog()->FindText()->text(), text);
    }

    void pasteAppends() {
        page->Load(1);
        page->Click(1);
        Type(page->tel(), "010");
        page->services.clipboard.text = "abc";
        QVERIFY(page->router.Execute(cmd::EditPaste));
        QCOMPARE(page->tel()->text(), QString("010abc"));
        QTest::keySequence(page->tel(), QKeySequence::Paste);  // the key without a window shortcut
        QCOMPARE(page->tel()->text(), QString("010abcabc"));
        page->services.clipboard.text = "\xF0\x9F\x98\x80";  // an emoji: not in CP949
        page->router.Execute(cmd::EditPaste);
        QCOMPARE(page->tel()->text(), QString("010abcabc"));
        QVERIFY(!page->services.status.texts.empty());
        // Pasted past the typed limit: refused with the typing message, the box as it was.
        page->services.clipboard.text = "0123456789";
        page->router.Execute(cmd::EditPaste);
        QCOMPARE(page->tel()->text(), QString("010abcabc"));
        QCOMPARE(page->services.status.texts.back(),
                 std::string("Please enter no more than 14 bytes; a Korean character takes 2."));
    }

    void typedByteLimits_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("meter");  // bytes used and allowed beside the box, "!" when full
        QTest::newRow("15 letters in Name") << int(CMemoView::IdName) << "abcdefghijklmno" << "abcdefghijklmn"
                                            << "14/14!";
        QTest::newRow("8 syllables in Name") << int(CMemoView::IdName) << "가나다라마바사아" << "가나다라마바사"
                                             << "14/14!";
        QTest::newRow("13 letters and a syllable") << int(CMemoView::IdTel) << "0123456789012가"
                                                   << "0123456789012" << "13/14";
        QTest::newRow("30 letters in E-Mail") << int(CMemoView::IdEmail) << QString(30, 'e') << QString(24, 'e')
                                              << "24/24!";
        QTest::newRow("Hanja and Hangul are CP949") << int(CMemoView::IdName) << "金가" << "金가" << "4/14";
        QTest::newRow("a character CP949 lacks") << int(CMemoView::IdName) << "a\u0915b" << "ab" << "2/14";
    }
    void typedByteLimits() {
        QFETCH(int, box);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(QString, meter);
        page->Click(0);
        Type(page->view.Edit(box), typed);
        QCOMPARE(page->view.Edit(box)->text(), kept);
        CMemoEdit* edit = page->view.Edit(box);
        QCOMPARE(edit->MeterText() + (edit->MeterFull() ? "!" : ""), meter);
    }

    void refusedCharacterIsExplained() {
        Type(page->name(), "\u0915");
        QVERIFY(page->name()->text().isEmpty());
        QVERIFY(!page->services.status.texts.empty());
        QVERIFY(QString::fromStdString(page->services.status.texts.back()).contains(QChar(0x0915)));
    }

    void enterCommit() {
        page->Load(2);
        page->Click(2);
        Type(page->name(), "kim[1]");
        Type(page->tel(), "010");
        QTest::keyClick(page->tel(), Qt::Key_Return);
        QCOMPARE(page->Field(2, MemoField::Name), std::string("kim(1)"));
        QCOMPARE(page->Cell(2, 1), QString("kim(1)"));
        QCOMPARE(page->view.CurrentRow(), 3);
        QCOMPARE(page->list()->SelectedRows(), QList<int>{3});
        QCOMPARE(page->view.window()->focusWidget(), page->name());
        QVERIFY(page->name()->text().isEmpty() && page->name()->isEnabled());
        QCOMPARE(page->doc().MemoLast(), 3);
        QVERIFY(page->doc().HasUnsavedChanges(DataKind::Memo));
        // All boxes empty on a row never filled: nothing stored, no move.
        QTest::keyClick(page->name(), Qt::Key_Return);
        QCOMPARE(page->view.CurrentRow(), 3);
        QVERIFY(IsMemoRowEmpty(page->doc().Memo()[3]));
    }

    void enterOnTheLastRowStays() {
        page->Load(250);
        page->Click(249);
        Type(page->name(), "z");
        QTest::keyClick(page->name(), Qt::Key_Return);
        QCOMPARE(page->Field(249, MemoField::Name), std::string("n249z"));
        QCOMPARE(page->view.CurrentRow(), 249);
        QCOMPARE(page->name()->text(), QString("n249z"));
    }

    void tabOrder() {
        page->Click(0);
        page->name()->setFocus();
        QTest::keyClick(page->name(), Qt::Key_Tab);
        QCOMPARE(page->view.window()->focusWidget(), page->tel());
        QTest::keyClick(page->tel(), Qt::Key_Tab);
        QCOMPARE(page->view.window()->focusWidget(), page->email());
        QTest::keyClick(page->email(), Qt::Key_Tab);
        QCOMPARE(page->view.window()->focusWidget(), page->list());
        QVERIFY(page->name()->text().isEmpty());  // Tab is no character
    }

    void emailRules_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("stored");  // CP949 bytes
        QTest::addColumn<bool>("refused");
        QByteArray four = QByteArray::fromStdString(Cp("가나다라"));
        QTest::newRow("24 bytes the line rule makes 25") << "abcde가나다라0123456789a" << QByteArray() << true;
        QTest::newRow("24 bytes") << QString(24, 'e') << QByteArray(24, 'e') << false;
        QTest::newRow("5 letters then Hangul") << "abcde가나다라"
                                               << "abcde" + four.left(6) + " " + four.mid(6) << false;
        QTest::newRow("4 letters then Hangul") << "abcd가나다라x" << "abcd" + four + "x" << false;
    }
    void emailRules() {
        QFETCH(QString, typed);
        QFETCH(QByteArray, stored);
        QFETCH(bool, refused);
        page->Click(0);
        Type(page->name(), "lee");
        Type(page->email(), typed);
        QTest::keyClick(page->email(), Qt::Key_Return);
        // A refused commit stores nothing of the row.
        QCOMPARE(page->Field(0, MemoField::Name), std::string(refused ? "" : "lee"));
        QCOMPARE(QByteArray::fromStdString(page->Field(0, MemoField::Email)), stored);
        QCOMPARE(page->services.prompts.Texts().empty(), !refused);
        if (refused) {
            QVERIFY(QString::fromStdString(page->services.prompts.Texts().back()).startsWith("E-Mail String Over"));
            QCOMPARE(page->email()->text(), typed);  // kept for shortening
            QCOMPARE(page->view.CurrentRow(), 0);
        }
    }

    void inputCommit() {
        page->Load(2);
        page->doc().SetMemoFindEnabled(false);
        page->Click(1);
        QTest::mouseClick(page->view.InputButton(), Qt::LeftButton);  // nothing changed
        QCOMPARE(page->Field(1, MemoField::Name), std::string("n1"));
        QCOMPARE(page->doc().MemoFindEnabled(), 1);
        QVERIFY(!page->doc().HasUnsavedChanges(DataKind::Memo));
        QCOMPARE(page->view.CurrentRow(), 1);
        Type(page->name(), "[x]");
        QTest::mouseClick(page->view.InputButton(), Qt::LeftButton);
        QCOMPARE(page->Field(1, MemoField::Name), std::string("n1(x)"));
        QCOMPARE(page->view.CurrentRow(), 2);
        QCOMPARE(page->doc().MemoLast(), 2);
        QCOMPARE(page->view.window()->focusWidget(), page->name());
    }
};

QTEST_MAIN(MemoViewTest)
#include "memo_view_qtest.moc"
