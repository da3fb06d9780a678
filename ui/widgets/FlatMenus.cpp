#include "ui/widgets/FlatMenus.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <vector>

#include "ui/widgets/QtColors.h"

namespace {

struct State {
    int installs = 0;
    QStyle* style = nullptr;
    std::vector<QPointer<QWidget>> styled;  // widgets given the flat style
    ui::MenuTextCache texts;
    QRect barItem;
    unsigned char drawCounter = 0;
};

State& S() {
    static State state;
    return state;
}

QFont MenuFont(bool bold) {
    QFont f = QApplication::font();
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    return f;
}

QColor Face(const QPalette& p) { return p.color(QPalette::Button); }

int BarTextWidth(const QString& text) {
    return QFontMetrics(MenuFont(false)).horizontalAdvance(QString::fromStdString(ui::SplitMenuText(text.toStdString()).label));
}

// Darkens one pixel of an image by shade step a.
void DarkenPixel(QImage& img, int x, int y, int a) {
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return;
    QColor c = img.pixelColor(x, y);
    img.setPixelColor(x, y, ToQColor(ui::Darken(ToRgb(c), a)));
}

// Screen rectangle of the bar item a pop-up belongs to; empty for other pop-ups.
QRect BarItemOf(const QWidget* w) {
    auto* menu = qobject_cast<const QMenu*>(w);
    auto* bar = menu ? qobject_cast<const QMenuBar*>(menu->parentWidget()) : nullptr;
    if (!bar) return QRect();
    QRect r = bar->actionGeometry(menu->menuAction());
    return r.isEmpty() ? QRect() : QRect(bar->mapToGlobal(r.topLeft()), r.size());
}

void ApplyStyle(QWidget* w) {
    if (!S().style || w->style() == S().style) return;
    w->setStyle(S().style);
    S().styled.emplace_back(w);
}

// Places pop-ups opened from the menu bar one pixel higher, over the open bar item's
// bottom line, so the two join; picks a pop-up item by a typed character before Qt's
// own mnemonic handling; and repaints the menu bar when its window gains or loses
// activation.
class MenuCharFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* obj, QEvent* ev) override {
        auto* menu = qobject_cast<QMenu*>(obj);
        if (ev->type() == QEvent::ActivationChange && qobject_cast<QMenuBar*>(obj)) {
            static_cast<QWidget*>(obj)->update();  // the item texts change colour
            return false;
        }
        if (ev->type() == QEvent::Show && menu) {
            QRect bar = BarItemOf(menu);
            if (!bar.isEmpty() && bar.bottom() + 1 == menu->y()) menu->move(menu->x(), menu->y() - 1);
            return false;
        }
        if (ev->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(ev);
        if (!menu || key->text().size() != 1 || (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
            return false;
        QChar c = key->text().at(0);
        if (!c.isPrint() || c.isSpace()) return false;
        int index = CFlatMenus::MenuChar(menu, c);
        if (index < 0) return false;
        QAction* action = menu->actions().at(index);
        menu->setActiveAction(action);
        if (action->menu()) return true;  // the active item opens its pop-up
        if (action->isEnabled()) {
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(menu, &enter);
        }
        return true;
    }
};

MenuCharFilter* CharFilter() {
    static MenuCharFilter* filter = new MenuCharFilter(qApp);
    return filter;
}

class FlatMenuStyle : public QProxyStyle {
public:
    explicit FlatMenuStyle(QStyle* base) : QProxyStyle(base) {}

    int pixelMetric(PixelMetric m, const QStyleOption* opt, const QWidget* w) const override {
        switch (m) {
        case PM_MenuPanelWidth:
            return 3;
        case PM_MenuHMargin:
        case PM_MenuVMargin:
        case PM_MenuBarPanelWidth:
        case PM_MenuBarItemSpacing:
        case PM_MenuBarVMargin:
        case PM_MenuBarHMargin:
        case PM_MenuDesktopFrameWidth:
            return 0;
        default:
            return QProxyStyle::pixelMetric(m, opt, w);
        }
    }

    int styleHint(StyleHint h, const QStyleOption* opt, const QWidget* w, QStyleHintReturn* r) const override {
        if (h == SH_Menu_Scrollable || h == SH_MenuBar_AltKeyNavigation) return h == SH_MenuBar_AltKeyNavigation;
        return QProxyStyle::styleHint(h, opt, w, r);
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* opt, const QSize& size,
                           const QWidget* w) const override {
        if (type == CT_MenuItem && w && w->property(CFlatMenus::kItemDataProperty).isValid()) {
            auto* mi = static_cast<const QStyleOptionMenuItem*>(opt);
            bool separator = mi->menuItemType == QStyleOptionMenuItem::Separator;
            uint32_t data = w->property(separator ? CFlatMenus::kSeparatorDataProperty : CFlatMenus::kItemDataProperty)
                                .toUInt();
            ui::ItemSize s = ui::MeasureMenuItem(data);
            // The menu adds the widest key text itself after asking for each item.
            return QSize(s.width - w->property(CFlatMenus::kKeyWidthProperty).toInt(), s.height);
        }
        if (type == CT_MenuBarItem && w && w->property(CFlatMenus::kMarkProperty).isValid()) {
            auto* mi = static_cast<const QStyleOptionMenuItem*>(opt);
            ui::ItemSize s = ui::MeasureMenuItem(ui::BarItemData(BarTextWidth(mi->text)));
            return QSize(s.width, CFlatMenus::ItemHeight());
        }
        return QProxyStyle::sizeFromContents(type, opt, size, w);
    }

    void drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p, const QWidget* w) const override {
        switch (pe) {
        case PE_PanelMenu:
            p->fillRect(opt->rect, Adjusted(Face(opt->palette), 75, 0));
            return;
        case PE_FrameMenu:
            DrawPopupFrame(opt, p, w);
            return;
        case PE_PanelMenuBar:
            p->fillRect(opt->rect, Face(opt->palette));
            return;
        default:
            QProxyStyle::drawPrimitive(pe, opt, p, w);
        }
    }

    void drawControl(ControlElement ce, const QStyleOption* opt, QPainter* p, const QWidget* w) const override {
        switch (ce) {
        case CE_MenuItem:
            DrawItem(static_cast<const QStyleOptionMenuItem*>(opt), p, w, false);
            return;
        case CE_MenuBarItem:
            DrawItem(static_cast<const QStyleOptionMenuItem*>(opt), p, w, true);
            return;
        case CE_MenuBarEmptyArea:
        case CE_MenuEmptyArea:
            p->fillRect(opt->rect, ce == CE_MenuBarEmptyArea ? Face(opt->palette) : Adjusted(Face(opt->palette), 75, 0));
            return;
        default:
            QProxyStyle::drawControl(ce, opt, p, w);
        }
    }

private:
    void DrawPopupFrame(const QStyleOption* opt, QPainter* p, const QWidget* w) const {
        QRect r = opt->rect.adjusted(0, 0, -1, -1);
        p->setBrush(Qt::NoBrush);
        p->setPen(Adjusted(opt->palette.color(QPalette::Dark), -40, 0));
        p->drawRect(r);
        p->setPen(Adjusted(Face(opt->palette), 75, 0));
        p->drawRect(r.adjusted(1, 1, -1, -1));
        p->drawRect(r.adjusted(2, 2, -2, -2));
        // A pop-up opened right under the open bar item joins it: no line between them.
        QRect bar = BarItemOf(w);
        if (!bar.isEmpty() && bar.bottom() == w->geometry().top()) {
            int x0 = bar.left() - w->geometry().left() + 1;
            int x1 = bar.right() - 4 - w->geometry().left() - 1;
            p->setPen(Adjusted(Face(opt->palette), 20, 0));
            if (x1 >= x0) p->drawLine(x0, 0, x1, 0);
        }
    }

    void DrawItem(const QStyleOptionMenuItem* mi, QPainter* painter, const QWidget* w, bool barItem) const {
        const QPalette& pal = mi->palette;
        QRect full = mi->rect;
        if (full.isEmpty()) return;
        // Drawn off screen, then copied to the menu in one piece.
        QImage img(full.size(), QImage::Format_RGB32);
        QPainter p(&img);
        QRect r(0, 0, full.width(), full.height());
        // The items of a window that is not the active one are drawn as inactive.
        bool inactive = w && !w->isActiveWindow();
        bool selected = (mi->state & State_Selected) && !(barItem && inactive);
        bool open = barItem && (mi->state & State_Sunken);
        bool enabled = mi->state & State_Enabled;
        QColor face = Face(pal);
        QColor highlight = pal.color(QPalette::Highlight);

        if (open) {
            p.setPen(Adjusted(pal.color(QPalette::Dark), -40, 0));
            p.setBrush(Adjusted(face, 20, 0));
            p.drawRect(QRect(r.left(), r.top(), r.width() - 4, r.height()).adjusted(0, 0, -1, -1));
            p.fillRect(r.right() - 3, r.top(), 4, r.height(), face);
            for (int k = 0; k < 4; ++k)
                for (int j = ui::RightBandFirstRow(k); j < ui::RightBandRowEnd(k, r.height()); ++j)
                    DarkenPixel(img, r.right() - k, r.top() + j + 4, ui::RightBandShade(j, k));
            CFlatMenus::SetBarItemRect(
                QRect(w ? w->mapToGlobal(full.topLeft()) : full.topLeft(), QSize(full.width(), full.height())));
        } else if (selected) {
            p.setPen(highlight);
            p.setBrush(enabled ? Adjusted(highlight, 70, -57) : Adjusted(face, 73, 0));
            QRect box = barItem ? QRect(r.left(), r.top(), r.width() - 4, r.height()) : r;
            p.drawRect(box.adjusted(0, 0, -1, -1));
            if (barItem) p.fillRect(r.right() - 3, r.top(), 4, r.height(), face);
        } else if (barItem) {
            p.fillRect(r, face);
        } else {
            p.fillRect(r.left(), r.top(), 22, r.height(), Adjusted(face, 20, 0));
            p.fillRect(r.left() + 22, r.top(), r.width() - 22, r.height(), Adjusted(face, 75, 0));
        }

        if (mi->menuItemType == QStyleOptionMenuItem::Separator) {
            p.setPen(Adjusted(face, -18, 0));
            int y = r.top() + r.height() / 2;
            p.drawLine(r.left() + 30, y, r.right() - 1, y);
        } else {
            QColor text = inactive  ? pal.color(QPalette::Dark)
                          : enabled ? pal.color(QPalette::WindowText)
                                    : Adjusted(face, -18, 0);
            p.setPen(text);
            p.setFont(MenuFont(mi->menuItemType == QStyleOptionMenuItem::DefaultItem));
            int mnemonic = proxy()->styleHint(SH_UnderlineShortcut, mi, w) ? Qt::TextShowMnemonic : Qt::TextHideMnemonic;
            QString label = mi->text.section('\t', 0, 0);
            if (barItem) {
                p.drawText(QRect(r.left(), r.top(), r.width() - 4, r.height()),
                           Qt::AlignCenter | Qt::TextSingleLine | mnemonic, label);
            } else {
                p.drawText(QRect(r.left() + 30, r.top(), r.width() - 30, r.height()),
                           Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | mnemonic, label);
                int tab = mi->text.indexOf('\t');
                if (tab >= 0)
                    p.drawText(QRect(r.left(), r.top(), r.width() - 12, r.height()),
                               Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, mi->text.mid(tab + 1));
                if (mi->checkType != QStyleOptionMenuItem::NotCheckable && mi->checked)
                    DrawCheck(p, r, mi, selected, enabled);
                if (mi->menuItemType == QStyleOptionMenuItem::SubMenu) {
                    // An item that opens a menu of its own points to it.
                    int cx = r.right() - 8, cy = r.top() + r.height() / 2;
                    p.setPen(Qt::NoPen);
                    p.setBrush(text);
                    p.drawPolygon(QPolygon({QPoint(cx - 3, cy - 4), QPoint(cx + 1, cy), QPoint(cx - 3, cy + 4)}));
                }
            }
        }
        p.end();
        painter->drawImage(full.topLeft(), img);
        CFlatMenus::CountDraw();
    }

    void DrawCheck(QPainter& p, const QRect& r, const QStyleOptionMenuItem* mi, bool selected, bool enabled) const {
        const QPalette& pal = mi->palette;
        QColor highlight = pal.color(QPalette::Highlight);
        QColor fill = !enabled ? Adjusted(Face(pal), 73, 0)
                      : selected ? Adjusted(highlight, 50, -50)
                                 : Adjusted(highlight, 70, -57);
        p.setPen(highlight);
        p.setBrush(fill);
        p.drawRect(QRect(QPoint(r.left() + 1, r.top() + 1), QPoint(r.left() + 20, r.bottom() - 1)).adjusted(0, 0, -1, -1));
        QColor mark = enabled ? pal.color(QPalette::WindowText) : Adjusted(Face(pal), -27, 0);
        if (mi->checkType == QStyleOptionMenuItem::Exclusive) {
            int cx = (r.left() + 5 + r.left() + 20) / 2;
            int cy = r.top() + r.height() / 2;
            p.setPen(mark);
            p.setBrush(mark);
            p.drawEllipse(QRect(QPoint(cx - 4, cy - 3), QPoint(cx + 2, cy + 3)));
            p.setPen(fill);
            p.drawPoint(cx + 1, cy + 2);
            return;
        }
        // A check mark in a 15-pixel-wide cell.
        int x = r.left() + 5, y = r.top() + 3, h = r.height() - 6;
        QPen pen(mark, 2);
        p.setPen(pen);
        int midY = y + h / 2;
        p.drawLine(x + 2, midY, x + 5, midY + 3);
        p.drawLine(x + 5, midY + 3, x + 12, midY - 4);
    }
};

}  // namespace

