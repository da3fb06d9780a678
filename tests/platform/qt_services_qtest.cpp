// The Qt side of the services: filters as Qt shows them, the clipboard, the status
// line and the wait cursor.
#include <QApplication>
#include <QClipboard>
#include <QStatusBar>
#include <QtTest>

#include "platform/widgets/QtServices.h"

class QtServicesTest : public QObject {
    Q_OBJECT
private slots:
    void nameFilters() {
        using platform::FileFilter;
        // The dialog shows each filter once, with the patterns Qt can read.
        const struct {
            FileFilter filter;
            QString shown;
        } cases[] = {
            {{"Memo files(*.mmo)", "*.mmo"}, "Memo files(*.mmo)"},
            {{"All files(*.*)", "*.*"}, "All files(*.*)"},
            {{"JPG files(*.jpg;*.jpeg)", "*.jpg;*.jpeg"}, "JPG files(*.jpg *.jpeg)"},
            {{"Supported files", "*.bmp;*.png"}, "Supported files (*.bmp *.png)"},
            {{"Logo files(*.jpg)", "*.bmp"}, "Logo files(*.jpg) (*.bmp)"},
        };
        for (const auto& c : cases) QCOMPARE(platform::QtNameFilter(c.filter), c.shown);
        QCOMPARE(platform::QtNameFilters({{"Memo files(*.mmo)", "*.mmo"}, {"All files(*.*)", "*.*"}}).size(), 2);
    }
    void installedServicesAreTheQtOnes() {
        platform::Services before = platform::services();
        {
            platform::QtServices qt;
            QCOMPARE(platform::services().clipboard, static_cast<platform::Clipboard*>(&qt.clipboard));
            platform::services().clipboard->SetText("가나 abc");
            QCOMPARE(QGuiApplication::clipboard()->text(), QString("가나 abc"));
            QCOMPARE(platform::services().clipboard->Text(), std::string("가나 abc"));

            QStatusBar bar;
            qt.status.SetStatusBar(&bar);
            platform::services().status->Show("refused");
            QCOMPARE(bar.currentMessage(), QString("refused"));

            {
                platform::WaitCursor wait;
                QVERIFY(QGuiApplication::overrideCursor() != nullptr);
            }
            QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        }
        QCOMPARE(platform::services().prompts, before.prompts);
    }
};

QTEST_MAIN(QtServicesTest)
#include "qt_services_qtest.moc"
