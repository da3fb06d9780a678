#include "platform/widgets/QtServices.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
#include <QVBoxLayout>

namespace platform {

QString QtNameFilter(const FileFilter& filter) {
    QString patterns = QString::fromStdString(filter.pattern);
    patterns.replace(';', ' ');
    return QString::fromStdString(filter.description) + " (" + patterns + ")";
}

QStringList QtNameFilters(const std::vector<FileFilter>& filters) {
    QStringList list;
    for (const FileFilter& f : filters) list << QtNameFilter(f);
    return list;
}

Answer QtPrompts::Show(const std::string& text, Buttons buttons) {
    QMessageBox box(parent_);
    box.setWindowTitle(QGuiApplication::applicationDisplayName());
    box.setText(QString::fromStdString(text));
    if (buttons == Buttons::Ok) {
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return Answer::Ok;
    }
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
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
    auto* icon = new QLabel;
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    auto* text = new QLabel("LyraboxQ Version 1.1");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    row->addWidget(buttons);
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
    QFileInfo initial(QString::fromStdString(r.initialName));
    if (!r.initialName.empty()) {
        if (initial.isDir()) {
            dlg.setDirectory(initial.absoluteFilePath());
        } else {
            if (initial.dir().exists() && r.initialName.find('/') != std::string::npos)
                dlg.setDirectory(initial.absolutePath());
            dlg.selectFile(initial.fileName());
        }
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    return dlg.selectedFiles().first().toStdString();
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
