#include "logo/widgets/CLogoView.h"

#include <QContextMenuEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStatusBar>
#include <algorithm>

#include "app/CommandIds.h"
#include "app/LyraApp.h"
#include "app/widgets/CLogoPreviewBar.h"
#include "app/widgets/CMainFrame.h"
#include "image/widgets/LbImageQt.h"
#include "logo/DeviceLogoFile.h"
#include "logo/SelectionStep.h"
#include "logo/widgets/CSelectionBox.h"
#include "logo/widgets/ScreenCapture.h"
#include "platform/Services.h"

namespace {

logo::Rect ToRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

}  // namespace

CLogoView::CLogoView(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName("logoView");
    viewport()->setMouseTracking(true);
    // The off-screen painting covers the whole area: nothing is erased first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

CLogoView::~CLogoView() { DeleteSelectionBox(); }

QPoint CLogoView::ScrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CLogoView::SetScrollSizes(QSize total) {
    total_ = total;
    UpdateScrollBars();
}

void CLogoView::UpdateScrollBars() {
    const QSize page = viewport()->size();
    horizontalScrollBar()->setPageStep(page.width());
    verticalScrollBar()->setPageStep(page.height());
    horizontalScrollBar()->setSingleStep(std::max(1, page.width() / 100 * 10));
    verticalScrollBar()->setSingleStep(std::max(1, page.height() / 100 * 10));
    horizontalScrollBar()->setRange(0, std::max(0, total_.width() - page.width()));
    verticalScrollBar()->setRange(0, std::max(0, total_.height() - page.height()));
}

void CLogoView::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    UpdateScrollBars();
}

void CLogoView::scrollContentsBy(int dx, int dy) {
    // The picture and the selection box move together, as the box lies on the content.
    viewport()->scroll(dx, dy);
}

void CLogoView::showEvent(QShowEvent* e) {
    QAbstractScrollArea::showEvent(e);
    ConnectToFrame();
}

void CLogoView::ConnectToFrame() {
    auto* frame = qobject_cast<CMainFrame*>(window());
    if (frame == nullptr) return;
    if (preview_ == nullptr) SetPreview(frame->LogoPreview());
    if (!frame->onCapture) frame->onCapture = [frame] { OnCapture(*frame, frame->App().Document()); };
}

void CLogoView::SetPreview(CLogoPreview* preview) {
    preview_ = preview;
    if (preview_ == nullptr) return;
    preview_->SetPainter([this](QPainter& painter, const QRect& rect) {
        if (Doc() != nullptr) PaintPreview(*Doc(), painter, rect);
    });
}

void CLogoView::PaintPreview(const CLyraDoc& doc, QPainter& painter, const QRect& rect) {
    if (!doc.m_pLogoImage) return;
    LbStretch(*doc.m_pLogoImage, painter, rect.x(), rect.y(), rect.width(), rect.height());
}

void CLogoView::DeleteSelectionBox() {
    delete m_pSelectionBox;
    m_pSelectionBox = nullptr;
}

void CLogoView::OnInitialUpdate() {
    ConnectToFrame();
    // The base: an update with hint 0, which with a picture keeps the box where it is
    // and fits the scroll range and the working logo to the picture.
    platform::View::OnInitialUpdate();
    CLyraDoc* doc = Doc();
    if (doc != nullptr && doc->m_pSourceImage) {
        // A picture stays on the page through New and through files opened for other
        // pages; it always carries a box, so what is saved is what the box shows.
        if (m_pSelectionBox == nullptr) OnUpdate(nullptr, hint::PictureLoaded);
        return;
    }
    SetScrollSizes({100, 100});
    DeleteSelectionBox();
    viewport()->update();
}

logo::ViewMapping CLogoView::Mapping() const {
    const CLyraDoc& doc = *Doc();
    const QPoint scroll = ScrollPosition();
    return {scroll.x(),
            scroll.y(),
            doc.m_fZoom,
            doc.m_bFitToWindow != 0,
            int(doc.m_pSourceImage->GetWidth()),
            int(doc.m_pSourceImage->GetHeight()),
            viewport()->width(),
            viewport()->height()};
}

void CLogoView::ViewToImage(int& x, int& y) const {
    CLyraDoc* doc = Doc();
    if (doc == nullptr || !doc->m_pSourceImage) return;
    const logo::Point p = logo::ViewToImage({x, y}, Mapping());
    x = p.x;
    y = p.y;
}

