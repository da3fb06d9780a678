#include "app/widgets/CBandBar.h"

#include <QHBoxLayout>
#include <QPainter>

namespace {

// A band: an etched gripper at its left, then its child bar.
class Band : public QWidget {
public:
    Band(QWidget* child, QWidget* parent) : QWidget(parent), child_(child) {
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(9, 1, 2, 1);
        layout->setSpacing(0);
        layout->addWidget(child, 0, Qt::AlignLeft | Qt::AlignTop);
    }
    QWidget* Child() const { return child_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QColor light = palette().color(QPalette::Light), dark = palette().color(QPalette::Dark);
        // The gripper: two raised vertical bars.
        for (int x : {2, 5}) {
            p.setPen(light);
            p.drawLine(x, 3, x, height() - 4);
            p.setPen(dark);
            p.drawLine(x + 1, 3, x + 1, height() - 4);
        }
        // The band's border.
        p.setPen(dark);
        p.drawLine(width() - 1, 0, width() - 1, height() - 1);
        p.setPen(light);
        p.drawLine(0, 0, 0, height() - 1);
    }

private:
    QWidget* child_;
};

}  // namespace

CBandBar::CBandBar(QWidget* parent) : QWidget(parent), row_(new QHBoxLayout(this)) {
    row_->setContentsMargins(0, 1, 0, 1);
    row_->setSpacing(2);
    row_->addStretch(1);
    setAutoFillBackground(true);
}

int CBandBar::AddBand(QWidget* child) {
    auto* band = new Band(child, this);
    row_->insertWidget(BandCount(), band, 0, Qt::AlignLeft | Qt::AlignTop);
    bands_.push_back(band);
    return BandCount() - 1;
}

void CBandBar::ShowBand(int index, bool show) { bands_.at(index)->setVisible(show); }

bool CBandBar::IsBandShown(int index) const { return !bands_.at(index)->isHidden(); }

QWidget* CBandBar::BandChild(int index) const { return static_cast<Band*>(bands_.at(index))->Child(); }
