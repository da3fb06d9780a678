#pragma once
// The view of the "My Logo" page: the picture in a scroll area at the chosen zoom or
// fitted into the window, the selection box over it, the working logo cut from the box's place, the pointer
// and selection in the status bar, and the painting of the 96 x 96 preview.
#include <QAbstractScrollArea>
#include <QPointer>
#include <QTimer>
#include <functional>

#include "app/widgets/CLogoPreviewBar.h"

#include "app/LyraDoc.h"
#include "logo/SelectionGeometry.h"
#include "platform/DocView.h"

class CSelectionBox;

class CLogoView : public QAbstractScrollArea, public platform::View {
    Q_OBJECT
public:
    explicit CLogoView(QWidget* parent = nullptr);
    ~CLogoView() override;

    CLyraDoc* Doc() const { return static_cast<CLyraDoc*>(GetDocument()); }

    void OnInitialUpdate() override;
    void OnUpdate(platform::View* sender, long hint) override;

    // Re-derives the working logo from the selection box; done when the box is moved or
    // sized and on every update.
    void ApplySelection();
    // A point in view client (viewport) coordinates to picture coordinates, in place.
    void ViewToImage(int& x, int& y) const;

    CSelectionBox* SelectionBox() const { return m_pSelectionBox; }
    QSize TotalSize() const { return total_; }
    QPoint ScrollPosition() const;
    void SetScrollSizes(QSize total);

    // The 96 x 96 control of the preview bar that shows the working logo.
    void SetPreview(CLogoPreview* preview);
    CLogoPreview* Preview() const { return preview_; }
    // Draws the working logo as the device shows it: each pixel from the RGB 5-5-5
    // value the logo file stores (each 5-bit channel widened back to 8 bits by
    // repeating its bits, as reading that file gives it), scaled over the rectangle
    // without smoothing.
    static void PaintPreview(const CLyraDoc& doc, QPainter& painter, const QRect& rect);
    // The working logo as the device shows it, 96 x 96 (null without a logo).
    static QImage DevicePreview(const LbImage& logo);

    // The selection in picture coordinates (rows from the top, right and bottom
    // exclusive); empty without a box or a picture.
    logo::Rect PictureSelection() const;
    // Zoom factor and fit-to-window; the selection keeps its picture pixels.
    void SetZoom(float zoom, bool fitToWindow);
    bool SquareSelection() const { return squareSelection_; }
    // The limits a drag of the box keeps: the scroll area, or the client area when
    // the picture is fitted into it. They are counted from Origin().
    logo::ScrollState DragLimits() const;
    // The picture is drawn this far in from the view's edges, so that the frame of a
    // box at the picture's edge is shown whole; where the picture starts in the
    // unscrolled view.
    static constexpr int kMargin = logo::kBoxFrame;
    static QPoint Origin() { return {kMargin, kMargin}; }
    // During a drag, the pointer (view client coordinates); at or beyond the view's
    // edge the view scrolls that way, and onStep is run after each scroll step so the
    // box follows the pointer. A pointer well inside stops the scrolling.
    void AutoScroll(const QPoint& pointer, std::function<void()> onStep);
    void StopAutoScroll();
    // How the Background colour command asks for a colour (a colour dialog unless
    // replaced): false when the person cancelled.
    void SetColourChooser(std::function<bool(QColor&)> chooser) { chooseColour_ = std::move(chooser); }

    // Screen capture: the capture dialog over the window, and the picture taken becomes
    // the page's picture.
    void Capture();

signals:
    // The picture's own menu asked for a screen capture; the main window runs it as the
    // command, so it goes where the menu's and the toolbar's go. Without a listener the
    // menu is not offered.
    void captureWanted();

protected:
    // The picture from the scroll position at the zoom, onto a painter whose origin is
    // the viewport's top-left. Fitted into the window, fitted is the picture already
    // converted (LbToQImage), scaled to fit the client area.
    void OnDraw(QPainter& painter, const QImage& fitted);
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    std::function<bool(QColor&)> chooseColour_;
    // How view client points map to the picture; needs a source picture.
    logo::ViewMapping Mapping() const;
    // Makes a selection box and connects to it.
    void NewSelectionBox();
    // The box was dragged to pointer (view client coordinates).
    void BoxDragged(const QPoint& pointer);
    void UpdateScrollBars();
    void ShowStatus(const std::string& text);
    void DeleteSelectionBox();
    void RegisterCommands();
    void Zoom(int steps);
    // Puts the box over a selection given in picture coordinates.
    void PlaceBox(const logo::Rect& picture);
    void AutoScrollStep();

    CSelectionBox* m_pSelectionBox = nullptr;
    QSize total_{0, 0};
    QPointer<CLogoPreview> preview_;
    bool squareSelection_ = false;
    int previewScale_ = 1;
    // The selection last placed by the program, and where the box then stood in
    // content coordinates (view + scroll): while the box stays there, the selection
    // is this one, exact at every zoom.
    logo::Rect placed_;
    QRect placedAt_;
    bool placing_ = false;  // the box is being put in a new place: no selection taken meanwhile
    QTimer* autoScroll_ = nullptr;
    QPoint autoScrollPointer_;
    std::function<void()> autoScrollStep_;
};