void CFlatMenus::Install() {
    if (S().installs++ > 0) return;
    QStyle* base = QStyleFactory::create(QApplication::style()->name());
    S().style = new FlatMenuStyle(base);
}

void CFlatMenus::Remove() {
    if (S().installs == 0 || --S().installs > 0) return;
    for (QPointer<QWidget>& w : S().styled)
        if (w) w->setStyle(nullptr);
    S().styled.clear();
    delete S().style;
    S().style = nullptr;
}

bool CFlatMenus::Installed() { return S().installs > 0; }
QStyle* CFlatMenus::Style() { return S().style; }

void CFlatMenus::Mark(QWidget* window, bool on) {
    window->setProperty(kMarkProperty, on ? QVariant(1) : QVariant());
}

bool CFlatMenus::IsMarked(const QWidget* window) { return window && window->property(kMarkProperty).isValid(); }

namespace {
void StoreText(QAction* a) {
    if (a->isSeparator()) return;
    std::string text = a->text().toStdString();
    if (a->menu())
        S().texts.StoreForSubMenu(a->menu(), text);
    else
        S().texts.StoreForCommand(CFlatMenus::CommandIdOf(a), text);
}

void PruneTexts() {
    S().texts.Prune([](const void* menu) {
        for (QWidget* w : QApplication::allWidgets())
            if (w == menu) return true;
        return false;
    });
}
}  // namespace

