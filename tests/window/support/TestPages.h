#pragma once
// Plain page views for the window's tests, so they do not depend on the real pages:
// each says which page it is; the memo page renews the frame's minimum size at every
// initial update, as the memo view does.
#include <QLabel>

#include "app/LyraDoc.h"
#include "app/widgets/CMainFrame.h"

class TestPageView : public QLabel, public platform::View {
public:
    TestPageView(QWidget* parent, int page) : QLabel(QString("Page %1").arg(page), parent), page_(page) {
        setAlignment(Qt::AlignCenter);
        setFocusPolicy(Qt::StrongFocus);
    }
    void OnInitialUpdate() override {
        ++initialUpdates;
        if (page_ != 0) return;
        if (auto* frame = qobject_cast<CMainFrame*>(window())) frame->SetMinTrackSizeToWindow();
    }
    int initialUpdates = 0;

private:
    int page_;
};

inline PageView MakeTestPage(int page, CLyraDoc& doc, QWidget* parent) {
    auto* v = new TestPageView(parent, page);
    doc.AddView(v);
    return PageView{v, v};
}
