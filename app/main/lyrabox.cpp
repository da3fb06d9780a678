// The editor: flat menus, the application object, the main window with its pages,
// then the document's New or the file named on the command line.
#include <QApplication>
#include <QStatusBar>
#include <QStringList>
#include <cstdio>
#include <cstring>

#include "app/LyraApp.h"
#include "app/Resources.h"
#include "app/widgets/CMainFrame.h"
#include "platform/widgets/QtServices.h"
#include "ui/widgets/FlatMenus.h"

int main(int argc, char** argv) {
    // Answered before Qt starts, so it works without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::puts("usage: lyrabox [--song-page] [FILE]\n\n"
                      "  FILE         a memo file (.mmo) or a picture to open at start; with\n"
                      "               --song-page also a song file (.kok)\n"
                      "  --song-page  add the song page (karaoke song lists for three machine\n"
                      "               brands, .kok files) as a third tab");
            return 0;
        }
    }
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Lyrabox");
    QApplication::setApplicationDisplayName(res::kAppTitle);
    QApplication::setOrganizationName("Local AppWizard-Generated Applications");

    // --song-page adds the song list page as a third tab.
    QStringList args = QApplication::arguments();
    bool songPage = args.removeAll("--song-page") > 0;

    CFlatMenus::Install();
    int result = 1;
    {
        platform::QtServices services;
        CLyraApp app;
        QString file = args.size() > 1 ? args.at(1) : QString();

        CMainFrame frame(app, songPage);
        services.SetParent(&frame);
        services.status.SetStatusBar(frame.statusBar());
        if (!app.ProcessShellCommand(file.toStdString())) {
            std::fprintf(stderr, "lyrabox: cannot open %s\n", file.toLocal8Bit().constData());
        } else {
            frame.show();
            result = qapp.exec();
        }
    }
    CFlatMenus::Remove();
    return result;
}
