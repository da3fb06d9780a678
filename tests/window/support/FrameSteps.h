#pragma once
// Steps the window tests' set-ups share: bringing the main window up as the editor does
// and clicking a tab of its strip.
#include <QApplication>
#include <QPoint>
#include <QTest>

#include "app/tabs/widgets/TTabWnd.h"
#include "app/widgets/CMainFrame.h"
#include "app/widgets/CommandActions.h"

// Shows the window, makes it the active one, waits until it is on screen and updates
// the commands' states as the first idle moment would.
inline void ShowStartedFrame(CMainFrame& frame) {
    frame.show();
    QApplication::setActiveWindow(&frame);
    (void)QTest::qWaitForWindowExposed(&frame);
    frame.Actions().Refresh();
}

// Clicks the middle of a tab in the strip.
inline void ClickTabOf(CMainFrame& frame, int index) {
    TTabWnd* tabs = frame.TabWindow();
    const TTabEntry& e = tabs->Entry(index);
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, QPoint((e.left + e.right) / 2, 15));
}
