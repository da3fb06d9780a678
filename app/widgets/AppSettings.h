#pragma once
// Everything the editor remembers between runs, in one place: the main window's size,
// place and bar layout, the last folder of each kind of file, and the recent files.
// Stored with QSettings under the organisation "Local AppWizard-Generated
// Applications" and the application "Lyrabox" (on Linux
// ~/.config/Local AppWizard-Generated Applications/Lyrabox.conf).
#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>

class CAppSettings {
public:
    static constexpr int kRecentMax = 8;
    static constexpr const char* kOrganization = "Local AppWizard-Generated Applications";
    static constexpr const char* kApplication = "Lyrabox";

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
    mutable QSettings store_{kOrganization, kApplication};
};
