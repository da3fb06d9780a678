#include "ui/widgets/CFlatToolBar.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QStatusTipEvent>
#include <QToolTip>

#include "ui/PictureRecolor.h"
#include "ui/widgets/QtColors.h"

namespace {
constexpr QMargins kBorders(1, 3, 6, 4);
constexpr int kSeparatorWidth = 8;

QImage Recolored(const QImage& source, CFlatToolBar::ImageKind kind, ui::Rgb shadow) {
    QImage img = source.convertToFormat(QImage::Format_RGB32);
    if (kind == CFlatToolBar::Hot) return img;
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            ui::Rgb c{qRed(line[x]), qGreen(line[x]), qBlue(line[x])};
            c = kind == CFlatToolBar::Normal ? ui::GreyPicturePixel(c) : ui::DisabledPicturePixel(c, shadow);
            line[x] = qRgb(c.r, c.g, c.b);
        }
    }
    return img;
}

// Cuts a recoloured strip into pictures, the transparent colour turned into alpha.
std::vector<QImage> Cut(const QImage& strip, int width) {
    std::vector<QImage> pictures;
    QRgb key = qRgb(ui::kTransparentKey.r, ui::kTransparentKey.g, ui::kTransparentKey.b);
    for (int x = 0; x + width <= strip.width(); x += width) {
        QImage pic = strip.copy(x, 0, width, strip.height()).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < pic.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(pic.scanLine(y));
            for (int i = 0; i < pic.width(); ++i)
                if ((line[i] & 0xFFFFFF) == (key & 0xFFFFFF)) line[i] = 0;
        }
        pictures.push_back(pic);
    }
    return pictures;
}
}  // namespace

CFlatToolBar::CFlatToolBar(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool CFlatToolBar::SetButtons(const std::vector<int>& ids, const std::vector<QAction*>& actions) {
    if (ids.size() != actions.size()) return false;
    buttons_.clear();
    int image = 0;
    for (size_t i = 0; i < ids.size(); ++i) {
        Button b;
        b.id = ids[i];
        if (!b.separator()) {
            if (!actions[i]) return false;
            b.action = actions[i];
            b.image = image++;
            connect(actions[i], &QAction::changed, this, qOverload<>(&QWidget::update));
        }
        buttons_.push_back(b);
    }
    Layout();
    return true;
}

bool CFlatToolBar::LoadImages(int buttonWidth, const QImage& bitmap) {
    if (bitmap.isNull() || buttonWidth <= 0 || bitmap.width() < buttonWidth) return false;
    ui::Rgb shadow = ToRgb(palette().color(QPalette::Dark));
    for (ImageKind kind : {Normal, Hot, Disabled}) images_[kind] = Cut(Recolored(bitmap, kind, shadow), buttonWidth);
    imageSize_ = QSize(buttonWidth, bitmap.height());
    Layout();
    return true;
}

void CFlatToolBar::SetIndeterminate(int index, bool on) {
    buttons_.at(index).indeterminate = on;
    update(buttons_.at(index).rect);
}

void CFlatToolBar::Layout() {
    int x = kBorders.left();
    QSize size = ButtonSize();
    for (Button& b : buttons_) {
        int w = b.separator() ? kSeparatorWidth : size.width();
        b.rect = QRect(x, kBorders.top(), w, size.height());
        x += w;
    }
    updateGeometry();
    update();
}

QSize CFlatToolBar::sizeHint() const {
    int w = kBorders.left() + kBorders.right();
    for (const Button& b : buttons_) w += b.rect.width();
    return QSize(w, kBorders.top() + ButtonSize().height() + kBorders.bottom());
}

int CFlatToolBar::ButtonAt(QPoint p) const {
    for (int i = 0; i < ButtonCount(); ++i)
        if (!buttons_[i].separator() && buttons_[i].rect.contains(p)) return i;
    return -1;
}

void CFlatToolBar::SetHot(int index) {
    if (index == hot_) return;
    if (hot_ >= 0) update(buttons_[hot_].rect);
    hot_ = index;
    if (hot_ >= 0) update(buttons_[hot_].rect);
    // The fly-by text in the status line follows the mouse.
    QString tip = hot_ >= 0 && buttons_[hot_].action ? buttons_[hot_].action->statusTip() : QString();
    QStatusTipEvent ev(tip);
    QApplication::sendEvent(this, &ev);
}

bool CFlatToolBar::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        int i = ButtonAt(help->pos());
        if (i >= 0 && buttons_[i].action)
            QToolTip::showText(help->globalPos(), buttons_[i].action->toolTip(), this, buttons_[i].rect);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

void CFlatToolBar::mouseMoveEvent(QMouseEvent* e) {
    SetHot(ButtonAt(e->position().toPoint()));
    if (pressed_ >= 0) {
        pressInside_ = buttons_[pressed_].rect.contains(e->position().toPoint());
        update(buttons_[pressed_].rect);
    }
}

void CFlatToolBar::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    pressed_ = ButtonAt(e->position().toPoint());
    pressInside_ = pressed_ >= 0;
    if (pressed_ >= 0) update(buttons_[pressed_].rect);
}

