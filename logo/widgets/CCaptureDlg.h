#pragma once
// "Capture": the list of desktop windows to capture, "Desktop" first and selected.
#include <QDialog>
#include <QString>
#include <cstdint>
#include <vector>

#include "logo/CaptureList.h"

class QListWidget;

class CCaptureDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kListId = 1001;
    // entries: as logo::CaptureListEntries gives them.
    CCaptureDlg(const std::vector<logo::CaptureEntry>& entries, QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }
    uint64_t m_hWndSelected = 0;  // the chosen window, 0 for the desktop
    QString m_strSelected;

    void accept() override;

private:
    QListWidget* list_;
};
