#include "image/widgets/LbImageQt.h"

#include <QPaintDevice>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

// The destination pixel (dx, dy) of a drawing of 'image' into (x, y, width, height)
// shows this source pixel: column floor((dx - x) * W / width) and, counting rows from
// the bottom, H - ceil((dy + 1 - y) * H / height), at least 0.
struct Sampler {
    const LbImage& image;
    int x, y, width, height;

    int Column(int dx) const {
        return int(std::floor(double(dx - x) * image.GetWidth() / width));
    }
    int Row(int dy) const {
        const int row = int(image.GetHeight()) - int(std::ceil(double(dy + 1 - y) * image.GetHeight() / height));
        return std::max(row, 0);
    }
};

// Opacity 0..255 of a source pixel under the alpha channel, the overall maximum and
// the alpha palette.
int AlphaOf(const LbImage& image, int sx, int sy) {
    int a = image.AlphaIsValid() ? image.AlphaGet(sx, sy) : 255;
    a = a * (image.AlphaGetMax() + 1) / 256;
    if (image.AlphaPaletteIsEnabled() && image.IsIndexed())
        a = a * (image.GetPaletteColor(image.GetPixelIndex(sx, sy)).reserved + 1) / 256;
    return a;
}

bool SameColour(const LbRgbQuad& a, const LbRgbQuad& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

}  // namespace

QImage LbToQImage(const LbImage& image) {
    if (!image.IsValid()) return QImage();
    const int width = int(image.GetWidth()), height = int(image.GetHeight());
    QImage out(width, height, QImage::Format_RGB32);
    if (out.isNull()) return out;
    for (int row = 0; row < height; ++row) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(row));
        const int sy = height - 1 - row;
        for (int sx = 0; sx < width; ++sx) {
            const LbRgbQuad c = image.GetPixelColor(sx, sy);
            line[sx] = qRgb(c.red, c.green, c.blue);
        }
    }
    return out;
}

void LbDraw(const LbImage& image, QPainter& painter, int x, int y, int width, int height, const QRect* clip) {
    if (!image.IsValid() || !image.IsEnabled() || width == 0 || height == 0 || !painter.isActive()) return;
    if (width < 0) width = int(image.GetWidth());
    if (height < 0) height = int(image.GetHeight());

    painter.save();
    if (clip != nullptr) painter.setClipRect(*clip, Qt::IntersectClip);
    QRect visible(x, y, width, height);
    if (painter.hasClipping()) visible &= painter.clipBoundingRect().toAlignedRect();
    if (painter.device() != nullptr)
        visible &= painter.transform().inverted().mapRect(QRect(0, 0, painter.device()->width(), painter.device()->height()));
    if (visible.isEmpty()) {
        painter.restore();
        return;
    }

    const Sampler sample{image, x, y, width, height};
    const bool blend = image.IsTransparent() || image.AlphaIsValid() || image.AlphaPaletteIsEnabled();
    const LbRgbQuad transColour = image.GetTransColor();

    // The destination can be read back when it is a QImage drawn at a plain offset:
    // blend there exactly; otherwise hand Qt a picture with an alpha channel.
    QImage* target = painter.device() && painter.device()->devType() == QInternal::Image
                         ? static_cast<QImage*>(painter.device())
                         : nullptr;
    const QTransform& t = painter.transform();
    if (blend && target != nullptr && target->depth() == 32 && t.type() <= QTransform::TxTranslate) {
        const int ox = int(t.dx()), oy = int(t.dy());
        for (int dy = visible.top(); dy <= visible.bottom(); ++dy) {
            const int sy = sample.Row(dy);
            for (int dx = visible.left(); dx <= visible.right(); ++dx) {
                const int sx = sample.Column(dx);
                const LbRgbQuad src = image.GetPixelColor(sx, sy);
                const int a = AlphaOf(image, sx, sy);
                if (a == 0 || (image.IsTransparent() && SameColour(src, transColour))) continue;
                const QRgb dst = target->pixel(dx + ox, dy + oy);
                if (a == 255) {
                    target->setPixel(dx + ox, dy + oy, qRgb(src.red, src.green, src.blue));
                    continue;
                }
                auto mix = [a](int s, int d) { return (s * a + d * (255 - a)) / 256; };
                target->setPixel(dx + ox, dy + oy,
                                 qRgb(mix(src.red, qRed(dst)), mix(src.green, qGreen(dst)), mix(src.blue, qBlue(dst))));
            }
        }
        painter.restore();
        return;
    }

    QImage part(visible.size(), blend ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (!blend && image.GetBpp() == 24 && width == int(image.GetWidth()) && height == int(image.GetHeight())) {
        // At the image's own size a true-colour row is read straight from the pixels.
        const uint8_t* rows = image.GetBits(0);
        const size_t stride = image.GetEffWidth();
        for (int dy = visible.top(); dy <= visible.bottom(); ++dy) {
            auto* line = reinterpret_cast<QRgb*>(part.scanLine(dy - visible.top()));
            const uint8_t* in = rows + size_t(height - 1 - (dy - y)) * stride + 3 * size_t(visible.left() - x);
            for (int i = 0; i < visible.width(); ++i, in += 3) line[i] = qRgb(in[2], in[1], in[0]);
        }
        painter.drawImage(visible.topLeft(), part);
        painter.restore();
        return;
    }
    for (int dy = visible.top(); dy <= visible.bottom(); ++dy) {
        auto* line = reinterpret_cast<QRgb*>(part.scanLine(dy - visible.top()));
        const int sy = sample.Row(dy);
        for (int dx = visible.left(); dx <= visible.right(); ++dx) {
            const int sx = sample.Column(dx);
            const LbRgbQuad src = image.GetPixelColor(sx, sy);
            int a = 255;
            if (blend) {
                a = AlphaOf(image, sx, sy);
                if (image.IsTransparent() && SameColour(src, transColour)) a = 0;
            }
            line[dx - visible.left()] = qRgba(src.red, src.green, src.blue, a);
        }
    }
    painter.drawImage(visible.topLeft(), part);
    painter.restore();
}

void LbStretch(const LbImage& image, QPainter& painter, int x, int y, int width, int height) {
    if (!image.IsValid() || width == 0 || height == 0) return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(x, y, width, height), LbToQImage(image));
    painter.restore();
}

