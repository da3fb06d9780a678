// Contacts from a phone's and an address book's vCard file into the memo list of the
// main window, through File > Import contacts… and its report dialog, then saved with
// Ctrl+S and compared byte for byte; replacing a list with unsaved changes asks first.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/CommandIds.h"
#include "app/tabs/widgets/TTabWnd.h"
#include "app/widgets/CMainFrame.h"
#include "app/widgets/CommandActions.h"
#include "memo/widgets/ContactImportDialog.h"
#include "support/MemoPageHarness.h"
#include "ui/widgets/FlatMenus.h"

using memotest::Cp;
using memotest::Type;

namespace {

const char* kCards =
    "BEGIN:VCARD\r\nVERSION:2.1\r\n"
    "N;CHARSET=EUC-KR;ENCODING=QUOTED-PRINTABLE:=B1=E8;=C3=B6=BC=F6;;;\r\n"
    "FN;CHARSET=EUC-KR;ENCODING=QUOTED-PRINTABLE:=B1=E8=C3=\r\n=B6=BC=F6\r\n"
    "TEL;CELL:010-1111-2222\r\nTEL;HOME;PREF:02-333-4444\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Alexander Maximilian\r\nEMAIL;TYPE=INTERNET:alex@example.com\r\n"
    "END:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nEND:VCARD\r\n";

QByteArray Record(const std::string& name, const std::string& tel, const std::string& email) {
    auto field = [](const std::string& s) { return QByteArray::fromStdString(s).leftJustified(16, '\0', true); };
    return field(name) + field(tel) + field(email.substr(0, std::min<size_t>(12, email.size()))) +
           field(email.size() > 12 ? email.substr(12) : std::string());
}

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
    platform::ScriptedServices services;
    std::unique_ptr<CLyraApp> app;
    std::unique_ptr<CMainFrame> frame;
    CMemoView* view = nullptr;
    QString dir;

    // Runs File > Import contacts… on the file; answer does what the person does in the
    // report dialog (it is cancelled if answer leaves it open).
    void Import(const QString& file, const std::function<void(CContactImportDialog*)>& answer) {
        services.dialogs.answers.push_back(file.toStdString());
        bool seen = false;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<CContactImportDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            poll.stop();
            seen = true;
            if (QTest::qWaitForWindowExposed(dialog)) answer(dialog);
            if (dialog->isVisible()) dialog->reject();
        });
        poll.start();
        frame->Actions().Refresh();
        QAction* action = frame->Actions().Action(cmd::ImportContacts);
        QVERIFY(action && action->isEnabled());
        action->trigger();
        QVERIFY(seen);
        QApplication::setActiveWindow(frame.get());  // back from the dialog
    }

private slots:
    void initTestCase() { CFlatMenus::Install(); }
    void cleanupTestCase() { CFlatMenus::Remove(); }

    void init() {
        TTabWnd::ResetLastReportedPage();
        app = std::make_unique<CLyraApp>();
        frame = std::make_unique<CMainFrame>(*app);
        app->ProcessShellCommand("");
        frame->show();
        QApplication::setActiveWindow(frame.get());
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        view = qobject_cast<CMemoView*>(frame->TabWindow()->ViewAt(0));
        QVERIFY(view);
        dir = QString(LYRA_TEST_TMP) + "/contact_import";
        QDir(dir).removeRecursively();
        QDir().mkpath(dir);
    }
    void cleanup() {
        app->Document().m_bMemoModified = 0;  // nothing to ask on the way out
        frame.reset();
        app.reset();
    }

    void vCardThroughTheReportIntoTheListAndSaved() {
        // One contact typed by hand; the import goes after it.
        CMemoEdit* name = view->Edit(CMemoView::IdName);
        name->setFocus();
        Type(name, "기존");
        QTest::keyClick(name, Qt::Key_Tab);
        Type(frame->focusWidget(), "010");
        QTest::keyClick(frame->focusWidget(), Qt::Key_Return);

        QFile vcf(dir + "/phone.vcf");
        QVERIFY(vcf.open(QIODevice::WriteOnly));
        vcf.write(kCards);
        vcf.close();
        Import(vcf.fileName(), [](CContactImportDialog* d) {
            QCOMPARE(Lines(d->Report()),
                     QStringList({"line 9, field name: 20 bytes, at most 14 bytes fit; cut to 14 bytes "
                                  "(contact: Alexander Maximilian)",
                                  "line 14: no name, tel or email; left out"}));
            QCOMPARE(d->Outcome()->text(), QString("2 contacts will go into rows 2 to 3."));
            QDir().mkpath(LYRA_SCREENSHOTS);  // a picture of the dialog for a person to look at
            QVERIFY(d->grab().save(QString(LYRA_SCREENSHOTS) + "/contact_import.png"));
            Pick(d->PolicyButton(FitPolicy::Skip));  // the report follows
            QCOMPARE(Lines(d->Report()).first(), QString("line 9, field name: 20 bytes, at most 14 bytes fit "
                                                         "(contact: Alexander Maximilian)"));
            QCOMPARE(d->Outcome()->text(), QString("1 contact will go into row 2."));
            Pick(d->PolicyButton(FitPolicy::Fail));
            QVERIFY(!d->ImportButton()->isEnabled());
            Pick(d->PolicyButton(FitPolicy::Trim));
            QTest::mouseClick(d->ImportButton(), Qt::LeftButton);
        });
        QCOMPARE(services.prompts.shown.size(), size_t(0));  // appending asks nothing
        QStringList names;
        for (int row = 0; row < 4; ++row) names << view->List()->topLevelItem(row)->text(CMemoView::ColName);
        QCOMPARE(names, QStringList({"기존", "김철수", "Alexander Maxi", ""}));
        QCOMPARE(view->List()->topLevelItem(1)->text(CMemoView::ColTel), QString("02-333-4444"));
        QCOMPARE(app->Document().m_nMemoLast, 2);

        const QString saved = dir + "/memo.mmo";
        services.dialogs.answers.push_back(saved.toStdString());
        frame->Actions().Refresh();
        QVERIFY(frame->Actions().Action(cmd::FileSave)->isEnabled());
        QCOMPARE(frame->focusWidget(), name);
        QTest::keyClick(frame->focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), Record(Cp("기존"), "010", "") + Record(Cp("김철수"), "02-333-4444", "") +
                                     Record("Alexander Maxi", "", "alex@example.com") +
                                     QByteArray(253 * 64, '\xFF'));

        // Replacing a list with unsaved changes asks first; Cancel keeps it, No replaces it.
        app->Document().m_bMemoModified = 1;
        for (platform::Answer answer : {platform::Answer::Cancel, platform::Answer::No}) {
            services.prompts.answers.push_back(answer);
            Import(vcf.fileName(), [](CContactImportDialog* d) {
                Pick(d->ReplaceButton());
                QCOMPARE(d->Outcome()->text(), QString("2 contacts will go into rows 1 to 2, in place of the list."));
                QTest::mouseClick(d->ImportButton(), Qt::LeftButton);
            });
            QCOMPARE(services.prompts.Texts().back(), std::string("Do you want to save Memo File ?"));
            QCOMPARE(view->List()->topLevelItem(0)->text(CMemoView::ColName),
                     QString(answer == platform::Answer::Cancel ? "기존" : "김철수"));
        }
        QCOMPARE(app->Document().m_nMemoLast, 1);
    }
};

QTEST_MAIN(ContactImport)
#include "contact_import_qtest.moc"
