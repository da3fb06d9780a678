// Contacts from a phone's and an address book's vCard file into the memo list of the
// editor, through File > Import contacts… and its report dialog, then saved with Ctrl+S
// and compared byte for byte; replacing a list with unsaved changes asks first.
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/CommandIds.h"
#include "app/widgets/CommandActions.h"
#include "memo/widgets/ContactImportDialog.h"
#include "memo/support/AddressBookFiles.h"
#include "platform/Cp949.h"
#include "window/support/EditorDriver.h"

namespace {

const char* kCards =
    "BEGIN:VCARD\r\nVERSION:2.1\r\n"
    "N;CHARSET=EUC-KR;ENCODING=QUOTED-PRINTABLE:=B1=E8;=C3=B6=BC=F6;;;\r\n"
    "FN;CHARSET=EUC-KR;ENCODING=QUOTED-PRINTABLE:=B1=E8=C3=\r\n=B6=BC=F6\r\n"
    "TEL;CELL:010-1111-2222\r\nTEL;HOME;PREF:02-333-4444\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Alexander Maximilian\r\nEMAIL;TYPE=INTERNET:alex@example.com\r\n"
    "END:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nEND:VCARD\r\n";

std::string Record(const std::string& name, const std::string& tel, const std::string& email) {
    auto field = [](std::string s) { return s.append(16 - s.size(), '\0'); };
    return field(name) + field(tel) + field(email.substr(0, std::min<size_t>(12, email.size()))) +
           field(email.size() > 12 ? email.substr(12) : std::string());
}

std::string Cp(const char* utf8) { return cp949::FromUtf8(utf8).text; }

// Clicks a radio button on its round mark, as a person does.
void Pick(QRadioButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2)); }

QStringList Lines(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

}  // namespace

class ContactImport : public QObject {
    Q_OBJECT

    // File > Import contacts… on the file; answer does what the person does in the
    // report dialog (which is cancelled if answer leaves it open).
    static void Import(EditorDriver& ed, const std::string& file,
                       const std::function<void(CContactImportDialog*)>& answer) {
        ed.ChooseFile(file);
        QVERIFY(ed.Enabled(cmd::ImportContacts));
        WithDialog(ed, [&] { ed.frame->Actions().Action(cmd::ImportContacts)->trigger(); }, answer);
    }

    // Does what opens the report dialog, then answer in it.
    static void WithDialog(EditorDriver& ed, const std::function<void()>& open,
                           const std::function<void(CContactImportDialog*)>& answer) {
        bool seen = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<CContactImportDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            poll.stop();
            seen = true;
            if (QTest::qWaitForWindowExposed(dialog)) answer(dialog);
            if (dialog->isVisible()) dialog->reject();
        });
        poll.start();
        open();
        QVERIFY(seen);
        QApplication::setActiveWindow(ed.frame.get());  // back from the dialog
    }

