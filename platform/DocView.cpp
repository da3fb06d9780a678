#include "platform/DocView.h"

#include <algorithm>

namespace platform {

View::~View() {
    if (document_) document_->RemoveView(this);
}

Document::~Document() {
    for (View* v : views_) v->document_ = nullptr;
}

void Document::AddView(View* view) {
    if (view->document_) view->document_->RemoveView(view);
    views_.push_back(view);
    view->document_ = this;
}

void Document::RemoveView(View* view) {
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
    view->document_ = nullptr;
}

void Document::UpdateAllViews(View* sender, long hint) {
    // A view may be added or removed while redrawing; walk a copy.
    std::vector<View*> views = views_;
    for (View* v : views)
        if (v != sender) v->OnUpdate(sender, hint);
}

bool Document::OnNewDocument() {
    DeleteContents();
    path_.clear();
    return true;
}

bool Document::OnOpenDocument(const std::string&) {
    DeleteContents();
    return true;
}

bool Document::OnSaveDocument(const std::string&) { return true; }

}  // namespace platform
