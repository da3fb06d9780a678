#include "app/widgets/ResourcePictures.h"

#include <QPainter>
#include <QPainterPath>

#include "app/CommandIds.h"
#include "app/Resources.h"

namespace {

constexpr int kSize = kToolbarPictureWidth;
const QColor kKey(192, 192, 192);

void Page(QPainter& p, QRectF r) {
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 7, r.top());
    path.lineTo(r.right(), r.top() + 7);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 7, r.top()), QPointF(r.right() - 7, r.top() + 7));
    p.drawLine(QPointF(r.right() - 7, r.top() + 7), QPointF(r.right(), r.top() + 7));
}

void Arrowhead(QPainter& p, QPointF tip, QPointF dir, QColor c) {
    QPointF n(-dir.y(), dir.x());
    QPolygonF head{tip, tip - dir * 7 + n * 5, tip - dir * 7 - n * 5};
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(head);
}

void RotateArrow(QPainter& p, bool clockwise) {
    QColor c(20, 90, 200);
    QRectF arc(7, 8, 21, 21);
    p.setPen(QPen(c, 3, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    // A three-quarter turn ending in an arrowhead at the top.
    if (clockwise) {
        p.drawArc(arc, 180 * 16, -270 * 16);
        Arrowhead(p, QPointF(17.5 + 7, 8), QPointF(1, 0), c);
    } else {
        p.drawArc(arc, 0, 270 * 16);
        Arrowhead(p, QPointF(17.5 - 7, 8), QPointF(-1, 0), c);
    }
}

void Flip(QPainter& p, bool horizontal) {
    p.save();
    if (!horizontal) {
        p.translate(kSize / 2.0, kSize / 2.0);
        p.rotate(90);
        p.translate(-kSize / 2.0, -kSize / 2.0);
    }
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(QColor(30, 140, 60));
    p.drawPolygon(QPolygonF{{15, 8}, {15, 27}, {4, 27}});
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF{{20, 8}, {20, 27}, {31, 27}});
    p.setPen(QPen(QColor(200, 30, 30), 1.5, Qt::DashLine));
    p.drawLine(QPointF(17.5, 3), QPointF(17.5, 32));
    p.restore();
}

void Badge(QPainter& p, const QString& letter, QColor colour) {
    p.setPen(QPen(colour.darker(160), 1.5));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(5, 5, 25, 25), 5, 5);
    QFont f("DejaVu Sans");
    f.setPixelSize(18);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(5, 5, 25, 25), Qt::AlignCenter, letter);
}

