#include "app/tabs/widgets/TTabFramework.h"

#include <QMainWindow>

TViewNode::TViewNode(int nodeId, int nodeFlags) : id(nodeId), kind(TabWindow), flags(nodeFlags) {}

TViewNode::TViewNode(int nodeId, QString nodeTitle, TTabWnd::ViewFactory make, int nodeFlags)
    : id(nodeId), kind(View), title(std::move(nodeTitle)), factory(std::move(make)), flags(nodeFlags) {}

TTabFramework::~TTabFramework() { Destroy(); }

bool TTabFramework::AddRoot(std::unique_ptr<TViewNode> node) {
    if (!node || nodes_.count(node->id)) return false;
    node->framework = this;
    roots_.push_back(node.get());
    nodes_[node->id] = std::move(node);
    return true;
}

bool TTabFramework::AddChild(TViewNode* parent, std::unique_ptr<TViewNode> child) {
    if (!parent || !child || nodes_.count(child->id)) return false;
    child->parent = parent;
    child->framework = this;
    parent->children.push_back(child.get());
    nodes_[child->id] = std::move(child);
    return true;
}

bool TTabFramework::SetIcon(TViewNode* node, const QIcon& icon) {
    if (!node || !node->icon.isNull() || icon.isNull()) return false;
    node->icon = icon;
    return true;
}

bool TTabFramework::Create(QWidget* frame) {
    frame_ = frame;
    for (TViewNode* root : roots_)
        if (!CreateRoot(root)) return false;
    for (auto& [id, node] : nodes_) {
        if (node->kind == TViewNode::View && node->window) return Activate(node.get());
    }
    return true;
}

bool TTabFramework::CreateRoot(TViewNode* root) {
    if (root->kind != TViewNode::TabWindow) return false;
    auto* wnd = new TTabWnd(frame_);
    root->window = wnd;
    // A tab window directly in a frame fills the frame's client area.
    if (auto* main = qobject_cast<QMainWindow*>(frame_)) main->setCentralWidget(wnd);
    root->parentWindow = frame_;
    wnd->SetTabPosition(root->flags & TViewNode::TabsTop ? 0 : 1);
    for (TViewNode* child : root->children) {
        if (child->kind != TViewNode::View) continue;
        TTabEntry* entry = wnd->CreateView(child->title, child->factory);
        if (!entry) return false;
        int index = wnd->TabCount() - 1;
        if (!child->icon.isNull()) wnd->SetTabIcon(index, child->icon);
        child->window = entry->view.widget;
        child->parentWindow = wnd;
        if (child->flags & TViewNode::ActiveTab) wnd->SetActiveTab(index, false);
    }
    wnd->show();
    return true;
}

bool TTabFramework::Activate(TViewNode* node) {
    // Select the tab holding the path's window in every enclosing tab window.
    for (TViewNode* n = node; n->parent; n = n->parent) {
        auto* wnd = qobject_cast<TTabWnd*>(n->parent->window);
        if (!wnd) return false;
        if (!wnd->SetActiveTab(wnd->IndexOfView(n->window), false)) return false;
    }
    auto* wnd = qobject_cast<TTabWnd*>(node->parent ? node->parent->window.data() : nullptr);
    if (!wnd) return false;
    if (TViewHost* host = FindViewHost(frame_)) {
        int index = wnd->IndexOfView(node->window);
        host->SetActiveView(index >= 0 ? wnd->Entry(index).view : PageView{node->window.data(), nullptr});
    }
    return true;
}

QWidget* TTabFramework::WindowOf(int id) const {
    TViewNode* n = Node(id);
    return n ? n->window : nullptr;
}

TViewNode* TTabFramework::Node(int id) const {
    auto it = nodes_.find(id);
    return it == nodes_.end() ? nullptr : it->second.get();
}

void TTabFramework::Destroy() {
    for (TViewNode* root : roots_)
        delete root->window.data();  // its views and labels go with it
    roots_.clear();
    nodes_.clear();
}
