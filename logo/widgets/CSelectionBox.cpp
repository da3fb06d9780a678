#include "logo/widgets/CSelectionBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

Qt::CursorShape CursorShape(logo::Handle handle) {
    switch (logo::CursorOfHandle(handle)) {
    case logo::BoxCursor::DiagonalNwSe: return Qt::SizeFDiagCursor;
    case logo::BoxCursor::DiagonalNeSw: return Qt::SizeBDiagCursor;
    case logo::BoxCursor::Vertical: return Qt::SizeVerCursor;
    case logo::BoxCursor::Horizontal: return Qt::SizeHorCursor;
    case logo::BoxCursor::Move: break;
    }
    return Qt::SizeAllCursor;
}

logo::Rect ToRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
QRect ToQRect(const logo::Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }
// The frame of a box rectangle: all of it but the inside the frame leaves open.
QRegion Frame(const QRect& box) {
    const int f = logo::kBoxFrame;
    return QRegion(box).subtracted(QRegion(box.adjusted(f, f, -f, -f)));
}
// The rectangle from (l, t) to (r, b), right and bottom exclusive.
QRect Span(int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); }

}  // namespace

CSelectionBox::CSelectionBox(QWidget* area, const QRect& selection, DragRules rules)
    : QWidget(area), area_(area), rules_(std::move(rules)) {
    setObjectName(QString::number(kControlId));
    m_hCursor = Qt::SizeAllCursor;
    setCursor(m_hCursor);
    setMouseTracking(true);
    setGeometry(ToQRect(logo::BoxForSelection(ToRect(selection))));
    // The box is only its frame: the picture inside stays the view's, so moving the
    // box repaints the strips its frame leaves and covers. Presses and hovering inside
    // the frame reach the box through the view.
    area_->installEventFilter(this);
    show();
    RecalcHandles();
}

bool CSelectionBox::eventFilter(QObject* watched, QEvent* e) {
    const auto type = e->type();
    if (watched != area_ ||
        (type != QEvent::MouseMove && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease))
        return false;
    auto* mouse = static_cast<QMouseEvent*>(e);
    const QPoint at = mouse->position().toPoint();
    const bool inside = geometry().contains(at);
    if (type == QEvent::MouseMove && !(mouse->buttons() & Qt::LeftButton)) {
        // Hover over the open inside: the move cursor and drag mode of the box; the
        // view still reports the pointer.
        if (inside) {
            m_nDragMode = logo::kMove;
            area_->setCursor(Qt::SizeAllCursor);
        } else {
            area_->unsetCursor();
        }
        return false;
    }
    if (!inside || (type == QEvent::MouseButtonPress && mouse->button() != Qt::LeftButton)) return false;
    QMouseEvent forwarded(type, QPointF(at - pos()), mouse->globalPosition(), mouse->button(), mouse->buttons(),
                          mouse->modifiers());
    if (type == QEvent::MouseButtonPress)
        mousePressEvent(&forwarded);
    else if (type == QEvent::MouseButtonRelease)
        mouseReleaseEvent(&forwarded);
    else
        mouseMoveEvent(&forwarded);
    return true;
}

QRect CSelectionBox::Selection() const { return ToQRect(logo::SelectionOfBox(ToRect(geometry()))); }

void CSelectionBox::RecalcHandles() {
    sized_ = size();
    m_rcBox = {0, 0, width(), height()};
    m_rcHandle = logo::HandleRects(width(), height());
    setMask(Frame(rect()));
    RedrawUnderFrame();
}

void CSelectionBox::RedrawUnderFrame() { area_->update(Frame(geometry())); }

void CSelectionBox::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    // A new place and size come as a move and then a resize: the resize does the work,
    // once.
    if (size() != sized_) return;
    RedrawUnderFrame();
    emit moved();
}

void CSelectionBox::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    RecalcHandles();
    emit resized();
}

void CSelectionBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor c = palette().color(QPalette::Active, QPalette::Highlight);
    const int w = m_rcBox.right, h = m_rcBox.bottom, mx = w / 2, my = h / 2, f = logo::kBoxFrame;
    // Six nested outlines: a solid frame 6 pixels thick, the inside left alone.
    p.setPen(c);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < f && 2 * i < w && 2 * i < h; ++i) p.drawRect(i, i, w - 2 * i - 1, h - 2 * i - 1);
    // White bars between the handles.
    const QRect bars[] = {
        Span(f, 0, mx - 3, f),     Span(mx + 3, 0, w - f, f),      // top
        Span(f, h - f, mx - 3, h), Span(mx + 3, h - f, w - f, h),  // bottom
        Span(0, f, f, my - 3),     Span(0, my + 3, f, h - f),      // left
        Span(w - f, f, w, my - 3), Span(w - f, my + 3, w, h - f),  // right
    };
    for (const QRect& bar : bars)
        if (bar.isValid()) p.fillRect(bar, Qt::white);
    // Two staggered rows of dots on every bar, 4 pixels apart, drawn in one call.
    QPolygon dots;
    dots.reserve(2 * (w + h));
    for (int k = 6; k <= w - 4; k += 4) dots << QPoint(k, 2) << QPoint(k - 2, 4) << QPoint(k, h - 2) << QPoint(k - 2, h - 4);
    for (int k = 6; k <= h - 4; k += 4) dots << QPoint(2, k) << QPoint(4, k - 2) << QPoint(w - 2, k) << QPoint(w - 4, k - 2);
    p.drawPoints(dots);
}

void CSelectionBox::mouseMoveEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    if (!(e->buttons() & Qt::LeftButton)) {
        // Hover: the handle under the pointer decides the drag that a press starts.
        const logo::Handle handle = logo::HitTestHandle(m_rcHandle, {at.x(), at.y()});
        m_nDragMode = handle;
        m_hCursor = CursorShape(handle);
        setCursor(m_hCursor);
        return;
    }
    square_ = (e->modifiers() & Qt::ShiftModifier) != 0;
    const QPoint pointer = mapTo(area_, at);
    DragTo(pointer);
    emit dragged(pointer);
}

void CSelectionBox::DragTo(const QPoint& pointer) {
    // The limits are counted from where the picture starts in the area.
    const logo::ScrollState s = rules_.limits();
    const QPoint origin = rules_.origin;
    const logo::Point p{pointer.x() - origin.x(), pointer.y() - origin.y()};
    const QRect before = geometry();
    const logo::Rect was = ToRect(before.translated(-origin));
    if (m_nDragMode == logo::kMove) {
        const logo::Point to = logo::MoveBoxTo(p, m_ptGrab, before.width(), before.height(), s);
        if (to.x != was.left || to.y != was.top) move(to.x + origin.x(), to.y + origin.y());
        update();
        return;
    }
    logo::Rect sized = logo::SizeBox(was, logo::Handle(m_nDragMode), p, s);
    if (square_ || rules_.keepSquare()) sized = logo::SquareBox(sized, logo::Handle(m_nDragMode), s);
    if (sized == was) return;
    setGeometry(ToQRect(sized).translated(origin));
    update();
    area_->update(Frame(before));
}

void CSelectionBox::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
    const QPoint at = e->position().toPoint();
    // The drag keeps the mode of the last hover; the press only picks the cursor.
    const logo::Handle handle = logo::HitTestHandle(m_rcHandle, {at.x(), at.y()});
    if (handle == logo::kMove) m_ptGrab = {at.x(), at.y()};
    m_hCursor = CursorShape(handle);
    setCursor(m_hCursor);
    grabMouse(QCursor(m_hCursor));
}

void CSelectionBox::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        releaseMouse();
        emit released();
    }
    QWidget::mouseReleaseEvent(e);
}
