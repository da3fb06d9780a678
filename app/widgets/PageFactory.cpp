#include "app/widgets/PageFactory.h"

#include "app/CommandIds.h"
#include "app/LyraDoc.h"
#include "logo/widgets/CLogoView.h"
#include "memo/widgets/MemoView.h"
#include "song/widgets/CSongTitle.h"

PageView CreatePageView(int page, CLyraDoc& doc, QWidget* parent) {
    switch (page) {
    case page::Memo: return AttachPage(new CMemoView(parent), doc);
    case page::Logo: return AttachPage(new CLogoView(parent), doc);
    case page::Song: return AttachPage(new CSongTitle(doc, parent), doc);
    default: return PageView{};
    }
}
