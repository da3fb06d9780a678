#include "logo/widgets/CCaptureDlg.h"

#include <QListWidget>
#include <QPushButton>

namespace {

// Dialog units of the 8-point dialog font in pixels (4 x 8 units per character box).
QRect Units(QWidget* dialog, int x, int y, int w, int h) {
    const QFontMetrics m(dialog->font());
    const int bx = std::max(1, m.averageCharWidth()), by = std::max(1, m.height());
    return QRect(x * bx / 4, y * by / 8, w * bx / 4, h * by / 8);
}

}  // namespace

CCaptureDlg::CCaptureDlg(const std::vector<logo::CaptureEntry>& entries, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
    setWindowTitle("Capture");
    setFont(QFont("MS Sans Serif", 8));
    setFixedSize(Units(this, 0, 0, 298, 157).size());
    list_->setObjectName(QString::number(kListId));
    list_->setGeometry(Units(this, 6, 5, 285, 123));
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (const logo::CaptureEntry& e : entries) {
        auto* item = new QListWidgetItem(QString::fromStdString(e.text), list_);
        item->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(e.handle));
    }
    list_->setCurrentRow(0);
    connect(list_, &QListWidget::itemDoubleClicked, this, &CCaptureDlg::accept);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("1");
    ok->setDefault(true);
    ok->setGeometry(Units(this, 5, 134, 50, 16));
    connect(ok, &QPushButton::clicked, this, &CCaptureDlg::accept);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("2");
    cancel->setGeometry(Units(this, 60, 134, 50, 16));
    connect(cancel, &QPushButton::clicked, this, &CCaptureDlg::reject);
}

void CCaptureDlg::accept() {
    if (QListWidgetItem* item = list_->currentItem()) {
        m_hWndSelected = item->data(Qt::UserRole).value<qulonglong>();
        m_strSelected = item->text();
    }
    QDialog::accept();
}