void DrawCommand(QPainter& p, int id) {
    switch (id) {
    case cmd::FileNew:
        Page(p, QRectF(8, 4, 19, 27));
        break;
    case cmd::FileOpen: {
        p.setPen(QPen(QColor(120, 80, 0), 1.5));
        p.setBrush(QColor(230, 180, 40));
        p.drawRect(QRectF(4, 10, 24, 19));
        p.drawRect(QRectF(4, 7, 10, 4));
        p.setBrush(QColor(250, 215, 90));
        p.drawPolygon(QPolygonF{{8, 16}, {32, 16}, {28, 29}, {4, 29}});
        break;
    }
    case cmd::FileSave:
        p.setPen(QPen(QColor(10, 30, 90), 1.5));
        p.setBrush(QColor(40, 80, 180));
        p.drawRect(QRectF(5, 5, 25, 25));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(10, 5, 15, 10));
        p.setBrush(QColor(160, 160, 170));
        p.drawRect(QRectF(10, 20, 15, 10));
        break;
    case cmd::EditFind:
        p.setPen(QPen(QColor(40, 40, 40), 3));
        p.setBrush(QColor(200, 230, 255));
        p.drawEllipse(QRectF(6, 5, 16, 16));
        p.setPen(QPen(QColor(120, 70, 20), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(20, 19), QPointF(29, 29));
        break;
    case cmd::EditDelete:
        p.setPen(QPen(QColor(210, 20, 20), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9, 9), QPointF(26, 26));
        p.drawLine(QPointF(26, 9), QPointF(9, 26));
        break;
    case cmd::RotateLeft:
        RotateArrow(p, false);
        break;
    case cmd::RotateRight:
        RotateArrow(p, true);
        break;
    case cmd::FlipHorizontal:
        Flip(p, true);
        break;
    case cmd::FlipVertical:
        Flip(p, false);
        break;
    case cmd::Cropping:
        p.setPen(QPen(QColor(30, 30, 30), 3, Qt::SolidLine, Qt::FlatCap));
        p.drawPolyline(QPolygonF{{10, 3}, {10, 25}, {32, 25}});
        p.drawPolyline(QPolygonF{{3, 10}, {25, 10}, {25, 32}});
        p.setPen(QPen(QColor(20, 90, 200), 1, Qt::DashLine));
        p.drawRect(QRectF(11.5, 11.5, 12, 12));
        break;
    case cmd::Capture:
        // A screen with a dashed rectangle taken from it.
        p.setPen(QPen(QColor(40, 40, 50), 1.5));
        p.setBrush(QColor(120, 170, 230));
        p.drawRoundedRect(QRectF(3, 5, 29, 20), 2, 2);
        p.setBrush(QColor(40, 40, 50));
        p.drawRect(QRectF(14, 25, 7, 4));
        p.drawRect(QRectF(10, 29, 15, 2));
        p.setPen(QPen(Qt::white, 1.5, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(9, 9, 14, 11));
        break;
    case cmd::DitherToggle:
        // A checkerboard of black and white dots fading across the button.
        p.setPen(Qt::NoPen);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x) {
                const bool black = (x + y) % 2 == 0 || x < y - 1;
                p.setBrush(black ? QColor(20, 20, 20) : QColor(250, 250, 250));
                p.drawRect(QRectF(5 + 4.2 * x, 5 + 4.2 * y, 4.2, 4.2));
            }
        break;
    case cmd::ShowZandri:
        Badge(p, "Z", QColor(200, 40, 40));
        break;
    case cmd::ShowPellix:
        Badge(p, "P", QColor(30, 130, 60));
        break;
    case cmd::ShowQuorvel:
        Badge(p, "Q", QColor(40, 70, 190));
        break;
    default:
        break;
    }
}

QPixmap IconPixmap(int resource) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (resource == kTabIconMemo) {
        // An address card: lines of text beside a head.
        p.setPen(QColor(60, 60, 60));
        p.setBrush(QColor(255, 250, 220));
        p.drawRect(QRectF(0.5, 2.5, 15, 11));
        p.setBrush(QColor(70, 110, 200));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(2, 4.5, 4, 4));
        p.drawRect(QRectF(2, 9, 4, 3));
        p.setPen(QColor(90, 90, 90));
        for (int y : {5, 8, 11}) p.drawLine(8, y, 13, y);
    } else {
        // A framed picture: sky, sun and a hill.
        p.setPen(QColor(60, 60, 60));
        p.setBrush(QColor(150, 200, 255));
        p.drawRect(QRectF(0.5, 1.5, 15, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 200, 30));
        p.drawEllipse(QRectF(9, 3, 4, 4));
        p.setBrush(QColor(40, 150, 60));
        p.drawPolygon(QPolygonF{{1, 14}, {6, 7}, {11, 14}});
    }
    return pm;
}

}  // namespace

QImage CommandPicture(int id) {
    QImage img(kSize, kSize, QImage::Format_RGB32);
    img.fill(kKey);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    DrawCommand(p, id);
    return img;
}

QImage ToolbarBitmap(int resource) {
    std::vector<int> ids;
    for (int id : res::Toolbar(resource))
        if (id) ids.push_back(id);
    if (ids.empty()) return QImage();
    QImage strip(kSize * static_cast<int>(ids.size()), kSize, QImage::Format_RGB32);
    QPainter p(&strip);
    for (size_t i = 0; i < ids.size(); ++i) p.drawImage(static_cast<int>(i) * kSize, 0, CommandPicture(ids[i]));
    return strip;
}

QIcon TabIcon(int resource) {
    if (resource != kTabIconMemo && resource != kTabIconLogo) return QIcon();
    return QIcon(IconPixmap(resource));
}
