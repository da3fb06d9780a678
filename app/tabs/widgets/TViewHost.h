#pragma once
// What a tab window needs of the frame that holds it: a place to record the active
// view (commands are routed to it first) and a receiver for page notifications.
#include <QWidget>

#include "platform/DocView.h"

// A page's window together with the view object the document and the router see.
struct PageView {
    QWidget* widget = nullptr;
    platform::View* view = nullptr;
};

class TViewHost {
public:
    virtual ~TViewHost() = default;
    virtual void SetActiveView(const PageView& view) = 0;
    virtual PageView ActiveView() const = 0;
};

// The nearest frame above a widget, or nullptr.
inline TViewHost* FindViewHost(QWidget* w) {
    for (; w; w = w->parentWidget())
        if (auto* host = dynamic_cast<TViewHost*>(w)) return host;
    return nullptr;
}