void CLogoView::ApplySelection() {
    CLyraDoc* doc = Doc();
    if (m_pSelectionBox == nullptr || doc == nullptr || !doc->m_pSourceImage) return;
    const logo::SelectionStep step = logo::ApplySelectionStep(*doc, ToRect(m_pSelectionBox->geometry()), Mapping());
    if (!step.applied) return;
    if (preview_) preview_->update();
    ShowStatus(step.status);
}

void CLogoView::OnUpdate(platform::View*, long hint) {
    CLyraDoc* doc = Doc();
    if (doc == nullptr || !doc->m_pSourceImage) return;
    const LbImage& picture = *doc->m_pSourceImage;
    const QSize natural(int(float(picture.GetWidth()) * doc->m_fZoom), int(float(picture.GetHeight()) * doc->m_fZoom));
    if (hint == hint::PictureLoaded) {
        const QPoint oldScroll = ScrollPosition();
        const QSize oldTotal = total_;
        SetScrollSizes(natural);
        if (oldTotal.width() != 0 && oldTotal.height() != 0) {
            // Keep the scroll position in proportion when the new picture is larger
            // than the window; otherwise start from the left or top.
            const QSize frame = window()->size();
            const int x = natural.width() > frame.width() ? natural.width() * oldScroll.x() / oldTotal.width() : 0;
            const int y = natural.height() > frame.height() ? natural.height() * oldScroll.y() / oldTotal.height() : 0;
            horizontalScrollBar()->setValue(x);
            verticalScrollBar()->setValue(y);
        }
        if (preview_ && preview_->isVisible()) preview_->update();
        DeleteSelectionBox();
        const QRect selection(0, 0, std::min(logo::kLogoSize, natural.width()),
                              std::min(logo::kLogoSize, natural.height()));
        m_pSelectionBox = new CSelectionBox(this, selection);
        ApplySelection();
    } else {
        SetScrollSizes(doc->m_bFitToWindow ? QSize(0, 0) : natural);
        ApplySelection();
    }
    viewport()->update();
}

void CLogoView::paintEvent(QPaintEvent* e) {
    // Drawn off screen first, then copied in one block, so the picture never flickers.
    const QRect area = e->rect();
    QImage buffer(area.size(), QImage::Format_RGB32);
    buffer.fill(palette().color(QPalette::Base));
    {
        QPainter p(&buffer);
        p.translate(-area.topLeft());
        OnDraw(p);
    }
    QPainter target(viewport());
    target.drawImage(area.topLeft(), buffer);
}

void CLogoView::OnDraw(QPainter& p) {
    CLyraDoc* doc = Doc();
    if (doc == nullptr || !doc->m_pSourceImage) return;
    const LbImage& picture = *doc->m_pSourceImage;
    const QPoint scroll = ScrollPosition();
    if (doc->m_bFitToWindow) {
        LbStretch(picture, p, 0, 0, viewport()->width(), viewport()->height());
    } else if (doc->m_fZoom == 1.0f) {
        LbDraw(picture, p, -scroll.x(), -scroll.y());
    } else {
        LbDraw(picture, p, -scroll.x(), -scroll.y(), int(float(picture.GetWidth()) * doc->m_fZoom),
               int(float(picture.GetHeight()) * doc->m_fZoom));
    }
}

void CLogoView::mouseMoveEvent(QMouseEvent* e) {
    CLyraDoc* doc = Doc();
    if (doc != nullptr && doc->m_pSourceImage) {
        const QPoint at = e->position().toPoint();
        int x = at.x(), y = at.y();
        ViewToImage(x, y);
        std::string text;
        if (doc->m_pSourceImage->IsInside(x, y)) text = logo::PointerText({x, y});
        if (m_pSelectionBox != nullptr) text += logo::SelectionText(ToRect(m_pSelectionBox->Selection()));
        ShowStatus(text);
    }
    QAbstractScrollArea::mouseMoveEvent(e);
}

void CLogoView::ShowStatus(const std::string& text) {
    // Pane 0 of the main window's status bar; without one, the status line service.
    if (auto* main = qobject_cast<QMainWindow*>(window())) {
        if (text.empty())
            main->statusBar()->clearMessage();
        else
            main->statusBar()->showMessage(QString::fromStdString(text));
        return;
    }
    platform::services().status->Show(text);
}

void CLogoView::contextMenuEvent(QContextMenuEvent* e) {
    // Screen capture has no menu item or key; the page offers it here, where it leaves
    // the menus and the accelerator table as they are.
    auto* frame = qobject_cast<CMainFrame*>(window());
    if (frame == nullptr) return;
    QMenu menu(this);
    QAction* capture = menu.addAction("Capture...");
    if (menu.exec(e->globalPos()) == capture) frame->Router().Execute(cmd::Capture);
}
