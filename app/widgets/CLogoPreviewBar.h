#pragma once
// The logo preview bar: a 98x98 bar holding the 96x96 preview control in which the
// logo page paints the working logo, with a grey frame around the control (never over
// the logo's own pixels). At scale 2 both double: 194x194 and 192x192.
#include <QImage>
#include <QWidget>
#include <functional>

class CLogoPreview : public QWidget {
    Q_OBJECT
public:
    explicit CLogoPreview(QWidget* parent = nullptr);
    // Paints the control's contents over its whole rectangle; without a painter (and
    // without an image) the control shows its empty grey frame.
    using Painter = std::function<void(QPainter&, const QRect&)>;
    void SetPainter(Painter painter);
    // Shows an image stretched over the control (used when no painter is set).
    void SetImage(const QImage& image);
    const QImage& Image() const { return image_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Painter painter_;
    QImage image_;
};

class CLogoPreviewBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kControlId = 1013;
    explicit CLogoPreviewBar(QWidget* parent = nullptr);
    CLogoPreview* Preview() const { return preview_; }
    void SetScale(int scale);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    CLogoPreview* preview_;
};
