#pragma once
// Makes the view of a page: a widget that is also a view attached to the document.
#include "app/LyraDoc.h"
#include "app/tabs/widgets/TViewHost.h"

class QWidget;

// Page index 0 memo, 1 logo, 2 song.
PageView CreatePageView(int page, CLyraDoc& doc, QWidget* parent);

// Attaches a view widget to the document and pairs it up.
template <class ViewWidget>
PageView AttachPage(ViewWidget* view, CLyraDoc& doc) {
    doc.AddView(view);
    return PageView{view, view};
}
