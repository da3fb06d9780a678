#pragma once
// Shown before contacts from another program's file go into the memo list: how many were
// read, every contact that does not fit as it is and why, what happens to those (trim,
// leave out, import nothing) and where the rest go (after the last entry or in place of
// the list). The report follows the choices as they change.
#include <QDialog>
#include <string>
#include <vector>

#include "memo/Contact.h"
#include "memo/ContactFit.h"

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

class CContactImportDialog : public QDialog {
    Q_OBJECT
public:
    // notes: what the reading says of the whole file (the encoding it guessed), shown
    // above the contacts' lines. entries: the rows the list holds now, for the room an
    // append leaves.
    CContactImportDialog(const Contacts& contacts, const std::vector<std::string>& notes, const QString& fileName,
                         int entries, QWidget* parent = nullptr);

    bool Replace() const;
    const FitResult& Result() const { return result_; }

    QListWidget* Report() const { return report_; }
    QLabel* Outcome() const { return outcome_; }
    QRadioButton* PolicyButton(FitPolicy policy) const { return policies_[static_cast<int>(policy)]; }
    QRadioButton* ReplaceButton() const { return replace_; }
    QRadioButton* AppendButton() const { return append_; }
    QPushButton* ImportButton() const { return import_; }

private:
    void Update();
    FitPolicy Policy() const;

    const Contacts& contacts_;
    std::vector<std::string> notes_;
    int entries_;
    FitResult result_;
    QListWidget* report_;
    QLabel* outcome_;
    QRadioButton* policies_[3];
    QRadioButton* append_;
    QRadioButton* replace_;
    QPushButton* import_;
};
