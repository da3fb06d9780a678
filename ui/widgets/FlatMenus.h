#pragma once
// Flat menus: the menu bar and every pop-up of a marked window are measured and drawn
// by the program (flat items on the button face, a light strip left of pop-up items, a
// highlight box for the selected item, a three-line pop-up border), and a typed
// character picks an item by the program's own mnemonic rule.
//
// Install once at start-up and Remove at exit (reference counted). A window opts in
// with Mark; its owner converts the menu bar after loading it and every pop-up before
// it opens. Actions carry their command id in the property "commandId".
#include <QPointer>
#include <QRect>
#include <QString>

#include "ui/MenuRules.h"

class QAction;
class QMenu;
class QMenuBar;
class QStyle;
class QWidget;

class CFlatMenus {
public:
    static constexpr const char* kMarkProperty = "FlatWndProp_Menu";
    static constexpr const char* kItemDataProperty = "FlatMenuItemData";
    static constexpr const char* kSeparatorDataProperty = "FlatMenuSeparatorData";
    static constexpr const char* kKeyWidthProperty = "FlatMenuKeyWidth";

    static void Install();
    static void Remove();
    static bool Installed();
    static QStyle* Style();  // the drawing style while installed

    static void Mark(QWidget* window, bool on);
    static bool IsMarked(const QWidget* window);

    // Converts a menu bar (top level) or a pop-up about to open; nothing happens for
    // a window that is not marked.
    static void ConvertMenu(QWidget* window, QMenuBar* bar);
    static void ConvertMenu(QWidget* window, QMenu* menu);

    // The item a typed character picks in a pop-up, by the cached item texts, or -1.
    static int MenuChar(const QMenu* menu, QChar c);

    static const ui::MenuTextCache& TextCache();
    // Item height and separator height in the menu font.
    static int ItemHeight();
    static int SeparatorHeight();

    // The screen rectangle of the menu-bar item last drawn open (empty at start).
    static QRect BarItemRect();
    static void SetBarItemRect(const QRect& r);
    static unsigned char DrawCounter();
    static void CountDraw();

    static int CommandIdOf(const QAction* action);

    // The measured size of an item (its width from the item data word); menu-bar items
    // are laid out exactly that wide, their text and 4 pixels.
    static ui::ItemSize MeasureItem(const QWidget* menuOrBar, const QAction* action);
};
