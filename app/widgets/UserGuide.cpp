#include "app/widgets/UserGuide.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/widgets/AppIdentity.h"

QTextBrowser* ShowUserGuide(QWidget* parent) {
    auto* dialog = parent ? parent->findChild<QDialog*>("userGuide", Qt::FindDirectChildrenOnly) : nullptr;
    if (!dialog) {
        RegisterLyraboxResources();  // the guide comes from them
        dialog = new QDialog(parent);
        dialog->setObjectName("userGuide");
        dialog->setWindowTitle("Lyrabox User Guide");
        auto* browser = new QTextBrowser(dialog);
        browser->setOpenExternalLinks(true);
        browser->setSource(QUrl("qrc:/lyrabox/guide/UserGuide.html"));
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
        QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
        auto* layout = new QVBoxLayout(dialog);
        layout->addWidget(browser);
        layout->addWidget(buttons);
        QSize size(560, 520);
        if (QScreen* screen = dialog->screen()) size = size.boundedTo(screen->availableSize() * 9 / 10);
        dialog->resize(size);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog->findChild<QTextBrowser*>();
}
