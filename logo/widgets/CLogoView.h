#pragma once
// The view of the "My Logo" page: the picture at its natural size in a scroll area,
// the selection box over it, the working logo cut from the box's place, the pointer
// and selection in the status bar, and the painting of the 96 x 96 preview.
#include <QAbstractScrollArea>
#include <QPointer>

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

    // Re-derives the working logo from the selection box; called after every move and
    // size of the box and on every update.
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
    // Draws the working logo stretched over the rectangle; nothing without one.
    static void PaintPreview(const CLyraDoc& doc, QPainter& painter, const QRect& rect);

protected:
    // The picture at the scroll origin, at its natural size (zoom 1), onto a painter
    // whose origin is the viewport's top-left.
    void OnDraw(QPainter& painter);
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    // How view client points map to the picture; needs a source picture.
    logo::ViewMapping Mapping() const;
    void ConnectToFrame();
    void UpdateScrollBars();
    void ShowStatus(const std::string& text);
    void DeleteSelectionBox();

    CSelectionBox* m_pSelectionBox = nullptr;
    QSize total_{0, 0};
    QPointer<CLogoPreview> preview_;
};
