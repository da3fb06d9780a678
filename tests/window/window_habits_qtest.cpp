// The habits a person brings to the window: an edit that is refused changes nothing,
// paste replaces what is selected, the keys a menu shows work, Save goes back to the
// file that was opened, and a file opened in any way shows its page.
#include <QAction>
#include <QDialog>
#include <QMenuBar>
#include <QProcess>
#include <QTest>
#include <functional>

#include "app/Resources.h"
#include "app/widgets/CommandActions.h"
#include "memo/MemoFile.h"
#include "memo/widgets/MemoList.h"
#include "memo/widgets/MemoView.h"
#include "platform/Cp949.h"
#include "song/widgets/CSongTitle.h"
#include "ui/widgets/MemoEdit.h"
#include "ui/widgets/MemoFindDialog.h"
#include "window/support/EditorDriver.h"

namespace {

// A memo file of two contacts, the first with the file's 15-byte name.
std::string TwoContacts(const std::string& name) {
    const std::string path = EditorDriver::Scratch(name);
    MemoTable t{};
    SetMemoField(t[0], MemoField::Name, "fifteen-bytes-x");
    SetMemoField(t[0], MemoField::Tel, "010");
    SetMemoField(t[1], MemoField::Name, "kim");
    WriteMemoFile(path, t, 1);
    return path;
}

std::string StoredName(const std::string& path, int row) {
    MemoTable t{};
    int n = 0;
    ReadMemoFile(path, t, n);
    return std::string(MemoFieldText(t[row], MemoField::Name));
}

}  // namespace

class WindowHabitsTest : public QObject {
    Q_OBJECT
private slots:
    // Enter with an e-mail the device cannot keep leaves the row as it was; a name read
    // from a file keeps its 15 bytes while only the e-mail changes.
    void commitsApplyWhole() {
        EditorDriver e({false, TwoContacts("whole.mmo")});
        e.ClickMemoRow(0);
        QCOMPARE(e.memo().Edit(CMemoView::IdName)->MeterText(), QString("15/15"));
        QTest::mouseClick(e.memo().Edit(CMemoView::IdEmail), Qt::LeftButton);
        e.ReplaceText("kim@lyra");
        e.Key(Qt::Key_Return);
        QCOMPARE(e.MemoRow(0), (QStringList{"fifteen-bytes-x", "010", "kim@lyra"}));
        QVERIFY(e.TakeShown().empty());
        e.ClickMemoRow(1);
        e.TypeContact("lee", "02", "abcde가나다라0123456789a");  // 24 bytes, 25 with the line rule's space
        QCOMPARE(e.MemoRow(1), (QStringList{"kim", "", ""}));
        QVERIFY(QString::fromStdString(e.TakeShown().at(0)).startsWith("E-Mail String Over"));
    }

