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
    p.setPen(palette().color(QPalette::Dark));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

CLogoPreviewBar::CLogoPreviewBar(QWidget* parent) : QWidget(parent), preview_(new CLogoPreview(this)) {
    setObjectName("31101");
    setFixedSize(98, 98);
    preview_->move(1, 1);
}
