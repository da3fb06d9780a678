#include "logo/widgets/CLogoView.h"

#include <QColorDialog>
#include <QContextMenuEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStatusBar>
#include <QWheelEvent>
#include <algorithm>

#include "app/CommandIds.h"
#include "app/LyraApp.h"
#include "app/widgets/CLogoPreviewBar.h"
#include "image/widgets/LbImageQt.h"
#include "logo/DeviceLogoFile.h"
#include "logo/LogoPipeline.h"
#include "logo/LogoRecipe.h"
#include "logo/SelectionStep.h"
#include "logo/widgets/CSelectionBox.h"
#include "logo/widgets/ScreenCapture.h"
#include "platform/Services.h"

namespace {

logo::Rect ToRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

// Zoom steps of the zoom commands: powers of two, so that picture pixels map onto
// whole screen pixels (or whole groups of picture pixels onto one screen pixel).
constexpr float kZooms[] = {0.125f, 0.25f, 0.5f, 1.0f, 2.0f, 4.0f, 8.0f};
constexpr int kZoomCount = int(sizeof kZooms / sizeof kZooms[0]);

// Auto-scroll: how far within the view's edge a dragging pointer starts it, and the
// most one step scrolls (a step every 20 ms: up to 12000 pixels a second).
constexpr int kAutoScrollMargin = 8;
constexpr int kAutoScrollMaxStep = 240;

}  // namespace

CLogoView::CLogoView(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName("logoView");
    viewport()->setMouseTracking(true);
    // The off-screen painting covers the whole area: nothing is erased first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    autoScroll_ = new QTimer(this);
    autoScroll_->setInterval(20);
    connect(autoScroll_, &QTimer::timeout, this, &CLogoView::AutoScrollStep);
    RegisterCommands();
}

void CLogoView::RegisterCommands() {
    auto picture = [this](platform::CmdUI& ui) { ui.Enable(Doc() != nullptr && Doc()->SourceImage() != nullptr); };
    for (bool redo : {false, true}) {
        OnCommand(redo ? cmd::EditRedo : cmd::EditUndo, [this, redo] {
            if (Doc() != nullptr) Doc()->RunHistoryCommand(DataKind::Logo, redo);
        });
        OnUpdateCommand(redo ? cmd::EditRedo : cmd::EditUndo, [this, redo](platform::CmdUI& ui) {
            if (Doc() != nullptr) Doc()->UpdateHistoryCommand(DataKind::Logo, redo, ui);
        });
    }
    OnCommand(cmd::ZoomIn, [this] { Zoom(1); });
    OnCommand(cmd::ZoomOut, [this] { Zoom(-1); });
    OnCommand(cmd::ZoomActual, [this] { SetZoom(1.0f, false); });
    OnCommand(cmd::ZoomFit, [this] { SetZoom(Doc()->Zoom(), !Doc()->FitToWindow()); });
    OnUpdateCommandRange(cmd::ZoomIn, cmd::ZoomActual, picture);
    OnUpdateCommand(cmd::ZoomFit, [this, picture](platform::CmdUI& ui) {
        picture(ui);
        ui.SetCheck(Doc() != nullptr && Doc()->FitToWindow());
    });
    OnCommand(cmd::SquareSelection, [this] {
        squareSelection_ = !squareSelection_;
        // Turning it on squares the present selection at once (its shorter side).
        if (!squareSelection_ || m_pSelectionBox == nullptr || Doc() == nullptr || !Doc()->SourceImage()) return;
        logo::Rect s = PictureSelection();
        const int side = std::min(s.Width(), s.Height());
        PlaceBox({s.left, s.top, s.left + side, s.top + side});
    });
    OnUpdateCommand(cmd::SquareSelection, [this](platform::CmdUI& ui) {
        ui.Enable(true);
        ui.SetCheck(squareSelection_);
    });
    OnCommand(cmd::PreviewDouble, [this] {
        previewScale_ = previewScale_ == 1 ? 2 : 1;
        if (auto* bar = preview_ ? qobject_cast<CLogoPreviewBar*>(preview_->parentWidget()) : nullptr)
            bar->SetScale(previewScale_);
        else if (preview_)
            preview_->setFixedSize(logo::kLogoSize * previewScale_, logo::kLogoSize * previewScale_);
    });
    OnUpdateCommand(cmd::PreviewDouble, [this](platform::CmdUI& ui) {
        ui.Enable(true);
        ui.SetCheck(previewScale_ == 2);
    });
    OnCommand(cmd::LogoBackground, [this] {
        CLyraDoc* doc = Doc();
        if (doc == nullptr) return;
        const LbRgbQuad now = doc->LogoBackground();
        QColor colour(now.red, now.green, now.blue);
        const bool chosen = chooseColour_ ? chooseColour_(colour) : [&] {
            const QColor picked = QColorDialog::getColor(colour, this, "Background colour");
            colour = picked;
            return picked.isValid();
        }();
        if (!chosen) return;
        doc->SetLogoBackground(LbRgbQuad{uint8_t(colour.blue()), uint8_t(colour.green()), uint8_t(colour.red()), 0});
    });
    OnUpdateCommand(cmd::LogoBackground, [](platform::CmdUI& ui) { ui.Enable(true); });
    OnCommand(cmd::CopyCommandLine, [this] {
        CLyraDoc* doc = Doc();
        if (doc == nullptr || !doc->SourceImage() || doc->Recipe().picture.empty()) return;
        platform::services().clipboard->SetText(logo::CommandLine(doc->Recipe(), PictureSelection(), doc->Dither() != 0));
    });
    OnUpdateCommand(cmd::CopyCommandLine, [this](platform::CmdUI& ui) {
        ui.Enable(Doc() != nullptr && Doc()->SourceImage() && !Doc()->Recipe().picture.empty() &&
                  m_pSelectionBox != nullptr);
    });
}