bool LbCreateFromQImage(LbImage& image, const QImage& picture) {
    image.Destroy();
    if (picture.isNull()) return false;
    const int width = picture.width(), height = picture.height();
    if (picture.depth() <= 8 && picture.colorCount() > 0) {
        const QImage indexed = picture.depth() == 1 ? picture.convertToFormat(QImage::Format_Mono)
                                                    : picture.convertToFormat(QImage::Format_Indexed8);
        if (indexed.isNull()) {
            image.SetLastError("GetDIBits failed");
            return false;
        }
        if (image.Create(uint32_t(width), uint32_t(height), uint32_t(indexed.depth()), 0) == nullptr) return false;
        const QList<QRgb> table = indexed.colorTable();
        for (int i = 0; i < table.size() && i < int(image.GetNumColors()); ++i)
            image.SetPaletteColor(uint8_t(i), uint8_t(qRed(table[i])), uint8_t(qGreen(table[i])), uint8_t(qBlue(table[i])));
        for (int row = 0; row < height; ++row)
            for (int x = 0; x < width; ++x) image.SetPixelIndex(x, height - 1 - row, uint8_t(indexed.pixelIndex(x, row)));
        return true;
    }
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull()) {
        image.SetLastError("GetDIBits failed");
        return false;
    }
    if (image.Create(uint32_t(width), uint32_t(height), 24, 0) == nullptr) return false;
    for (int row = 0; row < height; ++row) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(row));
        uint8_t* out = image.GetBits(uint32_t(height - 1 - row));
        for (int x = 0; x < width; ++x, out += 3) {
            out[0] = uint8_t(qBlue(line[x]));
            out[1] = uint8_t(qGreen(line[x]));
            out[2] = uint8_t(qRed(line[x]));
        }
    }
    return true;
}

bool LbCreateFromQPixmap(LbImage& image, const QPixmap& picture) {
    if (picture.isNull()) {
        image.Destroy();
        return false;
    }
    return LbCreateFromQImage(image, picture.toImage());
}
