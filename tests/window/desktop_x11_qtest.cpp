// The main window as the desktop sees it, under an X server of its own: the caption the
// window system holds for it, and the lock-key panes following the keyboard's lights.
#include <QLabel>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>
#include <functional>
#include <optional>

#include "app/CommandIds.h"
#include "app/widgets/AppIdentity.h"
#include "logo/widgets/ScreenCapture.h"
#include "support/EditorDriver.h"
#include "ui/widgets/FlatMenus.h"

// Last: the X headers define macros that clash with the names above.
#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace {

// The title the X server holds for a top-level window, as the desktop shows it.
std::optional<QString> DesktopCaption(QWidget* window) {
    for (const logo::DesktopWindow& w : DesktopWindows())
        if (w.handle == uint64_t(window->winId())) return QString::fromStdString(w.title);
    return std::nullopt;
}

Display* XDisplay() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != "xcb") QSKIP("needs an X server");
        SetUpApplicationIdentity();  // names and icon as the program sets them
        CFlatMenus::Install();
    }
    void cleanupTestCase() { CFlatMenus::Remove(); }

    void captionAsTheWindowSystemHasIt() {
        EditorDriver d(EditorDriver::Options{true, ""});
        struct Step {
            const char* what;
            std::function<void()> act;
            QString caption;
        } steps[] = {
            {"start", [] {}, "LyraboxQ"},
            {"logo tab", [&] { d.ClickTab(page::Logo); }, "LyraboxQ"},
            {"song tab", [&] { d.ClickTab(page::Song); }, "LyraboxQ"},
            {"Pellix", [&] { d.frame->Router().Execute(cmd::BrandPellix); }, "Lyrabox Plus(Pellix)"},
            {"memo tab", [&] { d.ClickTab(page::Memo); }, "LyraboxQ"},
        };
        for (const Step& s : steps) {
            s.act();
            QTRY_VERIFY2(DesktopCaption(d.frame.get()) == s.caption,
                         qPrintable(QString("%1: %2").arg(s.what, DesktopCaption(d.frame.get()).value_or("<none>"))));
        }
    }

    void lockPanesFollowTheKeyboardLights() {
        EditorDriver d;
        Display* x = XDisplay();
        QVERIFY(x);
        const unsigned numMask = XkbKeysymToModifiers(x, XK_Num_Lock);
        struct Case {
            bool caps, num;
        } cases[] = {{true, false}, {true, true}, {false, true}, {false, false}};
        for (const Case& c : cases) {
            XkbLockModifiers(x, XkbUseCoreKbd, LockMask | numMask, (c.caps ? LockMask : 0) | (c.num ? numMask : 0));
            XSync(x, False);
            d.Key(Qt::Key_CapsLock);
            QCOMPARE(d.frame->Indicator(0)->isVisible(), c.caps);
            QCOMPARE(d.frame->Indicator(1)->isVisible(), c.num);
            QVERIFY(!d.frame->Indicator(2)->isVisible());
        }
    }
};

QTEST_MAIN(DesktopTest)
#include "desktop_x11_qtest.moc"