void CLogoView::Zoom(int steps) {
    CLyraDoc* doc = Doc();
    if (doc == nullptr || !doc->SourceImage()) return;
    int at = 0;
    while (at + 1 < kZoomCount && kZooms[at] < doc->Zoom()) ++at;
    at = std::clamp(at + steps, 0, kZoomCount - 1);
    SetZoom(kZooms[at], false);
}

void CLogoView::SetZoom(float zoom, bool fitToWindow) {
    CLyraDoc* doc = Doc();
    if (doc == nullptr) return;
    const bool hasPicture = doc->SourceImage() != nullptr;
    const logo::Rect selection = PictureSelection();
    // The selection's centre stays where it is shown when it is in view; otherwise it
    // comes to the middle of the view.
    QPoint anchor = viewport()->rect().center();
    if (m_pSelectionBox != nullptr && viewport()->rect().contains(m_pSelectionBox->Selection().center()))
        anchor = m_pSelectionBox->Selection().center();
    doc->SetZoom(zoom, fitToWindow);
    if (!hasPicture) return;
    // The box is put in its new place in one step: the scroll moves on the way carry it
    // through places whose mapping is no longer the one it was placed with.
    placing_ = true;
    const logo::Point shown = logo::ShownSize(Mapping());
    SetScrollSizes(fitToWindow ? QSize(0, 0) : QSize(shown.x, shown.y));
    if (m_pSelectionBox != nullptr && !fitToWindow) {
        logo::ViewMapping unscrolled = Mapping();
        unscrolled.scrollX = unscrolled.scrollY = 0;
        const logo::Point from = logo::ImageToView({selection.left, selection.top}, unscrolled);
        const logo::Point to = logo::ImageToView({selection.right, selection.bottom}, unscrolled);
        // Then as much more as it takes to show the whole selection, where it fits.
        auto scrollTo = [](int start, int end, int anchor, int page) {
            const int scroll = (start + end) / 2 - anchor;
            return end - start <= page ? std::clamp(scroll, end - page, start) : scroll;
        };
        horizontalScrollBar()->setValue(scrollTo(from.x, to.x, anchor.x(), viewport()->width()));
        verticalScrollBar()->setValue(scrollTo(from.y, to.y, anchor.y(), viewport()->height()));
    }
    if (m_pSelectionBox != nullptr) PlaceBox(selection);
    placing_ = false;
    ApplySelection();
    viewport()->update();
}

void CLogoView::PlaceBox(const logo::Rect& s) {
    if (m_pSelectionBox == nullptr || Doc() == nullptr || !Doc()->SourceImage()) return;
    const logo::ViewMapping m = Mapping();
    const logo::Point tl = logo::ImageToView({s.left, s.top}, m);
    const logo::Point br = logo::ImageToView({s.right, s.bottom}, m);
    const QPoint scroll = ScrollPosition();
    placed_ = s;
    placedAt_ = QRect(tl.x + scroll.x(), tl.y + scroll.y(), br.x - tl.x, br.y - tl.y);
    const logo::Rect box = logo::BoxForSelection({tl.x, tl.y, br.x, br.y});
    m_pSelectionBox->setGeometry(box.left, box.top, box.Width(), box.Height());
}

