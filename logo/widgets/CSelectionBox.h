#pragma once
// The rectangle the person moves and sizes over the picture: a child of the area the
// picture is drawn in (the logo view's viewport) with a 6-pixel frame and eight
// handles, whose inside is left unpainted. It tells of every move and size through its
// signals; the view takes the working logo from there.
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "logo/SelectionGeometry.h"

class CSelectionBox : public QWidget {
    Q_OBJECT
public:
    static constexpr int kControlId = 100;

    // What a drag keeps to. The picture starts at origin in the area; the limits are
    // counted from there and asked at every step, as the area may scroll meanwhile.
    struct DragRules {
        QPoint origin;
        std::function<logo::ScrollState()> limits;
        std::function<bool()> keepSquare;  // sizing keeps a square even without Shift
    };

    // A box for the selection (area coordinates), shown at once.
    CSelectionBox(QWidget* area, const QRect& selection, DragRules rules);

    // The selection: the box's rectangle in area coordinates shrunk by the frame.
    QRect Selection() const;
    uint8_t DragMode() const { return m_nDragMode; }
    const std::array<logo::Rect, 8>& Handles() const { return m_rcHandle; }
    // One drag step with the pointer at a point of the area.
    void DragTo(const QPoint& pointer);

signals:
    // The box stands in a new place, or has a new size (a new place and size together
    // come as resized alone).
    void moved();
    void resized();
    // A drag with the left button went on to pointer (area coordinates); it ended.
    void dragged(const QPoint& pointer);
    void released();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // After a new size: the handles and the frame's mask, then the area redraws.
    void RecalcHandles();
    // After a new place: the area redraws the picture under the frame.
    void RedrawUnderFrame();

    QWidget* area_;
    DragRules rules_;
    Qt::CursorShape m_hCursor = Qt::SizeAllCursor;
    logo::Rect m_rcBox;
    std::array<logo::Rect, 8> m_rcHandle{};
    QSize sized_;  // the size the handles and the mask were made for
    uint8_t m_nDragMode = 0;
    logo::Point m_ptGrab;
    bool square_ = false;  // Shift held during the last drag step: sizing keeps a square
};
