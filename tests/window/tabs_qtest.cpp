// The tab framework's node tree and the tab window: creation, switching, hooks,
// layout, hit testing and the page notification.
#include <QLabel>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTest>

#include "app/tabs/widgets/TTabFramework.h"

namespace {

// A frame that records the view made active.
class Host : public QMainWindow, public TViewHost {
public:
    void SetActiveView(const PageView& v) override {
        active = v;
        ++activations;
    }
    PageView ActiveView() const override { return active; }
    PageView active;
    int activations = 0;
};

class View : public QLabel, public platform::View {
public:
    using QLabel::QLabel;
};

TTabWnd::ViewFactory Make(const QString& text) {
    return [text](QWidget* parent) {
        auto* v = new View(text, parent);
        return PageView{v, v};
    };
}

// A tab window that can refuse switching and records switches.
class VetoTabWnd : public TTabWnd {
public:
    using TTabWnd::TTabWnd;
    bool allow = true;
    QList<QPair<QWidget*, QWidget*>> switched;

protected:
    bool MaySwitch(QWidget*, QWidget*) override { return allow; }
    void Switched(QWidget* o, QWidget* n) override { switched.append(qMakePair(o, n)); }
};

void Click(TTabWnd* w, int index) {
    const TTabEntry& e = w->Entry(index);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint((e.left + e.right) / 2, 16));
}

// A shown frame whose client area is a tab window with the given tabs.
template <class Wnd = TTabWnd>
struct Shown {
    Host host;
    Wnd* wnd = new Wnd(&host);
    explicit Shown(const QStringList& titles, QSize size = QSize(400, 300)) {
        host.setCentralWidget(wnd);
        for (const QString& t : titles) wnd->CreateView(t, Make(t));
        host.resize(size);
        host.show();
        (void)QTest::qWaitForWindowExposed(&host);
    }
};

}  // namespace

class TabsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { TTabWnd::ResetLastReportedPage(); }

    void duplicateIdsAreRefused() {
        TTabFramework fw;
        QVERIFY(fw.AddRoot(std::make_unique<TViewNode>(1, TViewNode::TabsTop)));
        QVERIFY(!fw.AddRoot(std::make_unique<TViewNode>(1, 0)));
        TViewNode* root = fw.Node(1);
        QVERIFY(fw.AddChild(root, std::make_unique<TViewNode>(2, "A", Make("a"))));
        QVERIFY(!fw.AddChild(root, std::make_unique<TViewNode>(2, "B", Make("b"))));
        QVERIFY(!fw.AddChild(root, std::make_unique<TViewNode>(1, "C", Make("c"))));
        QCOMPARE(root->children.size(), size_t(1));
        QCOMPARE(root->children[0]->title, QString("A"));
        QCOMPARE(fw.Roots().size(), size_t(1));
        QCOMPARE(root->kind, int(TViewNode::TabWindow));
        QCOMPARE(root->children[0]->kind, int(TViewNode::View));
        QVERIFY(root->children[0]->parent == root);
        QVERIFY(root->children[0]->framework == &fw);
        // An icon is set once only.
        QPixmap pm(16, 16);
        pm.fill(Qt::red);
        QVERIFY(fw.SetIcon(fw.Node(2), QIcon(pm)));
        QVERIFY(!fw.SetIcon(fw.Node(2), QIcon(pm)));
        QVERIFY(!fw.SetIcon(fw.Node(2), QIcon()));
    }

    void createBuildsTabsAndActivatesTheFirstView() {
        Host host;
        TTabFramework fw;
        fw.AddRoot(std::make_unique<TViewNode>(1, TViewNode::TabsTop));
        fw.AddChild(fw.Node(1), std::make_unique<TViewNode>(3, "Second", Make("two")));
        fw.AddChild(fw.Node(1), std::make_unique<TViewNode>(2, "First", Make("one")));
        QVERIFY(fw.Create(&host));
        auto* wnd = qobject_cast<TTabWnd*>(fw.WindowOf(1));
        QVERIFY(wnd);
        QCOMPARE(host.centralWidget(), wnd);
        QCOMPARE(wnd->TabPosition(), 0);
        QCOMPARE(wnd->TabCount(), 2);
        // The lowest id is activated, although it is the second tab.
        QCOMPARE(wnd->ActiveIndex(), 1);
        QVERIFY(host.active.widget == fw.WindowOf(2));
        QCOMPARE(wnd->ViewAt(0)->objectName(), QString("13576"));
        QCOMPARE(wnd->ViewAt(1)->objectName(), QString("13577"));
        QVERIFY(fw.WindowOf(99) == nullptr);
        fw.Destroy();
        QVERIFY(host.centralWidget() == nullptr);
        QVERIFY(fw.Node(1) == nullptr);
    }

    void switchingHidesDisablesAndAsksTheHooks() {
        Shown<VetoTabWnd> s({"One", "Two"});
        Host& host = s.host;
        VetoTabWnd* wnd = s.wnd;
        QVERIFY(wnd->ViewAt(0)->isVisible());
        QVERIFY(!wnd->ViewAt(1)->isVisible());
        QVERIFY(!wnd->ViewAt(1)->isEnabled());
        QCOMPARE(host.activations, 1);  // the first tab's view at creation

        wnd->allow = false;
        QVERIFY(!wnd->SetActiveTab(1, true));
        QCOMPARE(wnd->ActiveIndex(), 0);
        QVERIFY(wnd->switched.isEmpty());

        wnd->allow = true;
        QVERIFY(!wnd->SetActiveTab(-1, true));
        QVERIFY(!wnd->SetActiveTab(5, true));
        QVERIFY(wnd->SetActiveTab(0, true));  // already active: nothing happens
        QCOMPARE(host.activations, 1);
        QVERIFY(wnd->SetActiveTab(1, true));
        QCOMPARE(wnd->ActiveIndex(), 1);
        QVERIFY(!wnd->ViewAt(0)->isVisible());
        QVERIFY(!wnd->ViewAt(0)->isEnabled());
        QVERIFY(wnd->ViewAt(1)->isVisible());
        QVERIFY(wnd->ViewAt(1)->isEnabled());
        QCOMPARE(wnd->switched.size(), 1);
        QVERIFY(wnd->switched[0].first == wnd->ViewAt(0) && wnd->switched[0].second == wnd->ViewAt(1));
        QCOMPARE(host.activations, 2);
        QVERIFY(host.active.widget == wnd->ViewAt(1));
        QVERIFY(wnd->SetActiveTab(0, false));  // without view activation
        QCOMPARE(host.activations, 2);
        QCOMPARE(wnd->IndexOfView(wnd->ViewAt(1)), 1);
        QCOMPARE(wnd->IndexOfView(&host), -1);
    }

    void clicksReportOnlyNewPages() {
        Shown<> shown({"One", "Two"});
        TTabWnd* wnd = shown.wnd;
        QSignalSpy spy(wnd, &TTabWnd::pageActivated);
        struct Step {
            int tab;
            int sent;  // -1: nothing
        } steps[] = {{0, 0}, {0, -1}, {1, 1}, {1, -1}, {0, 0}};
        for (Step s : steps) {
            spy.clear();
            Click(wnd, s.tab);
            QCOMPARE(spy.count(), s.sent < 0 ? 0 : 1);
            if (s.sent >= 0) QCOMPARE(spy.at(0).at(0).toInt(), s.sent);
            QCOMPARE(wnd->ActiveIndex(), s.tab);
        }
        // Clicks beside the tabs or below the strip do nothing.
        spy.clear();
        QTest::mouseClick(wnd, Qt::LeftButton, Qt::NoModifier, QPoint(390, 16));
        QTest::mouseClick(wnd, Qt::LeftButton, Qt::NoModifier, QPoint(wnd->Entry(1).left + 3, 28));
        QCOMPARE(spy.count(), 0);
        QCOMPARE(TTabWnd::LastReportedPage(), 0);
    }

    void layoutAndHitTestFollowTheFont() {
        Host host;
        auto* wnd = new TTabWnd(&host);
        host.setCentralWidget(wnd);
        QString longTitle = QString("Wide ").repeated(40);
        wnd->CreateView("Short", Make("1"));
        wnd->CreateView(longTitle, Make("2"));
        QPixmap pm(16, 16);
        pm.fill(Qt::blue);
        wnd->SetTabIcon(0, QIcon(pm));
        QFont font = wnd->font();
        font.setPixelSize(12);
        wnd->SetTabFont(font);
        host.resize(600, 400);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));

        QFontMetrics fm(font);
        int t0 = fm.horizontalAdvance("Short") + 4;
        const TTabEntry& e0 = wnd->Entry(0);
        QCOMPARE(e0.left, 0);
        QCOMPARE(e0.right, t0 + 18 + 5);
        QCOMPARE(e0.label->geometry(), QRect(21, (20 - fm.height()) / 2 + 6, t0, fm.height()));
        QCOMPARE(e0.label->font().pixelSize(), 12);
        QVERIFY(wnd->ViewAt(0)->font().pixelSize() != 12);  // the pages keep their own font
        const TTabEntry& e1 = wnd->Entry(1);
        QCOMPARE(e1.left, e0.right + 1);
        QCOMPARE(e1.label->width(), 200);  // the long title is cut
        QCOMPARE(e1.right, e1.left + 200 + 5);

        QCOMPARE(wnd->HitTest(QPoint(e0.right, 6)), 0);
        QCOMPARE(wnd->HitTest(QPoint(e1.left, 26)), 1);
        QCOMPARE(wnd->HitTest(QPoint(e1.left, 27)), -1);
        QCOMPARE(wnd->HitTest(QPoint(e1.right + 1, 10)), -1);

        QSize client = wnd->size();
        QCOMPARE(wnd->ViewAt(0)->geometry(), QRect(1, 31, client.width() - 2, client.height() - 32));
        host.resize(500, 300);
        QTest::qWait(5);
        client = wnd->size();
        QCOMPARE(wnd->ViewAt(1)->geometry(), QRect(1, 31, client.width() - 2, client.height() - 32));
    }

    void stripBackgroundIsTheLightenedFace() {
        Shown<> shown({"One", "Two"}, QSize(400, 200));
        TTabWnd* wnd = shown.wnd;
        QImage img = wnd->grab().toImage();
        QColor face = wnd->palette().color(QPalette::Button);
        // Halfway to white in lightness; the face is grey here, so all three channels match.
        int l = (std::max({face.red(), face.green(), face.blue()}) + std::min({face.red(), face.green(), face.blue()})) / 2;
        QColor lightened(l + (255 - l) / 2, l + (255 - l) / 2, l + (255 - l) / 2);
        QCOMPARE(img.pixelColor(380, 2).red(), lightened.red());
        QCOMPARE(img.pixelColor(380, 2).blue(), lightened.blue());
        // The active tab's face runs down into the page; inactive tabs keep their box.
        const TTabEntry& e1 = wnd->Entry(1);
        QCOMPARE(img.pixelColor(e1.left + 4, 20), face);
        QCOMPARE(img.pixelColor(e1.left + 2, 15), QColor(Qt::white));
    }
};

QTEST_MAIN(TabsTest)
#include "tabs_qtest.moc"