logo::Rect CLogoView::PictureSelection() const {
    CLyraDoc* doc = Doc();
    if (m_pSelectionBox == nullptr || doc == nullptr || !doc->SourceImage()) return {};
    const QRect box = m_pSelectionBox->geometry();
    const QRect selection = m_pSelectionBox->Selection().translated(ScrollPosition());
    if (selection == placedAt_) return placed_;
    if (selection.size() == placedAt_.size()) {
        // Moved, not sized: the same picture pixels from the new top-left. Mapping both
        // corners on their own would let the size drift by a pixel at every zoom but 1.
        const logo::Point at = logo::ViewToImage({box.left() + logo::kBoxFrame, box.top() + logo::kBoxFrame}, Mapping());
        return {at.x, at.y, at.x + placed_.Width(), at.y + placed_.Height()};
    }
    return logo::PictureSelectionOfBox(ToRect(box), Mapping());
}

logo::ScrollState CLogoView::DragLimits() const {
    const QPoint scroll = ScrollPosition();
    if (Doc() != nullptr && Doc()->FitToWindow()) {
        if (!Doc()->SourceImage()) return {viewport()->width(), viewport()->height(), 0, 0};
        const logo::Point shown = logo::ShownSize(Mapping());  // the fitted picture, not the client area
        return {shown.x, shown.y, 0, 0};
    }
    return {total_.width(), total_.height(), scroll.x(), scroll.y()};
}

void CLogoView::AutoScroll(const QPoint& pointer, std::function<void()> onStep) {
    autoScrollPointer_ = pointer;
    autoScrollStep_ = std::move(onStep);
    const QRect inner = viewport()->rect().adjusted(kAutoScrollMargin, kAutoScrollMargin, -kAutoScrollMargin,
                                                    -kAutoScrollMargin);
    if (inner.contains(pointer))
        autoScroll_->stop();
    else if (!autoScroll_->isActive())
        autoScroll_->start();
}

void CLogoView::StopAutoScroll() {
    autoScroll_->stop();
    autoScrollStep_ = nullptr;
}

void CLogoView::AutoScrollStep() {
    // The step grows with the distance beyond the edge, so a pointer held far out
    // crosses a very large picture within seconds.
    const QRect area = viewport()->rect();
    auto step = [](int p, int low, int high) {
        if (p < low + kAutoScrollMargin) return -std::min(kAutoScrollMaxStep, low + kAutoScrollMargin - p);
        if (p > high - kAutoScrollMargin) return std::min(kAutoScrollMaxStep, p - (high - kAutoScrollMargin));
        return 0;
    };
    const int dx = step(autoScrollPointer_.x(), area.left(), area.right());
    const int dy = step(autoScrollPointer_.y(), area.top(), area.bottom());
    const QPoint before = ScrollPosition();
    horizontalScrollBar()->setValue(before.x() + dx);
    verticalScrollBar()->setValue(before.y() + dy);
    if (ScrollPosition() == before) return;  // at the end of the area: nothing more to show
    if (autoScrollStep_) autoScrollStep_();
}

void CLogoView::wheelEvent(QWheelEvent* e) {
    if (e->modifiers() & Qt::ControlModifier) {
        const int delta = e->angleDelta().y();
        if (delta != 0) Zoom(delta > 0 ? 1 : -1);
        e->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(e);
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
    // The margins around the picture scroll with it.
    const QSize area = total_.isEmpty() ? QSize(0, 0) : total_ + QSize(2 * kMargin, 2 * kMargin);
    horizontalScrollBar()->setRange(0, std::max(0, area.width() - page.width()));
    verticalScrollBar()->setRange(0, std::max(0, area.height() - page.height()));
}

void CLogoView::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    UpdateScrollBars();
    // Fitted into the window, the picture's scale follows the window: the box goes
    // back over the same picture pixels.
    CLyraDoc* doc = Doc();
    if (doc != nullptr && doc->FitToWindow() && doc->SourceImage() && m_pSelectionBox != nullptr && !placing_) {
        PlaceBox(placed_);
        ApplySelection();
        viewport()->update();
    }
}

