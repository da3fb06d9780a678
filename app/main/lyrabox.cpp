// The editor: flat menus, the application object, the main window with its pages,
// then the document's New or the file named on the command line.
#include <QApplication>
#include <QStatusBar>
#include <QStringList>
#include <cstdio>
#include <string>
#include <vector>

#include "app/FileTypes.h"
#include "app/LyraApp.h"
#include "app/StartOptions.h"
#include "app/widgets/AppIdentity.h"
#include "app/widgets/AppSettings.h"
#include "app/widgets/CMainFrame.h"
#include "platform/widgets/QtServices.h"
#include "ui/widgets/FlatMenus.h"
#include "LyraVersion.h"

int main(int argc, char** argv) {
    // Answered before Qt starts, so they work without a display.
    const StartOptions early = ParseStartOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (early.help) {
        std::fputs(EditorHelp().c_str(), stdout);
        return 0;
    }
    if (early.version) {
        std::puts("lyrabox " LYRA_VERSION);
        return 0;
    }
    if (early.resetSettings) {
        CAppSettings settings;  // names its store itself, without the application's names
        settings.Reset();
        std::puts("lyrabox: settings forgotten");
        return 0;
    }
    QApplication qapp(argc, argv);
    SetUpApplicationIdentity();

    // Qt has taken its own options (-platform, -style, ...); what is left is ours.
    std::vector<std::string> rest;
    for (const QString& a : QApplication::arguments().mid(1)) rest.push_back(a.toLocal8Bit().toStdString());
    const StartOptions options = ParseStartOptions(rest);
    if (!options.error.empty()) {
        std::fprintf(stderr, "lyrabox: %s\n%s\nTry 'lyrabox --help' for more information.\n", options.error.c_str(),
                     kEditorUsage);
        return 2;
    }
    // --song-page adds the song list page as a third tab; so does a song file to open.
    const QString file = QString::fromLocal8Bit(options.file.c_str());
    const bool songPage = options.songPage || FileExtension(options.file) == "kok";

    CFlatMenus::Install();
    int result = 1;
    {
        platform::QtServices services;
        CAppSettings folders;
        services.dialogs.lastFolder = [&folders](const QString& kind) { return folders.LastFolder(kind); };
        services.dialogs.fileChosen = [&folders](const QString& kind, const QString& chosen) {
            folders.RememberFolder(kind, chosen);
        };
        CLyraApp app;

        CMainFrame frame(app, songPage);
        services.SetParent(&frame);
        services.status.SetStatusBar(frame.statusBar());
        if (!app.ProcessShellCommand(file.toStdString())) {
            std::fprintf(stderr, "lyrabox: cannot open %s\n", file.toLocal8Bit().constData());
        } else {
            frame.RestoreSettings();
            if (!file.isEmpty()) app.Host().FileOpened(file.toStdString());
            frame.show();
            result = qapp.exec();
        }
    }
    CFlatMenus::Remove();
    return result;
}
