#pragma once
// A main window over a fresh application object, with scripted prompts and dialogs,
// started the way the editor starts (New, then shown).
#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QTest>
#include <memory>

#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "app/tabs/widgets/TTabWnd.h"
#include "app/widgets/CMainFrame.h"
#include "app/widgets/CommandActions.h"
#include "platform/Services.h"
#include "window/support/FrameSteps.h"
#include "window/support/TestPages.h"
#include "ui/widgets/FlatMenus.h"

struct FrameFixture {
    // The real pages unless asked for plain stand-ins.
    explicit FrameFixture(bool songTab = false, bool realPages = true) {
        TTabWnd::ResetLastReportedPage();
        frame = std::make_unique<CMainFrame>(app, songTab, realPages ? nullptr : CMainFrame::PageViewFactory(MakeTestPage));
        app.ProcessShellCommand("");
        ShowStartedFrame(*frame);
    }
    CLyraDoc& doc() { return app.Document(); }

    // A contact or a song that no file holds yet: unsaved changes of that kind.
    void AddUnsavedContact() { SetMemoField(doc().m_memo[0], MemoField::Name, "unsaved"); }
    void AddUnsavedSong() {
        doc().m_song[0].title[0] = "unsaved";
        doc().m_song[0].number[0] = "1";
        doc().m_nSongCount[0] = 1;
    }

    void ClickTab(int index) { ClickTabOf(*frame, index); }

    QStringList MenuTitles() const {
        QStringList titles;
        for (QAction* a : frame->menuBar()->actions()) titles << a->text();
        return titles;
    }

    platform::ScriptedServices services;
    CLyraApp app;
    std::unique_ptr<CMainFrame> frame;
};

inline QString ScreenshotPath(const QString& name) {
    QDir().mkpath(LYRA_SCREENSHOTS);
    return QString(LYRA_SCREENSHOTS) + "/" + name + ".png";
}