void CFlatToolBar::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    int down = pressed_;
    pressed_ = -1;
    pressInside_ = false;
    if (down < 0) return;
    update(buttons_[down].rect);
    QPointer<QAction> action = buttons_[down].action;
    if (ButtonAt(e->position().toPoint()) == down && action && action->isEnabled()) action->trigger();
}

void CFlatToolBar::leaveEvent(QEvent*) { SetHot(-1); }

void CFlatToolBar::paintEvent(QPaintEvent* e) {
    // Drawn off screen and copied in one piece, so a repaint does not flicker.
    QRect area = e->rect();
    QImage buffer(area.size() * devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
    buffer.setDevicePixelRatio(devicePixelRatio());
    {
        QPainter p(&buffer);
        p.translate(-area.topLeft());
        p.fillRect(area, palette().color(QPalette::Button));
        p.setFont(QApplication::font());
        for (int i = 0; i < ButtonCount(); ++i)
            if (buttons_[i].rect.intersects(area)) PaintButton(p, i);
    }
    QPainter(this).drawImage(area.topLeft(), buffer);
}

void CFlatToolBar::PaintButton(QPainter& p, int index) {
    const Button& b = buttons_[index];
    QRect r = b.rect;
    const QPalette& pal = palette();
    if (b.separator()) {
        p.setPen(Adjusted(pal.color(QPalette::Button), -15, 0));
        int x = (r.left() + r.right() + 1) / 2 - 1;
        p.drawLine(x, r.top() + 2, x, r.bottom() + 1 - 2);
        return;
    }
    bool enabled = b.action && b.action->isEnabled();
    bool checked = b.action && b.action->isChecked();
    bool hot = index == hot_ && enabled;
    bool pressed = index == pressed_ && pressInside_;
    bool liftPicture = hot && !pressed;
    if (b.indeterminate) {
        p.setPen(pal.color(QPalette::Shadow));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        liftPicture = enabled;
    } else if (hot || checked) {
        QColor hl = pal.color(QPalette::Highlight);
        QColor fill = pressed || (hot && checked) ? Adjusted(hl, 50, -50)
                      : hot                       ? Adjusted(hl, 70, -57)
                                                  : Adjusted(hl, 80, -66);
        p.setPen(hl);
        p.setBrush(fill);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    ImageKind kind = !enabled ? Disabled : liftPicture ? Hot : Normal;
    const std::vector<QImage>& list = images_[kind];
    if (b.image < 0 || b.image >= static_cast<int>(list.size())) return;
    int offset = kind == Hot ? 2 : 3;
    p.drawImage(r.topLeft() + QPoint(offset, offset), list[b.image]);
}
