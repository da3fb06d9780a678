// Drawing LbImage onto Qt surfaces and creating it from screen pictures.
#include <QImage>
#include <QPainter>
#include <QtTest>

#include "image/LbImage.h"
#include "image/widgets/LbImageQt.h"

class DrawTest : public QObject {
    Q_OBJECT

private:
    // 2 x 2 picture: bottom row red, green; top row blue, white.
    static LbImage Quad() {
        LbImage image(2, 2, 24);
        image.SetPixelColor(0, 0, LbRgbQuad{0, 0, 255, 0});
        image.SetPixelColor(1, 0, LbRgbQuad{0, 255, 0, 0});
        image.SetPixelColor(0, 1, LbRgbQuad{255, 0, 0, 0});
        image.SetPixelColor(1, 1, LbRgbQuad{255, 255, 255, 0});
        return image;
    }
    static QImage Canvas(int w, int h, QRgb fill) {
        QImage canvas(w, h, QImage::Format_RGB32);
        canvas.fill(fill);
        return canvas;
    }

private slots:
    void drawsAtItsOwnSizeTopRowFirst() {
        QImage canvas = Canvas(4, 4, qRgb(9, 9, 9));
        {
            QPainter p(&canvas);
            LbDraw(Quad(), p, 1, 1);
        }
        QCOMPARE(canvas.pixel(1, 1), qRgb(0, 0, 255));      // top-left: blue
        QCOMPARE(canvas.pixel(2, 2), qRgb(0, 255, 0));      // bottom-right: green
        QCOMPARE(canvas.pixel(0, 0), qRgb(9, 9, 9));
        QCOMPARE(canvas.pixel(3, 3), qRgb(9, 9, 9));
    }

    void scalesByNearestPixelAndHonoursTheClip() {
        QImage canvas = Canvas(4, 4, qRgb(0, 0, 0));
        const QRect clip(0, 0, 4, 2);
        {
            QPainter p(&canvas);
            LbDraw(Quad(), p, 0, 0, 4, 4, &clip);
        }
        QCOMPARE(canvas.pixel(0, 0), qRgb(0, 0, 255));
        QCOMPARE(canvas.pixel(1, 1), qRgb(0, 0, 255));
        QCOMPARE(canvas.pixel(3, 1), qRgb(255, 255, 255));
        QCOMPARE(canvas.pixel(0, 2), qRgb(0, 0, 0));  // outside the clip
    }

    void transparentIndexAndAlphaBlend() {
        LbImage image(2, 1, 8);
        image.SetPaletteColor(0, 10, 20, 30);
        image.SetPaletteColor(1, 200, 100, 50);
        image.SetPixelIndex(0, 0, 0);
        image.SetPixelIndex(1, 0, 1);
        image.SetTransIndex(0);
        QImage canvas = Canvas(2, 1, qRgb(100, 100, 100));
        {
            QPainter p(&canvas);
            LbDraw(image, p, 0, 0);
        }
        QCOMPARE(canvas.pixel(0, 0), qRgb(100, 100, 100));  // transparent: untouched
        QCOMPARE(canvas.pixel(1, 0), qRgb(200, 100, 50));

        image.AlphaSetMax(127);  // a = 255 * 128 / 256 = 127
        canvas = Canvas(2, 1, qRgb(100, 100, 100));
        {
            QPainter p(&canvas);
            LbDraw(image, p, 0, 0);
        }
        const int a = 127;
        QCOMPARE(canvas.pixel(1, 0), qRgb((200 * a + 100 * (255 - a)) / 256, (100 * a + 100 * (255 - a)) / 256,
                                          (50 * a + 100 * (255 - a)) / 256));
    }

    void disabledOrEmptyDrawsNothing() {
        LbImage image = Quad();
        image.Enable(false);
        QImage canvas = Canvas(2, 2, qRgb(1, 2, 3));
        {
            QPainter p(&canvas);
            LbDraw(image, p, 0, 0);
            LbDraw(LbImage(), p, 0, 0);
            image.Enable(true);
            LbDraw(image, p, 0, 0, 0, 5);
        }
        QCOMPARE(canvas.pixel(0, 0), qRgb(1, 2, 3));
    }

    void stretchAndConversion() {
        QImage canvas = Canvas(4, 2, qRgb(0, 0, 0));
        {
            QPainter p(&canvas);
            LbStretch(Quad(), p, 0, 0, 4, 2);
        }
        QCOMPARE(canvas.pixel(1, 0), qRgb(0, 0, 255));
        QCOMPARE(canvas.pixel(3, 1), qRgb(0, 255, 0));
        QCOMPARE(LbToQImage(Quad()).pixel(0, 1), qRgb(255, 0, 0));
    }

    void createsFromScreenPictures() {
        QImage shot(3, 2, QImage::Format_ARGB32);
        shot.fill(qRgb(10, 20, 30));
        shot.setPixel(0, 0, qRgb(200, 0, 0));
        LbImage image(LB_FORMAT_BMP);
        QVERIFY(LbCreateFromQImage(image, shot));
        QCOMPARE(image.GetBpp(), 24u);
        QCOMPARE(image.GetType(), 0u);
        QCOMPARE(image.GetPixelColor(0, 1).red, uint8_t(200));  // top-left
        QCOMPARE(image.GetPixelColor(2, 0).blue, uint8_t(30));

        QImage indexed(2, 2, QImage::Format_Indexed8);
        indexed.setColorTable({qRgb(0, 0, 0), qRgb(1, 2, 3)});
        indexed.fill(1);
        QVERIFY(LbCreateFromQImage(image, indexed));
        QCOMPARE(image.GetBpp(), 8u);
        QCOMPARE(image.GetPixelColor(1, 1), (LbRgbQuad{3, 2, 1, 0}));

        QVERIFY(!LbCreateFromQImage(image, QImage()));
        QVERIFY(!image.IsValid());
    }
};

QTEST_MAIN(DrawTest)
#include "draw_qtest.moc"
