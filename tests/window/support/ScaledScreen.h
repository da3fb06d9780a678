#pragma once
// A desktop window test's own screen: the offscreen platform with one screen of the given
// size in pixels at a scale, with or without window frames, its settings and scratch files
// in a folder of the test's own, and the editor started there as the program starts it.
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QString>
#include <QTest>

#include "app/widgets/AppIdentity.h"
#include "app/widgets/AppSettings.h"
#include "window/support/EditorDriver.h"

// A path in the test's scratch folder LYRA_TEST_TMP/<area>, which is made when missing.
inline QString TestTmp(const QString& area, const QString& name = {}) {
    const QString folder = QString(LYRA_TEST_TMP "/") + area;
    QDir().mkpath(folder);
    return folder + "/" + name;
}

// Called in main() before the application object exists.
inline bool UseScaledScreen(const QString& folder, int width, int height, int scale, bool frames) {
    QDir().mkpath(folder);
    const QString config = folder + "/screen.json";
    QFile f(config);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(QString(R"({"windowFrameMargins": %1, "screens": [{"name": "small", "x": 0, "y": 0,)"
                    R"( "width": %2, "height": %3, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                .arg(frames ? "true" : "false")
                .arg(width)
                .arg(height)
                .toUtf8());
    f.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toUtf8());
    qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
    return true;
}

// The whole of a desktop window test's main(): the scaled screen, settings kept in
// LYRA_TEST_TMP/<area>/settings and cleared, the application's identity and flat menus.
template <class Test>
int RunOnScaledScreen(int argc, char** argv, const QString& area, int width, int height, int scale, bool frames) {
    if (!UseScaledScreen(TestTmp(area), width, height, scale, frames)) return 1;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, TestTmp(area, "settings"));
    QApplication app(argc, argv);
    SetUpApplicationIdentity();
    CFlatMenus::Install();
    CAppSettings().Reset();
    Test test;
    const int failed = QTest::qExec(&test, argc, argv);
    CFlatMenus::Remove();
    return failed;
}

// One start of the editor, in the order the program takes: window, New or the file,
// the saved settings, shown and active.
struct DesktopStart {
    explicit DesktopStart(const QString& file = QString(), bool songTab = false) {
        TTabWnd::ResetLastReportedPage();
        frame = std::make_unique<CMainFrame>(app, songTab);
        if (!app.ProcessShellCommand(file.toStdString())) qWarning("start-up open failed");
        frame->RestoreSettings();
        if (!file.isEmpty()) app.Host().FileOpened(file.toStdString());
        frame->show();
        QApplication::setActiveWindow(frame.get());
        (void)QTest::qWaitForWindowActive(frame.get());
        QTest::qWait(10);
    }
    void Key(const QKeySequence& key) {
        QTest::keySequence(frame.get(), key);
        QTest::qWait(5);
    }
    QStringList RecentItems() const {
        QMenu* recent = frame->RecentMenu();
        emit recent->aboutToShow();
        QStringList items;
        for (QAction* a : recent->actions()) items << a->data().toString();
        return items;
    }

    platform::ScriptedServices services;
    CLyraApp app;
    std::unique_ptr<CMainFrame> frame;
};
