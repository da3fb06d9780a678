#include "ui/widgets/MemoFindDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

CMemoFindDialog::CMemoFindDialog(const QString& proposed, QWidget* parent)
    : QDialog(parent), text_(new QLineEdit(proposed)), up_(new QRadioButton("&Up")),
      down_(new QRadioButton("&Down")), findNext_(new QPushButton("&Find Next")) {
    setWindowTitle("Find");
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* what = new QLabel("Fi&nd what:");
    what->setBuddy(text_);
    auto* direction = new QGroupBox("Direction");
    auto* directionRow = new QHBoxLayout(direction);
    directionRow->addWidget(up_);
    directionRow->addWidget(down_);
    down_->setChecked(true);

    auto* cancel = new QPushButton("Cancel");
    findNext_->setDefault(true);
    findNext_->setEnabled(!proposed.isEmpty());

    auto* grid = new QGridLayout(this);
    grid->addWidget(what, 0, 0);
    grid->addWidget(text_, 0, 1);
    grid->addWidget(findNext_, 0, 2);
    grid->addWidget(direction, 1, 1);
    grid->addWidget(cancel, 1, 2, Qt::AlignTop);

    connect(text_, &QLineEdit::textChanged, this, [this](const QString& t) { findNext_->setEnabled(!t.isEmpty()); });
    connect(findNext_, &QPushButton::clicked, this, [this] { emit findNext(text_->text(), down_->isChecked()); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
    text_->selectAll();
}

std::string CMemoFindDialog::NotFoundText(const QString& text) {
    return "Cannot find \"" + text.toStdString() + "\"";
}
