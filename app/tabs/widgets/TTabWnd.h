#pragma once
// The tab window: one view per tab, a tab strip drawn at the top, views switched by
// clicks, and a notification to the main window when the person picks another page.
#include <QFont>
#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/tabs/TabGeometry.h"
#include "app/tabs/widgets/TViewHost.h"

class QLabel;

struct TTabEntry {
    PageView view;
    QLabel* label = nullptr;  // owned by the tab window
    bool enabled = true;      // the view is enabled while its tab is active
    bool selectable = true;
    bool visible = true;
    int left = -1, right = -1;
    QIcon icon;
};

class TTabWnd : public QWidget {
    Q_OBJECT
public:
    using ViewFactory = std::function<PageView(QWidget* parent)>;

    explicit TTabWnd(QWidget* parent = nullptr);
    ~TTabWnd() override;

    // Creates the view of a new tab; the first tab's view becomes the frame's active
    // view, later ones start disabled and hidden.
    TTabEntry* CreateView(const QString& title, const ViewFactory& factory);
    bool SetActiveTab(int index, bool activateView);
    // What a click on the tab does: activates it and reports the page when it differs
    // from the one last reported.
    void ActivateTab(int index);
    int HitTest(QPoint p) const;
    void SetTabFont(const QFont& font);
    const QFont& TabFont() const { return font_; }
    void SetTabIcon(int index, const QIcon& icon);

    int ActiveIndex() const { return active_; }
    int TabCount() const { return static_cast<int>(entries_.size()); }
    int IndexOfView(const QWidget* view) const;
    QWidget* ViewAt(int index) const;
    const TTabEntry& Entry(int index) const { return *entries_.at(index); }
    int TabPosition() const { return position_; }
    void SetTabPosition(int position) { position_ = position; }

    // The last page index reported to the main window: one value for the program.
    static int LastReportedPage() { return lastReported_; }
    static void ResetLastReportedPage() { lastReported_ = -1; }

signals:
    // The person clicked a tab other than the one last reported (WM_PAGE_ACTIVATED).
    void pageActivated(int page);

protected:
    // Hooks for derived tab windows.
    virtual bool MaySwitch(QWidget* oldView, QWidget* newView);
    virtual void Switched(QWidget* oldView, QWidget* newView);

    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    std::vector<tabs::TabItem> Items() const;
    void PlaceStrip();   // records edges and moves the labels
    void LayoutViews();

    std::vector<std::unique_ptr<TTabEntry>> entries_;
    QFont font_;
    int active_ = 0;
    int position_ = 1;
    bool inLayout_ = false;
    static int lastReported_;
};
