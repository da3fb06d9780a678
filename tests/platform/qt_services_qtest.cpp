// The Qt side of the services: filters as Qt shows them, the clipboard, the status
// line and the wait cursor.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
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

    // Open and save dialogs open large enough for whole columns: a long file name and
    // every column's title are shown in full, and the dialog stays on the screen.
    void fileDialogsShowWholeColumns() {
        const QString folder = QDir::tempPath() + "/lyrabox-dialog-columns";
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        const QString name = "holiday photo, second day.jpeg";
        QFile file(folder + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.close();
        for (bool open : {true, false}) {
            platform::QtFileDialogs dialogs;
            platform::FileDialogRequest request;
            request.open = open;
            request.filters = {{"All pictures", "*.bmp;*.gif;*.jpg;*.jpeg;*.png"}};
            request.initialName = folder.toStdString() + "/";
            bool looked = false;
            QTimer::singleShot(300, [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                looked = true;
                const QRect screen = dialog->screen()->availableGeometry();
                QVERIFY(dialog->width() > 624 && dialog->height() > 412);
                QVERIFY(dialog->width() <= screen.width() && dialog->height() <= screen.height());
                auto* details = dialog->findChild<QTreeView*>("treeView");
                QVERIFY(details);
                dialog->setViewMode(QFileDialog::Detail);
                QCoreApplication::processEvents();
                const QFontMetrics fm(details->font());
                QHeaderView* header = details->header();
                QVERIFY2(header->sectionSize(0) > fm.horizontalAdvance(name), qPrintable(QString::number(header->sectionSize(0))));
                for (int column = 0; column < header->count(); ++column) {
                    const QString title = header->model()->headerData(column, Qt::Horizontal).toString();
                    QVERIFY2(header->sectionSize(column) >= QFontMetrics(header->font()).horizontalAdvance(title),
                             qPrintable(title));
                }
                dialog->reject();
            });
            QVERIFY(!dialogs.Run(request));
            QVERIFY(looked);
        }
    }
};

QTEST_MAIN(QtServicesTest)
#include "qt_services_qtest.moc"
