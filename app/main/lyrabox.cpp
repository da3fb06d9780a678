// The editor: flat menus, the application object, the main window with its pages,
// then the document's New or the file named on the command line.
#include <QApplication>
#include <QStatusBar>
#include <QStringList>
#include <cstdio>
#include <cstring>

#include "app/FileTypes.h"
#include "app/LyraApp.h"
#include "app/widgets/AppIdentity.h"
#include "app/widgets/AppSettings.h"
#include "app/widgets/CMainFrame.h"
#include "platform/widgets/QtServices.h"
#include "ui/widgets/FlatMenus.h"
#include "LyraVersion.h"

namespace {

constexpr const char* kHelp =
    "Usage: lyrabox [OPTION]... [FILE]\n"
    "Edit the data files of a small handheld device: its contact memo list (.mmo),\n"
    "its 96x96 logo picture and its karaoke song lists (.kok).\n"
    "\n"
    "  FILE              a memo file (.mmo), a song file (.kok) or a picture to open\n"
    "                    at start\n"
    "  --song-page       add the song page (karaoke song lists for three machine\n"
    "                    brands, .kok files) as a third tab\n"
    "  --reset-settings  forget the window size and place, the last folders and the\n"
    "                    recent files, then exit\n"
    "  -h, --help        print this help and exit\n"
    "  --version         print the version and exit\n";

bool HasOption(int argc, char** argv, const char* a, const char* b = nullptr) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], a) == 0 || (b && std::strcmp(argv[i], b) == 0)) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so they work without a display.
    if (HasOption(argc, argv, "--help", "-h")) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (HasOption(argc, argv, "--version")) {
        std::puts("lyrabox " LYRA_VERSION);
        return 0;
    }
    if (HasOption(argc, argv, "--reset-settings")) {
        CAppSettings settings;  // names its store itself, without the application's names
        settings.Reset();
        std::puts("lyrabox: settings forgotten");
        return 0;
    }
    QApplication qapp(argc, argv);
    SetUpApplicationIdentity();

    // --song-page adds the song list page as a third tab; so does a song file to open.
    QStringList args = QApplication::arguments();
    bool songPage = args.removeAll("--song-page") > 0;
    QString file = args.size() > 1 ? args.at(1) : QString();
    songPage = songPage || FileExtension(file.toStdString()) == "kok";

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
            if (!file.isEmpty()) app.fileOpened(file.toStdString());
            frame.show();
            result = qapp.exec();
        }
    }
    CFlatMenus::Remove();
    return result;
}
