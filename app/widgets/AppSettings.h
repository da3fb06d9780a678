#pragma once
// Everything the editor remembers between runs, in one place: the main window's size,
// place and bar layout, the last folder of each kind of file, and the recent files.
// Stored with QSettings under the organisation and application "lyrabox" (on Linux
// ~/.config/lyrabox/lyrabox.conf, where a Linux user looks). Earlier versions kept them
// in ~/.config/Local AppWizard-Generated Applications/Lyrabox.conf: that file is read
// once, into the new one, and then removed.
#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>

class CAppSettings {
public:
    static constexpr int kRecentMax = 8;
    static constexpr const char* kOrganization = "lyrabox";
    static constexpr const char* kApplication = "Lyrabox";  // the application's name, for Qt
    static constexpr const char* kStoreName = "lyrabox";
    static constexpr const char* kOldOrganization = "Local AppWizard-Generated Applications";
    static constexpr const char* kOldStoreName = "Lyrabox";

    CAppSettings();

    // The window's saveGeometry() and saveState(); empty when never saved.
    QByteArray WindowGeometry() const;
    QByteArray WindowState() const;
    void SaveWindow(const QByteArray& geometry, const QByteArray& state);

    // The folder of the last file of a kind ("mmo", "bmp", "kok": the dialog's default
    // extension) that was opened or saved; "" when none.
    QString LastFolder(const QString& kind) const;
    void RememberFolder(const QString& kind, const QString& filePath);

    // Most recent first, at most kRecentMax, no duplicates.
    QStringList RecentFiles() const;
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);
    // Drops the entries whose file is gone and returns them.
    QStringList PruneMissingRecentFiles();

    // Forgets everything above.
    void Reset();

private:
    // Takes the old file's settings when there are none here yet.
    void MoveOldSettings();

    mutable QSettings store_{QSettings::NativeFormat, QSettings::UserScope, kOrganization, kStoreName};
};
