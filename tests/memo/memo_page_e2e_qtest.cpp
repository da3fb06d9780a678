// The memo page inside the main window: contacts typed through the boxes and saved with
// Ctrl+S, compared byte for byte; and a picture of the page for a person to look at.
#include <QDir>
#include <QFile>
#include <QTest>

#include "app/CommandIds.h"
#include "app/tabs/widgets/TTabWnd.h"
#include "app/widgets/CMainFrame.h"
#include "app/widgets/CommandActions.h"
#include "memo/support/widgets/MemoPageHarness.h"
#include "ui/widgets/FlatMenus.h"

using memotest::Cp;
using memotest::Type;

namespace {

struct Contact {
    QString name, tel, email;
};

// One file record: 16-byte name, 16-byte tel, the e-mail in two 12-byte pieces.
QByteArray Record(const QByteArray& name, const QByteArray& tel, const QByteArray& email) {
    auto field = [](const QByteArray& bytes) { return bytes.leftJustified(16, '\0', true); };
    return field(name) + field(tel) + field(email.left(12)) + field(email.mid(12, 12));
}

QByteArray Bytes(const char* utf8) { return QByteArray::fromStdString(Cp(QString::fromUtf8(utf8))); }

}  // namespace

class MemoPageEndToEnd : public QObject {
    Q_OBJECT
    platform::ScriptedServices services;
    std::unique_ptr<CLyraApp> app;
    std::unique_ptr<CMainFrame> frame;
    CMemoView* view = nullptr;

    void TypeContacts(const QList<Contact>& contacts) {
        for (const Contact& c : contacts) {
            CMemoEdit* name = view->Edit(CMemoView::IdName);
            QCOMPARE(frame->focusWidget(), name);
            Type(name, c.name);
            QTest::keyClick(name, Qt::Key_Tab);
            Type(frame->focusWidget(), c.tel);
            QTest::keyClick(frame->focusWidget(), Qt::Key_Tab);
            Type(frame->focusWidget(), c.email);
            QTest::keyClick(frame->focusWidget(), Qt::Key_Return);
        }
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
        view->Edit(CMemoView::IdName)->setFocus();
    }
    void cleanup() {
        frame.reset();
        app.reset();
    }

    void initialUpdateRenewsTheFrame() {
        QCOMPARE(frame->MinTrackSize(), frame->size());
        QCOMPARE(frame->TabWindow()->TabFont(), view->font());
        QCOMPARE(view->List()->topLevelItemCount(), 250);
    }

    void typedContactsAreSavedWithCtrlS() {
        TypeContacts({{"김철수", "010-1234-5678", "kim@lyra.kr"},
                      {"Lee [Jr]", "02-555-0100", "lee.jr@example.com"},
                      {"박영희", "031-777-8888", "abcde가나다라"}});
        QCOMPARE(view->CurrentRow(), 3);

        QString path = QString(LYRA_TEST_TMP) + "/typed.mmo";
        QDir().mkpath(LYRA_TEST_TMP);
        QFile::remove(path);
        services.dialogs.answers.push_back(path.toStdString());
        frame->Actions().Refresh();
        QVERIFY(frame->Actions().Action(cmd::FileSave)->isEnabled());
        QTest::keyClick(frame->focusWidget(), Qt::Key_S, Qt::ControlModifier);

        QCOMPARE(services.dialogs.requests.size(), size_t(1));
        QCOMPARE(services.dialogs.requests[0].title, std::string("Save memo file"));
        QCOMPARE(services.dialogs.requests[0].initialName, std::string("memo.mmo"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray expected = Record(Bytes("김철수"), "010-1234-5678", "kim@lyra.kr") +
                              Record("Lee (Jr)", "02-555-0100", "lee.jr@example.com") +
                              Record(Bytes("박영희"), "031-777-8888", "abcde" + Bytes("가나다") + " " + Bytes("라")) +
                              QByteArray(253 * 64, '\xFF');
        QCOMPARE(file.readAll(), expected);
        QVERIFY(!app->Document().HasUnsavedChanges(DataKind::Memo));
    }

    void screenshot() {
        frame->resize(640, 520);
        TypeContacts({{"김철수", "010-1234-5678", "kim@lyra.kr"},
                      {"Lee [Jr]", "02-555-0100", "lee.jr@example.com"},
                      {"박영희", "031-777-8888", "park@한국.kr"},
                      {"Мария", "+7 495 123", "maria@mail.ru"}});
        frame->Actions().Refresh();
        QDir().mkpath(LYRA_SCREENSHOTS);
        QString path = QString(LYRA_SCREENSHOTS) + "/memo_page.png";
        QVERIFY(frame->grab().save(path));
    }
};

QTEST_MAIN(MemoPageEndToEnd)
#include "memo_page_e2e_qtest.moc"