void CLogoView::scrollContentsBy(int dx, int dy) {
    // The picture and the selection box move together, as the box lies on the content.
    viewport()->scroll(dx, dy);
}

void CLogoView::Capture() {
    if (Doc() != nullptr) OnCapture(*window(), *Doc());
}

void CLogoView::SetPreview(CLogoPreview* preview) {
    preview_ = preview;
    if (preview_ == nullptr) return;
    preview_->SetPainter([this](QPainter& painter, const QRect& rect) {
        if (Doc() != nullptr) PaintPreview(*Doc(), painter, rect);
    });
}

QImage CLogoView::DevicePreview(const LbImage& logo) {
    QImage out = LbToQImage(logo);
    // The 5-bit channels the logo file keeps, as reading the file widens them: the
    // top three bits repeated below the five (31 becomes 255).
    constexpr QRgb kFiveBits = 0xFFF8F8F8;
    for (int row = 0; row < out.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(row));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb five = line[x] & kFiveBits;
            line[x] = five | ((five >> 5) & 0x070707);
        }
    }
    return out;
}

void CLogoView::PaintPreview(const CLyraDoc& doc, QPainter& painter, const QRect& rect) {
    if (!doc.LogoImage()) return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect, DevicePreview(*doc.LogoImage()));
    painter.restore();
}

void CLogoView::NewSelectionBox() {
    CSelectionBox::DragRules rules{Origin(), [this] { return DragLimits(); }, [this] { return squareSelection_; }};
    m_pSelectionBox = new CSelectionBox(viewport(), QRect(0, 0, 1, 1), std::move(rules));
    connect(m_pSelectionBox, &CSelectionBox::moved, this, &CLogoView::ApplySelection);
    connect(m_pSelectionBox, &CSelectionBox::resized, this, &CLogoView::ApplySelection);
    connect(m_pSelectionBox, &CSelectionBox::dragged, this, &CLogoView::BoxDragged);
    connect(m_pSelectionBox, &CSelectionBox::released, this, [this] {
        StopAutoScroll();
        if (Doc() != nullptr) Doc()->FinishSelection();
    });
}

void CLogoView::BoxDragged(const QPoint& pointer) {
    // At the view's edge the view scrolls on, and the box follows the pointer there.
    QPointer<CSelectionBox> box(m_pSelectionBox);
    AutoScroll(pointer, [box, pointer] {
        if (box) box->DragTo(pointer);
    });
}

void CLogoView::DeleteSelectionBox() {
    delete m_pSelectionBox;
    m_pSelectionBox = nullptr;
}

void CLogoView::OnInitialUpdate() {
    // The base: an update with hint 0, which with a picture keeps the box where it is
    // and fits the scroll range and the working logo to the picture.
    platform::View::OnInitialUpdate();
    CLyraDoc* doc = Doc();
    if (doc != nullptr && doc->SourceImage()) {
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
            doc.Zoom(),
            doc.FitToWindow() != 0,
            int(doc.SourceImage()->GetWidth()),
            int(doc.SourceImage()->GetHeight()),
            viewport()->width(),
            viewport()->height(),
            kMargin};
}

void CLogoView::ViewToImage(int& x, int& y) const {
    CLyraDoc* doc = Doc();
    if (doc == nullptr || !doc->SourceImage()) return;
    const logo::Point p = logo::ViewToImage({x, y}, Mapping());
    x = p.x;
    y = p.y;
}

void CLogoView::ApplySelection() {
    CLyraDoc* doc = Doc();
    if (m_pSelectionBox == nullptr || doc == nullptr || !doc->SourceImage() || placing_) return;
    const logo::Rect selection = PictureSelection();
    // Where the box stands now is where this selection was taken: the next move keeps
    // its size in picture pixels.
    placed_ = selection;
    placedAt_ = m_pSelectionBox->Selection().translated(ScrollPosition());
    const logo::SelectionStep step = logo::ApplyPictureSelection(*doc, selection);
    if (!step.applied) return;
    if (preview_) preview_->update();
    ShowStatus(step.status);
}