void CFlatMenus::ConvertMenu(QWidget* window, QMenuBar* bar) {
    if (!IsMarked(window) || !bar) return;
    PruneTexts();
    bar->setProperty(kMarkProperty, 1);
    for (QAction* a : bar->actions()) StoreText(a);
    bar->installEventFilter(CharFilter());
    ApplyStyle(bar);
}

void CFlatMenus::ConvertMenu(QWidget* window, QMenu* menu) {
    if (!IsMarked(window) || !menu) return;
    PruneTexts();
    int widestText = 0, widestKey = 0;
    for (QAction* a : menu->actions()) {
        StoreText(a);
        if (a->isSeparator()) continue;
        QFontMetrics fm(MenuFont(menu->defaultAction() == a));
        ui::MenuTextParts parts = ui::SplitMenuText(a->text().toStdString());
        // The key column starts where the widest text ends; a text with a key of its
        // own counts a gap more, or it would touch its key ("Open...Ctrl+O").
        const int gap = parts.key.empty() ? 0 : 2 * fm.averageCharWidth();
        widestText = std::max(widestText, fm.horizontalAdvance(QString::fromStdString(parts.label)) + gap);
        widestKey = std::max(widestKey, fm.horizontalAdvance(QString::fromStdString(parts.key)));
    }
    uint32_t itemData = ui::PopupItemData(widestText, widestKey, ItemHeight());
    for (QAction* a : menu->actions())
        a->setProperty(kItemDataProperty, a->isSeparator() ? uint32_t(SeparatorHeight()) : itemData);
    menu->setProperty(kItemDataProperty, itemData);
    menu->setProperty(kSeparatorDataProperty, uint32_t(SeparatorHeight()));
    // What the menu adds for the key column on its own, in its own font.
    int qtKeyWidth = 0;
    for (QAction* a : menu->actions()) {
        int tab = a->text().indexOf('\t');
        if (tab >= 0) qtKeyWidth = std::max(qtKeyWidth, QFontMetrics(menu->font()).horizontalAdvance(a->text().mid(tab + 1)));
    }
    menu->setProperty(kKeyWidthProperty, qtKeyWidth);
    if (menu->style() != S().style) {
        menu->installEventFilter(CharFilter());
        ApplyStyle(menu);
    }
}

