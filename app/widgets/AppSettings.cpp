#include "app/widgets/AppSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

CAppSettings::CAppSettings() { MoveOldSettings(); }

void CAppSettings::MoveOldSettings() {
    if (!store_.allKeys().isEmpty()) return;
    QSettings old(QSettings::NativeFormat, QSettings::UserScope, kOldOrganization, kOldStoreName);
    const QString oldFile = old.fileName();
    if (!QFileInfo::exists(oldFile)) return;
    for (const QString& key : old.allKeys()) store_.setValue(key, old.value(key));
    store_.sync();
    // Removed only once the new file holds everything, so nothing is lost on the way.
    if (store_.status() != QSettings::NoError) return;
    QFile::remove(oldFile);
    QDir().rmdir(QFileInfo(oldFile).absolutePath());  // only when nothing else is in it
}

QByteArray CAppSettings::WindowGeometry() const { return store_.value("window/geometry").toByteArray(); }

QByteArray CAppSettings::WindowState() const { return store_.value("window/state").toByteArray(); }

void CAppSettings::SaveWindow(const QByteArray& geometry, const QByteArray& state) {
    store_.setValue("window/geometry", geometry);
    store_.setValue("window/state", state);
}

QString CAppSettings::LastFolder(const QString& kind) const {
    QString folder = store_.value("folders/" + kind).toString();
    // A folder that has gone since is no place to start a dialog.
    return !folder.isEmpty() && QDir(folder).exists() ? folder : QString();
}

void CAppSettings::RememberFolder(const QString& kind, const QString& filePath) {
    if (kind.isEmpty() || filePath.isEmpty()) return;
    store_.setValue("folders/" + kind, QFileInfo(filePath).absolutePath());
}

QStringList CAppSettings::RecentFiles() const {
    QStringList list = store_.value("recent/files").toStringList();
    list.removeDuplicates();
    list.removeAll(QString());
    return list.mid(0, kRecentMax);
}

void CAppSettings::AddRecentFile(const QString& path) {
    if (path.isEmpty()) return;
    QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = RecentFiles();
    list.removeAll(absolute);
    list.prepend(absolute);
    store_.setValue("recent/files", list.mid(0, kRecentMax));
}

void CAppSettings::RemoveRecentFile(const QString& path) {
    QStringList list = RecentFiles();
    if (list.removeAll(path) > 0) store_.setValue("recent/files", list);
}

QStringList CAppSettings::PruneMissingRecentFiles() {
    QStringList kept, gone;
    for (const QString& path : RecentFiles()) (QFileInfo::exists(path) ? kept : gone) << path;
    if (!gone.isEmpty()) store_.setValue("recent/files", kept);
    return gone;
}

void CAppSettings::Reset() {
    store_.clear();
    store_.sync();
}