    void pasteReplacesAndFlattens_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("over a selection") << "Zed" << QByteArray("Zed");
        QTest::newRow("a line break") << "Bob\nSmith" << QByteArray("Bob Smith");
        QTest::newRow("a tab") << "\t555" << QByteArray(" 555");
    }
    void pasteReplacesAndFlattens() {
        QFETCH(QString, clipboard);
        QFETCH(QByteArray, stored);
        EditorDriver e;
        e.TypeContact("Alice Kim", "1");
        e.ClickMemoRow(0);
        QTest::mouseClick(e.memo().Edit(CMemoView::IdName), Qt::LeftButton);
        e.Key(Qt::Key_A, Qt::ControlModifier);  // the whole name selected
        e.services.clipboard.text = clipboard.toStdString();
        e.Ctrl(Qt::Key_V);
        e.Key(Qt::Key_Return);
        QCOMPARE(QByteArray::fromStdString(std::string(MemoFieldText(e.doc().Memo()[0], MemoField::Name))), stored);
    }

    // Every key a menu shows runs its command on the page that shows it.
    void menuKeysRunTheirCommands() {
        EditorDriver e({true, TwoContacts("keys.mmo")});
        // What they do: Ctrl+D deletes the selected contacts after one question,
        // Shift+Tab goes back.
        e.ClickMemoRow(0);
        e.ClickMemoRow(1, Qt::ControlModifier);
        e.Answer(platform::Answer::Yes);
        e.Ctrl(Qt::Key_D);
        QCOMPARE(e.TakeShown(), std::vector<std::string>{"Delete the 2 selected contacts?"});
        QVERIFY(e.ShownContacts().empty());
        e.memo().Edit(CMemoView::IdTel)->setFocus();
        e.Key(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), e.memo().Edit(CMemoView::IdName));
        e.Key(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), e.memo().List());
        for (int page : {page::Memo, page::Logo, page::Song}) {
            e.frame->ShowPage(page);
            int checked = 0;
            for (const res::MenuItem& popup : res::Menu(e.frame->MenuResource()))
                for (const res::MenuItem& item : popup.items) {
                    const QString key = QString::fromStdString(item.caption).section('\t', 1);
                    QAction* action = e.frame->Actions().Action(item.id);
                    if (key.isEmpty() || !e.Enabled(item.id)) continue;
                    int runs = 0;
                    auto c = connect(action, &QAction::triggered, [&runs] { ++runs; });
                    const QKeySequence seq(key);
                    e.Key(seq[0].key(), seq[0].keyboardModifiers());
                    disconnect(c);
                    QVERIFY2(runs == 1, qPrintable(key + " on page " + QString::number(page)));
                    ++checked;
                    for (QWidget* w : QApplication::topLevelWidgets())
                        if (qobject_cast<QDialog*>(w)) w->close();
                    QApplication::setActiveWindow(e.frame.get());
                    e.frame->ShowPage(page);
                }
            QVERIFY(checked >= 1);
        }
    }

    // Ctrl+S after Open writes the opened file without asking; it is a recent file.
    void saveWritesTheOpenedFile() {
        const std::string path = TwoContacts("walk1.mmo");
        EditorDriver e;
        std::vector<std::string> recent;
        QObject::connect(e.frame.get(), &CMainFrame::fileOpened,
                         [&recent](const QString& p) { recent.push_back(p.toStdString()); });
        e.ChooseFile(path);
        e.Ctrl(Qt::Key_O);
        e.ClickMemoRow(1);
        e.TypeContact("park", "03");
        e.Ctrl(Qt::Key_S);
        QCOMPARE(StoredName(path, 1), std::string("park"));
        QCOMPARE(e.services.dialogs.requests.size(), size_t(1));  // the Open dialog only
        QCOMPARE(recent, (std::vector<std::string>{path, path}));
    }

    // A file opened from the menu, File > Recent, a drop or the command line shows its page.
    void openedFileBringsItsPage() {
        const std::string picture = EditorDriver::Scratch("front.bmp"), memo = TwoContacts("front.mmo");
        EditorDriver::WritePicture(picture, "bmp", 120, 90);
        const std::vector<std::function<void(EditorDriver&, const std::string&)>> ways = {
            [](EditorDriver& e, const std::string& p) { e.ChooseFile(p), e.Ctrl(Qt::Key_O); },
            [](EditorDriver& e, const std::string& p) { e.frame->OpenRecentFile(QString::fromStdString(p)); },
            [](EditorDriver& e, const std::string& p) { e.Drop({QString::fromStdString(p)}); },
        };
        for (const auto& open : ways) {
            EditorDriver e;
            open(e, picture);
            QCOMPARE(e.PageShown(), 1);
            QCOMPARE(e.frame->MenuResource(), res::MenuLogo);
            open(e, memo);
            QCOMPARE(e.PageShown(), 0);
        }
        EditorDriver started({false, picture});
        QCOMPARE(started.PageShown(), 1);
    }

    // A file that cannot be opened at start is named with the reason; an unknown option
    // is named with the usage line.
    void startUpSaysWhatWentWrong() {
        const std::string missing = EditorDriver::Scratch("missing.mmo");
        EditorDriver e({false, missing});
        QVERIFY(!e.started);
        QCOMPARE(e.TakeShown(), std::vector<std::string>{"File Read Fail: " + missing +
                                                         ": cannot be opened: No such file or directory"});
        QProcess editor;
        editor.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        editor.start(LYRA_CLI_DIR "/lyrabox", {"-platform", "offscreen", "--bogus"});
        QVERIFY(editor.waitForFinished(20000));
        QCOMPARE(editor.exitCode(), 2);
        QVERIFY(QString(editor.readAllStandardError())
                    .endsWith("lyrabox: unknown option '--bogus'\nUsage: lyrabox [OPTION]... [FILE]\n"
                              "Try 'lyrabox --help' for more information.\n"));
    }
};

QTEST_MAIN(WindowHabitsTest)
#include "window_habits_qtest.moc"
