#include "app/widgets/KeyLocks.h"

#include <QGuiApplication>

#ifdef LYRA_HAVE_X11
#include <QtGui/qguiapplication_platform.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#endif

#ifdef LYRA_HAVE_X11
namespace {

// Qt's own Xlib connection when it has one, else one of our own kept for the program's
// life; none on other platforms.
Display* KeyboardDisplay() {
    if (QGuiApplication::platformName() != "xcb") return nullptr;
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        if (Display* d = x11->display()) return d;
    static Display* own = XOpenDisplay(nullptr);
    return own;
}

bool IndicatorLit(Display* d, const char* name) {
    const Atom atom = XInternAtom(d, name, True);
    Bool on = False;
    return atom != None && XkbGetNamedIndicator(d, atom, nullptr, &on, nullptr, nullptr) && on;
}

}  // namespace
#endif

KeyLocks ReadKeyLocks() {
    KeyLocks locks;
#ifdef LYRA_HAVE_X11
    if (Display* d = KeyboardDisplay()) {
        locks.caps = IndicatorLit(d, "Caps Lock");
        locks.num = IndicatorLit(d, "Num Lock");
        locks.scroll = IndicatorLit(d, "Scroll Lock");
    }
#endif
    return locks;
}