private slots:
    void vCardThroughTheReportIntoTheListAndSaved() {
        EditorDriver ed;
        ed.TypeContact("기존", "010");  // the import goes after it
        const std::string vcf = EditorDriver::Scratch("phone.vcf");
        {
            QFile f(QString::fromStdString(vcf));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(kCards);
        }
        Import(ed, vcf, [](CContactImportDialog* d) {
            QCOMPARE(Lines(d->Report()),
                     QStringList({"line 9, field name: 20 bytes, at most 15 bytes fit; cut to 15 bytes "
                                  "(contact: Alexander Maximilian)",
                                  "line 14: no name, tel or email; left out"}));
            QCOMPARE(d->Outcome()->text(), QString("2 contacts will go into rows 2 to 3."));
            QDir().mkpath(LYRA_SCREENSHOTS);  // a picture of the dialog for a person to look at
            QVERIFY(d->grab().save(QString(LYRA_SCREENSHOTS) + "/contact_import.png"));
            Pick(d->PolicyButton(FitPolicy::Skip));  // the report follows the choice
            QCOMPARE(Lines(d->Report()).first(), QString("line 9, field name: 20 bytes, at most 15 bytes fit; "
                                                         "contact skipped (contact: Alexander Maximilian)"));
            QCOMPARE(d->Outcome()->text(), QString("1 contact will go into row 2."));
            Pick(d->PolicyButton(FitPolicy::Fail));
            QVERIFY(!d->ImportButton()->isEnabled());
            Pick(d->PolicyButton(FitPolicy::Trim));
            QTest::mouseClick(d->ImportButton(), Qt::LeftButton);
        });
        QVERIFY(ed.TakeShown().empty());  // appending loses nothing and asks nothing
        QCOMPARE(ed.ShownContacts(), (std::vector<QStringList>{{"기존", "010", ""},
                                                               {"김철수", "02-333-4444", ""},
                                                               {"Alexander Maxim", "", "alex@example.com"}}));

        const std::string saved = EditorDriver::Scratch("imported.mmo");
        ed.ChooseFile(saved);
        ed.Ctrl(Qt::Key_S);
        QCOMPARE(EditorDriver::ReadFile(saved), Record(Cp("기존"), "010", "") + Record(Cp("김철수"), "02-333-4444", "") +
                                                    Record("Alexander Maxim", "", "alex@example.com") +
                                                    std::string(253 * 64, '\xFF'));

        // Replacing a list with unsaved changes asks first: Cancel keeps it, No replaces it.
        ed.TypeContact("새", "1");
        for (platform::Answer answer : {platform::Answer::Cancel, platform::Answer::No}) {
            ed.Answer(answer);
            Import(ed, vcf, [](CContactImportDialog* d) {
                Pick(d->ReplaceButton());
                QCOMPARE(d->Outcome()->text(), QString("2 contacts will go into rows 1 to 2, in place of the list."));
                QTest::mouseClick(d->ImportButton(), Qt::LeftButton);
            });
            QCOMPARE(ed.TakeShown(), std::vector<std::string>{"Do you want to save Memo File ?"});
            QCOMPARE(ed.ShownContacts().size(), size_t(answer == platform::Answer::Cancel ? 4 : 2));
        }
        QCOMPARE(ed.MemoRow(0), QStringList({"김철수", "02-333-4444", ""}));
        QCOMPARE(ed.PendingAnswers(), size_t(0));
    }

    // Each kind of file real address books write, dropped on the logo page: the memo page
    // comes to the front, the dialog reports what the reader and fit say, every line read
    // whole without scrolling sideways, and Import fills the list.
    void droppedAddressBooksGoThroughTheDialog() {
        for (const AddressBookFile& file : AddressBookFiles()) {
            if (file.policy != FitPolicy::Trim) continue;
            EditorDriver ed;
            ed.ClickTab(1);
            const std::string path = EditorDriver::Scratch(file.name);
            QFile f(QString::fromStdString(path));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(file.bytes.data(), qint64(file.bytes.size())) > 0);
            f.close();
            QStringList report;
            for (const std::string& line : file.report) report << QString::fromStdString(line);
            if (report.isEmpty()) report << "Every contact fits as it is.";
            WithDialog(ed, [&] { ed.Drop({QString::fromStdString(path)}); }, [&](CContactImportDialog* d) {
                QCOMPARE(Lines(d->Report()), report);
                if (std::string(file.name) == "google-long.csv")  // long lines, for a person to look at
                    QVERIFY(d->grab().save(QString(LYRA_SCREENSHOTS) + "/contact_import_wrapped.png"));
                for (int i = 0; i < d->Report()->count(); ++i)
                    QVERIFY(d->Report()->visualItemRect(d->Report()->item(i)).right() <
                            d->Report()->viewport()->width());
                QTest::mouseClick(d->ImportButton(), Qt::LeftButton);
            });
            QCOMPARE(ed.PageShown(), 0);
            std::vector<QStringList> rows;
            for (const auto& row : file.rows)
                rows.push_back({QString::fromStdString(row[0]), QString::fromStdString(row[1]),
                                QString::fromStdString(row[2])});
            QCOMPARE(ed.ShownContacts(), rows);
            QVERIFY(ed.doc().MemoPath().empty());  // a Save never overwrites the contact file
        }
    }
};

QTEST_MAIN(ContactImport)
#include "contact_import_qtest.moc"
