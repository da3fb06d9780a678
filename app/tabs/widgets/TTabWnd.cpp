#include "app/tabs/widgets/TTabWnd.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "ui/widgets/QtColors.h"

int TTabWnd::lastReported_ = -1;

namespace {
constexpr int kFirstViewId = 13576;  // control ids of the views, kept as object names
}

TTabWnd::TTabWnd(QWidget* parent) : QWidget(parent), font_(QFontDatabase::systemFont(QFontDatabase::GeneralFont)) {
    setObjectName("9592");
}

TTabWnd::~TTabWnd() = default;

TTabEntry* TTabWnd::CreateView(const QString& title, const ViewFactory& factory) {
    PageView pv = factory(this);
    if (!pv.widget) return nullptr;
    pv.widget->setObjectName(QString::number(kFirstViewId + TabCount()));
    auto entry = std::make_unique<TTabEntry>();
    entry->view = pv;
    entry->label = new QLabel(title, this);
    entry->label->setAlignment(Qt::AlignCenter);
    entry->label->setFont(font_);
    entry->label->setAttribute(Qt::WA_TransparentForMouseEvents);
    entry->label->show();
    entries_.push_back(std::move(entry));
    if (TabCount() == 1) {
        pv.widget->show();
        if (TViewHost* host = FindViewHost(this)) host->SetActiveView(pv);
    } else {
        pv.widget->setEnabled(false);
        pv.widget->hide();
    }
    PlaceStrip();
    LayoutViews();
    return entries_.back().get();
}

bool TTabWnd::SetActiveTab(int index, bool activateView) {
    if (index < 0 || index >= TabCount()) return false;
    if (index == active_) return true;
    TTabEntry& next = *entries_[index];
    if (!next.selectable || !next.visible) return false;
    QWidget* old = active_ >= 0 && active_ < TabCount() ? entries_[active_]->view.widget : nullptr;
    if (!MaySwitch(old, next.view.widget)) return false;
    if (old) {
        old->setEnabled(false);
        old->hide();
    }
    next.view.widget->setEnabled(next.enabled);
    next.view.widget->show();
    next.view.widget->setFocus();
    active_ = index;
    update(0, 0, width(), tabs::kStripHeight);
    Switched(old, next.view.widget);
    if (activateView)
        if (TViewHost* host = FindViewHost(parentWidget())) host->SetActiveView(next.view);
    return true;
}

bool TTabWnd::MaySwitch(QWidget*, QWidget*) { return true; }
void TTabWnd::Switched(QWidget*, QWidget*) {}

std::vector<tabs::TabItem> TTabWnd::Items() const {
    QFontMetrics fm(font_);
    std::vector<tabs::TabItem> items;
    for (const auto& e : entries_)
        items.push_back({fm.horizontalAdvance(e->label->text()), !e->icon.isNull(), e->visible, e->selectable});
    return items;
}

int TTabWnd::HitTest(QPoint p) const {
    std::vector<tabs::TabItem> items = Items();
    std::vector<tabs::TabPlace> places(entries_.size());
    for (size_t i = 0; i < entries_.size(); ++i) {
        places[i].left = entries_[i]->left;
        places[i].right = entries_[i]->right;
    }
    return tabs::HitTestTabs(items, places, p.x(), p.y());
}

void TTabWnd::SetTabFont(const QFont& font) {
    // Kept for the strip only: a Qt font set on the tab window would pass on to the
    // pages inside it.
    font_ = font;
    for (auto& e : entries_) e->label->setFont(font_);
    PlaceStrip();
    update(0, 0, width(), tabs::kStripHeight);
}

void TTabWnd::SetTabIcon(int index, const QIcon& icon) {
    entries_.at(index)->icon = icon;
    PlaceStrip();
    update();
}

int TTabWnd::IndexOfView(const QWidget* view) const {
    for (int i = 0; i < TabCount(); ++i)
        if (entries_[i]->view.widget == view) return i;
    return -1;
}

QWidget* TTabWnd::ViewAt(int index) const {
    return index >= 0 && index < TabCount() ? entries_[index]->view.widget : nullptr;
}

void TTabWnd::PlaceStrip() {
    std::vector<tabs::TabPlace> places = tabs::PlaceTabs(Items(), QFontMetrics(font_).height());
    for (size_t i = 0; i < entries_.size(); ++i) {
        TTabEntry& e = *entries_[i];
        e.left = places[i].left;
        e.right = places[i].right;
        const tabs::Rect& r = places[i].label;
        e.label->setVisible(e.visible);
        e.label->setGeometry(r.left, r.top, r.width(), r.height());
    }
}

void TTabWnd::LayoutViews() {
    if (inLayout_) return;
    inLayout_ = true;
    tabs::Rect r = tabs::ViewRect(width(), height());
    for (auto& e : entries_) e->view.widget->setGeometry(r.left, r.top, r.width(), r.height());
    inLayout_ = false;
}

void TTabWnd::resizeEvent(QResizeEvent*) { LayoutViews(); }

void TTabWnd::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QColor face = palette().color(QPalette::Button);
    p.fillRect(0, 0, width(), tabs::kStripHeight, ToQColor(ui::AdjustColor(ToRgb(face), 50, 0)));
    p.fillRect(0, tabs::kStripHeight, width(), height() - tabs::kStripHeight, face);

    QPen highlight(palette().color(QPalette::Light), 2);
    QPen shadow(palette().color(QPalette::Dark), 1);
    QPen white(Qt::white, 1);
    for (int i = 0; i < TabCount(); ++i) {
        const TTabEntry& e = *entries_[i];
        if (!e.visible) continue;
        int x = e.left;
        int d = e.right - e.left - 5;
        if (i == active_) {
            p.fillRect(x, 6, d + 5, 20, face);
            p.fillRect(0, 26, width(), 19, face);
            p.fillRect(x + 3, 9, d, 20, face);
            p.setPen(shadow);
            p.drawLine(x, 25, x, 5);
            p.drawLine(x, 5, x + d + 4, 5);
            p.drawLine(0, 25, x, 25);
            p.drawLine(x + d + 4, 5, x + d + 4, 25);
            p.drawLine(x + d + 4, 25, width() - 1, 25);
        } else {
            p.setPen(highlight);
            p.setBrush(face);
            p.drawRect(x, 6, d + 5, 19);
            p.setBrush(Qt::NoBrush);
            p.setPen(white);
            p.drawLine(x + 2, 23, x + 2, 6);
            p.drawLine(x + 2, 6, x + d + 3, 6);
            p.drawLine(x + d + 3, 6, x + d + 3, 24);
        }
        if (!e.icon.isNull()) e.icon.paint(&p, x + 4, 8, tabs::kIconSize, tabs::kIconSize);
    }
}

void TTabWnd::mouseReleaseEvent(QMouseEvent* ev) {
    if (ev->button() == Qt::LeftButton) {
        int hit = HitTest(ev->position().toPoint());
        if (hit >= 0) ActivateTab(hit);
    }
    QWidget::mouseReleaseEvent(ev);
}

void TTabWnd::ActivateTab(int index) {
    SetActiveTab(index, true);
    if (index != lastReported_) {
        lastReported_ = index;
        emit pageActivated(index);
    }
}
