#ifdef LYRA_HAVE_X11
#include "logo/widgets/X11Desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <string>

namespace x11 {
namespace {

// A connection of our own for the few queries capture makes.
struct Connection {
    Display* display = XOpenDisplay(nullptr);
    ~Connection() {
        if (display != nullptr) XCloseDisplay(display);
    }
    Atom Intern(const char* name) const { return XInternAtom(display, name, False); }
};

// A window property as a list of items of the given format; empty when absent.
template <class Item>
std::vector<Item> Property(const Connection& c, Window w, Atom property, Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<Item> items;
    if (XGetWindowProperty(c.display, w, property, 0, 1 << 16, False, type, &actualType, &format, &count, &after,
                           &data) == Success &&
        data != nullptr) {
        if (actualType == type || type == AnyPropertyType) {
            const auto* values = reinterpret_cast<const Item*>(data);
            items.assign(values, values + count);
        }
        XFree(data);
    }
    return items;
}

std::string Title(const Connection& c, Window w) {
    std::vector<char> name = Property<char>(c, w, c.Intern("_NET_WM_NAME"), c.Intern("UTF8_STRING"));
    if (name.empty()) name = Property<char>(c, w, XA_WM_NAME, XA_STRING);
    return std::string(name.begin(), name.end());
}

bool Minimised(const Connection& c, Window w) {
    for (long atom : Property<long>(c, w, c.Intern("_NET_WM_STATE"), XA_ATOM))
        if (Atom(atom) == c.Intern("_NET_WM_STATE_HIDDEN")) return true;
    const std::vector<long> state = Property<long>(c, w, c.Intern("WM_STATE"), c.Intern("WM_STATE"));
    return !state.empty() && state[0] == IconicState;
}

// The child of the root window that holds w (the window manager's frame, or w itself).
Window FrameOf(Display* d, Window w) {
    for (;;) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(d, w, &root, &parent, &children, &count)) return w;
        if (children != nullptr) XFree(children);
        if (parent == root || parent == 0) return w;
        w = parent;
    }
}

}  // namespace

std::vector<logo::DesktopWindow> TopLevelWindows() {
    Connection c;
    if (c.display == nullptr) return {};
    const Window root = DefaultRootWindow(c.display);
    // The stacking list runs bottom to top; so do the root's children.
    std::vector<long> stack = Property<long>(c, root, c.Intern("_NET_CLIENT_LIST_STACKING"), XA_WINDOW);
    if (stack.empty()) {
        Window r = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(c.display, root, &r, &parent, &children, &count) && children != nullptr) {
            stack.assign(children, children + count);
            XFree(children);
        }
    }
    std::vector<logo::DesktopWindow> windows;
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        const Window w = Window(*it);
        XWindowAttributes a;
        if (!XGetWindowAttributes(c.display, w, &a)) continue;
        windows.push_back({uint64_t(w), a.map_state == IsViewable, Minimised(c, w), a.width, a.height, Title(c, w)});
    }
    return windows;
}

bool WindowFrameRect(uint64_t window, QRect& rect) {
    Connection c;
    if (c.display == nullptr) return false;
    const Window frame = FrameOf(c.display, Window(window));
    XWindowAttributes a;
    if (!XGetWindowAttributes(c.display, frame, &a)) return false;
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(c.display, frame, DefaultRootWindow(c.display), 0, 0, &x, &y, &child);
    rect = QRect(x - a.border_width, y - a.border_width, a.width + 2 * a.border_width, a.height + 2 * a.border_width);
    return true;
}

void SetAbove(uint64_t window, bool above) {
    Connection c;
    if (c.display == nullptr) return;
    // Ask the window manager through _NET_WM_STATE; without one, restack directly.
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = Window(window);
    e.xclient.message_type = c.Intern("_NET_WM_STATE");
    e.xclient.format = 32;
    e.xclient.data.l[0] = above ? 1 : 0;  // add or remove
    e.xclient.data.l[1] = long(c.Intern("_NET_WM_STATE_ABOVE"));
    e.xclient.data.l[3] = 1;
    XSendEvent(c.display, DefaultRootWindow(c.display), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    if (above) XRaiseWindow(c.display, FrameOf(c.display, Window(window)));
    XFlush(c.display);
}

}  // namespace x11
#endif
