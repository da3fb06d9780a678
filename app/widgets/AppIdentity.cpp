#include "app/widgets/AppIdentity.h"

#include <QApplication>

#include "app/widgets/AppSettings.h"
#include "LyraVersion.h"

// The icons and the user guide live in a resource file of this static library; it is
// registered here, since nothing else refers to it and the linker would drop it.
void RegisterLyraboxResources() { Q_INIT_RESOURCE(Lyrabox); }

QIcon AppIcon() {
    RegisterLyraboxResources();
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QString(":/lyrabox/icons/lyrabox-%1.png").arg(size), QSize(size, size));
    return icon;
}

void SetUpApplicationIdentity() {
    QApplication::setOrganizationName(CAppSettings::kOrganization);
    QApplication::setApplicationName(CAppSettings::kApplication);
    QApplication::setApplicationVersion(QStringLiteral(LYRA_VERSION));
    // No display name: the window system would add it to every caption
    // ("LyraboxQ — Lyrabox Plus"); each window's own title is its whole caption.
    // The desktop entry's name ties the windows to it (icon and name in task bars).
    QGuiApplication::setDesktopFileName(QStringLiteral("lyrabox"));
    QApplication::setWindowIcon(AppIcon());
}