void CLogoView::OnUpdate(platform::View*, long hint) {
    CLyraDoc* doc = Doc();
    if (doc == nullptr || !doc->SourceImage()) return;
    const LbImage& picture = *doc->SourceImage();
    const QSize natural(int(float(picture.GetWidth()) * doc->Zoom()), int(float(picture.GetHeight()) * doc->Zoom()));
    if (hint == hint::PictureLoaded && doc->FitToWindow()) {
        // A new picture is fitted like the last one: there is nothing to scroll.
        SetScrollSizes({0, 0});
        DeleteSelectionBox();
        const logo::Rect first = logo::FirstSelection(int(picture.GetWidth()), int(picture.GetHeight()));
        placedAt_ = QRect();
        NewSelectionBox();
        PlaceBox(first);
        ApplySelection();
    } else if (hint == hint::PictureLoaded) {
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
        // The first selection: at most 96 x 96 picture pixels from the picture point
        // at the view's top-left, whatever the zoom.
        const logo::Point at = logo::ViewToImage({kMargin, kMargin}, Mapping());
        const logo::Rect first = logo::FirstSelection(int(picture.GetWidth()), int(picture.GetHeight()));
        placedAt_ = QRect();
        NewSelectionBox();
        PlaceBox({at.x, at.y, at.x + first.right, at.y + first.bottom});
        ApplySelection();
    } else if (hint == hint::SelectionChanged) {
        // Undo or redo put the selection back: the box goes over it.
        if (m_pSelectionBox != nullptr) PlaceBox(doc->Selection());
        ApplySelection();
    } else {
        SetScrollSizes(doc->FitToWindow() ? QSize(0, 0) : natural);
        // Fitted, a turned picture has another scale: the box follows its pixels.
        if (doc->FitToWindow() && m_pSelectionBox != nullptr) PlaceBox(placed_);
        ApplySelection();
    }
    viewport()->update();
}

void CLogoView::paintEvent(QPaintEvent* e) {
    // The window system already paints off screen and shows the result in one piece;
    // only the rectangles of the region are drawn, so that a moving selection box
    // costs the strips its frame uncovers, not the whole picture under it.
    QPainter target(viewport());
    const QColor background = palette().color(QPalette::Base);
    // Fitted into the window, the whole picture is stretched: it is converted once
    // here, not once for every rectangle.
    CLyraDoc* doc = Doc();
    QImage fitted;
    if (doc != nullptr && doc->SourceImage() && doc->FitToWindow()) fitted = LbToQImage(*doc->SourceImage());
    for (const QRect& area : e->region()) {
        target.save();
        target.setClipRect(area);
        target.fillRect(area, background);
        OnDraw(target, fitted);
        target.restore();
    }
}

void CLogoView::OnDraw(QPainter& p, const QImage& fitted) {
    CLyraDoc* doc = Doc();
    if (doc == nullptr || !doc->SourceImage()) return;
    const LbImage& picture = *doc->SourceImage();
    const QPoint scroll = ScrollPosition();
    if (doc->FitToWindow()) {
        // Scaled alike in both directions, from the client's top-left, without smoothing.
        const logo::Point shown = logo::ShownSize(Mapping());
        if (fitted.isNull() || shown.x <= 0 || shown.y <= 0) return;
        p.save();
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(QRect(kMargin, kMargin, shown.x, shown.y), fitted);
        p.restore();
    } else if (doc->Zoom() == 1.0f) {
        LbDraw(picture, p, kMargin - scroll.x(), kMargin - scroll.y());
    } else {
        LbDraw(picture, p, kMargin - scroll.x(), kMargin - scroll.y(), int(float(picture.GetWidth()) * doc->Zoom()),
               int(float(picture.GetHeight()) * doc->Zoom()));
    }
}

void CLogoView::mouseMoveEvent(QMouseEvent* e) {
    CLyraDoc* doc = Doc();
    if (doc != nullptr && doc->SourceImage()) {
        const QPoint at = e->position().toPoint();
        int x = at.x(), y = at.y();
        ViewToImage(x, y);
        std::string text;
        if (doc->SourceImage()->IsInside(x, y)) text = logo::PointerText({x, y});
        if (m_pSelectionBox != nullptr) text += logo::SelectionText(PictureSelection());
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
    // Screen capture is also in the File menu and on the toolbar; the picture's own
    // menu offers it where the pointer is.
    if (!isSignalConnected(QMetaMethod::fromSignal(&CLogoView::captureWanted))) return;
    QMenu menu(this);
    QAction* capture = menu.addAction("Capture screen...");
    if (menu.exec(e->globalPos()) == capture) emit captureWanted();
}
