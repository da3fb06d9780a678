#pragma once
// Builds the frame's client area from a tree of nodes: tab windows (kind 4) holding
// views (kind 5). The framework owns the nodes; ids are unique within it.
#include <QIcon>
#include <QPointer>
#include <QString>
#include <map>
#include <memory>
#include <vector>

#include "app/tabs/widgets/TTabWnd.h"

class TTabFramework;

struct TViewNode {
    enum Kind { TabWindow = 4, View = 5 };
    enum Flags { TabsTop = 1, TabsBottom = 2, ActiveTab = 4 };

    // A tab-window node.
    TViewNode(int id, int flags);
    // A view node: its tab title and how to make its view.
    TViewNode(int id, QString title, TTabWnd::ViewFactory factory, int flags = 0);

    int id;
    int kind;
    QString title;
    TTabWnd::ViewFactory factory;  // what to create for a view node
    int flags;
    QIcon icon;
    TViewNode* parent = nullptr;
    TTabFramework* framework = nullptr;
    QPointer<QWidget> window;
    QPointer<QWidget> parentWindow;
    std::vector<TViewNode*> children;
};

class TTabFramework {
public:
    TTabFramework() = default;
    ~TTabFramework();
    TTabFramework(const TTabFramework&) = delete;
    TTabFramework& operator=(const TTabFramework&) = delete;

    // Both refuse a node whose id is already known; a refused node is deleted.
    bool AddRoot(std::unique_ptr<TViewNode> node);
    bool AddChild(TViewNode* parent, std::unique_ptr<TViewNode> child);
    // Sets the icon only when the node has none yet; false when it could not be had.
    bool SetIcon(TViewNode* node, const QIcon& icon);

    // Creates every root inside the frame, then activates the first view node by id.
    bool Create(QWidget* frame);
    QWidget* WindowOf(int id) const;
    TViewNode* Node(int id) const;
    const std::vector<TViewNode*>& Roots() const { return roots_; }
    void Destroy();

private:
    bool CreateRoot(TViewNode* root);
    bool Activate(TViewNode* node);

    QWidget* frame_ = nullptr;
    std::vector<TViewNode*> roots_;
    std::map<int, std::unique_ptr<TViewNode>> nodes_;
};
