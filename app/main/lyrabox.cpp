// The editor: flat menus, the application object, the main window with its pages,
// then the document's New or the file named on the command line.
#include <QApplication>
#include <QStatusBar>
#include <QStringList>
#include <cstdio>

#include "app/LyraApp.h"
#include "app/Resources.h"
#include "app/widgets/CMainFrame.h"
#include "platform/widgets/QtServices.h"
#include "ui/widgets/FlatMenus.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Lyrabox");
    QApplication::setApplicationDisplayName(res::kAppTitle);
    QApplication::setOrganizationName("Local AppWizard-Generated Applications");

    CFlatMenus::Install();
    int result = 1;
    {
        platform::QtServices services;
        CLyraApp app;
        QStringList args = QApplication::arguments();
        QString file = args.size() > 1 ? args.at(1) : QString();

        CMainFrame frame(app);
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
