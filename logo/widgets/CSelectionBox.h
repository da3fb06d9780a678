#pragma once
// The rectangle the person moves and sizes over the picture: a child of the logo
// view's viewport with a 6-pixel frame and eight handles, whose inside is left
// unpainted. Every move and size re-derives the working logo through the view.
#include <QWidget>
#include <array>
#include <cstdint>

#include "logo/SelectionGeometry.h"

class CLogoView;

class CSelectionBox : public QWidget {
    Q_OBJECT
public:
    static constexpr int kControlId = 100;

    // A box for the selection (view client coordinates), shown at once.
    CSelectionBox(CLogoView* view, const QRect& selection);

    // The selection: the box's rectangle in view client coordinates shrunk by the frame.
    QRect Selection() const;
    uint8_t DragMode() const { return m_nDragMode; }
    const std::array<logo::Rect, 8>& Handles() const { return m_rcHandle; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // After a new size: the handles and the frame's mask, then Placed.
    void RecalcHandles();
    // After a new place: the view redraws under the frame and takes the selection.
    void Placed();
    void Drag(const QPoint& pointerInView);

    CLogoView* m_pView;
    Qt::CursorShape m_hCursor = Qt::SizeAllCursor;
    logo::Rect m_rcBox;
    std::array<logo::Rect, 8> m_rcHandle{};
    QSize sized_;  // the size the handles and the mask were made for
    uint8_t m_nDragMode = 0;
    logo::Point m_ptGrab;
    bool square_ = false;  // Shift held during the last drag step: sizing keeps a square
};
