#include "platform/widgets/QtServices.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScreen>
#include <QTreeView>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
#include <QVBoxLayout>

namespace platform {

namespace {
// Message boxes carry the application's title, as they always have.
constexpr const char* kMessageTitle = "Lyrabox Plus";
constexpr int kTitleBarButtons = 160;  // the icon, the close button and the title's margins
}  // namespace

QString QtNameFilter(const FileFilter& filter) {
    // Qt reads the patterns from the parentheses at the end, separated by spaces. A
    // description that already ends in its own pattern list keeps it, with spaces for
    // the semicolons; others get the list added.
    QString description = QString::fromStdString(filter.description);
    QString pattern = QString::fromStdString(filter.pattern);
    QString spaced = QString(pattern).replace(';', ' ');
    QString ownTail = "(" + pattern + ")";
    if (description.endsWith(ownTail)) return description.chopped(ownTail.size()) + "(" + spaced + ")";
    return description + " (" + spaced + ")";
}

void FitFileDialog(QFileDialog& dlg) {
    // Qt's own dialog opens at 624 x 412, too small for the name, size, kind and date
    // columns side by side: it takes a size that shows them, within the screen.
    QSize size(900, 560);
    if (QScreen* screen = dlg.parentWidget() ? dlg.parentWidget()->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    dlg.resize(size);
    // The name takes the room the other columns leave; they are as wide as their texts.
    if (auto* details = dlg.findChild<QTreeView*>("treeView")) {
        QHeaderView* header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
}

QStringList QtNameFilters(const std::vector<FileFilter>& filters) {
    QStringList list;
    for (const FileFilter& f : filters) list << QtNameFilter(f);
    return list;
}

static void KeepTitleWhole(QMessageBox& box) {
    // A short message makes a narrow box, and the window manager then cuts the title
    // ("Ly... us"): the box is kept as wide as the title with room for its buttons.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) + kTitleBarButtons;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

Answer QtPrompts::Show(const std::string& text, Buttons buttons) {
    QMessageBox box(parent_);
    box.setWindowTitle(kMessageTitle);
    box.setText(QString::fromStdString(text));
    KeepTitleWhole(box);
    if (buttons == Buttons::Ok) {
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return Answer::Ok;
    }
    box.setIcon(QMessageBox::Question);
    if (buttons == Buttons::YesNo) {
        // A question before something goes: Enter and Escape keep it.
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void QtPrompts::ShowAbout() {
    QDialog dlg(parent_);
    dlg.setWindowTitle("About Lyrabox");
    dlg.setObjectName("aboutBox");
    auto* icon = new QLabel;
    icon->setObjectName("aboutIcon");
    icon->setPixmap(QApplication::windowIcon().pixmap(48, 48));
    auto* text = new QLabel("LyraboxQ Version 1.1");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->setSpacing(16);
    row->addWidget(icon);
    row->addWidget(text);
    row->addStretch();
    row->addWidget(buttons, 0, Qt::AlignTop);
    // The box takes the size its icon, text and button need, and keeps it.
    row->setSizeConstraint(QLayout::SetFixedSize);
    dlg.setLayout(row);
    dlg.exec();
}

std::optional<std::string> QtFileDialogs::Run(const FileDialogRequest& r) {
    QFileDialog dlg(parent_, QString::fromStdString(r.title));
    dlg.setAcceptMode(r.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dlg.setFileMode(r.open && r.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QStringList filters = QtNameFilters(r.filters);
    dlg.setNameFilters(filters);
    if (r.selectedFilter >= 0 && r.selectedFilter < filters.size()) dlg.selectNameFilter(filters[r.selectedFilter]);
    if (!r.defaultExtension.empty()) dlg.setDefaultSuffix(QString::fromStdString(r.defaultExtension));
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !r.overwritePrompt);
    const QString kind = QString::fromStdString(r.defaultExtension);
    QFileInfo initial(QString::fromStdString(r.initialName));
    if (r.initialName.find('/') == std::string::npos && lastFolder) {
        QString folder = lastFolder(kind);
        if (!folder.isEmpty()) dlg.setDirectory(folder);
    }
    if (!r.initialName.empty()) {
        if (initial.isDir()) {
            dlg.setDirectory(initial.absoluteFilePath());
        } else {
            if (initial.dir().exists() && r.initialName.find('/') != std::string::npos)
                dlg.setDirectory(initial.absolutePath());
            dlg.selectFile(initial.fileName());
        }
    }
    FitFileDialog(dlg);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dlg.selectedFiles().first();
    if (fileChosen) fileChosen(kind, chosen);
    return chosen.toStdString();
}

std::string QtClipboard::Text() { return QGuiApplication::clipboard()->text().toStdString(); }

void QtClipboard::SetText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void QtBusyCursor::Begin() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }

void QtBusyCursor::End() { QGuiApplication::restoreOverrideCursor(); }

void QtStatusLine::Show(const std::string& text) {
    if (bar_) bar_->showMessage(QString::fromStdString(text), 4000);
}

}  // namespace platform
