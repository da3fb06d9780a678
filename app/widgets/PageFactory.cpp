#include "app/widgets/PageFactory.h"

#include <QLabel>
#include <QVBoxLayout>

#include "app/CommandIds.h"
#include "app/LyraDoc.h"
#include "app/widgets/CMainFrame.h"
#include "logo/widgets/CLogoView.h"
#include "memo/widgets/MemoView.h"
#include "song/widgets/CSongTitle.h"

namespace {

// Stands in for a page until its real view exists: says which page it is and, for the
// memo page, renews the frame's minimum size at every initial update as the memo
// view does.
class CPlaceholderView : public QLabel, public platform::View {
public:
    CPlaceholderView(QWidget* parent, const QString& text, bool renewsMinimum)
        : QLabel(text, parent), renewsMinimum_(renewsMinimum) {
        setAlignment(Qt::AlignCenter);
        setAutoFillBackground(true);
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setFocusPolicy(Qt::StrongFocus);
    }
    void OnInitialUpdate() override {
        if (!renewsMinimum_) return;
        if (auto* frame = qobject_cast<CMainFrame*>(window())) frame->SetMinTrackSizeToWindow();
    }

private:
    bool renewsMinimum_;
};

}  // namespace

PageView CreatePageView(int page, CLyraDoc& doc, QWidget* parent) {
    switch (page) {
    case page::Memo: return AttachPage(new CMemoView(parent), doc);
    case page::Logo: return AttachPage(new CLogoView(parent), doc);
    case page::Song: return AttachPage(new CSongTitle(doc, parent), doc);
    default: return PageView{};
    }
}
