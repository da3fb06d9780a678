#include "app/widgets/CLogoPreviewBar.h"

#include <QPainter>

CLogoPreview::CLogoPreview(QWidget* parent) : QWidget(parent) {
    setObjectName(QString::number(CLogoPreviewBar::kControlId));
    setFixedSize(96, 96);
}

void CLogoPreview::SetPainter(Painter painter) {
    painter_ = std::move(painter);
    update();
}

void CLogoPreview::SetImage(const QImage& image) {
    image_ = image;
    update();
}

void CLogoPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    if (painter_)
        painter_(p, rect());
    else if (!image_.isNull())
        p.drawImage(rect(), image_);
}

CLogoPreviewBar::CLogoPreviewBar(QWidget* parent) : QWidget(parent), preview_(new CLogoPreview(this)) {
    setObjectName("31101");
    setFixedSize(98, 98);
    preview_->move(1, 1);
}

void CLogoPreviewBar::SetScale(int scale) {
    preview_->setFixedSize(96 * scale, 96 * scale);
    setFixedSize(96 * scale + 2, 96 * scale + 2);
    updateGeometry();
    update();
}

void CLogoPreviewBar::paintEvent(QPaintEvent*) {
    // The frame lies in the bar's one-pixel border, around the control.
    QPainter p(this);
    p.setPen(palette().color(QPalette::Dark));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