int CFlatMenus::MenuChar(const QMenu* menu, QChar c) {
    if (!menu || c.unicode() > 127) return -1;
    std::vector<std::string> texts;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            texts.emplace_back();
        else
            texts.push_back(a->menu() ? S().texts.ForSubMenu(a->menu()) : S().texts.ForCommand(CommandIdOf(a)));
    }
    return ui::MenuCharItem(texts, static_cast<char>(c.unicode()));
}

const ui::MenuTextCache& CFlatMenus::TextCache() { return S().texts; }

int CFlatMenus::ItemHeight() { return ui::MenuItemHeight(QFontMetrics(MenuFont(false)).height()); }
int CFlatMenus::SeparatorHeight() { return ui::MenuSeparatorHeight(QFontMetrics(MenuFont(false)).height()); }

QRect CFlatMenus::BarItemRect() { return S().barItem; }
void CFlatMenus::SetBarItemRect(const QRect& r) { S().barItem = r; }
unsigned char CFlatMenus::DrawCounter() { return S().drawCounter; }
void CFlatMenus::CountDraw() { ++S().drawCounter; }

ui::ItemSize CFlatMenus::MeasureItem(const QWidget* menuOrBar, const QAction* action) {
    if (qobject_cast<const QMenuBar*>(menuOrBar)) return ui::MeasureMenuItem(ui::BarItemData(BarTextWidth(action->text())));
    return ui::MeasureMenuItem(action->property(kItemDataProperty).toUInt());
}

int CFlatMenus::CommandIdOf(const QAction* action) {
    return action ? action->property("commandId").toInt() : 0;
}
