#include "memo/widgets/ContactImportDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "memo/MemoTable.h"

CContactImportDialog::CContactImportDialog(const Contacts& contacts, const std::vector<std::string>& notes,
                                           const QString& fileName, int entries, QWidget* parent)
    : QDialog(parent),
      contacts_(contacts),
      notes_(notes),
      entries_(entries),
      report_(new QListWidget),
      outcome_(new QLabel) {
    setWindowTitle("Import contacts");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString("%1 contacts read from %2.").arg(contacts.size()).arg(fileName)));
    layout->addWidget(new QLabel("What the import does with the file and each contact that does not fit as it is:"));
    report_->setObjectName("report");
    // A line is read whole without scrolling sideways: long lines wrap.
    report_->setWordWrap(true);
    report_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    report_->setResizeMode(QListView::Adjust);
    report_->setTextElideMode(Qt::ElideNone);
    report_->setSpacing(2);  // wrapped lines of one item apart from the next
    layout->addWidget(report_, 1);

    auto* fit = new QGroupBox("A contact that does not fit");
    auto* fitLayout = new QVBoxLayout(fit);
    const char* policyTexts[] = {"&Trim it to fit (cut at a character boundary)", "&Leave it out",
                                 "Import &nothing"};
    auto* policyGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        policies_[i] = new QRadioButton(policyTexts[i]);
        policyGroup->addButton(policies_[i]);
        fitLayout->addWidget(policies_[i]);
    }
    policies_[0]->setChecked(true);

    auto* where = new QGroupBox("Put the contacts");
    auto* whereLayout = new QVBoxLayout(where);
    append_ = new QRadioButton("&After the last entry");
    replace_ = new QRadioButton("In &place of the list");
    auto* whereGroup = new QButtonGroup(this);
    whereGroup->addButton(append_);
    whereGroup->addButton(replace_);
    whereLayout->addWidget(append_);
    whereLayout->addWidget(replace_);
    append_->setChecked(true);

    auto* choices = new QHBoxLayout;
    choices->addWidget(fit);
    choices->addWidget(where);
    layout->addLayout(choices);
    outcome_->setObjectName("outcome");
    outcome_->setWordWrap(true);
    layout->addWidget(outcome_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    import_ = buttons->addButton("&Import", QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(policyGroup, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool on) {
        if (on) Update();
    });
    connect(whereGroup, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool on) {
        if (on) Update();
    });
    resize(560, 420);
    Update();
}

bool CContactImportDialog::Replace() const { return replace_->isChecked(); }

FitPolicy CContactImportDialog::Policy() const {
    for (int i = 0; i < 3; ++i)
        if (policies_[i]->isChecked()) return static_cast<FitPolicy>(i);
    return FitPolicy::Trim;
}

void CContactImportDialog::Update() {
    const int first = Replace() ? 0 : entries_;
    result_ = FitContacts(contacts_, Policy(), kMemoRows - first);
    report_->clear();
    for (const std::string& line : notes_) report_->addItem(QString::fromStdString(line));
    for (const std::string& line : FitReportLines(result_)) report_->addItem(QString::fromStdString(line));
    if (report_->count() == 0) report_->addItem("Every contact fits as it is.");
    const int stored = static_cast<int>(result_.rows.size());
    QString text;
    if (result_.failed)
        text = "Nothing will be imported: the contacts listed do not fit as they are.";
    else if (stored == 0)
        text = "No contact will be imported.";
    else if (stored == 1)
        text = QString("1 contact will go into row %1%2.").arg(first + 1).arg(Replace() ? ", in place of the list" : "");
    else
        text = QString("%1 contacts will go into rows %2 to %3%4.")
                   .arg(stored)
                   .arg(first + 1)
                   .arg(first + stored)
                   .arg(Replace() ? ", in place of the list" : "");
    outcome_->setText(text);
    import_->setEnabled(stored > 0);
}
